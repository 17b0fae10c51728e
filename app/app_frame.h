// The frame window ("ridevi"): its record, its window procedure, the close
// sequence that saves the settings, and the services other modules ask of
// it (MDI client, document windows, dropped files, the mouse wheel, the UI
// font).
#pragma once
#include "support/qmwin.h"
#include <vector>

// The frame record in window long 8: 107 bytes, packed.
#pragma pack(push, 1)
struct FrameRecord {
    uint32_t size;            // always 107
    uint32_t reserved4;
    uint32_t flags;           // FRAME_FLAG_* bits
    uint16_t reserved12;
    char name[64];            // zero-terminated
    uint8_t reserved78;
    uint32_t mdiClient;       // the MDI client window
    uint32_t child;           // cleared by frame command 947
    uint32_t zero[4];
    uint32_t nextViewer;      // next window of the clipboard viewer chain
};
#pragma pack(pop)
static_assert(sizeof(FrameRecord) == 107, "the frame record is 107 bytes");
static_assert(offsetof(FrameRecord, mdiClient) == 79, "MDI client at 79");
static_assert(offsetof(FrameRecord, nextViewer) == 103, "next viewer at 103");

enum : uint32_t {
    FRAME_FLAG_WIDE_SCREEN = 0x2,   // the screen was at least 800 pixels wide
};
enum {
    FRAME_MDI_CLIENT_ID = 3244,
    FRAME_FIRST_CHILD_ID = 2010,
    FRAME_MAX_DOCUMENTS = 33,        // opening is refused with this many windows
    FRAME_UI_FONT_SIZE = 9,
};

LRESULT CALLBACK FrameWndProc(HWND frame, UINT msg, WPARAM wParam, LPARAM lParam);

// WM_CREATE work: records, bars, message bar, colour strip, MDI client.
// FALSE ends the creation.
BOOL appOnFrameCreate(HWND frame);
// The close-time save (settings, palette, tool windows); runs once per
// frame; always TRUE.
BOOL appSaveFrameState(HWND frame);
// Sends WM_CLOSE to each document window; FALSE when one refused.
BOOL appCloseAllDocuments(HWND frame);
// Asks each document window whether it may close (modified documents ask
// to be saved) without closing any; FALSE when the user cancelled.
BOOL appQueryCloseDocuments(HWND frame);

// The next window of the frame's clipboard viewer chain (0 when none).
HWND appGetNextViewer(HWND frame);
// The MDI client of the frame (the main frame for null); 0 when none.
HWND appGetMdiClient(HWND frame);
void appSetMdiClient(HWND frame, HWND client);
HWND appGetActiveDocWindow(HWND frame);
// Gives the frame a new menu bar; with an MDI client its window list moves
// to the new menu's "&Win" pop-up (the second-to-last).
void appSetFrameMenu(HWND frame, HMENU menu);

// Document windows of the MDI client: children without an owner (icon
// titles have one).
int appCountDocWindows(HWND mdiClient);
// The frame's document windows in MDI order; without an MDI client its one
// "xqmdoc" child.
std::vector<HWND> appListDocWindows(HWND frame);
HWND appFindDocWindowByFile(HWND frame, const char *path);
HWND appActivateDocWindowByFile(HWND frame, const char *path);
HWND appGetWorkspaceByFile(HWND frame, const char *path);
HWND appFindHiddenDocWindow(HWND frame);
void appInvalidateAllWorkspaces(HWND frame);

// Flags and name of the main frame's record.
void appSetFrameFlag(uint32_t flag, BOOL on);
BOOL appTestFrameFlag(uint32_t flag);
void appSetFrameName(const char *name);
char *appGetFrameName(char *buffer, int size);   // at most 64 bytes copied
// The child window of the record; frame command 947 clears it.
void appSetFrameChild(HWND frame, HWND child);
HWND appGetFrameChild(HWND frame);

// The UI font: an empty face gives "Arial", a size below 6 or above 14
// gives 9 points. appDeleteUiFont leaves the stock SYSTEM_FONT alone.
HFONT appCreateUiFont(const char *face, int points);
void appDeleteUiFont(HFONT font);
// DrawTextA with the UI font selected and the colour set, both restored.
int appDrawUiText(HDC dc, const char *text, int length, RECT *rect, UINT format,
                  COLORREF colour);

// Dropped files: on the frame only drops in the MDI client area count; each
// document file is sent to the target as WM_COMMAND 111 with a new string
// handle of its path, in drop order; other files are skipped.
void appOnDropFiles(HWND frame, HDROP drop);
void appOnWorkspaceDropFiles(HWND target, HDROP drop);
// The wheel: Ctrl zooms the active workspace, else a notch over it scrolls
// it vertically.
void appOnMouseWheel(HWND frame, WPARAM wParam, LPARAM lParam);
// The scroll distance in twips of a wheel delta: minus lines x 1440 / 4,
// made positive for a negative delta.
int32_t appWheelScrollTwips(int wheelDelta, int linesPerNotch);

// A second start hands a path over: WM_COPYDATA with this tag carries a
// path too long for a global atom.
enum : uint32_t { APP_COPYDATA_OPEN_FILE = 790 };
// Opens a handed-over path (at most 520 characters) when it names an
// existing file; a path the file layer cannot take is reported. The frame
// is brought to the front in every case.
void appOpenHandedOverFile(HWND frame, const char *path);

// Drops what the frame keeps for the process (tests).
void appResetFrameModule();
