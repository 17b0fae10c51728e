// The current page of a workspace's document.
#include "views/pv_page.h"
#include "views/dw_window.h"
#include "views/ws_document.h"
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
#include <vector>

int pvGetCurrentPageIndex(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    return form ? fmGetCurrentPage(form) : -2;
}

int pvGetPageCount(HWND ws) { return fmGetPageCount(wsGetDocument(ws)); }

char *pvGetCurrentPageName(HWND, char *buffer, int size)
{
    if (size > 0)
        buffer[0] = 0;
    return buffer;
}

BOOL wsPageHasObjects(HWND ws) { return pgGetFirstObject(pvGetCurrentPage(ws)) != 0; }

void pvStorePagePalette(HWND) {}
void pvCmdPageLayout(HWND, HWND) {}

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
        wsSetRulerDivisions(ws, data.gridDivisions ? data.gridDivisions
                                                   : RUL_DEFAULT_SUBDIVISIONS);
    }
    bool redraw = false;
    if (unit && unit != wsGetUnitOfMapping(ws)) {
        wsSetUnitOfMapping(ws, (uint16_t)unit);
        redraw = true;
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
        page = index == -1 ? fmGetBasePage(form)
                           : pgDirEnsureLoaded(ws, fmGetDirectory(form), index);
        if (index >= fmGetPageCount(form))
            page = 0;
        if (!page) {
            char text[64];
            snprintf(text, sizeof(text), "Can not open page %d", index + 1);
            utErrorBox(wsGetDocWindow(ws), text);
            return 0;
        }
    }
    fmSetCurrentPage(form, index);
    pvShowPage(ws, page);
    SetFocus(ws);
    if (HWND doc = wsGetDocWindow(ws))
        SendMessageA(doc, WM_COMMAND, 42,
                     (LPARAM)(uint32_t)((uint16_t)index | ((uint32_t)fmGetPageCount(form) << 16)));
    return 1;
}

MemHandle pvCommitPage(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return 0;
    SendMessageA(ws, WS_MSG_REFRESH, 0, 0);
    // The page: its index and object count brought up to date, its entry's
    // size recorded.
    const int index = pvGetCurrentPageIndex(ws);
    MemHandle page = pvGetCurrentPage(ws);
    if (!page)
        return 0;
    PageData data;
    if (pgGetProp(page, 41, &data)) {
        std::vector<MemHandle> objects;
        obCollectList(pgGetFirstObject(page), objects);
        data.pageIndex = (uint16_t)index;
        data.objectCount = (int16_t)objects.size();
        pgSetProp(page, 41, &data);
    }
    if (index >= 0)
        pgDirUpdateSize(ws, index);
    MemHandle third = 0;
    {
        FmLock r(form);
        if (!r)
            return 0;
        r->type = 1002;
        third = r->blocks[2];
        r->blocks[2] = 0;
        r->options &= (uint16_t)~0x200;
        r->updateTime = (uint32_t)time(nullptr);
    }
    utFreeHandle(third);
    return form;
}

void pvLeavePage(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return;
    pvCommitPage(ws);
    wsResetRulerMarkers(ws);
    int index = fmGetCurrentPage(form);
    PageDirEntry entry;
    // A page held only in memory has nowhere else to come back from.
    if (index >= 0 && pgDirGetEntry(fmGetDirectory(form), index, &entry) &&
        entry.state != PG_HELD_IN_MEMORY)
        pgDropEntryPages(ws, index);
    fmSetCurrentPage(form, -2);
}

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
