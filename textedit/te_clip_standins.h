// The text editor's clipboard services that the object clipboard uses.
#pragma once
#include "support/qmwin.h"

// The "QM32Text" format id (registered once); 0 when it cannot be.
UINT teRegisterClipFormat();
// Puts a whole text object's text on the open, emptied clipboard:
// "QM32Text" (its base format codes, then its stream) and CF_TEXT.
void teCopyObjectText(MemHandle object);
