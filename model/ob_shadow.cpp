// The shadow style in force and the small routines shapes draw shadows with.
#include "model/ob_shadow.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"

namespace {

ShadowStyle g_shadow = {kObShadowDefaultOffset, kObShadowDefaultOffset, kObShadowDefaultColour};

void offsetPoints(POINT *pts, int32_t n, int32_t dx, int32_t dy)
{
    for (int32_t i = 0; pts && i < n; ++i) {
        pts[i].x += dx;
        pts[i].y += dy;
    }
}

}  // namespace

ShadowStyle obSetShadowStyle(ShadowStyle *style)
{
    ShadowStyle previous = g_shadow;
    ShadowStyle next;
    obDefaultShadowStyle(&next);
    if (style) {
        if (!style->dx && !style->dy && !style->colour)
            *style = next;
        next = *style;
    }
    g_shadow = next;
    return previous;
}

void obDefaultShadowStyle(ShadowStyle *style)
{
    if (style)
        *style = ShadowStyle{kObShadowDefaultOffset, kObShadowDefaultOffset, kObShadowDefaultColour};
}

COLORREF obGetShadowColour() { return g_shadow.colour; }

HBRUSH obCreateShadowBrush() { return CreateSolidBrush(g_shadow.colour); }

void obGetShadowOffset(int32_t *dx, int32_t *dy)
{
    if (dx)
        *dx = g_shadow.dx;
    if (dy)
        *dy = g_shadow.dy;
}

void obOffsetByShadow(POINT *pts, int32_t n) { offsetPoints(pts, n, g_shadow.dx, g_shadow.dy); }

void obOffsetByMinusShadow(POINT *pts, int32_t n)
{
    offsetPoints(pts, n, -g_shadow.dx, -g_shadow.dy);
}

void obAddShadowToRect(RECT *r)
{
    if (!r)
        return;
    if (g_shadow.dx >= 0)
        r->right += g_shadow.dx;
    else
        r->left += g_shadow.dx;
    if (g_shadow.dy >= 0)
        r->bottom += g_shadow.dy;
    else
        r->top += g_shadow.dy;
}

BOOL obFillShadowRect(HDC dc, const RECT *r)
{
    if (!dc || !r)
        return FALSE;
    RECT shifted = *r;
    geoOffsetRect(&shifted, g_shadow.dx, g_shadow.dy);
    GdiObject<HBRUSH> brush(obCreateShadowBrush());
    return brush ? gdiFillRectIncl(dc, &shifted, brush) != 0 : FALSE;
}
