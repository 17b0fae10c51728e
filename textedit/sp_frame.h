// The spelling commands of the frame's Spell menu: 727 custom dictionaries
// and 728 dictionary language. The spelling engine layer comes later.
#pragma once
#include "support/qmwin.h"

void spCmdCustomDictionary(HWND frame);
void spCmdLanguage(HWND frame);
