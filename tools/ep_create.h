// Create mode (tool mode 5): the user draws a new object of the
// workspace's current type with the mouse. A drag tracks a rubber band
// shaped after the type; on release the object factory builds the object,
// which is recorded for undo, put on top of the current page, drawn and
// handed to select mode or to its set-up dialog. The right button draws the
// equal-sided variant of the tool. Also here: the text-creation tool, the
// click-made fields and the shared finishing step.
#pragma once
#include "support/qmwin.h"

// The resources of the small message of a field rectangle refused.
enum : UINT {
    IDS_EP_CAPTION_CONTINUE = 5000,    // "Press OK button to continue"
    IDS_EP_RECT_TOO_SMALL = 5400,      // "Rectangle too small, please redo"
};

// Installs mode 5 with CreateToolWndProc (status id 0). The mode.
int epEnterCreateMode(HWND ws, uint16_t status, int16_t type);
LRESULT CALLBACK CreateToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);
// The mode-5 procedure of the text tools (40 and -40).
LRESULT CALLBACK TextCreateToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);

// The rubber-band creation from a press (WM_LBUTTONDOWN or
// WM_RBUTTONDOWN and its position). The new object, or 0 when nothing
// remains made.
MemHandle epDragCreate(HWND ws, UINT message, LPARAM lParam);
// The exclusive-or feedback of one position of a creation drag. The type
// word holds the type in its low 16 bits (a line takes the orientation of
// the drag there) and the guide-lines option in bit 16. The points are not
// changed.
enum : uint32_t { EP_TYPEWORD_GUIDES = 0x10000 };
int epCreateFeedback(HDC dc, const POINT pts[2], uint32_t *typeWord);

// A field of a standard size at a click: 0 when none was made.
MemHandle epClickCreateField(HWND ws, int16_t type, LPARAM lParam);
// Records undo kind 8, puts the object on the page when it is not there,
// invalidates it and (unless the stay-in-draw-mode setting is on) ends the
// mode for select mode with the object; marks the document modified. 0 for
// no object.
int epFinishCreate(HWND ws, MemHandle object);
// Drops the pending undo, invalidates the object and deletes it.
void epRemoveCreated(HWND ws, MemHandle object);
// 0 when the (logical) rectangle is large enough for a field, 1 when it is
// refused: silently when both sides are under 2 pixels, else with
// "Rectangle too small, please redo" unless both are 4 pixels or more.
int epCheckFieldRect(HWND ws, const RECT *r);
// A text object (the current type, 40 or -40) from two points, recorded,
// appended; 0 when none was made.
MemHandle epTextCreateAt(HWND ws, const POINT pts[2]);
// Tracks the text rectangle from a press and makes the text.
MemHandle epTextCreateDrag(HWND ws, LPARAM lParam);
