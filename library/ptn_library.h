// The pattern library: the file of the user's fill patterns ("qmptn.tvl" in
// the program folder by default) and the table of patterns in memory that
// the pattern dialog and editor show, extend, change and delete.
//
// The file is a FileHeader of kind "PTNLIB", a u16 pattern count, then one
// packet per pattern; a pattern packet is the 24-byte PatternFill (its
// length word 24, then width 8, height 8 and the 16 row bytes).
//
// The table is one movable block of 38-byte entries, each holding in its
// last four bytes the handle of its pattern packet (the table owns them),
// and a count.
#pragma once
#include "support/qmwin.h"

// The file kind of pattern libraries.
extern const char kPtnLibraryKind[];

enum : uint32_t {
    PTN_ENTRY_SIZE = 38,     // one table entry; the packet handle is at +34
    PTN_PACKET_SIZE = 24,    // a pattern packet: length, width 8, height 8, 16 row bytes
};
enum : uint16_t { PTN_APPEND_FAILED = 0xFFFF };

// A new handle holding the first pattern packet of the library file, or 0:
// nothing is shown when the file is missing, cannot be opened or is empty;
// a header of another kind or program is reported (file header messages)
// and gives 0, as do a count of 0 and a first packet that cannot be read
// whole within the file.
MemHandle ptnReadFirst(const char *fileName);

// Frees any table without saving, makes a new empty one and reads the file
// into it; with a list box, one empty item per loaded pattern is added
// (the dialog draws them). TRUE when the table exists.
BOOL ptnLoadTable(HWND listBox, const char *fileName);
// With save, writes the table to the file first; then frees every pattern
// and the table.
void ptnFreeTable(const char *fileName, BOOL save);
int16_t ptnCount();
// The packet handle of entry i (still the table's), 0 outside the table.
MemHandle ptnGetPattern(int32_t i);
// The table takes the packet; the new entry's index, or PTN_APPEND_FAILED
// when memory is short (the packet then still the caller's).
uint16_t ptnAppend(MemHandle packet);
// Frees the packet of entry i and keeps the new one; FALSE outside the table.
BOOL ptnReplace(int32_t i, MemHandle packet);
// Frees entry i's packet and closes the gap; FALSE outside the table and
// also when the table became empty.
BOOL ptnDelete(int32_t i);
// Writes the header, the count and every packet. The old file is replaced
// only after the whole new one was written; FALSE on any failure.
BOOL ptnWriteLibrary(const char *fileName);
// Reads the file's patterns into the table (appending): nothing for a
// missing, unopenable or empty file; a foreign header is reported. Stops at
// the end of the file or at the first packet that cannot be read; a packet
// that is not an 8 x 8 pattern of 24 bytes is skipped. Returns the count
// the file announces (0 on failure).
uint16_t ptnReadLibrary(const char *fileName);
