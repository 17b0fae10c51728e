// The base page commands.
#include "views/bp_base.h"
#include "views/pv_page.h"
#include "views/pv_pagecmd.h"
#include "views/pv_templates.h"
#include "views/ws_record.h"
#include "model/fm_form.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/pg_swap.h"
#include "model/ws_document.h"
#include "commands/ud_undo.h"
#include "support/app_ui_state.h"
#include "support/ut_msg.h"
#include "tools/ep_selection.h"

namespace {

void repaintGrid(HWND ws)
{
    if (HWND grid = wsGetThumbnailGrid(ws))
        InvalidateRect(grid, nullptr, TRUE);
}

// Sets or clears the mark on every object of the list; TRUE when any
// object changed.
BOOL markList(MemHandle first, BOOL on)
{
    BOOL changed = FALSE;
    for (MemHandle h = first; h;) {
        const BOOL had = (obGetFlags(h) & kBpObjectMark) != 0;
        if (had != on) {
            obSetFlags(h, kBpObjectMark, on);
            changed = TRUE;
        }
        ObLock r(h);
        h = r ? r->next : 0;
    }
    return changed;
}

void markBasePage(HWND ws, BOOL on)
{
    MemHandle base = fmGetBasePage(wsGetDocument(ws));
    if (!base || !markList(pgGetFirstObject(base), on))
        return;
    InvalidateRect(ws, nullptr, TRUE);
    repaintGrid(ws);
    wsMarkModified(ws);
}

void markCurrentObject(HWND ws, BOOL on)
{
    MemHandle object = wsGetCurrentObject(ws);
    if (!object || ((obGetFlags(object) & kBpObjectMark) != 0) == (on != FALSE))
        return;
    obSetFlags(object, kBpObjectMark, on);
    repaintGrid(ws);
    wsMarkModified(ws);
}

// 1191: the objects of a chosen template page moved into the current page.
void dropTemplate(HWND ws)
{
    int code = 0;
    MemHandle page = tmplSelectDialog(ws, &code);
    MemHandle current = pvGetCurrentPage(ws);
    if (code != 2 || !page || !current) {
        pgFreeList(page);
        return;
    }
    MemHandle first = pgGetFirstObject(page);
    if (first) {
        udRecord(ws, first, 0, UD_PAGE_MOVE, 0);
        pgSetFirstObject(page, 0);
        pgAppendObjects(current, first);
        epSelectObject(ws, first);
    }
    pgFreeList(page);
    InvalidateRect(ws, nullptr, TRUE);
    wsMarkModified(ws);
}

// 1192: every page shows the base page again.
void showOnAllPages(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    const int count = fmGetPageCount(form);
    const int current = pvGetCurrentPageIndex(ws);
    BOOL changed = FALSE;
    for (int i = 0; i < count; ++i) {
        MemHandle dir = fmGetDirectory(form);
        const BOOL loaded = pgDirGetPages(dir, i) != 0;
        MemHandle page = pgDirEnsureLoaded(ws, dir, i);
        if (!page)
            continue;
        if (!pgShowsBasePage(page)) {
            pgSetShowsBasePage(page, TRUE);
            changed = TRUE;
            if (i != current) {
                pgSwapOutEntry(ws, page, i);
                pgDropEntryPages(ws, i);
                continue;
            }
        }
        if (!loaded && i != current)
            pgDropEntryPages(ws, i);
    }
    if (changed) {
        InvalidateRect(ws, nullptr, TRUE);
        wsMarkModified(ws);
    }
}

void setShown(HWND ws, int how)   // 0 toggle, 1 hide, 2 show
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page)
        return;
    const BOOL shows = pgShowsBasePage(page);
    pgSetShowsBasePage(page, how == 0 ? !shows : how == 2);
    InvalidateRect(ws, nullptr, TRUE);
    wsMarkModified(ws);
}

void prepareMenu(HWND ws, HMENU menu)
{
    if (!menu)
        return;
    const BOOL hasBase = fmGetBasePage(wsGetDocument(ws)) != 0;
    MemHandle page = pvGetCurrentPage(ws);
    CheckMenuItem(menu, 1193,
                  MF_BYCOMMAND | (hasBase && page && pgShowsBasePage(page) ? MF_CHECKED
                                                                            : MF_UNCHECKED));
    const bool chinese = appGetMenuLanguageId() == 2;
    const char *text = hasBase ? (chinese ? "\xE7\xB7\xA8\xE8\xBC\xAF(&E)" : "&Edit")
                               : (chinese ? "\xE5\xBB\xBA\xE7\xAB\x8B(&C)" : "&Create");
    ModifyMenuA(menu, 594, MF_BYCOMMAND | MF_STRING, 594, text);
    EnableMenuItem(menu, 594, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu, 1198, MF_BYCOMMAND | (hasBase ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, 1193, MF_BYCOMMAND | (hasBase ? MF_ENABLED : MF_GRAYED));
}

void returnToPage(HWND ws)
{
    const int back = wsGetRememberedPage(ws);
    if (back < 0)
        return;
    pvCmdGoToPage(ws, back);
    repaintGrid(ws);
}

void removeBasePage(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    if (!fmGetBasePage(form))
        return;
    if (utMessageBox(wsGetDocWindow(ws) ? wsGetDocWindow(ws) : ws,
                     "Are you sure that you want to remove the base page?",
                     MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    if (pvGetCurrentPageIndex(ws) == -1) {
        returnToPage(ws);
        if (pvGetCurrentPageIndex(ws) == -1)
            pvCmdGoToPage(ws, 0);
        if (pvGetCurrentPageIndex(ws) == -1)
            return;
    }
    fmDropBasePage(form);
    InvalidateRect(ws, nullptr, TRUE);
    repaintGrid(ws);
    wsMarkModified(ws);
}

}  // namespace

int pvCmdShowBasePage(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return 0;
    if (!fmGetBasePage(form)) {
        MemHandle base = pgNewRecord(pvGetCurrentPage(ws));
        if (!base)
            return 0;
        fmSetBasePage(form, base);
        wsMarkModified(ws);
    }
    if (pvGetCurrentPageIndex(ws) == -1)
        return 1;
    if (!pvSwitchToPage(ws, -1))
        return 0;
    pvRefreshAfterPageChange(ws, FALSE);
    return 1;
}

int bpOnCommand(HWND ws, int command, HMENU menu)
{
    if (!wsGetDocument(ws))
        return 1;
    switch (command) {
    case 594:
        if (pvGetCurrentPageIndex(ws) != -1)
            wsSetRememberedPage(ws);
        pvCmdShowBasePage(ws);
        break;
    case 1187:
    case 1188:
        markBasePage(ws, command == 1187);
        break;
    case 1189:
    case 1190:
        markCurrentObject(ws, command == 1189);
        break;
    case 1191:
        dropTemplate(ws);
        break;
    case 1192:
        showOnAllPages(ws);
        break;
    case 1193:
        setShown(ws, 0);
        break;
    case 1194:
        prepareMenu(ws, menu);
        break;
    case 1195:
        setShown(ws, 1);
        break;
    case 1196:
        setShown(ws, 2);
        break;
    case 1198:
        removeBasePage(ws);
        break;
    case 1199:
        returnToPage(ws);
        break;
    default:
        break;
    }
    return 1;
}
