// The current page of a workspace's document.
#include "views/pv_page.h"
#include "app/app_frame_docs.h"
#include "app/ws_services.h"
#include "controls/pal_window.h"
#include "model/lay_layers.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "model/ob_shadow.h"
#include "model/pg_margins.h"
#include "model/pg_palette.h"
#include "model/pg_swap.h"
#include "model/qmf_sizes.h"
#include "objects/onm_names.h"
#include "support/ut_path.h"
#include "views/dw_window.h"
#include "views/pv_layout_sheet.h"
#include "views/pv_pagecmd.h"
#include "views/ws_scroll.h"
#include "views/ws_zoom.h"
#include "commands/ud_undo.h"
#include "model/setup_record.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include "controls/ruler.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/ob_links.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <stdio.h>
#include <time.h>
#include <string>
#include <vector>

char *pvGetCurrentPageName(HWND ws, char *buffer, int size)
{
    if (size > 0)
        buffer[0] = 0;
    if (MemHandle page = pvGetCurrentPage(ws))
        pgCopyName(page, buffer, size);
    return buffer;
}

BOOL wsPageHasObjects(HWND ws) { return pgGetFirstObject(pvGetCurrentPage(ws)) != 0; }

void pvBuildPagePalette(HWND ws)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page)
        return;
    int16_t count = 0;
    MemHandle colours = clrGetColors(&count);
    if (!colours || count <= 0) {
        utFreeHandle(colours);
        return;
    }
    const uint32_t size = (uint32_t)sizeof(PagePaletteHead) + 4u * (uint32_t)count;
    std::vector<uint8_t> bytes;
    {
        MemLock<uint8_t> in(colours);
        if (in && utHandleSize(colours) >= 4u * (uint32_t)count) {
            PagePaletteHead head = {size, 64, (uint16_t)count};
            bytes.resize(size);
            memcpy(bytes.data(), &head, sizeof(head));
            memcpy(bytes.data() + sizeof(head), in.get(), 4u * (uint32_t)count);
        }
    }
    utFreeHandle(colours);
    MemHandle record = bytes.empty() ? 0 : utHandleFromBytes(bytes.data(), size);
    if (!record)
        return;
    MemHandle old = 0;
    {
        PgLock p(page);
        if (!p) {
            utFreeHandle(record);
            return;
        }
        old = p.data()->paletteBlock;
        p.data()->paletteBlock = record;
    }
    utFreeHandle(old);
    if (MemHandle moved = pgSetFlag64(page, TRUE))
        if (moved != page) {
            const int index = pvGetCurrentPageIndex(ws);
            if (index >= 0)
                pgDirSetPages(fmGetDirectory(wsGetDocument(ws)), moved, index);
            else
                fmSetBasePage(wsGetDocument(ws), moved);
        }
    wsMarkModified(ws);
}

MemHandle pvShowPage(HWND ws, MemHandle page)
{
    if (!page)
        return 0;
    int unit = 0;
    PageData data;
    if (pgGetProp(page, 41, &data)) {
        unit = data.unit;
        if (!unit) {
            uint16_t inches = DM_UNIT_INCHES;
            pgSetProp(page, 8, &inches);
            unit = DM_UNIT_INCHES;
        }
        // The page's shadow style and layer state are the ones in force
        // while it is shown.
        ShadowStyle style;
        memcpy(&style, data.shadowStyle, sizeof(style));
        obSetShadowStyle(&style);
        LayerState previous;
        laySwapState(&previous, &data.layers);
        pvInstallPagePalette(ws, page);
        wsSetRulerDivisions(ws, data.gridDivisions ? data.gridDivisions
                                                   : RUL_DEFAULT_SUBDIVISIONS);
    }
    bool redraw = false;
    if (unit && unit != wsGetUnitOfMapping(ws)) {
        wsSetUnitOfMapping(ws, (uint16_t)unit);
        redraw = true;
    }
    const int16_t code = wsGetZoomCode(ws);
    if (wsGetRecordHandle(ws) && (code == -100 || code == -101)) {
        RECT pageRect;
        pgGetPageRect(page, &pageRect);
        const int32_t percent = code == -100 ? dmZoomToFitWindow(ws, &pageRect)
                                             : dmZoomToFitWidth(ws, &pageRect);
        wsSetZoomPercentDefault(ws, percent);
        wsUpdateScrollRanges(ws, FALSE);
        wsUpdatePagePlacement(ws);
        wsResetScrollToPlacement(ws);
        redraw = true;
    } else if (wsGetRecordHandle(ws)) {
        wsUpdateScrollRanges(ws, FALSE);
    }
    wsUpdatePagePlacement(ws);
    if (redraw)
        wsInvalidateRulers(ws, 3);
    return page;
}

int pvGoToPage(HWND ws, int index)
{
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return 0;
    MemHandle page = 0;
    if (index >= -1) {
        // A page past the count is not looked up at all: the directory block
        // may hold spare entries.
        if (index == -1)
            page = fmGetBasePage(form);
        else if (index < fmGetPageCount(form))
            page = pgDirEnsureLoaded(ws, fmGetDirectory(form), index);
        if (!page) {
            char text[64];
            snprintf(text, sizeof(text), "Can not open page %d", index + 1);
            utErrorBox(wsGetDocWindow(ws), text);
            return 0;
        }
    }
    fmSetCurrentPage(form, index);
    pvShowPage(ws, page);
    if (IsWindow(ws))
        SetFocus(ws);
    if (onmGetListWindow())
        onmRefreshList();
    if (HWND doc = wsGetDocWindow(ws))
        SendMessageA(doc, WM_COMMAND, 42,
                     (LPARAM)(uint32_t)((uint16_t)index | ((uint32_t)fmGetPageCount(form) << 16)));
    return 1;
}

void pvSendRefresh(HWND ws)
{
    if (ws && IsWindow(ws))
        SendMessageA(ws, WS_MSG_REFRESH, 0, 0);
}

MemHandle pvStorePage(HWND ws, MemHandle page, int index)
{
    PageData data;
    if (!page || !pgGetProp(page, 41, &data))
        return 0;
    std::vector<MemHandle> objects;
    obCollectList(pgGetFirstObject(page), objects);
    data.pageIndex = (uint16_t)index;
    pgDataSetObjectCount(&data, (int32_t)objects.size());
    pgSetProp(page, 41, &data);
    // The entry records the page's size as it would be written now.
    if (index >= 0 && pgDirGetPages(fmGetDirectory(wsGetDocument(ws)), index) == page)
        pgDirUpdateSize(ws, index);
    return page;
}

MemHandle pvCommitPage(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return 0;
    pvSendRefresh(ws);
    if (!pvStorePage(ws, pvGetCurrentPage(ws), pvGetCurrentPageIndex(ws)))
        return 0;
    MemHandle third = 0;
    {
        FmLock r(form);
        if (!r)
            return 0;
        r->type = 1002;
        r->length = kFmHeadSize + r->attrs.size;
        third = r->blocks[2];
        r->blocks[2] = 0;
        r->options &= (uint16_t)~0x200;
        r->updateTime = (uint32_t)time(nullptr);
    }
    utFreeHandle(third);
    return form;
}

namespace {

// Stores the page, resets the rulers' markers, lets the page's records go
// when `drop` is set and the page has a copy elsewhere, and shows no page.
void leavePage(HWND ws, bool drop)
{
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return;
    pvCommitPage(ws);
    wsResetRulerMarkers(ws);
    int index = fmGetCurrentPage(form);
    PageDirEntry entry;
    // A page held only in memory has nowhere else to come back from.
    if (drop && index >= 0 && pgDirGetEntry(fmGetDirectory(form), index, &entry) &&
        entry.state != PG_HELD_IN_MEMORY)
        pgDropEntryPages(ws, index);
    fmSetCurrentPage(form, -2);
}

// Swaps the current real page out; on failure the page is reported and
// stays in memory. True when it may be let go.
bool swapOutCurrent(HWND ws)
{
    if (pvGetCurrentPageIndex(ws) < 0)
        return true;
    if (pgSwapOutCurrent(ws))
        return true;
    utErrorBox(wsGetDocWindow(ws),
               "The page could not be written to a temporary file.  It stays in memory.");
    return false;
}

}  // namespace

void pvLeavePage(HWND ws) { leavePage(ws, true); }

void pvReleaseDocument(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return;
    pvLeavePage(ws);
    wsSetDocument(ws, 0);
    fmFree(form);
    if (HWND grid = wsGetThumbnailGrid(ws)) {
        DestroyWindow(grid);
        wsSetThumbnailGrid(ws, nullptr);
    }
}

// ---- pages of the document -------------------------------------------------------------

MemHandle pvGetBasePage(HWND ws) { return fmGetBasePage(wsGetDocument(ws)); }

int pvSwitchToPage(HWND ws, int index)
{
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return 0;
    const int current = pvGetCurrentPageIndex(ws);
    if (index == current)
        return 0;
    if (index == -1 ? !fmGetBasePage(form) : (index < 0 || index >= fmGetPageCount(form)))
        return 0;
    wsSendLeaveMode(ws, 1);
    epSelectObject(ws, 0);
    pvCommitPage(ws);
    if (current != -1)
        leavePage(ws, swapOutCurrent(ws));
    if (!pvGoToPage(ws, index))
        return 0;
    InvalidateRect(ws, nullptr, TRUE);
    return 1;
}

int pvNextPageWrap(HWND ws)
{
    const int count = pvGetPageCount(ws);
    if (count < 1)
        return 0;
    const int current = pvGetCurrentPageIndex(ws);
    const int next = (current < 0 || current + 1 >= count) ? 0 : current + 1;
    return pvSwitchToPage(ws, next);
}

int pvPrevPageWrap(HWND ws)
{
    const int count = pvGetPageCount(ws);
    if (count < 1)
        return 0;
    const int current = pvGetCurrentPageIndex(ws);
    const int prev = current <= 0 ? count - 1 : current - 1;
    return pvSwitchToPage(ws, prev);
}

namespace {

// "%d. name" and character 27 per page; pages not in memory are read for
// their names and let go again.
// The name of page i of the form (read from its file without its objects
// when it is not in memory); empty when it has none.
void pageNameAt(HWND ws, MemHandle form, int i, char *name, int size)
{
    name[0] = 0;
    PageDirEntry entry;
    if (!pgDirGetEntry(fmGetDirectory(form), i, &entry))
        return;
    MemHandle page = entry.pages, read = 0;
    if (!page)
        page = read = pgReadEntryRecord(ws, &entry);
    if (page)
        pgCopyName(page, name, size);
    pgFreeList(read);
}

MemHandle pageNameList(HWND ws, int *count)
{
    MemHandle form = wsGetDocument(ws);
    const int n = fmGetPageCount(form);
    std::string list;
    for (int i = 0; i < n; ++i) {
        char name[128];
        pageNameAt(ws, form, i, name, sizeof name);
        char item[160];
        snprintf(item, sizeof(item), "%d. %s", i + 1, name);
        list += item;
        list += '\x1b';
    }
    if (count)
        *count = n;
    return n ? utHandleFromString(list.c_str()) : 0;
}

// The handle a page has after a change that may move it, put back where
// the document keeps it.
void keepPageHandle(HWND ws, int index, MemHandle page)
{
    MemHandle form = wsGetDocument(ws);
    if (!page)
        return;
    if (index == -1)
        fmSetBasePage(form, page);
    else if (index >= 0 && pgDirGetPages(fmGetDirectory(form), index) != page)
        pgDirSetPages(fmGetDirectory(form), page, index);
}

// The new page of a page command: a copy of the current page's settings,
// or one laid out in the page dialog.
MemHandle makePage(HWND ws, BOOL fromCurrent)
{
    MemHandle current = pvGetCurrentPage(ws);
    if (fromCurrent && current)
        return pgNewRecord(current);
    return pgNewRecordByDialog(current, "New Page");
}

int addPageAndShow(HWND ws, int position, bool append, BOOL fromCurrent)
{
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return 0;
    wsSendLeaveMode(ws, 1);
    epSelectObject(ws, 0);
    pvCommitPage(ws);
    if (!swapOutCurrent(ws))
        return 0;
    MemHandle page = makePage(ws, fromCurrent);
    if (!page) {
        cmdBackToSelect(ws);
        return 0;
    }
    pvLeavePage(ws);
    const int index = append ? pgDirAppend(form, page) : pageTableInsert(form, page, position, FALSE);
    if (index < 0) {
        pgFreeList(page);
        cmdBackToSelect(ws);
        return 0;
    }
    if (!pvGoToPage(ws, index)) {
        cmdBackToSelect(ws);
        return 0;
    }
    wsMarkModified(ws);
    InvalidateRect(ws, nullptr, TRUE);
    return 1;
}

}  // namespace

int pvCmdSelectPageByName(HWND ws)
{
    int count = 0;
    MemHandle names = pageNameList(ws, &count);
    if (!names)
        return 0;
    int index = pvGetCurrentPageIndex(ws);
    const int chosen = pgSelectByNameDialog(wsGetDocWindow(ws), "Select Page", names, count, &index);
    utFreeHandle(names);
    if (!chosen || index < 0 || index >= count)
        return 0;
    return pvSwitchToPage(ws, index);
}

int pvCmdPageName(HWND ws)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page)
        return 0;
    MemHandle name = pgGetNameCopy(page);
    int done = 0;
    if (pgNameDialog(ws, &name)) {
        std::string text;
        if (name) {
            MemLock<char> p(name);
            if (p)
                text.assign(p.get(), strnlen(p.get(), utHandleSize(name)));
        }
        if (MemHandle moved = pgSetName(page, text.c_str())) {
            keepPageHandle(ws, pvGetCurrentPageIndex(ws), moved);
            wsMarkModified(ws);
            if (HWND doc = wsGetDocWindow(ws))
                dwUpdateTitle(doc);
            done = 1;
        }
    }
    utFreeHandle(name);
    return done;
}

int pvAppendPageAndShow(HWND ws, BOOL fromCurrent)
{
    return addPageAndShow(ws, -1, true, fromCurrent);
}

int pvInsertPageAndShow(HWND ws, int position, BOOL fromCurrent)
{
    return addPageAndShow(ws, position, false, fromCurrent);
}

int pvReloadCurrentPage(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    const int index = pvGetCurrentPageIndex(ws);
    if (!form || index < 0)
        return 0;
    wsSendLeaveMode(ws, 1);
    epSelectObject(ws, 0);
    pvCommitPage(ws);
    PageDirEntry entry;
    pgDirGetEntry(fmGetDirectory(form), index, &entry);
    if (entry.state == PG_HELD_IN_MEMORY) {
        // Never stored: the page is emptied.
        MemHandle page = pvGetCurrentPage(ws);
        MemHandle first = pgGetFirstObject(page);
        pgSetFirstObject(page, 0);
        std::vector<MemHandle> objects;
        obCollectList(first, objects);
        for (MemHandle h : objects)
            obFreeTree(h);
        pvStorePage(ws, page, index);
    } else {
        // The stored copy is read before the page in memory is let go, so a
        // copy that cannot be read leaves the page as it is.
        MemHandle read = pgReadEntryPages(ws, &entry);
        if (!read)
            return 0;
        pgDropEntryPages(ws, index);
        pgDirSetPages(fmGetDirectory(form), read, index);
        {
            MemLock<PageDirEntry> e(fmGetDirectory(form));
            if (e)
                e[index].size = entry.size;
        }
        pvShowPage(ws, read);
    }
    InvalidateRect(ws, nullptr, TRUE);
    return 1;
}

int pvSetDocument(HWND ws, MemHandle form, int index)
{
    wsSetDocument(ws, form);
    if (form)
        wsResetRulerMarkers(ws);
    wsUpdateScrollRanges(ws, FALSE);
    pvGoToPage(ws, index);
    wsResetScrollToPlacement(ws);
    wsClearModified(ws);
    return form != 0;
}

uint32_t pvEstimateSize(MemHandle form)
{
    if (!form)
        return 0;
    uint32_t size = utHandleSize(form) + 40;
    const int count = fmGetPageCount(form);
    MemHandle dir = fmGetDirectory(form);
    for (int i = 0; i < count; ++i) {
        PageDirEntry entry;
        if (!pgDirGetEntry(dir, i, &entry))
            break;
        size += (uint32_t)sizeof(PageDirEntry);
        size += entry.pages ? pgCalcFileSize(entry.pages) : entry.size;
    }
    return size;
}

void pvInstallPagePalette(HWND, MemHandle page)
{
    MemHandle block = 0;
    {
        PgLock p(page);
        if (p)
            block = p.data()->paletteBlock;
    }
    if (!block)
        return;
    std::vector<COLORREF> colours;
    {
        const uint32_t held = utHandleSize(block);
        MemLock<uint8_t> p(block);
        if (!p || held < sizeof(PagePaletteHead))
            return;
        PagePaletteHead head;
        memcpy(&head, p.get(), sizeof(head));
        const uint32_t need = (uint32_t)sizeof(head) + 4u * head.count;
        if (!head.count || head.size != need || need > held)
            return;
        colours.resize(head.count);
        memcpy(colours.data(), p.get() + sizeof(head), 4u * head.count);
    }
    clrSetColors(colours.data(), (int)colours.size());
}

// ---- the document's path ----------------------------------------------------------------

MemHandle wsDupDocPath(HWND ws)
{
    char path[UT_PATH_SIZE];
    return wsGetDocPath(ws, path) ? utHandleFromString(path) : 0;
}

BOOL wsGetDocFileName(HWND ws, char *buffer)
{
    buffer[0] = 0;
    char path[UT_PATH_SIZE], folder[UT_PATH_SIZE];
    if (!wsGetDocPath(ws, path))
        return FALSE;
    utSplitFolderName(path, folder, buffer);
    return buffer[0] != 0;
}

BOOL wsGetDocFolder(HWND ws, char *buffer)
{
    buffer[0] = 0;
    char path[UT_PATH_SIZE], name[UT_PATH_SIZE];
    if (!wsGetDocPath(ws, path))
        return FALSE;
    utSplitFolderName(path, buffer, name);
    return buffer[0] != 0;
}

int wsGetPageProp(HWND ws, int id, void *value) { return pgGetProp(pvGetCurrentPage(ws), id, value); }

int wsSetPageProp(HWND ws, int id, const void *value)
{
    return pgSetProp(pvGetCurrentPage(ws), id, value);
}

// ---- page layout and pages by name ---------------------------------------------------------

namespace {

// What the layout sheet changes of a page's size: kept to be put back.
struct PageSize {
    int32_t centreX, centreY, width, height;
    uint8_t paper, orientation;
};

bool readPageSize(MemHandle page, PageSize *size)
{
    PgLock p(page);
    if (!p)
        return false;
    *size = {p.head()->centreX, p.head()->centreY, p.head()->width, p.head()->height,
             p.data()->paperCode, p.data()->orientation};
    return true;
}

void writePageSize(MemHandle page, const PageSize &size)
{
    PgLock p(page);
    if (!p)
        return;
    p.head()->centreX = size.centreX;
    p.head()->centreY = size.centreY;
    p.head()->width = size.width;
    p.head()->height = size.height;
    p.data()->paperCode = size.paper;
    p.data()->orientation = size.orientation;
}

}  // namespace

void pvCmdPageLayout(HWND frame, HWND ws)
{
    BOOL unitChanged = FALSE;
    MemHandle form = ws ? wsGetDocument(ws) : 0;
    if (!form) {
        // Without a document: the page that new documents start from.
        MemHandle page = pgNewRecord(setGetDefaultPage());
        if (page && pvPageLayoutSheet(frame, nullptr, &page, FALSE, &unitChanged))
            setAdoptDefaultPage(page);
        else
            pgFreeList(page);
        return;
    }
    udDiscard(ws);
    MemHandle page = pvGetCurrentPage(ws);
    PageSize before;
    if (!page || !readPageSize(page, &before))
        return;
    RECT oldRect;
    pgGetPageRect(page, &oldRect);
    MemHandle edited = page;
    if (!pvPageLayoutSheet(frame, nullptr, &edited, FALSE, &unitChanged) || !edited)
        return;
    const int index = pvGetCurrentPageIndex(ws);
    if (edited != page) {
        if (index >= 0)
            pgDirSetPages(fmGetDirectory(form), edited, index);
        else
            fmSetBasePage(form, edited);
    }
    RECT newRect;
    pgGetPageRect(edited, &newRect);
    const bool sameSize = EqualRect(&oldRect, &newRect) != 0;
    // A new size needs the page table first: without it (no memory, which
    // the allocator has reported) the page keeps its old size, so the view
    // never draws a page larger than its entry.
    if (!sameSize && !wsBuildPageRects(ws)) {
        writePageSize(edited, before);
        pvShowPage(ws, edited);
        wsUpdateScrollRanges(ws, TRUE);
        PostMessageA(ws, WM_COMMAND, 911, 0);
        if (unitChanged)
            wsMarkModified(ws);
        return;
    }
    // The page's shadow style, unit, rulers and placement are the shown
    // page's.
    pvShowPage(ws, edited);
    if (sameSize) {
        wsRefreshScrollRanges(ws);
        PostMessageA(ws, WM_COMMAND, 911, 0);
        wsMarkModified(ws);
        return;
    }
    wsUpdateScrollRanges(ws, TRUE);
    const int16_t code = wsGetZoomCode(ws);
    if (code == -100 || code == -101)
        wsSetZoom(ws, code, 100, &newRect, nullptr, TRUE);
    else
        PostMessageA(ws, WM_COMMAND, 911, 0);
    wsMarkModified(ws);
}

int pvCmdGoToPageByName(HWND ws, const char *name)
{
    MemHandle form = wsGetDocument(ws);
    if (!form || !name)
        return 0;
    const int count = fmGetPageCount(form);
    for (int i = 0; i < count; ++i) {
        char pageName[128];
        pageNameAt(ws, form, i, pageName, sizeof pageName);
        if (lstrcmpiA(pageName, name) == 0)
            return pvCmdGoToPage(ws, i);
    }
    return 0;
}
