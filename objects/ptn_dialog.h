// The pattern library as the pattern dialog and new pages see it: the
// library file name held while the program runs, and the default pattern
// taken from the library.
#pragma once
#include "support/qmwin.h"
#include "objects/fil_fill.h"

// The bare library name, used when none is given.
extern const char kPtnDefaultLibraryName[];

// Takes over a string handle with the library file's path (freeing the
// name held before); no handle sets the bare name "qmptn.tvl".
void ptnSetLibraryName(MemHandle name);
// Frees the held name; there is no library afterwards.
void ptnFreeLibraryName();
// Copies the held name into a buffer of `size` bytes; empty and 0 when none
// is held.
BOOL ptnGetLibraryName(char *buffer, uint32_t size);
// The blank pattern, replaced by the library's first pattern when that one
// has size 24, width 8 and height 8.
void ptnDefaultFromLibrary(PatternFill *pattern);
