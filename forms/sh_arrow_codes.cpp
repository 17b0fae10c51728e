// Shape codes of the arrow family.
#include "forms/sh_arrow_codes.h"
#include "support/geo_rect.h"

namespace {

void blockArrowRight(const RECT *r, double f1, double f2, POINT *p)
{
    int32_t w = r->right - r->left, h = r->bottom - r->top;
    int32_t cy = (r->top + r->bottom) / 2;
    int32_t xh = r->left + geoRound(w * f1);
    int32_t d = geoRound(h * f2);
    POINT pts[7] = {{r->right, cy},         {xh, r->top},          {xh, r->top + d},
                    {r->left, r->top + d},  {r->left, r->bottom - d}, {xh, r->bottom - d},
                    {xh, r->bottom}};
    for (int i = 0; i < 7; ++i)
        p[i] = pts[i];
}

void blockArrowDown(const RECT *r, double f1, double f2, POINT *p)
{
    int32_t w = r->right - r->left, h = r->bottom - r->top;
    int32_t cx = (r->left + r->right) / 2;
    int32_t yh = r->top + geoRound(h * f1);
    int32_t d = geoRound(w * f2);
    POINT pts[7] = {{cx, r->bottom},          {r->right, yh},      {r->right - d, yh},
                    {r->right - d, r->top},   {r->left + d, r->top}, {r->left + d, yh},
                    {r->left, yh}};
    for (int i = 0; i < 7; ++i)
        p[i] = pts[i];
}

}  // namespace

int shArrowShapePoints(const RECT *rect, int16_t code, POINT *pts, int16_t *count)
{
    if (count)
        *count = 0;
    if (!rect || !pts)
        return 0;
    switch (code) {
    case 400: blockArrowRight(rect, 0.6, 0.25, pts); break;
    case 431: blockArrowRight(rect, 0.6, 0.35, pts); break;
    case 432: blockArrowRight(rect, 0.75, 0.35, pts); break;
    case 401: blockArrowDown(rect, 0.6, 0.25, pts); break;
    case 441: blockArrowDown(rect, 0.6, 0.35, pts); break;
    case 442: blockArrowDown(rect, 0.75, 0.35, pts); break;
    default:
        return 0;
    }
    if (count)
        *count = 7;
    return 1;
}

int shArrowIsPolygon(int16_t code)
{
    switch (code) {
    case 400: case 401: case 405: case 406: case 407: case 409: case 410: case 421:
    case 422: case 431: case 432: case 441: case 442: case 480: case 481:
        return 1;
    default:
        return 0;
    }
}
