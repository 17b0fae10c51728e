// Tool choice and object insertion: a drawing tool picked from a tool
// list, a menu or an accelerator ends what the workspace was doing, stores
// the type the tool makes as the current type and starts the tool. Also
// the small commands that put a made object into the page.
#pragma once
#include "support/qmwin.h"
#include "controls/btnlist_press.h"

// Starts the tool of the object type; `button` (or 0) is the command id
// whose button shows pressed. 1 when the tool started (or the choice was
// ignored because another one is running), 0 when refused or cancelled.
int epChooseTool(HWND ws, int button, int16_t type);
// By the command-to-tool table; 0 for a command that is not in it.
int epChooseToolByCommand(HWND ws, int command, int16_t type);
// epChooseTool with vertical text (-40) for type 0.
int epChooseToolOrVText(HWND ws, int button, int16_t type);
// One row of the command-to-tool table: the type, the button shown
// pressed and (for the rounded rectangles, else 0) the rounding ratio.
struct EpToolCommand {
    uint16_t command;
    int16_t type;
    uint16_t button;
    double ratio;
};
const EpToolCommand *epFindToolCommand(int command);

// Puts an object made elsewhere on top of the current page, selected, with
// undo kind 7; a non-zero placement code places it first. 1.
int wsInsertObject(HWND ws, MemHandle object, uint16_t placement);

// A tool button dragged onto the page: 76 cancel, 77 create (data a
// BlDropInfo*), 78 the default rectangle (data a BlDropBlock*).
int epToolDropNotify(HWND ws, int code, LPARAM data);
int epDropCreate(HWND ws, const BlDropInfo *drop);
int epDropDefaultRect(HWND ws, BlDropBlock *rect);

// A note at the top-left of the visible area with its editor started.
int epInsertNote(HWND ws);
// Starts editing a text object in place.
int txCmdEditText(HWND ws, MemHandle object, int command, LPARAM lParam);
// The request {object, u16 command} (freed here): select mode with the
// object, then the command posted to the workspace when not 0. 1.
#pragma pack(push, 1)
struct EpSelectRequest {
    MemHandle object;
    uint16_t command;
};
#pragma pack(pop)
static_assert(sizeof(EpSelectRequest) == 6, "a select-and-post request is 6 bytes");
int epSelectAndPost(HWND ws, MemHandle request);
// A new text object below the page's last object (or at the point): 1 when
// one was made.
int epNewTextBelow(HWND ws, const POINT *pt);

// Ends the module's busy state (tests).
void epResetToolChoice();
