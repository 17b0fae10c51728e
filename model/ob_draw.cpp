// Drawing objects, lists and trees; drawn and update rectangles; the DC
// routines of the type modules; objects fitted into and tiled across
// rectangles; the missing-picture placeholder.
#include "model/ob_draw.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_shadow.h"
#include "model/ob_types.h"
#include "model/lay_layers.h"
#include "model/ws_hidden_types.h"
#include "support/app_frame_globals.h"
#include "support/app_ui_font.h"
#include "model/setup_record.h"
#include "support/dm_map.h"
#include "support/gdi_bitmap.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include <math.h>
#include <string.h>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

// The state of the running pass.
struct DrawPass {
    HWND window;
    const uint16_t *hiddenTypes;   // borrowed from the view for the pass
    int32_t hiddenCount;
};
DrawPass g_pass = {nullptr, nullptr, 0};
BOOL g_leaveOut = FALSE;
// Half the width of a frame style's line; installed by the frames' module.
int32_t (*g_frameHalfWidth)(uint16_t frameStyle) = nullptr;

bool typeHiddenInPass(const ObjectRecord *rec)
{
    for (int32_t i = 0; i < g_pass.hiddenCount; ++i) {
        uint16_t code = g_pass.hiddenTypes[i];
        if (code == (uint16_t)rec->type)
            return true;
        if (code == kWsHiddenImageFiles) {
            const ObTypeProcs &p = obTypeProcs(rec->type);
            if (p.showsPictureFile && p.showsPictureFile(rec))
                return true;
        }
    }
    return false;
}

// A group or chain left out with its whole member tree.
bool closedOwner(const ObjectRecord *rec)
{
    if (rec->type != OBT_GROUP && rec->type != OBT_CHAIN)
        return false;
    return layIsHidden(rec->layer) || (g_leaveOut && (rec->flags & OBF_LEAVE_OUT));
}

// The trees at the given roots in walk order (an object, its first
// member's tree, its next member's tree), with each object's own run: the
// object and its member tree are nodes[i .. i + run[i]). False when the
// links do not form trees (an object met twice, the walk cut short); the
// nodes are then listed but the runs are not known.
struct TreeWalk {
    std::vector<MemHandle> nodes;
    std::vector<uint32_t> run;
    std::vector<int64_t> firstAt, nextAt;   // index of the first and next member, -1 for none
};

bool walkTrees(std::initializer_list<MemHandle> roots, TreeWalk &w)
{
    bool whole = true;
    for (MemHandle root : roots)
        whole = obCollectTree(root, OB_WALK_MEMBERS, w.nodes) && whole;
    const size_t n = w.nodes.size();
    if (!whole)
        return false;
    if (n <= 1) {
        // One object: a link of its own to itself would have listed it twice.
        w.run.assign(n, 1);
        w.firstAt.assign(n, -1);
        w.nextAt.assign(n, -1);
        return true;
    }
    std::unordered_map<MemHandle, int64_t> at;
    at.reserve(n);
    for (size_t i = 0; i < n; ++i)
        if (!at.emplace(w.nodes[i], (int64_t)i).second)
            return false;
    auto indexOf = [&](MemHandle h) -> int64_t {
        auto f = h ? at.find(h) : at.end();
        return f == at.end() ? -1 : f->second;
    };
    w.firstAt.assign(n, -1);
    w.nextAt.assign(n, -1);
    for (size_t i = 0; i < n; ++i) {
        ObLock r(w.nodes[i]);
        if (!r)
            continue;
        w.firstAt[i] = indexOf(r->firstMember);
        w.nextAt[i] = indexOf(r->nextMember);
        // The walk lists every member after its owner and elder sibling.
        if ((w.firstAt[i] >= 0 && w.firstAt[i] <= (int64_t)i) ||
            (w.nextAt[i] >= 0 && w.nextAt[i] <= (int64_t)i))
            return false;
    }
    // A run is the object and the runs of its member chain; a chain's
    // length is its first run and the rest of the chain.
    std::vector<uint32_t> chain(n, 0);
    w.run.assign(n, 1);
    for (size_t k = n; k-- > 0;) {
        w.run[k] = 1 + (w.firstAt[k] >= 0 ? chain[(size_t)w.firstAt[k]] : 0);
        chain[k] = w.run[k] + (w.nextAt[k] >= 0 ? chain[(size_t)w.nextAt[k]] : 0);
        if (k + w.run[k] > n)
            return false;
    }
    return true;
}

// The rectangle an object repaints in, and the one its whole member tree
// repaints in, for every node of a walk whose runs are known.
void treeExtents(HDC dc, const TreeWalk &w, std::vector<RECT> &own, std::vector<RECT> &tree)
{
    const size_t n = w.nodes.size();
    own.assign(n, RECT{0, 0, 0, 0});
    tree.assign(n, RECT{0, 0, 0, 0});
    // The chain from each node along its next members, and which of the
    // rectangles are known (an object whose record cannot be read has none).
    std::vector<RECT> chain(n);
    std::vector<char> known(n, 0), chainKnown(n, 0);
    auto widen = [](RECT &r, char &rKnown, const RECT &by) {
        if (rKnown)
            geoUnionRect(&r, &r, &by);
        else
            r = by;
        rKnown = 1;
    };
    for (size_t k = n; k-- > 0;) {
        known[k] = obCalcUpdateRect(dc, w.nodes[k], &own[k]) ? 1 : 0;
        tree[k] = own[k];
        const int64_t first = w.firstAt[k], next = w.nextAt[k];
        if (first >= 0 && chainKnown[(size_t)first])
            widen(tree[k], known[k], chain[(size_t)first]);
        chain[k] = tree[k];
        chainKnown[k] = known[k];
        if (next >= 0 && chainKnown[(size_t)next])
            widen(chain[k], chainKnown[k], chain[(size_t)next]);
    }
}

// Draws the trees at the given roots in walk order, each object by the
// one-record rules, leaving out closed owners' member trees. With a clip
// rectangle (logical units), objects are tested against it as a list's
// top level is: a tree whose repainted rectangle misses it is passed over
// whole, and an object that misses it is not drawn while its members are
// still tested.
void drawTrees(HDC dc, std::initializer_list<MemHandle> roots, const RECT *clip = nullptr)
{
    TreeWalk w;
    const bool runs = walkTrees(roots, w);
    const std::vector<MemHandle> &nodes = w.nodes;
    if (runs) {
        std::vector<RECT> own, tree;
        if (clip && nodes.size() == 1) {
            // A lone object: its own rectangle is its tree's.
            own.assign(1, RECT{0, 0, 0, 0});
            if (!obCalcUpdateRect(dc, nodes[0], &own[0]))
                return;
            tree = own;
        } else if (clip) {
            treeExtents(dc, w, own, tree);
        }
        for (size_t i = 0; i < nodes.size();) {
            ObLock r(nodes[i]);
            if (!r) {
                ++i;
                continue;
            }
            if (closedOwner(r.get()) || (clip && !geoRectsIntersect(&tree[i], clip))) {
                i += w.run[i];
                continue;
            }
            if (!clip || geoRectsIntersect(&own[i], clip))
                obRecDraw(dc, r.get());
            ++i;
        }
        return;
    }
    // Links that do not form trees: every object met is drawn once, when
    // its own rectangle meets the clip.
    std::unordered_set<MemHandle> skip;
    for (MemHandle n : nodes) {
        if (!skip.insert(n).second)
            continue;
        ObLock r(n);
        if (!r)
            continue;
        if (closedOwner(r.get())) {
            std::vector<MemHandle> members;
            obCollectTree(r->firstMember, OB_WALK_MEMBERS, members);
            skip.insert(members.begin(), members.end());
            continue;
        }
        RECT u;
        if (!clip || (obCalcUpdateRect(dc, n, &u) && geoRectsIntersect(&u, clip)))
            obRecDraw(dc, r.get());
    }
}

bool castsNoShadow(const ObjectRecord *rec)
{
    switch (rec->type) {
    case 40: case 43: case 45: case 54: case 55: case 60: case 78: case 80: case 84: case 1000:
    case 1006:
        return true;
    case 41: case 42: case 51: case 124: case 138:
        return rec->fillKind != 0;   // a filled field hides its own shadow
    default:
        return false;
    }
}

// The shadow: the record drawn once in the shadow colour, solid, moved by
// the offset; its head is put back byte for byte.
void drawShadow(HDC dc, ObjectRecord *rec)
{
    if (castsNoShadow(rec))
        return;
    int32_t dx, dy;
    obGetShadowOffset(&dx, &dy);
    COLORREF colour = obGetShadowColour();
    const ObTypeProcs &p = obTypeProcs(rec->type);
    if (p.shadow) {
        p.shadow(dc, rec, colour, dx, dy);
        return;
    }
    ObjectRecord saved;
    memcpy(&saved, rec, sizeof saved);
    rec->penColour = rec->fillColour = rec->backColour = colour;
    if (rec->fillKind)
        rec->fillKind = 1;
    rec->flags &= ~(OBF_SHADOW | OBF_ALL_CHORDS);
    obRecAddToCentre(rec, dx, dy);
    obRecDraw(dc, rec);
    memcpy(rec, &saved, sizeof saved);
}

// A u16 of the type data at `offset`; false beyond the record.
bool dataWord(const ObjectRecord *rec, uint32_t offset, uint16_t *v)
{
    uint32_t at = obDataOffset(rec) + offset;
    if ((uint64_t)at + 2 > rec->length)
        return false;
    memcpy(v, reinterpret_cast<const uint8_t *>(rec) + at, 2);
    return true;
}

bool outlinedByPen(int16_t t)
{
    switch (t) {
    case 2: case 4: case 5: case 14: case 17: case 18:
    case 6: case 7: case 8: case 9: case 10: case 11: case 12: case 13: case 15: case 19:
        return true;
    default:
        return false;
    }
}

// The label drawn with a field: the name of a named entry, list or
// equation field or counter, the caption of an entry reference that shows
// one. False when there is none.
bool labelText(const ObLock &r, char *text, uint32_t size)
{
    text[0] = 0;
    const ObTypeProcs &p = obTypeProcs(r->type);
    if (p.caption) {
        uint32_t at = obDataOffset(r.get());
        uint32_t extent = r.extent();
        return at <= extent && p.caption(obRecData(r.get()), extent - at, text, size);
    }
    switch (r->type) {
    case OBT_ENTRY: case OBT_LIST_FIELD: case OBT_EQUATION: case OBT_COUNTER:
        if (!r->nameLength || kObHeadSize + r->nameLength > r.extent())
            return false;
        utStrCopyN(text, reinterpret_cast<const char *>(r.get()) + kObHeadSize,
                   std::min<uint32_t>(size, r->nameLength));
        return text[0] != 0;
    default:
        return false;
    }
}

// The text's extent in the interface font, in logical units. The font is
// made for the screen, so the text is measured in device pixels (the DC's
// mapping set aside) and converted.
SIZE uiTextExtent(HDC dc, const char *text)
{
    SIZE px = {0, 0};
    HWND owner = nullptr;
    HDC use = dc;
    if (!use) {
        owner = appGetFrameWindow();
        use = GetDC(owner);
    }
    if (!use)
        return px;
    int saved = SaveDC(use);
    SetMapMode(use, MM_TEXT);
    {
        GdiObject<HFONT> font(appCreateUiFont());
        GdiSelect select(use, font);
        GetTextExtentPoint32A(use, text, (int)strlen(text), &px);
    }
    RestoreDC(use, saved);
    if (!dc)
        ReleaseDC(owner, use);
    return SIZE{dmDevToLogW(px.cx), dmDevToLogH(px.cy)};
}

bool isNamedFieldBox(const ObjectRecord *rec)
{
    switch (rec->type) {
    case OBT_ENTRY: case OBT_LIST_FIELD: case OBT_EQUATION: case OBT_COUNTER:
        return rec->nameLength != 0;
    default:
        return false;
    }
}

}  // namespace

// ---- drawing -------------------------------------------------------------------------------

void obRecDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    if (g_pass.hiddenCount && typeHiddenInPass(rec))
        return;
    if ((rec->flags & OBF_HIDDEN) || layIsHidden(rec->layer))
        return;
    if (g_leaveOut && (rec->flags & OBF_LEAVE_OUT))
        return;
    if (rec->flags & OBF_SHADOW)
        drawShadow(dc, rec);
    objDraw(dc, rec);
}

void obRecDrawTree(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    if (closedOwner(rec)) {
        drawTrees(dc, {rec->nextMember});
        return;
    }
    obRecDraw(dc, rec);
    drawTrees(dc, {rec->firstMember, rec->nextMember});
}

void obDraw(HDC dc, MemHandle h)
{
    ObLock r(h);
    if (r)
        obRecDrawTree(dc, r.get());
}

void obDrawList(HWND window, HDC dc, MemHandle first, const RECT *clip)
{
    if (!dc)
        return;
    DrawPass outer = g_pass;
    g_pass.window = window;
    g_pass.hiddenTypes = window ? wsLockHiddenTypes(window, &g_pass.hiddenCount) : nullptr;
    if (!g_pass.hiddenTypes)
        g_pass.hiddenCount = 0;
    std::vector<MemHandle> list;
    obCollectList(first, list);
    for (MemHandle h : list)
        drawTrees(dc, {h}, clip);
    if (g_pass.hiddenTypes)
        wsUnlockHiddenTypes(window);
    g_pass = outer;
}

HWND obGetDrawWindow() { return g_pass.window; }
void obSetLeaveOutMode(BOOL on) { g_leaveOut = on ? TRUE : FALSE; }
BOOL obGetLeaveOutMode() { return g_leaveOut; }

void obDrawInRect(HDC dc, MemHandle h, const RECT *deviceRect, int32_t, BOOL fit)
{
    if (!dc || !h)
        return;
    if (!fit || !deviceRect) {
        obDraw(dc, h);
        return;
    }
    RECT drawn;
    if (!obGetDrawnRect(h, &drawn))
        return;
    int32_t tw = dmDevToLogW(deviceRect->right - deviceRect->left);
    int32_t th = dmDevToLogH(deviceRect->bottom - deviceRect->top);
    int32_t dw = drawn.right - drawn.left, dh = drawn.bottom - drawn.top;
    double s = 1.0;
    if (dw > 0)
        s = std::min(s, (double)tw / dw);
    if (dh > 0)
        s = std::min(s, (double)th / dh);
    s = std::max(s, 0.0);
    int32_t zx, zy;
    dmGetZoomedDpi(&zx, &zy);
    SIZE ext = {std::max(1, geoRound(zx * s)), std::max(1, geoRound(zy * s))};
    SIZE oldExt, winExt;
    POINT oldOrg, winOrg;
    GetViewportExtEx(dc, &oldExt);
    GetViewportOrgEx(dc, &oldOrg);
    GetWindowExtEx(dc, &winExt);
    GetWindowOrgEx(dc, &winOrg);
    if (!winExt.cx || !winExt.cy)
        return;
    // The drawn rectangle's centre lands on the device rectangle's centre.
    POINT c;
    geoRectCentre(&drawn, &c);
    int32_t devX = (int32_t)(((int64_t)deviceRect->left + deviceRect->right) / 2);
    int32_t devY = (int32_t)(((int64_t)deviceRect->top + deviceRect->bottom) / 2);
    SetViewportExtEx(dc, ext.cx, ext.cy, nullptr);
    SetViewportOrgEx(dc, devX - MulDiv(c.x - winOrg.x, ext.cx, winExt.cx),
                     devY - MulDiv(c.y - winOrg.y, ext.cy, winExt.cy), nullptr);
    obDraw(dc, h);
    SetViewportExtEx(dc, oldExt.cx, oldExt.cy, nullptr);
    SetViewportOrgEx(dc, oldOrg.x, oldOrg.y, nullptr);
}

namespace {

// The copies of a strip of tiles along one axis that can show: the strip
// starts at `from` and repeats every `step` units (each copy spanning
// `step` units and drawing `before` units before and `after` units past
// it) while below `to`; only those meeting [clipFrom, clipTo) are wanted,
// and no two closer than `minStep` (the size of a device pixel), since
// copies closer than a pixel add nothing to what is seen. Calls draw(at)
// for each; the work is bounded by the clip, never by the strip's length.
template <typename Draw>
void tileStrip(int64_t from, int64_t to, int64_t step, int64_t before, int64_t after,
               int64_t clipFrom, int64_t clipTo, double minStep, Draw draw)
{
    if (step <= 0 || from >= to)
        return;
    int64_t every = std::max<int64_t>(1, (int64_t)ceil(minStep / (double)step));
    // First index whose copy reaches past clipFrom, last one starting
    // before clipTo (one more each way, for rounding).
    int64_t first = (clipFrom - after - step - from) / step - 1;
    int64_t last = (clipTo + before - from) / step + 1;
    int64_t count = (to - from + step - 1) / step;
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, count - 1);
    first -= first % every;
    for (int64_t i = first; i <= last; i += every) {
        int64_t at = from + i * step;
        if (at + step + after > clipFrom && at - before < clipTo)
            draw(at);
    }
}

}  // namespace

void obDrawTiled(HDC dc, MemHandle h, const RECT *rect, uint16_t placement)
{
    if (!dc || !rect || !ObLock(h))
        return;
    RECT box;
    obGetRect(h, &box);
    int64_t w = (int64_t)box.right - box.left, ht = (int64_t)box.bottom - box.top;
    if (w <= 0 || ht <= 0)
        return;   // an empty box would repeat for ever
    // What a copy draws around its box (pen, shadow), and the part of the
    // device that can show anything.
    RECT drawn;
    obGetDrawnRect(h, &drawn);
    int64_t outL = std::max<int64_t>(0, (int64_t)box.left - drawn.left);
    int64_t outT = std::max<int64_t>(0, (int64_t)box.top - drawn.top);
    int64_t outR = std::max<int64_t>(0, (int64_t)drawn.right - box.right);
    int64_t outB = std::max<int64_t>(0, (int64_t)drawn.bottom - box.bottom);
    RECT clip;
    if (GetClipBox(dc, &clip) == NULLREGION)
        return;
    if (GetClipBox(dc, &clip) == ERROR)
        clip = *rect;
    POINT unit[2] = {{0, 0}, {1024, 1024}};
    double pixelW = 0, pixelH = 0;
    if (DPtoLP(dc, unit, 2)) {
        pixelW = fabs((double)unit[1].x - unit[0].x) / 1024.0;
        pixelH = fabs((double)unit[1].y - unit[0].y) / 1024.0;
    }
    POINT home = {box.left, box.top};
    auto copyAt = [&](int64_t x, int64_t y) {
        obMoveTopLeftTo(h, POINT{(LONG)x, (LONG)y});
        obDraw(dc, h);
    };
    const int64_t left = rect->left, right = rect->right, top = rect->top, bottom = rect->bottom;
    auto meetsX = [&](int64_t x) { return x + w + outR > clip.left && x - outL < clip.right; };
    auto meetsY = [&](int64_t y) { return y + ht + outB > clip.top && y - outT < clip.bottom; };
    auto column = [&](int64_t x) {
        if (meetsX(x))
            tileStrip(top, bottom, ht, outT, outB, clip.top, clip.bottom, pixelH,
                      [&](int64_t y) { copyAt(x, y); });
    };
    auto row = [&](int64_t y) {
        if (meetsY(y))
            tileStrip(left, right, w, outL, outR, clip.left, clip.right, pixelW,
                      [&](int64_t x) { copyAt(x, y); });
    };
    int64_t midX = (left + right) / 2 - w / 2;
    int64_t midY = (top + bottom) / 2 - ht / 2;
    if (placement == 0)
        tileStrip(top, bottom, ht, outT, outB, clip.top, clip.bottom, pixelH, row);
    if (placement & OB_TILE_LEFT)
        column(left);
    if (placement & OB_TILE_HCENTRE)
        column(midX);
    if (placement & OB_TILE_RIGHT)
        column(right - w);
    if ((placement & OB_TILE_CENTRE) && meetsX(midX) && meetsY(midY))
        copyAt(midX, midY);
    if (placement & OB_TILE_TOP)
        row(top);
    if (placement & OB_TILE_VCENTRE)
        row(midY);
    if (placement & OB_TILE_BOTTOM)
        row(bottom - ht);
    obMoveTopLeftTo(h, home);
}

void obDrawMissingImage(HINSTANCE instance, HDC dc, const RECT *rect)
{
    if (!dc || !rect)
        return;
    {
        GdiObject<HPEN> pen(CreatePen(PS_DOT, 1, 0x808080));
        GdiSelect selPen(dc, pen);
        GdiSelect selBrush(dc, GetStockObject(WHITE_BRUSH));
        gdiRectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
    }
    // The bitmap keeps its own pixel size: it is placed on the device.
    POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    LPtoDP(dc, corners, 2);
    RECT dev;
    geoRectFromPoints(corners[0], corners[1], &dev);
    int saved = SaveDC(dc);
    SetMapMode(dc, MM_TEXT);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    IntersectClipRect(dc, dev.left, dev.top, dev.right, dev.bottom);
    gdiDrawResBitmapFrom(instance, dc, "missingbmp", dev.left, dev.top, dev.right - dev.left,
                         dev.bottom - dev.top, GDI_ALIGN_CENTRE, SRCCOPY);
    RestoreDC(dc, saved);
}

// ---- routines of the type modules ----------------------------------------------------------

void obSetDCModes(HDC dc, const ObjectRecord *rec, ObDCModes *saved)
{
    if (!dc || !rec || !saved)
        return;
    saved->rop = (rec->flags & OBF_NOTXOR) ? SetROP2(dc, R2_NOTXORPEN) : GetROP2(dc);
    saved->bkMode = SetBkMode(dc, OPAQUE);
    saved->bkColour = SetBkColor(dc, rec->backColour);
}

void obRestoreDCModes(HDC dc, const ObDCModes *saved)
{
    if (!dc || !saved)
        return;
    SetROP2(dc, saved->rop);
    SetBkMode(dc, saved->bkMode);
    SetBkColor(dc, saved->bkColour);
}

void obSetPatternOrigin(HDC dc, const ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    RECT box;
    obRecGetRect(rec, &box);
    POINT p = {box.left, box.top};
    LPtoDP(dc, &p, 1);
    SetBrushOrgEx(dc, ((p.x % 8) + 8) % 8, ((p.y % 8) + 8) % 8, nullptr);
}

void obFillPolygonBack(HDC dc, const ObjectRecord *rec, const POINT *pts, int16_t n)
{
    if (!dc || !rec || !pts || n < 2)
        return;
    GdiObject<HBRUSH> brush(CreateSolidBrush(rec->backColour));
    GdiSelect selBrush(dc, brush);
    GdiSelect selPen(dc, GetStockObject(NULL_PEN));
    gdiPolygon(dc, pts, n);
}

void obFramePolygon(HDC dc, const ObjectRecord *rec, const POINT *pts, int16_t n)
{
    if (!dc || !rec || !pts || n < 2)
        return;
    GdiObject<HPEN> pen(
        CreatePen(gdiLineStylePen(rec->lineStyle), obGetDrawnPenWidth(rec), rec->penColour));
    GdiSelect selPen(dc, pen);
    GdiSelect selBrush(dc, GetStockObject(NULL_BRUSH));
    gdiPolygon(dc, pts, n);
}

// ---- covered and repainted rectangles ---------------------------------------------------------

void obRecGetDrawnRect(const ObjectRecord *rec, RECT *r)
{
    if (!r)
        return;
    if (!rec) {
        geoSetRect(r, 0, 0, 0, 0);
        return;
    }
    const ObTypeProcs &p = obTypeProcs(rec->type);
    if (p.drawnRect) {
        p.drawnRect(rec, r);
    } else {
        obRecGetRect(rec, r);
        int32_t w = 0;
        uint16_t frame;
        if (outlinedByPen(rec->type))
            w = ((int32_t)rec->penWidth + 1) / 2;
        else if ((p.flags & OBTF_FRAMED) && g_frameHalfWidth &&
                 dataWord(rec, p.frameWordAt, &frame))
            w = g_frameHalfWidth(frame);
        geoInflateRect(r, w, w);
    }
    // The shadow is part of what is drawn, so of what must be repainted.
    if (rec->flags & OBF_SHADOW)
        obAddShadowToRect(r);
    RECT ends;
    if (p.lineEnds && p.lineEnds(rec, &ends))
        geoUnionRect(r, r, &ends);
}

void obSetFrameWidthHook(int32_t (*halfWidth)(uint16_t frameStyle))
{
    g_frameHalfWidth = halfWidth;
}

BOOL obGetDrawnRect(MemHandle h, RECT *r)
{
    ObLock rec(h);
    if (!rec) {
        geoSetRect(r, 0, 0, 0, 0);
        return FALSE;
    }
    obRecGetDrawnRect(rec.get(), r);
    return TRUE;
}

BOOL obCalcUpdateRect(HDC dc, MemHandle h, RECT *r)
{
    if (!r)
        return FALSE;
    char label[64];
    bool hasLabel;
    int16_t type;
    {
        ObLock rec(h);
        if (!rec) {
            geoSetRect(r, 0, 0, 0, 0);
            return FALSE;
        }
        type = rec->type;
        obRecGetDrawnRect(rec.get(), r);
        hasLabel = labelText(rec, label, sizeof label);
    }
    int32_t hx, hy;
    dmGetHandleSize(&hx, &hy);
    geoInflateRect(r, hx, hy);
    r->left -= dmGetPixelWidth();
    r->bottom += dmGetPixelHeight();
    r->right += 2 * dmGetPixelWidth();
    switch (type) {
    case OBT_BUTTON: case OBT_CHECKBOX: case OBT_RADIO: case OBT_GROUP_BOX:
        return TRUE;
    default:
        break;
    }
    if (hasLabel) {
        RECT box;
        obGetRect(h, &box);
        SIZE ext = uiTextExtent(dc, label);
        RECT tag = {box.left, box.top - ext.cy, box.left + ext.cx, box.top};
        geoUnionRect(r, r, &tag);
    }
    return TRUE;
}

BOOL obGetUpdateRect(MemHandle h, RECT *r) { return obCalcUpdateRect(nullptr, h, r); }

void obInvalidateEx(HWND window, MemHandle h, BOOL erase)
{
    RECT r;
    if (!window || !obGetUpdateRect(h, &r))
        return;
    if (setGetOptionBit1()) {
        std::vector<MemHandle> nodes;
        obCollectTree(h, OB_WALK_ALL, nodes);
        for (MemHandle n : nodes) {
            ObLock rec(n);
            if (rec && isNamedFieldBox(rec.get())) {
                RECT box;
                obRecGetRect(rec.get(), &box);
                geoUnionRect(&r, &r, &box);
            }
        }
    }
    dmInvalidateLogRect(window, &r, erase);
}

void obInvalidate(HWND window, MemHandle h) { obInvalidateEx(window, h, TRUE); }

void obRedraw(HWND window, MemHandle h)
{
    obInvalidateEx(window, h, FALSE);
    if (window)
        UpdateWindow(window);
}

void obInvalidateList(HWND window, MemHandle first, BOOL erase)
{
    std::vector<MemHandle> list;
    obCollectList(first, list);
    for (MemHandle h : list)
        obInvalidateEx(window, h, erase);
}
