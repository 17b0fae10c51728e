// Window placement and the twips conversions of the screen.
#include "support/win_place.h"
#include "support/geo_rect.h"

namespace {

const int32_t kEdgeGap = 10;   // how far inside an edge a stray rectangle comes back
int32_t g_dpiX = 96, g_dpiY = 96;

void shiftX(RECT *r, int32_t left)
{
    r->right = left + (r->right - r->left);
    r->left = left;
}

void shiftY(RECT *r, int32_t top)
{
    r->bottom = top + (r->bottom - r->top);
    r->top = top;
}

void placeIn(HWND window, const RECT *frame, uint16_t align)
{
    RECT r;
    if (!GetWindowRect(window, &r))
        return;
    geoAlignRectTo(&r, frame, align);
    winMoveToRect(window, &r, TRUE);
}

}  // namespace

void winGetWorkArea(RECT *out)
{
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, out, 0))
        GetWindowRect(GetDesktopWindow(), out);
}

void winCentreRectInArea(RECT *r, const RECT *area)
{
    int32_t w = r->right - r->left, h = r->bottom - r->top;
    shiftX(r, (area->left + area->right - w) / 2);
    shiftY(r, (area->top + area->bottom - h) / 2);
}

void winCentreRectInWorkArea(RECT *r)
{
    RECT work;
    winGetWorkArea(&work);
    winCentreRectInArea(r, &work);
}

void winCentreOnScreen(HWND window)
{
    RECT r;
    if (!GetWindowRect(window, &r))
        return;
    winCentreRectInWorkArea(&r);
    winMoveToRect(window, &r, TRUE);
}

void winKeepRectInArea(RECT *r, const RECT *area)
{
    if (geoRectInRect(r, area))
        return;
    if (r->right > area->right)
        shiftX(r, area->right - kEdgeGap - (r->right - r->left));
    if (r->bottom > area->bottom)
        shiftY(r, area->bottom - kEdgeGap - (r->bottom - r->top));
    if (r->left < area->left)
        shiftX(r, area->left + kEdgeGap);
    if (r->top < area->top)
        shiftY(r, area->top + kEdgeGap);
}

void winKeepRectOnScreen(RECT *r)
{
    RECT work;
    winGetWorkArea(&work);
    winKeepRectInArea(r, &work);
}

void winPlaceInWorkArea(HWND window, uint16_t align)
{
    RECT work;
    winGetWorkArea(&work);
    placeIn(window, &work, align);
}

void winPlaceByWindow(HWND window, HWND reference, uint16_t align)
{
    RECT frame;
    if (GetWindowRect(reference, &frame))
        placeIn(window, &frame, align);
}

BOOL winMoveToRect(HWND window, const RECT *r, BOOL repaint)
{
    if (!window)
        return FALSE;
    return MoveWindow(window, r->left, r->top, r->right - r->left, r->bottom - r->top, repaint);
}

void winSetScreenResolution(int32_t pixelsPerInchX, int32_t pixelsPerInchY)
{
    if (pixelsPerInchX > 0)
        g_dpiX = pixelsPerInchX;
    if (pixelsPerInchY > 0)
        g_dpiY = pixelsPerInchY;
}

int32_t winTwipsToPixelsX(int32_t twips) { return MulDiv(twips, g_dpiX, 1440); }
int32_t winTwipsToPixelsY(int32_t twips) { return MulDiv(twips, g_dpiY, 1440); }
int32_t winPixelsToTwipsX(int32_t pixels) { return MulDiv(pixels, 1440, g_dpiX); }
int32_t winPixelsToTwipsY(int32_t pixels) { return MulDiv(pixels, 1440, g_dpiY); }
