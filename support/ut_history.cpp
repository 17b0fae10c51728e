// The file history log.
#include "support/ut_history.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_menu.h"
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {
bool g_enabled = true;
MemHandle g_logPath = 0;

std::string keptPath()
{
    MemLock<char> p(g_logPath);
    return p ? std::string(p.get()) : std::string();
}

// The current date and time as "mm/dd/yy hh:mm:ss AM" (12-hour clock; hour
// 0 stays 0 and 12 stays 12, PM from noon on).
std::string nowText()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    int hour = t.wHour > 12 ? t.wHour - 12 : t.wHour;
    char text[64];
    snprintf(text, sizeof(text), "%02d/%02d/%02d %02d:%02d:%02d %s", t.wMonth, t.wDay,
             t.wYear % 100, hour, t.wMinute, t.wSecond, t.wHour >= 12 ? "PM" : "AM");
    return text;
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

BOOL utHistoryPick(HWND owner, char *path)
{
    path[0] = 0;
    std::vector<std::string> paths;
    std::string log = keptPath();
    if (MemHandle text = log.empty() ? 0 : ffReadFileText(log.c_str(), FALSE)) {
        {
            MemLock<char> p(text);
            const char *at = p ? p.get() : "";
            while (*at) {
                const char *end = at + strcspn(at, "\r\n");
                std::string line(at, end);
                std::string file = utHistoryLinePath(line.c_str());
                if (!file.empty())
                    paths.push_back(file);
                at = end + strspn(end, "\r\n");
            }
        }
        utFreeHandle(text);
    }
    if (paths.empty()) {
        utMessageBox(owner, "No items in the history list.", MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    // The most recent first, at most 30 of them.
    HMENU menu = CreatePopupMenu();
    const UINT kFirst = 1;
    UINT id = kFirst;
    for (auto it = paths.rbegin(); it != paths.rend() && id < kFirst + 30; ++it, ++id)
        AppendMenuA(menu, MF_STRING, id, it->c_str());
    POINT pt;
    GetCursorPos(&pt);
    UINT chosen = winTrackPopup(menu, TPM_RETURNCMD | TPM_NONOTIFY, pt.x, pt.y, owner);
    DestroyMenu(menu);
    if (chosen < kFirst || chosen >= id)
        return FALSE;
    utStrCopyN(path, paths[paths.size() - 1 - (chosen - kFirst)].c_str(), 260);
    return TRUE;
}
