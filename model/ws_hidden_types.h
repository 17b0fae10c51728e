// The view's hidden object types: a list of u16 type codes whose objects a
// workspace does not draw (501 stands for the image-file objects that do
// not link a document page). Drawing passes borrow it for their length.
// A workspace's record owns its list (model/ws_document.h, WsRecordSlots);
// on a window that is not a workspace (a drawing host of the tests or of
// thumbnails) the list hangs off the window and stays the caller's.
#pragma once
#include "support/qmwin.h"

const uint16_t kWsHiddenImageFiles = 501;

void wsSetHiddenTypes(HWND ws, MemHandle types, int32_t count);
// The list locked for the caller, its count (at most what the block holds)
// in count; null (count 0) when there is none.
const uint16_t *wsLockHiddenTypes(HWND ws, int32_t *count);
void wsUnlockHiddenTypes(HWND ws);
