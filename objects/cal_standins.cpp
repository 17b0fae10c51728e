// Stand-in: the calendar dialog is not in the program yet. It answers
// Cancel and changes nothing.
#include "objects/cal_standins.h"

int calEditDialog(HWND, MemHandle, int *) { return 0; }
