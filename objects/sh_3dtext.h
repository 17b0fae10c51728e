// The 3D Text object (type 39): its drawing, rescaling and bounds. The
// record and its text belong to the object commands and the drawing to the
// text objects; both are reached through hooks installed at start-up.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

struct Sh3DTextHooks {
    // The text of the type data, or null (t3dGetText).
    const char *(*getText)(const uint8_t *typeData);
    // The margin around the text (t3dMargin).
    int32_t (*margin)(const uint8_t *typeData);
    // The measured, widened, grown and centred text rectangle; 0 without a
    // text (t3dCalcExtent).
    int (*calcExtent)(const ObjectRecord *rec, RECT *out);
    // A new plain text object of the frame, the 122-byte text header and
    // the text (txNewPlainTextObject), its drawing (txDrawObjectH).
    MemHandle (*makeTextObject)(HWND window, const RECT *frame, const void *header,
                                const char *text);
    void (*drawTextObject)(HDC dc, MemHandle object);
};
void sh3DTextSetHooks(const Sh3DTextHooks *hooks);   // null: none

// Nothing without a text; else a temporary text object of the object's
// frame, font, text, flags, colours and rotation, drawn and freed.
void sh3DTextDraw(HDC dc, ObjectRecord *rec);
// The text's bounds (margin only without a text) at the object's centre,
// their size stored at +6/+10, turned by the rotation; the object's box is
// set from them and they are returned. 0 for a null handle.
int sh3DTextBounds(RECT *out, MemHandle h);
// The rectangle becomes the object's box.
void sh3DTextRescale(MemHandle h, const RECT *rect);
