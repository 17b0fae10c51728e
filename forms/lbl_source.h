// Readers of list-source files: small text files of sections ("[name]"
// header lines) each holding a list of items, one a line (";" starts a
// comment). Label listings, templates and list fields keep their lists so.
#pragma once
#include "support/qmwin.h"

// The trimmed name of a section header line: blanks, CR and LF cut at both
// ends; when it starts with "[" and a "]" follows, cut at that "]" and the
// brackets removed.
void lblTrimSectionName(char *line);
// The items of the section (names compared ignoring case), each trimmed of
// CR, LF and blanks and followed by the delimiter; comments and empty lines
// skipped. 0 when the section is missing or empty; "Can not open %s" when
// the file cannot be opened.
MemHandle lblReadSectionItems(HWND owner, const char *path, const char *section, char delimiter);
// The section header lines (CR LF cut), each followed by the delimiter;
// with strip the first character is skipped and a last "]" cut. "Can not
// open %s" when the file cannot be opened.
MemHandle lblReadSectionNames(HWND owner, const char *path, char delimiter, BOOL strip);
