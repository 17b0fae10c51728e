// Stand-in: the hyperlink dialogs are not in the program yet; the commands
// change nothing.
#include "textedit/te_hyper.h"

int teCmdHyperLink(HWND, int) { return 0; }
