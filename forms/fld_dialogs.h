// The field property dialogs that edit one value each: the validation rule
// ("efvalid"), the database link ("dblink", with the advanced viewer
// "dblinkExt") and the number format ("Fmt"). Each returns the dialog's
// result (IDOK or IDCANCEL) and changes its in/out arguments only on OK.
#pragma once
#include "support/qmwin.h"

enum : uint16_t { FLD_VALIDATION_KIND = 115 };   // kind word of a validation rule list

// The validation rule: a packed item list of kind 115 with one item
// {u32 size 14 + len1 + len2, 6 zero bytes, u16 len1, u16 len2, the two
// texts without terminators}. New rule from two texts (0 when the first is
// empty); the texts of a rule, each read within its stored length and the
// item (FALSE, both empty, for a damaged or empty rule).
MemHandle fldMakeValidationRule(const char *first, const char *second);
BOOL fldReadValidationRule(MemHandle rule, char *first, uint32_t firstSize, char *second,
                           uint32_t secondSize);

// On OK the handle becomes the new rule (0 when the first text is empty);
// the old one is freed.
int fldEditValidation(HWND parent, MemHandle *rule);
// On OK the link and block handles become the edited ones (0 when empty)
// and the five option flags of the list flags are set from the boxes.
int fldEditDbLink(HWND parent, HWND workspace, MemHandle *link, MemHandle *block,
                  uint32_t *flags);
int fldViewDbLinkExt(HWND dialog);
// On OK the word is replaced.
int fldEditNumFormat(HWND parent, uint32_t *format);
// The word the "Fmt" dialog builds: style | decimals << 8 | suffix << 16 |
// prefix << 24, decimals 0 for styles 1 and 2, the given ones for 3, 4, 5,
// else 2.
uint32_t fldBuildNumFormat(uint8_t style, int decimals, uint8_t prefix, uint8_t suffix);
