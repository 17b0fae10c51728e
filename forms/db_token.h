// Database token files (".tkn"): a small text file that stands for a
// database file, so that documents can be pointed at another database by
// editing one token; and the "Database Token Editor" (frame command 519).
//
//   [file type = dbtoken]<CR><LF>
//   data.xdb
//
// The database name is absolute or relative to the token file's folder.
#pragma once
#include "support/qmwin.h"

enum { DB_TOKEN_LINE_SIZE = 512 };   // lines are read into 512 bytes

// 1 when the text after the path's last point is "tkn" (case ignored).
int dbIsTokenPath(const char *path);
// 1 when a first line (CR and LF already cut) is a token tag: the exact
// "[file type = dbtoken]" ignoring case, or "[...=...]" whose text between
// the "=" and the "]", trimmed of blanks, is "DBTOKEN" ignoring case.
int dbIsTokenTag(const char *line);
// Writes the two lines over the file (a new file takes the old one's place
// only when whole); 0, the old file kept, when it cannot be opened or any
// write fails.
int dbWriteToken(const char *tokenPath, const char *database);
// Opens the token and checks its first line: the open file positioned at
// line 2, or INVALID_HANDLE_VALUE after "Can not open the token file:\r\n
// %s", "Error reading the token file: \r\n %s" (no first line) or "The file
// is not in correct token file format: \r\n %s", each shown only with
// showErrors.
HANDLE dbOpenToken(HWND owner, const char *tokenPath, BOOL showErrors);
// Reads line 2 (CR and LF cut, at most size - 1 bytes) into the buffer;
// "No database name in the token file: \r\n %s" when there is none. 1 on
// success; the file is closed in every case.
int dbReadTokenDatabase(HWND owner, const char *tokenPath, char *buffer, uint32_t size,
                        BOOL showErrors);
// A new string handle with the database path of a data-source name, or 0:
// an empty name gives 0 without reading anything; a name that is not a
// token is resolved against the document's folder; a token is resolved so,
// its database name read (errors shown) and made absolute against the
// token's folder.
MemHandle dbResolveDataSource(HWND docWindow, const char *name);
// Runs the "Database Token Editor" ("DBTKN") with the modified flag clear.
void dbEditToken(HWND owner);
