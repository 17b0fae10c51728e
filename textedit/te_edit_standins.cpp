// Stand-in: the editing commands have no bullet insertion yet (the bullet
// dialog is not in the program); nothing is inserted.
#include "textedit/te_edit_standins.h"

int teInsertBullet(HWND) { return 0; }
