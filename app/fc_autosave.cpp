#include "app/fc_autosave.h"

BOOL fcInitAutoSave(HWND, UINT, BOOL *reopened)
{
    if (reopened)
        *reopened = FALSE;
    return FALSE;
}

void fcStopAutoSave(HWND) {}

int fcAutoSaveDocument(HWND) { return 0; }
