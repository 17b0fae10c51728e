// Stand-in: the spelling check is not in the program yet; it cannot start.
#include "textedit/sp_check.h"

int spCheckEditedText(HWND, int) { return 0; }
