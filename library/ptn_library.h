// The pattern library: the file of the user's fill patterns ("qmptn.tvl" in
// the program folder by default). The file is a FileHeader of kind
// "PTNLIB", a u16 pattern count, then one packet per pattern; a pattern
// packet is the 24-byte PatternFill (its length word is the block size 24,
// then width 8, height 8 and the 16 row bytes).
#pragma once
#include "support/qmwin.h"

// The file kind of pattern libraries.
extern const char kPtnLibraryKind[];

// A new handle holding the first pattern packet of the library file, or 0:
// nothing is shown when the file is missing, cannot be opened or is empty;
// a header of another kind or program is reported (file header messages)
// and gives 0, as do a count of 0 and a first packet that cannot be read
// whole within the file.
MemHandle ptnReadFirst(const char *fileName);
