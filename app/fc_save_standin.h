// TEMPORARY: the document writer's entry point until the model's own saver
// lands (it replaces this header and app/fc_save_standin.cpp as a whole).
#pragma once
#include "support/qmwin.h"

// Writes the form of the workspace to the path: with confirmOverwrite, an
// existing file is refused when read-only and replaced only after the
// user agreed; refused when the estimated size is not below the free disk
// space. 1 saved, 0 not saved.
int qmfSaveDocument(HWND ws, const char *path, MemHandle form, BOOL confirmOverwrite,
                    BOOL updateEntries);
