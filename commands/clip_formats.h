// The program's private clipboard formats and the frame's place in the
// clipboard viewer chain.
#pragma once
#include "support/qmwin.h"

// Registers the private object format under the name ("QM32OBJFormat") and
// keeps its id; 0 when it cannot be registered.
UINT clipRegisterFormats(const char *name);
UINT clipGetObjectFormat();
// WM_DRAWCLIPBOARD of the frame: the Paste state is brought up to date (by
// the object commands when they land) and the message goes on along the
// chain.
void clipOnDrawClipboard(HWND frame, HWND nextViewer);
// 1 when the clipboard holds a format that can be pasted into the workspace.
int clipCanPaste(HWND ws);
// A text object of the text (mode 3: a plain text file; line ends become
// paragraph returns) in the rectangle, or at the current page's margin
// corner; 0 when it cannot be made.
MemHandle clipMakeTextObject(HWND ws, const char *text, int mode, const RECT *rect);
