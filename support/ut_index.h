// Index labels: a prefix, a counter formatted to a width and a suffix, with
// which tables and fields number their cells, and the "Indexing" dialog
// that edits them.
//
// The record is a handle whose first u32 is its length:
//   0 u32 length = 30 + prefix size + suffix size   4 u16 0
//   6 i32 current value   10 i32 base value   14 i32 increment
//   18 i16 width (characters of the value, 0..16; 0 = as long as needed)
//   20 u16 flags (bit 0: pad with zeros)
//   22 i32 prefix size, 26 i32 suffix size (length + 1, 0 when none)
//   30 the prefix with its terminator, then the suffix with its terminator
#pragma once
#include "support/qmwin.h"

enum : uint32_t {
    IDX_LENGTH = 0, IDX_CURRENT = 6, IDX_BASE = 10, IDX_STEP = 14, IDX_WIDTH = 18,
    IDX_FLAGS = 20, IDX_PREFIX_SIZE = 22, IDX_SUFFIX_SIZE = 26, IDX_TEXTS = 30,
};
const uint32_t kIdxHeadSize = 30;
const int16_t kIdxMaxWidth = 16;
const uint16_t kIdxPadZeros = 0x1;
// The longest prefix and suffix the dialog takes, in characters.
const int kIdxMaxAffix = 31;

// An empty record of 30 bytes with length 30.
MemHandle utIndexLabelNew();
// A record from its parts (prefix or suffix null or empty for none).
MemHandle utIndexLabelMake(int32_t base, int32_t step, int16_t width, BOOL padZeros,
                           const char *prefix, const char *suffix);
// The prefix / suffix copied into the buffer (size bytes); FALSE (buffer
// emptied) when there is none or the record does not hold it.
BOOL utIndexLabelPrefix(MemHandle label, char *buffer, uint32_t size);
BOOL utIndexLabelSuffix(MemHandle label, char *buffer, uint32_t size);
int32_t utIndexLabelCurrent(MemHandle label);
// current + increment; with `store` it becomes the current value.
int32_t utIndexLabelNext(MemHandle label, BOOL store);
// max(digits of the value, width) + the prefix's and the suffix's lengths.
int32_t utIndexLabelMaxLength(MemHandle label, int32_t value);
// The label of the value (width > 0: padded with zeros or blanks on the
// left to the width) into the buffer (size bytes); its length.
int utIndexLabelFormat(MemHandle label, int32_t value, char *buffer, uint32_t size);
// The same in a new string handle.
MemHandle utIndexLabelText(MemHandle label, int32_t value);

// "Indexing" ("sidx") on a copy of *label: on OK *label becomes an exact
// copy of the edited record (a new handle when it had none); on Cancel it
// is untouched. Help is hidden without a keyword. The dialog's result.
INT_PTR dlgIndexing(HWND owner, MemHandle *label, const char *helpKeyword);
