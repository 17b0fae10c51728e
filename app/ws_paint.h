// Painting of a workspace window: the desk around the page, the page
// background and frame, the grid, the page guides, the base page, the
// page's own tree and objects, the page number, the marks of the current
// tool and, in the continuous view, the neighbouring pages. Everything is
// drawn straight into the paint DC in twips through the workspace's view
// mapping, limited to the paint rectangle.
#pragma once
#include "support/qmwin.h"

// Outline colour of hidden objects when the setting shows them.
const COLORREF kWsHiddenOutlineColour = 0x00C800;
// Colours of the second grid style.
const COLORREF kWsGridFine = 0xF0F0F0;
const COLORREF kWsGridUnit = 0xD4D4D4;
// Colour of the first grid style's points.
const COLORREF kWsGridDots = RGB(255, 0, 0);
// Colour of the page guides.
const COLORREF kWsGuideColour = 0x004040;

// WM_PAINT of a workspace: BeginPaint, the paint body, EndPaint.
void wsOnPaint(HWND ws);
// The body of a paint into any DC (the paint DC, or a bitmap in tests):
// `paint` is the device rectangle to draw (the paint structure's rectangle).
// With `printing` a white page is not filled. The DC's mapping is set to
// the workspace's view mapping. Nothing without a current page.
void wsPaintBody(HWND ws, HDC dc, const RECT *paint, BOOL printing);

// Outlines (dotted, 1 pixel, 0x00C800, hollow) of every object of the list
// that is hidden or lies on a hidden layer, except `skip`; with a clip
// rectangle only those whose rectangle meets it.
void wsDrawHiddenOutlines(HDC dc, const RECT *clip, MemHandle first, MemHandle skip);
// The marks the current tool draws (by mode); nothing for modes without.
void wsDrawToolMarks(HWND ws, HDC dc, const PAINTSTRUCT *ps, const RECT *clip, uint16_t mode);
// The marked area of the workspace (dotted red not-XOR rectangle or
// ellipse) into the DC, or into the workspace's own DC without one.
void wsDrawMarkArea(HWND ws, HDC dc);
// The grid over the rectangle: view-flag bit 1 red points at the crossings
// of the subdivisions, else bit 8 solid lines in 0xF0F0F0 at the
// subdivisions and dotted ones in 0xD4D4D4 at whole units. 1 when drawn.
int wsDrawGrid(HDC dc, const RECT *rect, int divisions, uint16_t viewFlags);
// Outlines the page rectangle with a solid black 1-pixel pen.
void wsFramePage(HDC dc, const RECT *pageRect);
// In the text, label, table and note editing modes the current object (with
// its members) is marked hidden for the drawing and returned; else none
// (also for an object hidden already, whose mark is not the painting's).
MemHandle wsHideEditedObject(HWND ws);

// ---- services of the page model used by the painting ---------------------------------
// The page's frame: its outline and, right and below it, an edge of four
// pixels in the colour.
void pgDrawFrame(HDC dc, MemHandle page, COLORREF colour);
