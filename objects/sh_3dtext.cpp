// The 3D Text object (type 39).
#include "objects/sh_3dtext.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "support/geo_rect.h"
#include <string.h>

namespace {

Sh3DTextHooks g_hooks = {};

const uint32_t kFrameAt = 6;          // bounds width and height
const uint32_t kFontAt = 30;
const uint32_t kFixedData = 126;      // the type data before its attributes
const uint32_t kTextHeaderSize = 122;

// The type data when the record holds its fixed part, else null.
const uint8_t *typeData(const ObjectRecord *rec)
{
    if (!rec || rec->type != OBT_3D_TEXT || (uint64_t)obDataOffset(rec) + kFixedData > rec->length)
        return nullptr;
    return obRecData(const_cast<ObjectRecord *>(rec));
}

}  // namespace

void sh3DTextSetHooks(const Sh3DTextHooks *hooks) { g_hooks = hooks ? *hooks : Sh3DTextHooks{}; }

void sh3DTextDraw(HDC dc, ObjectRecord *rec)
{
    const uint8_t *data = typeData(rec);
    if (!dc || !data || !g_hooks.getText || !g_hooks.makeTextObject || !g_hooks.drawTextObject)
        return;
    const char *text = g_hooks.getText(data);
    if (!text)
        return;
    // The header: the font, then 9 and 1 in the two 16-bit fields after it.
    uint8_t header[kTextHeaderSize] = {};
    memcpy(header, data + kFontAt, sizeof(LOGFONTA));
    uint16_t nine = 9, one = 1;
    memcpy(header + sizeof(LOGFONTA), &nine, 2);
    memcpy(header + sizeof(LOGFONTA) + 2, &one, 2);
    RECT frame;
    obRecGetRect(rec, &frame);
    MemHandle temp = g_hooks.makeTextObject(obGetDrawWindow(), &frame, header, text);
    if (!temp)
        return;
    {
        ObLock t(temp);
        if (t) {
            t->flags = rec->flags;
            t->penColour = rec->penColour;
            t->fillColour = rec->fillColour;
            t->backColour = rec->backColour;
            t->rotation = rec->rotation;
        }
    }
    g_hooks.drawTextObject(dc, temp);
    obFreeTree(temp);
}

int sh3DTextBounds(RECT *out, MemHandle h)
{
    ObLock r(h);
    uint8_t *data = const_cast<uint8_t *>(typeData(r.get()));
    if (!out || !data)
        return 0;
    RECT b;
    if (!g_hooks.calcExtent || !g_hooks.calcExtent(r.get(), &b)) {
        // No text: only the margin around the centre.
        int32_t m = g_hooks.margin ? g_hooks.margin(data) : 0;
        b = {r->centreX - m, r->centreY - m, r->centreX + m, r->centreY + m};
    }
    int32_t size[2] = {b.right - b.left, b.bottom - b.top};
    memcpy(data + kFrameAt, size, sizeof size);
    if (r->rotation) {
        POINT c = {r->centreX, r->centreY};
        OffsetRect(&b, -c.x, -c.y);
        geoRotatedRectBounds(&b, r->rotation * 0.0017453292522222222);
        OffsetRect(&b, c.x, c.y);
    }
    obRecSetRect(r.get(), &b);
    *out = b;
    return 1;
}

void sh3DTextRescale(MemHandle h, const RECT *rect)
{
    ObLock r(h);
    if (r && rect)
        obRecSetRect(r.get(), rect);
}
