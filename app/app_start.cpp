// Start-up and the main loop.
#include "app/app_start.h"
#include "app/app_frame.h"
#include "app/app_frame_bars.h"
#include "app/app_frame_docs.h"
#include "app/app_hooks.h"
#include "support/app_frame_globals.h"
#include "app/app_menu_state.h"
#include "app/app_toolbars.h"
#include "support/app_ui_state.h"
#include "app/app_version.h"
#include "app/app_welcome.h"
#include "app/fc_autosave.h"
#include "app/fc_import_export.h"
#include "controls/ruler.h"
#include "app/mb_msgbar.h"
#include "support/settings_reg.h"
#include "app/setup_file.h"
#include "model/setup_record.h"
#include "commands/clip_formats.h"
#include "forms/fld_types.h"
#include "text/tx_types.h"
#include "table/tb_types.h"
#include "controls/btnlist.h"
#include "controls/ctl_classes.h"
#include "controls/ctl_tipofday.h"
#include "controls/gw_grid.h"
#include "controls/pal_file.h"
#include "controls/pal_window.h"
#include "library/olb_classes.h"
#include "objects/ptn_dialog.h"
#include "links/lnk_types.h"
#include "links/pgw_window.h"
#include "objects/cal_popup.h"
#include "objects/sh_arrow.h"
#include "objects/sh_inset.h"
#include "objects/sh_3dtext.h"
#include "commands/t3d_text.h"
#include "text/tx_draw_object.h"
#include "text/tx_object.h"
#include "model/ws_document.h"
#include "objects/obj_types.h"
#include "tools/ep_factory.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "support/win_data.h"
#include "support/win_flash.h"
#include "support/win_window.h"
#include "textedit/te_font.h"
#include "views/dw_window.h"
#include "views/fs_fullscreen.h"
#include "views/ws_window.h"
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {
char g_className[32] = "ridevi";
char g_longTitle[96] = "";
char g_programPath[UT_PATH_SIZE] = "";
char g_tipsFile[32] = "iwtips.txt";
BOOL g_firstInstance = TRUE;
HACCEL g_accel = nullptr;

// The command line without one pair of enclosing quotes.
std::string unquoted(const char *cmdLine)
{
    std::string s = cmdLine ? cmdLine : "";
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        s = s.substr(1, s.size() - 2);
    return s;
}

// The text object a 3D Text draws through: its frame and header, and its
// string as plain text.
MemHandle appMake3DTextObject(HWND window, const RECT *frame, const void *header, const char *text)
{
    return txNewPlainTextObject(window, frame, static_cast<const TextHeader *>(header), text);
}
}  // namespace

const char *appGetClassName() { return g_className; }
const char *appGetLongTitle() { return g_longTitle; }
const char *appGetProgramPath() { return g_programPath; }
BOOL appIsFirstInstance() { return g_firstInstance; }
void appSetTipsFileName(const char *name) { utStrCopyN(g_tipsFile, name, sizeof(g_tipsFile)); }
const char *appGetTipsFileName() { return g_tipsFile; }
void appSetAccelerators(HACCEL table) { g_accel = table; }
HACCEL appGetAccelerators() { return g_accel; }

// ---- the single instance -----------------------------------------------------------

HWND appFindRunningFrame(const char *className)
{
    HWND frame = FindWindowA(className, nullptr);
    if (frame)
        winBringToFront(frame);
    return frame;
}

BOOL appSendFileAtom(HWND frame, ATOM atom)
{
    if (!atom)
        return FALSE;
    SendMessageA(frame, WM_COMMAND, 790, (LPARAM)atom);
    return TRUE;
}

BOOL appHandOver(HWND running, const char *path)
{
    if (!path || !*path)
        return TRUE;
    if (strlen(path) <= APP_ATOM_MAX) {
        if (ATOM atom = GlobalAddAtomA(path))
            return appSendFileAtom(running, atom);
    }
    // A global atom holds at most 255 characters: the path goes whole.
    COPYDATASTRUCT data = {};
    data.dwData = APP_COPYDATA_OPEN_FILE;
    data.cbData = (DWORD)strlen(path) + 1;
    data.lpData = (void *)path;
    if (SendMessageA(running, WM_COPYDATA, 0, (LPARAM)&data))
        return TRUE;
    ffReportError(nullptr, path, FE_CANNOT_OPEN);
    return FALSE;
}

BOOL appPostOpenFile(HWND frame, const char *path)
{
    if (!path || !*path)
        return FALSE;
    MemHandle h = utHandleFromString(path);
    if (!h)
        return FALSE;
    if (!PostMessageA(frame, WM_COMMAND, 111, (LPARAM)h)) {
        utFreeHandle(h);
        return FALSE;
    }
    return TRUE;
}

BOOL appSendOpenFile(HWND frame, const char *path)
{
    if (!path || !*path)
        return FALSE;
    SendMessageA(frame, WM_COMMAND, 136, (LPARAM)path);
    return TRUE;
}

int appAnsiCommandLine(const char *ansi, const WCHAR *wide, char *out, int outSize)
{
    if (!out || outSize <= 0)
        return 0;
    utStrCopyN(out, ansi ? ansi : "", (uint32_t)outSize);
    if (!wide)
        return (int)strlen(out);
    // Past the program's name (quoted or up to a blank) and the blanks after it.
    const WCHAR *p = wide;
    if (*p == '"') {
        for (++p; *p && *p != '"'; ++p) {}
        if (*p)
            ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    int n = lstrlenW(p);
    while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == '\t'))
        --n;
    if (n >= 2 && p[0] == '"' && p[n - 1] == '"') {
        ++p;
        n -= 2;
    }
    if (n <= 0)
        return (int)strlen(out);
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, p, n, nullptr, 0, nullptr, &lossy);
    if (!lossy)
        return (int)strlen(out);
    std::vector<WCHAR> path(p, p + n);
    path.push_back(0);
    WCHAR shortPath[UT_PATH_SIZE];
    DWORD m = GetShortPathNameW(path.data(), shortPath, UT_PATH_SIZE);
    if (m == 0 || m >= UT_PATH_SIZE)
        return (int)strlen(out);
    std::vector<char> text(outSize);
    int k = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, shortPath, -1, text.data(),
                                outSize, nullptr, &lossy);
    if (k > 0 && !lossy)
        utStrCopyN(out, text.data(), (uint32_t)outSize);
    return (int)strlen(out);
}

// ---- window classes ----------------------------------------------------------------

ATOM appRegisterFrameClass(HINSTANCE instance, const char *className, const char *menuName,
                           WNDPROC proc)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    if (ATOM atom = (ATOM)GetClassInfoExA(instance, className, &wc))
        return atom;
    char smallName[40];
    snprintf(smallName, sizeof(smallName), "%s_S", className);
    wc.style = 0;
    wc.lpfnWndProc = proc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = FRAME_WINDOW_BYTES;
    wc.hInstance = instance;
    wc.hIcon = (HICON)LoadImageA(instance, className, IMAGE_ICON, 0, 0, 0);
    wc.hIconSm = (HICON)LoadImageA(instance, smallName, IMAGE_ICON, 0, 0, 0);
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszMenuName = (menuName && *menuName) ? menuName : className;
    wc.lpszClassName = className;
    return RegisterClassExA(&wc);
}

void appRegisterTypes()
{
    // Each folder enters the types it owns; the order is the floors' order.
    objRegisterTypes();   // shapes, pictures, rules and the other drawn objects
    txRegisterTypes();    // text objects and Labels
    lnkRegisterTypes();   // image-file objects
    fldRegisterTypes();   // form controls and fields
    tbRegisterTypes();    // tables and report tables
}

BOOL appRegisterClasses(HINSTANCE instance, const char *className)
{
    char menu[UT_PATH_SIZE];
    if (!appRegisterFrameClass(instance, className, appGetMenuLanguageName(menu), FrameWndProc))
        return FALSE;
    return dwRegisterClass(instance) && wsRegisterClass(instance)
           && ctlRegisterUtilClass(instance) && mbRegisterClass(instance)
           && clrRegisterClasses(instance) && calWinRegister(instance)
           && rulRegisterClasses(instance) && olbRegisterViewClass(instance)
           && ogwRegisterClass(instance) && ovRegisterClass(instance)
           && gwRegisterClasses(instance) && fsRegisterClass(instance)
           && pgwRegisterClass(instance) && winRegisterDataClasses(instance)
           && ctlRegisterBmpButton(instance) && ctlRegisterObjButton(instance)
           && ctlRegisterFileButton(instance) && ctlRegisterOlbObjButton(instance)
           && ctlRegisterAnimCtrl(instance) && ctlRegisterImageFrame(instance)
           && winRegisterFlashText(instance) && ctlRegisterStaticText(instance)
           && blRegisterClass(instance);
}

// ---- the frame -----------------------------------------------------------------------

HWND appCreateFrame(HINSTANCE instance, const char *className, const char *title,
                    BOOL maximised, int x, int y, int width, int height, int, int show)
{
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    if (maximised) {
        style |= WS_MAXIMIZE;
        x = y = 0;
    }
    HWND frame = CreateWindowExA(WS_EX_ACCEPTFILES | WS_EX_WINDOWEDGE, className, title, style,
                                 x, y, width, height, nullptr, nullptr, instance, nullptr);
    if (frame)
        ShowWindow(frame, maximised ? SW_MAXIMIZE : show);
    return frame;
}

int appWelcomeCommand(int answer)
{
    switch (answer) {
    case 0: return 100;
    case 1: return 96;
    case 2:
    case 5: return 101;
    case 3: return 170;
    case 4: return 121;
    default: return 0;
    }
}

void appWelcome(HWND frame, const char *appName)
{
    int showAgain = 1;
    int answer = appHelloDialog(frame, appName, &showAgain, setGetOptionBit5());
    if (int command = appWelcomeCommand(answer))
        PostMessageA(frame, WM_COMMAND, command, 0);
    if (!showAgain)
        setPutShowWelcome(FALSE);
}

void appShowTipOfDay(HWND frame, BOOL onDemand)
{
    int32_t stored[2] = {1, 0};
    BOOL known = setGetNumberList("TipOfDay", stored, 2);
    if (!known)
        stored[0] = 1, stored[1] = 0;
    if (!onDemand && known && stored[0] == 0)
        return;
    char tips[UT_PATH_SIZE];
    setGetProgramFilePath(tips, g_tipsFile);
    int show = stored[0] ? 1 : 0, index = stored[1];
    if (!ctlTipOfDay(frame, tips, &show, &index))
        return;
    char text[32];
    snprintf(text, sizeof(text), "%d %d", show, index);
    setPutString("TipOfDay", text);
}

HWND appInit(HINSTANCE instance, BOOL noPrevInstance, const char *appName, const char *title,
             const char *className, HWND *mdiClient, const char *cmdLine, int show)
{
    appInstallHooks();
    if (mdiClient)
        *mdiClient = nullptr;
    std::string command = unquoted(cmdLine);
    utStrCopyN(g_className, className, sizeof(g_className));
    utSetAppName(nullptr, title);

    if (HWND running = appFindRunningFrame(className)) {
        appHandOver(running, command.c_str());
        return nullptr;
    }

    char version[48];
    snprintf(g_longTitle, sizeof(g_longTitle), "%s %s", appName,
             verFormatText(version, sizeof(version)));
    DWORD n = GetModuleFileNameA(nullptr, g_programPath, sizeof(g_programPath));
    if (n == 0 || n >= sizeof(g_programPath))
        g_programPath[0] = 0;
    char folder[UT_PATH_SIZE], name[UT_PATH_SIZE];
    utSplitFolderName(g_programPath, folder, name);
    setInitPaths(appName, nullptr, folder[0] ? folder : nullptr);
    g_firstInstance = noPrevInstance;
    appSetMenuLanguageId((int)setGetNumber("MenuLanguage_id"));

    char path[UT_PATH_SIZE];
    ptnSetLibraryName(utHandleFromString(setGetProgramFilePath(path, "qmptn.tvl")));
    txSetDefaultFont("Arial", 12);
    clipRegisterFormats("QM32OBJFormat");
    appRegisterTypes();
    shSetObjectFactory(epShapeFactory);   // shape codes become objects through the factory
    {
        // Page insets show other pages of their window's document.
        const ShInsetHooks insets = {wsGetDocument, pvGetCurrentPageIndex};
        shSetInsetHooks(&insets);
        // 3D Text draws through a text object made for the drawing.
        const Sh3DTextHooks text3d = {t3dGetText, t3dMargin, t3dCalcExtent, appMake3DTextObject,
                                      txDrawObjectH};
        sh3DTextSetHooks(&text3d);
    }
    if (setGetString("ImportDir", path) > 0 && path[0])
        fcPutImportPath(path);
    if (setGetString("ExportDir", path) > 0 && path[0])
        fcPutExportPath(path);
    clrSetStartupPaletteFileName();
    setLoadSetupFile(setGetHomeFilePath(path, "~qmsetup"));

    if (noPrevInstance && !appRegisterClasses(instance, className))
        return nullptr;

    BOOL maximised = setGetFrameMaximized();
    int x, y, width, height;
    setGetFrameRect(&x, &y, &width, &height);
    appSetTitle(title);
    HWND frame = appCreateFrame(instance, className, title, maximised, x, y, width, height, 0,
                                show);
    if (!frame)
        return nullptr;
    HWND client = appGetMdiClient(frame);
    if (mdiClient)
        *mdiClient = client;
    if (!client)
        return frame;

    utSetAppName(frame, title);
    appShowTipOfDay(frame, FALSE);
    BOOL reopened = FALSE;
    fcInitAutoSave(frame, FC_AUTOSAVE_TIMER, &reopened);
    // A document named on the command line is opened as the file commands
    // open one: a path that cannot be opened gets their message, and the
    // start goes on as without one.
    BOOL opened = FALSE;
    if (!command.empty()) {
        appSendOpenFile(frame, command.c_str());
        opened = appFindDocWindowByFile(frame, command.c_str()) != nullptr;
    }
    if (!reopened && !opened) {
        if (setGetShowWelcome())
            appWelcome(frame, appName);
        else
            PostMessageA(frame, WM_COMMAND, 100, 0);
    }
    appRestoreToolWindows(frame);
    COLORREF custom[16];
    setGetCustomColors(custom);
    clrSetCustomColors(custom);
    return frame;
}

// ---- the loop ---------------------------------------------------------------------------

void appPumpMessage(MSG *msg)
{
    HWND client = appGetMdiClient(nullptr);
    if (client && TranslateMDISysAccel(client, msg))
        return;
    HWND frame = appGetFrameWindow();
    if (frame && g_accel && TranslateAcceleratorA(frame, g_accel, msg))
        return;
    TranslateMessage(msg);
    DispatchMessageA(msg);
}

int appRunMessageLoop()
{
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        appPumpMessage(&msg);
    return (int)msg.wParam;
}
