// Stand-ins until the note object (type 297) comes: its alignment word.
#pragma once
#include "support/qmwin.h"

// The note's AlignWord; FALSE when it has none to give.
BOOL noteGetAlign(MemHandle note, uint16_t *align);
void noteSetAlign(MemHandle note, uint16_t align);
