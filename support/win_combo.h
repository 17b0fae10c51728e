// Combo boxes made on the fly, in a dialog-like layout or popped up over a
// spot of a window for a quick choice that closes itself, and the shell's
// folder browser.
#pragma once
#include "support/qmwin.h"

// The default combo style: vertical scroll bar, drop-down list, automatic
// horizontal scrolling.
const DWORD kWinComboStyle = 0x200043;

// Makes the combo font for the face (null: "MS Sans Serif") and size
// (0: 14), matched on the desktop window, in place of the previous one;
// nothing changes when it cannot be made.
void winSetComboFont(const char *face, int size);
void winFreeComboFont();
// The combo font, else the frame window's font.
HFONT winGetComboFont();
// A child combo box (static edge) at the rectangle, in the combo font,
// filled from the items separated by delim; selects index when >= 0, else
// the first item beginning with select. The show flag shows it and gives it
// the focus. 0 on failure.
HWND winCreateCombo(HWND parent, const RECT *rect, const char *text, DWORD style, int id,
                    BOOL sort, BOOL show, const char *items, char delim, const char *select,
                    int index);
// right = left + average width x characters; bottom = top + line height x
// (lines + 1) + line height / 2, line height = character height + external
// leading of the combo font.
void winSizeComboRect(RECT *rect, int characters, int lines);
// The same for given metrics (the font's line height and average width).
void winSizeComboRectFor(RECT *rect, int characters, int lines, int lineHeight, int avgWidth);
// A combo popped up with its edit part just above the rectangle's top-left
// corner, its list dropped down and the focus on it.
HWND winPopupCombo(HWND parent, const RECT *rect, int id, BOOL sort, const char *items,
                   char delim, const char *select, int index);
// The parent's WM_COMMAND handling of a popup combo (code in the high 16
// bits of the notification word): CBN_SELENDOK closes it and returns a new
// string handle with the chosen text; CBN_KILLFOCUS and CBN_SELENDCANCEL
// close it and return 0; other codes return 0.
MemHandle winPopupComboNotify(WPARAM notification, HWND combo);

// The shell's folder browser titled "Choose a folder.", rooted at the start
// folder and opened on the folder to select. The chosen path goes to out
// (MAX_PATH bytes); TRUE when a folder was chosen, out untouched otherwise.
BOOL utBrowseForFolder(HWND owner, const char *start, const char *select, char *out);
// The user's documents folder into out (MAX_PATH bytes); TRUE on success.
BOOL utGetDocumentsFolder(HWND owner, char *out);
