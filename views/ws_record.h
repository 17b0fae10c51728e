// The workspace record: the 288-byte state of a workspace (page view)
// window, a memory handle in window long 12. Every other module reads and
// writes it only through the accessors below, each of which locks the
// record, touches one field and unlocks it again. Getters answer 0 (none)
// for a null window or a window without a record unless said otherwise.
#pragma once
#include "support/qmwin.h"
#include "support/dm_map.h"
#include "model/ws_document.h"
#include "model/ws_hidden_types.h"

// The one pending undo step of a workspace (24 bytes). The object is not
// owned; the saved data and the member list are handles freed with it.
struct UndoRecord {
    uint32_t object;        // the object the step applies to
    uint32_t saved;         // saved-data handle, or a value for some kinds
    uint16_t kind;          // UndoKind; 0: nothing pending
    uint16_t subKind;
    uint32_t members;       // member-list handle
    uint16_t memberCount;
    uint16_t command;       // kind 2: the command id sent back on undo
    uint32_t reserved20;
};
static_assert(sizeof(UndoRecord) == 24, "the undo record is 24 bytes");

enum { WS_VIEW_MAPPING_SIZE = 84 };
static_assert(sizeof(ViewMapState) <= WS_VIEW_MAPPING_SIZE, "the view mapping fits its field");

struct WorkspaceRecord {
    uint32_t size;                 // 288
    uint16_t id;                   // 1020
    uint32_t docWindow;            // the parent "xqmdoc" window
    uint32_t rulers;               // the rulers' corner button
    uint32_t outputWindow;         // optional text output window (id 942)
    uint32_t thumbnailGrid;        // the page-thumbnail grid window
    MemHandle document;            // FormRecord
    int16_t currentType;           // ObjectType of the current object or create tool
    MemHandle currentObject;
    uint32_t modified;
    uint32_t changedSinceBackup;
    uint16_t minutesSinceBackup;
    MemHandle backupName;          // text of the auto-save backup's name
    int32_t hScrollMin, hScrollMax;
    int32_t vScrollMin, vScrollMax;
    int32_t pagePlaceX, pagePlaceY;
    uint8_t viewMapping[WS_VIEW_MAPPING_SIZE];   // a ViewMapState; map mode 0: none
    int16_t zoomCode;              // ZoomCode
    uint32_t trackedValue;
    MemHandle trackedObject;
    uint32_t trackedA, trackedB;
    UndoRecord undo;
    uint32_t savedCursor;
    uint16_t savedMode;            // temporarily pushed tool
    uint32_t savedProc;
    MemHandle textEditData;
    uint32_t tableEditValue;
    MemHandle pageRects;           // continuous view: 16-byte twip rectangles
    int32_t currentPageOffset;     // continuous view, device units
    uint16_t viewFlags;            // WS_VIEW_*
    MemHandle hiddenTypes;         // u16 object types hidden in this view
    uint32_t hiddenTypeCount;
    uint16_t markShape;            // 0 rectangle, 1 ellipse
    uint16_t scrollStyle;          // 0 single page, 1 page by page, 2 continuous
    int32_t markRect[4];           // left, top, right, bottom (twips)
    int16_t rememberedPage;
    uint32_t toolValue;            // owned by the current tool
    MemHandle docOptions;          // copy of the form's document options
    uint8_t reserved276[12];
};
static_assert(sizeof(WorkspaceRecord) == 288, "the workspace record is 288 bytes");
static_assert(offsetof(WorkspaceRecord, viewMapping) == 76, "view mapping at 76");
static_assert(offsetof(WorkspaceRecord, undo) == 180, "undo record at 180");
static_assert(offsetof(WorkspaceRecord, docOptions) == 272, "document options at 272");

enum : uint16_t {
    WS_RECORD_ID = 1020,
    WS_VIEW_RULER_FLAG = 0x0004,   // read while drawing, saving and naming
    WS_VIEW_PRINTING = 0x8000,
};

// ---- lifetime --------------------------------------------------------------------------
// The record of a workspace window (long 12); 0 for any other window.
MemHandle wsGetRecordHandle(HWND ws);
// Allocates and initialises a record and stores it in long 12; FALSE when
// memory fails.
BOOL wsCreateRecord(HWND ws);
// Fills a zeroed record: size, id, parent window, scroll style and the
// zoom from the settings (a code that is not a preset, -100 or -101 is
// replaced by -1 at 100 percent, also in the settings).
void wsInitRecord(HWND ws, WorkspaceRecord *rec);
// Ends the tool, drops the undo step and the document and frees everything
// the record owns, then the record; long 12 becomes 0.
void wsDestroyRecord(HWND ws);
WorkspaceRecord *wsLockRecord(HWND ws);
void wsUnlockRecord(HWND ws);

// ---- fields ----------------------------------------------------------------------------
MemHandle wsGetCurrentObject(HWND ws);
void wsSetCurrentObject(HWND ws, MemHandle object);
int16_t wsGetCurrentType(HWND ws);
void wsSetCurrentType(HWND ws, int16_t type);
// The parent document window when it is of class "xqmdoc", else none.
HWND wsGetDocWindow(HWND ws);
HWND wsGetRulersWindow(HWND ws);
void wsSetRulersWindow(HWND ws, HWND rulers);
// The thumbnail grid; a grid destroyed elsewhere is forgotten here.
HWND wsGetThumbnailGrid(HWND ws);
void wsSetThumbnailGrid(HWND ws, HWND grid);
HWND wsGetOutputWindow(HWND ws);
void wsSetOutputWindow(HWND ws, HWND output);

BOOL wsIsModified(HWND ws);
// Sets modified and changedSinceBackup; the first change updates the
// document window's title when a page is shown.
void wsMarkModified(HWND ws);
// Clears both flags, forgets the backup name; the title follows when the
// document was modified.
void wsClearModified(HWND ws);
BOOL wsIsChangedSinceBackup(HWND ws);
uint16_t wsGetMinutesSinceBackup(HWND ws);
// WM_COMMAND 921: counts a minute; writes a backup when the interval has
// passed and the document changed since the last one.
void wsAutoSaveTick(HWND ws);
void wsSetBackupName(HWND ws, const char *name);
// Copies the name into a buffer of `size` bytes (empty when none); nonzero
// when not empty.
int wsGetBackupName(HWND ws, char *buffer, uint32_t size);

// The view mapping kept by the workspace.
void wsKeepViewMapping(HWND ws);
// Makes the kept mapping current (currentPageOffset taken off its vertical
// origin); FALSE when nothing is kept.
BOOL wsApplyViewMapping(HWND ws);
BOOL wsGetScrollOrigin(HWND ws, int32_t *x, int32_t *y);
void wsSetScrollOrigin(HWND ws, int32_t x, int32_t y);
int32_t wsGetZoomPercent(HWND ws);
void wsSetZoomPercent(HWND ws, int32_t percent);
void wsSetZoomPercentDefault(HWND ws, int32_t percent);
uint16_t wsGetUnitOfMapping(HWND ws);
void wsSetUnitOfMapping(HWND ws, uint16_t unit);
void wsSetZoomCode(HWND ws, int16_t code);
void wsSetZoomCodeDefault(HWND ws, int16_t code);
// -100 and -101 as stored; otherwise the preset of the current percent
// (100 -1, 80 -2, 66 -3, 50 -4, 33 -5, 25 -6, 200 -21, 400 -20, 125 and
// 150 themselves), any other percent the stored code; without a record the
// settings' code.
int16_t wsGetZoomCode(HWND ws);
// The preset code of a percent, or 0 when it has none.
int16_t wsZoomCodeOfPercent(int32_t percent);
// The workspace's DC with its mapping applied; release with ReleaseDC.
HDC wsGetDC(HWND ws);

void wsBeginWaitCursor(HWND ws);
void wsEndWaitCursor(HWND ws);

void wsSetTracked(HWND ws, uint32_t value, MemHandle object, uint32_t a, uint32_t b);
uint32_t wsGetTrackedValue(HWND ws);
MemHandle wsGetTrackedObject(HWND ws);
void wsGetTrackedPair(HWND ws, uint32_t *a, uint32_t *b);

// The pending undo block: copied out (TRUE when its kind is above 0), in,
// freed and zeroed (as udDiscard: its two handles, and first the objects a
// merge step keeps).
BOOL wsGetUndo(HWND ws, UndoRecord *out);
void wsPutUndo(HWND ws, const UndoRecord *in);
void wsFreeUndo(HWND ws);
BOOL wsIsUndoPending(HWND ws);

BOOL wsGetMarkArea(HWND ws, RECT *out, uint16_t *shape);
void wsSetMarkRect(HWND ws, const RECT *r);
void wsSetMarkShape(HWND ws, uint16_t shape);
void wsClearMarkRect(HWND ws);
BOOL wsHasMarkRect(HWND ws);

uint32_t wsGetToolValue(HWND ws);
void wsSetToolValue(HWND ws, uint32_t value);
MemHandle wsGetDocOptions(HWND ws);

// The slots of the record that hold the model's values: the document and
// the hidden types (model/ws_document.h, model/ws_hidden_types.h),
// installed at start-up.
const WsRecordSlots *wsWorkspaceRecordSlots();
// Hides (hide nonzero, when absent) or shows (when present) a type; 1
// when the list changed. An emptied list is freed.
int wsSetTypeHidden(HWND ws, uint16_t type, BOOL hide);

// The setter stores the current page index; -1 without a record.
void wsSetRememberedPage(HWND ws);
int wsGetRememberedPage(HWND ws);
BOOL wsIsPrinting(HWND ws);
void wsSetPrinting(HWND ws, BOOL on);
uint16_t wsGetViewFlags(HWND ws);

void wsSetSavedSession(HWND ws, MemHandle data);
MemHandle wsGetSavedSession(HWND ws);
void wsSetTableEditValue(HWND ws, uint32_t value);
uint32_t wsGetTableEditValue(HWND ws);
// The table-editing flag: the table editor keeps a value while a cell is
// edited; the text editor then invalidates instead of painting.
BOOL wsIsTableEditing(HWND ws);

uint16_t wsGetScrollStyle(HWND ws);
void wsSetScrollStyle(HWND ws, uint16_t style);
void wsGetHScrollRange(HWND ws, int32_t *min, int32_t *max);
void wsGetVScrollRange(HWND ws, int32_t *min, int32_t *max);
void wsGetPagePlacement(HWND ws, int32_t *x, int32_t *y);
int32_t wsGetCurrentPageOffset(HWND ws);

// The temporarily pushed tool (tool-mode protocol).
uint16_t wsGetSavedMode(HWND ws);
uint32_t wsGetSavedProc(HWND ws);
void wsSetSavedTool(HWND ws, uint16_t mode, uint32_t proc);

// Drops what the module keeps for the process (tests).
void wsResetRecordModule();
