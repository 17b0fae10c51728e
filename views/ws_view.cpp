// The view's world, its pages in the continuous view, the page placement
// and scrolling the view's origin.
#include "views/ws_window.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/pv_page.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_margins.h"
#include "model/pg_record.h"
#include "model/pg_page.h"
#include "model/pg_swap.h"
#include "model/qmf_read.h"
#include "support/ff_file.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include <string.h>
#include <vector>

namespace {

const int32_t kPageGap = 288;   // twips between pages of the continuous view
enum : uint16_t { SCROLL_CONTINUOUS = 2 };

// The workspace's mapping is current for the guard's life.
class ViewMapping {
public:
    explicit ViewMapping(HWND ws) : pushed_(dmPushState())
    {
        if (pushed_)
            wsApplyViewMapping(ws);
    }
    ~ViewMapping()
    {
        if (pushed_)
            dmPopState();
    }
    ViewMapping(const ViewMapping &) = delete;
    ViewMapping &operator=(const ViewMapping &) = delete;

private:
    BOOL pushed_;
};

bool continuous(HWND ws) { return wsGetScrollStyle(ws) == SCROLL_CONTINUOUS; }

// The continuous view's table, copied out.
std::vector<RECT> pageRects(HWND ws)
{
    std::vector<RECT> out;
    MemHandle table = 0;
    if (WorkspaceRecord *rec = wsLockRecord(ws)) {
        table = rec->pageRects;
        wsUnlockRecord(ws);
    }
    if (!table)
        return out;
    uint32_t n = utHandleSize(table) / 16;
    MemLock<int32_t> p(table);
    if (!p)
        return out;
    for (uint32_t i = 0; i < n; ++i)
        out.push_back({p[i * 4], p[i * 4 + 1], p[i * 4 + 2], p[i * 4 + 3]});
    return out;
}

// A page's rectangle from the page itself.
BOOL pageObjectRect(HWND ws, int index, RECT *out)
{
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return FALSE;
    if (index == -1) {
        MemHandle base = fmGetBasePage(form);
        if (!base)
            return FALSE;
        pgGetPageRect(base, out);
        return TRUE;
    }
    if (index < 0 || index >= fmGetPageCount(form))
        return FALSE;
    MemHandle dir = fmGetDirectory(form);
    const bool held = pgDirGetPages(dir, index) != 0;
    MemHandle page = pgDirEnsureLoaded(ws, dir, index);
    if (!page)
        return FALSE;
    pgGetPageRect(page, out);
    if (!held && index != pvGetCurrentPageIndex(ws))
        pgDropEntryPages(ws, index);
    return TRUE;
}

void clientLogSize(HWND ws, int32_t *width, int32_t *height)
{
    RECT r = {0, 0, 0, 0};
    if (ws)
        GetClientRect(ws, &r);
    *width = dmDevToLogW(r.right - r.left);
    *height = dmDevToLogH(r.bottom - r.top);
}

void setOrigin(HWND ws, int32_t x, int32_t y)
{
    if (WorkspaceRecord *rec = wsLockRecord(ws)) {
        ViewMapState state;
        memcpy(&state, rec->viewMapping, sizeof(state));
        state.scrollX = x;
        state.scrollY = y;
        memcpy(rec->viewMapping, &state, sizeof(state));
        wsUnlockRecord(ws);
    }
}

}  // namespace

void wsGetScrollWorld(RECT *inches) { SetRect(inches, -8, -8, 22, 22); }

void wsGetScrollWorldLog(HWND ws, RECT *logical)
{
    ViewMapping mapping(ws);
    SetRect(logical, dmInchToTwipsX(-8), dmInchToTwipsY(-8), dmInchToTwipsX(22),
            dmInchToTwipsY(22));
}

BOOL wsGetPageRect(HWND ws, int index, RECT *out)
{
    SetRectEmpty(out);
    if (continuous(ws) && index >= 0) {
        std::vector<RECT> rects = pageRects(ws);
        if (index < (int)rects.size()) {
            *out = rects[index];
            return TRUE;
        }
    }
    return pageObjectRect(ws, index, out);
}

int32_t wsGetPageOffset(HWND ws, int index)
{
    if (!continuous(ws) || index <= 0)
        return 0;
    int64_t twips = 0;
    for (int i = 0; i < index; ++i) {
        RECT r;
        if (!wsGetPageRect(ws, i, &r))
            break;
        twips += (r.bottom - r.top) + kPageGap;
    }
    ViewMapping mapping(ws);
    return dmLogToDevH((int32_t)twips);
}

int32_t wsGetPageBottom(HWND ws, int index)
{
    RECT r;
    int32_t height = wsGetPageRect(ws, index, &r) ? r.bottom - r.top : 0;
    int32_t offset = wsGetPageOffset(ws, index);
    ViewMapping mapping(ws);
    return offset + dmLogToDevH(height);
}

void wsStoreCurrentPageOffset(HWND ws)
{
    int32_t offset = wsGetPageOffset(ws, pvGetCurrentPageIndex(ws));
    if (WorkspaceRecord *rec = wsLockRecord(ws)) {
        rec->currentPageOffset = offset;
        wsUnlockRecord(ws);
    }
}

int wsPageIndexAtPos(HWND ws, int32_t y)
{
    std::vector<RECT> rects = pageRects(ws);
    if (!continuous(ws) || rects.empty())
        return pvGetCurrentPageIndex(ws);
    ViewMapping mapping(ws);
    int32_t top = 0;
    for (size_t i = 0; i < rects.size(); ++i) {
        if (y < top)
            return (int)i == 0 ? 0 : (int)i - 1;
        int32_t bottom = top + dmLogToDevH(rects[i].bottom - rects[i].top);
        if (y < bottom)
            return (int)i;
        top = bottom + dmLogToDevH(kPageGap);
    }
    return (int)rects.size() - 1;
}

BOOL wsBuildPageRects(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    if (!form || !wsGetRecordHandle(ws))
        return FALSE;
    const int count = fmGetPageCount(form);
    std::vector<int32_t> values;
    // A page's size is in its record: a page on disk is read without its
    // objects, through one open handle of the document file.
    HANDLE docFile = INVALID_HANDLE_VALUE;
    DWORD docSize = 0;
    MemHandle dir = fmGetDirectory(form);
    for (int i = 0; i < count; ++i) {
        RECT r = {0, 0, 0, 0};
        PageDirEntry e;
        if (!pgDirGetEntry(dir, i, &e) || e.pages || e.state == PG_HELD_IN_MEMORY) {
            pageObjectRect(ws, i, &r);
        } else {
            HANDLE f = INVALID_HANDLE_VALUE;
            DWORD size = 0;
            if (e.state == PG_HELD_IN_DOCUMENT) {
                if (docFile == INVALID_HANDLE_VALUE) {
                    docFile = pgOpenEntryFile(ws, &e, FALSE);
                    if (docFile != INVALID_HANDLE_VALUE)
                        docSize = ffGetSize(docFile);
                }
                f = docFile;
                size = docSize;
            } else {
                f = pgOpenEntryFile(ws, &e, FALSE);
                if (f != INVALID_HANDLE_VALUE)
                    size = ffGetSize(f);
            }
            MemHandle page = 0;
            if (f != INVALID_HANDLE_VALUE && size != INVALID_FILE_SIZE) {
                MemHandle one = utHandleFromBytes(&e, sizeof e);
                if (one) {
                    page = qmfReadEntryPageRecord(f, size, one, 0);
                    utFreeHandle(one);
                }
            }
            if (page) {
                pgGetPageRect(page, &r);
                pgFreeList(page);
            }
            if (f != INVALID_HANDLE_VALUE && f != docFile)
                ffClose(f);
        }
        values.insert(values.end(), {r.left, r.top, r.right, r.bottom});
    }
    if (docFile != INVALID_HANDLE_VALUE)
        ffClose(docFile);
    MemHandle table =
        values.empty() ? 0 : utHandleFromBytes(values.data(), (uint32_t)(values.size() * 4));
    // Out of memory (reported by the allocator): the old table stays, so the
    // view never holds a page larger than its entry says without knowing.
    if (!values.empty() && !table)
        return FALSE;
    MemHandle old = 0;
    if (WorkspaceRecord *rec = wsLockRecord(ws)) {
        old = rec->pageRects;
        rec->pageRects = table;
        wsUnlockRecord(ws);
    }
    utFreeHandle(old);
    return TRUE;
}

void wsUpdatePagePlacement(HWND ws)
{
    wsStoreCurrentPageOffset(ws);
    int32_t x = 0, y = 0;
    RECT page;
    if (pvGetCurrentPage(ws) && wsGetPageRect(ws, pvGetCurrentPageIndex(ws), &page)) {
        ViewMapping mapping(ws);
        int32_t cw, ch;
        clientLogSize(ws, &cw, &ch);
        const int32_t pw = page.right - page.left, ph = page.bottom - page.top;
        const int32_t centredX = (pw - cw) / 2;
        const int16_t code = wsGetZoomCode(ws);
        if (code == -100) {
            x = centredX;
            y = (ph - ch) / 2;
        } else if (code == -101) {
            x = centredX;
        } else {
            const int mode = wsGetPagePlacementMode(ws);
            RECT margins;
            if (mode == 2 && pgGetMarginRect(pvGetCurrentPage(ws), &margins)) {
                x = margins.left;
                y = margins.top;
            } else if (mode == 1) {
                x = page.left;
                y = page.top;
            }
            if (pw < cw)
                x = centredX;
        }
    }
    if (WorkspaceRecord *rec = wsLockRecord(ws)) {
        rec->pagePlaceX = x;
        rec->pagePlaceY = y;
        wsUnlockRecord(ws);
    }
}

void wsScrollTo(HWND ws, int32_t x, int32_t y)
{
    if (!wsGetRecordHandle(ws))
        return;
    int32_t hMin, hMax;
    wsGetHScrollRange(ws, &hMin, &hMax);
    if (x < hMin || x > hMax)
        wsSetHScrollRange(ws, x < hMin ? x : hMin, x > hMax ? x : hMax, TRUE);
    int32_t oldX, oldY;
    wsGetScrollOrigin(ws, &oldX, &oldY);
    if (oldX == x && oldY == y)
        return;
    setOrigin(ws, x, y);
    wsSetHScrollPos(ws, x, TRUE);
    wsSetVScrollPos(ws, y, TRUE);
    ScrollWindowEx(ws, oldX - x, oldY - y, nullptr, nullptr, nullptr, nullptr,
                   SW_INVALIDATE | SW_ERASE | SW_SCROLLCHILDREN);
    wsInvalidateRulers(ws, (oldX != x ? 1 : 0) | (oldY != y ? 2 : 0));
}

void wsScrollToPageXY(HWND ws, int32_t x, int32_t y)
{
    if (continuous(ws))
        y += wsGetCurrentPageOffset(ws);
    wsScrollTo(ws, x, y);
}

void wsResetScrollToPlacement(HWND ws)
{
    int32_t px, py;
    wsGetPagePlacement(ws, &px, &py);
    int32_t x, y;
    {
        ViewMapping mapping(ws);
        x = dmLogToDevW(px);
        y = dmLogToDevH(py);
        if (continuous(ws)) {
            RECT page, client;
            GetClientRect(ws, &client);
            if (wsGetPageRect(ws, pvGetCurrentPageIndex(ws), &page) &&
                dmLogToDevW(page.right - page.left) <= client.right - client.left)
                x = (dmLogToDevW(page.right - page.left) - (client.right - client.left)) / 2;
            y += wsGetCurrentPageOffset(ws);
        }
    }
    setOrigin(ws, x, y);
    wsSetHScrollPos(ws, x, TRUE);
    wsSetVScrollPos(ws, y, TRUE);
}

void wsScrollToPlacement(HWND ws)
{
    wsUpdatePagePlacement(ws);
    int32_t px, py;
    wsGetPagePlacement(ws, &px, &py);
    int32_t x, y;
    {
        ViewMapping mapping(ws);
        x = dmLogToDevW(px);
        y = dmLogToDevH(py);
    }
    wsScrollToPageXY(ws, x, y);
}

void wsScrollToPageEnd(HWND ws)
{
    RECT page;
    if (!wsGetPageRect(ws, pvGetCurrentPageIndex(ws), &page))
        return;
    int32_t x, y;
    wsGetScrollOrigin(ws, &x, nullptr);
    {
        ViewMapping mapping(ws);
        int32_t cw, ch;
        clientLogSize(ws, &cw, &ch);
        y = dmLogToDevH(page.bottom + 180 - ch);
    }
    wsScrollToPageXY(ws, x, y);
}

void wsScrollToMarginRect(HWND ws) { wsScrollToPlacement(ws); }

void wsScrollToPageTop(HWND ws)
{
    RECT page;
    if (!wsGetPageRect(ws, pvGetCurrentPageIndex(ws), &page))
        return;
    int32_t x, y;
    wsGetScrollOrigin(ws, &x, nullptr);
    {
        ViewMapping mapping(ws);
        y = dmLogToDevH(page.top);
    }
    wsScrollTo(ws, x, y);
}

void wsGetMoveStep(HWND ws, int32_t *dx, int32_t *dy)
{
    ViewMapping mapping(ws);
    int32_t x = dmGetPixelWidth(), y = dmGetPixelHeight();
    if (wsIsSnapToRulers(ws)) {
        int divisions = wsGetRulerDivisions(ws);
        if (divisions > 0)
            pgGridCellSize(divisions, &x, &y);
    }
    if (dx)
        *dx = x < 1 ? 1 : x;
    if (dy)
        *dy = y < 1 ? 1 : y;
}
