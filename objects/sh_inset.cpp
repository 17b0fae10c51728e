// Self-sized records (page insets and image file objects).
#include "objects/sh_inset.h"
#include "model/fm_form.h"
#include "model/ob_draw.h"
#include "model/pg_dir.h"
#include "model/pg_render.h"
#include <string.h>
#include <algorithm>
#include <vector>

uint32_t shSelfSizedRecordSize(ObjectRecord *rec, uint32_t blockSize)
{
    uint32_t bound = blockSize ? blockSize : rec->length;
    uint32_t base = obDataOffset(rec);
    uint32_t size = std::min(rec->length, bound);
    if (base + 4 <= bound) {
        uint32_t stated;
        memcpy(&stated, obRecData(rec), 4);
        if (stated >= 4 && stated <= bound - base)
            size = base + stated;
    }
    rec->length = size;
    return size;
}

uint32_t shSelfSizedRecordSizeH(MemHandle h)
{
    ObLock r(h);
    return r ? shSelfSizedRecordSize(r.get(), r.blockSize()) : 0;
}

// ---- page insets ----------------------------------------------------------------------------------

namespace {

ShInsetHooks g_hooks = {};
int g_insetDepth = 0;   // insets being drawn now

// Pages an inset could not read. The reader says so in a message box; the
// box closing paints the inset again, so a page that failed is not tried
// again while its entry says the same (where the page is and how it is
// held), or the boxes would never end.
struct FailedRead {
    MemHandle dir;
    int index;
    uint32_t offset, size;
    uint16_t state;
    char tempName[24];
    bool operator==(const FailedRead &o) const
    {
        return dir == o.dir && index == o.index && offset == o.offset && size == o.size &&
               state == o.state && memcmp(tempName, o.tempName, sizeof tempName) == 0;
    }
};
std::vector<FailedRead> g_failed;

FailedRead failedKey(MemHandle dir, int index)
{
    FailedRead key = {};
    PageDirEntry entry;
    pgDirGetEntry(dir, index, &entry);
    key.dir = dir;
    key.index = index;
    key.offset = entry.offset;
    key.size = entry.size;
    key.state = entry.state;
    memcpy(key.tempName, entry.tempName, sizeof key.tempName);
    return key;
}

// The page of entry `index`, read from where the entry holds it when it is
// not in memory; null when it cannot be (told once).
MemHandle loadPage(HWND window, MemHandle dir, int index)
{
    FailedRead key = failedKey(dir, index);
    if (std::find(g_failed.begin(), g_failed.end(), key) != g_failed.end())
        return 0;
    MemHandle page = pgDirEnsureLoaded(window, dir, index);
    if (!page)
        g_failed.push_back(key);
    return page;
}

}  // namespace

void shSetInsetHooks(const ShInsetHooks *hooks)
{
    g_hooks = hooks ? *hooks : ShInsetHooks{};
    g_failed.clear();
}

void shPageInsetDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec || g_insetDepth > 0 || !g_hooks.document)
        return;
    uint32_t base = obDataOffset(rec);
    if ((uint64_t)base + 6 > rec->length)
        return;
    uint16_t index;
    memcpy(&index, obRecData(rec) + 4, 2);
    HWND window = obGetDrawWindow();
    MemHandle form = window ? g_hooks.document(window) : 0;
    if (!form)
        return;
    int count = fmGetPageCount(form);
    if (index >= count)
        return;
    MemHandle dir = fmGetDirectory(form);
    bool inMemory = pgDirGetPages(dir, index) != 0;
    // A page that is not in memory is read from the document or its
    // temporary file for the drawing.
    MemHandle page = inMemory ? pgDirGetPages(dir, index) : loadPage(window, dir, index);
    if (!page)
        return;
    ++g_insetDepth;
    pgRender(window, dc, form, page, index + 1, nullptr, FALSE, FALSE, FALSE, FALSE, FALSE);
    --g_insetDepth;
    // Only what this drawing loaded is let go: a page that lives only in
    // memory would be lost.
    int current = g_hooks.currentPage ? g_hooks.currentPage(window) : -1;
    if (!inMemory && index != current)
        pgDropEntryPages(window, index);
}

void shPageInsetDrawH(HDC dc, MemHandle h)
{
    ObLock r(h);
    if (r)
        shPageInsetDraw(dc, r.get());
}
