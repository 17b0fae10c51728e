#include "support/ut_shell.h"
#include "support/ut_msg.h"
#include <shellapi.h>

BOOL utShellOpen(HWND owner, const char *address)
{
    if (!address || !*address)
        return FALSE;
    utNoteHandedOut();
    return (INT_PTR)ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL) > 32;
}
