// Handlers of modules that are not in the program yet: each answers
// "nothing done".
#include "app/ws_services.h"
#include "views/pv_page.h"
#include "views/ws_record.h"
#include "views/ws_window.h"
#include "app/app_frame_docs.h"
#include "commands/ord_order.h"
#include "commands/at_attr.h"
#include "commands/clip_formats.h"
#include "commands/cmd_object.h"

// ---- thumbnails, full screen -------------------------------------------------------------

int pvCmdPageList(HWND, LPARAM) { return 0; }
int pvOnPageListPick(HWND, WPARAM, LPARAM) { return 0; }
HWND pvCmdPanoramic(HWND, HFONT, LPARAM) { return nullptr; }
int pvOnThumbnailCommand(HWND, int, LPARAM) { return 0; }
int fsOpenFullScreen(HWND) { return 0; }

// ---- page settings, page dialogs, base page ---------------------------------------------------

// The object commands' page shadow dialog is not in the program yet.
int shdPageShadowDialog(HWND, ShadowStyle *) { return 0; }

// ---- zoom, options ------------------------------------------------------

int docCmdOptions(HWND) { return 0; }

// ---- tools ---------------------------------------------------------------------------------

void epCreateDrawPolyMarks(HWND, HDC) {}
void epCreateDrawCurveMarks(HWND, HDC) {}
void epCubeDrawHandle(HWND, HDC, MemHandle) {}
void epArcDrawHandles(HWND, HDC, MemHandle) {}
void epRoundRectDrawHandles(HWND, HDC, MemHandle) {}
void epDimSpanDrawHandles(HWND, HDC, MemHandle) {}
void epGradDrawHandles(HWND, HDC, MemHandle) {}
void epBrushDrawMarks(HWND, HDC) {}

// ---- object commands, undo ---------------------------------------------------------------------

int cmdLangExecute(HWND) { return 0; }
// ---- text, table, pictures, fields ---------------------------------------------------------------

int teTextCommand(HWND, MemHandle, int, LPARAM) { return 0; }
int tbTableCommand(HWND, MemHandle, int, LPARAM) { return 0; }
int bmpPropertyCommand(HWND, MemHandle, int, LPARAM) { return 0; }
int shShapeCommand(HWND, MemHandle, int, LPARAM) { return 0; }
void fldClosePropPane() {}
