// Stand-in: the editing commands have no bullet insertion yet.
#pragma once
#include "support/qmwin.h"

// 476 Bullet (F6): the bullet dialog's symbol at the caret; 1 when inserted.
int teInsertBullet(HWND window);
