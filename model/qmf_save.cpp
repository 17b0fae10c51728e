// Saving a document: header, FORM body, page-size array and pages, into a
// temporary file that replaces the target only when complete.
#include "model/qmf_save.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/pg_swap.h"
#include "model/qmf_header.h"
#include "model/qmf_read.h"
#include "model/qmf_sizes.h"
#include "model/qmf_write.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "resources/resource.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const uint32_t kCopyPiece = 512;

// Where one page went in the new file.
struct PageSpot {
    uint32_t offset;
    uint32_t size;
};

std::vector<PageDirEntry> entriesOf(MemHandle form)
{
    int count = 0;
    std::vector<PageDirEntry> out;
    PageDirEntry *e = fmLockDirectory(form, &count);
    if (e) {
        out.assign(e, e + count);
        fmUnlockDirectory(form);
    }
    return out;
}

// The bytes of an entry's page in its file: its recorded size, or, for a
// size of 0 (a one-page document read without a size array), the rest of
// the file from its offset.
uint32_t entryBytes(const PageDirEntry &e, HANDLE file)
{
    if (e.size)
        return e.size;
    DWORD size = ffGetSize(file);
    return size != INVALID_FILE_SIZE && size > e.offset ? size - e.offset : 0;
}

bool samePath(const char *a, const char *b)
{
    char x[UT_PATH_SIZE], y[UT_PATH_SIZE];
    utStrCopyN(x, a, sizeof x);
    utStrCopyN(y, b, sizeof y);
    utNormalizePath(x);
    utNormalizePath(y);
    return x[0] && lstrcmpiA(x, y) == 0;
}

bool hasPassword(MemHandle form)
{
    char password[kFmPasswordMax + 1];
    return fmGetPassword(form, password) > 0;
}

// The pages written from `offset` on; the sizes and places of those
// written go to `spots`. *complete when every page was written whole.
MemHandle writePages(HWND workspace, MemHandle form, HANDLE out, uint32_t offset,
                     HANDLE source, std::vector<PageSpot> &spots, bool *complete)
{
    *complete = false;
    std::vector<PageDirEntry> entries = entriesOf(form);
    int pages = fmGetPageCount(form);
    if (pages < 0 || (size_t)pages > entries.size())
        return 0;   // a directory shorter than its page count is not written
    BOOL scramble = hasPassword(form);
    spots.assign((size_t)pages, PageSpot{0, 0});
    uint32_t shortfalls = ffWriteShortfalls();
    uint32_t running = offset;
    bool ok = true;
    for (int i = 0; ok && i < pages; ++i) {
        const PageDirEntry &e = entries[(size_t)i];
        uint32_t written = 0;
        if (e.pages) {
            uint32_t start = ffTell(out);
            written = qmfWritePageEx(out, e.pages, scramble);
            ok = written && ffTell(out) == start + written;
        } else if (e.state == PG_HELD_IN_DOCUMENT || e.state == PG_HELD_IN_TEMP_FILE) {
            bool own = e.state == PG_HELD_IN_TEMP_FILE;
            HANDLE in = own ? pgOpenEntryFile(workspace, &e, FALSE) : source;
            uint16_t status = QMF_COPY_SHORT;
            if (in != INVALID_HANDLE_VALUE && in && ffSeek(in, e.offset))
                written = qmfCopyPageData(out, in, entryBytes(e, in), scramble, &status);
            if (own && in != INVALID_HANDLE_VALUE)
                ffClose(in);
            ok = status == QMF_COPY_OK;
        }
        // An entry held nowhere (no page in memory, no file) has 0 bytes.
        ok = ok && ffWriteShortfalls() == shortfalls;
        if (!ok)
            break;
        spots[(size_t)i] = PageSpot{running, written};
        running += written;
    }
    *complete = ok;
    if (pages < 2)
        return 0;
    std::vector<uint32_t> array(1 + (size_t)pages, 0);
    array[0] = 4 + 4 * (uint32_t)pages;
    for (int i = 0; i < pages; ++i)
        array[1 + (size_t)i] = spots[(size_t)i].size;
    return utHandleFromBytes(array.data(), (uint32_t)(array.size() * 4));
}

// The entries held in the document file take their places in the new file.
void applySpots(MemHandle form, const std::vector<PageSpot> &spots)
{
    int count = 0;
    PageDirEntry *e = fmLockDirectory(form, &count);
    if (!e)
        return;
    for (int i = 0; i < count && (size_t)i < spots.size(); ++i) {
        if (e[i].state != PG_HELD_IN_DOCUMENT)
            continue;
        e[i].offset = spots[(size_t)i].offset;
        e[i].size = spots[(size_t)i].size;
    }
    fmUnlockDirectory(form);
}

// True when some page can only be read from the document file.
bool needsDocumentFile(MemHandle form)
{
    for (const PageDirEntry &e : entriesOf(form))
        if (!e.pages && e.state == PG_HELD_IN_DOCUMENT)
            return true;
    return false;
}

// The FORM body written with the target's name in its form head; the
// form keeps its own name afterwards.
uint32_t writeBody(HANDLE file, MemHandle form, const char *target)
{
    MemHandle name = utHandleFromString(target);
    if (!name)
        return 0;
    MemHandle own;
    {
        FmLock f(form);
        own = f->fileName;
        f->fileName = name;
    }
    uint32_t n = qmfWriteForm(file, form);
    {
        FmLock f(form);
        f->fileName = own;
    }
    utFreeHandle(name);
    return n;
}

// The first object of the base page or of a page in memory that has no
// file form.
MemHandle unwritableObject(MemHandle form)
{
    MemHandle base = 0;
    {
        FmLock f(form);
        if (f && (f->resources & FM_RES_BASE_PAGE))
            base = f->basePage;
    }
    if (MemHandle odd = qmfFindUnwritable(base))
        return odd;
    for (const PageDirEntry &e : entriesOf(form))
        if (MemHandle odd = qmfFindUnwritable(e.pages))
            return odd;
    return 0;
}

}  // namespace

uint64_t qmfDocumentSize(MemHandle form)
{
    if (!form)
        return 0;
    uint64_t total = 40 + (uint64_t)fmCalcFileSize(form) + pgSizeArrayBytes(fmGetPageCount(form));
    for (const PageDirEntry &e : entriesOf(form))
        total += e.pages ? pgCalcFileSize(e.pages) : e.size;
    return total;
}

uint32_t qmfCopyPageData(HANDLE out, HANDLE in, uint32_t n, BOOL rewrite, uint16_t *status)
{
    uint16_t result = QMF_COPY_OK;
    uint32_t written = 0;
    if (rewrite) {
        int32_t budget = (int32_t)std::min<uint32_t>(n, 0x7FFFFFFF);
        FfReadAhead ahead(in, ffTell(in), (DWORD)budget);
        MemHandle page = n ? qmfReadPage(in, &budget) : 0;
        if (!page) {
            result = QMF_COPY_UNREADABLE;
        } else {
            uint32_t before = ffWriteShortfalls();
            uint32_t start = ffTell(out);
            written = qmfWritePageEx(out, page, TRUE);
            if (!written || ffTell(out) != start + written || ffWriteShortfalls() != before)
                result = QMF_COPY_SHORT;
            pgFreeList(page);
        }
    } else {
        uint8_t piece[kCopyPiece];
        while (written < n) {
            DWORD want = std::min<uint32_t>(n - written, kCopyPiece);
            DWORD got = ffRead(in, piece, want);
            if (!got)
                break;
            DWORD put = ffWrite(out, piece, got);
            written += put;
            if (put != got)
                break;
        }
        if (written != n)
            result = QMF_COPY_SHORT;
    }
    if (status)
        *status = result;
    return written;
}

MemHandle qmfWritePages(HWND workspace, MemHandle form, HANDLE file, uint32_t offset,
                        HANDLE source, BOOL updateEntries, BOOL *complete)
{
    std::vector<PageSpot> spots;
    bool whole = false;
    MemHandle array = writePages(workspace, form, file, offset, source, spots, &whole);
    if (whole && updateEntries)
        applySpots(form, spots);
    if (complete)
        *complete = whole;
    return array;
}

int qmfSaveDocument(HWND workspace, const char *path, MemHandle form, BOOL confirmOverwrite,
                    BOOL updateEntries)
{
    if (!form || !path || !*path || !FmLock(form))
        return 0;
    char target[UT_PATH_SIZE];
    utStrCopyN(target, path, sizeof target);
    bool exists = ffExists(target) != FALSE;

    // 1. The overwrite question (which refuses a read-only file); a
    //    read-only file is refused without the question too: the user
    //    keeps it as it is.
    if (confirmOverwrite && exists && !ffConfirmOverwrite(workspace, target))
        return 0;
    if (ffIsFolder(target)) {
        ffReportError(workspace, target, FE_CANNOT_SAVE);
        return 0;
    }
    DWORD attrs = GetFileAttributesA(target);
    if (exists && attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)) {
        ffReportError(workspace, target, FE_READ_ONLY);
        return 0;
    }

    // Every object of the pages in memory must have a file form: a save
    // never writes a document short of an object.
    if (MemHandle odd = unwritableObject(form)) {
        qmfReportUnwritable(workspace, odd);
        return 0;
    }

    // 2. Free space for the whole document before anything is written.
    if (qmfDocumentSize(form) >= ffGetDiskFree(target)) {
        utErrorBoxId(workspace, IDS_NO_DISK_SPACE);
        return 0;
    }

    // 3. The source of the unloaded pages is the document's file, which
    //    stays where it is, untouched, until the new file replaces it.
    char own[UT_PATH_SIZE] = "";
    bool hasOwn = fmGetFilePath(form, own, sizeof own) != 0;
    bool overOwn = hasOwn && samePath(own, target);
    if (overOwn)
        updateEntries = TRUE;   // the old file goes: its offsets must not stay
    HANDLE source = INVALID_HANDLE_VALUE;
    if (hasOwn) {
        source = ffOpenRead(own, nullptr, FALSE);
        if (source == INVALID_HANDLE_VALUE && needsDocumentFile(form)) {
            ffReportError(workspace, own, FE_CANNOT_OPEN);
            return 0;
        }
        // Pages are copied only from the file the directory was read from,
        // never from one another program put in its place.
        if (source != INVALID_HANDLE_VALUE && needsDocumentFile(form) &&
            !qmfIsSameDocumentFile(form, source)) {
            ffClose(source);
            qmfReportReplacedFile(workspace, own);
            return 0;
        }
    }

    // 4. The new file, under a temporary name in the target's folder.
    char temp[UT_PATH_SIZE];
    HANDLE out = ffCreateReplacement(target, temp);
    if (out == INVALID_HANDLE_VALUE) {
        ffClose(source);
        ffReportError(workspace, target, FE_CANNOT_SAVE);
        return 0;
    }

    // 5.-7. Header, body, pages, then the page-size array in the room left
    //       for it. Every write is checked.
    uint32_t shortfalls = ffWriteShortfalls();
    std::vector<PageSpot> spots;
    bool ok = qmfWriteHeader(out, "FORM") == sizeof(FileHeader);
    uint32_t body = ok ? writeBody(out, form, target) : 0;
    ok = ok && body && ffTell(out) == sizeof(FileHeader) + body;
    uint32_t arrayAt = sizeof(FileHeader) + body;
    int pages = fmGetPageCount(form);
    uint32_t arrayBytes = pgSizeArrayBytes(pages);
    ok = ok && ffSeek(out, arrayAt + arrayBytes);
    MemHandle array = 0;
    bool pagesWhole = true;
    if (ok) {
        array = writePages(workspace, form, out, arrayAt + arrayBytes, source, spots,
                           &pagesWhole);
        ok = pagesWhole;
    }
    if (ok && arrayBytes)
        ok = array && ffSeek(out, arrayAt) && ffWritePacket(out, array) == arrayBytes;
    utFreeHandle(array);
    bool wroteWhole = ffWriteShortfalls() == shortfalls;
    ok = ok && wroteWhole;
    ffClose(source);

    // 8. Only a complete file, flushed, replaces the old one; until then
    //    the document's name holds the old file.
    bool replaced = ffCommitReplacement(out, temp, target, ok) != FALSE;
    if (!replaced) {
        // A page that could not be read from where it is held, or a write
        // that came short.
        if (!pagesWhole && wroteWhole)
            utErrorBoxId(workspace, IDS_READ_ERROR);
        else
            ffReportError(workspace, target, FE_WRITE_FAILED);
        return 0;
    }
    if (updateEntries) {
        applySpots(form, spots);
        // The entries now name places in the new file: its identity is the
        // one later pages are checked against.
        HANDLE written = ffOpenRead(target, nullptr, FALSE);
        if (written != INVALID_HANDLE_VALUE) {
            qmfKeepFileIdentity(form, written);
            ffClose(written);
        }
    }
    return 1;
}
