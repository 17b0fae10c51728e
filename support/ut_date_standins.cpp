// Stand-in: the program's table of date and time formats is not in the
// program yet. The lists offer a few fixed formats of the current time
// instead of the nineteen format codes.
#include "support/ut_date_standins.h"
#include "support/dlg_select.h"
#include "support/ut_mem.h"
#include <stdio.h>
#include <string>

namespace {

MemHandle pick(HWND owner, const std::string &lines)
{
    MemHandle items = utHandleFromString(lines.c_str());
    if (!items)
        return 0;
    MemHandle chosen = dlgSelectFromListNoSort(owner, "Date and Time", items, '\n');
    utFreeHandle(items);
    return chosen;
}

}  // namespace

MemHandle utSelectDateTimeFormat(HWND owner)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    char b[4][64];
    snprintf(b[0], sizeof b[0], "%d/%d/%04d", t.wMonth, t.wDay, t.wYear);
    snprintf(b[1], sizeof b[1], "%02d:%02d:%02d", t.wHour, t.wMinute, t.wSecond);
    snprintf(b[2], sizeof b[2], "%d/%d/%04d %02d:%02d", t.wMonth, t.wDay, t.wYear, t.wHour,
             t.wMinute);
    snprintf(b[3], sizeof b[3], "%04d-%02d-%02d", t.wYear, t.wMonth, t.wDay);
    return pick(owner, std::string(b[0]) + "\n" + b[1] + "\n" + b[2] + "\n" + b[3]);
}

MemHandle utSelectSqlDateFormat(HWND owner)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    char b[2][64];
    snprintf(b[0], sizeof b[0], "%04d-%02d-%02d", t.wYear, t.wMonth, t.wDay);
    snprintf(b[1], sizeof b[1], "%04d-%02d-%02d %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay,
             t.wHour, t.wMinute, t.wSecond);
    return pick(owner, std::string(b[0]) + "\n" + b[1]);
}
