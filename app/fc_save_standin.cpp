// TEMPORARY stand-in for the model's document saver, kept in a file of its
// own so that it can be deleted when the real one is merged. It writes the
// whole document from memory: every page is loaded first (from the
// document file or its temporary file), so the old file is needed only
// before the new one is written, and the new file goes to a temporary
// name beside the target that replaces the target only when complete.
#include "app/fc_save_standin.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_record.h"
#include "model/qmf_header.h"
#include "model/qmf_sizes.h"
#include "model/qmf_write.h"
#include "support/ff_file.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "resources/resource.h"
#include <stdio.h>
#include <vector>

namespace {

bool writeAll(HANDLE f, MemHandle form)
{
    if (qmfWriteHeader(f, "FORM") != 40 || !qmfWriteForm(f, form))
        return false;
    int pages = fmGetPageCount(form);
    MemHandle dir = fmGetDirectory(form);
    DWORD arrayAt = ffTell(f);
    std::vector<uint32_t> sizes{4 + 4 * (uint32_t)pages};
    if (!ffSeek(f, arrayAt + pgSizeArrayBytes(pages)))
        return false;
    for (int i = 0; i < pages; ++i) {
        uint32_t n = qmfWritePage(f, pgDirGetPages(dir, i));
        if (!n)
            return false;
        sizes.push_back(n);
    }
    if (pages >= 2) {
        DWORD bytes = (DWORD)(4 * sizes.size());
        if (!ffSeek(f, arrayAt) || ffWrite(f, sizes.data(), bytes) != bytes)
            return false;
    }
    return true;
}

}  // namespace

int qmfSaveDocument(HWND ws, const char *path, MemHandle form, BOOL confirmOverwrite,
                    BOOL updateEntries)
{
    (void)updateEntries;
    if (!form || !path || !*path)
        return 0;
    char text[UT_PATH_SIZE + 80];
    if (confirmOverwrite && ffExists(path)) {
        if (ffIsReadOnly(path)) {
            snprintf(text, sizeof(text), "File: \r\n%s\r\nis read-only.  Can not write to it.",
                     path);
            utWarningBox(ws, text);
            return 0;
        }
        snprintf(text, sizeof(text), "File: \r\n%s\r\nexists. Please select OK to overwrite.",
                 path);
        if (utMessageBox(ws, text, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return 0;
    }
    // Every page in memory: the writer below takes them from there.
    int pages = fmGetPageCount(form);
    MemHandle dir = fmGetDirectory(form);
    for (int i = 0; i < pages; ++i)
        if (!pgDirGetPages(dir, i) && !pgDirEnsureLoaded(ws, dir, i))
            return 0;
    uint32_t estimate = 40 + fmCalcFileSize(form) + pgSizeArrayBytes(pages);
    for (int i = 0; i < pages; ++i)
        estimate += pgCalcFileSize(pgDirGetPages(dir, i));
    char folder[UT_PATH_SIZE], name[UT_PATH_SIZE];
    utSplitFolderName(path, folder, name);
    uint32_t free = ffGetDiskFree(folder[0] ? folder : path);
    if (free != 0xFFFFFFFF && estimate >= free) {
        utErrorBoxId(ws, IDS_NO_DISK_SPACE);
        return 0;
    }
    char temp[UT_PATH_SIZE];
    HANDLE f = INVALID_HANDLE_VALUE;
    if (utTempNameBeside(temp, path))
        f = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        ffReportError(ws, path, FE_CANNOT_SAVE);
        return 0;
    }
    // The form head carries the target's file name.
    char own[UT_PATH_SIZE];
    fmGetFilePath(form, own, sizeof(own));
    fmSetFilePath(form, path);
    bool ok = writeAll(f, form);
    fmSetFilePath(form, own);
    ok = ffClose(f) && ok;
    if (ok && ffExists(path))
        SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    if (ok)
        ok = MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING) != 0;
    if (!ok) {
        DeleteFileA(temp);
        ffReportError(ws, path, FE_CANNOT_SAVE);
        return 0;
    }
    // The pages are all in memory now; no entry points into an old file.
    fmResetDirectoryStates(form);
    return 1;
}
