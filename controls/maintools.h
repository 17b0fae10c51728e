// The main tool list (the docked column of tool modes) addressed without
// its window, the edits that add, append and remove entries of any list,
// and two walks over child windows that leave button lists alone.
#pragma once
#include "controls/btnlist.h"

// The main tool list; each facade call does nothing (or returns 0) before
// the frame has set it.
HWND blGetToolList();
void blSetToolList(HWND list);
void blSelectToolButton(uint16_t command);
void blReleaseToolList();
int blEnableToolButton(uint16_t command, BOOL enabled);
void blEnableAllToolButtons(BOOL enabled);
int blAddToolButton(uint16_t command, int16_t objType, uint16_t kind, uint16_t enabled,
                    const char *bitmap, const char *tooltip, uint32_t handle);
int blRemoveToolButton(uint16_t command);

// Entry edits on any list.
int blAddButton(HWND list, uint16_t command, int16_t objType, uint16_t kind, uint16_t enabled,
                const char *bitmap, const char *tooltip, uint32_t handle);
// Appends an entry unless one with its command id exists; 1 when the entry
// is there afterwards, 0 when memory is short.
int blAppendButton(HWND list, const ToolButton *entry);
// Appends n entries without testing ids; 1 on success.
int blAppendButtons(HWND list, const ToolButton *entries, int n);
// Removes the first entry with the id; 0 when none has it.
int blRemoveButton(HWND list, uint16_t command);
// Cuts the list to its first index entries; 0 when the index is outside
// 0 to count - 1.
int blTruncateButtons(HWND list, int index);

// Private message posted to the children after a zoom change.
enum { CTL_MSG_ZOOM_CHANGED = 1028 };
// Posts CTL_MSG_ZOOM_CHANGED to every child window that is neither a button
// list nor inside one.
void ctlPostToChildren(HWND window);
// Destroys every child window that is neither a button list nor inside one.
void ctlDestroyChildren(HWND window);

// Frame command 878 sets this flag once and for all: pages are then
// committed with their option bit 16 clear.
void ctlSetPageOption16Clear();
BOOL ctlIsPageOption16Clear();

void blResetToolListModule();
