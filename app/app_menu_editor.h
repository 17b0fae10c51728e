// Item states of the frame's menus while a text is edited in place (tool
// mode 20, and the Label and note editors that share them).
#pragma once
#include "support/qmwin.h"

// The Text menu: every item on; the style items checked as the format at
// the selection start (or at the caret) has them.
void appInitTextMenuForEditor(HWND window, HMENU popup);
// The paragraph menu: every item on; the alignment of the caret's
// paragraph checked.
void appInitParagraphMenuForEditor(HWND window, HMENU popup);
// The Case pop-up (first item 487): its three items with a selection.
void appInitCaseMenuForEditor(HWND window, HMENU popup);
// The Edit menu: Undo while the editor holds a step, Cut, Copy and Delete
// with a selection, Paste when the clipboard holds usable text, Insert
// renamed "&Insert Image...", Select All on, Clone off.
void appInitEditMenu(HWND window, HMENU popup);
// "Snap to Rulers" (608) checked as the workspace snaps.
void appCheckSnapToRulers(HWND window, HMENU popup);
