// Entry field option dialogs ("editstyle", "entdatatype", "entws"), the
// form's special options ("formspecial") and the lists of field names that
// choosers offer.
#pragma once
#include "support/qmwin.h"
#include "forms/ent_field.h"

// SpecialOptions (form attribute 0x40000): u32 length 32, u32 reserved, u32
// flags (bit 0 "Flush Clipboard", bit 1 "Encode Objects"), 20 reserved bytes.
enum : uint32_t {
    FM_SPECIAL_SIZE = 32,
    FM_SPECIAL_FLUSH_CLIPBOARD = 0x1,
    FM_SPECIAL_ENCODE_OBJECTS = 0x2,
    FM_OPTION_SPECIAL = 0x4000,   // form option bit set with both special options
};

// Kinds of the field name lists.
enum : int {
    FLD_NAMES_FIELDS = 1,          // entry, list and equation fields
    FLD_NAMES_NUMERIC = 2,         // those fields of a numeric type
    FLD_NAMES_GRAPHIC = 3,         // trees with no field, control, text or label
    FLD_NAMES_FIELDS_TABLES = 4,
    FLD_NAMES_NUMERIC_TABLES = 5,
    FLD_NAMES_FIELDS_COUNTERS = 6,
};

// "editstyle": bit 0x1 (when allowed) and bit 0x40 of the word; 1 on OK.
int fldEditEntryStyle(HWND owner, uint16_t *style, uint16_t unused, BOOL allowMultiLine);
// "entdatatype": on OK the chosen type and the flags recomputed for it; 1 on OK.
int fldChooseDataType(HWND owner, const char *caption, uint16_t *type, uint32_t *flags);
// "entws" on a copy of the defaults; on OK they are copied back with the list
// and link flags 0; 1 on OK.
int fldEditEntryDefaults(HWND owner, EntryFieldPart *defaults);
// "formspecial" on the block (0 when the form has none): OK writes both bits
// and gives 0 (the block freed) when the flags became 0; Cancel leaves the
// handle as given. Returns the handle to keep.
MemHandle fmEditSpecialOptions(HWND owner, MemHandle block, int *result = nullptr);
// Both special options on, and the form option bit 0x4000; returns the form
// record valid afterwards.
MemHandle fmSetAllSpecialOptions(MemHandle form);

// The first object of the list (by next links) whose name equals the name
// ignoring case; unnamed objects are skipped. 0 when none.
MemHandle obFindByName(MemHandle first, const char *name);
// Whether an object passes the kind filter of the name lists.
BOOL fldNameKindAccepts(MemHandle object, int kind);
// Delimited lists of names (new string handles, 0 when empty).
MemHandle fldListPageNames(MemHandle page, char delimiter, int kind);
MemHandle fldListPageNamesDeep(MemHandle page, char delimiter, int kind);
// Every page of the workspace's document in page order (up to the given
// index); a page read from the file for the list is released again, and a
// page that was in memory before stays.
MemHandle fldListDocNames(HWND workspace, char delimiter, int kind);
MemHandle fldListDocNamesUpTo(HWND workspace, int lastPage, char delimiter, int kind);
