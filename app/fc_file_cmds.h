// The file commands that open or create document windows, and Save.
//
// This is their first form: a new document opens on one default page, and
// opening checks the file's header before the document window shows it;
// reading the pages, the page dialog of a new document, quick-note names
// and the writer come with the document files.
#pragma once
#include "support/qmwin.h"

// New document (100) and new document with the default page (96); the
// document window, or null.
HWND fcNewDocument(HWND frame);
HWND fcNewDocumentDefaultPage(HWND frame);
// Quick note (93): a new document with the default page, marked as a quick
// note.
HWND fcNewQuickNote(HWND frame);
// Opens a document: an empty path does nothing; a document already shown is
// activated; otherwise the file's header must name a document (its failure
// is reported) and a new window shows it, its path going to the front of the
// recent-file list. The folder and file name become the last ones used.
HWND fcOpenDocument(HWND frame, const char *path);
// 111: the path in a string handle, which is freed.
HWND fcOpenDocumentFromHandle(HWND frame, MemHandle path);
// 133: a path, a line feed and a page (the page is not yet taken); the
// handle is freed.
HWND fcOpenDocumentAtPage(HWND frame, MemHandle text);
// 120 to 128: the recent-file entry of the command.
HWND fcOpenRecentFile(HWND frame, int command);
// 101: the Open dialog ("Open File") starting at the path, then the file.
HWND fcOpenCommand(HWND frame, const char *startPath);
// The common Open dialog with the document filter and extension "qm" on a
// path buffer of 260 bytes; nonzero when a file was chosen.
BOOL fcOpenFileDialog(HWND owner, const char *caption, char *path);
// 102: saves the workspace's document; nonzero on success. The document
// writer is not there yet: nothing is written and 0 is returned.
int fcSaveCommand(HWND ws);
