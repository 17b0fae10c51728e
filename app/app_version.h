// The program's version record: the program version text ("3.0"), the file
// format version text ("250", written into every file header) and the build
// text. WinMain sets them once; everyone else reads them.
#pragma once
#include "support/qmwin.h"

// Records the three texts (each cut to 15 characters); a null text keeps
// the one recorded before.
void verSetTexts(const char *fileFormat, const char *build, const char *program);
// The program version text times 100, rounded half away from zero (300).
int verGetNumber();
// Copies the program version text into a buffer of `size` bytes.
char *verGetText(char *buffer, int size);
// The file-format version text read as an integer (250).
int appGetFileFormatVersion();
const char *verGetFileFormatText();
// The file-format text with a point after its first character ("2.50"),
// into a buffer of `size` bytes.
char *verGetFileFormatDotted(char *buffer, int size);
// "Version %s" filled with the dotted file-format text ("Version 2.50").
char *verFormatText(char *buffer, int size);
const char *verGetBuildText();
// The first character of the file-format text as a number (2); 0 when it
// is not a digit.
int verGetFileFormatFirstChar();
// A version text times 100, rounded half away from zero; 0 for a text that
// holds no number.
int64_t verRound(const char *text);
