// The group box.
#include "forms/sh_groupbox.h"
#include "forms/fld_check.h"
#include "forms/fld_text.h"
#include "text/tx_paint.h"
#include "model/ob_draw.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include <stdlib.h>
#include <string.h>

void shGroupBoxDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    ControlPart *part = ckbPart(rec);
    if (!part)
        return;
    // The frame is always one point wide; a paint never changes the record,
    // so the width and a caption measured here stay local.
    const int32_t penWidth = 20;
    int32_t labelWidth = part->labelWidth;
    int32_t h = abs(part->font.lfHeight);
    const char *caption = nullptr;
    if (part->labelLength >= 2) {
        const char *text = reinterpret_cast<const char *>(part) + kCkbPartSize;
        if (memchr(text, 0, part->labelLength))
            caption = text;
    }
    if (caption && labelWidth == 0) {
        SIZE ext;
        fldMeasureText(&part->font, caption, part->labelLength - 1, &ext);
        labelWidth = ext.cx < 0x7FFF ? ext.cx : 0x7FFF;
    }
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    RECT box;
    obRecGetRect(rec, &box);
    RECT frame = box;
    frame.top += 2 * h / 5;
    if (rec->fillKind == 1) {
        GdiObject<HBRUSH> brush(CreateSolidBrush(rec->backColour));
        GdiSelect selBrush(dc, brush);
        GdiSelect selPen(dc, GetStockObject(NULL_PEN));
        gdiRectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
    }
    if (!(part->flags & CKB_GROUP_NO_FRAME)) {
        GdiObject<HPEN> pen(CreatePen(gdiLineStylePen(rec->lineStyle), penWidth,
                                      rec->penColour));
        GdiSelect selPen(dc, pen);
        GdiSelect selBrush(dc, GetStockObject(NULL_BRUSH));
        if (caption) {
            POINT pts[6] = {{frame.left + h - h / 5, frame.top}, {frame.left, frame.top},
                            {frame.left, frame.bottom},          {frame.right, frame.bottom},
                            {frame.right, frame.top},
                            {frame.left + h + h / 5 + labelWidth, frame.top}};
            // The last segment only when the caption ends left of the right edge.
            gdiPolyline(dc, pts, pts[5].x < frame.right ? 6 : 5);
        } else {
            gdiRectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
        }
    }
    if (caption) {
        int oldMode = SetBkMode(dc, TRANSPARENT);
        COLORREF oldBack = SetBkColor(dc, 0xFFFFFF);
        RECT text = box;
        text.left += h;
        COLORREF colours[3] = {rec->penColour, rec->penColour, rec->backColour};
        txDrawStreamEx(dc, &text, 0, 0, caption, &part->font, 0, 0, 0, colours, h, 0);
        SetBkColor(dc, oldBack);
        SetBkMode(dc, oldMode);
    }
    obRestoreDCModes(dc, &modes);
}

void shGroupBoxLabelRect(MemHandle hObj, RECT *rect)
{
    if (!rect)
        return;
    geoSetRect(rect, 0, 0, 0, 0);
    ObLock r(hObj);
    ControlPart *part = r ? ckbPart(r.get()) : nullptr;
    if (!part)
        return;
    RECT box;
    obRecGetRect(r.get(), &box);
    int32_t h = abs(part->font.lfHeight);
    geoSetRect(rect, box.left + h, box.top, box.left + h + part->labelWidth, box.top + h);
}
