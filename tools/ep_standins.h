// Services of other modules that the drawing tools call, answered by weak
// definitions in tools/ep_standins.cpp until their own modules arrive (a
// module's real definition replaces the weak one at link time). Each does
// what its caller needs and no more.
#pragma once
#include "support/qmwin.h"

// ---- field property pane ---------------------------------------------------------------------
BOOL obIsEntryOrCounter(int16_t type);
HWND fldGetPropPane();
void fldUpdatePropPane(HWND ws, MemHandle object);

// ---- tools and dialogs of other modules --------------------------------------------------------
// The insertion command of a tool: 0 when the type is not one of its tools.
int cmdToolAction(HWND ws, int16_t type, MemHandle *out);
// The builder of the field kind 131 from the dragged rectangle.
MemHandle fld131Build(HWND ws, const RECT *r);
// The table-creation tool.
int tbBeginCreateMode(HWND ws);
// Set-up and property dialogs of new objects: nonzero when accepted.
int fldEntrySetup(HWND ws, MemHandle object);
int fldListProps(HWND ws, MemHandle object);
int fldEquationProps(HWND ws, MemHandle object);
int fldEditControlProps(HWND ws, MemHandle object);
int btnEditProps(HWND ws, MemHandle object);
int gridProps(HWND ws, MemHandle object);
int obj491Props(HWND ws, MemHandle object);
int obj492Props(HWND ws, MemHandle object);
int objPropsAfterCreate(HWND ws, int16_t type, MemHandle object);
// The note tool: a new note at a point, and its editor.
MemHandle epNoteNew(HWND ws, POINT topLeft);
int epNoteBeginEdit(HWND ws, MemHandle note);
// The angle tool of a new arc or pie.
int epArcTool(HWND ws, MemHandle object);
