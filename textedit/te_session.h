// The text edit session: the one text edited in place at a time. Its whole
// state lives in one record in static memory; the text itself is a chain of
// line blocks (textedit/te_lines.h). The record is parked in its workspace
// when the window loses the focus and reloaded when it regains it, so each
// document window can keep its own suspended edit.
#pragma once
#include "support/qmwin.h"
#include "text/tx_format.h"

#pragma pack(push, 1)
struct TextEditSession {
    uint32_t size;                 // the record's byte size
    uint16_t id;                   // 1023
    uint32_t window;               // the edited workspace window
    uint32_t dc;                   // its DC with the view mapping, 0 when not held
    uint32_t savedProc;            // procedure token of the mode before editing
    uint16_t dragFlag;             // 1 while a drag selection runs
    uint16_t ownerCommand;         // sent to the workspace when editing ends
    CharFormat baseFormat;         // the text as a whole
    CharFormat caretFormat;        // in force at the caret
    uint32_t modified;
    MemHandle object;              // the edited text object, 0 = no session
    uint32_t bkBrush;              // solid brush of the background colour
    int32_t maxLength;             // -1 no limit
    int32_t maxHeight;             // tallest line allowed (twips), -1 none
    uint32_t textFlags;            // copy of the object's TextFlags
    uint32_t compString;           // composition: string handle,
    uint32_t compClauses;          //   clause-pair array handle,
    uint32_t compClauseCount;      //   its count,
    uint32_t composing;            //   composing flag
    uint32_t compValues[3];        //   and three values
    uint32_t redrawAtEnd;
    uint32_t insertMode;           // 1 insert, 0 overwrite
    uint32_t passOn;               // a press outside the text goes to the workspace
    uint32_t caretCreated;
    RECT frame;                    // the edit frame, twips
    int32_t caretLineTop;          // horizontal text
    int32_t caretX;
    int32_t caretLineLeft;         // vertical text
    int32_t caretY;
    int32_t lineExtent;
    int32_t caretWidth;
    int32_t caretHeight;
    MemHandle firstLine;
    MemHandle lastLine;
    MemHandle tabTable;            // i32 stops, twips from the frame's left (top)
    uint32_t tabCount;
    uint32_t tabSpacing;
    uint32_t tabsOnRuler;
    MemHandle savedTabs;
    uint32_t savedTabCount;
    uint32_t savedTabSpacing;
    RECT savedFrame;
    MemHandle caretLine;
    int32_t caretOffset;
    uint8_t noSaveOnSuspend;
    uint16_t undoKind;
    MemHandle undoData;
    uint32_t undoSuspended;
    int32_t savedSelStart;
    int32_t savedSelEnd;
    int32_t savedCaret;
    uint32_t optionBits;           // 0x4 command 718 ends editing, 0x8 command 736
    MemHandle savedColumns;
    uint32_t keepEmpty;
};
#pragma pack(pop)
static_assert(sizeof(RECT) == 16, "RECT is four 32-bit values");

// The live record (the editor's own modules read and write it directly).
TextEditSession *teSession();

// ---- lifetime
void teInitEditor(HWND frame);
void teResetSession(HWND window);
void teFreeSessionResources(HWND window);
BOOL teAcquireDC(HWND window);       // whether the text is vertical
HDC teGetDC();
void teReleaseDC();
void teSuspendSession(HWND window);
// Counted: while held, teSuspendSession does nothing.
void teHoldSuspend(BOOL hold);
void teRestoreSession(HWND window);
void teSetSessionActive(HWND window, BOOL active);
void teSaveToWorkspace(HWND window);
void teSetNoSaveOnSuspend(HWND window, BOOL allow);
BOOL teGetNoSaveOnSuspend();

// ---- object, flags and formats
void teSetTextObject(MemHandle object);
MemHandle teGetTextObject();
void teSetFormat(const CharFormat *fmt, int slot);
void teGetFormat(CharFormat *out, int slot);
void teMarkModified(HWND window);
void teClearModified();
BOOL teIsModified();
int teSetAlignment(HWND window, uint16_t align);

// TextFlags tests on the session's copy.
uint32_t teGetTextFlags();
BOOL teIsVertical();
BOOL teIsRightToLeft();
BOOL teIsSingleLine();
BOOL teIsWrapped();
BOOL teIsPlainText();
BOOL teIsClipToFrame();
BOOL teIsFlag1000();
BOOL teIsWrapLow();
BOOL teIsFrameBound();

// ---- fields
HWND teGetWindow();
void teSetSavedProc(uint32_t token);
uint32_t teGetSavedProc(HWND window);
uint16_t teExchangeDragFlag(uint16_t on);
uint16_t teGetDragFlag();
void teSetOwnerCommand(uint16_t id);
uint16_t teGetOwnerCommand();
void teSetRedrawAtEnd(BOOL on);
BOOL teGetRedrawAtEnd();
void teSetSavedColumns(MemHandle h);
MemHandle teGetSavedColumns();
void teSetKeepEmpty(BOOL on);
BOOL teGetKeepEmpty();
void teSetMaxLength(int32_t n);
int32_t teGetMaxLength();
void teSetMaxHeight(int32_t n);
int32_t teGetMaxHeight();
void teSetInsertMode(BOOL on);
BOOL teGetInsertMode();
void teSetPassOn(BOOL on);
BOOL teGetPassOn();
HBRUSH teGetBkBrush();
void teStoreFrame(const RECT *r);
void teGetFrame(RECT *out);
int32_t teGetFrameTop();
int32_t teGetFrameWidth();
int32_t teGetFrameExtent();          // along the lines: width, or height for vertical text
void teGetCaretBand(RECT *out);      // the frame from the caret's line on
int32_t teGetCaretLineTop();
int32_t teGetCaretLineLeft();
void teUpdateCaretLinePos();
int32_t teGetCaretWidth();
int32_t teGetCaretHeight();
int32_t teGetLineExtent();
void teSetFirstLine(MemHandle line);
MemHandle teGetFirstLine();
void teSetLastLine(MemHandle line);
MemHandle teGetLastLine();
void teSetTabTable(MemHandle h);
MemHandle teGetTabTable();
void teSetTabCount(uint32_t n);
uint32_t teGetTabCount();
void teSetTabSpacing(uint32_t n);
uint32_t teGetTabSpacing();
void teSetTabsOnRuler(BOOL on);
BOOL teGetTabsOnRuler();
const int32_t *teLockTabs();         // null when none
void teUnlockTabs();
void teFreeTabs();
void teSetOption(uint32_t bit, BOOL on);
BOOL teTestOption(uint32_t bit);
void teSetCaretTrace(BOOL on);
BOOL teGetCaretTrace();
// The one undo step's fields (its logic is the editor undo's).
void teSetUndoKind(uint16_t kind);
uint16_t teGetUndoKind();
void teSetUndoData(MemHandle h);
MemHandle teGetUndoData();
void teSetUndoSuspended(BOOL on);
BOOL teGetUndoSuspended();
void teSetSavedSelection(int32_t start, int32_t end, int32_t caret);
void teGetSavedSelection(int32_t *start, int32_t *end, int32_t *caret);

// ---- composition state
void teBeginComposition();
void teClearComposition();
uint32_t teGetCompValue(int i);
void teSetCompValue(int i, uint32_t v);
BOOL teIsComposing();
BOOL teAppendClause(uint32_t a, uint32_t b);
uint32_t teGetClauseCount();
MemHandle teGetCompString();
BOOL teReplaceCompString(MemHandle h);

// The Paste button follows the clipboard (textedit/te_clip.h); Cut and Copy
// the selection.
void teUpdateClipboardButtons(BOOL haveSelection);

// Every refused input of the editor beeps through here (tests count them).
void teBeep();
int32_t teGetBeepCount();
