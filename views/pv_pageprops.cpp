// The launchers of the page property dialogs.
#include "views/pv_pageprops.h"
#include "views/pg_dialogs.h"
#include "views/pv_page.h"
#include "views/pv_pagecmd.h"
#include "views/ws_record.h"
#include "views/ws_window.h"
#include "app/app_frame_docs.h"
#include "commands/ud_undo.h"
#include "model/fm_form.h"
#include "model/ob_shadow.h"
#include "model/pg_dir.h"
#include "model/pg_record.h"
#include "model/ws_document.h"

namespace {

HWND ownerOf(HWND ws) { return wsGetDocWindow(ws) ? wsGetDocWindow(ws) : ws; }

// The current page handle after a change that may have moved it, put back
// where the document keeps it.
void keepCurrentPage(HWND ws, MemHandle page)
{
    MemHandle form = wsGetDocument(ws);
    const int index = pvGetCurrentPageIndex(ws);
    if (index == -1)
        fmSetBasePage(form, page);
    else if (index >= 0)
        pgDirSetPages(fmGetDirectory(form), page, index);
}

// Runs a dialog that may move the page; 1 when it answered OK.
int runPageDialog(HWND ws, int (*dialog)(HWND, MemHandle *))
{
    udDiscard(ws);
    MemHandle page = pvGetCurrentPage(ws);
    if (!page)
        return 0;
    MemHandle before = page;
    if (!dialog(ownerOf(ws), &page))
        return 0;
    if (page != before)
        keepCurrentPage(ws, page);
    return 1;
}

}  // namespace

int pvCmdPageShadow(HWND ws)
{
    udDiscard(ws);
    MemHandle page = pvGetCurrentPage(ws);
    if (!page || !pgShadowDialog(ownerOf(ws), page))
        return 0;
    {
        PgLock p(page);
        if (p)
            obSetShadowStyle(reinterpret_cast<ShadowStyle *>(p.data()->shadowStyle));
    }
    InvalidateRect(ws, nullptr, TRUE);
    wsMarkModified(ws);
    return 1;
}

int pvCmdPageBackground(HWND ws)
{
    if (!runPageDialog(ws, pgBackgroundDialog))
        return 0;
    InvalidateRect(ws, nullptr, TRUE);
    wsMarkModified(ws);
    return 1;
}

int pvCmdPageInit(HWND ws)
{
    if (!runPageDialog(ws, pgInitDialog))
        return 0;
    wsMarkModified(ws);
    return 1;
}

int pvCmdShufflePages(HWND ws)
{
    udDiscard(ws);
    if (!pgCmdShuffle(ws))
        return 0;
    if (HWND doc = wsGetDocWindow(ws))
        dwUpdateTitle(doc);
    wsBuildPageRects(ws);
    pvAfterPagesChanged(ws);
    return 1;
}

int pvCmdPageAttr(HWND ws)
{
    udDiscard(ws);
    uint8_t record[70] = {};
    MemHandle page = pvGetCurrentPage(ws);
    if (!page)
        return 0;
    PgLock p(page);
    if (!p)
        return 0;
    // The page attribute dialog is not part of this program: it answers 0.
    (void)record;
    return 0;
}
