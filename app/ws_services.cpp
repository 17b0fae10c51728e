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

int pvCmdPageSettings(HWND, int) { return 0; }
int pvCmdPageAttributes(HWND) { return 0; }
int pgCmdPageNumbers(HWND) { return 0; }
int pgCmdShuffle(HWND) { return 0; }
int pgNameDialog(HWND, MemHandle *) { return 0; }
int bpOnCommand(HWND, int, HMENU) { return 1; }

// ---- zoom, options ------------------------------------------------------

int vcZoomCommand(HWND, int, MemHandle) { return 0; }
int docCmdOptions(HWND) { return 0; }

// ---- tools ---------------------------------------------------------------------------------

int epRotateTool(HWND, MemHandle) { return 0; }
void epCreateDrawPolyMarks(HWND, HDC) {}
void epCreateDrawCurveMarks(HWND, HDC) {}
void epCubeDrawHandle(HWND, HDC, MemHandle) {}
void epArcDrawHandles(HWND, HDC, MemHandle) {}
void epRoundRectDrawHandles(HWND, HDC, MemHandle) {}
void epDimSpanDrawHandles(HWND, HDC, MemHandle) {}
void epRotateDrawMarks(HWND, HDC, MemHandle) {}
void epGradDrawHandles(HWND, HDC, MemHandle) {}
void epCompositeDrawHandles(HWND, HDC, MemHandle) {}
void neDrawBezierMarks(HWND, HDC, MemHandle) {}
void neDrawAllMarks(HWND, HDC, MemHandle) {}
void epBrushDrawMarks(HWND, HDC) {}

// ---- object commands, undo ---------------------------------------------------------------------

int cmdLangExecute(HWND) { return 0; }
// Of the object commands Undo (200), the clipboard and whole-object
// commands, the multiple selection, the line and fill attributes, the
// stacking order and stepping, and the moving, sizing, snapping, alignment
// (in mode 4 through msAlign) and member arrangements are here so far.
int cmdObjectCommand(HWND ws, MemHandle object, int command, LPARAM lParam)
{
    int result = 0;
    if (cmdArrangeCommand(ws, object, command, lParam, &result))
        return result;
    if (const uint32_t bit = cmdFlagOfCommand(command))
        return cmdToggleFlag(ws, object, bit);
    switch (command) {
    case 200: return cmdUndo(ws, object);
    case 194: return cmdCopySpecial(ws, object);
    case 195: return cmdPasteSpecial(ws, object);
    case 201: return cmdCut(ws, object);
    case 202: return cmdCopy(ws, object);
    case 203: return cmdPaste(ws, object);
    case 204: return cmdPasteAtPosition(ws, lParam);
    case 205: return cmdDelete(ws, object);
    case 256: return cmdFlipLeftRight(ws, object);
    case 257: return cmdFlipUpDown(ws, object);
    case 214: return cmdRotateDialog(ws, object);
    case 219: return cmdRotate90(ws, object);
    case 403: return cmdGroup(ws, object);
    case 404: return cmdComposite(ws, object);
    case 405: return cmdUngroup(ws, object);
    case 212: return cmdClone(ws, object);
    case 514: return cmdRename(ws, object, lParam);
    case 190: return cmdObjectInfo(ws, object);
    case 732: return cmdSearchObject(ws);
    case 237: return cmdInsertDateTime(ws, 0);
    case 2024: return cmdInsertDateTime(ws, 1);
    case 1980: return cmdPointObjectCommand(ws, object);
    case 611: return cmdDocPassword(ws);
    case 683: return cmdUserKey(ws);
    case 215: return cmdSelectAll(ws);
    case 240: return cmdEditGroupText(ws, object);
    case 704: return cmdEndGroupText(ws, (MemHandle)lParam);
    case 1970: msAddHandles(ws, (MemHandle)lParam); return 0;
    case 499: return cmdMergeText(ws);
    case 504: return cmdSetLineAttr(ws, object);
    case 505: return cmdSetLineEnds(ws, object);
    case 531: case 532: case 533: case 534: return cmdSetFillKind(ws, object, command - 531);
    case 535: case 536: case 537: case 538: case 539: case 540:
        return cmdSetHatchStyle(ws, object, command);
    case 541: return cmdSetHatchSpacing(ws, object);
    case 501: return cmdSetPattern(ws, object);
    case 502: return cmdEditGradient(ws, object);
    case 503: return cmdSetGradientType(ws, object);
    case 406: return cmdSendToBack(ws, object);
    case 407: return cmdBringToFront(ws, object);
    case 427: return cmdSendBackward(ws, object);
    case 428: return cmdBringForward(ws, object);
    case 414: return cmdOrderByPosition(ws);
    case 560: return cmdGoToFirst(ws);
    case 561: return cmdGoToLast(ws);
    case 408: return cmdGoToPrevious(ws, object);
    case 409: return cmdGoToNext(ws, object);
    default: return 0;
    }
}

// ---- text, table, pictures, fields ---------------------------------------------------------------

int teTextCommand(HWND, MemHandle, int, LPARAM) { return 0; }
int tbTableCommand(HWND, MemHandle, int, LPARAM) { return 0; }
int bmpPropertyCommand(HWND, MemHandle, int, LPARAM) { return 0; }
int shShapeCommand(HWND, MemHandle, int, LPARAM) { return 0; }
void fldClosePropPane() {}
