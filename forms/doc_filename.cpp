// Linked file names.
#include "forms/doc_filename.h"
#include "support/ut_mem.h"
#include <string>

MemHandle docResolveFileName(HWND, const char *name)
{
    if (!name)
        return 0;
    std::string path(name);
    while (!path.empty() && path.back() == ' ')
        path.pop_back();
    if (path.empty())
        return 0;
    return utHandleFromString(path.c_str());
}
