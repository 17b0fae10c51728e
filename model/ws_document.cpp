// The workspace's document and its current page.
#include "model/ws_document.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/ob_links.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

// A window without a workspace record keeps its document as a window
// property.
const char kDocumentProp[] = "QmDocument";

const WsRecordSlots *g_slots = nullptr;

}  // namespace

void wsSetRecordSlots(const WsRecordSlots *slots) { g_slots = slots; }
const WsRecordSlots *wsGetRecordSlots() { return g_slots; }

void wsSetDocument(HWND workspace, MemHandle form)
{
    if (!workspace)
        return;
    if (g_slots && g_slots->setDocument(workspace, form))
        return;
    if (form)
        SetPropA(workspace, kDocumentProp, (HANDLE)(uintptr_t)form);
    else
        RemovePropA(workspace, kDocumentProp);
}

MemHandle wsGetDocument(HWND workspace)
{
    if (!workspace)
        return 0;
    MemHandle form = 0;
    if (g_slots && g_slots->getDocument(workspace, &form))
        return form;
    return (MemHandle)(uintptr_t)GetPropA(workspace, kDocumentProp);
}

int wsGetDocPath(HWND workspace, char *buffer, uint32_t size)
{
    return fmGetFilePath(wsGetDocument(workspace), buffer, size);
}

int pvGetCurrentPageIndex(HWND workspace)
{
    MemHandle form = wsGetDocument(workspace);
    return form ? fmGetCurrentPage(form) : -2;
}

int pvGetPageCount(HWND workspace) { return fmGetPageCount(wsGetDocument(workspace)); }

MemHandle pvGetPage(HWND workspace, int index)
{
    MemHandle form = wsGetDocument(workspace);
    if (!form)
        return 0;
    if (index == -1)
        return fmGetBasePage(form);
    return pgDirGetPagesChecked(fmGetDirectory(form), fmGetPageCount(form), index);
}

MemHandle pvGetCurrentPage(HWND workspace)
{
    return pvGetPage(workspace, pvGetCurrentPageIndex(workspace));
}

void pvReleaseCurrentPage(HWND workspace)
{
    int current = pvGetCurrentPageIndex(workspace);
    if (current >= 0)
        pgDropEntryPages(workspace, current);
}

MemHandle wsFindObjectByName(HWND workspace, const char *name)
{
    if (!workspace || !name || !*name)
        return 0;
    std::vector<MemHandle> objects;
    obCollectList(pgGetFirstObject(pvGetCurrentPage(workspace)), objects);
    char own[kObMaxNameBytes];
    for (MemHandle h : objects) {
        obGetName(h, own);
        if (own[0] && lstrcmpiA(own, name) == 0)
            return h;
    }
    return 0;
}
