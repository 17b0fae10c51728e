// The stored help file name and whether it is an HTML help file.
#include "support/help_file.h"
#include "support/ut_mem.h"

namespace {
MemHandle g_helpFile = 0;
BOOL g_htmlHelp = FALSE;
}

void utSetHelpFile(const char *path)
{
    utFreeHelpFile();
    g_helpFile = utHandleFromString(path);
}

void utUseHtmlHelp() { g_htmlHelp = TRUE; }

void utFreeHelpFile()
{
    g_helpFile = utFreeHandle(g_helpFile);
    g_htmlHelp = FALSE;
}

void utGetHelpFile(char *buffer)
{
    buffer[0] = 0;
    MemLock<char> p(g_helpFile);
    if (p)
        utStrCopyN(buffer, p.get(), MAX_PATH);
}

BOOL utIsHtmlHelpFile() { return g_helpFile && g_htmlHelp; }
