// The workspace's document and its current page.
#include "views/ws_document.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/ob_links.h"
#include "views/ws_record.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

// A window that is not a workspace (a drawing host of the model's tests or
// of a hidden view) keeps its document as a window property.
const char kDocumentProp[] = "QmDocument";

}  // namespace

void wsSetDocument(HWND workspace, MemHandle form)
{
    if (!workspace)
        return;
    if (!wsGetRecordHandle(workspace)) {
        if (form)
            SetPropA(workspace, kDocumentProp, (HANDLE)(uintptr_t)form);
        else
            RemovePropA(workspace, kDocumentProp);
        return;
    }
    // The option copy follows the document.
    MemHandle options = form ? fmDupDocOptions(form) : 0;
    MemHandle old = 0;
    {
        WorkspaceRecord *rec = wsLockRecord(workspace);
        rec->document = form;
        old = rec->docOptions;
        rec->docOptions = options;
        wsUnlockRecord(workspace);
    }
    if (old != options)
        utFreeHandle(old);
}

MemHandle wsGetDocument(HWND workspace)
{
    if (!workspace)
        return 0;
    if (MemHandle rec = wsGetRecordHandle(workspace)) {
        MemLock<WorkspaceRecord> r(rec);
        return r ? r->document : 0;
    }
    return (MemHandle)(uintptr_t)GetPropA(workspace, kDocumentProp);
}

int wsGetDocPath(HWND workspace, char *buffer, uint32_t size)
{
    return fmGetFilePath(wsGetDocument(workspace), buffer, size);
}


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
