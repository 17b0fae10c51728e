#include "textedit/sp_frame.h"

void spCmdCustomDictionary(HWND) {}
void spCmdLanguage(HWND) {}
