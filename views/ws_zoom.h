// Zoom of a workspace: setting the zoom code and percentage and placing the
// view afterwards, the View Scale command with its "PERCENT" dialog, the
// zoom-rectangle tool (mode 9), zooming about a point (Ctrl and the wheel),
// the stepped zoom in and out with its rubber rectangle, and the centring
// functions used after a zoom. Interactive zooms stay within 10 to 800
// percent; the fit codes (-100 page, -101 width) compute their own.
#pragma once
#include "support/qmwin.h"

enum { WS_ZOOM_MIN = 10, WS_ZOOM_MAX = 800 };
enum : int16_t {
    WS_ZOOM_FIT_PAGE = -100, WS_ZOOM_FIT_WIDTH = -101, WS_ZOOM_RECT = -200, WS_ZOOM_TYPED = -300,
};

// A percentage held within 10 to 800.
int32_t wsClampZoom(int32_t percent);
// (step + 100) x current / 100 within 10 to 800; the current value for a
// step of 0 or outside -100..100.
int32_t wsZoomStepPercent(int32_t current, int step);
// The percentage a zoom rectangle gives: current (100 in a fit mode) times
// the smaller of client width / rectangle width and client height /
// rectangle height, truncated, within 10 to 800; 0 for a rectangle without
// width or height.
int32_t wsZoomRectPercent(int32_t current, int16_t code, int32_t clientW, int32_t clientH,
                          int32_t rectW, int32_t rectH);

// Sets code and percentage and places the view (fitRect: what the fit
// modes fit and the view centres on; keepRect: kept in view). recordOnly:
// the workspace alone, else the settings too.
void wsSetZoom(HWND ws, int16_t code, int32_t percent, const RECT *fitRect, const RECT *keepRect,
               BOOL recordOnly);
// View Scale (command 179; the frame's when no document is open).
int wsCmdViewScale(HWND window);
// The "Percent" dialog: 1 on OK with the value; a non-empty caption
// replaces the dialog's own.
int wsAskPercent(HWND owner, int32_t *percent, const char *caption);
INT_PTR CALLBACK PercentDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// The zoom-rectangle tool.
int wsStartZoomTool(HWND ws);
LRESULT CALLBACK ZoomToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);
// Zooms the view to a rectangle (twips) as the tool does at the end of a
// drag; 1 when zoomed.
int wsZoomToRect(HWND ws, const RECT *rect);

// The same page point stays under the device point; 1 when changed.
int wsZoomAtPoint(HWND ws, int32_t percent, POINT device);
int wsZoomByPercent(HWND ws, int step, POINT device);
// A wheel notch with Ctrl: ten percent about the cursor / a client point.
int wsZoomWheelStep(HWND ws, int wheelDelta);
int wsZoomWheelStepAt(HWND ws, int wheelDelta, POINT device);
// One step of the stepped zoom: low word the step number (1 first), high
// word non-zero on the last step; rect the current object's (twips) or
// none.
int wsZoomStep(HWND ws, uint32_t stepInfo, const RECT *rect, BOOL zoomIn);

// Centring (twips).
void wsCentreOnRect(HWND ws, const RECT *rect);
void wsCentreOnRectTop(HWND ws, const RECT *rect);
void wsCentreOnRectAxes(HWND ws, const RECT *rect);
BOOL wsRectFitsWidth(HWND ws, const RECT *rect);
BOOL wsRectFitsView(HWND ws, const RECT *rect);
BOOL wsPageVisible(HWND ws);
// The horizontal origin (pixels) that centres the current page.
int32_t wsPageCentreX(HWND ws);

// Drops the module's state (tests).
void wsResetZoomModule();
