// The help file the Help menu and help keywords open.
#pragma once
#include "support/qmwin.h"

void utSetHelpFile(const char *path);
void utUseHtmlHelp();
void utFreeHelpFile();
void utGetHelpFile(char *buffer);     // buffer of MAX_PATH bytes; empty when none
BOOL utIsHtmlHelpFile();
