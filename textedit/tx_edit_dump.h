// The text editor's text as the stream dump renders it (text/tx_dump.h),
// for the editor's debug command.
#pragma once
#include "support/qmwin.h"

// The editor's whole text with its caret, appended to the data viewer.
void txDumpEditText();
