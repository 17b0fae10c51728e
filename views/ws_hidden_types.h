// The view's hidden object types: a list of u16 type codes whose objects a
// workspace does not draw (501 stands for the image-file objects that do
// not link a document page). Drawing passes borrow it for their length.
#pragma once
#include "support/qmwin.h"

const uint16_t kWsHiddenImageFiles = 501;

// Records the view's list (an array handle of `count` u16 codes, kept by
// the caller) with the workspace window; a null handle or a count of 0
// removes it. Until the workspace record holds the list it hangs off the
// window as two window properties.
void wsSetHiddenTypes(HWND workspace, MemHandle types, int32_t count);
// Locks the list and returns it with its count (cut to what the block
// holds); null and 0 when the workspace has none. Each lock is matched by
// wsUnlockHiddenTypes.
const uint16_t *wsLockHiddenTypes(HWND workspace, int32_t *count);
void wsUnlockHiddenTypes(HWND workspace);
