// Temporary page files: their folder, their names and their deletion.
#include "model/pg_swap.h"
#include "app/settings_reg.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "resources/resource.h"
#include <string.h>

char *utGetTempPath(char *buffer)
{
    buffer[0] = 0;
    DWORD n = GetTempPathA(UT_PATH_SIZE, buffer);
    if (n == 0 || n >= UT_PATH_SIZE)
        setGetHomeDir(buffer);
    size_t len = strlen(buffer);
    if (len && buffer[len - 1] != '\\' && buffer[len - 1] != '/' && len + 1 < UT_PATH_SIZE) {
        buffer[len] = '\\';
        buffer[len + 1] = 0;
    }
    return buffer;
}

char *utTempFilePath(char *buffer, const char *name)
{
    char folder[UT_PATH_SIZE];
    utGetTempPath(folder);
    return utJoinPath(buffer, folder, name);
}

void pgDeleteEntryFile(PageDirEntry *entry)
{
    if (!entry || entry->state != PG_HELD_IN_TEMP_FILE)
        return;
    char name[sizeof(entry->tempName) + 1] = {};
    memcpy(name, entry->tempName, sizeof(entry->tempName));
    if (name[0]) {
        char path[UT_PATH_SIZE];
        utTempFilePath(path, name);
        ffDelete(path);
    }
    entry->state = PG_HELD_IN_MEMORY;
    memset(entry->tempName, 0, sizeof(entry->tempName));
}

void pgDeleteAllEntryFiles(MemHandle dir, int count)
{
    int held = pgDirCapacity(dir);
    if (count > held)
        count = held;
    if (count <= 0)
        return;
    MemLock<PageDirEntry> entries(dir);
    for (int i = 0; entries && i < count; ++i)
        pgDeleteEntryFile(&entries[i]);
}

MemHandle pgReadEntryPages(HWND, const PageDirEntry *)
{
    utErrorBoxId(0, IDS_READ_ERROR);
    return 0;
}

MemHandle pgReadEntryRecord(HWND workspace, const PageDirEntry *entry)
{
    return pgReadEntryPages(workspace, entry);
}
