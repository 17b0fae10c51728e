#include "app/app_frame_cmd.h"
#include "app/app_about.h"
#include "app/app_frame.h"
#include "app/app_frame_bars.h"
#include "app/app_menu_state.h"
#include "app/app_start.h"
#include "app/app_toolbars.h"
#include "app/fav_favorites.h"
#include "app/fc_autosave.h"
#include "app/fc_file_cmds.h"
#include "app/opt_options.h"
#include "support/settings_reg.h"
#include "app/vc_view_cmds.h"
#include "app/ws_command.h"
#include "commands/cmd_frame.h"
#include "controls/pal_commands.h"
#include "controls/pal_dialogs.h"
#include "controls/pal_window.h"
#include "forms/db_token.h"
#include "forms/fld_services.h"
#include "objects/cal_popup.h"
#include "objects/onm_names.h"
#include "support/ff_file.h"
#include "support/ut_history.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "support/ut_recent.h"
#include "support/ut_shell.h"
#include "support/win_window.h"
#include "textedit/sp_frame.h"
#include "views/dw_window.h"
#include "views/prn_custom.h"
#include "views/prn_setup.h"
#include "views/pv_page.h"
#include "views/pv_pagecmd.h"
#include "views/ws_window.h"
#include "resource.h"
#include <string.h>
#include <string>

namespace {

const char kHomePage[] = "https://www.quillmark-draw.example/";

// The buttons whose pop-up menus the frame opens at the pressed point.
const int kPopupButtons[] = {191, 217, 307, 333, 334, 339, 450, 530, 599, 744, 1200, 1225,
                             1377, 1390};
// Commands that act on the frame alone.
const struct {
    int id;
    void (*run)(HWND frame);
} kFrameOnly[] = {
    {94, appShowReaderInfo},      {152, cmdLibraryManager},   {607, vcToggleStatusBar},
    {657, optEditLabelSource},    {727, spCmdCustomDictionary}, {728, spCmdLanguage},
    {749, appToggleTextTool},     {750, appToggleRightBar},   {809, appAboutBox},
    {919, appToggleBottomBar},    {943, calShowPopup},
};
// Help on a button: the keyword of each id.
const struct {
    int id;
    const char *keyword;
} kHelpKeywords[] = {
    {1229, "Scroll Style"}, {1900, "Fill Tool"}, {1901, "Layer"}, {1902, "Field"},
};
// Frame commands whose dialog, window or settings code is not in the
// program yet: taken, nothing done; their menu items stay greyed.
const int kWaiting[] = {152, 170, 516, 518, 606, 608, 656, 657, 727, 728, 919, 943, 981,
                        1231};
// Ids the frame accepts without doing anything.
const int kNothing[] = {82, 140, 142, 892, 933, 976, 977, 1122, 1230, 2020, 2027, 2028,
                        2029, 2032, 2051, 9360, 9385};

template <size_t N>
bool listed(const int (&ids)[N], int id)
{
    for (int v : ids)
        if (v == id)
            return true;
    return false;
}

bool usable(HWND ws) { return !wsIsDocIconic(ws); }

void freeHandleArg(LPARAM lParam) { utFreeHandle((MemHandle)lParam); }

// The folder the Open dialog starts in: that of the first recent file that
// still exists, else the last folder.
void openStartFolder(char *path)
{
    if (utGetFirstRecentFile(path))
        utGetFolder(path);
    else
        setGetLastFolder(path);
}

void openFromAtom(HWND frame, HWND client, ATOM atom)
{
    if (!appRefuseWhenTooManyDocuments(client)) {
        char name[521] = "";
        if (GlobalGetAtomNameA(atom, name, sizeof(name)) && ffExists(name))
            fcOpenDocument(frame, name);
    }
    GlobalDeleteAtom(atom);
    winBringToFront(frame);
}

void editPalette(HWND frame, HWND ws)
{
    if (clrGetColor2Window()) {
        clrPaletteManagerDlg(frame);
        return;
    }
    RECT r;
    appGetBarRect(frame, FB_COLOR, &r);
    MapWindowPoints(frame, nullptr, (POINT *)&r, 2);
    if (clrEditPaletteDlg(frame, &r) && ws)
        pvBuildPagePalette(ws);
}

// Step 3: the frame's own commands. TRUE when the id is one of them; the
// result goes to *result.
BOOL frameCommand(HWND frame, HWND client, HWND ws, int id, WPARAM wParam, LPARAM lParam,
                  int *result)
{
    *result = 0;
    if (listed(kNothing, id))
        return TRUE;
    if (listed(kPopupButtons, id)) {
        if (usable(ws))
            popButtonMenu(frame, ws, id, lParam);
        return TRUE;
    }
    if (id >= 120 && id <= 128) {
        if (!appRefuseWhenTooManyDocuments(client))
            fcOpenRecentFile(frame, id);
        return TRUE;
    }
    if (id >= 1919 && id <= 1924) {
        appSetMenuLanguage(frame, id);
        return TRUE;
    }
    for (auto &c : kFrameOnly)
        if (c.id == id) {
            c.run(frame);
            return TRUE;
        }
    for (auto &h : kHelpKeywords)
        if (h.id == id) {
            utHelpKeyword(frame, h.keyword);
            return TRUE;
        }
    char path[UT_PATH_SIZE];
    switch (id) {
    case 79:
        if (int32_t *answer = (int32_t *)lParam) {
            POINT pt;
            GetCursorPos(&pt);
            *answer = ws && WindowFromPoint(pt) == ws ? 1 : 0;
        }
        return TRUE;
    case 93:
        if (!appRefuseWhenTooManyDocuments(client))
            fcNewQuickNote(frame);
        return TRUE;
    case 95:
        appLaunchReader(frame, "sample\\samplemenu.qm");
        return TRUE;
    case 96:
        if (!appRefuseWhenTooManyDocuments(client))
            fcNewDocumentDefaultPage(frame);
        return TRUE;
    case 100:
        if (!appRefuseWhenTooManyDocuments(client))
            fcNewDocument(frame);
        return TRUE;
    case 101:
        if (!appRefuseWhenTooManyDocuments(client)) {
            openStartFolder(path);
            fcOpenCommand(frame, path);
        }
        return TRUE;
    case 109:
        PostMessageA(frame, WM_CLOSE, 0, 0);
        return TRUE;
    case 110:
        dwClose(appGetActiveDocWindow(frame));
        return TRUE;
    case 111:
        if (appRefuseWhenTooManyDocuments(client))
            freeHandleArg(lParam);
        else
            fcOpenDocumentFromHandle(frame, (MemHandle)lParam);
        return TRUE;
    case 113:
        prnCmdPrinterSetup(ws ? ws : frame);
        return TRUE;
    case 115:
        faxCmdSetup(ws ? ws : frame);
        return TRUE;
    case 133:
        if (appRefuseWhenTooManyDocuments(client))
            freeHandleArg(lParam);
        else
            fcOpenDocumentAtPage(frame, (MemHandle)lParam);
        return TRUE;
    case 136: {
        const char *named = (const char *)lParam;
        if (named && *named && !appRefuseWhenTooManyDocuments(client))
            fcOpenDocument(frame, named);
        return TRUE;
    }
    case 138:
        appCloseAllDocuments(frame);
        return TRUE;
    case 170:
        favRunDialog(frame);
        return TRUE;
    case CLR_CMD_SWITCH_STYLE:
        clrToggleStyle();
        appLayoutBars(frame);
        return TRUE;
    case 331:
        appOpenMoreObjects(frame, nullptr);
        return TRUE;
    case 516:
        if (ws)
            onmShowList(ws);
        return TRUE;
    case 598:
    case 601:
        pvCmdPageLayout(frame, ws);
        return TRUE;
    case 603:
        appLaunchReader(frame, nullptr);
        return TRUE;
    case 606:
        vcRulerCommand(frame, ws);
        return TRUE;
    case 608:
        vcToggleSnapToRulers(frame, ws);
        return TRUE;
    case CLR_CMD_EDIT:
        editPalette(frame, ws);
        return TRUE;
    case CLR_CMD_OPEN:
    case CLR_CMD_RESET:
    case CLR_CMD_PICK:
        clrPaletteCommand(frame, id);
        if (ws)
            pvBuildPagePalette(ws);
        return TRUE;
    case CLR_CMD_SAVE:
        clrPaletteCommand(frame, id);
        return TRUE;
    case 656:
        optRunOptionsSheet(frame);
        return TRUE;
    case 716:
        if (ws)
            fcAutoSaveDocument(ws);
        return TRUE;
    case 790:
        openFromAtom(frame, client, (ATOM)lParam);
        return TRUE;
    case 799:
        utShellOpen(frame, kHomePage);
        return TRUE;
    case 800:
    case 802:
    case 804:
    case 806:
    case 807:
        utHelpMenuCommand(frame, (UINT)id);
        return TRUE;
    case 883:
        // A document was attached (New, Open, a file taken into the
        // untouched first window): the menu, then the standard bar's page
        // buttons for the page it shows.
        appSwitchReportMenu(frame, ws);
        if (ws)
            pvUpdatePageButtons(ws);
        return TRUE;
    case 914:
        appForgetToolWindow(frame, (HWND)lParam);
        return TRUE;
    case 920:
        if (ws)
            return FALSE;
        cmdCommandEntry(frame);
        return TRUE;
    case 947:
        appSetFrameChild(frame, nullptr);
        return TRUE;
    case 961:
    case 962:
        if (ws)
            *result = (int)SendMessageA(ws, WM_COMMAND, wParam, lParam);
        return TRUE;
    case 981:
        appShowTipOfDay(frame, TRUE);
        return TRUE;
    case 1120:
        if (dlgHistory(frame, path))
            fcOpenDocument(frame, path);
        return TRUE;
    case 1121:
        if (utMessageBox(frame, "Are you sure you want to clear the history?",
                         MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
            utHistoryClear();
        return TRUE;
    case 1123:
        if (!usable(ws))
            return TRUE;
        if (!wsGetDocPath(ws, path))
            utMessageBox(frame, "You must save the current form first.",
                         MB_OK | MB_ICONINFORMATION);
        else
            appLaunchReader(frame, path);
        return TRUE;
    case 1226:
    case 1227:
    case 1228:
        optSetScrollStyle(frame, ws, id);
        return TRUE;
    case 1231:
        optToggleDocViewBit(frame, ws);
        return TRUE;
    case 2000:
        if (client)
            SendMessageA(client, WM_MDITILE, 0, 0);
        return TRUE;
    case 2001:
        if (client)
            SendMessageA(client, WM_MDICASCADE, 0, 0);
        return TRUE;
    case 2003:
        if (client)
            SendMessageA(client, WM_MDIICONARRANGE, 0, 0);
        return TRUE;
    }
    return FALSE;
}

// Step 6: what still runs without a workspace; TRUE when handled.
BOOL withoutWorkspace(HWND frame, int id)
{
    if (id == 176 || (id >= 181 && id <= 189) || id == 2250 || id == 2251) {
        vcStoreDefaultZoom(id);
        return TRUE;
    }
    switch (id) {
    case 179:
        vcViewScale(frame);
        return TRUE;
    case 518:
        lblEditListSource(frame, "List Source File Editor");
        return TRUE;
    case 519:
        dbEditToken(frame);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

BOOL appCommandWaits(int id)
{
    return listed(kWaiting, id) || wsCommandWaits(id);
}

BOOL appRefuseWhenTooManyDocuments(HWND mdiClient)
{
    if (!mdiClient || appCountDocWindows(mdiClient) < FRAME_MAX_DOCUMENTS)
        return FALSE;
    utErrorBoxId(GetParent(mdiClient), IDS_TOO_MANY_DOCUMENTS);
    return TRUE;
}

int appCountOpenDocuments() { return appCountDocWindows(appGetMdiClient(nullptr)); }

int appOnFrameCommand(HWND frame, HWND client, HWND ws, WPARAM wParam, LPARAM lParam)
{
    int id = (short)LOWORD(wParam);
    if (id == 80)
        return 1;
    if (id >= 860 && id <= 916 && cmdPreFilter(frame, ws, id, lParam))
        return 0;
    int result = 0;
    if (frameCommand(frame, client, ws, id, wParam, lParam, &result))
        return result;
    if (prnCustomDriverCommand(frame, nullptr, 1959, id)) {
        prnCustomDriverCommand(ws ? ws : frame, GetMenu(frame), id, 0);
        return 0;
    }
    if (ws)
        return (int)SendMessageA(ws, WM_COMMAND, wParam, lParam);
    if (id == 975)
        cmdFrameCommand975(frame);
    return withoutWorkspace(frame, id) ? 0 : 1;
}

// ---- the report menu -------------------------------------------------------------------------

namespace {
HMENU g_normalMenu = nullptr;
}

void appResetFrameCmdModule() { g_normalMenu = nullptr; }

void appSetNormalMenu(HMENU menu) { g_normalMenu = menu; }

BOOL appSwitchReportMenu(HWND frame, HWND ws)
{
    HMENU current = GetMenu(frame);
    // A remembered menu that no longer exists is never set back: the frame
    // would be left without a menu bar and its live menu destroyed.
    if (!g_normalMenu || !IsMenu(g_normalMenu))
        g_normalMenu = current;
    if (ws && dbIsReportWorkspace(ws)) {
        if (current != g_normalMenu)
            return FALSE;
        HMENU report = LoadMenuA((HINSTANCE)GetWindowLongPtrA(frame, GWLP_HINSTANCE), "qm_rep");
        if (!report)
            return FALSE;
        appSetFrameMenu(frame, report);
        return TRUE;
    }
    if (current == g_normalMenu)
        return FALSE;
    appSetFrameMenu(frame, g_normalMenu);
    if (current)
        DestroyMenu(current);
    return TRUE;
}

// ---- handed-over files ------------------------------------------------------------------------

void appOpenHandedOverFile(HWND frame, const char *path)
{
    if (!appRefuseWhenTooManyDocuments(appGetMdiClient(frame)) && path && *path) {
        std::string name(path, strnlen(path, 520));
        if (ffExists(name.c_str()))
            fcOpenDocument(frame, name.c_str());
        else if (name.size() >= UT_PATH_SIZE)
            // The file layer cannot reach a path this long: say so rather than
            // dropping it.
            ffReportError(frame, name.c_str(), FE_CANNOT_OPEN);
    }
    winBringToFront(frame);
}
