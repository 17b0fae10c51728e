// The page commands of a document window's workspace and the refresh that
// follows a page change.
#include "views/pv_pagecmd.h"
#include "app/app_toolbars.h"
#include "app/app_frame_docs.h"
#include "model/setup_record.h"
#include "app/ws_services.h"
#include "commands/app_stdbar.h"
#include "commands/clip_formats.h"
#include "commands/ud_undo.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "support/dlg_value.h"
#include "support/ut_msg.h"
#include "tools/ep_selection.h"
#include "tools/ep_standins.h"
#include "views/pg_dialogs.h"
#include "views/pv_layout_sheet.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_scroll.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include "views/ws_zoom.h"

namespace {

const char kOnlyPage[] = "We can not delete the only page you have.";
const char kDeleteBasePage[] = "Delete the base page?";

HWND ownerOf(HWND ws)
{
    HWND doc = wsGetDocWindow(ws);
    return doc ? doc : ws;
}

// The opening of both deletions: with one page (and not on the base page,
// whose deletion is allowed) the refusal ends the command; else the tool is
// left, the selection cleared and the page committed.
bool beginDeletion(HWND ws)
{
    if (pvGetPageCount(ws) <= 1 && pvGetCurrentPageIndex(ws) != -1) {
        utErrorBox(ownerOf(ws), kOnlyPage);
        return false;
    }
    udDiscard(ws);
    wsSendLeaveMode(ws, 1);
    epSelectObject(ws, 0);
    pvCommitPage(ws);
    return true;
}

// On the base page: asks, and on OK shows the page it was entered from (the
// first page when none is remembered) and deletes the base page.
bool deleteBasePage(HWND ws)
{
    if (utMessageBox(ownerOf(ws), kDeleteBasePage, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return false;
    MemHandle form = wsGetDocument(ws);
    if (!pvLeaveBasePage(ws))
        pvCmdShowPage(ws, 0, 0);
    // Still on the base page (no page could be shown): it stays.
    if (pvGetCurrentPageIndex(ws) == -1)
        return false;
    fmDropBasePage(form);
    wsMarkModified(ws);
    InvalidateRect(ws, nullptr, TRUE);
    return true;
}

// The page's new position after a page was added: after the current one,
// before it, or at the end (base page, or after the last page).
int insertPosition(HWND ws, int after)
{
    const int current = pvGetCurrentPageIndex(ws);
    const int count = pvGetPageCount(ws);
    if (current < 0 || (after && current >= count - 1))
        return -1;
    return after ? current + 1 : current;
}

int addPage(HWND ws, int position, BOOL copy)
{
    udDiscard(ws);
    const int done = position < 0 ? pvAppendPageAndShow(ws, copy)
                                  : pvInsertPageAndShow(ws, position, copy);
    if (!done)
        return 0;
    wsBuildPageRects(ws);
    pvAfterPagesChanged(ws);
    return 1;
}

}  // namespace

// ---- showing pages ---------------------------------------------------------------------------

int pvCmdShowPage(HWND ws, int index, int how)
{
    udDiscard(ws);
    if (how == -2)
        return 0;
    if (!pvSwitchToPage(ws, index))
        return 0;
    pvRefreshAfterPageChange(ws, how == -1);
    return 1;
}

int pvCmdGoToPage(HWND ws, int index) { return pvCmdShowPage(ws, index, 0); }
int pvCmdFirstPage(HWND ws) { return pvCmdShowPage(ws, 0, 0); }
int pvCmdLastPage(HWND ws) { return pvCmdShowPage(ws, pvGetPageCount(ws) - 1, 0); }

int pvCmdHomePage(HWND ws)
{
    if (pvGetCurrentPageIndex(ws) != 0)
        return pvCmdShowPage(ws, 0, 0);
    wsScrollToPlacement(ws);
    return 1;
}

int pvCmdEndPage(HWND ws)
{
    const int last = pvGetPageCount(ws) - 1;
    if (pvGetCurrentPageIndex(ws) != last)
        return pvCmdShowPage(ws, last, 0);
    wsScrollToPageEnd(ws);
    return 1;
}

int pvLeaveBasePage(HWND ws)
{
    if (pvGetCurrentPageIndex(ws) != -1)
        return 0;
    const int back = wsGetRememberedPage(ws);
    if (back < 0)
        return 0;
    return pvCmdGoToPage(ws, back);
}

int pvCmdPrevPage(HWND ws)
{
    udDiscard(ws);
    const int current = pvGetCurrentPageIndex(ws);
    if (current == -1)
        return pvLeaveBasePage(ws);
    const int count = pvGetPageCount(ws);
    if (count < 1 || current < 0)
        return 0;
    if (count == 1) {
        utMessageBox(ownerOf(ws), "No previous page.", MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    if (current == 0 &&
        utMessageBox(ownerOf(ws), "You are in the first page.  Want to go to the last page?",
                     MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return 0;
    if (!pvSwitchToPage(ws, current == 0 ? count - 1 : current - 1))
        return 0;
    pvRefreshAfterPageChange(ws, FALSE);
    return 1;
}

int pvCmdNextOrNewPage(HWND ws)
{
    udDiscard(ws);
    const int current = pvGetCurrentPageIndex(ws);
    if (current == -1)
        return pvLeaveBasePage(ws);
    const int count = pvGetPageCount(ws);
    if (count < 1 || current < 0)
        return 0;
    if (current == count - 1)
        return pvCmdInsertPage(ws, 0);
    if (!pvSwitchToPage(ws, current + 1))
        return 0;
    pvRefreshAfterPageChange(ws, FALSE);
    return 1;
}

int pvCmdSelectPage(HWND ws, int)
{
    udDiscard(ws);
    if (!pvCmdSelectPageByName(ws))
        return 0;
    pvRefreshAfterPageChange(ws, FALSE);
    return 1;
}

// ---- adding and deleting pages -----------------------------------------------------------

int pvCmdInsertPageAt(HWND ws, int after)
{
    if (!wsGetDocument(ws))
        return 0;
    return addPage(ws, insertPosition(ws, after), FALSE);
}

int pvCmdInsertPage(HWND ws, int copy)
{
    if (!wsGetDocument(ws))
        return 0;
    return addPage(ws, -1, copy ? TRUE : FALSE);
}

int pvCmdDeletePages(HWND ws)
{
    if (!wsGetDocument(ws) || !beginDeletion(ws))
        return 0;
    if (pvGetCurrentPageIndex(ws) == -1 && deleteBasePage(ws))
        return 1;
    if (!pgDeletePagesDlg(ws)) {
        cmdBackToSelect(ws);
        return 0;
    }
    wsBuildPageRects(ws);
    pvAfterPagesChanged(ws);
    return 1;
}

int pvCmdDeleteCurrentPage(HWND ws)
{
    if (!wsGetDocument(ws) || !beginDeletion(ws))
        return 0;
    if (pvGetCurrentPageIndex(ws) == -1) {
        if (deleteBasePage(ws))
            return 1;
        cmdBackToSelect(ws);
        return 0;
    }
    if (!pgDeleteCurrentPage(ws)) {
        cmdBackToSelect(ws);
        return 0;
    }
    wsBuildPageRects(ws);
    pvAfterPagesChanged(ws);
    return 1;
}

int pvCmdRevertPage(HWND ws)
{
    udDiscard(ws);
    if (!wsGetDocument(ws))
        return 0;
    if (utMessageBox(ownerOf(ws), "Undo the entire page? (Can not be undone afterward.)",
                     MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return 0;
    int done = 0;
    if (pvGetCurrentPageIndex(ws) >= 0) {
        done = pvReloadCurrentPage(ws);
        if (done && pvGetPageCount(ws) == 1)
            wsClearModified(ws);
    }
    PostMessageA(ws, WM_COMMAND, 400, 0);
    return done;
}

// ---- refresh ---------------------------------------------------------------------------------

void pvAfterPagesChanged(HWND ws)
{
    wsMarkModified(ws);
    wsUpdateScrollRanges(ws, TRUE);
    pvRefreshAfterPageChange(ws, FALSE);
}

void pvRefreshAfterPageChange(HWND ws, BOOL showBottom)
{
    if (!wsGetRecordHandle(ws))
        return;
    // The view goes to the page's default position; a fit zoom fits the
    // new page.
    wsUpdatePagePlacement(ws);
    wsResetScrollToPlacement(ws);
    const int16_t code = wsGetZoomCode(ws);
    RECT page;
    if ((code == -100 || code == -101) && wsGetPageRect(ws, pvGetCurrentPageIndex(ws), &page))
        wsSetZoom(ws, code, 100, &page, nullptr, TRUE);
    if (showBottom) {
        // Only downwards: a page whose bottom is in view stays where it is.
        int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        wsGetScrollOrigin(ws, &x0, &y0);
        wsScrollToPageEnd(ws);
        wsGetScrollOrigin(ws, &x1, &y1);
        if (y1 < y0)
            wsScrollTo(ws, x0, y0);
    }
    InvalidateRect(ws, nullptr, TRUE);
    wsInvalidateRulers(ws, 3);
    if (HWND doc = wsGetDocWindow(ws))
        dwUpdateTitle(doc);
    PostMessageA(ws, WM_COMMAND, 400, 0);
    pvUpdatePageButtons(ws);
}

void pvUpdatePageButtons(HWND ws)
{
    const int current = pvGetCurrentPageIndex(ws);
    const int count = pvGetPageCount(ws);
    const bool onPage = current >= 0 && count > 1;
    appSetStdBarButton(617, onPage && current != 0);
    appSetStdBarButton(618, onPage && current != count - 1);
    appSetStdBarButton(616, onPage);
    BOOL cut = FALSE, copy = FALSE, paste = FALSE, undo = FALSE;
    pvGetSelectionCommandState(ws, &cut, &copy, &paste, &undo);
    appSetClipboardButtons(cut, copy, paste);
    appEnableUndoButton(undo);
}

void pvGetSelectionCommandState(HWND ws, BOOL *cut, BOOL *copy, BOOL *paste, BOOL *undo)
{
    BOOL c = FALSE, y = FALSE, p = FALSE, u = FALSE;
    const uint16_t mode = wsGetToolMode(ws);
    if (mode == TM_NONE || mode == TM_SELECT || mode == TM_CREATE) {
        MemHandle current = wsGetCurrentObject(ws);
        u = wsIsUndoPending(ws);
        y = current != 0;
        c = current && epIsEditable(ws, current);
        p = clipCanPaste(ws);
    }
    if (cut)
        *cut = c;
    if (copy)
        *copy = y;
    if (paste)
        *paste = p;
    if (undo)
        *undo = u;
}

int pvCmdAskPage(HWND ws)
{
    const int32_t count = pvGetPageCount(ws);
    if (count <= 0)
        return 0;
    const int32_t step = 1, lowest = 1;
    int32_t number = pvGetCurrentPageIndex(ws) + 1;
    if (number < 1)
        number = 1;
    if (!dlgEnterValue(ownerOf(ws), "Go To Page", "Page number", DLG_VALUE_INT32, &step, &lowest,
                       &count, &number))
        return 0;
    if (number < 1 || number > count) {
        utMessageBox(ownerOf(ws), "There is no page of that number.", MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    return pvCmdShowPage(ws, number - 1, 0);
}
