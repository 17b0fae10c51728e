// Program entry point: records the version texts, runs start-up and then
// the one message loop of the process until WM_QUIT.
#include "app/app_start.h"
#include "app/app_version.h"
#include "support/settings_reg.h"
#include "support/ut_path.h"
#include "support/help_file.h"
#include <commctrl.h>
#include <string.h>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int show)
{
    appSetTipsFileName("iwtips.txt");
    verSetTexts("250", "Build 010", "3.0");
    HWND client = nullptr;
    // A document name outside the ANSI code page comes from the wide line.
    std::vector<char> line((cmdLine ? strlen(cmdLine) : 0) + UT_PATH_SIZE);
    appAnsiCommandLine(cmdLine, GetCommandLineW(), line.data(), (int)line.size());
    HWND frame = appInit(instance, previous == nullptr, "Quillmark Draw", "Quillmark Draw",
                         "ridevi", &client, line.data(), show);
    if (!frame)
        return 0;
    char help[UT_PATH_SIZE];
    utSetHelpFile(setGetProgramFilePath(help, "ridevi.chm"));
    utUseHtmlHelp();
    InitCommonControls();
    appSetAccelerators(LoadAcceleratorsA(instance, "ridevi"));
    return appRunMessageLoop();
}
