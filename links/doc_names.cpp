// File names linked from a document, and the pictures they name.
#include "links/doc_names.h"
#include "objects/img_io.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"
#include "model/ws_document.h"
#include <string.h>
#include <string>

MemHandle docResolveFileName(HWND workspace, const char *name)
{
    if (!name)
        return 0;
    std::string trimmed(name);
    size_t from = trimmed.find_first_not_of(' ');
    if (from == std::string::npos)
        return 0;
    trimmed = trimmed.substr(from, trimmed.find_last_not_of(' ') - from + 1);
    if (trimmed.size() >= MAX_PATH)
        return 0;
    char doc[MAX_PATH] = "";
    if (utIsAbsolutePath(trimmed.c_str()) || !wsGetDocPath(workspace, doc, sizeof doc))
        return utHandleFromString(trimmed.c_str());
    utGetFolder(doc);
    char full[2 * MAX_PATH] = "";
    utJoinPath(full, doc, trimmed.c_str());
    return utHandleFromString(full);
}

MemHandle docLoadPicture(HWND workspace, const char *name)
{
    MemHandle path = docResolveFileName(workspace, name);
    if (!path)
        return 0;
    MemHandle object = 0;
    {
        MemLock<char> p(path);
        ImgIoRequest request = {};
        request.fileName = p.get();
        request.action = IMG_ACTION_LOAD_OBJECT;
        if (p && imgIoDispatch(&request))
            object = request.object;
    }
    utFreeHandle(path);
    return object;
}
