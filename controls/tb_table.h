// Tool-button tables: the entries every button list is built from, the
// constant tables of the program's tool bars and palettes, and the helpers
// that build entries and sub-lists.
#pragma once
#include "support/qmwin.h"

// One button. The fields follow each other directly (an array of entries is
// a plain concatenation); every copy, insertion and removal moves whole
// entries.
#pragma pack(push, 1)
struct ToolButton {
    uint16_t command;     // WM_COMMAND id of a left-button press (0: empty entry)
    uint16_t command2;    // right-button command; also the high word of wParam
    int16_t objType;      // object type a drawing tool creates (negative: vertical)
    uint16_t kind;        // ToolButtonKind flags; 0 marks an empty slot
    uint16_t enabled;     // 1 enabled, 0 disabled
    uint32_t color;       // COLORREF of the bar drawn with TBK_COLOR_BAR
    char bitmap[16];      // bitmap resource name, or the face text with TBK_TEXT_FACE
    char tooltip[32];     // tooltip text
    uint32_t handle;      // popup menu (TBK_MENU) or MemHandle of a fly-out sub-list
};
#pragma pack(pop)
static_assert(sizeof(ToolButton) == 66, "ToolButton is 66 bytes");

// ToolButtonKind: the flag word of an entry.
enum : uint16_t {
    TBK_STAYS = 0x1,          // becomes the list's pressed button after its command
    TBK_COMMAND = 0x2,        // plain command button
    TBK_MENU = 0x4,           // opens the popup menu in the handle field
    TBK_AT_PRESS = 0x8,       // sends at once on the press, screen point in lParam
    TBK_REPEAT = 0x10,        // repeats while held
    TBK_POINT_ON_UP = 0x20,   // on release lParam is the screen point
    TBK_TRIANGLE = 0x40,      // small black triangle in the lower right corner
    TBK_COLOR_BAR = 0x80,     // bar in the entry's colour along the bottom
    TBK_TEXT_FACE = 0x100,    // the bitmap-name field is drawn as text
    TBK_DRAG = 0x200,         // can be dragged out onto the page
};

// Fills an entry from its parts; the second command id and the colour are 0.
// The strings are cut to fit their fields and always terminated.
void blFillButton(ToolButton *entry, uint16_t command, int16_t objType, uint16_t kind,
                  uint16_t enabled, const char *bitmap, const char *tooltip, uint32_t handle);

// Length of a fixed-size string field, never past the field's end.
uint32_t tbFieldLen(const char *field, uint32_t size);

// The constant tables. Counts are given beside each table.
extern const ToolButton tbTextFlowTable[];       // "Text Tool" palette
extern const int16_t tbTextFlowCount;            // 7
extern const ToolButton tbDrawToolTable[];       // docked drawing tools, list id 2
extern const int16_t tbDrawToolCount;            // 21
extern const ToolButton tbCommandTable[];        // file, page and edit, list id 1024
extern const int16_t tbCommandCount;             // 21
extern const ToolButton tbCommandNarrowTable[];  // the same on narrow screens
extern const int16_t tbCommandNarrowCount;       // 12
extern const ToolButton tbModeToolTable[];       // main tool list, list id 8
extern const int16_t tbModeToolCount;            // 16
extern const ToolButton tbMoveSizeTable[];       // two-column list, list id 32
extern const int16_t tbMoveSizeCount;            // 35
extern const ToolButton tbMoreObjectsTable[];    // "More Objects" palette
extern const int16_t tbMoreObjectsCount;         // 16
extern const ToolButton tbColorTargetTable[];    // colour-target buttons
extern const int16_t tbColorTargetCount;         // 4
extern const ToolButton tbNodeLineTable[];       // node editing, types 2 to 5
extern const int16_t tbNodeLineCount;
extern const ToolButton tbNodePolylineTable[];   // type 14
extern const int16_t tbNodePolylineCount;
extern const ToolButton tbNodePolygonTable[];    // type 15
extern const int16_t tbNodePolygonCount;
extern const ToolButton tbNodeHVPolylineTable[]; // type 17
extern const int16_t tbNodeHVPolylineCount;
extern const ToolButton tbNodeBezierTable[];     // type 18
extern const int16_t tbNodeBezierCount;
extern const ToolButton tbNodeClosedTable[];     // type 19
extern const int16_t tbNodeClosedCount;

// Screens narrower than this take the narrow file, page and edit table.
enum { TB_NARROW_SCREEN_LIMIT = 800 };

// The file, page and edit table for a screen of the given width.
const ToolButton *tbCommandTableFor(int screenWidth, int16_t *count);
// The node-editing table for an object type; null (count 0) for other types.
const ToolButton *tbNodeTableFor(int objType, int16_t *count);

// A list of every table with its count, for walking all of them.
struct ToolButtonTableRef {
    const char *name;
    const ToolButton *entries;
    int16_t count;
};
const ToolButtonTableRef *tbAllTables(int *n);

// Sub-lists of fly-outs: a run of entries ended by an entry whose command id
// is 0 (or negative as a signed word); the terminator is stored with the run.
// Makes a handle holding the n entries and a terminator; 0 on failure.
MemHandle tbMakeSubList(const ToolButton *entries, int n);
// Entries of a sub-list before its terminator, never counting past the end
// of the block (a block without a terminator counts its whole entries).
int tbCountSubList(MemHandle subList);
