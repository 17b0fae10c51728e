// Stand-in: the push button's property dialog is not built yet (Cancel).
#include "links/hc_standins.h"

int hcEditButtonProps(HWND, MemHandle *) { return 0; }
