// Composite objects (type 500) as the user makes and edits them: the
// settings record, the "COMPOSITE" dialog ("Define Composite", or "Clone"
// for the Clone command), making a composite around an object, editing
// and restoring it, and the in-place edit of its centre (tool mode 34).
// Placing, drawing and bounding the copies is objects/sh_composite.
#pragma once
#include "support/qmwin.h"
#include "objects/sh_composite.h"

#pragma pack(push, 1)
// The type data of a composite: the placement rule of CompositeData
// (whose u32 flags overlay the flag byte at +48 and bytes 49 to 51), the
// rest kept as it stands.
struct CompositeSettings {
    uint32_t size;          // 58
    uint16_t kind;          // 0 "Default", 2 "2-Dimensional", 3 "Frame", 4 "Radial", 5 "Spiral"
    int16_t copies;         // horizontal count
    int16_t rotationStep;   // tenths of a degree
    int32_t centreX;        // the composite's centre from the base object's centre
    int32_t centreY;
    int32_t offsetX;
    int32_t offsetY;
    float scaleX;
    float scaleY;
    uint32_t penStep;       // red | green << 8 | blue << 16
    uint32_t fillStep;
    uint32_t backStep;
    int16_t rows;           // second count (kinds 2 and 3); 0 reads as 1
    uint8_t flags;          // bit 0 "Scale Offset Too!"
    uint8_t unused[7];
    uint16_t kept;
};
#pragma pack(pop)
static_assert(sizeof(CompositeSettings) == kCpSettingsSize, "composite settings are 58 bytes");
static_assert(offsetof(CompositeSettings, centreX) == offsetof(CompositeData, dx), "+10");
static_assert(offsetof(CompositeSettings, scaleX) == offsetof(CompositeData, scaleX), "+26");
static_assert(offsetof(CompositeSettings, rows) == offsetof(CompositeData, rows), "+46");
static_assert(offsetof(CompositeSettings, flags) == offsetof(CompositeData, flags), "+48");

// Bytes of a new composite record: the head with no name and the settings.
const uint32_t kCpRecordSize = kObHeadSize + kCpSettingsSize;
static_assert(kCpRecordSize == 144, "a composite record is 144 bytes");

// Result codes of the dialog.
enum : int {
    CP_RESULT_CANCEL = 0,
    CP_RESULT_OK = 1,
    CP_RESULT_EDIT_CENTRE = 2,
    CP_RESULT_RESTORE = 4,
};

void cpDefaultSettings(CompositeSettings *s);
// The previous settings zeroed ("Retrieve Previous Setup" disabled); at
// frame creation.
void cpClearPreviousSettings();
// Copies placed by the settings: copies x second count for kind 2, copies
// otherwise.
int32_t cpTotalCopies(const CompositeSettings *s);
// The dialog's check of the total: kind 2 copies x count, kind 3
// (copies + count) x 2 - 2, else copies.
int32_t cpDialogTotal(int kind, int32_t copies, int32_t count);
// The settings of a composite's record (the defaults when it holds none).
void cpGetSettings(MemHandle composite, CompositeSettings *s);

// Reads and checks the dialog's fields into the working settings (the
// failing field selected, its message shown); the result code, or -1 when
// a field failed.
int cpReadDialog(HWND dlg);
// Runs "COMPOSITE" on the settings: for the object (creating or editing,
// counts up to 64) or, with no object, in Clone mode (counts up to 8, no
// preview). 1 on OK with the settings and the result code.
int cpEditDialog(HWND ws, MemHandle object, CompositeSettings *s, BOOL creating, int *result);
// The clone settings from the defaults; 1 on OK.
int cpAskCloneSettings(HWND ws, CompositeSettings *s);

// A composite around the object, in its place in the page's list, the
// object attached as its base; 0 without memory (nothing changed).
MemHandle cpMakeComposite(HWND ws, MemHandle object, const CompositeSettings *s);
// The base object back in the composite's place; the composite freed.
MemHandle cpRestoreBase(HWND ws, MemHandle composite);
// The settings stored (bytes 49 to 57 kept) and the composite's box
// recomputed; a record too short for them grows. The valid handle.
MemHandle cpApplySettings(MemHandle composite, const CompositeSettings *s);
// The whole flow of making (creating) or editing a composite; the object
// that results (the base object after a restore), 0 when cancelled; the
// result code in *result.
MemHandle cpEditComposite(HWND ws, MemHandle object, BOOL creating, int *result);
// Result 2 starts the centre edit.
void cpAfterEdit(HWND ws, MemHandle object, int result);
// 1 when the object is a composite whose two factors are equal.
int cpIsUniformScale(MemHandle object);

// ---- the centre edit ----------------------------------------------------------------------------
void cpStartCentreEdit(HWND ws, MemHandle composite);
LRESULT CALLBACK CompositeCentreWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);
// The centre handle (XOR), as the workspace painting draws it in mode 34.
void cpDrawCentreHandle(HDC dc);
// The centre point of the edit and the handle radius (10 points).
POINT cpCentrePoint();
const int32_t kCpCentreRadius = 200;

// A hook for tests: the settings the Clone command uses instead of asking
// (null asks again).
void cpSetCloneSettingsSource(const CompositeSettings *fixed);
