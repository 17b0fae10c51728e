// File names linked from a document, and the pictures they name.
#include "links/doc_names.h"
#include "objects/img_io.h"
#include "support/app_ui_state.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"
#include "model/ws_document.h"
#include <string.h>
#include <string>

namespace {

// The folder of the document (ending with a backslash) into a buffer of
// UT_PATH_SIZE bytes; false when the document has no path.
bool documentFolder(HWND workspace, char *folder)
{
    if (!workspace)
        workspace = appGetActiveWorkspace();
    folder[0] = 0;
    if (!workspace || !wsGetDocPath(workspace, folder, UT_PATH_SIZE) || !folder[0])
        return false;
    char path[UT_PATH_SIZE], name[UT_PATH_SIZE];
    utStrCopyN(path, folder, sizeof path);
    utSplitFolderName(path, folder, name);
    return folder[0] != 0;
}

}  // namespace

MemHandle docResolveFileName(HWND workspace, const char *name)
{
    if (!name)
        return 0;
    std::string trimmed(name, strnlen(name, 2 * MAX_PATH));
    size_t from = trimmed.find_first_not_of(' ');
    if (from == std::string::npos)
        return 0;
    trimmed = trimmed.substr(from, trimmed.find_last_not_of(' ') - from + 1);
    if (trimmed.size() >= MAX_PATH)
        return 0;
    char folder[UT_PATH_SIZE];
    if (utIsAbsolutePath(trimmed.c_str()) || !documentFolder(workspace, folder))
        return utHandleFromString(trimmed.c_str());
    return utMakeAbsolutePath(trimmed.c_str(), folder);
}

int docResolveFileNameBuf(HWND workspace, const char *name, char *buffer, uint32_t size)
{
    if (!buffer || !size)
        return 0;
    buffer[0] = 0;
    MemHandle full = docResolveFileName(workspace, name);
    if (!full)
        return 0;
    int done = 0;
    {
        MemLock<char> p(full);
        size_t n = p ? strnlen(p.get(), utHandleSize(full)) : 0;
        if (p && n < size) {
            memcpy(buffer, p.get(), n);
            buffer[n] = 0;
            done = 1;
        }
    }
    utFreeHandle(full);
    return done;
}

int docResolvedFileExists(HWND workspace, const char *name)
{
    char path[UT_PATH_SIZE];
    return docResolveFileNameBuf(workspace, name, path, sizeof path) && ffExists(path) ? 1 : 0;
}

int docMakeRelativeName(HWND workspace, char *name)
{
    char folder[UT_PATH_SIZE];
    if (!name || !documentFolder(workspace, folder))
        return 0;
    MemHandle rel = utMakeRelativePath(name, folder);
    if (!rel)
        return 0;
    {
        MemLock<char> p(rel);
        if (p)
            utStrCopyN(name, p.get(), UT_PATH_SIZE);
    }
    utFreeHandle(rel);
    return 1;
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
