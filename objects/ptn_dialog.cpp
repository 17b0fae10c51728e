// The pattern library's name and the default pattern it gives.
#include "objects/ptn_dialog.h"
#include "library/ptn_library.h"
#include "support/ut_mem.h"
#include <string.h>

const char kPtnDefaultLibraryName[] = "qmptn.tvl";

namespace {

MemHandle g_libraryName = 0;

}  // namespace

void ptnSetLibraryName(MemHandle name)
{
    if (!name)
        name = utHandleFromString(kPtnDefaultLibraryName);
    if (name == g_libraryName)
        return;
    utFreeHandle(g_libraryName);
    g_libraryName = name;
}

void ptnFreeLibraryName() { g_libraryName = utFreeHandle(g_libraryName); }

BOOL ptnGetLibraryName(char *buffer, uint32_t size)
{
    if (!buffer || !size)
        return FALSE;
    buffer[0] = 0;
    uint32_t held = utHandleSize(g_libraryName);
    if (!held)
        return FALSE;
    MemLock<char> name(g_libraryName);
    uint32_t n = (uint32_t)strnlen(name.get(), held);
    if (n >= size)
        n = size - 1;
    memcpy(buffer, name.get(), n);
    buffer[n] = 0;
    return n != 0;
}

void ptnDefaultFromLibrary(PatternFill *pattern)
{
    if (!pattern)
        return;
    filDefaultPattern(pattern);
    char path[MAX_PATH];
    if (!ptnGetLibraryName(path, sizeof path))
        return;
    MemHandle first = ptnReadFirst(path);
    if (utHandleSize(first) >= sizeof(PatternFill)) {
        PatternFill p;
        memcpy(&p, MemLock<uint8_t>(first).get(), sizeof p);
        if (p.size == sizeof(PatternFill) && filPatternIs8x8(&p))
            *pattern = p;
    }
    utFreeHandle(first);
}
