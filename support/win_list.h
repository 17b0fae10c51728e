// List boxes, combo boxes and code-text tables.
//
// The program moves lists between its own text form (a delimited text in a
// string handle: items each followed by one delimiter character, usually LF
// or CR; with LF a CR in front of it is not part of the item, so CR LF lines
// work) and Win32 list and combo boxes, and maps choices to codes through
// small code-text tables. These functions are the only place where list-box
// and combo-box messages are composed. The forms whose names begin with
// winDlg take a dialog and an item id and return 0 when the item does not
// exist; the others take the control's window.
//
// Searches by text follow the Win32 rule for the start index: "from the
// start" is start index -1 (item 0 first). The exact and prefix selections
// (winListSelectExact, winListSelectPrefix, winComboSelectExact,
// winComboSelectPrefix, winDlgComboFillCodes) pass start index 0, so the
// search begins at item 1 and wraps round, item 0 being tried last.
//
// Texts come back as new string handles that the caller frees.
#pragma once
#include "support/qmwin.h"

// ---- list boxes -------------------------------------------------------------------
void winListReset(HWND list);
int winListGetCount(HWND list);
int winListGetCurSel(HWND list);
// Select / deselect every item of a multiple-selection list box.
void winListSelectAll(HWND list);
void winListDeselectAll(HWND list);
int winListAddString(HWND list, const char *text);
// Text of item i; 0 for an empty item or no item i.
MemHandle winListGetItemText(HWND list, int i);
// Text of the selected item; 0 when none is selected.
MemHandle winListGetSelText(HWND list);
MemHandle winDlgListGetSelText(HWND dlg, int id);
MemHandle winDlgListGetItemText(HWND dlg, int id, int i);
// TRUE when an item equals the text without regard to case.
BOOL winListHasString(HWND dlg, int id, const char *text);
// Finds the item equal to the text (LB_FINDSTRINGEXACT, start index 0) and
// selects it: added to the selection in a multiple-selection list box,
// made the current item otherwise. Returns the index found, LB_ERR when
// absent, -1 for no text.
int winListSelectExact(HWND list, const char *text);
// The same for the first item that begins with the text (ignoring case).
int winListSelectPrefix(HWND list, const char *text);
// Selects item i the same way; returns i, LB_ERR when out of range.
int winListSelectIndex(HWND list, int i);
// Deletes the selected item; with reselect, selects the item now at the
// same index, or the previous one when the last item was deleted. Returns
// the index deleted, -1 when nothing was selected.
int winListDeleteCurSel(HWND list, BOOL reselect);
int winListDeleteSel(HWND list);
// Replaces the selected item by the text (inserted after it, the old one
// deleted) and selects it. FALSE when nothing is selected.
BOOL winListReplaceSel(HWND list, const char *text);
// Replaces the selected list item by the edit's text. An empty edit gives
// "Please enter a string before replacing.", a text already in the list
// "The new item is already in the list." (warning boxes); FALSE then, and
// when nothing is selected.
BOOL winDlgListReplaceFromEdit(HWND dlg, int listId, int editId);
// Moves the selected item one place up / down and keeps it selected. FALSE
// (nothing changed) for no selection, the first item (up) or the last
// (down).
BOOL winListMoveUp(HWND list);
BOOL winListMoveDown(HWND list);
// Sorts the non-empty items ignoring case (ascending or descending) and
// refills the list. FALSE for a list without a non-empty item.
BOOL winListSort(HWND list, BOOL ascending);
// Bytes needed for all items joined: the sum of (length + 1) over the
// non-empty items, plus 1; 0 for an empty list.
uint32_t winListTextSize(HWND list);
// Every non-empty item followed by the delimiter, then a NUL; 0 for an
// empty list.
MemHandle winListToText(HWND list, char delim);
MemHandle winDlgListToText(HWND dlg, int id, char delim);
// The same for the selected items of a multiple-selection list box; 0 when
// none is selected.
MemHandle winListSelToText(HWND list, char delim);
// Adds every item of the delimited text (a CR before an LF delimiter
// dropped), then sets the horizontal extent for the longest. Returns the
// number of items added.
int winListFillText(HWND list, MemHandle text, char delim);
int winDlgListFill(HWND dlg, int id, MemHandle text, char delim);
// Deletes from the list every non-empty item of the text found by exact
// match (ignoring case). Returns the number deleted.
int winListRemoveItems(HWND list, MemHandle text, char delim);
// Copies the selected list item into the target item's text. FALSE when
// nothing is selected.
BOOL winDlgListSelToText(HWND dlg, int listId, int targetId);
// Horizontal extent for the longest item (in characters): the average
// character width of the list's window DC times the length plus three
// borders; set only when it exceeds the window's width.
void winListSetExtent(HWND list, int longest);
// Adds each non-empty line of a text file (line ends cut; lines longer than
// 511 characters come in pieces of 511) and sets the extent for the
// longest. TRUE when at least one line was added; FALSE when the file does
// not open. Read through the Win32 file API, so Windows paths work.
BOOL winListFillFromFile(HWND list, const char *path);
// Adds the text up to the delimiter (the end when there is none) to a list
// box (list set) or a combo box, dropping a CR before the delimiter when cr
// is set. Returns the text after the delimiter, or null at the end.
const char *winAddDelimitedItem(HWND control, const char *text, char delim, BOOL cr,
                                BOOL list);

// ---- combo boxes -----------------------------------------------------------------
void winComboReset(HWND combo);
int winComboAddString(HWND combo, const char *text);
// Adds the text unless an equal item (ignoring case) is there; returns the
// item's index.
int winComboAddUnique(HWND combo, const char *text);
// TRUE when an item equals the text without regard to case.
BOOL winComboHasText(HWND combo, const char *text);
// Adds the items of a delimited text (CR before an LF delimiter dropped).
// Returns the number added.
int winComboFillText(HWND combo, MemHandle text, char delim);
int winDlgComboFillText(HWND dlg, int id, MemHandle text, char delim);
MemHandle winComboGetItemText(HWND combo, int i);
MemHandle winComboGetSelText(HWND combo);
MemHandle winDlgComboGetSelText(HWND dlg, int id);
// CB_SETCURSEL of the exact (ignoring case) / prefix search from start
// index 0; an absent text clears the selection. Returns the CB_SETCURSEL
// result.
int winComboSelectExact(HWND combo, const char *text);
int winComboSelectPrefix(HWND combo, const char *text);

// ---- code-text tables --------------------------------------------------------------
// A code-text table is an array of entries with a 16-bit count beside it.
struct CodeTextEntry {
    uint32_t code;
    const char *text;
};
struct CodeTextTable {
    const CodeTextEntry *entries;
    int16_t count;
};
// The alignment tables: 0 "Left", 1 "Center", 2 "Right"; 4 "Top",
// 8 "Center", 16 "Bottom".
extern const CodeTextTable winHAlignTable;
extern const CodeTextTable winVAlignTable;

// Code of the text: an exact, case-sensitive match over the whole table
// first, then a match ignoring case; 0 when neither finds it.
uint32_t utCodeOfText(const char *text, const CodeTextEntry *table, int16_t count);
// Index of the code, -1 when absent.
int utIndexOfCode(uint32_t code, const CodeTextEntry *table, int16_t count);
// Adds every text, then selects the code's text (from the start) when the
// code is in the table.
void winListFillCodes(HWND list, const CodeTextEntry *table, int16_t count, uint32_t code);
// Adds the texts whose code shares a bit with the mask; all for mask 0.
void winComboFillCodes(HWND combo, const CodeTextEntry *table, int16_t count, uint32_t mask);
// winComboFillCodes with mask 0, then CB_SELECTSTRING (start index 0) of
// the code's text.
void winDlgComboFillCodes(HWND dlg, int id, const CodeTextEntry *table, int16_t count,
                          uint32_t code);
// Code of the selected text; 0 when nothing is selected.
uint32_t winDlgComboGetCode(HWND dlg, int id, const CodeTextEntry *table, int16_t count);
uint32_t winDlgListGetCode(HWND dlg, int id, const CodeTextEntry *table, int16_t count);
// winComboSelectExact of the code's text, of an empty text (no selection)
// when the code is absent.
int winComboSelectCode(HWND combo, const CodeTextEntry *table, int16_t count, uint32_t code);
// The alignment combo boxes: fill and select, read the code, select a code.
void winDlgComboHAlign(HWND dlg, int id, uint32_t code);
void winDlgComboVAlign(HWND dlg, int id, uint32_t code);
uint32_t winDlgGetHAlign(HWND dlg, int id);
uint32_t winDlgGetVAlign(HWND dlg, int id);
int winDlgSelectHAlign(HWND dlg, int id, uint32_t code);
int winDlgSelectVAlign(HWND dlg, int id, uint32_t code);
