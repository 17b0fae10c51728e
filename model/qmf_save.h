// Saving a document: the header, the FORM body, the page-size array and the
// pages. Pages in memory are written from memory; the others are copied
// byte for byte from where their directory entries hold them (the document
// file or a temporary page file), so a large document never needs all its
// pages in memory.
//
// A save never loses the previous file: the new file is written under a
// "~" temporary name beside the target, flushed, and only then replaces
// it in one step, so the target's name holds a whole file, old or new,
// whatever happens meanwhile (a failure, a full disk, a killed program).
#pragma once
#include "support/qmwin.h"

// The estimate the free-space check uses: 40 (header) + the FORM body +
// the page-size array + the size each directory entry records (for pages
// in memory, their file size now).
uint64_t qmfDocumentSize(MemHandle form);

// Writes the form to the path. With confirmOverwrite an existing file is
// asked about first (a read-only one is refused). Saving over the
// document's own file reads its unloaded pages from the old file, which
// stays in place until the new one replaces it. With updateEntries (always when
// the target is the document's own file) the entries of pages held in the
// document file take their offsets and sizes in the new file; they change
// only when the whole file was written. 1 saved; 0 not saved: refused,
// not enough space (609), a target or source that cannot be opened, or any
// write that came short, and then an existing file is left as it was.
int qmfSaveDocument(HWND workspace, const char *path, MemHandle form, BOOL confirmOverwrite,
                    BOOL updateEntries);

// The pages in directory order from the file's current position, which is
// `offset`: a page in memory with qmfWritePageEx (scrambled when the
// document has a password), a page in the document file copied from
// `source` (the loop stops when none is open), one in a temporary file
// copied from there; an entry without a page anywhere counts 0 bytes. The
// page-size array packet comes back (null below 2 pages); it holds 0 for
// pages not written. *complete (optional) is TRUE only when every page was
// written whole. With updateEntries, entries held in the document file
// take their new offsets and sizes once all pages are written.
MemHandle qmfWritePages(HWND workspace, MemHandle form, HANDLE file, uint32_t offset,
                        HANDLE source, BOOL updateEntries, BOOL *complete = nullptr);

// Copies one page of n bytes from the input's position: without rewrite in
// pieces of 512 bytes; with rewrite (a password) the page is read and
// written again scrambled. Returns the bytes written; *status (optional) is
// 0, 0xFFFE when the page could not be read, 0xFFFF when the bytes written
// differ from n (without rewrite) or from the rewritten page's size.
uint32_t qmfCopyPageData(HANDLE out, HANDLE in, uint32_t n, BOOL rewrite, uint16_t *status);

enum : uint16_t { QMF_COPY_OK = 0, QMF_COPY_UNREADABLE = 0xFFFE, QMF_COPY_SHORT = 0xFFFF };
