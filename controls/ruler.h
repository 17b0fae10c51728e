// The rulers of a document window: a horizontal ruler ("qm_ruler") above
// the workspace view, a vertical one to its left and a 16 by 16 corner
// button ("qm_rulerbtn") where they meet. The rulers show the measurement
// units at the view's zoom and scroll position, follow the mouse with a red
// mark, and carry an optional list of draggable markers (the edges and
// column boundaries of the text being edited). From a ruler or the corner
// button the user drags out a new guide or marker, opens the ruler settings
// and hides the rulers; the rulers report to one notify window (the
// workspace) with posted WM_COMMAND messages.
//
// Operations on a pair take the corner button; "which" is RUL_HORIZONTAL or
// RUL_VERTICAL, "bits" a combination of the two. An operation on a missing
// button or ruler does nothing and answers 0.
#pragma once
#include "support/qmwin.h"
#include <vector>

extern const char rulRulerClass[];    // "qm_ruler"
extern const char rulButtonClass[];   // "qm_rulerbtn"

enum : uint16_t {
    RUL_HORIZONTAL = 1,
    RUL_VERTICAL = 2,
    RUL_BOTH = 3,
};

enum : int32_t {
    RUL_SIZE = 16,              // thickness of a ruler, side of the corner button
    RUL_CORNER_ID = 2100,       // child id of the corner button
    RUL_NO_MARK = 32767,        // tracking position: no mark
    RUL_MARK_AWAY = 32000,      // tracking position of a ruler that is being moved
    RUL_DEFAULT_SUBDIVISIONS = 16,
    RUL_ENDS_FIXED = 0x1,       // option bit: the first and last markers do not move
};

// Commands. The rulers post the notify ids to their notify window and the
// property id to the frame; the corner button sends the two action ids to a
// ruler.
enum : uint16_t {
    RUL_CMD_NEW_MARKER = 100,
    RUL_CMD_NEW_GUIDE = 101,
    RUL_CMD_PROPERTY = 606,        // "&Property...": the ruler settings
    RUL_CMD_CORNER = 2100,         // a click on the corner button
    RUL_CMD_HMARKERS = 2101,       // a horizontal marker was moved or added
    RUL_CMD_VMARKERS = 2102,       // a vertical marker was moved or added
    RUL_CMD_REMOVE = 2105,         // "&Remove": hide the rulers
    RUL_CMD_HGUIDE = 2106,         // lParam: logical x of a new guide
    RUL_CMD_VGUIDE = 2107,         // lParam: logical y of a new guide
};

// The record of a ruler window (window long 4; long 0 holds the label font).
struct RulerRecord {
    int32_t track;          // tracking mark, device pixels along the ruler; RUL_NO_MARK: none
    int32_t snap;           // nonzero: the mark and every drag position snap to the subdivisions
    uint16_t options;       // RUL_ENDS_FIXED
    uint16_t reserved;
    int32_t subdivisions;   // per unit; read as 4 when 0
    int32_t markerCount;
    MemHandle markers;      // int32_t logical positions, ascending, no duplicates
    int32_t spacing;        // logical units between automatic markers; 0: none
    uint32_t notify;        // the window that receives the ruler's commands
    uint16_t orientation;   // RUL_HORIZONTAL or RUL_VERTICAL
    uint16_t reserved2;
};
static_assert(sizeof(RulerRecord) == 36, "the ruler record is 36 bytes");

// ---- operations ------------------------------------------------------------------------

// Registers both classes; the result of the second registration.
BOOL rulRegisterClasses(HINSTANCE instance);
// Creates the corner button (child id 2100, 16 x 16 at the rectangle's top
// left), the horizontal ruler right of it and the vertical ruler below it,
// all hidden children of the parent; sets the font, the snap and
// subdivisions (16 for 0), the add-guides flags and the marker geometry.
// The corner button, or null after "Can not create ruler windows" when a
// window could not be made (none of the three is left behind).
HWND rulCreateRulers(HWND parent, const RECT *rect, HFONT font, BOOL snap, int32_t subdivisions,
                     BOOL addGuides);
int rulSetNotifyWindow(HWND corner, HWND notify);
// Both rulers: snap = the flag when subdivisions is nonzero, else off;
// subdivisions = the value, 16 for 0; both repainted.
int rulSetSnap(HWND corner, BOOL snap, int32_t subdivisions);
// Clears both tracking marks, moves the three windows beside the rectangle
// when one is given, shows or hides them and updates them.
int rulShow(HWND corner, const RECT *rect, BOOL show);
// Moves the chosen rulers beside the rectangle and the corner button to its
// top left; a ruler's mark goes to RUL_MARK_AWAY before it moves.
int rulMove(HWND corner, const RECT *rect, uint16_t bits);
int rulInvalidate(HWND corner, uint16_t bits);
int rulUpdate(HWND corner, uint16_t bits);
int rulInvalidateAll(HWND corner);
// The horizontal ruler takes x, the vertical y of the packed device point
// (signed 16-bit halves), each snapped when its ruler snaps; a mark that
// moves is drawn away and drawn anew.
int rulTrack(HWND corner, LPARAM packedPoint);
// Takes ownership of the list (count values; a count beyond the block is cut
// to what the block holds) and the spacing, freeing the old list.
int rulSetMarkers(HWND corner, uint16_t which, MemHandle list, int32_t count, int32_t spacing);
// The ruler's own list handle (not a copy) and count.
int rulGetMarkers(HWND corner, uint16_t which, MemHandle *list, int32_t *count);
int rulClearMarkers(HWND corner, uint16_t which);
// The add-markers flag of a ruler, kept in the corner button (whose picture
// shows the horizontal one).
int rulSetAddMarkers(HWND corner, uint16_t which, BOOL flag);
// movable nonzero: the end markers may be dragged; zero: they are fixed.
int rulSetEndsFixed(HWND corner, uint16_t which, BOOL movable);

// The window of a ruler of the pair; null when missing.
HWND rulGetRuler(HWND corner, uint16_t which);
// A copy of a ruler window's record; FALSE when it has none.
BOOL rulGetRecord(HWND ruler, RulerRecord *out);
// The corner button's add-markers and add-guides words of a ruler.
int16_t rulGetAddMarkers(HWND corner, uint16_t which);
int16_t rulGetAddGuides(HWND corner, uint16_t which);

// ---- tick layout (no window) -------------------------------------------------------------

// Which ticks a unit of P device pixels with n subdivisions shows: quarter
// ticks when n is a multiple of 4 and P / 4 > 3, subdivision ticks when
// P / n > 3, a half tick when n is even (integer division).
struct RulerTickPlan {
    bool quarters, subdivisions, half;
};
RulerTickPlan rulTickPlan(int32_t unitPixels, int32_t subdivisions);
// The last unit k with k * P <= S (P >= 1).
int32_t rulFirstUnit(int32_t scroll, int32_t unitPixels);

// A line of the ruler in drawing coordinates (unit k at along = k * P):
// from (along, from) to (along, to), the end excluded as LineTo draws.
struct RulerLine {
    int32_t along, from, to;
    bool highlight;   // highlight pen; otherwise the shadow pen
};
struct RulerLabel {
    int32_t along;   // where the text is anchored
    int32_t unit;
};
// The ticks and labels of the units from the first one at or before S up to
// the end E = S + length. A unit below one pixel (P < 1) draws no ticks and
// no labels.
void rulLayoutTicks(uint16_t orientation, int32_t unitPixels, int32_t subdivisions, int32_t scroll,
                    int32_t length, std::vector<RulerLine> *lines, std::vector<RulerLabel> *labels);

// ---- markers (no window) ------------------------------------------------------------------

// Sizes shared by all rulers, set whenever a pair is created.
struct RulerGeometry {
    int32_t bandDepth;        // 14 pixels
    int32_t innerHalfWidth;   // 3 pixels
    int32_t endDepth;         // 5 pixels
    int32_t innerTolerance;   // 40 twips each side
    int32_t endTolerance;     // 5 pixels in logical units
};
// From the view mapping that is current.
void rulSetMarkerGeometry();
const RulerGeometry &rulGetMarkerGeometry();

// The marker at a logical position: the first marker from it to it + end
// tolerance, else the last from it - end tolerance to it, else the first
// inner marker within the inner tolerance; -1 for none or fewer than 2
// markers.
int rulHitMarker(const std::vector<int32_t> &markers, int32_t pos, int32_t endTolerance,
                 int32_t innerTolerance);
// Ascending (signed) without duplicates.
void rulSortMarkers(std::vector<int32_t> &markers);
// With spacing d > 0 and at least 2 markers: when the last two are more than
// d apart, the positions first + k d strictly between them go in before the
// last.
void rulFillGap(std::vector<int32_t> &markers, int32_t spacing);
// Marker i to logical position p: stored and sorted when the list has fewer
// than 3 markers or i is not the last; the last of 3 or more moved inward
// replaces the first marker at or beyond p, dropping every one after it;
// moved outward it stays last and the gap is filled. Duplicates go.
void rulSetMarkerAt(std::vector<int32_t> &markers, int index, int32_t p, int32_t spacing);

// The limits of a marker drag (device positions). In new-marker mode with 3
// or more markers the minimum starts to hold once the position reaches it.
struct RulerDragLimits {
    bool hasMin, hasMax, minPending;
    int32_t min, max;
};
RulerDragLimits rulDragLimits(const std::vector<int32_t> &devicePositions, int index,
                              bool newMarker);
int32_t rulClampDrag(RulerDragLimits *limits, int32_t pos);

// ---- drawing --------------------------------------------------------------------------------

enum RulerMarkerKind { RUL_MARKER_INNER, RUL_MARKER_FIRST, RUL_MARKER_LAST };
// The kind of marker i of n (a lone marker is a first marker).
RulerMarkerKind rulMarkerKind(int index, int count);
// A marker's pixels as runs across the ruler: at depth `across` from the
// outer edge, along positions from..to inclusive.
struct RulerRun {
    int32_t across, from, to;
};
std::vector<RulerRun> rulMarkerRuns(RulerMarkerKind kind, int32_t pos);
// The client rectangle a marker at a device position may cover.
RECT rulMarkerBand(uint16_t orientation, int32_t pos);

// What a ruler shows; everything in device pixels of the ruler.
struct RulerView {
    uint16_t orientation;
    RECT client;
    int32_t unitPixels, scroll, subdivisions;
    HFONT font;
    std::vector<int32_t> markers;   // device positions
    bool endsFixed;
    int32_t track;
};
// Paints the ruler: face, ticks, labels, border, markers, tracking mark.
void rulDrawRuler(HDC dc, const RulerView &view);
// Paints a ruler window into a DC through the notify workspace's mapping;
// nothing for a window without a record.
void rulPaint(HWND ruler, HDC dc);
// Paints the corner button's picture into a DC.
void rulPaintCorner(HWND corner, HDC dc);
// Exclusive-or feedback: drawn twice, the picture is as before.
void rulDrawTrackMark(HDC dc, uint16_t orientation, int32_t pos);
void rulDrawMarkerImage(HDC dc, uint16_t orientation, RulerMarkerKind kind, int32_t pos);
void rulDrawGuideImage(HDC dc, uint16_t orientation, int32_t pos);
// The dotted line across the workspace (extent: its client size across).
void rulDrawWorkspaceLine(HDC dc, uint16_t orientation, int32_t pos, int32_t extent);

// ---- mouse (controls/ruler_mouse.cpp) ---------------------------------------------------------

// A press on a ruler: drags the marker under it. TRUE when the list changed.
BOOL rulOnLButtonDown(HWND ruler, LPARAM lParam);
void rulOnMouseMove(HWND ruler, LPARAM lParam);
void rulOnRButtonUp(HWND ruler, LPARAM lParam);
// Command 100: a marker at the view's starting edge, dragged into place.
BOOL rulNewMarker(HWND ruler);
// Command 101: a new guide dragged out of the ruler.
BOOL rulNewGuide(HWND ruler);
// A press on the corner button.
void rulCornerPress(HWND corner);

// Back to the start-up marker geometry.
void rulResetModule();
