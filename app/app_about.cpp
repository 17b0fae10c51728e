#include "app/app_about.h"
#include "app/app_start.h"
#include "app/app_version.h"
#include "support/settings_reg.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include <string>

namespace {
AppExecHook g_exec = nullptr;
}

void appSetExecHook(AppExecHook hook) { g_exec = hook; }

void appAboutBox(HWND frame)
{
    char version[48], program[UT_PATH_SIZE], home[UT_PATH_SIZE];
    verFormatText(version, sizeof(version));
    setGetProgramDir(program);
    setGetHomeDir(home);
    std::string text = std::string(appGetLongTitle()) + "\r\n" + version + "  "
                       + verGetBuildText() + "\r\n\r\nProgram folder: " + program
                       + "\r\nHome folder: " + home;
    utMessageBox(frame, text.c_str(), MB_OK | MB_ICONINFORMATION);
}

void appShowReaderInfo(HWND owner)
{
    utMessageBox(owner,
                 "The reader displays, reads and prints the files made with this program, "
                 "so that drawings can be handed to others for reading and printing.",
                 MB_OK | MB_ICONINFORMATION);
}

char *appGetReaderPath(char *buffer) { return setGetProgramFilePath(buffer, "rvpo.exe"); }

char *appReaderCommandLine(char *buffer, int size, const char *file)
{
    char reader[UT_PATH_SIZE];
    std::string line = appGetReaderPath(reader);
    if (file && *file) {
        char path[UT_PATH_SIZE];
        if (utIsAbsolutePath(file)) {
            utStrCopyN(path, file, sizeof(path));
        } else {
            char home[UT_PATH_SIZE];
            utJoinPath(path, setGetHomeDir(home), file);
        }
        line += " ";
        line += path;
    }
    if (size > 0)
        utStrCopyN(buffer, line.c_str(), (uint32_t)size);
    return buffer;
}

BOOL appLaunchReader(HWND frame, const char *file)
{
    char line[2 * UT_PATH_SIZE + 2];
    appReaderCommandLine(line, sizeof(line), file);
    if (frame)
        SendMessageA(frame, WM_KILLFOCUS, 0, 0);
    if (g_exec)
        g_exec(line, SW_SHOWNORMAL);
    else
        WinExec(line, SW_SHOWNORMAL);
    return TRUE;
}
