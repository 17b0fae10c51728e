// Stand-in for the table menus, which are not in the program yet (nor is
// the table editor that reads its selection kinds). Missing: every rule of
// tbInitMenuPopup; the pop-ups are left as they are.
#include "table/tb_menu_standins.h"

void tbInitMenuPopup(HWND, HMENU) {}
