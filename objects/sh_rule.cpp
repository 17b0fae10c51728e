// Rule objects: size, the 3-D drawing and the file form.
#include "objects/sh_rule.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include <string.h>

namespace {

// The first and second colours of a rule part by the base colour.
void ruleColours(COLORREF base, BOOL sunken, COLORREF *first, COLORREF *second)
{
    COLORREF a = base != 0 ? 0 : 0xE0E0E0;
    COLORREF b = base != 0x404040 ? 0x404040 : 0x202020;
    *first = sunken ? a : b;
    *second = sunken ? b : a;
}

// One part: a polyline in its own pen, selected back and deleted.
void part(HDC dc, uint16_t lineStyle, int32_t w, COLORREF colour, const POINT *pts, int n)
{
    GdiObject<HPEN> pen(CreatePen(gdiLineStylePen(lineStyle), w, colour));
    GdiSelect sel(dc, pen);
    MoveToEx(dc, pts[0].x, pts[0].y, nullptr);
    for (int i = 1; i < n; ++i)
        gdiLineToPt(dc, pts[i]);
}

}  // namespace

uint32_t shRuleSize(ObjectRecord *rec)
{
    if (!rec)
        return 0;
    rec->length = obDataOffset(rec) + kShRuleGeometry;
    return rec->length;
}

void shRule3DHorizontal(HDC dc, int32_t x1, int32_t x2, int32_t y, uint16_t lineStyle, int32_t w,
                        COLORREF base, BOOL sunken)
{
    if (!dc)
        return;
    COLORREF first, second;
    ruleColours(base, sunken, &first, &second);
    const POINT a[3] = {{x1, y + w}, {x1, y - w}, {x2, y - w}};
    const POINT b[3] = {{x2, y - w}, {x2, y + w}, {x1, y + w}};
    part(dc, lineStyle, w, first, a, 3);
    part(dc, lineStyle, w, second, b, 3);
}

void shRule3DVertical(HDC dc, int32_t y1, int32_t y2, int32_t x, uint16_t lineStyle, int32_t w,
                      COLORREF base, BOOL sunken)
{
    if (!dc)
        return;
    COLORREF first, second;
    ruleColours(base, sunken, &first, &second);
    const POINT a[3] = {{x - w, y2}, {x - w, y1}, {x + w, y1}};
    const POINT b[3] = {{x + w, y1}, {x + w, y2}, {x - w, y2}};
    part(dc, lineStyle, w, first, a, 3);
    part(dc, lineStyle, w, second, b, 3);
}

void shRuleDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec || rec->type == OBT_HORZ_RULE)
        return;
    if ((uint64_t)obDataOffset(rec) + kShRuleGeometry > rec->length)
        return;
    POINT p[2];
    memcpy(p, obRecData(rec) + 2, sizeof p);
    geoOffsetPoints(p, 2, rec->centreX, rec->centreY);
    const BOOL sunken = rec->fillKind == kShRuleSunken;
    const int32_t w = rec->penWidth;
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    if (rec->type == OBT_RULE411)
        shRule3DHorizontal(dc, p[0].x, p[1].x, p[0].y, rec->lineStyle, w, 0xFFFFFF, sunken);
    else if (rec->type == OBT_RULE412)
        shRule3DVertical(dc, p[0].y, p[1].y, p[0].x, rec->lineStyle, w, 0xFFFFFF, sunken);
    obRestoreDCModes(dc, &modes);
}
