// Scrolling of a workspace and the continuous view: the scroll ranges, the
// line and page steps, the scroll bars of the navigation bars (reached
// through WM_COMMAND to the document window) or the workspace's own bars,
// the keyboard and the wheel, stepping to the previous or next page when
// the user scrolls past a page's edge, the "%d of %d" tip shown while the
// page thumb is dragged, scrolling while a tool drags, bringing a rectangle
// into view, the neighbouring pages of the continuous view and the
// background erase.
//
// Scroll positions, ranges and steps are device pixels; rectangles are
// twips through the workspace's view mapping. The scroll position is the
// view's origin kept in the workspace record: in the continuous view it
// counts from the top of the first page.
#pragma once
#include "support/qmwin.h"

// ScrollStyle.
enum : uint16_t { WS_SCROLL_SINGLE = 0, WS_SCROLL_PAGED = 1, WS_SCROLL_CONTINUOUS = 2 };
// Stacking step between the pages of the continuous styles (twips).
enum { WS_PAGE_STACK_GAP = 288 };

// ---- arithmetic (no window) -------------------------------------------------------------
// The distance between pages of the continuous view drawn on screen, by the
// mapping's unit: 100 twips for pixels, 1440 for inches and feet (2, 3, 4),
// 567 for metres and centimetres (5, 6), 1440 for anything else.
int32_t wsPageGapForUnit(int unit);
// A scroll distance clamped to the range: the largest position is
// max - (page - 1) when page - 1 is at least 1, else max; the distance is at
// most (largest - pos) but that bound never below 0, and at least min - pos.
int32_t wsClampScrollDistance(int32_t min, int32_t max, int32_t page, int32_t pos, int32_t d);
// The offset that brings the span a..b into the view lo..hi: 0 when both
// ends lie inside; a - lo when the span is at least as long as the view;
// else the difference of the midpoints.
int32_t wsRevealOffset(int32_t lo, int32_t hi, int32_t a, int32_t b);

// The page-step rule of vertical scrolling in the paged and continuous
// styles, as a decision over what the view shows. Device pixels; the page's
// top and bottom are client coordinates before the scroll.
struct WsPageStepInput {
    int style;          // ScrollStyle
    BOOL fitPage;       // zoom code -100
    int index, count;   // current page, page count
    int32_t d;          // distance (pixels), non-zero
    int code;           // scroll code 0-7
    BOOL allowChange;   // page changes allowed
    int at;             // the page under the new position
    int32_t pageTop, pageBottom, clientHeight;
    BOOL bar;           // the navigation bar's variant (commands 35 and 37)
};
enum {
    WS_STEP_SCROLL = 0,     // move by d
    WS_STEP_NOTHING = 1,    // neither scroll nor change
    WS_STEP_POST = 2,       // post `command` with `lParam`
    WS_STEP_PAGE_TOP = 3,   // paged style: the current page's top to the view's top
};
struct WsPageStep {
    int action;
    int command;
    LPARAM lParam;
    int tip;   // the page the tip shows (bar variant, code 5), -1 none
};
WsPageStep wsPageStepRule(const WsPageStepInput &in);

// The auto-scroll step at the view's edge (device pixels, signed) that
// brings a pointer outside the client rectangle back towards it: beyond the
// right or bottom edge the overshoot rounded up to whole steps, beyond the
// left or top edge the (negative) position rounded away from zero to whole
// steps; 0 inside. Steps below 1 count as 1. A step to the right never
// takes the horizontal position posX past pageWidth - client width.
void wsAutoScrollAtEdge(const RECT *client, POINT pt, int32_t stepX, int32_t stepY,
                        int32_t pageWidth, int32_t posX, int32_t *dx, int32_t *dy);

// ---- the workspace's scrolling ---------------------------------------------------------
int32_t wsGetPageGap(HWND ws);
// A quarter of the pixels of one measurement unit in that direction.
int32_t wsGetHLineStep(HWND ws);
int32_t wsGetVLineStep(HWND ws);
// The continuous styles' extent in pixels: horizontally -1440 to the widest
// page + 1440 twips, vertically 0 to the sum of (page height + 288) twips;
// a minimum above the view offset is lowered to it.
void wsGetContinuousScrollRange(HWND ws, RECT *range);
// The scroll ranges of the view recomputed and given to the bars.
void wsUpdateScrollRanges(HWND ws, BOOL redraw);
void wsRefreshScrollRanges(HWND ws);
void wsGetScrollPos(HWND ws, int32_t *x, int32_t *y);

// Clamped scrolling by device pixels; the distance really scrolled (0 when
// nothing moved, also when a page change was posted instead).
int32_t wsScrollDevX(HWND ws, int32_t dx);
int32_t wsScrollDevY(HWND ws, int32_t dy, int code, BOOL allowPageChange);
// Scrolling by twips, rounded one pixel outwards; y with page changes.
int32_t wsScrollByLogX(HWND ws, int32_t d);
int32_t wsScrollByLogY(HWND ws, int32_t d);
int32_t wsScrollYWithPageChange(HWND ws, int32_t dy);
// The page-step rule of the paged and continuous styles for a clamped
// vertical distance: posts 617, 618 or 619 instead of scrolling where the
// rule says so, else moves the view (the bar's position too unless `bar`:
// the navigation bar has moved it already). In the bar variant a thumb
// track shows the page tip. The distance the view moved.
int32_t wsScrollPagesY(HWND ws, int32_t d, int code, BOOL allow, BOOL bar);
// Commands 35 and 37 after the bar's position has moved: the page-step
// rule in the paged and continuous styles with more than one page, else a
// plain move; the vertical ruler is invalidated.
void wsPageStepOnBarScroll(HWND ws, int32_t d, int code);
// Scrolls so that a client point (device pixels) lies in the client area,
// in steps of half a measurement unit (at least one pixel); 1 when it
// scrolled, 0 when the point was inside already.
int wsScrollToPoint(HWND ws, POINT pt);
// The view's top-left to the rectangle's top-left (twips).
void wsScrollToTopLeft(HWND ws, const RECT *rect);
// A rectangle (twips) or an object brought into view; 1 when scrolled.
int wsScrollToRect(HWND ws, const RECT *rect);
int wsScrollToObject(HWND ws, MemHandle object);
// The gentler form of the object commands; 1 when scrolled.
int wsRevealRect(HWND ws, int ignored, const RECT *rect);
// Both positions set: twips (the view's top-left) or pixels.
void wsScrollToLogPos(HWND ws, int32_t x, int32_t y);
void wsSetScrollPos(HWND ws, int32_t x, int32_t y);

// WM_HSCROLL / WM_VSCROLL: 1 when the view scrolled (the ruler of that
// direction is invalidated and updated, the window updated).
int wsOnScroll(HWND ws, UINT message, int code, int32_t position);
// WM_MOUSEWHEEL: Ctrl zooms by ten percent about the pointer, else the view
// scrolls by minus the delta in pixels. 1 when the view changed.
int wsOnMouseWheel(HWND ws, WPARAM wParam, LPARAM lParam);
// During a drag: pt is the pointer in client pixels, changed in place. In
// the continuous styles its y is first held within the current page and a
// page gap around it. When it lies outside the client area the view scrolls
// by whole steps of half a measurement unit (vertically first, never past
// the range), the rulers of the moved directions are updated, and the point
// and the cursor move back by the distance scrolled. 1 when it scrolled.
int wsDragAutoScroll(HWND ws, POINT *pt);

// Commands 30 to 39 of the navigation bars.
int wsOnNavBarCommand(HWND ws, int command, LPARAM lParam);
// Command 30: the horizontal origin moves to x (pixels) and the window
// content with it; command 32: a horizontal scroll by d pixels. The
// horizontal ruler is invalidated. 1 when handled.
int wsSetHScrollOrigin(HWND ws, int32_t x);
int wsScrollHBy(HWND ws, int32_t d);
// Command 35: the vertical position y with the scroll code; command 37: a
// vertical distance with the code. Both through the page-step rule.
int wsSetVScrollOrigin(HWND ws, int32_t y, int code);
int wsScrollVBy(HWND ws, int32_t d, int code);
// The page tip: shown (created when missing) for a page of the count;
// hidden and forgotten; the end of a thumb drag (at the fit-page zoom the
// page under the thumb is shown, command 619).
void wsShowPageTip(HWND ws, int count, int index);
void wsHidePageTip(HWND ws);
void wsEndThumbTrack(HWND ws);
// The tip window and the page it shows (tests).
HWND wsGetPageTip();
int wsGetPageTipIndex();

// ---- styles -----------------------------------------------------------------------------
void wsChangeScrollStyle(HWND ws, uint16_t style, BOOL redraw);
// Commands 440 (single page), 441 and 442 (continuous).
int wsCmdScrollStyle(HWND ws, int command);
// The pop-up of the two styles at the packed client point; the command
// chosen is posted to the workspace.
int wsTrackScrollMenu(HWND ws, LPARAM lParam);

// ---- the continuous view ----------------------------------------------------------------
// A press outside the current page in the continuous view: 1 when a
// neighbouring page was hit and became the current page.
int wsClickIntoOtherPage(HWND ws, POINT pt);
// The neighbour page of the continuous view under a page point (twips of
// the current page `page`): the next page placed one gap below the current
// page's bottom, the previous one with its bottom one gap above its top,
// each at its own height. The index hit, with the top it was drawn at; -1
// when none.
int wsHitNeighbourPage(HWND ws, const RECT *page, POINT lp, int32_t *drawnTop);
// Draws page `index` moved down by dy twips.
void pvDrawPageAt(HWND ws, HDC dc, const RECT *clip, MemHandle page, int index, int32_t dy,
                  BOOL menuPalette);
// The previous page with its bottom at `bottom` / the next page with its
// top at `top` (twips of the current page).
void pvDrawNeighbourPage(HWND ws, HDC dc, const RECT *clip, int index, int32_t bottom,
                         BOOL menuPalette);
void pvDrawPageOffset(HWND ws, HDC dc, const RECT *clip, MemHandle page, int index, int32_t top,
                      BOOL menuPalette);
// 1 without a page table, with fewer than two pages, or when every page has
// the first one's rectangle.
BOOL pvAllPagesSameSize(HWND ws);
// WM_ERASEBKGND: the client area in the class brush, the current page left
// out. 1.
int wsEraseBackground(HWND ws, HDC dc);

// ---- small services --------------------------------------------------------------------
// With snapping to the rulers and a grid: the rectangle moved so that its
// top-left lies on the grid; 1 when moved.
int wsSnapRectToGrid(HWND ws, RECT *rect);
// Shows or hides the bottom bar (0), the right bar (1) or both (3).
void wsShowNavBars(HWND ws, int which, BOOL show);
// Activates the workspace's document window, or focuses the workspace.
void wsActivateDocWindow(HWND ws);
// The first "vaqm_ws" window among the window and its parents.
HWND winFindWorkspaceAncestor(HWND window);

// Drops the page tip (tests).
void wsResetScrollModule();
