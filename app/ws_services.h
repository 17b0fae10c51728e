// The handlers and drawing services that the document command dispatcher
// and the workspace painting reach in the views, tools, object commands,
// text, table, form and picture modules. Those whose modules are not in the
// program yet answer here as "nothing done" (0), under the names their
// modules will give them, so that the routing is in place.
#pragma once
#include "support/qmwin.h"
#include "tools/ep_handles.h"
#include "commands/ep_select.h"
#include "commands/ud_undo.h"
#include "commands/ms_select.h"
#include "commands/ed_edit.h"
#include "commands/cmd_arrange.h"

// Scrolling, the continuous view and zoom: views/ws_scroll.h, views/ws_zoom.h.
#include "views/ws_scroll.h"
#include "views/ws_zoom.h"
// Design guides: views/pv_guide.h.
#include "views/pv_guide.h"
// Page commands and page dialogs: views/pv_pagecmd.h, views/pg_dialogs.h.
#include "views/pv_pagecmd.h"
#include "views/pg_dialogs.h"

// ---- thumbnails, full screen -------------------------------------------------------------
int pvCmdPageList(HWND ws, LPARAM lParam);
int pvOnPageListPick(HWND ws, WPARAM wParam, LPARAM lParam);
HWND pvCmdPanoramic(HWND ws, HFONT font, LPARAM ownerData);
int pvOnThumbnailCommand(HWND ws, int command, LPARAM lParam);
int fsOpenFullScreen(HWND ws);

// ---- page commands, page dialogs, base page, guides ----------------------------------------
// Page property launchers and the base page: views/pv_pageprops.h,
// views/bp_base.h.
#include "views/pv_pageprops.h"
#include "views/bp_base.h"

// Printing and fax: views/prn_print.h, views/prn_setup.h.

// Import and export: app/fc_import_export.h.
#include "app/fc_import_export.h"

// ---- zoom, options ------------------------------------------------------
int docCmdOptions(HWND ws);

// ---- tools ---------------------------------------------------------------------------------
void epCreateDrawPolyMarks(HWND ws, HDC dc);
void epCreateDrawCurveMarks(HWND ws, HDC dc);
void epCubeDrawHandle(HWND ws, HDC dc, MemHandle object);
void epArcDrawHandles(HWND ws, HDC dc, MemHandle object);
void epRoundRectDrawHandles(HWND ws, HDC dc, MemHandle object);
void epDimSpanDrawHandles(HWND ws, HDC dc, MemHandle object);
void epGradDrawHandles(HWND ws, HDC dc, MemHandle object);
void epBrushDrawMarks(HWND ws, HDC dc);

// ---- object commands, undo ---------------------------------------------------------------------
int cmdLangExecute(HWND ws);
// The handler of an object command run on the given object (the route of
// the document command dispatcher, app/ws_command.cpp); its result.
int cmdObjectCommand(HWND ws, MemHandle object, int command, LPARAM lParam);

// ---- text, table, pictures, fields ---------------------------------------------------------------
int teTextCommand(HWND ws, MemHandle object, int command, LPARAM lParam);
int tbTableCommand(HWND ws, MemHandle object, int command, LPARAM lParam);
int bmpPropertyCommand(HWND ws, MemHandle object, int command, LPARAM lParam);
int shShapeCommand(HWND ws, MemHandle object, int command, LPARAM lParam);
void fldClosePropPane();
