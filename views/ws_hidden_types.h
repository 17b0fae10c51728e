// The view's hidden object types: a list of u16 type codes whose objects a
// workspace does not draw (501 stands for the image-file objects that do
// not link a document page). Drawing passes borrow it for their length;
// wsSetHiddenTypes, wsLockHiddenTypes and wsUnlockHiddenTypes are in
// views/ws_record.h.
#pragma once
#include "views/ws_record.h"

const uint16_t kWsHiddenImageFiles = 501;
