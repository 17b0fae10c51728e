// Design guides of a page: the guide table, its storage as a page
// attribute, drawing, the hit test and the commands on guides.
#include "views/pv_guide.h"
#include "commands/ud_undo.h"
#include "model/fm_form.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_menu.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

// The two lists of a table, read and written as a whole.
struct Lists {
    std::vector<int32_t> x, y;
    std::vector<int32_t> &of(int kind) { return kind == GD_VERTICAL ? x : y; }
};

BOOL readLists(MemHandle table, Lists *out)
{
    const uint32_t size = utHandleSize(table);
    MemLock<uint8_t> p(table);
    if (!p || size < sizeof(GuideRecord))
        return FALSE;
    GuideRecord head;
    memcpy(&head, p.get(), sizeof head);
    if (!gdIsValid(p.get(), std::min(size, head.size)))
        return FALSE;
    out->x.resize(head.vertical);
    out->y.resize(head.horizontal);
    if (head.vertical)
        memcpy(out->x.data(), p.get() + sizeof head, 4u * head.vertical);
    if (head.horizontal)
        memcpy(out->y.data(), p.get() + sizeof head + 4u * head.vertical, 4u * head.horizontal);
    return TRUE;
}

// Writes the lists back, sorted; the table to keep (0 when it could not
// grow, the old one unchanged).
MemHandle writeLists(MemHandle table, Lists &l)
{
    std::sort(l.x.begin(), l.x.end());
    std::sort(l.y.begin(), l.y.end());
    const uint32_t n = (uint32_t)(l.x.size() + l.y.size());
    const uint32_t size = std::max<uint32_t>(34 + 4 * n, kGuideEmptySize);
    // A table that shrinks or keeps its length is written in place, so the
    // caller's handle stays the table.
    MemHandle h = table && size <= utHandleSize(table) ? table : utAllocHandle(table, size);
    if (!h)
        return 0;
    MemLock<uint8_t> p(h);
    if (!p)
        return 0;
    GuideRecord head = {};
    head.size = 34 + 4 * n < kGuideEmptySize ? kGuideEmptySize : 34 + 4 * n;
    head.vertical = (uint32_t)l.x.size();
    head.horizontal = (uint32_t)l.y.size();
    memset(p.get(), 0, utHandleSize(h));
    memcpy(p.get(), &head, sizeof head);
    if (!l.x.empty())
        memcpy(p.get() + sizeof head, l.x.data(), 4 * l.x.size());
    if (!l.y.empty())
        memcpy(p.get() + sizeof head + 4 * l.x.size(), l.y.data(), 4 * l.y.size());
    return h;
}

int findNear(MemHandle table, int kind, int32_t *at, int32_t tolerance)
{
    Lists l;
    if (!at || !readLists(table, &l))
        return -1;
    const std::vector<int32_t> &v = l.of(kind);
    const int64_t half = tolerance / 2;
    for (size_t i = 0; i < v.size(); ++i)
        if (std::llabs((int64_t)v[i] - *at) <= half) {
            *at = v[i];
            return (int)i;
        }
    return -1;
}

// The page moved while its attribute changed: the document keeps the new
// handle where it kept the old one.
void keepPage(HWND ws, MemHandle before, MemHandle now)
{
    MemHandle form = wsGetDocument(ws);
    if (!form || !now || now == before)
        return;
    const int index = pvGetCurrentPageIndex(ws);
    if (index == -1)
        fmSetBasePage(form, now);
    else if (index >= 0)
        pgDirSetPages(fmGetDirectory(form), now, index);
}

int32_t pixelsToTwips(HWND ws, int pixels)
{
    HDC dc = wsGetDC(ws);
    if (!dc)
        return pixels * 15;
    POINT p[2] = {{0, 0}, {pixels, pixels}};
    DPtoLP(dc, p, 2);
    ReleaseDC(ws, dc);
    const int32_t d = std::abs(p[1].x - p[0].x);
    return d ? d : 1;
}

// Records the page's table before a change (kind 23): 1 when pending.
int recordGuides(HWND ws, MemHandle page)
{
    return udRecord(ws, 0, pgGetAttrCopy(page, kGuideAttrTag),
                    UD_GUIDES, 0);
}

// Stores the table on the current page: 1 when stored.
int storeGuides(HWND ws, MemHandle page, MemHandle table)
{
    MemHandle now = pvSetGuides(page, table);
    if (!now)
        return 0;
    keepPage(ws, page, now);
    return 1;
}

}  // namespace

// ---- the table ---------------------------------------------------------------------------

MemHandle gdNew()
{
    Lists l;
    return writeLists(0, l);
}

BOOL gdIsValid(const void *bytes, uint32_t length)
{
    if (!bytes || length < kGuideEmptySize)
        return FALSE;
    GuideRecord head;
    memcpy(&head, bytes, sizeof head);
    const uint64_t want = 34ull + 4ull * ((uint64_t)head.vertical + head.horizontal);
    const uint64_t stored = std::max<uint64_t>(want, kGuideEmptySize);
    return head.size == length && stored == length;
}

int gdCount(MemHandle table, int kind)
{
    Lists l;
    return readLists(table, &l) ? (int)l.of(kind).size() : 0;
}

int32_t gdGetPos(MemHandle table, int index, int kind)
{
    Lists l;
    if (!readLists(table, &l) || index < 0 || (size_t)index >= l.of(kind).size())
        return 0;
    return l.of(kind)[index];
}

int gdFindX(MemHandle table, int32_t *x, int32_t tolerance)
{
    return findNear(table, GD_VERTICAL, x, tolerance);
}

int gdFindY(MemHandle table, int32_t *y, int32_t tolerance)
{
    return findNear(table, GD_HORIZONTAL, y, tolerance);
}

MemHandle gdAdd(MemHandle table, int32_t position, int kind, int *added)
{
    if (added)
        *added = 0;
    Lists l;
    if (table && !readLists(table, &l))
        return 0;
    std::vector<int32_t> &v = l.of(kind);
    if (std::find(v.begin(), v.end(), position) != v.end())
        return table ? table : gdNew();
    v.push_back(position);
    MemHandle h = writeLists(table, l);
    if (h && added)
        *added = 1;
    return h;
}

int gdDelete(MemHandle table, int index, int kind)
{
    Lists l;
    if (index < 0 || !readLists(table, &l) || (size_t)index >= l.of(kind).size())
        return 0;
    std::vector<int32_t> &v = l.of(kind);
    v.erase(v.begin() + index);
    return writeLists(table, l) != 0;   // shrinking keeps the handle
}

int gdDeleteAt(MemHandle table, int32_t position, int kind)
{
    int32_t at = position;
    const int index = findNear(table, kind, &at, 0);
    return index >= 0 ? gdDelete(table, index, kind) : 0;
}

int gdSetPos(MemHandle table, int index, int32_t position, int kind)
{
    Lists l;
    if (index < 0 || !readLists(table, &l) || (size_t)index >= l.of(kind).size())
        return 0;
    if (l.of(kind)[index] == position)
        return 0;
    l.of(kind)[index] = position;
    return writeLists(table, l) != 0;
}

void gdSort(MemHandle table)
{
    Lists l;
    if (readLists(table, &l))
        writeLists(table, l);
}

int gdDraw(HDC dc, MemHandle table, const RECT *pageRect, COLORREF colour)
{
    Lists l;
    if (!dc || !pageRect || !readLists(table, &l) || (l.x.empty() && l.y.empty()))
        return 0;
    HPEN pen = CreatePen(PS_DOT, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    const int oldBk = SetBkMode(dc, TRANSPARENT);
    for (int32_t x : l.x) {
        MoveToEx(dc, x, pageRect->top, nullptr);
        LineTo(dc, x, pageRect->bottom);
    }
    for (int32_t y : l.y) {
        MoveToEx(dc, pageRect->left, y, nullptr);
        LineTo(dc, pageRect->right, y);
    }
    SetBkMode(dc, oldBk);
    SelectObject(dc, old);
    DeleteObject(pen);
    return 1;
}

// ---- the page's table --------------------------------------------------------------------

MemHandle pvGetGuides(MemHandle page)
{
    if (!page)
        return 0;
    PgLock p(page);
    int length = 0;
    const uint8_t *data = p ? p.findAttr(kGuideAttrTag, &length) : nullptr;
    // A table whose size word or counts disagree with its stored length is
    // not trusted: the page then has no guides.
    if (!data || length <= 0 || !gdIsValid(data, (uint32_t)length))
        return 0;
    return utHandleFromBytes(data, (uint32_t)length);
}

MemHandle pvGetCurrentGuides(HWND ws)
{
    return pvGetGuides(pvGetCurrentPage(ws));
}

MemHandle pvSetGuides(MemHandle page, MemHandle table)
{
    if (!page)
        return 0;
    std::vector<uint8_t> bytes;
    if (table) {
        MemLock<uint8_t> p(table);
        GuideRecord head = {};
        if (p && utHandleSize(table) >= sizeof head) {
            memcpy(&head, p.get(), sizeof head);
            if (head.size <= utHandleSize(table))
                bytes.assign(p.get(), p.get() + head.size);
        }
    }
    return pgSetAttr(page, kGuideAttrTag, bytes.empty() ? nullptr : bytes.data(), (int)bytes.size());
}

int pvInstallGuides(HWND ws, MemHandle table)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page || !storeGuides(ws, page, table))
        return 0;
    InvalidateRect(ws, nullptr, TRUE);
    return 1;
}

int pvDrawPageGuides(HWND, HDC dc, MemHandle page, COLORREF colour)
{
    MemHandle table = pvGetGuides(page);
    if (!table)
        return 0;
    RECT r;
    pgGetPageRect(page, &r);
    const int drawn = gdDraw(dc, table, &r, colour);
    utFreeHandle(table);
    return drawn;
}

int32_t pvGuideTolerance(HWND ws)
{
    return pixelsToTwips(ws, 6);
}

uint32_t pvGuideHitTest(HWND ws, POINT *point)
{
    MemHandle table = pvGetCurrentGuides(ws);
    if (!table || !point) {
        utFreeHandle(table);
        return 0xFFFFFFFFu;
    }
    const int32_t tolerance = pvGuideTolerance(ws);
    int32_t x = point->x, y = point->y;
    const int v = gdFindX(table, &x, tolerance);
    const int h = gdFindY(table, &y, tolerance);
    utFreeHandle(table);
    point->x = x;
    point->y = y;
    return ((uint32_t)(uint16_t)h << 16) | (uint16_t)v;
}

void pvInvalidateGuide(HWND ws, int32_t position, int kind)
{
    RECT client;
    GetClientRect(ws, &client);
    HDC dc = wsGetDC(ws);
    if (!dc)
        return;
    POINT p = {position, position};
    LPtoDP(dc, &p, 1);
    ReleaseDC(ws, dc);
    RECT band = client;
    if (kind == GD_VERTICAL) {
        band.left = p.x - 2;
        band.right = p.x + 3;
    } else {
        band.top = p.y - 2;
        band.bottom = p.y + 3;
    }
    InvalidateRect(ws, &band, TRUE);
}

// ---- commands ----------------------------------------------------------------------------

int pvAddGuide(HWND ws, int32_t position, int kind)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page || (kind != GD_VERTICAL && kind != GD_HORIZONTAL))
        return 0;
    recordGuides(ws, page);
    RECT r;
    pgGetPageRect(page, &r);
    const int32_t low = kind == GD_VERTICAL ? r.left : r.top;
    const int32_t high = kind == GD_VERTICAL ? r.right : r.bottom;
    if (position < low + 1 || position > high - 1) {
        udDiscard(ws);
        return 0;
    }
    MemHandle table = pvGetGuides(page);
    int added = 0;
    MemHandle grown = gdAdd(table, position, kind, &added);
    if (!grown) {
        utFreeHandle(table);
        udDiscard(ws);
        return 0;
    }
    int stored = added && storeGuides(ws, page, grown);
    utFreeHandle(grown);
    if (!stored) {
        udDiscard(ws);
        return 0;
    }
    wsMarkModified(ws);
    pvInvalidateGuide(ws, position, kind);
    return 1;
}

int pvDeleteGuideAt(HWND ws, int32_t position, int kind)
{
    MemHandle page = pvGetCurrentPage(ws);
    MemHandle table = pvGetGuides(page);
    if (!table)
        return 0;
    recordGuides(ws, page);
    const int done = gdDeleteAt(table, position, kind) && storeGuides(ws, page, table);
    utFreeHandle(table);
    if (!done) {
        udDiscard(ws);
        return 0;
    }
    wsMarkModified(ws);
    pvInvalidateGuide(ws, position, kind);
    return 1;
}

int pvDeleteGuide(HWND ws, int index, int kind)
{
    MemHandle page = pvGetCurrentPage(ws);
    MemHandle table = pvGetGuides(page);
    if (!table)
        return 0;
    const int32_t position = gdGetPos(table, index, kind);
    recordGuides(ws, page);
    const int done = gdDelete(table, index, kind) && storeGuides(ws, page, table);
    utFreeHandle(table);
    if (!done) {
        udDiscard(ws);
        return 0;
    }
    wsMarkModified(ws);
    pvInvalidateGuide(ws, position, kind);
    return 1;
}

int pvDeleteAllGuides(HWND ws)
{
    MemHandle page = pvGetCurrentPage(ws);
    MemHandle table = pvGetGuides(page);
    if (!table)
        return 0;
    utFreeHandle(table);
    if (utMessageBox(ws, "Are you sure you want to delete all the design guides?",
                     MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return 0;
    recordGuides(ws, page);
    if (!storeGuides(ws, page, 0)) {
        udDiscard(ws);
        return 0;
    }
    InvalidateRect(ws, nullptr, TRUE);
    wsMarkModified(ws);
    return 1;
}

int pvMoveGuide(HWND ws, int index, int32_t position, int kind)
{
    MemHandle page = pvGetCurrentPage(ws);
    MemHandle table = pvGetGuides(page);
    if (!table)
        return 0;
    const int32_t old = gdGetPos(table, index, kind);
    recordGuides(ws, page);
    const int done = gdSetPos(table, index, position, kind) && storeGuides(ws, page, table);
    utFreeHandle(table);
    if (!done) {
        udDiscard(ws);
        return 0;
    }
    wsMarkModified(ws);
    pvInvalidateGuide(ws, old, kind);
    pvInvalidateGuide(ws, position, kind);
    return 1;
}

int pvSnapObjectToGuide(HWND ws, MemHandle object, int index, int kind)
{
    MemHandle table = pvGetCurrentGuides(ws);
    if (!table || !object) {
        utFreeHandle(table);
        return 0;
    }
    const BOOL known = index >= 0 && index < gdCount(table, kind);
    const int32_t at = gdGetPos(table, index, kind);
    utFreeHandle(table);
    if (!known)
        return 0;
    RECT r;
    obGetRect(object, &r);
    const int32_t nearSide = kind == GD_VERTICAL ? r.left : r.top;
    const int32_t farSide = kind == GD_VERTICAL ? r.right : r.bottom;
    const int32_t toNear = at - nearSide, toFar = at - farSide;
    const int32_t d = std::abs(toNear) <= std::abs(toFar) ? toNear : toFar;
    if (!d)
        return 0;
    udRecordCopy(ws, object);
    obInvalidate(ws, object);
    if (kind == GD_VERTICAL)
        obMoveBy(object, d, 0);
    else
        obMoveBy(object, 0, d);
    obInvalidate(ws, object);
    wsMarkModified(ws);
    return 1;
}

int pvRecordGuideMove(HWND ws, MemHandle table, int32_t count, int kind, int32_t distance,
                      const MemHandle *objects)
{
    if (!table || count < 0 || (count > 0 && !objects))
        return 0;
    std::vector<uint8_t> block;
    {
        // A block may be larger than the table it holds: the size word
        // says how much is the table.
        const uint32_t held = utHandleSize(table);
        MemLock<uint8_t> p(table);
        uint32_t size = 0;
        if (!p || held < 4)
            return 0;
        memcpy(&size, p.get(), 4);
        if (size > held || !gdIsValid(p.get(), size))
            return 0;
        block.assign(p.get(), p.get() + size);
    }
    GuideDragTail tail = {(uint32_t)count, (uint16_t)(kind == GD_VERTICAL ? 1 : 2), distance};
    const uint8_t *t = (const uint8_t *)&tail;
    block.insert(block.end(), t, t + sizeof(tail));
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t h = objects[i];
        const uint8_t *b = (const uint8_t *)&h;
        block.insert(block.end(), b, b + 4);
    }
    MemHandle data = utHandleFromBytes(block.data(), (uint32_t)block.size());
    if (!data)
        return 0;
    return udRecord(ws, 0, data, UD_GUIDE_DRAG, 0);
}

void pvGuideMenu(HWND ws, LPARAM lParam, int vertical, int horizontal)
{
    if (vertical < 0 && horizontal < 0)
        return;
    MemHandle current = wsGetCurrentObject(ws);
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    AppendMenuA(menu, MF_STRING, vertical >= 0 ? 2108 : 2109, "&Delete Guide");
    AppendMenuA(menu, MF_STRING, 2112, "Delete &All Guides");
    AppendMenuA(menu, MF_STRING | (current ? 0 : MF_GRAYED), 2110, "&Snap Object to Guide");
    POINT at = {(int16_t)LOWORD(lParam), (int16_t)HIWORD(lParam)};
    ClientToScreen(ws, &at);
    const UINT chosen =
        winTrackPopup(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, at.x, at.y, ws);
    DestroyMenu(menu);
    switch (chosen) {
    case 2108:
        pvDeleteGuide(ws, vertical, GD_VERTICAL);
        break;
    case 2109:
        pvDeleteGuide(ws, horizontal, GD_HORIZONTAL);
        break;
    case 2110:
        if (current) {
            if (vertical >= 0)
                pvSnapObjectToGuide(ws, current, vertical, GD_VERTICAL);
            else
                pvSnapObjectToGuide(ws, current, horizontal, GD_HORIZONTAL);
        }
        break;
    case 2112:
        pvDeleteAllGuides(ws);
        break;
    default:
        break;
    }
}
