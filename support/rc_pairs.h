// Texts of name-value items: one item per line (CR, LF or CR LF), each
// either a name alone or a name and a value joined by "::".
#pragma once
#include "support/qmwin.h"

// A delimited list (rcListAppend) of the names of all non-empty lines: the
// part before "::", or the whole line. 0 when there is none.
MemHandle rcNamesFromPairs(const char *text, char delim);
// The value (the text after the first "::") of the first line whose name
// equals the name, case-sensitively, in a new handle; 0 when no line
// matches, the matching line has no "::" or its value is empty.
MemHandle rcValueOfPair(const char *text, const char *name);
// The text with its "::" separators taken out and a CR LF in place of the
// last one (the pieces before it joined without separator); a text without
// "::" gets a CR LF in front. 0 for an empty text.
MemHandle rcPairToLines(const char *text);
// Adds to the list box, for every item of the text's delimited list (the
// callers pass LF) that contains "::", the part before it.
void winListFillPairNames(HWND listBox, MemHandle text, char delim);
// The first item of the text's delimited list whose part before "::"
// equals the name, ignoring case, as a new handle holding the whole item;
// 0 when none.
MemHandle rcFindPairLine(MemHandle text, const char *name, char delim);
