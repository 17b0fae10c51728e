// Opening a document: the header and the FORM body at once, then the pages
// one at a time as they are needed. Every read is counted against a budget
// of the bytes that belong to what is being read; damaged files are refused
// with a message and leave nothing allocated.
#pragma once
#include "support/qmwin.h"
#include "model/qmf_header.h"

// Last read errors of qmfReadForm.
enum : int {
    QMF_ERR_EMPTY = 5207,
    QMF_ERR_OLD_VERSION = 607,
    QMF_ERR_NEWER_VERSION = 614,
};
enum : int { QMF_PROGRAM_VERSION = 300, QMF_OLDEST_VERSION = 210, QMF_WSB_PACKET_VERSION = 220 };

int qmfGetLastReadError();
// Chains read from a page stay chains (for tools that inspect a file as it
// was stored); by default a chain becomes its members again.
void qmfKeepChainsOnRead(BOOL keep);
// The version text as a number times 100, rounded ("3.0" 300, "2.10" 210);
// 0 for a text that is no number.
int qmfVersionNumber(const char *text);

// ---- headers -------------------------------------------------------------------
// Kind codes: "FORM" 1, "DATA" 2, "DBDIC" 3, "SYSLOG" 4, "DBLOG" 5, "OLB" 6,
// "PTNLIB" 7, "EXRCD" 9, "EXXRC031199" 10, "FORMDB" 11; 0 for any other
// name (with "Unrecognized file type " when report is set).
int qmfKindCode(const char *kind, BOOL report);
// The document reader's check: logo "Vellum" or "Verda", the kind when not
// empty, the version text when not empty. 1 ok, 2 unreadable, 3 wrong logo
// or kind, 4 wrong version text (messages 604-607 with report).
int qmfReadFormHeader(HANDLE file, int32_t *remaining, FileHeader *header, const char *kind,
                      const char *version, BOOL report);
int qmfCheckDocumentHeader(HANDLE file, int32_t *remaining, FileHeader *header);
// The kind code of a file (FORM only with the program's own logo); 0 when
// it cannot be read.
int qmfGetFileKind(const char *path, BOOL report);
BOOL qmfIsLibraryFile(const char *path);
// The first 40 bytes of a non-empty file; FALSE when it cannot be read.
BOOL qmfReadHeaderOnly(const char *path, FileHeader *buffer, BOOL report);

// ---- the form ---------------------------------------------------------------------
// Header, FORM body and page-size array: the form with its directory (every
// page held in the file), or null with the last read error set. remaining 0
// takes the file's size.
MemHandle qmfReadForm(HANDLE file, int32_t remaining);
MemHandle qmfReadFormBody(HANDLE file, int32_t *remaining, BOOL currentWsb);
// The view settings block as a 20-byte packet (unit 0 read as 3); null when
// it cannot be read.
MemHandle qmfReadWsb(HANDLE file, int32_t *remaining, BOOL currentWsb);
// A new form from the file's form head packet, blocks and view settings;
// the blocks are taken over by the form. Null when the head does not add up.
MemHandle fmAssembleFromHead(MemHandle head, MemHandle block1, MemHandle block2,
                             MemHandle block3, MemHandle wsb);
// 1 when the array holds one size per page and the sizes add up to the
// bytes after it; else the message of the mismatch and 0.
int qmfCheckSizeArray(MemHandle sizeArray, int pages, uint32_t restBytes);

// ---- pages and objects ---------------------------------------------------------------
// A page with its extras and objects; null when it cannot be read.
MemHandle qmfReadPage(HANDLE file, int32_t *remaining);
BOOL qmfReadPageExtras(HANDLE file, int32_t *remaining, MemHandle page);
// Reads count object trees into a list: the last object, the first through
// firstOut, and the number kept through count (records dropped as unknown
// are not counted). On failure everything read is freed, 0 returned.
MemHandle qmfReadObjectList(HANDLE file, int32_t *remaining, int *count, MemHandle *firstOut);
// One object tree (the record, its extra data, its next member's, first
// member's and attached trees as its presence flags say); `parent` becomes
// the parent of the root and its next members. A record of an unknown type
// is stepped over with everything its flags say follows it, except its
// next member's tree, which takes its place. FALSE on a read failure
// (nothing left allocated); TRUE with *root 0 when everything was dropped.
BOOL qmfReadObjectTreeEx(HANDLE file, int32_t *remaining, MemHandle parent, MemHandle *root);
MemHandle qmfReadObjectTree(HANDLE file, int32_t *remaining, MemHandle parent);
// One record packet, unscrambled and converted; 0 when it cannot be read or
// is left out.
MemHandle qmfReadObjectRecord(HANDLE file, int32_t *remaining);

// ---- whole files --------------------------------------------------------------------------
// Opens a document: the form with its directory and the page of index
// pageIndex (stored in its entry and returned through pageOut; below 0 no
// page). 0 (and nothing left open) on failure, with its message.
MemHandle qmfOpenDocument(HWND owner, const char *path, int pageIndex, MemHandle *pageOut);
// The page of directory entry n read from the open document file of the
// given size: its bytes must lie within the file. Null on failure.
MemHandle qmfReadEntryPage(HANDLE file, uint32_t fileSize, MemHandle dir, int n);
// The page record of entry n alone (no extras, no objects: its object count
// reads 0), for what the record holds, such as the page's size. Null, with
// "Read error" or the end-of-file message, when it cannot be read.
MemHandle qmfReadEntryPageRecord(HANDLE file, uint32_t fileSize, MemHandle dir, int n);
// Whether the file is a document that reads whole: its form and every
// page. Shows nothing; leaves nothing allocated.
BOOL qmfIsWholeDocument(const char *path);
// Header and form of a file, its path kept in the form ("Form read error",
// "Failed to read form info." on failure).
MemHandle qmfReadFormFile(HWND owner, const char *path);
MemHandle qmfReadFormInfo(HWND owner, const char *path);
// Page n of a document file whose directory is given.
MemHandle qmfReadPageAt(const char *path, MemHandle directory, int n);
MemHandle qmfReadPageFromFile(HWND owner, const char *path, MemHandle directory, int n);
// The number before the first "." minus 1; -1 when there is none.
int qmfPageNumberFromName(const char *text);

// ---- the identity of a document file ---------------------------------------------------
// The pages a document has not read yet stay in its file, at the offsets
// its directory gives. When another program replaces or rewrites that file
// those offsets name bytes of another document, so the file's identity
// (size, last-write time and header) is kept with the form when it is
// opened (in the form's memory-only block 4) and compared before a page is
// taken from it again.
#pragma pack(push, 1)
struct QmfFileIdentity {
    uint64_t size;
    FILETIME lastWrite;
    uint8_t header[40];
};
#pragma pack(pop)
static_assert(sizeof(QmfFileIdentity) == 56, "a file identity is 56 bytes");
// The identity of an open file (its position is left where it was).
BOOL qmfGetFileIdentity(HANDLE file, QmfFileIdentity *out);
// Keeps the open file's identity with the form (any earlier one replaced).
void qmfKeepFileIdentity(MemHandle form, HANDLE file);
// 1 when the open file is the one whose identity the form keeps, or when
// the form keeps none (a document never read from a file).
int qmfIsSameDocumentFile(MemHandle form, HANDLE file);
// Tells the user that the document's file was replaced or changed by
// another program and its unread pages can no longer be taken from it.
void qmfReportReplacedFile(HWND owner, const char *path);
