// Pages of document files seen from outside the open document: their
// names, numbers and rectangles, and the pages that links point at.
#pragma once
#include "support/qmwin.h"

// The password of a form: 1 when there is no form or no password, or when
// the text equals it ignoring case.
int fmCheckPassword(MemHandle form, const char *text);
// Asks for the document's password when it has one ("pw" dialog, three
// tries, case ignored): 1 without a password or when it was given, 0 on
// Cancel or too many wrong entries.
int fmAskPassword(HWND owner, MemHandle form);

// The names of a document file's pages as one string handle: per page
// ("%d. " first when numbered) its name and character 27. The password is
// asked for first. Null when the file cannot be read or is refused;
// countOut (optional) gets the number of pages.
MemHandle pgReadFilePageNames(HWND owner, const char *path, int *countOut, BOOL numbered);
// The same list, numbered, for the document a workspace shows; pages not in
// memory are read from the document file for it.
MemHandle pgGetNameList(HWND workspace);
// The index of the first page of the file whose name equals the name
// (blanks trimmed, case ignored); -1 when none.
int qmfFindPageByName(HWND owner, const char *folder, const char *file, const char *name);
// qmfOpenDocument on the joined path.
MemHandle qmfOpenLinkedPage(HWND owner, const char *folder, const char *file, int index,
                            MemHandle *pageOut = nullptr);
// The bounding rectangles of the first n pages of a document file whose
// directory is given: a handle of n 16-byte rectangles; null with "Read
// file failed in qmfReadRCArray" when a page cannot be read.
MemHandle qmfReadRCArray(HWND owner, const char *path, MemHandle directory, int n);
// A list box or combo box filled with the page names / the numbers
// "1".."n" of a document file.
int pgListFilePageNames(HWND dialog, int control, const char *path);
int pgListPageNumbers(HWND dialog, int control, const char *path);
