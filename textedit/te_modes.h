// Text editing as a tool mode of the workspace: mode 20 edits a text
// object, mode 19 a Label (a temporary text object written back into the
// Label). Starting loads the object into the one edit session and swaps the
// mode's procedure in; ending commits the lines into the object, fits its
// box, gives the procedure back and tells the owner.
#pragma once
#include "support/qmwin.h"

// Message 1025 ends editing (wParam the end code: 1 Esc, Enter or Tab,
// 2 Shift+Tab, 5 Ctrl+Up, 6 Ctrl+Down, 0 command 718; lParam a detail);
// 1026 the mode is installed; 1027 commits the lines without ending.
enum : UINT { TE_MSG_END = 1025, TE_MSG_ENTERED = 1026, TE_MSG_COMMIT = 1027 };

// The 30-byte end record sent as lParam of the owner command.
#pragma pack(push, 1)
struct TeEndRecord {
    uint32_t size;       // 30
    uint16_t zero0;
    uint32_t object;     // the committed object, 0 when it was deleted
    uint16_t endCode;
    uint32_t endDetail;
    uint8_t zero1;
    uint8_t zero2[5];
    uint32_t modified;   // 1 when the text changed during the edit
    uint8_t zero3[4];
};
#pragma pack(pop)
static_assert(sizeof(TeEndRecord) == 30, "the end record is 30 bytes");

int teStartSession(HWND ws, MemHandle object, uint16_t ownerCommand, BOOL redraw);
int teBeginEdit(HWND ws, MemHandle object, int ownerCommand, LPARAM point, BOOL redraw);
int teOpenObject(HWND ws, MemHandle object, int32_t maxHeight);
MemHandle teFinishEdit(HWND ws);
MemHandle teRebuildObject(HWND ws, int *outFlag);
int teEndEdit(HWND ws, int endCode, LPARAM endDetail);
int teSendEndRecord(HWND ws, MemHandle object, int endCode, LPARAM endDetail,
                    uint16_t ownerCommand, uint32_t modified);
void teCloseSession(HWND ws);

int teBeginLabelEdit(HWND ws, MemHandle label, LPARAM unused, uint16_t ownerCommand);
int teEndLabelEdit(HWND ws);
MemHandle teCommitLabel(HWND ws);
// The Label being edited in mode 19, 0 when none.
MemHandle teGetEditedLabel();

LRESULT teCallSavedProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
void teResetFormats(HWND window);
void teLabelInitMenu(HWND window, HMENU popup);
void teDrawLabelFrame(HWND window, HDC dc, const RECT *clip);
LRESULT CALLBACK TextEditModeProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK LabelEditModeProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);
void teShowEditPopup(HWND window, LPARAM point);

// The editor's WM_COMMAND: 0 when it took the command, 1 when it passes on.
int teOnCommand(HWND window, int id, LPARAM lParam);
// Whether a command the editor takes waits for a dialog that is not in the
// program yet (font dialogs, spelling, bullets, Find, hyperlinks, tabs): it does nothing,
// so its menu item is greyed.
BOOL teCommandWaits(int id);
int teLabelOnCommand(HWND window, int id, LPARAM lParam);
// WM_KEYDOWN, WM_KEYUP and WM_CHAR; 1 when handled.
int teOnKey(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
int teMouseDown(HWND window, LPARAM point);
int teDoubleClick(HWND window, LPARAM point);
// Whether a client point lies in the text area.
BOOL teInTextArea(HWND window, LPARAM point);

// The Label undo state: kind (0 none, 1 alignment, 2 whole record).
uint16_t teGetLabelUndoKind();
