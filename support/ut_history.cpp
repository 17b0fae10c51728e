// The file history log.
#include "support/ut_history.h"
#include "support/ff_file.h"
#include "support/ut_datepick.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/dlg_select.h"
#include <stdio.h>
#include <string.h>
#include <string>

namespace {
bool g_enabled = true;
MemHandle g_logPath = 0;

std::string keptPath()
{
    MemLock<char> p(g_logPath);
    return p ? std::string(p.get()) : std::string();
}

// The current date and time in date format code 12: "mm/dd/yy hh:mm:ss AM".
std::string nowText()
{
    char text[64];
    return utFormatNowByCode(text, 12);
}
}  // namespace

void utHistoryEnable(BOOL on) { g_enabled = on != FALSE; }

void utHistorySetPath(const char *path)
{
    if (!g_enabled)
        return;
    MemHandle copy = (path && *path) ? utHandleFromString(path) : 0;
    utFreeHandle(g_logPath);
    g_logPath = copy;
}

void utHistoryFree() { g_logPath = utFreeHandle(g_logPath); }

void utHistoryClear()
{
    std::string log = keptPath();
    if (!log.empty())
        DeleteFileA(log.c_str());
}

BOOL utHistoryAdd(const char *path)
{
    std::string log = keptPath();
    if (log.empty() || !path || !*path)
        return FALSE;
    std::string line = nowText() + " " + path + "\r\n";
    return ffAppendStringToFile(log.c_str(), line.c_str());
}

const char *utHistoryLinePath(const char *line)
{
    const char *p = line;
    for (int blanks = 0; blanks < 3; ++blanks) {
        p = strchr(p, ' ');
        if (!p)
            return "";
        ++p;
    }
    return p;
}

BOOL dlgHistory(HWND owner, char *path)
{
    path[0] = 0;
    if (!g_enabled)
        return FALSE;
    std::string log = keptPath();
    if (log.empty() || !ffExists(log.c_str())) {
        utMessageBox(owner, "No items in the history list.", MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    MemHandle chosen = dlgSelectFileLine(owner, "History", log.c_str(), FALSE);
    if (chosen) {
        {
            MemLock<char> line(chosen);
            if (line)
                utStrCopyN(path, utHistoryLinePath(line.get()), 260);
        }
        utFreeHandle(chosen);
    }
    return path[0] != 0;
}
