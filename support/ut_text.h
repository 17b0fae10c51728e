// Number-text tests and word splitting.
#pragma once
#include "support/qmwin.h"

// -1 for a null or empty text; 0 when it holds a blank; otherwise 1 when it
// is an optional "+" or "-" followed only by digits (a lone sign counts),
// else 0.
int utIsIntegerText(const char *text);
// Splits the text in place at blanks and commas (a run counts as one) into
// at most n words; the array is cleared first. Returns the number of words.
int utSplitWords(char *text, char **words, int n);
