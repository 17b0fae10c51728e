// Number-text tests, word splitting, option switches and keyed text files.
//
// Small parsers shared by the command language, the settings and the file
// readers. Splitting works in place: the words are pointers into the text,
// whose separators become terminators.
#pragma once
#include "support/qmwin.h"

// ---- number texts -------------------------------------------------------------
// "Blank" means the space character. Each test gives -1 for a null or empty
// text and 0 for a text that holds a blank.

// 1 when the text is an optional "+" or "-" followed only by digits (a lone
// sign counts), else 0.
int utIsIntegerText(const char *text);
// Without a point: utIsIntegerText. With one: 1 when the part before it is
// empty or integer text and the part after it does not begin with a sign and
// is empty or digits only ("12." and ".5" pass, "1.-5" does not).
int utIsDecimalText(const char *text);
// With an "E" or "e" (the first one): 0 when it is the first character, else
// 1 when the part before it and the part after it (which must not be empty)
// are both decimal texts. Without one: utIsDecimalText.
int utIsNumberText(const char *text);

// ---- splitting ------------------------------------------------------------------
// Each clears words[0 .. n - 1] first and returns the number of words found,
// at most n.

// Splits at blanks and commas; a run of them counts as one.
int utSplitWords(char *text, char **words, int n);
// Splits at the delimiter; a run of them counts as one.
int utSplitByChar(char *text, char delim, char **words, int n);
// Splits at each occurrence of the separator: separators at the start of a
// piece are skipped, then the piece's leading blanks; an empty piece (the
// end of the text) ends the split. An empty separator gives the whole text
// (after its leading blanks) as one piece.
int utSplitByString(char *text, const char *separator, char **words, int n);

// ---- option switches ---------------------------------------------------------------
// When the text (after leading blanks) begins with "-", copies that first
// word with its "-" (at most 128 characters, and at most outSize - 1) in
// upper case into out and returns the rest after the following blank, or
// null when no blank follows. Otherwise out is emptied and the text is
// returned. The text returned has no leading blanks and its trailing blanks
// are cut (in place).
char *utParseLeadingOption(char *text, char *out, uint32_t outSize);

// One known switch of a command: its name, whether it was given, and its
// value ("-name[value]") as a string handle, or 0.
#pragma pack(push, 1)
struct UtOptionEntry {
    char name[13];      // with its terminator; compared without regard to case
    uint32_t present;   // 1 when the switch was given
    MemHandle value;    // string handle of the value, 0 for none
};
#pragma pack(pop)
static_assert(sizeof(UtOptionEntry) == 21, "option table entry is 21 bytes");

// Error codes of utParseSwitches.
enum {
    UT_SWITCH_UNKNOWN = -12,        // a name not in the table (the reading goes on)
    UT_SWITCH_NO_CLOSE = 11,        // a "[" without its "]" (the reading ends)
};

// Reads the switches at the front of the text: each is "-name" ended by a
// blank, or "-name[value]". Known names (ignoring case) get their present
// flag set and, with a value, a new string handle as their value (a value
// given before is freed). *count receives the number of known switches read,
// *error 0, UT_SWITCH_UNKNOWN for an unknown name (later switches are still
// read) or UT_SWITCH_NO_CLOSE for a value without "]" (the reading ends
// there and the rest is empty). Returns the text after the switches and the
// blanks that follow them.
const char *utParseSwitches(const char *text, UtOptionEntry *table, int n, int *count,
                            int *error);
// Frees every value handle of the table and clears the values and the
// present flags (the names stay).
void utFreeSwitchValues(UtOptionEntry *table, int n);

// ---- keyed text files -----------------------------------------------------------------
// A keyed text file holds lines "key::value[::more[::more]]". Blanks, CR and
// LF are trimmed from each line; empty lines and lines beginning with ";"
// are skipped. Returns a new string handle for the first line whose key
// equals the given one without regard to case: its value, followed by
// "\r\n" and each non-empty continuation field. 0 when the file cannot be
// opened or no line matches. The file is read through the Win32 file API,
// so Windows paths work.
MemHandle utLookupKeyedText(const char *path, const char *key);
