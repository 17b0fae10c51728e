// Linked image objects as the select mode asks about them.
#pragma once
#include "support/qmwin.h"

// 1 when the linked image object (type 78) links a drawing file.
int lnkIsDwgLink(MemHandle object);
