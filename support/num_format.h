// Number display formats: a double and a 32-bit style word turned into the
// text a form field shows.
//
// The style word, byte by byte from the lowest: display style 1-12 (0 and
// other values: fixed with 2 decimals); decimals (2 when the style byte is
// 0; at most 24); suffix symbol code; prefix symbol code. Symbol codes: 1 "$",
// 2 "#", 3 "*", 4 "~", 5 "%", any other none.
//
// Styles: 1 integer; 2 hexadecimal of the rounded integer; 3 fixed; 4
// scientific (two exponent digits at least); 5 and 11 fixed with thousands
// separators (0 decimals become 2); 6 integer with separators; 7, 8, 9 fixed
// with 2 decimals; 10 as 5 with comma and point swapped; 12 as 5 with a
// negative value in parentheses, its minus sign kept.
#pragma once
#include "support/qmwin.h"

enum : uint32_t { NUM_MAX_DECIMALS = 24 };

// Writes prefix, number and suffix into the buffer of `size` bytes; 1 when
// written. A value that is not finite, or a text that would not fit, gives
// the empty text and 0.
int numFormatValue(char *dst, uint32_t size, double value, uint32_t style);
// Inserts commas into a number text in place (the buffer of `size` bytes
// must hold the longer text; FALSE, unchanged, when it does not).
BOOL numAddThousands(char *text, uint32_t size);
// Swaps every comma and point.
void numSwapSeparators(char *text);
// The character of a symbol code, 0 for none.
char numSymbolChar(uint8_t code);
// The style word a form field takes when its data kind changes: kinds 4, 5
// give 1; 6, 7 give 515 (fixed, 2 decimals); 10, 11, 12 give 8 (the picture
// fit mode); 60 gives 25; every other kind 0.
uint32_t numDefaultStyleForKind(uint16_t kind);
