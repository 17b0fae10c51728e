// The file history log.
#include "support/ut_history.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include <stdio.h>
#include <string>

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
