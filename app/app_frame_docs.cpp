#include "app/app_frame_docs.h"
#include "app/app_frame.h"
#include "app/fc_file_cmds.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "support/win_window.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "views/ws_window.h"
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

char *dwFormatTitle(char *out, int size, const char *path, int pageIndex, int pageCount,
                    const char *pageName, BOOL modified)
{
    if (size <= 0)
        return out;
    std::string title = (path && *path) ? path : "Untitled";
    if (pageIndex >= 0) {
        char part[64];
        snprintf(part, sizeof(part), " - Page %d of %d ", pageIndex + 1, pageCount);
        title += part;
        if (pageName)
            title.append(pageName, strnlen(pageName, DW_PAGE_NAME_MAX));
        if (modified)
            title += " *";
    } else if (pageIndex == -1) {
        title += " - Base page";
    }
    utStrCopyN(out, title.c_str(), (uint32_t)size);
    return out;
}

void dwUpdateTitle(HWND doc)
{
    HWND ws = dwGetWorkspace(doc);
    int index = pvGetCurrentPageIndex(ws);
    if (!ws || index == -2)
        return;
    char path[UT_PATH_SIZE], name[DW_PAGE_NAME_MAX + 1], title[DW_TITLE_SIZE];
    wsGetDocPath(ws, path);
    pvGetCurrentPageName(ws, name, sizeof(name));
    SetWindowTextA(doc, dwFormatTitle(title, sizeof(title), path, index, pvGetPageCount(ws), name,
                                      wsIsModified(ws)));
}

int dwQuerySave(HWND doc)
{
    HWND ws = dwGetWorkspace(doc);
    if (!ws || !wsIsModified(ws))
        return 1;
    if (wsIsQuickNote(ws))
        // Only a note without any object anywhere closes unsaved: a note
        // whose current page is empty may hold objects on other pages.
        return wsDocumentHasObjects(ws) ? fcSaveCommand(ws) : 1;
    switch (utMessageBox(doc, "Save changes to the current document?",
                         MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDCANCEL: return 0;
    case IDNO: return 1;
    default: return fcSaveCommand(ws);
    }
}

// ---- the frame's document windows ---------------------------------------------------------

namespace {
std::vector<HWND> documentWindows(HWND client)
{
    std::vector<HWND> out;
    if (!client)
        return out;
    for (HWND w = GetWindow(client, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if (!GetWindow(w, GW_OWNER))
            out.push_back(w);
    return out;
}
}  // namespace

int appCountDocWindows(HWND mdiClient) { return (int)documentWindows(mdiClient).size(); }

std::vector<HWND> appListDocWindows(HWND frame)
{
    if (HWND client = appGetMdiClient(frame))
        return documentWindows(client);
    std::vector<HWND> out;
    for (HWND w = frame ? GetWindow(frame, GW_CHILD) : nullptr; w; w = GetWindow(w, GW_HWNDNEXT))
        if (winIsWindowOfClass(w, dwClassName, nullptr)) {
            out.push_back(w);
            break;
        }
    return out;
}

HWND appFindDocWindowByFile(HWND frame, const char *path)
{
    if (!path || !*path)
        return nullptr;
    char own[UT_PATH_SIZE];
    for (HWND doc : appListDocWindows(frame))
        if (wsGetDocPath(dwGetWorkspace(doc), own) && lstrcmpiA(own, path) == 0)
            return doc;
    return nullptr;
}

HWND appActivateDocWindowByFile(HWND frame, const char *path)
{
    HWND doc = appFindDocWindowByFile(frame, path);
    if (!doc)
        return nullptr;
    HWND client = appGetMdiClient(frame);
    if (!IsZoomed(doc))
        SendMessageA(client, WM_MDIRESTORE, (WPARAM)doc, 0);
    SendMessageA(client, WM_MDIACTIVATE, (WPARAM)doc, 0);
    return doc;
}

HWND appGetWorkspaceByFile(HWND frame, const char *path)
{
    return dwGetWorkspace(appFindDocWindowByFile(frame, path));
}

HWND appFindHiddenDocWindow(HWND frame)
{
    for (HWND doc : appListDocWindows(frame))
        if (!IsWindowVisible(doc))
            return doc;
    return nullptr;
}

void appInvalidateAllWorkspaces(HWND frame)
{
    for (HWND doc : appListDocWindows(frame))
        if (HWND ws = dwGetWorkspace(doc))
            InvalidateRect(ws, nullptr, TRUE);
}
