// Attributes and label wrapping of push buttons (the command data of a
// button as far as its drawing and sizing need it).
#pragma once
#include "support/qmwin.h"

// Sets, replaces or (length 0 or less) removes one attribute record of the
// button's part (header at part +78, records from +86), then the part's
// length word becomes 86 + its attribute bytes and the record's length is
// recomputed; a moved record is relinked. Returns the valid handle, 0 when
// memory ran out (the old one unchanged).
MemHandle hcSetButtonAttr(MemHandle button, uint32_t tag, const void *text, int length);
// Re-wraps the label to the width of the button's label area (the object's
// width when that is below 1), never narrower than 240 twips, measured with
// the button's font: CR and LF removed, the words broken into lines that
// keep their trailing blank, lines joined by LF. A label without a blank is
// left alone. Stores the result when it differs and sets *changed. Returns
// the valid handle.
MemHandle hcWrapButtonLabel(MemHandle button, int *changed);

// ---- command texts ---------------------------------------------------------------------
// The text form of a hyper command in a new string handle: the code's
// command word ("nextpage", "gofile" ...) alone, or for the codes that take
// an argument (20, 40, 46, 61, 62, 70, 71, 73, 74, 100, 101, 102) and when
// one is given, the word, a blank and the argument as it is (a TAB kept).
// 0 for codes without a word (0, 22, codes not in the table).
MemHandle hcBuildCommandText(int code, const char *argument);
// The command text of a button for command scripts: 0 when the button has
// no argument record; for code 22 a copy of the argument (its command
// lines); else hcBuildCommandText of its code and argument.
MemHandle hcGetButtonCommand(MemHandle button);
// The display name of a command code ("Go To Next Page"); null when the
// code is not in the table.
const char *hcCommandDisplayName(int code);

// ---- names of fields and objects ---------------------------------------------------------
// 1 when the name may name a field or object: none of blank , . + - * / = !
// | in it, and no decimal digit first.
int hcIsValidName(const char *name);
// For a new name: 0 for an empty one; 0 after "Field name contains invalid
// characters. Want help?" (Yes shows the help topic "Field Name
// Convention") for one that breaks the rules; 0 after "The name: %s  has
// been used by other object.  Please change." when an object of the
// current page carries it (case ignored); else 1.
int hcValidateFieldName(HWND workspace, HWND owner, const char *name);
// The same for a dialog that edits an existing object: the object's own
// name is no clash; a name that breaks the rules gives "Field name contain
// invalid characters." (stop icon).
int hcCheckObjectName(HWND workspace, HWND dialog, MemHandle object, const char *name);
