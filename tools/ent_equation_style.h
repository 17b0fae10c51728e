// The equation style of an entry field's type part (the 100 bytes behind
// the name of an entry, list or equation field).
#pragma once
#include "support/qmwin.h"

// The field flags that follow a data type: types 3 and 31 set 0x10 and
// 0x20 and copy the multi-line bit 0x1 into 0x8; type 14 clears 0x10 and
// 0x20 and copies 0x1 into 0x8; every other type sets 0x10 and 0x20 and
// clears 0x1 and 0x8.
uint32_t entStyleFlags(uint32_t flags, uint16_t type);
// On: data type 7, the word at +8 becomes 2 and the flags follow the type;
// off: the word at +8 becomes 1.
void entSetEquationStyle(uint8_t *part, BOOL on);
