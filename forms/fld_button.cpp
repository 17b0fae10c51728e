// The push button: record size, face, shadow, picture, label.
#include "forms/fld_button.h"
#include "links/doc_names.h"
#include "objects/fld_frame.h"
#include "forms/hc_button.h"
#include "objects/img_bitmap.h"
#include "objects/img_io.h"
#include "text/tx_paint.h"
#include "text/tx_measure.h"
#include "model/att_attr.h"
#include "model/ob_draw.h"
#include "model/ob_shadow.h"
#include "support/dm_map.h"
#include "support/ff_file.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <string>

namespace {

uint8_t faceOf(const ButtonPart *part) { return (uint8_t)(part->faceStyle & 0xFF); }

// The part with its attribute records when they lie within `extent`.
ButtonPart *wholePart(ObjectRecord *rec, uint32_t extent)
{
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + kBtnPartSize > extent)
        return nullptr;
    ButtonPart *part = reinterpret_cast<ButtonPart *>(obRecData(rec));
    if ((uint64_t)at + kBtnPartSize + part->attrBytes > extent)
        return nullptr;
    return part;
}

const uint8_t *attrData(ButtonPart *part, uint32_t tag, int *length)
{
    return attGetDataIn(reinterpret_cast<uint8_t *>(part) + kBtnPartSize, part->attrCount,
                        part->attrBytes, tag, length);
}

// A text attribute as a string (cut at its terminator); false when absent.
bool attrText(ButtonPart *part, uint32_t tag, std::string *text)
{
    int n = 0;
    const uint8_t *data = attrData(part, tag, &n);
    if (!data || n <= 0)
        return false;
    text->assign(reinterpret_cast<const char *>(data),
                 strnlen(reinterpret_cast<const char *>(data), (size_t)n));
    return true;
}

bool endsWithNoCase(const std::string &s, const char *tail)
{
    size_t n = strlen(tail);
    return s.size() >= n && lstrcmpiA(s.c_str() + s.size() - n, tail) == 0;
}

// The picture in place of the face: true when the name resolved to a path
// (the picture or its placeholder was drawn).
bool drawPicture(HDC dc, ObjectRecord *rec, ButtonPart *part, const RECT &rect)
{
    std::string name;
    if (!attrText(part, BTN_TAG_PICTURE, &name))
        return false;
    MemHandle path = docResolveFileName(obGetDrawWindow(), name.c_str());
    if (!path)
        return false;
    std::string full;
    {
        MemLock<char> p(path);
        full.assign(p.get(), strnlen(p.get(), utHandleSize(path)));
    }
    utFreeHandle(path);
    bool drawn = false;
    // A drawing file goes to the drawing-file filter, which shows the
    // placeholder until drawings can be read.
    if (ffExists(full.c_str()) && !endsWithNoCase(full, ".dwg"))
        drawn = imgDrawFileInRect(dc, full.c_str(), &rect, imgRopFromFlags(rec->flags),
                                  GEO_FIT_FRAME, 0, FALSE, 0) != 0;
    if (!drawn)
        obDrawMissingImage(GetModuleHandleA(nullptr), dc, &rect);
    return true;
}

// The line height of the font on this DC, in logical units: its height
// plus external leading, the font's own height when it cannot be measured.
int32_t fontLineHeight(HDC dc, const LOGFONTA *font)
{
    int32_t height = 0;
    if (!txMeasureFont(dc, font, nullptr, nullptr, nullptr, &height, nullptr) || height <= 0)
        return abs(font->lfHeight);
    return height;
}

}  // namespace

// ---- size ------------------------------------------------------------------------------------

uint32_t btnRecordSizeIn(ObjectRecord *rec, uint32_t blockSize)
{
    if (!rec)
        return 0;
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + kBtnPartSize > blockSize) {
        rec->length = std::min(std::max(rec->length, at), blockSize);
        return at + kBtnPartSize;
    }
    const ButtonPart *part = reinterpret_cast<const ButtonPart *>(obRecData(rec));
    uint64_t size = (uint64_t)at + part->length;
    rec->length = size <= blockSize ? (uint32_t)size : blockSize;
    return size <= 0xFFFFFFFFu ? (uint32_t)size : blockSize;
}

uint32_t btnRecordSize(ObjectRecord *rec)
{
    return rec ? btnRecordSizeIn(rec, rec->length) : 0;
}

uint32_t btnRecordSizeOf(MemHandle h)
{
    ObLock r(h);
    return r ? btnRecordSizeIn(r.get(), r.blockSize()) : 0;
}

ButtonPart *btnPart(ObjectRecord *rec) { return rec ? wholePart(rec, rec->length) : nullptr; }

// ---- face ------------------------------------------------------------------------------------

void btnDrawFace(HDC dc, const RECT *rect, const ButtonPart *part, const COLORREF colours[3])
{
    if (!dc || !rect || !part || !colours)
        return;
    switch (faceOf(part)) {
    case BTN_FACE_DEFAULT:
    case BTN_FACE_RECT:
        fldDrawRectBevel(dc, rect, kFldBevelWidth, kFldBevelWidth, colours, FLD_FRAME_RAISED);
        break;
    case BTN_FACE_RECESSED:
        fldDrawRectBevel(dc, rect, kFldBevelWidth, kFldBevelWidth, colours, FLD_FRAME_SUNKEN);
        break;
    case BTN_FACE_ROUND:
        fldDrawRoundBevel(dc, rect, part->frameValue, kFldBevelWidth, kFldBevelWidth, colours);
        break;
    case BTN_FACE_ELLIPSE:
        fldDrawEllipseBevel(dc, rect, kFldBevelWidth, kFldBevelWidth, colours);
        break;
    default:
        break;
    }
}

void btnFaceTextRect(RECT *rect, const ButtonPart *part)
{
    if (!rect || !part)
        return;
    switch (faceOf(part)) {
    case BTN_FACE_DEFAULT:
    case BTN_FACE_RECT:
    case BTN_FACE_ROUND:
    case BTN_FACE_ELLIPSE:
    case BTN_FACE_RECESSED:
        geoInflateRect(rect, -kFldBevelWidth, -kFldBevelWidth);
        break;
    default:
        break;
    }
}

void btnDrawShadow(HDC dc, const ButtonPart *part, const RECT *rect)
{
    if (!dc || !part || !rect)
        return;
    RECT r = *rect;
    r.right -= kFldBevelWidth;
    r.bottom -= kFldBevelWidth;
    int32_t dx, dy;
    obGetShadowOffset(&dx, &dy);
    geoOffsetRect(&r, dx, dy);
    GdiObject<HBRUSH> brush(obCreateShadowBrush());
    switch (faceOf(part)) {
    case BTN_FACE_DEFAULT:
    case BTN_FACE_RECT:
    case BTN_FACE_RECESSED:
        gdiFillRectIncl(dc, &r, brush);
        break;
    case BTN_FACE_ROUND: {
        int32_t cw, ch;
        fldFrameCornerSize(&r, part->frameValue, &cw, &ch);
        GdiSelect selBrush(dc, brush);
        GdiSelect selPen(dc, GetStockObject(NULL_PEN));
        gdiRoundRect(dc, r.left, r.top, r.right, r.bottom, cw, ch);
        break;
    }
    case BTN_FACE_ELLIPSE: {
        GdiSelect selBrush(dc, brush);
        GdiSelect selPen(dc, GetStockObject(NULL_PEN));
        gdiEllipse(dc, r.left, r.top, r.right, r.bottom);
        break;
    }
    default:
        break;
    }
}

// ---- drawing ---------------------------------------------------------------------------------

void btnDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    ButtonPart *part = wholePart(rec, rec->length);
    if (!part)
        return;
    int saved = SaveDC(dc);
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    RECT rect;
    obRecGetRect(rec, &rect);
    if (rec->flags & OBF_SHADOW)
        btnDrawShadow(dc, part, &rect);
    COLORREF colours[3] = {rec->penColour, rec->fillColour, rec->backColour};
    if (!drawPicture(dc, rec, part, rect))
        btnDrawFace(dc, &rect, part, colours);
    std::string label;
    if (attrText(part, BTN_TAG_LABEL, &label) && !label.empty()) {
        SetBkMode(dc, TRANSPARENT);
        txDrawStreamEx(dc, &rect, 0, 0, label.c_str(), &part->font, part->align, 0, 0, colours,
                       fontLineHeight(dc, &part->font), 0);
    }
    obRestoreDCModes(dc, &modes);
    RestoreDC(dc, saved);
}

// ---- font, rectangle and label ---------------------------------------------------------------

MemHandle btnSetFont(HWND, MemHandle h, const LOGFONTA *font)
{
    if (!font)
        return h;
    {
        ObLock r(h);
        ButtonPart *part = r ? wholePart(r.get(), r.extent()) : nullptr;
        if (!part)
            return h;
        part->font = *font;
    }
    return hcWrapButtonLabel(h, nullptr);
}

MemHandle fldButtonSetRect(MemHandle h, const RECT *rect)
{
    if (!rect || !ObLock(h))
        return h;
    obSetRect(h, rect);
    return hcWrapButtonLabel(h, nullptr);
}

const char *btnGetLabelText(MemHandle h)
{
    ObjectRecord *rec = static_cast<ObjectRecord *>(h ? utLock(h) : nullptr);
    if (!rec)
        return nullptr;
    uint32_t extent = std::min(rec->length, utHandleSize(h));
    ButtonPart *part = extent >= kObHeadSize ? wholePart(rec, extent) : nullptr;
    if (part && (part->tagMask & BTN_HAS_LABEL)) {
        int n = 0;
        const uint8_t *data = attrData(part, BTN_TAG_LABEL, &n);
        if (data && n > 0 && memchr(data, 0, (size_t)n))
            return reinterpret_cast<const char *>(data);
    }
    utUnlock(h);
    return nullptr;
}

MemHandle fldButtonGetLabel(MemHandle h)
{
    const char *text = btnGetLabelText(h);
    if (!text)
        return 0;
    MemHandle copy = text[0] ? utHandleFromString(text) : 0;
    utUnlock(h);
    return copy;
}

BOOL btnReadCheck(const ObjectRecord *rec, uint32_t length)
{
    const ButtonPart *p = rec ? wholePart(const_cast<ObjectRecord *>(rec), length) : nullptr;
    return p && obHeadWithinLimits(rec) && obSizeWithinLimits(p->font.lfHeight) &&
           obSizeWithinLimits(p->font.lfWidth);
}
