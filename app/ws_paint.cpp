// Painting of a workspace window.
#include "app/ws_paint.h"
#include "support/app_ui_state.h"
#include "model/setup_record.h"
#include "app/ws_services.h"
#include "textedit/te_modes.h"
#include "table/tb_draw.h"
#include "textedit/te_display.h"
#include "controls/pal_window.h"
#include "model/fm_form.h"
#include "model/lay_layers.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/ob_shadow.h"
#include "model/pg_margins.h"
#include "model/pg_numbers.h"
#include "model/pg_page.h"
#include "model/pg_palette.h"
#include "model/pg_record.h"
#include "model/pg_render.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/gdi_track.h"
#include "support/ut_mem.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/prn_print.h"
#include "views/ws_tools.h"
#include "tools/cp_composite.h"
#include "tools/ep_rotate.h"
#include "views/ws_window.h"
#include "tools/ne_marks.h"
#include <string.h>
#include <vector>

namespace {

const int kFrameEdgePixels = 4;
const COLORREF kMarkColour = 0x0000FF;

void fillSolid(HDC dc, const RECT &r, COLORREF colour)
{
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush);
}

bool rectsMeet(const RECT &a, const RECT &b)
{
    RECT out;
    return IntersectRect(&out, &a, &b) != 0;
}

// The state a paint installs and, for a workspace that is not the active
// one, puts back: the drawing mapping, the shadow style, the layer state and
// the palette selected into the DC.
class PaintState {
public:
    PaintState(HDC dc, bool active) : dc_(dc), active_(active)
    {
        if (!active_)
            dmSaveState(&mapping_);
    }
    ~PaintState()
    {
        restorePage();
        if (!active_)
            dmRestoreState(&mapping_);
    }
    PaintState(const PaintState &) = delete;
    PaintState &operator=(const PaintState &) = delete;

    // Installs the page's shadow style and layer state, keeping the ones in
    // force.
    void installPage(MemHandle page)
    {
        ShadowStyle style = {};
        LayerState layers = {};
        {
            PgLock p(page);
            if (!p)
                return;
            memcpy(&style, p.data()->shadowStyle, sizeof(style));
            layers = p.data()->layers;
        }
        oldShadow_ = obSetShadowStyle(&style);
        laySwapState(&oldLayers_, &layers);
        installed_ = true;
    }
    // The palette: the colour palette window's for the active workspace,
    // else one made from the page's own record.
    void selectPalette(MemHandle page)
    {
        HPALETTE palette = nullptr;
        if (active_) {
            palette = clrGetPalette();
        } else {
            MemHandle block = 0;
            {
                PgLock p(page);
                if (p)
                    block = p.data()->paletteBlock;
            }
            palette = made_ = block ? pvCreatePagePalette(block) : nullptr;
        }
        if (palette) {
            oldPalette_ = SelectPalette(dc_, palette, FALSE);
            RealizePalette(dc_);
            selected_ = true;
        }
    }
    // For a workspace that is not the active one: the previous palette,
    // shadow style and layer state come back.
    void restorePage()
    {
        if (selected_) {
            SelectPalette(dc_, oldPalette_, FALSE);
            selected_ = false;
        }
        if (made_) {
            DeleteObject(made_);
            made_ = nullptr;
        }
        if (installed_ && !active_) {
            LayerState page;
            laySwapState(&page, &oldLayers_);
            obSetShadowStyle(&oldShadow_);
        }
        installed_ = false;
    }

private:
    HDC dc_;
    bool active_;
    ViewMapState mapping_ = {};
    bool installed_ = false;
    ShadowStyle oldShadow_ = {};
    LayerState oldLayers_ = {};
    HPALETTE made_ = nullptr;
    HPALETTE oldPalette_ = nullptr;
    bool selected_ = false;
};

// The hidden mark of the edited object, cleared again at the end.
class HiddenEdited {
public:
    explicit HiddenEdited(HWND ws) : object_(wsHideEditedObject(ws)) {}
    ~HiddenEdited()
    {
        if (object_)
            obTreeSetHidden(object_, FALSE);
    }
    HiddenEdited(const HiddenEdited &) = delete;
    HiddenEdited &operator=(const HiddenEdited &) = delete;
    MemHandle get() const { return object_; }

private:
    MemHandle object_;
};

bool isHiddenObject(MemHandle h)
{
    ObLock r(h);
    if (!r)
        return false;
    return (r->flags & OBF_HIDDEN) != 0 || layIsHidden(r->layer) != 0;
}

void outlineObject(HDC dc, MemHandle h)
{
    int16_t count = 0;
    MemHandle points = obGetOutline(h, &count);
    if (points && count > 1) {
        std::vector<POINT> pts;
        {
            MemLock<POINT> p(points);
            if (p) {
                const uint32_t held = utHandleSize(points) / sizeof(POINT);
                pts.assign(p.get(), p.get() + (count < (int)held ? count : held));
            }
        }
        utFreeHandle(points);
        if (pts.size() > 1) {
            Polygon(dc, pts.data(), (int)pts.size());
            return;
        }
    } else {
        utFreeHandle(points);
    }
    RECT r;
    obGetRect(h, &r);
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

// The neighbouring pages of the continuous view.
void drawNeighbours(HWND ws, HDC dc, const RECT &pageRect, int index, int count)
{
    if (wsGetScrollStyle(ws) != 2 || count < 2 || index < 0)
        return;
    RECT client;
    GetClientRect(ws, &client);
    dmDevToLogRect(&client);
    const int32_t gap = wsGetPageGap(ws);
    const BOOL menuPalette = appGetActiveWorkspace() == ws;
    if (index > 0 && client.top - gap < pageRect.top)
        pvDrawNeighbourPage(ws, dc, &client, index - 1, pageRect.top - gap, menuPalette);
    if (index < count - 1 && pageRect.bottom + gap < client.bottom)
        pvDrawPageOffset(ws, dc, &client, 0, index + 1, pageRect.bottom + gap, menuPalette);
}

}  // namespace

// ---- helpers of the painting ---------------------------------------------------------------

void wsFramePage(HDC dc, const RECT *pageRect)
{
    if (!dc || !pageRect)
        return;
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    GdiSelect selPen(dc, pen);
    GdiSelect selBrush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, pageRect->left, pageRect->top, pageRect->right, pageRect->bottom);
}

void pgDrawFrame(HDC dc, MemHandle page, COLORREF colour)
{
    if (!dc || !page)
        return;
    RECT r;
    pgGetPageRect(page, &r);
    const int32_t edgeX = dmDevToLogW(kFrameEdgePixels), edgeY = dmDevToLogH(kFrameEdgePixels);
    const int32_t pixelX = dmDevToLogW(1), pixelY = dmDevToLogH(1);
    RECT right = {r.right + pixelX, r.top + edgeY, r.right + pixelX + edgeX, r.bottom + pixelY + edgeY};
    RECT below = {r.left + edgeX, r.bottom + pixelY, r.right + pixelX + edgeX, r.bottom + pixelY + edgeY};
    fillSolid(dc, right, colour);
    fillSolid(dc, below, colour);
    wsFramePage(dc, &r);
}

int wsDrawGrid(HDC dc, const RECT *rect, int divisions, uint16_t viewFlags)
{
    if (!dc || !rect || !(viewFlags & (1 | 8)))
        return 0;
    if (viewFlags & 1)
        gdiDrawGridDots(dc, rect, divisions);
    else
        gdiDrawGridLines(dc, rect, divisions, kWsGridFine, kWsGridUnit);
    return 1;
}

void wsDrawHiddenOutlines(HDC dc, const RECT *clip, MemHandle first, MemHandle skip)
{
    if (!dc || !first)
        return;
    std::vector<MemHandle> objects;
    obCollectList(first, objects);
    GdiObject<HPEN> pen(CreatePen(PS_DOT, 1, kWsHiddenOutlineColour));
    GdiSelect selPen(dc, pen);
    GdiSelect selBrush(dc, GetStockObject(NULL_BRUSH));
    const int oldBk = SetBkMode(dc, TRANSPARENT);
    for (MemHandle h : objects) {
        if (h == skip || !isHiddenObject(h))
            continue;
        if (clip) {
            RECT r;
            obGetRect(h, &r);
            // A line has no width or no height: grow it by a pixel to test.
            InflateRect(&r, dmDevToLogW(1), dmDevToLogH(1));
            if (!rectsMeet(r, *clip))
                continue;
        }
        outlineObject(dc, h);
    }
    SetBkMode(dc, oldBk);
}

MemHandle wsHideEditedObject(HWND ws)
{
    switch (wsGetToolMode(ws)) {
    case TM_TEXT_A:
    case TM_TEXT:
    case TM_TABLE:
    case TM_NOTE:
        break;
    default:
        return 0;
    }
    // An object the user has hidden stays so: only a mark made here is
    // taken back after the drawing.
    MemHandle object = wsGetCurrentObject(ws);
    if (!object || obIsHidden(object))
        return 0;
    obTreeSetHidden(object, TRUE);
    return object;
}

void wsDrawMarkArea(HWND ws, HDC dc)
{
    RECT r;
    uint16_t shape = 0;
    if (!wsGetMarkArea(ws, &r, &shape) || r.right == r.left || r.bottom == r.top)
        return;
    if (shape != 0 && shape != 1)
        return;
    HDC own = nullptr;
    if (!dc) {
        own = wsGetDC(ws);
        if (!own)
            return;
        dc = own;
    }
    SetWindowOrgEx(dc, 0, 0, nullptr);
    {
        GdiObject<HPEN> pen(CreatePen(PS_DOT, 1, kMarkColour));
        GdiSelect selPen(dc, pen);
        const int oldRop = SetROP2(dc, R2_NOTXORPEN);
        if (shape == 0) {
            gdiLineXY(dc, r.left, r.top, r.right, r.top);
            gdiLineXY(dc, r.right, r.top, r.right, r.bottom);
            gdiLineXY(dc, r.right, r.bottom, r.left, r.bottom);
            gdiLineXY(dc, r.left, r.bottom, r.left, r.top);
        } else {
            Ellipse(dc, r.left, r.top, r.right, r.bottom);
        }
        SetROP2(dc, oldRop);
    }
    if (own)
        ReleaseDC(ws, own);
}

void wsDrawToolMarks(HWND ws, HDC dc, const PAINTSTRUCT *, const RECT *paintRect, uint16_t mode)
{
    MemHandle object = wsGetCurrentObject(ws);
    const int16_t type = wsGetCurrentType(ws);
    switch (mode) {
    case TM_SELECT:
        if (type == 60)
            wsDrawMarkArea(ws, dc);
        if (object)
            epDrawHandles(ws, dc, object);
        break;
    case 36:
        wsDrawMarkArea(ws, dc);
        if (object)
            epDrawHandles(ws, dc, object);
        break;
    case TM_MULTISELECT: msDrawMarks(ws, dc); break;
    case TM_CREATE:
        if (type == 14 || type == 15 || type == 17)
            epCreateDrawPolyMarks(ws, dc);
        else if (type == 18 || type == 19)
            epCreateDrawCurveMarks(ws, dc);
        break;
    case TM_TEXT_A: teDrawLabelFrame(ws, dc, paintRect); break;
    case TM_TEXT: tePaintText(ws, dc, paintRect); break;
    case TM_TABLE: tbDrawEditMode(ws, dc, paintRect); break;
    case TM_CUBE_DEPTH:
    case 24: epCubeDrawHandle(ws, dc, object); break;
    case TM_ARC: epArcDrawHandles(ws, dc, object); break;
    case TM_ROUND_RECT: epRoundRectDrawHandles(ws, dc, object); break;
    case TM_ROTATE: epDrawRotateState(dc); break;
    case TM_GRADIENT: epGradDrawHandles(ws, dc, object); break;
    case TM_COMPOSITE: cpDrawCentreHandle(dc); break;
    case TM_DIMENSION: epDimSpanDrawHandles(ws, dc, object); break;
    case TM_NODE:
    case TM_NODE_41:
    case TM_NODE_42:
    case TM_NODE_43:
        if (type == 18 || type == 19) {
            if (mode == TM_NODE_43)
                epCreateDrawCurveMarks(ws, dc);
            neDrawBezierMarks(ws, dc, object);
        } else {
            if (mode == TM_NODE_43)
                epCreateDrawPolyMarks(ws, dc);
            neDrawAllMarks(ws, dc, object);
        }
        if (mode == TM_NODE_42)
            epDrawRotateState(dc);
        break;
    case TM_BRUSH: epBrushDrawMarks(ws, dc); break;
    default: break;
    }
}

// ---- the paint -------------------------------------------------------------------------------

void wsPaintBody(HWND ws, HDC dc, const RECT *paint, BOOL printing)
{
    MemHandle form = wsGetDocument(ws);
    MemHandle page = pvGetCurrentPage(ws);
    if (!dc || !paint || !form || !page)
        return;
    const int count = pvGetPageCount(ws);
    const int index = pvGetCurrentPageIndex(ws);
    const uint16_t mode = wsGetToolMode(ws);
    const bool active = appGetActiveWorkspace() == ws;

    PaintState state(dc, active);
    wsApplyViewMapping(ws);
    dmSetMapping(dc);
    RECT clip = *paint;
    dmDevToLogRect(&clip);
    if (clip.right < clip.left)
        std::swap(clip.left, clip.right);
    if (clip.bottom < clip.top)
        std::swap(clip.top, clip.bottom);

    RECT pageRect = {};
    if (clip.right != clip.left && clip.bottom != clip.top) {
        pgGetPageRect(page, &pageRect);
        wsBeginWaitCursor(ws);
        const uint32_t viewWord = fmGetViewWord(form);
        const int divisions = wsGetRulerDivisions(ws);
        uint16_t viewFlags = 0;
        {
            FmLock r(form);
            if (r)
                viewFlags = r->viewFlags;
        }
        MemHandle base = fmGetBasePage(form);

        // The desk around the page, then the page's own background.
        fillSolid(dc, clip, setGetWorkspaceBkColor());
        pgDrawBackground(ws, dc, page, FALSE, printing);
        if (!(viewWord & 16))
            pgDrawFrame(dc, page, setGetWorkspaceFrameColor());
        const int grid = wsDrawGrid(dc, &clip, divisions, viewFlags);
        if (viewWord & (1 | 2))
            pgDrawGuides(dc, page, (viewWord & 1) != 0, (viewWord & 2) != 0);
        const int guides = pvDrawPageGuides(ws, dc, page, kWsGuideColour);
        if (grid || guides)
            wsFramePage(dc, &pageRect);
        if (base && page != base && pgShowsBasePage(page))
            pgRenderBasePage(ws, dc, form, &clip, page, FALSE, printing);

        state.installPage(page);
        state.selectPalette(page);
        pgDrawOwnObjects(dc, page);
        if (MemHandle first = pgGetFirstObject(page)) {
            HiddenEdited edited(ws);
            obDrawList(ws, dc, first, &clip);
            if (setGetOptionBits() & SETUP_OPT_HIGHLIGHT_HIDDEN)
                wsDrawHiddenOutlines(dc, &clip, first, edited.get());
        }
        if (index >= 0)
            pgDrawNumber(dc, form, page, index + 1, &clip);
        wsDrawToolMarks(ws, dc, nullptr, &clip, mode);
        state.restorePage();
    }
    if (!pageRect.bottom && !pageRect.right)
        pgGetPageRect(page, &pageRect);
    drawNeighbours(ws, dc, pageRect, index, count);
    if (clip.right != clip.left && clip.bottom != clip.top)
        wsEndWaitCursor(ws);
}

void wsOnPaint(HWND ws)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(ws, &ps);
    if (!dc)
        return;
    if (!pvGetCurrentPage(ws)) {
        // No page: the desk colour alone.
        fillSolid(dc, ps.rcPaint, setGetWorkspaceBkColor());
        EndPaint(ws, &ps);
        return;
    }
    if (wsGetToolMode(ws) == TM_PRINTING) {
        prnPaintWhilePrinting(ws);
        EndPaint(ws, &ps);
        return;
    }
    wsPaintBody(ws, dc, &ps.rcPaint, wsIsPrinting(ws));
    EndPaint(ws, &ps);
}
