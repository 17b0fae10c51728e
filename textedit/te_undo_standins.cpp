// Stand-in: the editor undo is not in the editor yet. Dropping the step
// frees its data and clears its fields; the kind-specific extra state (the
// format-change, paragraph-code and saved-tab states) is not kept yet.
#include "textedit/te_undo.h"
#include "textedit/te_session.h"
#include "commands/app_stdbar.h"
#include "support/ut_mem.h"

void teDropUndo(HWND, BOOL update)
{
    if (!teGetUndoSuspended()) {
        MemHandle data = teGetUndoData();
        teSetUndoData(0);
        utFreeHandle(data);
        teSetUndoKind(0);
        teSetSavedSelection(-1, -1, -1);
    }
    if (update)
        appEnableUndoButton(FALSE);
}
