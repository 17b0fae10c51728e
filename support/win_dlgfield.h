// Dialog fields, numbers and spin controls.
//
// Dialog procedures read and write their fields through these functions:
// texts into and out of string handles, numbers as integers or doubles with
// a fixed display format, enabling, showing and focusing items, and the spin
// pattern used everywhere: an edit field paired with a small vertical scroll
// bar whose arrows step the number in the field and wrap around at its
// limits. The margin fields (edit fields 300 top, 302 left, 304 right,
// 306 bottom and 330 "all", each paired with the scroll bar whose id is one
// higher) are built on the same pieces.
#pragma once
#include "support/qmwin.h"

// ---- texts and items -------------------------------------------------------------
// WM_INITDIALOG of a generic dialog: keeps the caller's arguments (the
// dialog's lParam) in DWLP_USER and sets the caption when one is given and
// not empty. Returns the arguments.
void *winDlgKeepArgs(HWND dlg, LPARAM args, const char *caption);
// SetDlgItemTextA with the handle's text, or an empty text for 0.
void winSetDlgTextHandle(HWND dlg, int id, MemHandle text);
// The item's whole text in the given handle (grown to fit) or a new one;
// an empty field (or a missing item) frees the given handle and returns 0.
// Returns the handle to keep; 0 when memory fails (the given handle is then
// freed as well, so the caller never holds a stale one).
MemHandle winGetDlgTextHandle(HWND dlg, int id, MemHandle h);
MemHandle winGetWindowTextHandle(HWND window, MemHandle h);
// The item's text (at most size - 1 characters) with leading and trailing
// blanks removed; returns the length after trimming, or the GetDlgItemTextA
// result when that is below 1.
int winGetDlgTextTrim(HWND dlg, int id, char *buffer, int size);
// Appends the text at the end of an edit (EM_SETSEL to the end,
// EM_REPLACESEL). Returns 1.
int winEditAppendText(HWND dlg, int id, const char *text);
// The edit's first line into the buffer of size bytes (at most size - 1
// characters, EM_GETLINE), terminated; returns its length.
int winEditGetLine(HWND edit, char *buffer, int size);
void winEditSelectAll(HWND dlg, int id);
// Selects the whole text and focuses the item (points at a rejected field).
void winDlgSelectEdit(HWND dlg, int id);
void winEditSetReadOnly(HWND dlg, int id, BOOL readOnly);
void winShowDlgItem(HWND dlg, int id, BOOL show);
// EnableWindow / SetFocus when the item exists.
void winEnableDlgItem(HWND dlg, int id, BOOL enable);
void winFocusDlgItem(HWND dlg, int id);
// The first checked button among first .. last, 0 when none is.
int winDlgGetCheckedButton(HWND dlg, int first, int last);

// ---- numbers ------------------------------------------------------------------------
// Reads at most 255 characters, removes leading and trailing blanks, tests
// the text and converts it; FALSE (the value left alone) when it is not a
// number. The test: an empty text passes (it reads as 0), a text with a
// blank fails, a text with "E" or "e" passes when the parts before and after
// it are both non-empty decimal numbers, any other text must be a decimal
// number.
BOOL winGetDlgDouble(HWND dlg, int id, double *value);
// Shows the value formatted "%-*.*lf" with the width and decimals, trailing
// blanks cut. Returns 1.
int winSetDlgDouble(HWND dlg, int id, double value, int width, int decimals);
// Shows the value formatted "%-*ld" with width 20, trailing blanks cut.
int winSetDlgLong(HWND dlg, int id, int32_t value);

// Value kinds of the general spin.
enum {
    WIN_SPIN_INT16 = 4,
    WIN_SPIN_INT32 = 5,
    WIN_SPIN_FLOAT = 6,
    WIN_SPIN_DOUBLE = 7,
};

// One spin step on a field: SB_LINEUP and SB_PAGEUP add the step,
// SB_LINEDOWN and SB_PAGEDOWN subtract it, other codes leave the value; a
// value above the maximum becomes the minimum and one below the minimum the
// maximum. A field that cannot be read is left alone. The 16-bit kind does
// every sum and comparison in signed 16 bits. Each returns 1.
int winSpinDlgInt(HWND dlg, int id, int code, int16_t step, int16_t min, int16_t max);
// step, min and max point at values of the kind (int16_t, int32_t, float,
// double); integers are read and written signed, float and double through
// winGetDlgDouble / winSetDlgDouble with the width and decimals. Other
// kinds do nothing.
int winSpinDlgValue(HWND dlg, int id, int code, int kind, const void *step, const void *min,
                    const void *max, int width, int decimals);
// winSpinDlgValue with width 6 and 2 decimals.
int winSpinDlgValueFixed(HWND dlg, int id, int code, int kind, const void *step,
                         const void *min, const void *max);
// WM_VSCROLL handlers: when the scroll bar that sent the message has the
// given id, steps the edit's value (as kind 4, 5 or 7; doubles shown with
// width 6 and 2 decimals) and returns TRUE; FALSE otherwise.
BOOL winSpinInt16(HWND dlg, int code, HWND scrollBar, int scrollBarId, int editId,
                  int16_t step, int16_t min, int16_t max);
BOOL winSpinInt32(HWND dlg, int code, HWND scrollBar, int scrollBarId, int editId,
                  int32_t step, int32_t min, int32_t max);
BOOL winSpinDouble(HWND dlg, int code, HWND scrollBar, int scrollBarId, int editId,
                   double step, double min, double max);

// ---- margin fields ---------------------------------------------------------------------
enum {
    WIN_MARGIN_TOP = 300,
    WIN_MARGIN_LEFT = 302,
    WIN_MARGIN_RIGHT = 304,
    WIN_MARGIN_BOTTOM = 306,
    WIN_MARGIN_ALL = 330,
};
// When field 330 is not empty (its first 22 characters), copies its text
// into 302, 300, 304 and 306.
void winMarginAllToFields(HWND dlg);
// For scroll bars 301, 303, 305, 307 and 331: steps the paired field as a
// double (step 0.1, minimum 0.0, maximum 11.0), focuses it and, for 331,
// copies "all" into the four fields. TRUE when the scroll bar was one of
// them.
BOOL winMarginSpin(HWND dlg, int code, HWND scrollBar);
// Reads left (302), top (300), right (304) and bottom (306) in the unit
// mode and converts them to logical units (horizontally for left and right,
// vertically for top and bottom); the view mapping is put back afterwards.
// Stops at the first field that is not a number: FALSE with its id in
// *failedId.
BOOL winGetMarginFields(HWND dlg, uint16_t unitMode, RECT *margins, int *failedId);
// The reverse: each side converted to the unit mode and shown with width 6
// and 2 decimals.
void winSetMarginFields(HWND dlg, uint16_t unitMode, const RECT *margins);
