// Small string edits and searches on 8-bit, zero-terminated texts, text
// lines, and the splitting of number lists.
#pragma once
#include "support/qmwin.h"

// Address of the first / last occurrence of the character; null when it is
// absent or the text is null.
const char *utStrChr(const char *text, char ch);
const char *utStrRChr(const char *text, char ch);
inline char *utStrChr(char *text, char ch)
{
    return const_cast<char *>(utStrChr(static_cast<const char *>(text), ch));
}
inline char *utStrRChr(char *text, char ch)
{
    return const_cast<char *>(utStrRChr(static_cast<const char *>(text), ch));
}
// Reverses the text in place; returns it.
char *utStrReverse(char *text);
// Inserts the string at a position 0 .. length of the text, in a buffer of
// bufferSize bytes; returns the text. A position outside that range leaves
// the text unchanged and returns it; when the result and its terminator
// would not fit in the buffer the text is left unchanged and the result is
// null.
char *utInsertString(char *text, const char *insert, int position, uint32_t bufferSize);
// Moves the rest of the text, terminator included, up by one and stores the
// character at the index (0 .. length), in a buffer of bufferSize bytes. 1
// when inserted; 0, with the text unchanged, for an index past the end or
// when the longer text would not fit.
int utStrInsertChar(char *text, int index, char ch, uint32_t bufferSize);
// Makes the text empty; returns 0.
int utClearString(char *text);
// atoi of the first 20 characters / atof of the first 31 characters.
int utAtoi20(const char *text);
double utAtof31(const char *text);
// Splits the text at any of the delimiter characters (runs of delimiters
// count as one, empty pieces are skipped) and converts the first n pieces
// with atoi into the array. TRUE when n pieces were found; FALSE for a null
// or empty text or delimiter set. The text is not changed and no state is
// kept between calls.
BOOL utParseIntList(const char *text, const char *delimiters, int16_t *values, int n);
// The line at the start of the text: lineLen and consumed receive the
// number of characters before the first CR, LF or NUL. A CR adds one to
// consumed and is skipped, and an LF right after it is skipped without
// being counted; an LF that ends a line alone counts and is skipped like
// a CR. Returns the start of the next line, or null when nothing
// follows.
const char *utNextTextLine(const char *text, int *lineLen, int *consumed);
