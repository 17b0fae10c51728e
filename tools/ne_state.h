// The shared state of node editing: the object being edited, a working copy
// of its points in page twips, the selected points and their box, the
// commit that writes the points back into the record, and the Line-Draw
// settings that the freehand drawing tools share with node editing. One
// node edit exists at a time; its state is module-level.
#pragma once
#include "support/qmwin.h"
#include <vector>

enum : uint16_t {
    NE_FLAG_OBJECT_PEN = 0x40,   // tracking lines in the object's own pen
    NE_FLAG_ADVANCED = 0x80,     // "Advanced line-create option": strokes go on after a drag
};

// Point indexes are 16-bit: an object of more points is not node edited.
const uint16_t kNeMaxPoints = 32767;

// What the notify routine is told: a commit (1) or the end of the edit (2).
enum : int { NE_NOTIFY_COMMIT = 1, NE_NOTIFY_END = 2 };
typedef void (*NeNotifyProc)(HWND ws, int what, int reserved, MemHandle object);

struct NodeEditState {
    int16_t type;          // ObjectType of the edited object
    HWND ws;               // the workspace that began the edit
    MemHandle object;      // the edited record
    MemHandle points;      // POINTs, page twips
    uint16_t count;
    MemHandle selection;   // int16_t indexes, two bytes per point
    uint16_t selCount;
    RECT box;              // bounds of the selected points
    int32_t boxValid;      // two or more points selected
    RECT skew[4];          // skew handles
    int32_t skewShown;
    int32_t dragging;      // a drag outline is under way: no selection box
    NeNotifyProc notify;
};

// The module's state (for the node tools, painting and tests).
NodeEditState *neGetState();
// A copy of the working points.
std::vector<POINT> neWorkingPoints();

// ---- settings ("EPenv") --------------------------------------------------------------------
// The flags word (default 0x40).
uint16_t neGetFlags();
// Device pixels, clamped on read: minimum spacing at least 1 (default 3),
// curve resolution at least 2 (default 6), close spacing at least 2
// (default 5).
int32_t neGetMinSpacing();
int32_t neGetCurveResolution();
int32_t neGetCloseSpacing();
// The three numbers and the advanced bit, as the Options page shows them;
// the setter stores the numbers as given.
void neGetLineDrawOptions(int32_t *spacing, int32_t *resolution, int32_t *close, BOOL *advanced);
void neSetLineDrawOptions(int32_t spacing, int32_t resolution, int32_t close, BOOL advanced);
// Defaults, then the four numbers of "spacing, resolution, close, flags"
// when all four can be read: a number outside its range (1..64, 4..64,
// 1..32) keeps its default; a nonzero flags value only sets or clears bit
// 0x80.
void neLoadSettings(const char *text);
// "%d, %d, %d, %d" of spacing, resolution, close spacing and flags; the
// buffer needs 32 bytes.
char *neSaveSettings(char *buffer);
// The settings value read at frame creation and written at frame close.
void neReadSettingsValue();
void neWriteSettingsValue();

// ---- the edit ------------------------------------------------------------------------------------
// Starts editing the object: any earlier state freed, the object selected,
// a copy of its points taken, nothing selected. 0 when memory fails or the
// object has no points or more than kNeMaxPoints of them (state empty).
int neBeginObject(HWND ws, MemHandle object);
// The same for a record that replaced the edited one; the selection is
// kept (indexes past the new count dropped) and its box recomputed.
int neRestartObject(HWND ws, MemHandle object);
// Frees the state; a notify routine is first told the edit ended.
void neEnd();
// The routine told of every commit and of the end of the edit.
void epSetNodeEditCallback(NeNotifyProc notify);

// ---- selection -------------------------------------------------------------------------------------
void neClearSelection();
void neSelectAll();
BOOL neIsSelected(int index);
int neFirstSelected();
void neSelectOnly(int index);
// The point after the last selected one (wrapping to 0), the one before the
// first selected one (wrapping to the last); 0 and the last with nothing
// selected. The marks are erased before and drawn after when ws is given.
void neSelectNext(HWND ws);
void neSelectPrevious(HWND ws);
// Clears the selection, then selects the first point whose handle box holds
// pt, else the two ends of the first segment within the handle tolerance
// (a polygon's closing segment last, as (last, 0)). The first selected
// index, or -1 when nothing was hit.
int neSelectAt(POINT pt);
// Selects every point inside the rectangle, edges included.
void neSelectInRect(const RECT *r);
// The box of the selected points recomputed (valid with two or more) and
// copied to out when given.
void neSelectionBounds(RECT *out);

// Adds (dx, dy) to the listed points of a point array of the edited
// object's count; a closed curve keeps its last point equal to point 0.
// The selection box follows when valid.
void neMovePoints(POINT *points, const int16_t *indexes, int n, int32_t dx, int32_t dy);

// Writes n page points into a point record: nothing when they equal the
// stored ones; otherwise the record grows or shrinks (the data behind the
// list kept behind it, a moved record relinked), its centre and size come
// from the points' bounds. A changed count of 2 makes a Line, any other
// makes a line kind a Polyline. Returns the valid handle (0 on failure,
// the record unchanged); *changed tells whether anything was written.
MemHandle neWritePoints(MemHandle object, const POINT *points, int n, BOOL *changed = nullptr);

// Writes the working points back (undo kind 1 recorded first, consecutive
// duplicates of line and polygon kinds dropped). With finishing, two points
// make a Line without fill, more make a line kind a Polyline, and a polygon
// that is an axis-aligned rectangle becomes a square or rectangle. Marks
// the document modified when points or type changed and tells the notify
// routine. Returns the valid handle.
MemHandle neCommit(HWND ws, MemHandle object, BOOL finishing);
