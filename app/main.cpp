// Program entry point: records the version texts, runs start-up and then
// the one message loop of the process until WM_QUIT.
#include "app/app_start.h"
#include "app/app_version.h"
#include "app/settings_reg.h"
#include "support/ut_path.h"
#include "textedit/help_file.h"
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int show)
{
    appSetTipsFileName("iwtips.txt");
    verSetTexts("250", "Build 010", "3.0");
    HWND client = nullptr;
    HWND frame = appInit(instance, previous == nullptr, "Quillmark Draw", "Quillmark Draw",
                         "ridevi", &client, cmdLine, show);
    if (!frame)
        return 0;
    char help[UT_PATH_SIZE];
    utSetHelpFile(setGetProgramFilePath(help, "ridevi.chm"));
    utUseHtmlHelp();
    InitCommonControls();
    appSetAccelerators(LoadAcceleratorsA(instance, "ridevi"));
    return appRunMessageLoop();
}
