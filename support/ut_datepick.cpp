// Date and time format codes and the pick lists of the current time.
#include "support/ut_datepick.h"
#include "support/dlg_select.h"
#include "support/ut_date.h"
#include "support/ut_mem.h"
#include <stdio.h>
#include <string.h>
#include <string>

namespace {

// The C runtime's ctime text without its line end, its three-letter names
// from the name lists.
std::string ctimeText(const struct tm &t)
{
    char day[64], month[64], b[192];
    snprintf(b, sizeof b, "%s %s %2d %02d:%02d:%02d %d", utGetDayShortName(day, t.tm_wday),
             utGetMonthShortName(month, t.tm_mon), t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
             t.tm_year + 1900);
    return b;
}

MemHandle pick(HWND owner, const char *caption, const int *codes, int count)
{
    std::string lines;
    for (int i = 0; i < count; ++i) {
        char b[128];
        utFormatNowByCode(b, codes[i]);
        if (i)
            lines += '\n';
        lines += b;
    }
    MemHandle items = utHandleFromString(lines.c_str());
    if (!items)
        return 0;
    MemHandle chosen = dlgSelectFromListNoSort(owner, caption, items, '\n');
    utFreeHandle(items);
    return chosen;
}

}  // namespace

char *utFormatTime(char *buffer, int hour, int minute, int second, int style)
{
    const int h12 = hour > 12 ? hour - 12 : hour;
    const char *ampm = hour >= 12 ? utPmText() : utAmText();
    switch (style) {
    case 1: sprintf(buffer, "%02d:%02d %s", h12, minute, ampm); break;
    case 3: sprintf(buffer, "%02d:%02d", hour, minute); break;
    case 4: sprintf(buffer, "%02d:%02d:%02d", hour, minute, second); break;
    case 5: sprintf(buffer, "%02d%02d", hour, minute); break;
    case 6: sprintf(buffer, "%02d%02d%02d", hour, minute, second); break;
    default: sprintf(buffer, "%02d:%02d:%02d %s", h12, minute, second, ampm); break;
    }
    return buffer;
}

char *utFormatTimeByCode(char *buffer, time_t value, int code)
{
    struct tm t;
    localtime_r(&value, &t);
    const int yy = t.tm_year % 100, yyyy = t.tm_year + 1900, mm = t.tm_mon + 1, dd = t.tm_mday;
    char time[32], month[64], mon[64];
    utGetMonthName(month, t.tm_mon);
    utGetMonthShortName(mon, t.tm_mon);
    switch (code) {
    case 2: sprintf(buffer, "%02d/%02d/%02d", mm, dd, yy); break;
    case 3: sprintf(buffer, "%02d/%02d/%02d", dd, mm, yy); break;
    case 4: sprintf(buffer, "%d-%s-%02d", dd, mon, yy); break;
    case 5: sprintf(buffer, "%s-%02d", mon, yy); break;
    case 6: sprintf(buffer, "%d %s, %d", dd, month, yyyy); break;
    case 8: sprintf(buffer, "%s, %02d", month, yy); break;
    case 9: strcpy(buffer, ctimeText(t).c_str()); break;
    case 10: {
        // The ctime text with the time of day cut out.
        std::string c = ctimeText(t);
        strcpy(buffer, (c.substr(0, 11) + c.substr(20)).c_str());
        break;
    }
    case 11:
    case 12:
        sprintf(buffer, "%02d/%02d/%02d %s", mm, dd, yy,
                utFormatTime(time, t.tm_hour, t.tm_min, t.tm_sec, code == 11 ? 1 : 2));
        break;
    case 13: sprintf(buffer, "%4d%02d%02d", yyyy, mm, dd); break;
    case 21:
    case 22:
    case 23: utFormatTime(buffer, t.tm_hour, t.tm_min, t.tm_sec, code - 20); break;
    case 24:
    case 103: utFormatTime(buffer, t.tm_hour, t.tm_min, t.tm_sec, 4); break;
    case 25: sprintf(buffer, "%02d/%02d/%4d", mm, dd, yyyy); break;
    case 26: sprintf(buffer, "%02d/%02d/%4d", dd, mm, yyyy); break;
    case 27: sprintf(buffer, "%04d%02d%2d", yyyy, mm, dd); break;
    case 99:
        sprintf(buffer, "%04d-%02d-%02d-%02d.%02d.%02d", yyyy, mm, dd, t.tm_hour, t.tm_min,
                t.tm_sec);
        break;
    case 100:
        sprintf(buffer, "%04d-%02d-%02d %02d:%02d:%02d", yyyy, mm, dd, t.tm_hour, t.tm_min,
                t.tm_sec);
        break;
    case 102: sprintf(buffer, "%04d-%02d-%02d", yyyy, mm, dd); break;
    default: sprintf(buffer, "%s %d, %04d", month, dd, yyyy); break;
    }
    return buffer;
}

char *utFormatNowByCode(char *buffer, int code)
{
    return utFormatTimeByCode(buffer, time(nullptr), code);
}

MemHandle utSelectDateTimeFormat(HWND owner)
{
    static const int kCodes[] = {25, 26, 2, 3, 102, 1, 6, 4, 5, 8,
                                 10, 9, 21, 22, 23, 24, 11, 12, 100};
    return pick(owner, "Date and Time", kCodes, 19);
}

MemHandle utSelectSqlDateFormat(HWND owner)
{
    static const int kCodes[] = {103, 102, 100, 99};
    return pick(owner, "SQL Date and Time Stamp", kCodes, 4);
}
