// Stand-in for the pop-up menus module, which is not in the program yet.
// Missing: popFillMenuState's rules (items by the object's fill kinds, the
// check mark of its fill kind or the page's default); the Fill pop-up is
// left as it is.
#include "commands/pop_menus_standins.h"

void popFillMenuState(HWND, HMENU) {}
