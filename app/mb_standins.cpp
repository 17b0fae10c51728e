// Stand-in: the message bar's object position cell, its font boxes and the
// bitmap menu's states are not in the program yet; nothing is shown or
// changed.
#include "app/mb_standins.h"

void mbShowObjectPos(int32_t, int32_t) {}
void appInitBitmapMenu(HMENU) {}
void mbShowFont(const LOGFONTA *) {}
