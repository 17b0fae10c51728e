// The frame command dispatcher: every WM_COMMAND of the frame window passes
// through appOnFrameCommand, which carries out the application's own
// commands and sends every other one on to the active workspace.
#pragma once
#include "support/qmwin.h"

// 0 when the command was handled, nonzero when the frame procedure is to
// pass the message on to DefFrameProcA. The command id is the low word of
// wParam as a signed 16-bit number.
int appOnFrameCommand(HWND frame, HWND mdiClient, HWND ws, WPARAM wParam, LPARAM lParam);
// Whether the handler of a command (of the frame, else of the workspace)
// waits for a dialog, window or mode that is not in the program yet: the
// command is taken and does nothing, so its menu items are greyed.
BOOL appCommandWaits(int id);
// TRUE, after showing message 894, when the MDI client already holds 33 or
// more document windows; FALSE otherwise (also without an MDI client).
BOOL appRefuseWhenTooManyDocuments(HWND mdiClient);
// Command 883: the report menu "qm_rep" while the workspace shows a report,
// the normal menu otherwise; TRUE when the menu changed.
BOOL appSwitchReportMenu(HWND frame, HWND ws);
// The menu language switch gives the frame a new normal menu and destroys
// the one it replaces: the report switch goes back to the new one from then
// on.
void appSetNormalMenu(HMENU menu);
// The number of document windows of the main frame.
int appCountOpenDocuments();
// Forgets the remembered normal menu (tests).
void appResetFrameCmdModule();
