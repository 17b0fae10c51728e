#include "support/ut_shell.h"
#include "support/ut_msg.h"
#include <shellapi.h>
#include <string>
#include <strings.h>

namespace {
UtShellOpenHook g_open = nullptr;

BOOL shellOpen(HWND owner, const char *file, int show)
{
    utNoteHandedOut();
    const INT_PTR r = g_open ? g_open(owner, file, show)
                             : (INT_PTR)ShellExecuteA(owner, "open", file, nullptr, nullptr, show);
    return r > 32;
}
}  // namespace

void utSetShellOpenHook(UtShellOpenHook hook) { g_open = hook; }

BOOL utShellOpen(HWND owner, const char *address)
{
    if (!address || !*address)
        return FALSE;
    return shellOpen(owner, address, SW_SHOWNORMAL);
}

BOOL utShellMailTo(HWND owner, const char *address)
{
    static const char kPrefix[] = "mailto:";
    const size_t prefixLength = sizeof kPrefix - 1;
    std::string target = kPrefix;
    if (address) {
        if (strncasecmp(address, kPrefix, prefixLength) == 0)
            address += prefixLength;
        target += address;
    }
    return shellOpen(owner, target.c_str(), SW_SHOWDEFAULT);
}
