// The view mapping between device pixels and twips.
//
// Page geometry is in twips (1440 logical units to the inch, 20 to the
// point). One global mapping sets up every device context used for drawing
// so that one logical unit is one twip at the current zoom, converts
// coordinates and lengths between device pixels, twips and the user's
// measurement unit, saves and restores itself on a stack (for drawing into
// metafiles and other foreign contexts at 100 percent), snaps to the ruler
// grid and computes zoom-to-fit percentages.
//
// Until dmInit (or any mapping of a device context) runs, the mapping holds
// the values of a 96-pixel-per-inch screen at 100 percent (map mode
// MM_ANISOTROPIC, unit inches, 15 twips to the pixel), so that conversions
// work from the start and never divide by zero.
//
// The mapping belongs to the user-interface thread; a drawing pass does not
// nest inside another.
#pragma once
#include "support/qmwin.h"

// UnitMode: the user's measurement unit.
enum : uint16_t {
    DM_UNIT_PIXELS = 1,     // device pixels
    DM_UNIT_LOG_INCHES = 2, // logical inches
    DM_UNIT_INCHES = 3,
    DM_UNIT_FEET = 4,
    DM_UNIT_METRES = 5,
    DM_UNIT_CM = 6,
};

// A saved copy of the mapping. A record whose map mode is 0 restores
// nothing.
struct ViewMapState {
    uint16_t mapMode;
    uint16_t zoom;
    uint16_t unitMode;
    double inchesPerUnit;
    int32_t viewportExtX, viewportExtY;
    int32_t windowOrgX, windowOrgY;
    int32_t windowExtX, windowExtY;
    int32_t scrollX, scrollY;
    int32_t minPickMargin;
    int32_t pixelWidth, pixelHeight, pixelSize;
    int32_t unitPixelsX, unitPixelsY;
};

// ---- start and end ------------------------------------------------------------
// Sets the initial mapping of the main window: zoom 100, MM_ANISOTROPIC,
// inches; computes the extents through a mapped DC of the window, hands the
// pixels of one inch to the twips conversions of the window services and
// makes the minimum pick margin the logical width of 2 pixels. Returns 1.
BOOL dmInit(HWND window);
// Frees the saved-state stack.
void dmTerm();
// Back to the start-up defaults (96 dpi, zoom 100), stack freed, flags off.
void dmResetModule();

// ---- applying the mapping -----------------------------------------------------
// Map mode, window extent 1440 x 1440, the given window origin, viewport
// extent = pixels per inch x zoom / 100, viewport origin = -scroll. The
// pixel size and unit pixels are recomputed. FALSE when the DC refused.
BOOL dmSetMappingOrg(HDC dc, int32_t originX, int32_t originY);
BOOL dmSetMapping(HDC dc);
// GetDC of the window with the mapping applied; the caller releases it.
HDC dmGetDC(HWND window);
// Stores the zoom (values below 1 become 1) and recomputes the mapping
// through the window's DC (0: the screen).
void dmSetZoom(HWND window, int32_t zoom);
void dmSetZoomDC(HDC dc, int32_t zoom);
// Scroll 0, 0 and zoom 100, applied to the DC / recomputed through the screen.
void dmResetMappingDC(HDC dc);
void dmResetMapping();
// Stores the unit mode (any other value is taken as inches) and recomputes
// the mapping through the window's DC. Returns the previous mode.
uint16_t dmSetUnits(HWND window, uint16_t mode);
uint16_t dmGetMapMode();
uint16_t dmGetZoom();
uint16_t dmGetUnits();
double dmGetInchesPerUnit();
// Logical size of one device pixel (width, height, the larger of the two).
int32_t dmGetPixelWidth();
int32_t dmGetPixelHeight();
int32_t dmGetPixelSize();
// Device pixels per measurement unit.
int32_t dmGetUnitPixelsX();
int32_t dmGetUnitPixelsY();
// The recorded viewport extents (the pixels of one inch at the zoom).
void dmGetZoomedDpi(int32_t *x, int32_t *y);
int32_t dmGetMinPickMargin();
void dmGetWindowOrg(int32_t *x, int32_t *y);
void dmGetWindowExt(int32_t *x, int32_t *y);
// Record or read the scroll offsets (device pixels); no DC is touched.
void dmSetScrollPos(int32_t x, int32_t y);
void dmGetScrollPos(int32_t *x, int32_t *y);
// Sets the DC's viewport origin to (x, y) and records the scroll offsets as
// (-x, -y).
BOOL dmSetScrollOrg(HDC dc, int32_t x, int32_t y, POINT *oldOrigin);
// Viewport origin := the negated recorded scroll offsets.
BOOL dmApplyScrollOrg(HDC dc);
// The Win32 calls, recording the value in the mapping when they succeed.
BOOL dmSetWindowExtRec(HDC dc, int32_t x, int32_t y, SIZE *old);
BOOL dmSetWindowOrgRec(HDC dc, int32_t x, int32_t y, POINT *old);
BOOL dmSetViewportExtRec(HDC dc, int32_t x, int32_t y, SIZE *old);
// The Win32 calls alone; nothing is recorded.
BOOL dmSetWindowExt(HDC dc, int32_t x, int32_t y, SIZE *old);
BOOL dmSetWindowOrg(HDC dc, int32_t x, int32_t y, POINT *old);
BOOL dmSetViewportExt(HDC dc, int32_t x, int32_t y, SIZE *old);
BOOL dmSetViewportOrg(HDC dc, int32_t x, int32_t y, POINT *old);
BOOL dmSetBrushOrg(HDC dc, int32_t x, int32_t y, POINT *old);
BOOL dmGetViewportExt(HDC dc, SIZE *ext);
BOOL dmGetViewportOrg(HDC dc, POINT *org);

// ---- saving and restoring -------------------------------------------------------
// Saves the whole mapping on the stack. FALSE when the stack could not grow
// (the allocator has told the user): nothing was saved, so the caller must
// not pop.
BOOL dmPushState();
// Restores the last saved mapping; FALSE (mapping untouched) when the stack
// is empty.
BOOL dmPopState();
uint16_t dmGetStateDepth();
void dmSaveState(ViewMapState *state);
// Skips a record whose map mode is 0; a zoom below 1 becomes 1.
void dmRestoreState(const ViewMapState *state);
// The mapping a window keeps (a workspace's zoom and scroll) made current
// by the call the views install at start-up (wsApplyViewMapping). FALSE, the
// current mapping left as it is, for a window that keeps none and while no
// call is installed (null uninstalls it).
typedef BOOL (*DmViewMappingCall)(HWND window);
void dmSetViewMappingCall(DmViewMappingCall call);
BOOL dmApplyViewMapping(HWND window);
// Begin (begin != 0): saves the mapping, maps the screen at zoom 100 with no
// scroll, and sets the DC up for the rectangle (twips) with stock black pen,
// white brush, system font, opaque white background, black text, R2_COPYPEN,
// ALTERNATE filling and no character extra. End: restores the mapping.
// FALSE from a begin whose save failed: nothing was changed and the caller
// must not call the end.
BOOL dmMetafileMapping(HDC dc, const RECT *rectTwips, BOOL begin);
// Set while objects are drawn into a metafile (the clipboard rendering sets
// it around that drawing).
void dmSetMetafileMode(BOOL on);
BOOL dmIsMetafileMode();

// ---- conversions ----------------------------------------------------------------
// Lengths: MulDiv by the extents of the axis.
int32_t dmDevToLogW(int32_t v);
int32_t dmDevToLogH(int32_t v);
int32_t dmLogToDevW(int32_t v);
int32_t dmLogToDevH(int32_t v);
// Coordinates, with the window origin and the scroll offsets.
int32_t dmDevToLogX(int32_t v);
int32_t dmDevToLogY(int32_t v);
int32_t dmLogToDevX(int32_t v);
int32_t dmLogToDevY(int32_t v);
void dmDevToLogPoints(POINT *pts, int32_t n);
void dmLogToDevPoints(POINT *pts, int32_t n);
void dmDevToLogRect(RECT *r);
void dmLogToDevRect(RECT *r);
// Logical to device with the extents, origin and scroll of a saved state.
void dmStateLogToDevRect(const ViewMapState *state, RECT *r);
// New handle of n device sizes (POINTs) from n logical sizes, by the extents
// alone; 0 for n < 1 or when memory fails. Full 32-bit arithmetic.
MemHandle dmLogToDevSizes(const POINT *pts, int32_t n);
// A mouse message's position (signed 16-bit x in the low half, y in the
// high half) as a logical point; snapped to the grid first when asked.
void dmMsgPointToLog(LPARAM packed, POINT *out);
void dmMsgPointToLogSnap(LPARAM packed, POINT *out, BOOL snap, int16_t subdivisions);
// Point conversions at zoom 100 (window origin 0, 0; scroll kept); the
// mapping is left as it was.
void dmLogToDevPoints100(POINT *pts, int32_t n);
void dmDevToLogPoints100(POINT *pts, int32_t n);
// A logical length in the DC's horizontal pixels at 100 percent.
int32_t dmLogToDCPixelsX(HDC dc, int32_t v);
int32_t dmUnitsToLogX(double v);
int32_t dmUnitsToLogY(double v);
double dmLogToUnitsX(int32_t v);
double dmLogToUnitsY(int32_t v);
int32_t dmInchToTwipsX(double inches);
int32_t dmInchToTwipsY(double inches);
double dmTwipsToInchX(int32_t v);
double dmTwipsToInchY(int32_t v);
int32_t dmTwipsToPoints(int32_t v);
int32_t dmPointsToTwips(int32_t v);
int32_t dmPointsToTwipsF(double points);
// Percentage of a zoom-menu code (-1 100, -2 80, -3 66, -4 50, -5 33, -6 25,
// -7 20, -20 400, -21 200, -100 1) or of a percentage (its absolute value);
// at least 1.
int32_t dmZoomPercent(int16_t code);

// ---- window operations -----------------------------------------------------------
void dmGetClientLogRect(HWND window, RECT *out);
// InvalidateRect of the rectangle's device form, or of the whole window for
// no rectangle.
BOOL dmInvalidateLogRect(HWND window, const RECT *r, BOOL erase);
HRGN dmCreateLogRectRgn(const RECT *r);
// Half-size of selection handles: the logical size of 3 pixels, plus 1.
void dmGetHandleSize(int32_t *x, int32_t *y);
// Grows each side by the handle size plus the pixel size, at least by the
// minimum pick margin. Returns 1.
int dmInflateByHandle(RECT *r);
// A logical coordinate n device pixels away from v.
int32_t dmNudgeByPixels(int32_t v, int32_t n);
void dmInflateByPixels(RECT *r, int32_t dx, int32_t dy);
// A mapped DC of the window with a grey 1-pixel pen under R2_NOTXORPEN, and
// its release.
HDC dmBeginXorDC(HWND window);
void dmEndXorDC(HWND window, HDC dc);
// Outline of the rectangle in a 1-pixel pen of the colour under the raster
// operation; pen and operation are put back.
void dmDrawRectOutlineRop(HDC dc, const RECT *r, COLORREF colour, int rop);
void dmDrawGreyOutline(HDC dc, const RECT *r, int rop);
// Grey exclusive-or feedback: drawn twice, the picture is as before.
void dmDrawXorLine(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void dmDrawXorOutline(HDC dc, const RECT *r);
BOOL dmInvertRect(HDC dc, const RECT *r);
// CreateFontIndirectA, with antialiased quality while font smoothing is on;
// the caller's LOGFONT is not changed.
HFONT dmCreateFont(const LOGFONTA *lf);
void dmSetFontSmoothing(BOOL on);
uint16_t dmGetFontSmoothing();

// ---- zoom to fit and grid -----------------------------------------------------------
// Percentages at which a page (twips; an empty extent counts as 8.5 x 11
// inches) fits a device rectangle, a window's client area (0: the frame
// window) or its client width. At least 1.
int32_t dmZoomToFitRect(const RECT *device, const RECT *page);
int32_t dmZoomToFitWindow(HWND window, const RECT *page);
int32_t dmZoomToFitWidth(HWND window, const RECT *page);
// Snaps device points in place to the grid of u / s pixels (u the unit
// pixels, s the subdivisions) that runs from the page origin; s = 0 does
// nothing.
void dmSnapDevPoints(POINT *pts, int32_t n, int16_t subdivisions);
void dmSnapPoints(POINT *pts, int32_t n, int16_t subdivisions);
