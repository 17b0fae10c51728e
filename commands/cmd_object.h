// The commands that act on the selected object as a whole: display flags,
// mirror images, rotation, grouping, composites, cloning, naming, finding,
// the date-and-time insertion and the two document-protection commands.
// Each takes the workspace window and its current object (0 for none),
// drops or records the undo step first, refuses objects that are not
// editable, redraws what changed and marks the document modified.
#pragma once
#include "support/qmwin.h"

enum : UINT {
    IDS_COMPOSITE_FROM_CHAIN = 993,   // "Can not make composite object from chain object.  ..."
    IDS_ONLY_IN_SELECT_MODE = 893,    // "The command is effective only in select mode"
};

// 416, 417, 418, 419, 740, 742, 743, 840: the bit in the object's tree, or
// without an object in the page's default flags (property 45). 1.
int cmdToggleFlag(HWND ws, MemHandle object, uint32_t bit);
// The display flag bit of a command id (0 when it is none of them).
uint32_t cmdFlagOfCommand(int command);
// 256, 257: mirror images of the types that can be flipped; others beep.
int cmdFlipLeftRight(HWND ws, MemHandle object);
int cmdFlipUpDown(HWND ws, MemHandle object);
// Whether a type can be flipped.
BOOL cmdCanFlipType(int16_t type);
// 214: the angle dialog; 219: by 90 degrees in select mode.
int cmdRotateDialog(HWND ws, MemHandle object);
int cmdRotate90(HWND ws, MemHandle object);
// Turns the tree about its centre by tenths of a degree (a bitmap stays as
// it is); undo kind 1. 1.
int cmdRotateBy(HWND ws, MemHandle object, int32_t tenths);
// 403: a chain becomes a group; anything else beeps.
int cmdGroup(HWND ws, MemHandle object);
// 405: a group's members replace it; a chain is dissolved.
int cmdUngroup(HWND ws, MemHandle object);
// 404: the composite builder on the object.
int cmdComposite(HWND ws, MemHandle object);
// Edit (401) on a composite: the composite dialog on it; 0 when nothing changed.
int cmdEditComposite(HWND ws, MemHandle composite);
// 212: clone copies.
int cmdClone(HWND ws, MemHandle object);
// 514: the name dialog (without an object: the list of names).
int cmdRename(HWND ws, MemHandle object, LPARAM owner);
// 1221: the modeless list of object names.
int cmdListNames(HWND ws);
// 190: the object property dialog.
int cmdObjectInfo(HWND ws, MemHandle object);
// 732: an object found by page and name.
int cmdSearchObject(HWND ws);
// 237 (sql 0) and 2024 (sql 1): a text object of the chosen date and time.
int cmdInsertDateTime(HWND ws, int sql);
// 1980: nothing in this system.
int cmdPointObjectCommand(HWND ws, MemHandle object);
// 611: the document password; 683: the user key.
int cmdDocPassword(HWND ws);
int cmdUserKey(HWND ws);
