// Stand-in: the "Select Pages To Delete" dialog is not in the program yet.
// It answers as if cancelled, so nothing is deleted.
#include "views/pg_dialogs.h"

int pgDeletePagesDlg(HWND) { return 0; }
