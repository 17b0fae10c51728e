// The freehand drawing tools: the polyline tool (Polyline, Polygon and
// Poly-HV) and the curve tool (Bezier and Closed Curve). Both are create
// mode (mode 5) procedures installed by the tool choice. Clicks add points
// (the curve tool a straight Bezier segment from its last anchor), a
// double click adds the last one and ends the stroke, a right press ends it;
// the object is then made from the stroke. A polyline drag adds a point
// each time the pointer has moved the minimum spacing along x or y; a curve
// drag samples the pointer and fits the samples into Bezier segments while
// the hand draws. With the advanced option a stroke goes on after a drag.
#pragma once
#include "support/qmwin.h"

LRESULT CALLBACK FreeLineToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FreeCurveToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);

// The stroke loops from a press (its message and position), the mouse
// captured until the stroke ends (a double click, a right press, a release
// after a drag without the advanced option) or the capture is lost. They
// return the tool's stroke (page points) and its count; the stroke stays
// the tool's until neClearStroke.
MemHandle neStrokePolyline(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam, int32_t spacing,
                           uint16_t *outCount);
MemHandle neStrokeCurve(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam, int32_t resolution,
                        uint16_t *outCount);
// The stroke's tracking lines through the points, in the tracking pen (the
// edited object's or the page defaults' style, width and colour with flag
// 0x40, else one pixel of that colour) under R2_NOTXORPEN: drawn again,
// they are gone.
void neDrawTrackLines(HWND ws, HDC dc, const POINT *points, int n);
// Whether the last stroke loop of the tool ended its stroke.
BOOL neStrokeEnded(BOOL curve);
// Frees the tool's stroke.
void neClearStroke(BOOL curve);

// Makes the object of the workspace's current type from the stroke's
// points and puts it on the page as a newly drawn object (undo, append,
// select mode unless the program stays in draw mode, modified). Fewer than
// two points make nothing: the mode is left for select mode. A Poly-HV
// stroke makes a Polyline; a Bezier ending within the close spacing of its
// start becomes a Closed Curve. The object, or 0.
MemHandle neMakeObjectFromStroke(HWND ws, const POINT *points, uint16_t count);

// The straight Bezier segment from a to b: the controls at one and two
// thirds of the way (truncated), then b.
void neStraightBezierSegment(POINT a, POINT b, POINT out[3]);
// The Poly-HV rule: p made horizontal or vertical from the last point (the
// smaller difference zeroed, the vertical one on a tie).
POINT neHorizontalOrVertical(POINT last, POINT p);
