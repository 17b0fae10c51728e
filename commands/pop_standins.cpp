// Stand-in: the object context menus (kinds 0 to 10) are not in the
// program yet. Each call is only recorded, so that the select mode's choice
// of a menu can be seen; no menu is shown.
#include "commands/pop_standins.h"

namespace {
int g_calls = 0;
PopObjectMenuCall g_last = {};
}  // namespace

void popObjectMenu(HWND ws, LPARAM lParam, int kind)
{
    ++g_calls;
    g_last = {ws, lParam, kind};
}

int popGetObjectMenuCalls(PopObjectMenuCall *last)
{
    if (last)
        *last = g_last;
    return g_calls;
}

void popResetObjectMenuCalls()
{
    g_calls = 0;
    g_last = {};
}
