// Page rendering and the page background record.
#include "model/pg_render.h"
#include "model/fm_form.h"
#include "model/lay_layers.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/ob_shadow.h"
#include "model/pg_margins.h"
#include "model/pg_numbers.h"
#include "model/pg_page.h"
#include "model/pg_palette.h"
#include "model/pg_record.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

// Base-page objects with this flag are mirrored on mirrored pages.
const uint32_t kObMirrorOnFacing = 0x80000;
const COLORREF kWhite = 0xFFFFFF;

// The name of a valid record as text.
std::string backgroundName(const uint8_t *bytes)
{
    const PageBackground *bg = reinterpret_cast<const PageBackground *>(bytes);
    const char *name = reinterpret_cast<const char *>(bytes + sizeof(PageBackground));
    return std::string(name, strnlen(name, bg->nameBytes));
}

// What a page hands the renderer, read once so that nothing stays locked
// while its objects draw.
struct PageParts {
    ShadowStyle shadow;
    LayerState layers;
    MemHandle palette;
    MemHandle firstObject;
    uint16_t pageIndex;
};

bool readParts(MemHandle page, PageParts *parts)
{
    PgLock p(page);
    if (!p)
        return false;
    memcpy(&parts->shadow, p.data()->shadowStyle, sizeof(parts->shadow));
    parts->layers = p.data()->layers;
    parts->palette = p.data()->paletteBlock;
    parts->firstObject = p.data()->firstObject;
    parts->pageIndex = p.data()->pageIndex;
    return true;
}

// The frame of a drawing pass over one page: its shadow style, layer state
// and palette installed, the previous ones put back at the end.
class PageFrame {
public:
    PageFrame(HDC dc, const PageParts &parts, BOOL printing) : dc_(dc), printing_(printing)
    {
        ShadowStyle style = parts.shadow;   // a copy: drawing leaves the page as it is
        oldShadow_ = obSetShadowStyle(&style);
        laySwapState(&oldLayers_, &parts.layers);
        if (parts.palette && (palette_ = pvCreatePagePalette(parts.palette)) != nullptr) {
            oldPalette_ = SelectPalette(dc, palette_, FALSE);
            RealizePalette(dc);
        }
        if (printing_) {
            oldLeaveOut_ = obGetLeaveOutMode();
            obSetLeaveOutMode(TRUE);
        }
    }
    ~PageFrame()
    {
        if (printing_)
            obSetLeaveOutMode(oldLeaveOut_);
        if (palette_) {
            SelectPalette(dc_, oldPalette_, FALSE);
            DeleteObject(palette_);
        }
        LayerState page;
        laySwapState(&page, &oldLayers_);
        obSetShadowStyle(&oldShadow_);
    }
    PageFrame(const PageFrame &) = delete;
    PageFrame &operator=(const PageFrame &) = delete;

private:
    HDC dc_;
    BOOL printing_;
    ShadowStyle oldShadow_;
    LayerState oldLayers_;
    HPALETTE palette_ = nullptr;
    HPALETTE oldPalette_ = nullptr;
    BOOL oldLeaveOut_ = FALSE;
};

void fillRect(HDC dc, const RECT &r, COLORREF colour)
{
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush);
}

void frameRect(HDC dc, const RECT &r)
{
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 0, RGB(0, 0, 0)));
    GdiSelect selPen(dc, pen);
    GdiSelect selBrush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

// Loads a picture file named by a background record into a temporary
// object; installed by the links module.
MemHandle (*g_pictureLoader)(HWND workspace, const char *name) = nullptr;

// The top-level objects of a list that carry the mirror flag, mirrored
// about the page width: centre x becomes right - x. Mirroring twice puts
// them back.
void mirrorFlagged(MemHandle first, int32_t right)
{
    std::vector<std::pair<MemHandle, int32_t>> moves;
    for (MemHandle h = first; h;) {
        ObLock r(h);
        if (!r)
            break;
        if (r->flags & kObMirrorOnFacing)
            moves.push_back({h, right - 2 * r->centreX});
        h = r->next;
    }
    for (auto &m : moves)
        obMoveBy(m.first, m.second, 0);
}

// The first object of a page's list with the name (case ignored, unnamed
// objects skipped). The page being drawn is searched, which need not be
// the workspace's current page (a printed or neighbouring page).
MemHandle findNamed(MemHandle first, const char *name)
{
    std::vector<MemHandle> objects;
    obCollectList(first, objects);
    char own[kObMaxNameBytes];
    for (MemHandle h : objects) {
        obGetName(h, own);
        if (own[0] && lstrcmpiA(own, name) == 0)
            return h;
    }
    return 0;
}

}  // namespace

// ---- the background record ------------------------------------------------------------------

int pgIsValidBackground(const void *bytes, uint32_t size)
{
    if (!bytes || size < sizeof(PageBackground))
        return 0;
    PageBackground bg;
    memcpy(&bg, bytes, sizeof bg);
    if (bg.id != PG_BACKGROUND_ID || bg.nameBytes > kPgBackgroundMaxName)
        return 0;
    uint32_t whole = (uint32_t)sizeof(PageBackground) + bg.nameBytes;
    return whole <= size && bg.length == whole ? 1 : 0;
}

MemHandle pgNewBackground(uint16_t kind, uint16_t tiling, uint16_t spare, const char *name,
                          uint32_t n)
{
    if (n > kPgBackgroundMaxName)
        return 0;
    uint32_t size = (uint32_t)sizeof(PageBackground) + n;
    MemHandle h = utAllocHandle(0, size);
    MemLock<uint8_t> p(h);
    if (!p)
        return 0;
    PageBackground bg = {};
    bg.length = size;
    bg.id = PG_BACKGROUND_ID;
    bg.kind = kind;
    bg.tiling = tiling;
    bg.spare = spare;
    bg.nameBytes = n;
    memcpy(p.get(), &bg, sizeof bg);
    if (name)
        memcpy(p.get() + sizeof bg, name, strnlen(name, n));
    return h;
}

int pgGetBackgroundName(MemHandle record, char *buffer, int size)
{
    if (buffer && size > 0)
        buffer[0] = 0;
    MemLock<uint8_t> p(record);
    if (!p || !pgIsValidBackground(p.get(), utHandleSize(record)))
        return 0;
    std::string name = backgroundName(p.get());
    if (buffer && size > 0) {
        size_t n = std::min(name.size(), (size_t)size - 1);
        memcpy(buffer, name.data(), n);
        buffer[n] = 0;
    }
    return (int)name.size();
}

MemHandle pgGetBackgroundFile(MemHandle record)
{
    MemLock<uint8_t> p(record);
    if (!p || !pgIsValidBackground(p.get(), utHandleSize(record)))
        return 0;
    if (reinterpret_cast<const PageBackground *>(p.get())->kind != PG_BACKGROUND_PICTURE)
        return 0;
    std::string name = backgroundName(p.get());
    return name.empty() ? 0 : utHandleFromString(name.c_str());
}

MemHandle pgGetBackground(MemHandle page)
{
    PgLock p(page);
    int length = 0;
    const uint8_t *data = p ? p.findAttr(PGA_BACKGROUND, &length) : nullptr;
    if (!data || length < 0 || !pgIsValidBackground(data, (uint32_t)length))
        return 0;
    return utHandleFromBytes(data, reinterpret_cast<const PageBackground *>(data)->length);
}

MemHandle pgSetBackground(MemHandle page, MemHandle record)
{
    if (!record)
        return pgSetAttr(page, PGA_BACKGROUND, nullptr, 0);
    std::vector<uint8_t> bytes;
    {
        MemLock<uint8_t> p(record);
        if (!p || !pgIsValidBackground(p.get(), utHandleSize(record)))
            return 0;
        uint32_t length = reinterpret_cast<const PageBackground *>(p.get())->length;
        bytes.assign(p.get(), p.get() + length);
    }
    return pgSetAttr(page, PGA_BACKGROUND, bytes.data(), (int)bytes.size());
}

// ---- drawing ----------------------------------------------------------------------------------

void pgSetPictureLoader(MemHandle (*loader)(HWND workspace, const char *name))
{
    g_pictureLoader = loader;
}

int pgDrawBackground(HWND workspace, HDC dc, MemHandle page, BOOL skipWhite, BOOL printing)
{
    if (!dc || !PgLock(page))
        return 0;
    PageBackground bg = {};
    std::string name;
    bool hasRecord = false;
    if (MemHandle record = pgGetBackground(page)) {
        {
            MemLock<uint8_t> p(record);
            memcpy(&bg, p.get(), sizeof bg);
            name = backgroundName(p.get());
        }
        hasRecord = true;
        utFreeHandle(record);
    }

    // The object: a picture loaded for this drawing, or the page's own
    // object of that name. A picture that cannot be loaded leaves the
    // record as it is: the page colour stands in for it.
    MemHandle object = 0;
    bool temporary = false;
    if (hasRecord && !name.empty()) {
        if (bg.kind == PG_BACKGROUND_PICTURE) {
            object = g_pictureLoader ? g_pictureLoader(workspace, name.c_str()) : 0;
            temporary = object != 0;
        } else if (bg.kind == PG_BACKGROUND_OBJECT) {
            object = findNamed(pgGetFirstObject(page), name.c_str());
        }
    }

    int drawn = 0;
    RECT pageRect;
    pgGetPageRect(page, &pageRect);
    if (!hasRecord || bg.tiling != 0 || !object) {
        COLORREF colour = pgGetColour(page);
        if (!((printing || skipWhite) && colour == kWhite)) {
            fillRect(dc, pageRect, colour);
            drawn = 1;
        }
    }
    if (object) {
        RECT area = pageRect;
        switch (bg.area) {
        case PG_BGAREA_INSET: pgGetInsetRect(page, &area); break;
        case PG_BGAREA_MARGINS: pgGetMarginRect(page, &area); break;
        case PG_BGAREA_OBJECT: obGetRect(object, &area); break;
        case PG_BGAREA_EXPLICIT: area = RECT{bg.rect[0], bg.rect[1], bg.rect[2], bg.rect[3]}; break;
        default: break;
        }
        obDrawTiled(dc, object, &area, bg.tiling);
        drawn = 1;
        if (temporary)
            obFreeTree(object);
    }
    return drawn;
}

void pgDrawOwnObjects(HDC dc, MemHandle page)
{
    MemHandle tree = 0;
    {
        ObLock r(page);
        if (r)
            tree = r->attached;
    }
    if (tree)
        obDraw(dc, tree);
}

void pgRenderBasePage(HWND workspace, HDC dc, MemHandle form, const RECT *clip, MemHandle,
                      BOOL bandPrint, BOOL printing)
{
    MemHandle base = fmGetBasePage(form);
    PageParts parts;
    if (!dc || (bandPrint && printing) || !readParts(base, &parts))
        return;
    PageFrame frame(dc, parts, printing);
    bool mirror = fmIsMirroredPage(form, parts.pageIndex) != 0;
    RECT pageRect;
    pgGetPageRect(base, &pageRect);
    if (mirror)
        mirrorFlagged(parts.firstObject, pageRect.right);
    pgDrawOwnObjects(dc, base);
    obDrawList(workspace, dc, parts.firstObject, clip);
    if (mirror)
        mirrorFlagged(parts.firstObject, pageRect.right);
}

int pgRender(HWND workspace, HDC dc, MemHandle form, MemHandle page, int number, const RECT *clip,
             BOOL skipWhite, BOOL drawFrame, BOOL drawNumber, BOOL bandPrint, BOOL printing)
{
    PageParts parts;
    if (!dc || (bandPrint && printing) || !readParts(page, &parts))
        return 1;
    PageFrame frame(dc, parts, printing);
    if (!printing || fmPrintsBackgrounds(form))
        pgDrawBackground(workspace, dc, page, skipWhite, printing);
    if (drawFrame) {
        RECT r;
        pgGetPageRect(page, &r);
        frameRect(dc, r);
    }
    if (fmGetBasePage(form) && fmGetBasePage(form) != page && pgShowsBasePage(page))
        pgRenderBasePage(workspace, dc, form, clip, page, bandPrint, printing);
    pgDrawOwnObjects(dc, page);
    obDrawList(workspace, dc, parts.firstObject, clip);
    if (drawNumber)
        pgDrawNumber(dc, form, page, number, clip);
    return 1;
}

int pgRenderWithNumber(HWND workspace, HDC dc, MemHandle form, MemHandle page, int number,
                       const RECT *clip, BOOL skipWhite, BOOL drawFrame, BOOL printing)
{
    return pgRender(workspace, dc, form, page, number, clip, skipWhite, drawFrame, TRUE, FALSE,
                    printing);
}
