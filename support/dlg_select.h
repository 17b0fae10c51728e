// Generic dialogs that let the user pick one item: from a delimited text,
// from a code-text table or from the lines of a text file ("lbxsel",
// "lbxselnosort"), and the "Select Item" string dialog ("strlist",
// "strlist2") that takes a typed value or one of a list of earlier values,
// adding a new value to the list on request. The caller's data changes
// only when the user confirms.
#pragma once
#include "support/qmwin.h"
#include "support/win_list.h"

// The selected item's text as a new string handle (the caller frees it);
// 0 on Cancel and when OK was chosen with nothing selected. The list box
// sorts the items ("lbxsel").
MemHandle dlgSelectFromList(HWND owner, const char *caption, MemHandle items, char delim);
// The same with the caller's template (a list box 1000, OK and Cancel).
MemHandle dlgSelectFromListT(HWND owner, const char *caption, const char *templateName,
                             MemHandle items, char delim);
// "lbxsel" opened on the first item that begins with the text (case ignored).
MemHandle dlgSelectFromListPre(HWND owner, const char *caption, MemHandle items, char delim,
                               const char *preselect);
// "lbxselnosort" (items in the given order) opened on the first item that
// begins with the text of the handle.
MemHandle dlgSelectFromListH(HWND owner, const char *caption, MemHandle items, char delim,
                             MemHandle preselect);
MemHandle dlgSelectFromListNoSort(HWND owner, const char *caption, MemHandle items, char delim);
// "lbxselnosort" opened on item `index`.
MemHandle dlgSelectFromListAt(HWND owner, const char *caption, MemHandle items, char delim,
                              int index);
// "lbxsel" filled with the table's texts, the code's text selected; OK
// stores the selected text's code (0 when none is selected). Returns the
// dialog's result.
INT_PTR dlgSelectCode(HWND owner, const char *caption, const CodeTextEntry *table, int16_t count,
                      uint32_t *code);
// The non-empty lines of a text file, sorted ("lbxsel") or in file order
// ("lbxselnosort"); 0 without a dialog when the path is empty or the file
// does not exist.
MemHandle dlgSelectFileLine(HWND owner, const char *caption, const char *path, BOOL sorted);
// "Select Item": edit 100 limited to maxLen characters beside the list of
// earlier values (*items, a delimited text). With a label, "strlist2"
// shows it (and a Help button for the help keyword). On OK the buffer
// (maxLen + 1 bytes) gets the typed value and *items the list with that
// value last (added after the question "%s is not in the list.  Add to
// list?"; Cancel to it keeps the dialog open). On Cancel neither changes.
// Returns the dialog's result.
INT_PTR dlgStringList(HWND owner, const char *caption, const char *label, const char *helpKeyword,
                      MemHandle *items, char delim, char *buffer, int maxLen);
