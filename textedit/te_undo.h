// The editor's one undo step, separate from the workspace's object undo.
// Every editing command records the step before it changes the text,
// naming a kind that decides what is saved (the whole text, the selected
// text, the caret line, the tab stops, the object head or a handle the
// command hands over) and how Undo puts it back. A run of like edits
// (typing, deleting) is one step. Undo is one level: it drops the step.
#pragma once
#include "support/qmwin.h"

enum : uint16_t {
    TE_UNDO_DELETE = 1,
    TE_UNDO_INSERT = 5,
    TE_UNDO_OVERWRITE = 6,
    TE_UNDO_BACKSPACE = 7,
    TE_UNDO_CODES_AT_CARET = 9,
    TE_UNDO_CASE = 10,
    TE_UNDO_FORMAT = 11,
    TE_UNDO_DELETE_WORD = 12,
    TE_UNDO_PARA_CODE = 13,
    TE_UNDO_TABS = 14,
    TE_UNDO_TABS_VERTICAL = 15,
    TE_UNDO_IME_RESULT = 30,
    TE_UNDO_WHOLE = 31,
    TE_UNDO_OBJECT_HEAD = 50,
};

// Records the step (data: kind 13's range stream, which the step then
// owns). 1 when recorded, merged or suspended; 0 when the state could not
// be saved: then no step is kept and the Undo button is off.
int teRecordUndo(uint16_t kind, MemHandle data);
// Performs the step and drops it; 0 when the kind has no undo.
int teUndo(HWND window);
void teDropUndo(HWND window, BOOL update);
void teDropUndoQuiet();
BOOL teCanUndo();
BOOL teUndoIsInsertion();
void teSuspendUndo(uint32_t value);
void teResumeUndo();

void teSaveUndoSelection();
void teRestoreUndoSelection();
void teGetUndoSelection(int32_t *start, int32_t *end, int32_t *caret);
// Frees every line and builds them again from the stream (null: one empty
// line) with the base format.
void teRestoreTextFromStream(HWND window, const char *stream);
BOOL teSaveUndoTabs();
void teFreeUndoTabs();
