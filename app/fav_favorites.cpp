#include "app/fav_favorites.h"

int favRunDialog(HWND) { return 0; }
