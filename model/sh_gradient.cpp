// The colour-gradient fill block: its defaults, its direction and its mirror
// images.
#include "model/sh_gradient.h"
#include "support/geo_rect.h"

void filDefaultGradient(GradientFillBlock *g)
{
    if (!g)
        return;
    g->type = GRAD_CIRCLE;
    g->spare2 = 0;
    g->angle = 0;
    g->steps = 16;
    g->offsetX = g->offsetY = 0;
    g->dx = g->dy = 0;
}

int32_t filGradientAngle(const GradientFillBlock *g)
{
    if (!g || (g->dx == 0 && g->dy == 0))
        return 0;
    int32_t a = geoRound(geoAtan2Deg(-(double)g->dy, (double)g->dx) * 10.0) - 900;
    a %= 3600;
    return a < 0 ? a + 3600 : a;
}

void shGradientFlipH(GradientFillBlock *g)
{
    if (!g)
        return;
    g->offsetX = -g->offsetX;
    if (g->type == GRAD_LINEAR) {
        g->dx = -g->dx;
    } else if (g->type >= GRAD_ELLIPSE && g->type <= GRAD_RECTANGLE) {
        int32_t a = 1800 - g->angle;
        g->angle = (int16_t)(a < 0 ? 5400 - g->angle : a);
    }
}

void shGradientFlipV(GradientFillBlock *g)
{
    if (!g)
        return;
    g->offsetY = -g->offsetY;
    if (g->type == GRAD_LINEAR) {
        g->dy = -g->dy;
    } else if (g->type >= GRAD_ELLIPSE && g->type <= GRAD_RECTANGLE && g->angle != 0) {
        int32_t a = 3600 - g->angle;
        g->angle = (int16_t)(a < 0 ? 7200 - g->angle : a);
    }
}
