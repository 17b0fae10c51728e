// Drawing text objects (background, shadow, frame, column dividers, ruled
// lines and the laid-out text, rotated with the object), their rotation and
// bounds, and the line geometry the editor asks for.
#pragma once
#include "support/qmwin.h"

struct CharFormat;
struct ObjectRecord;

struct TxSavedDC {
    int rop2;           // 0 when not changed
    UINT textAlign;
    COLORREF textColour;
    int bkMode;
    COLORREF bkColour;
};

void txSetupDC(HDC dc, const ObjectRecord *rec, RECT *box, TxSavedDC *saved);
void txSetupDCInner(HDC dc, const ObjectRecord *rec, RECT *box, TxSavedDC *saved);
void txRestoreDC(HDC dc, const TxSavedDC *saved);

void txDrawRuledLines(HDC dc, const RECT *rect, int32_t spacing, int penStyle, COLORREF colour,
                      const RECT *clipBand);
void txDrawRuledLinesOf(HDC dc, MemHandle object, const RECT *rect);

void txDrawObject(HDC dc, ObjectRecord *rec);
void txDrawObjectH(HDC dc, MemHandle object);

int32_t txTwoThirds(int32_t value);
void txRotateRect(RECT *r, int32_t angle);
void txRotateObject(ObjectRecord *rec, const POINT *about, int32_t angle);
BOOL txGetBounds(RECT *out, ObjectRecord *rec);

// The byte offset of a line nearest to x, and the x of an offset.
int32_t txOffsetAtX(HDC dc, const char *text, int32_t n, CharFormat *fmt, int32_t x,
                    int32_t count, const int32_t *tabs);
int32_t txXAtOffset(HDC dc, const char *text, int32_t offset, CharFormat *fmt, int32_t count,
                    const int32_t *tabs);

// 1 for justified text (its AlignWord or an alignment code 45 with 0x100):
// such text is edited with the whole object redrawn.
int txColumnTest(MemHandle object);
