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
