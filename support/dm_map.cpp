// The view mapping between device pixels and twips.
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/rc_list.h"
#include "support/ut_mem.h"
#include "support/win_place.h"
#include "support/app_frame_globals.h"
#include <math.h>
#include <algorithm>

namespace {

const int32_t kTwipsPerInch = 1440;
const int32_t kDefaultDpi = 96;
const COLORREF kXorGrey = 0xC4C4C4;

// The mapping of a 96-pixel-per-inch screen at 100 percent: what holds
// before any device context has been mapped.
const ViewMapState kDefaultState = {
    MM_ANISOTROPIC, 100, DM_UNIT_INCHES, 1.0,
    kDefaultDpi, kDefaultDpi,       // viewport extent
    0, 0,                           // window origin
    kTwipsPerInch, kTwipsPerInch,   // window extent
    0, 0,                           // scroll
    30,                             // minimum pick margin: 2 pixels
    15, 15, 15,                     // pixel width, height, size
    kDefaultDpi, kDefaultDpi,       // unit pixels
};

struct ViewMapping {
    ViewMapState s;
    uint16_t fontSmoothing;   // 0, or ANTIALIASED_QUALITY
    BOOL metafile;
    HPEN xorPen;
    int xorUsers;             // open exclusive-or DCs sharing the pen
    MemHandle stack;          // saved ViewMapState records, back to back
    int32_t depth;
};

ViewMapping g_map = {kDefaultState, 0, FALSE, nullptr, 0, 0, 0};

int32_t saturate(__int128 v)
{
    if (v > INT32_MAX)
        return INT32_MAX;
    if (v < INT32_MIN)
        return INT32_MIN;
    return (int32_t)v;
}

// Multiply, then divide rounding to the nearest integer with halves away
// from zero (as MulDiv), without intermediate overflow; the result
// saturates. A zero divisor gives 0.
int32_t mulDiv(int64_t a, int64_t b, int64_t c)
{
    if (c == 0)
        return 0;
    if (c < 0) {
        a = -a;
        c = -c;
    }
    __int128 p = (__int128)a * b;
    __int128 q = ((a < 0) == (b < 0)) ? (p + c / 2) / c : (p - c / 2) / c;
    return saturate(q);
}

int32_t truncToInt(double v)
{
    if (v != v)
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return (int32_t)v;
}

uint16_t clampZoom(int32_t zoom) { return (uint16_t)std::min(std::max(zoom, 1), 65535); }

int32_t clampPercent(double pct) { return std::max(truncToInt(pct), 1); }

double unitFactor(uint16_t mode)
{
    switch (mode) {
    case DM_UNIT_PIXELS: return 1.0 / std::max(g_map.s.viewportExtX, 1);
    case DM_UNIT_LOG_INCHES: return 1.0;
    case DM_UNIT_FEET: return 12.00000048000002;
    case DM_UNIT_METRES: return 39.37007874015748;
    case DM_UNIT_CM: return 0.39370078740157477;
    default: return 1.0;
    }
}

// Pixels per inch of a DC; a DC that reports none counts as a 96-dpi screen.
void dcDpi(HDC dc, int32_t *x, int32_t *y)
{
    int32_t px = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
    int32_t py = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    *x = px > 0 ? px : kDefaultDpi;
    *y = py > 0 ? py : kDefaultDpi;
}

void windowDpi(HWND window, int32_t *x, int32_t *y)
{
    HDC dc = GetDC(window);
    dcDpi(dc, x, y);
    if (dc)
        ReleaseDC(window, dc);
}

// Recomputes the mapping through the window's DC (0: the screen).
void remapThrough(HWND window)
{
    HDC dc = GetDC(window);
    dmSetMapping(dc);
    if (dc)
        ReleaseDC(window, dc);
}

void recomputePixelSize()
{
    ViewMapState &s = g_map.s;
    s.pixelWidth = dmDevToLogW(1);
    s.pixelHeight = dmDevToLogH(1);
    s.pixelSize = std::max(s.pixelWidth, s.pixelHeight);
}

// One axis of a mapping: window origin, the two extents and the scroll.
struct Axis {
    int32_t org, vpExt, winExt, scroll;
};

Axis axisX(const ViewMapState &s) { return {s.windowOrgX, s.viewportExtX, s.windowExtX, s.scrollX}; }
Axis axisY(const ViewMapState &s) { return {s.windowOrgY, s.viewportExtY, s.windowExtY, s.scrollY}; }

int32_t logToDevCoord(int32_t v, const Axis &a)
{
    return saturate((__int128)mulDiv((int64_t)v - a.org, a.vpExt, a.winExt) - a.scroll);
}

int32_t devToLogCoord(int32_t v, const Axis &a)
{
    return saturate((__int128)mulDiv((int64_t)v + a.scroll, a.winExt, a.vpExt) + a.org);
}

// One axis of the grid snap: the grid runs from the page origin in steps of
// u / s device pixels; each coordinate goes to the nearest subdivision of
// its unit cell. The cell is found by flooring, so that a point left of or
// above the page origin goes to its nearest subdivision too (a remainder
// taken toward zero would send -20 to 0 instead of -24 on a 24-pixel grid).
int32_t snapCoord(int32_t v, int32_t u, int32_t scroll, int32_t s)
{
    int64_t half = ((int64_t)u / s) / 2;
    int64_t r = ((int64_t)v + scroll) % u;
    if (r < 0)
        r += u;
    int64_t k = ((r + half) * s) / u;
    return saturate((v - r) + (k * u) / s);
}

// Records a pair of values in the mapping when the platform took them.
BOOL keepPair(BOOL taken, int32_t *fieldX, int32_t *fieldY, int32_t x, int32_t y)
{
    if (!taken)
        return FALSE;
    *fieldX = x;
    *fieldY = y;
    return TRUE;
}

double pageInches(int32_t lo, int32_t hi, double fallback)
{
    int64_t extent = (int64_t)hi - lo;
    return extent == 0 ? fallback : fabs((double)extent) / kTwipsPerInch;
}

}  // namespace

// ---- start and end ------------------------------------------------------------

BOOL dmInit(HWND window)
{
    g_map.s.zoom = 100;
    g_map.s.mapMode = MM_ANISOTROPIC;
    g_map.s.scrollX = g_map.s.scrollY = 0;
    dmSetUnits(window, DM_UNIT_INCHES);   // maps a DC of the window
    winSetScreenResolution(g_map.s.viewportExtX, g_map.s.viewportExtY);
    g_map.s.minPickMargin = dmDevToLogW(2);
    geoInit();
    return 1;
}

void dmTerm()
{
    g_map.stack = utFreeHandle(g_map.stack);
    g_map.depth = 0;
    geoTerm();
}

void dmResetModule()
{
    dmTerm();
    if (g_map.xorPen)
        DeleteObject(g_map.xorPen);
    g_map = ViewMapping{kDefaultState, 0, FALSE, nullptr, 0, 0, 0};
}

// ---- applying the mapping -----------------------------------------------------

BOOL dmSetMappingOrg(HDC dc, int32_t originX, int32_t originY)
{
    ViewMapState &s = g_map.s;
    BOOL ok = dc && SetMapMode(dc, s.mapMode) != 0;
    s.windowExtX = s.windowExtY = kTwipsPerInch;
    s.windowOrgX = originX;
    s.windowOrgY = originY;
    int32_t dpiX, dpiY;
    dcDpi(dc, &dpiX, &dpiY);
    // A tiny zoom on a coarse device must not leave an extent of 0.
    s.viewportExtX = std::max(geoRound(dpiX * (double)s.zoom / 100.0), 1);
    s.viewportExtY = std::max(geoRound(dpiY * (double)s.zoom / 100.0), 1);
    if (s.unitMode == DM_UNIT_PIXELS) {
        s.unitPixelsX = s.unitPixelsY = 1;
    } else {
        s.unitPixelsX = geoRound(s.viewportExtX * s.inchesPerUnit);
        s.unitPixelsY = geoRound(s.viewportExtY * s.inchesPerUnit);
    }
    if (dc) {
        ok = SetWindowExtEx(dc, s.windowExtX, s.windowExtY, nullptr) && ok;
        ok = SetWindowOrgEx(dc, originX, originY, nullptr) && ok;
        ok = SetViewportExtEx(dc, s.viewportExtX, s.viewportExtY, nullptr) && ok;
        ok = SetViewportOrgEx(dc, -s.scrollX, -s.scrollY, nullptr) && ok;
    }
    recomputePixelSize();
    return ok;
}

BOOL dmSetMapping(HDC dc) { return dmSetMappingOrg(dc, 0, 0); }

HDC dmGetDC(HWND window)
{
    HDC dc = GetDC(window);
    if (dc)
        dmSetMapping(dc);
    return dc;
}

void dmSetZoom(HWND window, int32_t zoom)
{
    g_map.s.zoom = clampZoom(zoom);
    remapThrough(window);
}

void dmSetZoomDC(HDC dc, int32_t zoom)
{
    g_map.s.zoom = clampZoom(zoom);
    dmSetMapping(dc);
}

void dmResetMappingDC(HDC dc)
{
    g_map.s.scrollX = g_map.s.scrollY = 0;
    dmSetZoomDC(dc, 100);
}

void dmResetMapping()
{
    g_map.s.scrollX = g_map.s.scrollY = 0;
    dmSetZoom(nullptr, 100);
}

uint16_t dmSetUnits(HWND window, uint16_t mode)
{
    uint16_t previous = g_map.s.unitMode;
    if (mode < DM_UNIT_PIXELS || mode > DM_UNIT_CM)
        mode = DM_UNIT_INCHES;
    g_map.s.unitMode = mode;
    g_map.s.inchesPerUnit = unitFactor(mode);
    remapThrough(window);
    return previous;
}

uint16_t dmGetMapMode() { return g_map.s.mapMode; }
uint16_t dmGetZoom() { return g_map.s.zoom; }
uint16_t dmGetUnits() { return g_map.s.unitMode; }
double dmGetInchesPerUnit() { return g_map.s.inchesPerUnit; }
int32_t dmGetPixelWidth() { return g_map.s.pixelWidth; }
int32_t dmGetPixelHeight() { return g_map.s.pixelHeight; }
int32_t dmGetPixelSize() { return g_map.s.pixelSize; }
int32_t dmGetUnitPixelsX() { return g_map.s.unitPixelsX; }
int32_t dmGetUnitPixelsY() { return g_map.s.unitPixelsY; }
int32_t dmGetMinPickMargin() { return g_map.s.minPickMargin; }

void dmGetZoomedDpi(int32_t *x, int32_t *y)
{
    *x = g_map.s.viewportExtX;
    *y = g_map.s.viewportExtY;
}

void dmGetWindowOrg(int32_t *x, int32_t *y)
{
    *x = g_map.s.windowOrgX;
    *y = g_map.s.windowOrgY;
}

void dmGetWindowExt(int32_t *x, int32_t *y)
{
    *x = g_map.s.windowExtX;
    *y = g_map.s.windowExtY;
}

void dmSetScrollPos(int32_t x, int32_t y)
{
    g_map.s.scrollX = x;
    g_map.s.scrollY = y;
}

void dmGetScrollPos(int32_t *x, int32_t *y)
{
    *x = g_map.s.scrollX;
    *y = g_map.s.scrollY;
}

BOOL dmSetScrollOrg(HDC dc, int32_t x, int32_t y, POINT *oldOrigin)
{
    g_map.s.scrollX = -x;
    g_map.s.scrollY = -y;
    return SetViewportOrgEx(dc, x, y, oldOrigin);
}

BOOL dmApplyScrollOrg(HDC dc)
{
    return SetViewportOrgEx(dc, -g_map.s.scrollX, -g_map.s.scrollY, nullptr);
}

BOOL dmSetWindowExtRec(HDC dc, int32_t x, int32_t y, SIZE *old)
{
    return keepPair(SetWindowExtEx(dc, x, y, old) && x && y, &g_map.s.windowExtX,
                    &g_map.s.windowExtY, x, y);
}

BOOL dmSetWindowOrgRec(HDC dc, int32_t x, int32_t y, POINT *old)
{
    return keepPair(SetWindowOrgEx(dc, x, y, old), &g_map.s.windowOrgX, &g_map.s.windowOrgY, x,
                    y);
}

BOOL dmSetViewportExtRec(HDC dc, int32_t x, int32_t y, SIZE *old)
{
    return keepPair(SetViewportExtEx(dc, x, y, old) && x && y, &g_map.s.viewportExtX,
                    &g_map.s.viewportExtY, x, y);
}

BOOL dmSetWindowExt(HDC dc, int32_t x, int32_t y, SIZE *old) { return SetWindowExtEx(dc, x, y, old); }
BOOL dmSetWindowOrg(HDC dc, int32_t x, int32_t y, POINT *old) { return SetWindowOrgEx(dc, x, y, old); }
BOOL dmSetViewportExt(HDC dc, int32_t x, int32_t y, SIZE *old)
{
    return SetViewportExtEx(dc, x, y, old);
}
BOOL dmSetViewportOrg(HDC dc, int32_t x, int32_t y, POINT *old)
{
    return SetViewportOrgEx(dc, x, y, old);
}
BOOL dmSetBrushOrg(HDC dc, int32_t x, int32_t y, POINT *old) { return SetBrushOrgEx(dc, x, y, old); }
BOOL dmGetViewportExt(HDC dc, SIZE *ext) { return GetViewportExtEx(dc, ext); }
BOOL dmGetViewportOrg(HDC dc, POINT *org) { return GetViewportOrgEx(dc, org); }

// ---- saving and restoring -------------------------------------------------------

BOOL dmPushState()
{
    ViewMapState state;
    dmSaveState(&state);
    MemHandle grown = rcArrayAppend(g_map.stack, g_map.depth, &state, sizeof(state));
    if (!grown)
        return FALSE;
    g_map.stack = grown;
    ++g_map.depth;
    return TRUE;
}

BOOL dmPopState()
{
    ViewMapState state;
    if (!rcArrayPop(&g_map.stack, &g_map.depth, &state, sizeof(state), TRUE))
        return FALSE;
    dmRestoreState(&state);
    return TRUE;
}

uint16_t dmGetStateDepth() { return (uint16_t)g_map.depth; }

void dmSaveState(ViewMapState *state) { *state = g_map.s; }

namespace {
DmViewMappingCall g_viewMapping = nullptr;
}

void dmSetViewMappingCall(DmViewMappingCall call) { g_viewMapping = call; }

BOOL dmApplyViewMapping(HWND window) { return g_viewMapping ? g_viewMapping(window) : FALSE; }

void dmRestoreState(const ViewMapState *state)
{
    if (!state || state->mapMode == 0)
        return;
    g_map.s = *state;
    if (g_map.s.zoom < 1)
        g_map.s.zoom = 1;
}

BOOL dmMetafileMapping(HDC dc, const RECT *rectTwips, BOOL begin)
{
    if (!begin)
        return dmPopState();
    int32_t w = rectTwips->right - rectTwips->left;
    int32_t h = rectTwips->bottom - rectTwips->top;
    if (w == 0)
        w = 1;
    if (h == 0)
        h = 1;
    if (!dmPushState())
        return FALSE;
    dmSetZoom(appGetFrameWindow(), 100);
    g_map.s.scrollX = g_map.s.scrollY = 0;
    SetMapMode(dc, g_map.s.mapMode);
    dmSetWindowOrgRec(dc, 0, 0, nullptr);
    dmSetWindowExtRec(dc, w, h, nullptr);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, 0xFFFFFF);
    SetTextColor(dc, 0);
    SetROP2(dc, R2_COPYPEN);
    SetPolyFillMode(dc, ALTERNATE);
    SetTextCharacterExtra(dc, 0);
    return TRUE;
}

void dmSetMetafileMode(BOOL on) { g_map.metafile = on ? TRUE : FALSE; }
BOOL dmIsMetafileMode() { return g_map.metafile; }

// ---- conversions ----------------------------------------------------------------

int32_t dmDevToLogW(int32_t v) { return mulDiv(v, g_map.s.windowExtX, g_map.s.viewportExtX); }
int32_t dmDevToLogH(int32_t v) { return mulDiv(v, g_map.s.windowExtY, g_map.s.viewportExtY); }
int32_t dmLogToDevW(int32_t v) { return mulDiv(v, g_map.s.viewportExtX, g_map.s.windowExtX); }
int32_t dmLogToDevH(int32_t v) { return mulDiv(v, g_map.s.viewportExtY, g_map.s.windowExtY); }

int32_t dmDevToLogX(int32_t v) { return devToLogCoord(v, axisX(g_map.s)); }
int32_t dmDevToLogY(int32_t v) { return devToLogCoord(v, axisY(g_map.s)); }
int32_t dmLogToDevX(int32_t v) { return logToDevCoord(v, axisX(g_map.s)); }
int32_t dmLogToDevY(int32_t v) { return logToDevCoord(v, axisY(g_map.s)); }

void dmDevToLogPoints(POINT *pts, int32_t n)
{
    for (int32_t i = 0; i < n; ++i) {
        pts[i].x = dmDevToLogX(pts[i].x);
        pts[i].y = dmDevToLogY(pts[i].y);
    }
}

void dmLogToDevPoints(POINT *pts, int32_t n)
{
    for (int32_t i = 0; i < n; ++i) {
        pts[i].x = dmLogToDevX(pts[i].x);
        pts[i].y = dmLogToDevY(pts[i].y);
    }
}

void dmDevToLogRect(RECT *r)
{
    r->left = dmDevToLogX(r->left);
    r->top = dmDevToLogY(r->top);
    r->right = dmDevToLogX(r->right);
    r->bottom = dmDevToLogY(r->bottom);
}

void dmLogToDevRect(RECT *r)
{
    r->left = dmLogToDevX(r->left);
    r->top = dmLogToDevY(r->top);
    r->right = dmLogToDevX(r->right);
    r->bottom = dmLogToDevY(r->bottom);
}

void dmStateLogToDevRect(const ViewMapState *st, RECT *r)
{
    Axis x = axisX(*st), y = axisY(*st);
    r->left = logToDevCoord(r->left, x);
    r->top = logToDevCoord(r->top, y);
    r->right = logToDevCoord(r->right, x);
    r->bottom = logToDevCoord(r->bottom, y);
}

MemHandle dmLogToDevSizes(const POINT *pts, int32_t n)
{
    if (n < 1 || (uint64_t)n * sizeof(POINT) > 0x7FFFFFF0u)
        return 0;
    MemHandle h = utAllocHandle(0, (uint32_t)(n * sizeof(POINT)));
    if (!h)
        return 0;
    MemLock<POINT> out(h);
    // Whole 32-bit values: a page wider than 32767 twips must not wrap.
    for (int32_t i = 0; i < n; ++i) {
        out[i].x = dmLogToDevW(pts[i].x);
        out[i].y = dmLogToDevH(pts[i].y);
    }
    return h;
}

void dmMsgPointToLog(LPARAM packed, POINT *out) { dmMsgPointToLogSnap(packed, out, FALSE, 0); }

void dmMsgPointToLogSnap(LPARAM packed, POINT *out, BOOL snap, int16_t subdivisions)
{
    POINT p = {(int16_t)LOWORD(packed), (int16_t)HIWORD(packed)};
    if (snap)
        dmSnapDevPoints(&p, 1, subdivisions);
    out->x = dmDevToLogX(p.x);
    out->y = dmDevToLogY(p.y);
}

// The mapping is saved in a local record rather than on the stack: the
// conversion then cannot fail half-way for want of memory.
void dmLogToDevPoints100(POINT *pts, int32_t n)
{
    ViewMapState saved;
    dmSaveState(&saved);
    dmSetZoom(nullptr, 100);
    dmLogToDevPoints(pts, n);
    dmRestoreState(&saved);
}

void dmDevToLogPoints100(POINT *pts, int32_t n)
{
    ViewMapState saved;
    dmSaveState(&saved);
    dmSetZoom(nullptr, 100);
    dmDevToLogPoints(pts, n);
    dmRestoreState(&saved);
}

int32_t dmLogToDCPixelsX(HDC dc, int32_t v)
{
    int32_t dpiX, dpiY;
    dcDpi(dc, &dpiX, &dpiY);
    return mulDiv(v, dpiX, g_map.s.windowExtX);
}

int32_t dmUnitsToLogX(double v) { return geoRound(g_map.s.inchesPerUnit * v * g_map.s.windowExtX); }
int32_t dmUnitsToLogY(double v) { return geoRound(g_map.s.inchesPerUnit * v * g_map.s.windowExtY); }
double dmLogToUnitsX(int32_t v) { return v / (g_map.s.windowExtX * g_map.s.inchesPerUnit); }
double dmLogToUnitsY(int32_t v) { return v / (g_map.s.windowExtY * g_map.s.inchesPerUnit); }
int32_t dmInchToTwipsX(double inches) { return truncToInt(inches * kTwipsPerInch); }
int32_t dmInchToTwipsY(double inches) { return truncToInt(inches * kTwipsPerInch); }
double dmTwipsToInchX(int32_t v) { return v / 1440.0; }
double dmTwipsToInchY(int32_t v) { return v / 1440.0; }
int32_t dmTwipsToPoints(int32_t v) { return mulDiv(v, 1, 20); }
int32_t dmPointsToTwips(int32_t v) { return saturate((__int128)v * 20); }
int32_t dmPointsToTwipsF(double points) { return geoRound(points * 20.0); }

int32_t dmZoomPercent(int16_t code)
{
    int32_t pct;
    switch (code) {
    case -1: pct = 100; break;
    case -2: pct = 80; break;
    case -3: pct = 66; break;
    case -4: pct = 50; break;
    case -5: pct = 33; break;
    case -6: pct = 25; break;
    case -7: pct = 20; break;
    case -20: pct = 400; break;
    case -21: pct = 200; break;
    case -100: pct = 1; break;
    default: pct = code < 0 ? -(int32_t)code : code; break;
    }
    return pct < 1 ? 1 : pct;
}

// ---- window operations -----------------------------------------------------------

void dmGetClientLogRect(HWND window, RECT *out)
{
    if (!GetClientRect(window, out))
        SetRectEmpty(out);
    dmDevToLogRect(out);
}

BOOL dmInvalidateLogRect(HWND window, const RECT *r, BOOL erase)
{
    if (!r)
        return InvalidateRect(window, nullptr, erase);
    RECT d = *r;
    dmLogToDevRect(&d);
    return InvalidateRect(window, &d, erase);
}

HRGN dmCreateLogRectRgn(const RECT *r)
{
    RECT d = *r;
    dmLogToDevRect(&d);
    return CreateRectRgn(d.left, d.top, d.right, d.bottom);
}

void dmGetHandleSize(int32_t *x, int32_t *y)
{
    *x = dmDevToLogW(3) + 1;
    *y = dmDevToLogH(3) + 1;
}

int dmInflateByHandle(RECT *r)
{
    int32_t hx, hy;
    dmGetHandleSize(&hx, &hy);
    int32_t gx = std::max(hx + g_map.s.pixelSize, g_map.s.minPickMargin);
    int32_t gy = std::max(hy + g_map.s.pixelSize, g_map.s.minPickMargin);
    InflateRect(r, gx, gy);
    return 1;
}

int32_t dmNudgeByPixels(int32_t v, int32_t n)
{
    int32_t p = g_map.s.pixelSize;
    int32_t d0 = dmLogToDevW(v);
    int32_t w = saturate((__int128)v + (int64_t)p * n);
    int32_t step = std::max(p - 1, 1);
    auto moved = [&] { return (int64_t)dmLogToDevW(w) - d0; };
    if (n < 1) {
        while (moved() > n && w > INT32_MIN + step)
            w -= step;
        while (moved() < n && w < INT32_MAX - step)
            w += step;
    } else {
        while (moved() < n && w < INT32_MAX - step)
            w += step;
        while (moved() > n && w > INT32_MIN + step)
            w -= step;
    }
    return w;
}

void dmInflateByPixels(RECT *r, int32_t dx, int32_t dy)
{
    r->left = dmNudgeByPixels(r->left, -dx);
    r->top = dmNudgeByPixels(r->top, -dy);
    r->right = dmNudgeByPixels(r->right, dx);
    r->bottom = dmNudgeByPixels(r->bottom, dy);
}

HDC dmBeginXorDC(HWND window)
{
    HDC dc = dmGetDC(window);
    if (!dc)
        return nullptr;
    if (!g_map.xorPen)
        g_map.xorPen = CreatePen(PS_SOLID, 0, kXorGrey);
    ++g_map.xorUsers;
    if (g_map.xorPen)
        SelectObject(dc, g_map.xorPen);
    SetROP2(dc, R2_NOTXORPEN);
    return dc;
}

void dmEndXorDC(HWND window, HDC dc)
{
    if (!dc)
        return;
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SetROP2(dc, R2_COPYPEN);
    ReleaseDC(window, dc);
    if (g_map.xorUsers > 0 && --g_map.xorUsers == 0 && g_map.xorPen) {
        DeleteObject(g_map.xorPen);
        g_map.xorPen = nullptr;
    }
}

void dmDrawRectOutlineRop(HDC dc, const RECT *r, COLORREF colour, int rop)
{
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 0, colour));
    GdiSelect sel(dc, pen);
    int oldRop = SetROP2(dc, rop);
    gdiFrameRect(dc, r);
    if (oldRop)
        SetROP2(dc, oldRop);
}

void dmDrawGreyOutline(HDC dc, const RECT *r, int rop) { dmDrawRectOutlineRop(dc, r, kXorGrey, rop); }

void dmDrawXorLine(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 0, kXorGrey));
    GdiSelect sel(dc, pen);
    int oldRop = SetROP2(dc, R2_NOTXORPEN);
    gdiLine(dc, x1, y1, x2, y2);
    if (oldRop)
        SetROP2(dc, oldRop);
}

void dmDrawXorOutline(HDC dc, const RECT *r)
{
    if (r->right != r->left && r->bottom != r->top)
        dmDrawGreyOutline(dc, r, R2_NOTXORPEN);
    else
        dmDrawXorLine(dc, r->left, r->top, r->right, r->bottom);
}

BOOL dmInvertRect(HDC dc, const RECT *r) { return InvertRect(dc, r); }

HFONT dmCreateFont(const LOGFONTA *lf)
{
    LOGFONTA f = *lf;
    if (g_map.fontSmoothing == ANTIALIASED_QUALITY)
        f.lfQuality = ANTIALIASED_QUALITY;
    return CreateFontIndirectA(&f);
}

void dmSetFontSmoothing(BOOL on) { g_map.fontSmoothing = on ? ANTIALIASED_QUALITY : 0; }
uint16_t dmGetFontSmoothing() { return g_map.fontSmoothing; }

// ---- zoom to fit and grid -----------------------------------------------------------

int32_t dmZoomToFitRect(const RECT *device, const RECT *page)
{
    int32_t dpiX, dpiY;
    windowDpi(appGetFrameWindow(), &dpiX, &dpiY);
    double availW = ((double)device->right - device->left) / dpiX;
    double availH = ((double)device->bottom - device->top) / dpiY;
    double factor = std::min(availW / pageInches(page->left, page->right, 8.5),
                             availH / pageInches(page->top, page->bottom, 11.0));
    return clampPercent(100.0 * factor);
}

int32_t dmZoomToFitWindow(HWND window, const RECT *page)
{
    HWND target = window ? window : appGetFrameWindow();
    double margin = window ? 0.12 : 0.5;
    RECT client = {0, 0, 0, 0};
    GetClientRect(target, &client);
    int32_t dpiX, dpiY;
    windowDpi(target, &dpiX, &dpiY);
    double availW = ((double)client.right - client.left) / dpiX - margin;
    double availH = ((double)client.bottom - client.top) / dpiY - margin;
    double factor = std::min(availW / pageInches(page->left, page->right, 8.5),
                             availH / pageInches(page->top, page->bottom, 11.0));
    return std::max(geoRound(100.0 * factor), 1);
}

int32_t dmZoomToFitWidth(HWND window, const RECT *page)
{
    HWND target = window ? window : appGetFrameWindow();
    RECT client = {0, 0, 0, 0};
    GetClientRect(target, &client);
    int32_t dpiX, dpiY;
    windowDpi(target, &dpiX, &dpiY);
    int32_t width = client.right - client.left;
    if (width > 36)
        width -= 9;
    double pct = (double)width / dpiX / pageInches(page->left, page->right, 8.5) * 100.0;
    return std::max(geoRound(pct), 1);
}

void dmSnapDevPoints(POINT *pts, int32_t n, int16_t subdivisions)
{
    const ViewMapState &s = g_map.s;
    if (subdivisions <= 0 || s.unitPixelsX <= 0 || s.unitPixelsY <= 0)
        return;
    for (int32_t i = 0; i < n; ++i) {
        pts[i].x = snapCoord(pts[i].x, s.unitPixelsX, s.scrollX, subdivisions);
        pts[i].y = snapCoord(pts[i].y, s.unitPixelsY, s.scrollY, subdivisions);
    }
}

void dmSnapPoints(POINT *pts, int32_t n, int16_t subdivisions)
{
    dmLogToDevPoints(pts, n);
    dmSnapDevPoints(pts, n, subdivisions);
    dmDevToLogPoints(pts, n);
}
