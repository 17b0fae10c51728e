// File forms of the form controls that the document file carries: push
// buttons (43) and the check box family (check boxes 44, radio buttons 57,
// group boxes 58). Their memory records hold 60-byte LOGFONTs; in files
// the font is a 50-byte FontRecord16 and the fixed fields are laid out as
// older files keep them:
//
// - push button: a 100-byte fixed part (the command word at 0, the font at
//   6, options 74, face style 76, frame value 78, the carried word 82,
//   alignment 84, the attribute header at 92, 96, 98), then the attribute
//   records; the file record is as long as the memory record.
// - check box family: a 70-byte fixed part (flags 0, label length 2, the
//   font at 4, label width 54, the attribute header at 56, 60, 62, mark
//   style 64), then the label and the attribute records; the file record
//   is 24 bytes shorter.
// - entry, list and equation fields (41, 42, 124) and type 51: the 100-byte
//   part in the 128-byte file form of a field format, then the attribute
//   records; the file record is 14 bytes longer.
//
// The older field records of type 51 are read as Labels: as a field first,
// then converted (text/tx_label.h txConvertOldLabel).
#pragma once
#include "support/qmwin.h"

struct ObTypeProcs;

// Sets the file forms of a type record (model/ob_types.h) for these types;
// other types are left alone.
void fldSetFileForm(int16_t type, ObTypeProcs *procs);
