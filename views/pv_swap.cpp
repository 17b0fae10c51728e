// Swapping the current page out of memory.
#include "views/pv_swap.h"
#include "views/pv_page.h"
#include "views/ws_document.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_swap.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

// The entry is held in memory from now on: its temporary file deleted, its
// offset cleared.
void resetEntry(MemHandle form, int index)
{
    int count = 0;
    PageDirEntry *e = fmLockDirectory(form, &count);
    if (!e)
        return;
    if (index >= 0 && index < count) {
        pgDeleteEntryFile(&e[index]);
        e[index].state = PG_HELD_IN_MEMORY;
        e[index].offset = 0;
    }
    fmUnlockDirectory(form);
}

}  // namespace

int pgSwapOutCurrent(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    const int index = pvGetCurrentPageIndex(ws);
    PageDirEntry entry;
    if (!form || index < 0 || !pgDirGetEntry(fmGetDirectory(form), index, &entry))
        return 0;
    if (!entry.pages || entry.state == PG_HELD_IN_MEMORY)
        return 1;
    // The page's stored copy no longer holds what is in memory, and there is
    // no page writer to make a new one: the page stays in memory.
    resetEntry(form, index);
    return 0;
}
