// Custom output commands: a printer set-up stored under a name of the
// user's choice in "~" + application title + "ddmngr" and offered as an
// item (1951) of the File menu. Running it prints the document on that
// printer without changing the current one.
#pragma once
#include "support/qmwin.h"

enum { PRN_CUSTOM_FIRST = 1950, PRN_CUSTOM_LAST = 1959 };
enum : uint32_t {
    PRN_CUSTOM_HEADER_SIZE = 50,
    PRN_CUSTOM_MARK1 = 0xFE876543,
    PRN_CUSTOM_MARK2 = 0xEF123456,
    PRN_CUSTOM_RECORD_FIXED = 47,   // length, type, name, two sizes, final zero
    PRN_CUSTOM_NAME_SIZE = 32,
};

// 1950 set-up (nonzero when stored); 1951..1957 run the stored command on
// the workspace given as owner (nonzero when printed); 1958 rebuilds the
// menu item before the item whose id is the argument (1); 1959: 1 when the
// argument lies in 1950..1959, else 0.
int prnCustomDriverCommand(HWND owner, HMENU menu, int command, int argument);

// The stored command: name (32 bytes) and copies of its blocks. FALSE when
// the file is missing, foreign or damaged (block sizes that do not add up
// to the record, a DEVMODE or DEVNAMES that does not check).
BOOL prnReadCustomCommand(const char *path, char *name, HGLOBAL *devMode, HGLOBAL *devNames);
BOOL prnWriteCustomCommand(const char *path, const char *name, HGLOBAL devMode,
                           HGLOBAL devNames);
char *prnCustomCommandPath(char *buffer);
