// Opening a document: header, FORM body, page directory, pages and object
// trees read against budgets of the bytes they may take.
#include "model/qmf_read.h"
#include "model/qmf_convert.h"
#include "model/qmf_write.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_numbers.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/sh_gradient.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "resources/resource.h"
#include "support/ut_bytes.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

int g_lastReadError = 0;
// Bytes read ahead for a page record read alone, and for the form.
const uint32_t kRecordReadAhead = 16384;
const int32_t kFormReadAhead = 262144;
BOOL g_keepChains = FALSE;   // tools that inspect files see chains as stored


// A read of n bytes that the budget must cover before anything is read.
BOOL readExact(HANDLE file, int32_t *budget, void *buffer, uint32_t n)
{
    if (!budget || *budget < 0 || n > (uint32_t)*budget) {
        utErrorBoxId(nullptr, IDS_UNEXPECTED_EOF);
        return FALSE;
    }
    return ffReadCounted(file, budget, buffer, n, TRUE);
}

MemHandle readPacket(HANDLE file, int32_t *budget)
{
    return ffReadPacketEx(file, budget, TRUE);
}

// One packet whose length (within its block) covers `minimum` bytes, and
// that length in *n; 0 (a read error shown) when it is shorter.
MemHandle readPacketOf(HANDLE file, int32_t *budget, uint32_t minimum, uint32_t *n)
{
    MemHandle p = readPacket(file, budget);
    if (!p)
        return 0;
    *n = std::min(utGetPacketLength(p), utHandleSize(p));
    if (*n < minimum) {
        utFreeHandle(p);
        utErrorBoxId(nullptr, IDS_READ_ERROR);
        return 0;
    }
    return p;
}

bool sameText(const char *field, uint32_t size, const char *expected)
{
    char text[16];
    qmfHeaderText(field, size, text);
    return lstrcmpiA(text, expected) == 0;
}

// One record: -1 when it cannot be read, else how it was converted.
int readRecord(HANDLE file, int32_t *budget, MemHandle *record, uint16_t flags[7])
{
    *record = 0;
    MemHandle packet = readPacket(file, budget);
    if (!packet)
        return -1;
    qmfUnscrambleRecord(packet);
    QmfReadResult r = qmfRecordFromFile(packet, record, flags);
    utFreeHandle(packet);
    return r;
}

// Frees what a tree read has linked so far. A page record is freed as a
// page, which does not reach members; members and next members a damaged
// file linked to it are freed first.
void freeReadTree(MemHandle root)
{
    if (root && obGetType(root) == OBT_PAGE) {
        MemHandle first = obGetFirstMember(root), next = obGetNextMember(root);
        obSetFirstMember(root, 0);
        obSetNextMember(root, 0);
        obFreeTree(first);
        obFreeTree(next);
    }
    obFreeTree(root);
}

enum Slot { SLOT_ROOT, SLOT_NEXT, SLOT_FIRST, SLOT_ATTACHED, SLOT_DISCARD };
struct Task {
    MemHandle owner;    // whose link receives the tree's root
    Slot slot;
    MemHandle parent;   // parent of the root read
};

// The tree reader. Records come in file order: a record, its extra data,
// then its next member's, first member's and attached trees; the work stack
// keeps that order without recursion, so neither long member chains nor
// deep nesting in a damaged file can exhaust the call stack. Each record is
// linked where it belongs as soon as it is read, so a failure frees it all
// from the root. A page record is accepted only as the root of a page.
BOOL readTree(HANDLE file, int32_t *budget, MemHandle parent, bool pageRoot, MemHandle *rootOut)
{
    MemHandle root = 0;
    std::vector<MemHandle> discarded;
    std::vector<Task> work{{0, SLOT_ROOT, parent}};
    auto cleanUp = [&]() {
        for (MemHandle h : discarded)
            obFreeTree(h);
    };
    while (!work.empty()) {
        Task t = work.back();
        work.pop_back();
        MemHandle rec;
        uint16_t flags[7];
        int r = readRecord(file, budget, &rec, flags);
        if (r < 0) {
            freeReadTree(root);
            cleanUp();
            *rootOut = 0;
            return FALSE;
        }
        if (rec && obGetType(rec) == OBT_PAGE && !(pageRoot && t.slot == SLOT_ROOT)) {
            utFreeHandle(rec);
            rec = 0;
            utErrorBox(nullptr, "Reading object failed");
        }
        if (rec) {
            obSetParent(rec, t.slot == SLOT_DISCARD ? 0 : t.parent);
            switch (t.slot) {
            case SLOT_ROOT: root = rec; break;
            case SLOT_NEXT: obSetNextMember(t.owner, rec); break;
            case SLOT_FIRST: obSetFirstMember(t.owner, rec); break;
            case SLOT_ATTACHED: obSetAttached(t.owner, rec); break;
            case SLOT_DISCARD: discarded.push_back(rec); break;
            }
        }
        if (flags[0]) {
            MemHandle extra = readPacket(file, budget);
            if (!extra) {
                freeReadTree(root);
                cleanUp();
                *rootOut = 0;
                return FALSE;
            }
            if (rec)
                obSetExtraData(rec, extra);
            else
                utFreeHandle(extra);
        }
        // Pushed in reverse of their order in the file.
        if (rec) {
            if (flags[6])
                work.push_back({rec, SLOT_ATTACHED, 0});
            if (flags[4])
                work.push_back({rec, SLOT_FIRST, rec});
            if (flags[5])
                work.push_back({rec, SLOT_NEXT, t.parent});
        } else {
            // A record left out: what it owns is stepped over; its next
            // member takes its place.
            if (flags[6])
                work.push_back({0, SLOT_DISCARD, 0});
            if (flags[4])
                work.push_back({0, SLOT_DISCARD, 0});
            if (flags[5])
                work.push_back({t.owner, t.slot, t.parent});
        }
    }
    cleanUp();
    *rootOut = root;
    return TRUE;
}

BOOL readList(HANDLE file, int32_t *budget, int *count, MemHandle *firstOut, MemHandle *lastOut)
{
    MemHandle first = 0, last = 0;
    int kept = 0;
    for (int i = 0; i < *count; ++i) {
        MemHandle tree;
        if (!readTree(file, budget, 0, false, &tree)) {
            obFreeList(first);
            *firstOut = *lastOut = 0;
            *count = 0;
            return FALSE;
        }
        if (!tree)
            continue;
        obSetPrev(tree, 0);
        obSetNext(tree, 0);
        if (last)
            obLinkPair(last, tree);
        else
            first = tree;
        last = tree;
        ++kept;
    }
    // A chain is a passing multiple selection: in a page it becomes its
    // members again, in its place in the list.
    std::vector<MemHandle> list;
    obCollectList(first, list);
    for (MemHandle h : list) {
        if (g_keepChains || obGetType(h) != OBT_CHAIN)
            continue;
        bool wasFirst = h == first;
        // A top-level object has no next member; one a damaged file hangs
        // there would be orphaned by the ungrouping.
        obFreeTree(obGetNextMember(h));
        obSetNextMember(h, 0);
        MemHandle members = obUngroup(h);
        if (wasFirst)
            first = members;
    }
    *count = obCountList(first);
    *firstOut = first;
    *lastOut = obGetListTail(first);
    (void)kept;
    return TRUE;
}

// A set of the layer state: a u16 count, then count entries of `each` bytes.
BOOL readLayerSet(HANDLE file, int32_t *budget, uint32_t count, uint32_t each, MemHandle *out)
{
    *out = 0;
    if (!count)
        return TRUE;
    uint32_t n = count * each;
    if (*budget < 0 || n > (uint32_t)*budget) {
        utErrorBoxId(nullptr, IDS_UNEXPECTED_EOF);
        return FALSE;
    }
    MemHandle h = utAllocHandle(0, n);
    if (!h)
        return FALSE;
    BOOL ok;
    {
        MemLock<uint8_t> p(h);
        ok = readExact(file, budget, p.get(), n);
    }
    if (!ok)
        h = utFreeHandle(h);
    *out = h;
    return ok;
}

void freeAll(MemHandle a, MemHandle b, MemHandle c, MemHandle d = 0)
{
    utFreeHandle(a);
    utFreeHandle(b);
    utFreeHandle(c);
    utFreeHandle(d);
}

MemHandle openForm(HWND owner, const char *path, const char *failure)
{
    if (!path || !*path)
        return 0;
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, TRUE);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    MemHandle form = size ? qmfReadForm(f, (int32_t)std::min<DWORD>(size, 0x7FFFFFFF)) : 0;
    if (form)
        qmfKeepFileIdentity(form, f);
    ffClose(f);
    if (!form) {
        utErrorBox(owner, size ? failure : "No data in file");
        return 0;
    }
    fmSetFilePath(form, path);
    return form;
}

}  // namespace

void qmfKeepChainsOnRead(BOOL keep) { g_keepChains = keep; }

int qmfGetLastReadError() { return g_lastReadError; }

int qmfVersionNumber(const char *text)
{
    if (!text)
        return 0;
    const char *p = text;
    while (*p == ' ')
        ++p;
    if (*p < '0' || *p > '9')
        return 0;
    long whole = 0;
    for (; *p >= '0' && *p <= '9' && whole < 100000; ++p)
        whole = whole * 10 + (*p - '0');
    long thousandths = 0;
    if (*p == '.') {
        ++p;
        long scale = 100;
        for (; *p >= '0' && *p <= '9'; ++p) {
            thousandths += (*p - '0') * scale;
            scale /= 10;
        }
    }
    return (int)(whole * 100 + (thousandths + 5) / 10);
}

// ---- headers -------------------------------------------------------------------------

int qmfKindCode(const char *kind, BOOL report)
{
    static const struct { const char *name; int code; } kinds[] = {
        {"FORM", 1}, {"DATA", 2}, {"DBDIC", 3}, {"SYSLOG", 4}, {"DBLOG", 5}, {"OLB", 6},
        {"PTNLIB", 7}, {"EXRCD", 9}, {"EXXRC031199", 10}, {"FORMDB", 11},
    };
    for (const auto &k : kinds)
        if (kind && lstrcmpiA(kind, k.name) == 0)
            return k.code;
    if (report)
        utErrorBox(nullptr, "Unrecognized file type ");
    return 0;
}

int qmfReadFormHeader(HANDLE file, int32_t *remaining, FileHeader *header, const char *kind,
                      const char *version, BOOL report)
{
    return qmfCheckHeaderLogos(file, remaining, header, kind, version, report, FALSE);
}

int qmfCheckDocumentHeader(HANDLE file, int32_t *remaining, FileHeader *header)
{
    return qmfCheckHeader(file, remaining, header, "FORM", "", TRUE);
}

BOOL qmfReadHeaderOnly(const char *path, FileHeader *buffer, BOOL report)
{
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, report);
    if (f == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL ok = size >= sizeof(FileHeader) && ffRead(f, buffer, sizeof(FileHeader)) == sizeof(FileHeader);
    ffClose(f);
    if (!ok && report)
        utErrorBoxId(nullptr, IDS_READ_HEADER_FAILED);
    return ok;
}

int qmfGetFileKind(const char *path, BOOL report)
{
    FileHeader h;
    if (!path || !*path || !qmfReadHeaderOnly(path, &h, report))
        return 0;
    char kind[13];
    qmfHeaderText(h.kind, sizeof h.kind, kind);
    int code = qmfKindCode(kind, report);
    if (code == 1 && !sameText(h.logo, sizeof h.logo, "Vellum"))
        return 0;
    return code;
}

BOOL qmfIsLibraryFile(const char *path) { return qmfGetFileKind(path, FALSE) == 6; }

// ---- the form ----------------------------------------------------------------------------

MemHandle fmAssembleFromHead(MemHandle head, MemHandle block1, MemHandle block2,
                             MemHandle block3, MemHandle wsb)
{
    uint32_t n = std::min(utGetPacketLength(head), utHandleSize(head));
    if (n < 66 || utGetPacketLength(wsb) < 16 || utHandleSize(wsb) < 20)
        return 0;
    MemLock<uint8_t> h(head);
    uint16_t count = utGetAt<uint16_t>(h.get(), 54), size = utGetAt<uint16_t>(h.get(), 56);
    if (n != 66u + size || !attCheckRun(h.get() + 66, count, size))
        return 0;
    MemHandle form = utAllocHandle(0, kFmHeadSize + size);
    if (!form)
        return 0;
    {
        MemLock<uint8_t> fb(form);
        MemLock<uint8_t> w(wsb);
        FormRecord *f = reinterpret_cast<FormRecord *>(fb.get());
        f->length = kFmHeadSize + size;
        f->type = utGetAt<int16_t>(h.get(), 4);
        f->updateTime = utGetAt<uint32_t>(h.get(), 6);
        uint16_t mode = w[4];
        uint16_t view = utGetAt<uint16_t>(h.get(), 32) & ~0xFu;
        view |= mode == 1 ? 1 : mode == 2 ? 8 : 0;
        view |= (w[5] ? 2 : 0) | (w[6] ? 4 : 0);
        f->viewFlags = view;
        f->options = utGetAt<uint16_t>(h.get(), 34);
        f->pages = utGetAt<int16_t>(h.get(), 36);
        f->style = utGetAt<uint16_t>(h.get(), 38);
        f->resources = utGetAt<uint32_t>(h.get(), 40);
        f->resourceCount = utGetAt<uint16_t>(h.get(), 44);
        f->resourceWord = utGetAt<uint32_t>(h.get(), 46);
        f->attrs.tagMask = utGetAt<uint32_t>(h.get(), 50);
        f->attrs.count = count;
        f->attrs.size = size;
        f->currentPage = utGetAt<uint16_t>(h.get(), 60);
        f->viewByte1 = w[7];
        f->gridDivisions = utGetAt<uint16_t>(w.get(), 8);
        f->viewByte2 = w[10];
        f->unit = utGetAt<uint16_t>(w.get(), 12);
        if (!f->unit)
            f->unit = 3;
        f->viewWord = utGetAt<uint32_t>(w.get(), 14);
        f->blocks[0] = block1;
        f->blocks[1] = block2;
        f->blocks[2] = block3;
        uint8_t *run = fb.get() + kFmHeadSize;
        memcpy(run, h.get() + 66, size);
        // The page-number settings' font back to a LOGFONT.
        uint32_t at = 0;
        for (int i = 0; i < count; ++i) {
            AttrRecord r;
            memcpy(&r, run + at, sizeof r);
            if (r.tag == FM_TAG_NUMBER_SETTINGS && r.length == (int16_t)sizeof(PageNumberSettings)) {
                uint8_t *d = run + at + sizeof r;
                uint8_t font[sizeof(LOGFONTA)];
                qmfWidenFontAt(d + 14, font);
                memset(d + 14, 0, sizeof(PageNumberSettings) - 14);
                memcpy(d + 14, font, sizeof font);
            }
            at += sizeof r + (uint32_t)r.length;
        }
    }
    return form;
}

MemHandle qmfReadWsb(HANDLE file, int32_t *remaining, BOOL currentWsb)
{
    MemHandle wsb = 0;
    if (currentWsb) {
        uint32_t n = 0;
        MemHandle p = readPacketOf(file, remaining, 16, &n);
        if (!p)
            return 0;
        wsb = utAllocHandle(0, std::max<uint32_t>(n, 20));
        if (wsb) {
            MemLock<uint8_t> s(p), d(wsb);
            memcpy(d.get(), s.get(), n);
            utPutAt<uint32_t>(d.get(), 0, 20);
        }
        utFreeHandle(p);
        if (!wsb)
            return 0;
    } else {
        uint32_t n = 0;
        if (!readExact(file, remaining, &n, 4))
            return 0;
        if (*remaining < 0 || n > (uint32_t)*remaining) {
            utErrorBox(nullptr, "Read Old WSB failed");
            return 0;
        }
        wsb = utAllocHandle(0, std::max<uint32_t>(n, 16) + 4);
        if (!wsb)
            return 0;
        BOOL ok;
        {
            MemLock<uint8_t> d(wsb);
            utPutAt<uint32_t>(d.get(), 0, 20);
            ok = readExact(file, remaining, d.get() + 4, n);
        }
        if (!ok)
            return utFreeHandle(wsb);
    }
    MemLock<uint8_t> d(wsb);
    if (utGetAt<uint16_t>(d.get(), 12) == 0)
        utPutAt<uint16_t>(d.get(), 12, 3);
    return wsb;
}

MemHandle qmfReadFormBody(HANDLE file, int32_t *remaining, BOOL currentWsb)
{
    uint32_t n = 0;
    MemHandle head = readPacketOf(file, remaining, 66, &n);
    if (!head)
        return 0;
    uint16_t present[3];
    uint32_t resources;
    {
        MemLock<uint8_t> h(head);
        for (int i = 0; i < 3; ++i)
            present[i] = utGetAt<uint16_t>(h.get(), 24 + 2 * i);
        resources = utGetAt<uint32_t>(h.get(), 40);
    }
    MemHandle blocks[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        if (!present[i])
            continue;
        blocks[i] = readPacket(file, remaining);
        if (!blocks[i]) {
            freeAll(head, blocks[0], blocks[1], blocks[2]);
            return 0;
        }
    }
    MemHandle wsb = qmfReadWsb(file, remaining, currentWsb);
    if (!wsb) {
        freeAll(head, blocks[0], blocks[1], blocks[2]);
        return 0;
    }
    MemHandle form = fmAssembleFromHead(head, blocks[0], blocks[1], blocks[2], wsb);
    utFreeHandle(wsb);
    utFreeHandle(head);
    if (!form) {
        freeAll(blocks[0], blocks[1], blocks[2]);
        utErrorBoxId(nullptr, IDS_READ_ERROR);
        return 0;
    }
    {
        FmLock f(form);
        f->resources &= ~FM_RES_BASE_PAGE;
    }
    if (resources & FM_RES_BASE_PAGE) {
        MemHandle base = qmfReadPage(file, remaining);
        if (!base) {
            fmFree(form);
            return 0;
        }
        fmSetBasePage(form, base);
    }
    return form;
}

int qmfCheckSizeArray(MemHandle sizeArray, int pages, uint32_t restBytes)
{
    uint32_t length = utGetPacketLength(sizeArray);
    if (pages < 0 || length != 4 + 4 * (uint64_t)pages || length > utHandleSize(sizeArray)) {
        utErrorBox(nullptr,
                   "Read error.  Size array length parameter not consistent with the number of pages.");
        return 0;
    }
    uint64_t sum = 0;
    MemLock<uint32_t> a(sizeArray);
    for (int i = 0; i < pages; ++i)
        sum += a[(size_t)i + 1];
    if (sum != restBytes) {
        utErrorBox(nullptr, "Read error, total page size does not match the file size.");
        return 0;
    }
    return 1;
}

MemHandle qmfReadForm(HANDLE file, int32_t remaining)
{
    g_lastReadError = 0;
    if (remaining == 0) {
        DWORD size = ffGetSize(file);
        if (size == 0 || size == 0xFFFFFFFF) {
            g_lastReadError = QMF_ERR_EMPTY;
            return 0;
        }
        remaining = (int32_t)std::min<DWORD>(size, 0x7FFFFFFF);
    }
    // Header, form body, base page and size array: their first bytes read
    // ahead at once and parsed from memory (the pages after them are read
    // when they are wanted, each ahead of its own).
    FfReadAhead ahead(file, ffTell(file), (DWORD)std::min<int32_t>(remaining, kFormReadAhead));
    FileHeader h;
    if (qmfReadFormHeader(file, &remaining, &h, "FORM", "", TRUE) != 1)
        return 0;
    char text[9];
    qmfHeaderText(h.version, sizeof h.version, text);
    int version = qmfVersionNumber(text);
    if (version < QMF_OLDEST_VERSION) {
        g_lastReadError = QMF_ERR_OLD_VERSION;
        return 0;
    }
    if (version > QMF_PROGRAM_VERSION) {
        g_lastReadError = QMF_ERR_NEWER_VERSION;
        return 0;
    }
    MemHandle form = qmfReadFormBody(file, &remaining, version >= QMF_WSB_PACKET_VERSION);
    if (!form)
        return 0;
    uint32_t p = ffTell(file);
    int pages = fmGetPageCount(form);
    MemHandle array = 0;
    if (pages > 1) {
        array = readPacket(file, &remaining);
        if (!array) {
            fmFree(form);
            return 0;
        }
        qmfCheckSizeArray(array, pages, remaining > 0 ? (uint32_t)remaining : 0);
    }
    MemHandle dir = CreatePGDList(p, array, pages);
    utFreeHandle(array);
    if (!dir) {
        fmFree(form);
        return 0;
    }
    // Entries whose bytes do not lie within the file (sizes that run past
    // its end or wrap the running offset) are marked so that no read uses
    // them; the pages before them stay readable.
    uint64_t fileSize = ffGetSize(file), end = p + (uint64_t)pgSizeArrayBytes(pages);
    {
        MemLock<PageDirEntry> e(dir);
        for (int i = 0; i < pages; ++i) {
            end += e[i].size;
            if (e[i].size && end > fileSize) {
                e[i].offset = 0xFFFFFFFFu;
                e[i].size = 0xFFFFFFFFu;
            }
        }
    }
    FmLock f(form);
    f->directory = dir;
    f->currentPage = kFmBasePageIndex;
    return form;
}

// ---- pages and objects --------------------------------------------------------------------

BOOL qmfReadPageExtras(HANDLE file, int32_t *remaining, MemHandle page)
{
    uint32_t flags;
    {
        PgLock p(page);
        if (!p)
            return FALSE;
        flags = p.data()->extrasFlags ? p.data()->extrasFlags : 2;
    }
    if (flags & 2) {
        uint16_t words[3];
        if (!readExact(file, remaining, words, sizeof words))
            return FALSE;
        if (words[1] != 4u * words[0]) {
            utErrorBoxId(nullptr, IDS_READ_ERROR);
            return FALSE;
        }
        MemHandle set;
        if (!readLayerSet(file, remaining, words[0], 4, &set))
            return FALSE;
        {
            PgLock p(page);
            p.data()->layers.inUse = set;
            p.data()->layers.countInUse = words[0];
            p.data()->layers.current = words[2];
        }
        for (int i = 0; i < 2; ++i) {
            uint16_t count;
            if (!readExact(file, remaining, &count, 2) ||
                !readLayerSet(file, remaining, count, 2, &set))
                return FALSE;
            PgLock p(page);
            (i ? p.data()->layers.hidden : p.data()->layers.edit) = set;
            (i ? p.data()->layers.countHidden : p.data()->layers.countEdit) = count;
        }
    }
    const uint32_t blockFlags[2] = {64, 0x100};
    for (int i = 0; i < 2; ++i) {
        if (!(flags & blockFlags[i]))
            continue;
        MemHandle block = readPacket(file, remaining);
        if (!block)
            return FALSE;
        PgLock p(page);
        (i ? p.data()->sideBlock : p.data()->paletteBlock) = block;
    }
    return TRUE;
}

MemHandle qmfReadObjectRecord(HANDLE file, int32_t *remaining)
{
    MemHandle rec;
    uint16_t flags[7];
    return readRecord(file, remaining, &rec, flags) == QMF_RECORD_OK ? rec : 0;
}

BOOL qmfReadObjectTreeEx(HANDLE file, int32_t *remaining, MemHandle parent, MemHandle *root)
{
    return readTree(file, remaining, parent, false, root);
}

MemHandle qmfReadObjectTree(HANDLE file, int32_t *remaining, MemHandle parent)
{
    MemHandle root;
    return readTree(file, remaining, parent, false, &root) ? root : 0;
}

MemHandle qmfReadObjectList(HANDLE file, int32_t *remaining, int *count, MemHandle *firstOut)
{
    MemHandle first, last;
    readList(file, remaining, count, &first, &last);
    if (firstOut)
        *firstOut = first;
    return last;
}

MemHandle qmfReadPage(HANDLE file, int32_t *remaining)
{
    MemHandle page;
    if (!readTree(file, remaining, 0, true, &page))
        return 0;
    if (!page || obGetType(page) != OBT_PAGE || !pgIsValid(page)) {
        freeReadTree(page);
        utErrorBoxId(nullptr, IDS_READ_ERROR);
        return 0;
    }
    // A page owns no members; anything a damaged file hangs there goes.
    {
        MemHandle first = obGetFirstMember(page), next = obGetNextMember(page);
        obSetFirstMember(page, 0);
        obSetNextMember(page, 0);
        obFreeTree(first);
        obFreeTree(next);
    }
    if (!qmfReadPageExtras(file, remaining, page)) {
        pgFreeList(page);
        return 0;
    }
    int count;
    {
        PgLock p(page);
        count = pgDataObjectCount(p.data());
    }
    if (count < 0) {
        utErrorBoxId(nullptr, IDS_READ_ERROR);
        pgFreeList(page);
        return 0;
    }
    if (count > 0) {
        MemHandle first, last;
        if (!readList(file, remaining, &count, &first, &last)) {
            pgFreeList(page);
            return 0;
        }
        pgSetFirstObject(page, first);
        PgLock p(page);
        pgDataSetObjectCount(p.data(), count);
    }
    // A default gradient stored without a type gets the defaults.
    PgLock p(page);
    GradientFillBlock g;
    memcpy(&g, p.data()->defaultGradient, sizeof g);
    if (g.type == 0) {
        filDefaultGradient(&g);
        memcpy(p.data()->defaultGradient, &g, sizeof g);
    }
    return page;
}

// ---- whole files -----------------------------------------------------------------------------

MemHandle qmfReadEntryPage(HANDLE file, uint32_t fileSize, MemHandle dir, int n)
{
    PageDirEntry e;
    if (!pgDirGetEntry(dir, n, &e))
        return 0;
    // The entry's bytes must lie within the file before they are read; a
    // page reads only its own bytes, never those of the next one.
    uint64_t size = e.size ? e.size : (e.offset <= fileSize ? fileSize - e.offset : 0);
    if (e.offset > fileSize || (uint64_t)e.offset + size > fileSize || size > 0x7FFFFFFF || !size) {
        utErrorBoxId(nullptr, IDS_UNEXPECTED_EOF);
        return 0;
    }
    // The page's bytes are read in whole windows and parsed from memory.
    FfReadAhead ahead(file, e.offset, (DWORD)size);
    if (!ahead) {
        utErrorBoxId(nullptr, IDS_READ_ERROR);
        return 0;
    }
    int32_t budget = (int32_t)size;
    return qmfReadPage(file, &budget);
}

MemHandle qmfReadEntryPageRecord(HANDLE file, uint32_t fileSize, MemHandle dir, int n)
{
    PageDirEntry e;
    if (!pgDirGetEntry(dir, n, &e))
        return 0;
    uint64_t size = e.size ? e.size : (e.offset <= fileSize ? fileSize - e.offset : 0);
    if (e.offset > fileSize || (uint64_t)e.offset + size > fileSize || size > 0x7FFFFFFF || !size) {
        utErrorBoxId(nullptr, IDS_UNEXPECTED_EOF);
        return 0;
    }
    // Only the record tree is read: its first bytes ahead, the rest (a
    // record with a large name or attributes) from the file.
    FfReadAhead ahead(file, e.offset, (DWORD)std::min<uint64_t>(size, kRecordReadAhead));
    if (!ahead) {
        utErrorBoxId(nullptr, IDS_READ_ERROR);
        return 0;
    }
    int32_t budget = (int32_t)size;
    MemHandle page;
    if (!readTree(file, &budget, 0, true, &page))
        return 0;
    if (!page || obGetType(page) != OBT_PAGE || !pgIsValid(page)) {
        obFreeTree(page);
        utErrorBoxId(nullptr, IDS_READ_ERROR);
        return 0;
    }
    obFreeTree(obGetFirstMember(page));
    obFreeTree(obGetNextMember(page));
    obSetFirstMember(page, 0);
    obSetNextMember(page, 0);
    PgLock p(page);
    pgDataSetObjectCount(p.data(), 0);
    return page;
}

MemHandle qmfOpenDocument(HWND owner, const char *path, int pageIndex, MemHandle *pageOut)
{
    if (pageOut)
        *pageOut = 0;
    if (!path || !*path)
        return 0;
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, TRUE);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    if (size == 0) {
        ffClose(f);
        utErrorBox(owner, "No data in file");
        return 0;
    }
    MemHandle form = qmfReadForm(f, (int32_t)std::min<DWORD>(size, 0x7FFFFFFF));
    if (!form) {
        ffClose(f);
        int e = qmfGetLastReadError();
        utErrorBox(owner, e == QMF_ERR_OLD_VERSION ? "The selected file was not supported."
                          : e == QMF_ERR_NEWER_VERSION
                              ? "The selected file was created by a newer version of Quillmark."
                              : "Read file failed.");
        return 0;
    }
    MemHandle dir = fmGetDirectory(form);
    if (pageIndex >= 0 && pageIndex < fmGetPageCount(form)) {
        MemHandle page = qmfReadEntryPage(f, size, dir, pageIndex);
        if (!page) {
            ffClose(f);
            fmFree(form);
            utErrorBox(owner, "Read file failed.");
            return 0;
        }
        pgDirSetPages(dir, page, pageIndex);
        if (pageOut)
            *pageOut = page;
    }
    fmSetFilePath(form, path);
    qmfKeepFileIdentity(form, f);
    ffClose(f);
    return form;
}

BOOL qmfIsWholeDocument(const char *path)
{
    if (!path || !*path)
        return FALSE;
    UtQuietBoxes quiet;
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, FALSE);
    if (f == INVALID_HANDLE_VALUE)
        return FALSE;
    MemHandle form = size ? qmfReadForm(f, (int32_t)std::min<DWORD>(size, 0x7FFFFFFF)) : 0;
    bool ok = form != 0;
    const int pages = ok ? fmGetPageCount(form) : 0;
    for (int i = 0; ok && i < pages; ++i) {
        MemHandle page = qmfReadEntryPage(f, size, fmGetDirectory(form), i);
        ok = page != 0;
        pgFreeList(page);
    }
    fmFree(form);
    ffClose(f);
    return ok && quiet.count() == 0;
}

MemHandle qmfReadFormFile(HWND owner, const char *path)
{
    return openForm(owner, path, "Form read error");
}

MemHandle qmfReadFormInfo(HWND owner, const char *path)
{
    return openForm(owner, path, "Failed to read form info.");
}

MemHandle qmfReadPageAt(const char *path, MemHandle directory, int n)
{
    if (!path || !*path)
        return 0;
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, TRUE);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    MemHandle page = qmfReadEntryPage(f, size, directory, n);
    ffClose(f);
    return page;
}

MemHandle qmfReadPageFromFile(HWND owner, const char *path, MemHandle directory, int n)
{
    MemHandle page = qmfReadPageAt(path, directory, n);
    if (!page && path && *path)
        utErrorBox(owner, "Read file failed.");
    return page;
}

int qmfPageNumberFromName(const char *text)
{
    if (!text)
        return -1;
    const char *dot = strchr(text, '.');
    if (!dot || dot == text)
        return -1;
    long n = 0;
    for (const char *p = text; p < dot; ++p) {
        if (*p == ' ' && n == 0)
            continue;
        if (*p < '0' || *p > '9' || n > 100000)
            return -1;
        n = n * 10 + (*p - '0');
    }
    return (int)n - 1;
}

// ---- the identity of a document file ---------------------------------------------------

BOOL qmfGetFileIdentity(HANDLE file, QmfFileIdentity *out)
{
    if (!out || !file || file == INVALID_HANDLE_VALUE)
        return FALSE;
    memset(out, 0, sizeof *out);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || !GetFileTime(file, nullptr, nullptr, &out->lastWrite))
        return FALSE;
    out->size = (uint64_t)size.QuadPart;
    DWORD at = ffTell(file);
    bool ok = ffSeek(file, 0) != FALSE;
    if (ok) {
        DWORD want = (DWORD)std::min<uint64_t>(out->size, sizeof out->header), got = 0;
        ok = !want || (ReadFile(file, out->header, want, &got, nullptr) && got == want);
    }
    ffSeek(file, at);
    return ok;
}

void qmfKeepFileIdentity(MemHandle form, HANDLE file)
{
    QmfFileIdentity id;
    MemHandle kept = qmfGetFileIdentity(file, &id) ? utHandleFromBytes(&id, sizeof id) : 0;
    FmLock f(form);
    if (!f) {
        utFreeHandle(kept);
        return;
    }
    utFreeHandle(f->block4);
    f->block4 = kept;
}

int qmfIsSameDocumentFile(MemHandle form, HANDLE file)
{
    MemHandle kept;
    {
        FmLock f(form);
        kept = f ? f->block4 : 0;
    }
    if (!kept || utHandleSize(kept) < sizeof(QmfFileIdentity))
        return 1;
    QmfFileIdentity was, now;
    {
        MemLock<uint8_t> p(kept);
        memcpy(&was, p.get(), sizeof was);
    }
    if (!qmfGetFileIdentity(file, &now))
        return 0;
    return was.size == now.size && CompareFileTime(&was.lastWrite, &now.lastWrite) == 0 &&
           memcmp(was.header, now.header, sizeof was.header) == 0;
}

void qmfReportReplacedFile(HWND owner, const char *path)
{
    std::string text = std::string("The file\r\n  ") + (path ? path : "") +
                       "\r\nhas been replaced or changed by another program since it was "
                       "opened. The pages not yet read from it can no longer be taken from "
                       "it; the file is left as it is.";
    utErrorBox(owner, text.c_str());
}
