// The drag tracking loop of the workspace: every interactive drag (rubber
// bands, new objects, moving an object, dragging a page-margin edge or a
// point along a line) captures the mouse and runs one modal loop that draws
// exclusive-or feedback between a fixed start point and the moving end
// point, scrolls the view when the pointer leaves it, moves the rulers'
// pointer marks and shows the position in the message bar.
//
// Positions come from the mouse messages themselves (never from the cursor
// position), so a gesture posted to the queue drives the loop as a real one
// does. The loop ends on the button-up message or as soon as the window no
// longer holds the capture. A drag whose button-up comes outside the
// window's frame, or that meets a new press before its button-up (the
// release was lost outside the program's windows), is dropped: the loops
// then answer 0 with the end point back at the start, the capture is
// released and the press stays queued for the next gesture.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// Start and end points of a drag, logical units (twips).
#pragma pack(push, 1)
struct TrackPair {
    int32_t x1, y1;   // start
    int32_t x2, y2;   // end
};
#pragma pack(pop)
static_assert(sizeof(TrackPair) == 16, "a tracked pair is four 32-bit coordinates");

// Feedback: draws the figure of the pair; drawing it again erases it (the
// pen is exclusive-or like). The data is the caller's own value (a pointer
// or a handle). Nonzero on success.
typedef int (*TrkFeedback)(HDC dc, const TrackPair *pair, LPARAM data);

// Light grey of rubber bands and edge drags.
const COLORREF kTrkGrey = 0xC4C4C4;
// Colour of the handle mark at the foot of a point dragged along a line.
const COLORREF kTrkFootMark = 0x64FAC8;

// ---- feedback ---------------------------------------------------------------------------------
// The outline of the normalised rectangle spanned by the two points.
int trkDrawRect(HDC dc, const TrackPair *pair, LPARAM data);
// data: POINT[2], a guide line. A line from its first point to the foot of
// the perpendicular from the end point onto it, and a handle mark at the
// foot.
int trkDrawLineToFoot(HDC dc, const TrackPair *pair, LPARAM data);
// data: TrkEdgeRect. The rectangle with its chosen edge moved by the drag
// (end minus start): left and right by the x difference, top and bottom by
// the y difference.
struct TrkEdgeRect {
    RECT rect;
    int32_t edge;   // GEO_EDGE_LEFT 1, _TOP 2, _RIGHT 3, _BOTTOM 4
};
int trkDrawEdgeRect(HDC dc, const TrackPair *pair, LPARAM data);
// The rectangle of an edge drag: the chosen edge moved by (dx, dy).
void trkMoveEdge(RECT *r, int32_t edge, int32_t dx, int32_t dy);

// ---- loops ------------------------------------------------------------------------------------
// The loop. buttonMsg WM_LBUTTONDOWN tracks the left button (ends at
// WM_LBUTTONUP), any other value the right one (WM_RBUTTONUP). Both points
// of the pair start at the press position (snapped to the ruler grid of
// `divisions` when snap is set); the end point follows the pointer. With
// showSize the message bar measures from the start point; with showPos it
// shows the pointer. The feedback is drawn once at the start, erased and
// drawn at every change of the end point and erased at the end, with a
// solid 1-pixel pen of the colour under R2_NOTXORPEN. Returns 1 when the
// end point ever changed, else 0.
int epTrackMouseEx(HWND window, UINT buttonMsg, LPARAM pressPos, BOOL snap, int16_t divisions,
                   TrackPair *pair, TrkFeedback feedback, LPARAM data, BOOL showSize,
                   COLORREF colour, BOOL showPos);
// The loop with the position shown.
int epTrackMouse(HWND window, UINT buttonMsg, LPARAM pressPos, BOOL snap, int16_t divisions,
                 TrackPair *pair, TrkFeedback feedback, LPARAM data, BOOL showSize,
                 COLORREF colour);
// The same loop under the name the creation tools call it by.
int trkTrackDrag(HWND window, UINT buttonMsg, LPARAM pressPos, BOOL snap, int16_t divisions,
                 TrackPair *pair, TrkFeedback feedback, LPARAM data, BOOL measure,
                 COLORREF colour, BOOL showPos);

// Moving an object with the left button: both points start at the object's
// top-left corner; the end point is that corner moved by the pointer's
// distance from the (unsnapped) press position, snapped when asked. The
// feedback gets the object handle as its data. The object itself is not
// moved: the caller moves it by end minus start. 1 when the end point
// changed.
int epTrackMove(HWND window, LPARAM pressPos, BOOL snap, int16_t divisions, TrackPair *pair,
                TrkFeedback feedback, MemHandle object, COLORREF colour, BOOL showPos);

// A light grey rubber band snapped as the workspace says; the tool mode
// word is 8 (the rubber-band cursor) during the drag. The normalised
// rectangle goes to *out. The loop's result.
int epTrackRubberBand(HWND window, UINT buttonMsg, LPARAM pressPos, RECT *out);

// Dragging the edge of *rect (logical units) that the press touches within
// the tolerance. 0 when the press touches no edge or turns out to be a click
// or double-click; else the edge is moved by the drag and the result is 1
// when it moved. With snap the workspace's ruler snapping applies.
int epTrackEdge(HWND window, LPARAM pressPos, int32_t tolerance, RECT *rect, BOOL snap);

// Dragging a point along a guide line (two points): when the pointer moved,
// *out is the foot of the perpendicular from the end point onto the line.
// The loop's result.
int epTrackOnLine(HWND window, LPARAM pressPos, const POINT line[2], POINT *out, COLORREF colour);
