// The form record: a document in memory. One movable block holding an
// 80-byte fixed part (options, view settings, page count, current page,
// resources, the page directory, the file name, the base page and data
// blocks) followed by the tagged form attributes.
//
// The form owns its directory (and through it the pages held in memory and
// their temporary files), its blocks, its file name and its base page;
// fmFree releases all of them. Operations that add or change attributes may
// move the form: they return the handle that is valid afterwards, and the
// caller keeps that one. Getters on a null form answer 0 (or the value
// their comment gives).
#pragma once
#include "support/qmwin.h"
#include "model/att_attr.h"

#pragma pack(push, 1)
struct FormRecord {
    uint32_t length;          // 80 + the bytes of the attribute records
    int16_t type;             // from the form defaults
    uint16_t spare;           // not carried in files
    uint32_t updateTime;      // seconds since 1970-01-01
    int16_t pages;            // entries of the page directory
    uint16_t options;         // FormOptions
    uint16_t style;           // FM_STYLE_* bits
    uint16_t viewFlags;
    uint8_t viewByte1;
    uint8_t viewByte2;
    uint16_t gridDivisions;
    uint16_t unit;            // a stored 0 counts as 3 (inch)
    uint32_t viewWord;
    uint16_t currentPage;     // 0-based; 0xFFFF the base page
    uint32_t resources;       // FM_RES_BASE_PAGE
    uint16_t resourceCount;
    uint32_t resourceWord;
    AttrHeader attrs;
    MemHandle blocks[3];      // saved as packets after the form head
    MemHandle block4;         // memory only: the identity of the file the
                              // directory was read from (QmfFileIdentity)
    MemHandle directory;      // PageDirEntry array, one per page
    MemHandle fileName;       // full path; null or empty for a new document
    MemHandle basePage;       // page record, or null
    uint16_t reserved78;
};
#pragma pack(pop)
static_assert(sizeof(FormRecord) == 80, "the form record's fixed part is 80 bytes");
static_assert(offsetof(FormRecord, pages) == 12, "pages at 12");
static_assert(offsetof(FormRecord, options) == 14, "options at 14");
static_assert(offsetof(FormRecord, viewFlags) == 18, "view flags at 18");
static_assert(offsetof(FormRecord, viewWord) == 26, "view word at 26");
static_assert(offsetof(FormRecord, currentPage) == 30, "current page at 30");
static_assert(offsetof(FormRecord, resources) == 32, "resources at 32");
static_assert(offsetof(FormRecord, attrs) == 42, "attribute header at 42");
static_assert(offsetof(FormRecord, blocks) == 50, "blocks from 50");
static_assert(offsetof(FormRecord, directory) == 66, "page directory at 66");
static_assert(offsetof(FormRecord, basePage) == 74, "base page at 74");

const uint32_t kFmHeadSize = 80;
const uint16_t kFmBasePageIndex = 0xFFFF;

// FormOptions.
enum : uint16_t {
    FM_OPT_SAVE_OPTION_ANSWERED = 0x40,   // the "Save Option" prompt was answered
    FM_OPT_FLAG80 = 0x80,
    FM_OPT_FLAG400 = 0x400,
    FM_OPT_FLAG1000 = 0x1000,
    FM_OPT_PRINT_BACKGROUNDS = 0x2000,
    FM_OPT_NOT_IN_RECENT = 0x4000,
    FM_OPT_KEPT_ON_CLEAR = 0x8000,
};
// Style bits.
enum : uint16_t {
    FM_STYLE_4 = 0x4,
    FM_STYLE_SAVED = 0x8000,
};
enum : uint32_t { FM_RES_BASE_PAGE = 1 };

// FormAttrTag.
enum : uint32_t {
    FM_TAG_TEXT2 = 2,                 // receives the global default text
    FM_TAG_NUMBER_SETTINGS = 8,
    FM_TAG_FACING_PAGES = 64,
    FM_TAG_DOC_OPTIONS = 0x200,
    FM_TAG_PASSWORD = 0x2000,
    FM_TAG_SPECIAL_OPTIONS = 0x40000,
    FM_TAG_TEXT2000000 = 0x2000000,
    FM_TAG_TEXT4000000 = 0x4000000,
    FM_TAG_TEXT10000000 = 0x10000000,
    FM_TAG_BLOCK = 0x20000000,
    FM_TAG_NAME_COUNTERS = 0x40000000,
    FM_TAG_PRINTER_NAMES = 0x80000000u,
};

// ---- life ---------------------------------------------------------------------
// A new form: the form defaults, option 0x40, the global default text as
// tag 2 when the settings hold one, the name counters, the current
// printer's names. Null when memory fails.
MemHandle fmNew();
// Deletes the temporary files of every directory entry, frees the pages
// each entry holds, the directory, blocks 1-4, the file name, the base page
// with its objects, then the record. Null is ignored.
void fmFree(MemHandle form);

// ---- attributes -----------------------------------------------------------------
// The data of the attribute inside the locked record (its length through
// `length`), or null with the record unlocked again; after a hit the caller
// calls fmUnlock. A record whose attributes do not add up finds nothing.
const uint8_t *fmFindAttr(MemHandle form, uint32_t tag, int *length = nullptr);
void fmUnlock(MemHandle form);
// Stores the data as the attribute (length 0 removes it); returns the form
// valid afterwards, the unchanged handle when memory fails.
MemHandle fmSetAttr(MemHandle form, uint32_t tag, const void *data, int length);
// A copy of an attribute's data in a new handle; 0 when absent or empty.
MemHandle fmGetAttrCopy(MemHandle form, uint32_t tag);
// The four text attributes (2, 0x2000000, 0x4000000, 0x10000000): a new
// terminated string handle, null when absent; a null or empty text removes.
MemHandle fmGetTextAttr(MemHandle form, uint32_t tag);
MemHandle fmSetTextAttr(MemHandle form, uint32_t tag, const char *text);
BOOL fmHasText4000000(MemHandle form);
BOOL fmHasNumberSettings(MemHandle form);

// ---- fields ---------------------------------------------------------------------
int fmGetPageCount(MemHandle form);
uint16_t fmGetOptions(MemHandle form);
void fmSetOptions(MemHandle form, uint16_t options);
// 1 when 0x4000 is clear (also for no form).
int fmIsInRecentList(MemHandle form);
void fmToggleRecentList(MemHandle form);
// 1 when 0x40 is clear.
int fmNeedsSaveOptionPrompt(MemHandle form);
// due nonzero clears 0x40 (the prompt is due again), 0 sets it.
void fmSetSaveOptionDue(MemHandle form, BOOL due);
void fmSetFlag400(MemHandle form, BOOL on);
int fmGetFlag400(MemHandle form);
int fmPrintsBackgrounds(MemHandle form);
int fmGetFlag1000(MemHandle form);
void fmSetFlag80(MemHandle form, BOOL on);
int fmGetFlag80(MemHandle form);
// Clears every option but 0x8000.
void fmClearOptions(MemHandle form);
uint16_t fmGetStyle(MemHandle form);
void fmSetStyle(MemHandle form, uint16_t style);
void fmSetStyleSaved(MemHandle form);
void fmSetStyle4(MemHandle form, BOOL on);
int fmGetStyle4(MemHandle form);
uint32_t fmGetViewWord(MemHandle form);
// 1 when the stored value changed.
int fmSetViewWord(MemHandle form, uint32_t value);
int fmGetGridDivisions(MemHandle form);
// The measurement unit; a stored 0 answers 3 (inch).
int fmGetUnit(MemHandle form);
// The current page: 0-based, -1 for the base page (0 for no form).
int fmGetCurrentPage(MemHandle form);
void fmSetCurrentPage(MemHandle form, int index);
MemHandle fmGetDirectory(MemHandle form);
MemHandle fmGetBasePage(MemHandle form);
// Stores the handle and sets resources bit 0 exactly when it is not null.
void fmSetBasePage(MemHandle form, MemHandle page);
// Frees the base page with its objects and clears the bit.
void fmDropBasePage(MemHandle form);
// Length equals 80 + the attribute bytes.
BOOL fmIsLengthConsistent(MemHandle form);
// The file name: stored as a new string (null or empty clears it); copied
// into a buffer of `size` bytes, cut to fit; 1 when not empty.
BOOL fmSetFilePath(MemHandle form, const char *path);
int fmGetFilePath(MemHandle form, char *buffer, uint32_t size);
BOOL fmHasFilePath(MemHandle form);

// ---- facing pages (tag 64) -------------------------------------------------------
// Stores the length-prefixed record of the handle (u32 length, u16 mode at
// 6, i16 first page number at 8); a null handle removes it.
MemHandle fmSetFacingPages(MemHandle form, MemHandle record);
// 1 when the record exists, its mode is 1 or 2 and n minus its first page
// number is odd.
int fmIsMirroredPage(MemHandle form, int n);

// ---- length-prefixed attribute blocks ------------------------------------------------
// Special options (tag 0x40000): u32 length first, flags in the third u32.
MemHandle fmGetSpecialOptions(MemHandle form);
MemHandle fmSetSpecialOptions(MemHandle form, MemHandle block);
int fmGetSpecialFlag0(MemHandle form);
int fmGetSpecialFlag1(MemHandle form);
// The block of tag 0x20000000.
MemHandle fmGetBlock(MemHandle form);
MemHandle fmSetBlock(MemHandle form, MemHandle block);

// ---- document options (tag 0x200) ---------------------------------------------------
#pragma pack(push, 1)
struct DocOptions {
    uint32_t length;          // 72 + the bytes of its own attributes
    uint16_t kind;            // 331
    uint32_t flagsA;          // 0x80000000 by default
    uint8_t reserved10[44];
    uint16_t flagsB;          // DO_B_* bits, 0x8000 by default
    uint8_t reserved56[4];
    AttrHeader attrs;         // its own attributes, from byte 72
    uint16_t reserved68;
    uint16_t word70;
};
#pragma pack(pop)
static_assert(sizeof(DocOptions) == 72, "document options are 72 bytes before their attributes");
static_assert(offsetof(DocOptions, flagsB) == 54, "flags word B at 54");
static_assert(offsetof(DocOptions, attrs) == 60, "own attribute header at 60");

enum : uint16_t {
    DO_B_2 = 0x2, DO_B_4 = 0x4, DO_B_20 = 0x20, DO_B_100 = 0x100, DO_B_200 = 0x200,
    DO_B_400 = 0x400, DO_B_800 = 0x800, DO_B_4000 = 0x4000, DO_B_8000 = 0x8000,
};
// Tags of the document options' own attributes.
enum : uint32_t {
    DO_TAG_TEXT4 = 4, DO_TAG_BLOCK8 = 8, DO_TAG_TEXT16 = 16, DO_TAG_TEXT64 = 64,
    DO_TAG_TEXT1000000 = 0x1000000, DO_TAG_TEXT2000000 = 0x2000000,
    DO_TAG_TEXT4000000 = 0x4000000, DO_TAG_TEXT8000000 = 0x8000000,
    DO_TAG_TEXT10000000 = 0x10000000, DO_TAG_TEXT20000000 = 0x20000000,
    DO_TAG_BLOCK80000000 = 0x80000000u,
};
// The defaults: length 72, kind 331, flags A 0x80000000, flags B 0x8000.
void docOptionsDefaults(DocOptions *options);
// The 72 fixed bytes into the buffer; 0 (buffer untouched) without them.
int fmGetDocOptions(MemHandle form, DocOptions *options);
// The whole record with its own attributes as a new handle, 0 without one.
MemHandle fmDupDocOptions(MemHandle form);
// Stores a record (its own length, within its block) as tag 0x200; a null
// handle removes it. Returns the form valid afterwards.
MemHandle fmSetDocOptions(MemHandle form, MemHandle options);
// The own attributes of a record copy: a text as a new string (null when
// absent); storing returns the copy valid afterwards (a null or empty text,
// or length 0, removes).
MemHandle doGetText(MemHandle options, uint32_t tag);
MemHandle doSetText(MemHandle options, uint32_t tag, const char *text);
MemHandle doGetAttrCopy(MemHandle options, uint32_t tag);
MemHandle doSetAttr(MemHandle options, uint32_t tag, const void *data, int length);
// Flags word A; nothing is stored without document options.
uint32_t doGetFlagsA(MemHandle form);
MemHandle doSetFlagsA(MemHandle form, uint32_t flags);
// Any of the bits 0x6C of flags word A.
int doAnyFlagsA(MemHandle form);
int doGetWord70(MemHandle form);
// The getter of a bit of flags word B: 0x2, 0x200 and 0x4000 answer 1 when
// the bit is clear, the others when it is set; a document without options
// answers 1 for 0x2, 0x200, 0x4000 and 0x8000 and 0 for the rest. The
// setter makes the getter answer `value` (so for 0x200 it stores the
// inverse); without options only 0x400 and 0x800 create the defaults, and
// only when their bit is to be set. Returns the form valid afterwards.
int doGetFlagB(MemHandle form, uint16_t bit);
MemHandle doSetFlagB(MemHandle form, uint16_t bit, BOOL value);

// ---- password (tag 0x2000) -----------------------------------------------------------
const int kFmPasswordMax = 64;   // characters; buffers hold one more
// The stored password unscrambled into a buffer of kFmPasswordMax + 1
// bytes (at most kFmPasswordMax characters are copied); returns its length,
// 0 and an empty buffer without one.
int fmGetPassword(MemHandle form, char *buffer);
// A non-empty text (its first kFmPasswordMax characters) is scrambled and
// stored; an empty or null one removes the password.
MemHandle fmSetPassword(MemHandle form, const char *text);

// ---- name counters (tag 0x40000000) ----------------------------------------------------
// Slots of the counters: the u16 at byte 2 x slot of the 42-byte record.
enum FmNameKind : int {
    FM_NAME_FIELD = 4,         // "F%03d"
    FM_NAME_BUTTON = 5,        // "Button%03d"
    FM_NAME_CHECKBOX = 6,      // "CheckBox%03d"
    FM_NAME_GROUPBOX = 7,      // "GroupBox%03d"
    FM_NAME_TABLE = 8,         // "Table%03d"
    FM_NAME_RADIO = 11,        // "RadioBtn%03d"
    FM_NAME_COUNTER = 12,      // "Counter%03d"
    FM_NAME_REPORT_TABLE = 13, // "rptb%03d"
    FM_NAME_IMAGE_FILE = 14,   // "Imgf%03d"
};
const int kFmNameCountersSize = 42;
const uint16_t kFmNameCountersKind = 315;
const uint16_t kFmNameLimit = 9999;
// Adds a fresh record (315, limit 9999, counters zero), replacing one that
// is there. Returns the form valid afterwards.
MemHandle fmAddNameCounters(MemHandle form);
// The next generated name into a buffer of 32 bytes: the counter steps
// (past the limit back to 1) until the workspace's current page has no
// object of that name; after trying every value once it gives up. *form
// is updated when the form moved (and the workspace, when given, is told).
// 1 when a name was written, else 0 with an empty buffer.
int fmNextName(HWND workspace, MemHandle *form, FmNameKind kind, char *buffer);
int fmNextFieldName(HWND workspace, MemHandle *form, char *buffer);
int fmNextButtonName(HWND workspace, MemHandle *form, char *buffer);
int fmNextCheckBoxName(HWND workspace, MemHandle *form, char *buffer);
int fmNextGroupBoxName(HWND workspace, MemHandle *form, char *buffer);
int fmNextTableName(HWND workspace, MemHandle *form, char *buffer);
int fmNextRadioButtonName(HWND workspace, MemHandle *form, char *buffer);
int fmNextCounterName(HWND workspace, MemHandle *form, char *buffer);
int fmNextReportTableName(HWND workspace, MemHandle *form, char *buffer);
int fmNextImageFileName(HWND workspace, MemHandle *form, char *buffer);
// The counter's value (-1 without counters).
int fmGetNameCounter(MemHandle form, FmNameKind kind);
// Reset sets the counter to 1; step back takes 1 off when it is above 0
// (the entry-field counter read as signed).
void fmResetNameCounter(MemHandle form, FmNameKind kind);
void fmUndoName(MemHandle form, FmNameKind kind);
void fmResetFieldCounter(MemHandle form);
void fmUndoFieldName(MemHandle form);
void fmResetTableCounter(MemHandle form);
void fmUndoTableName(MemHandle form);
void fmResetReportTableCounter(MemHandle form);
void fmUndoReportTableName(MemHandle form);
void fmResetImageFileCounter(MemHandle form);
void fmUndoImageFileName(MemHandle form);

// ---- printer names (tag 0x80000000) --------------------------------------------------
// Stores the current printer's names packet; without a printer the form is
// returned unchanged.
MemHandle fmStorePrinterNames(MemHandle form);
// 1 when the stored names have the length and bytes of the current
// printer's names packet.
int fmSamePrinter(MemHandle form);

// ---- debugging ---------------------------------------------------------------------------
// New string handle with the record's fields as text.
MemHandle fmDumpText(MemHandle form);

// Locks a form record for the guard's life; false (and no record) for a
// null or dead handle or a block smaller than the fixed part.
class FmLock {
public:
    explicit FmLock(MemHandle form);
    FormRecord *get() const { return rec_; }
    FormRecord *operator->() const { return rec_; }
    explicit operator bool() const { return rec_ != nullptr; }
    // The data of an attribute inside the locked record (its length through
    // `length`); null when absent or when the run does not add up.
    uint8_t *findAttr(uint32_t tag, int *length = nullptr) const;
private:
    MemLock<FormRecord> lock_;
    FormRecord *rec_;
    uint32_t block_;
};
