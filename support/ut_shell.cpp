#include "support/ut_shell.h"
#include <shellapi.h>

BOOL utShellOpen(HWND owner, const char *address)
{
    if (!address || !*address)
        return FALSE;
    return (INT_PTR)ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL) > 32;
}
