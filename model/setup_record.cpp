// The setup record, form defaults, default page and start document held for
// the run, and the accessors of their fields.
#include "model/setup_record.h"
#include "support/app_frame_globals.h"
#include "support/win_place.h"
#include "model/pg_record.h"
#include "support/ff_file.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>

namespace {

MemHandle g_setup = 0;
MemHandle g_formDefaults = 0;
MemHandle g_defaultPage = 0;
MemHandle g_startDoc = 0;   // packet: u32 length, then the terminated path

// The background brush and what it was made for.
HBRUSH g_brush = nullptr;
bool g_brushOwned = false;
int g_brushKind = -1;

const uint32_t kBlocksHeader = offsetof(SetupRecord, blocks);
const uint32_t kBlocksRun = SETUP_RECORD_SIZE;

// Form head offsets (the fixed part of a document record).
enum {
    FH_TYPE = 4, FH_OPTIONS = 14, FH_STYLE = 16, FH_VIEW_FLAGS = 18, FH_VIEW_BYTE1 = 20,
    FH_VIEW_BYTE2 = 21, FH_GRID = 22, FH_UNIT = 24, FH_VIEW_WORD = 26, FH_ATTRS = 42,
    FH_HANDLES = 50, FH_HANDLES_END = 78,
};

// Runs f on the locked setup record, or answers `absent` without one.
template <typename F>
auto withSetup(F f, decltype(f((SetupRecord *)nullptr)) absent) -> decltype(f((SetupRecord *)nullptr))
{
    if (!g_setup)
        return absent;
    MemLock<SetupRecord> p(g_setup);
    return p ? f(p.get()) : absent;
}

// Runs f on the locked setup record when there is one.
template <typename F>
void changeSetup(F f)
{
    if (!g_setup)
        return;
    MemLock<SetupRecord> p(g_setup);
    if (p)
        f(p.get());
}

BOOL optionBit(uint16_t mask)
{
    return withSetup([&](SetupRecord *r) { return (r->options & mask) ? TRUE : FALSE; }, FALSE);
}

// Copies the data of a tagged block out; false when absent.
bool getBlock(uint32_t tag, void *out, int size)
{
    return withSetup([&](SetupRecord *r) {
        int n = 0;
        const uint8_t *data = attGetData(reinterpret_cast<uint8_t *>(r) + kBlocksRun,
                                         r->blocks.count, tag, &n);
        if (!data || n < size)
            return false;
        memcpy(out, data, (size_t)size);
        return true;
    }, false);
}

// Stores (or with no bytes removes) a tagged block.
BOOL putBlock(uint32_t tag, const void *data, int n)
{
    if (!g_setup)
        return FALSE;
    MemHandle valid = attSet(g_setup, TRUE, kBlocksHeader, kBlocksRun, data, n, tag);
    if (!valid)
        return FALSE;
    g_setup = valid;
    return TRUE;
}

void getFont(uint32_t tag, int16_t defaultPoints, SetupFontSpec *font)
{
    if (getBlock(tag, font, sizeof(*font))) {
        font->face[sizeof(font->face) - 1] = 0;
        return;
    }
    memset(font, 0, sizeof(*font));
    font->pointSize = defaultPoints;
    strcpy(font->face, "Arial");
}

BOOL putFont(uint32_t tag, const SetupFontSpec *font)
{
    if (!font || !font->face[0])
        return putBlock(tag, nullptr, 0);
    SetupFontSpec copy = {};
    copy.pointSize = font->pointSize;
    utStrCopyN(copy.face, font->face, sizeof(copy.face));
    return putBlock(tag, &copy, sizeof(copy));
}

COLORREF backgroundColor(int kind, COLORREF custom)
{
    switch (kind) {
    case 0: return 0xFFFFFF;
    case 1: return 0xC0C0C0;
    case 2: return 0x808080;
    case 3: return 0xFF0000;
    case 4: return 0x000000;
    case SETUP_BK_CUSTOM: return custom;
    default: return 0xFFFFFF;
    }
}

void makeBrush()
{
    int kind = setGetBackgroundKind();
    g_brushOwned = false;
    switch (kind) {
    case 0: g_brush = (HBRUSH)GetStockObject(WHITE_BRUSH); break;
    case 1: g_brush = (HBRUSH)GetStockObject(LTGRAY_BRUSH); break;
    case 2: g_brush = (HBRUSH)GetStockObject(GRAY_BRUSH); break;
    case 4: g_brush = (HBRUSH)GetStockObject(BLACK_BRUSH); break;
    case 3:
    case SETUP_BK_CUSTOM:
        g_brush = CreateSolidBrush(setGetWorkspaceBkColor());
        g_brushOwned = g_brush != nullptr;
        break;
    case 5: g_brush = (HBRUSH)(INT_PTR)(COLOR_WINDOW + 1); break;
    default: g_brush = (HBRUSH)GetStockObject(WHITE_BRUSH); break;
    }
    g_brushKind = kind;
}

}  // namespace

// ---- the records ----------------------------------------------------------------

MemHandle setNewSetupRecord()
{
    MemHandle h = utAllocHandle(0, SETUP_RECORD_SIZE);
    if (!h)
        return 0;
    MemLock<SetupRecord> r(h);
    r->length = SETUP_RECORD_SIZE;
    r->version = 1024;
    r->options = 0x0822;
    r->zoomCode = 0;
    r->zoomPercent = -1;
    r->barBits = 0xFFFF;
    r->backgroundKind = SETUP_BK_CUSTOM;
    r->editorColor = 0xFF0000;
    r->reserved70 = 0xFFFFFF;
    r->scrollStyle = 2;
    r->customBkColor = 0xFFFFD4;
    r->flagBits = SETUP_FLAG_SMOOTH_FONTS;
    return h;
}

MemHandle setNewFormDefaults()
{
    MemHandle h = utAllocHandle(0, FORM_HEAD_SIZE);
    if (!h)
        return 0;
    MemLock<uint8_t> p(h);
    utPutAt<uint32_t>(p.get(), 0, FORM_HEAD_SIZE);
    utPutAt<uint16_t>(p.get(), FH_TYPE, 1002);
    utPutAt<uint16_t>(p.get(), FH_OPTIONS, 0x2000);
    utPutAt<uint16_t>(p.get(), FH_VIEW_FLAGS, 22);
    p[FH_VIEW_BYTE1] = 1;
    utPutAt<uint16_t>(p.get(), FH_GRID, 16);
    utPutAt<uint16_t>(p.get(), FH_UNIT, 3);
    utPutAt<uint32_t>(p.get(), FH_VIEW_WORD, 2);
    return h;
}

MemHandle setGetSetupRecord() { return g_setup; }
MemHandle setGetDefaultPage() { return g_defaultPage; }
MemHandle setGetFormDefaultsRecord() { return g_formDefaults; }
MemHandle setGetStartDocumentPacket() { return g_startDoc; }

BOOL setIsValidSetupRecord(MemHandle record)
{
    uint32_t block = utHandleSize(record);
    if (block < SETUP_RECORD_SIZE)
        return FALSE;
    MemLock<uint8_t> p(record);
    return p && attIsValidOwner(p.get(), block, kBlocksHeader, kBlocksRun);
}

BOOL setIsValidFormDefaults(MemHandle head)
{
    uint32_t block = utHandleSize(head);
    if (block < FORM_HEAD_SIZE)
        return FALSE;
    MemLock<uint8_t> p(head);
    return p && attIsValidOwner(p.get(), block, FH_ATTRS, FORM_HEAD_SIZE);
}

void setClearFormHandles(uint8_t *head)
{
    memset(head + FH_HANDLES, 0, FH_HANDLES_END - FH_HANDLES);
}

void setClearPageHandles(uint8_t *page)
{
    memset(page + PGH_LINKS, 0, 4 * PGH_LINK_COUNT);
    PageData d;
    uint8_t *data = page + PG_HEAD_SIZE + page[PGH_NAME_LENGTH];
    memcpy(&d, data, sizeof(d));
    d.layers.inUse = d.layers.edit = d.layers.hidden = 0;
    d.layers.countInUse = d.layers.countEdit = d.layers.countHidden = 0;
    d.firstObject = d.sideBlock = d.paletteBlock = 0;
    pgDataSetObjectCount(&d, 0);
    memset(d.memoryOnly, 0, sizeof(d.memoryOnly));
    memcpy(data, &d, sizeof(d));
}

void setAdoptSetupRecord(MemHandle record)
{
    if (record != g_setup)
        utFreeHandle(g_setup);
    g_setup = record;
}

void setAdoptFormDefaults(MemHandle head)
{
    if (head != g_formDefaults)
        utFreeHandle(g_formDefaults);
    g_formDefaults = head;
}

void setAdoptDefaultPage(MemHandle page)
{
    if (page != g_defaultPage && g_defaultPage) {
        // The layer sets and blocks a page made in this run may own.
        {
            MemLock<uint8_t> p(g_defaultPage);
            PageData d;
            memcpy(&d, p.get() + PG_HEAD_SIZE + p[PGH_NAME_LENGTH], sizeof(d));
            for (MemHandle h : {d.layers.inUse, d.layers.edit, d.layers.hidden, d.sideBlock,
                                d.paletteBlock})
                if (h && utIsLiveHandle(h))
                    utFreeHandle(h);
        }
        utFreeHandle(g_defaultPage);
    }
    g_defaultPage = page;
}

void setFreeSetupRecords()
{
    setReleaseBkBrush();
    setAdoptSetupRecord(0);
    setAdoptFormDefaults(0);
    setAdoptDefaultPage(0);
    g_startDoc = utFreeHandle(g_startDoc);
}

// ---- form defaults -----------------------------------------------------------------

void setGetFormDefaults(uint8_t *head)
{
    MemHandle defaults = setNewFormDefaults();
    memset(head, 0, FORM_HEAD_SIZE);
    if (defaults) {
        MemLock<uint8_t> d(defaults);
        memcpy(head, d.get(), FORM_HEAD_SIZE);
    }
    utFreeHandle(defaults);
    if (g_formDefaults && utHandleSize(g_formDefaults) >= FORM_HEAD_SIZE) {
        MemLock<uint8_t> s(g_formDefaults);
        const uint8_t *f = s.get();
        memcpy(head + FH_OPTIONS, f + FH_OPTIONS, 2);
        memcpy(head + FH_STYLE, f + FH_STYLE, 2);
        memcpy(head + FH_VIEW_FLAGS, f + FH_VIEW_FLAGS, 2);
        head[FH_VIEW_BYTE1] = f[FH_VIEW_BYTE1];
        head[FH_VIEW_BYTE2] = f[FH_VIEW_BYTE2];
        memcpy(head + FH_GRID, f + FH_GRID, 2);
        memcpy(head + FH_UNIT, f + FH_UNIT, 2);
        memcpy(head + FH_VIEW_WORD, f + FH_VIEW_WORD, 4);
    }
}

void setPutFormDefaults(const uint8_t *head)
{
    MemHandle h = utHandleFromBytes(head, FORM_HEAD_SIZE);
    if (!h)
        return;
    {
        // Only the fixed head is kept: without attribute records its
        // attribute header must say so, or the stored head fails its length
        // test when read back.
        MemLock<uint8_t> p(h);
        utPutAt<uint32_t>(p.get(), 0, FORM_HEAD_SIZE);
        memset(p.get() + FH_ATTRS, 0, sizeof(AttrHeader));
        setClearFormHandles(p.get());
    }
    setAdoptFormDefaults(h);
}

// ---- fields ------------------------------------------------------------------------

int setGetZoomCode()
{
    return withSetup([](SetupRecord *r) { return (int)r->zoomCode; }, 100);
}
void setPutZoomCode(int code) { changeSetup([&](SetupRecord *r) { r->zoomCode = (int16_t)code; }); }
int setGetZoomPercent()
{
    return withSetup([](SetupRecord *r) { return (int)r->zoomPercent; }, 100);
}
void setPutZoomPercent(int percent)
{
    changeSetup([&](SetupRecord *r) { r->zoomPercent = (int16_t)percent; });
}
int setGetScrollStyle()
{
    // Without a record the default continuous style, a style views know.
    return withSetup([](SetupRecord *r) { return (int)r->scrollStyle; }, 2);
}
void setPutScrollStyle(int style)
{
    changeSetup([&](SetupRecord *r) { r->scrollStyle = (uint16_t)style; });
}

int setGetOptionBits()
{
    return withSetup([](SetupRecord *r) { return (int)r->options; }, 0);
}
void setPutOptionBits(uint16_t mask, BOOL on)
{
    changeSetup([&](SetupRecord *r) {
        r->options = on ? (uint16_t)(r->options | mask) : (uint16_t)(r->options & ~mask);
    });
}

BOOL setGetStayInDrawMode() { return optionBit(SETUP_OPT_STAY_IN_DRAW); }
void setPutStayInDrawMode(BOOL on) { setPutOptionBits(SETUP_OPT_STAY_IN_DRAW, on); }
int setGetHighlightStyle()
{
    return setGetOptionBits() & (SETUP_OPT_HIGHLIGHT_A | SETUP_OPT_HIGHLIGHT_B);
}
void setPutHighlightStyle(int style)
{
    setPutOptionBits(SETUP_OPT_HIGHLIGHT_A | SETUP_OPT_HIGHLIGHT_B, FALSE);
    if (style == SETUP_OPT_HIGHLIGHT_A || style == SETUP_OPT_HIGHLIGHT_B)
        setPutOptionBits((uint16_t)style, TRUE);
}
BOOL setGetOptionBit1() { return optionBit(SETUP_OPT_HIGHLIGHT_A); }
BOOL setGetHighlightHidden() { return optionBit(SETUP_OPT_HIGHLIGHT_HIDDEN); }
void setPutHighlightHidden(BOOL on) { setPutOptionBits(SETUP_OPT_HIGHLIGHT_HIDDEN, on); }
BOOL setGetApplyMasterAuthor() { return optionBit(SETUP_OPT_MASTER_AUTHOR); }
void setPutApplyMasterAuthor(BOOL on) { setPutOptionBits(SETUP_OPT_MASTER_AUTHOR, on); }
BOOL setGetOptionBit5() { return optionBit(SETUP_OPT_BIT5); }
void setPutOptionBit5(BOOL on) { setPutOptionBits(SETUP_OPT_BIT5, on); }
BOOL setGetShowWelcome()
{
    return withSetup([](SetupRecord *r) { return (r->options & SETUP_OPT_NO_WELCOME) ? FALSE : TRUE; },
                     FALSE);
}
void setPutShowWelcome(BOOL show) { setPutOptionBits(SETUP_OPT_NO_WELCOME, !show); }
BOOL setGetShowMemberMarks() { return optionBit(SETUP_OPT_MEMBER_MARKS); }
void setPutShowMemberMarks(BOOL on) { setPutOptionBits(SETUP_OPT_MEMBER_MARKS, on); }
BOOL setGetDropAsImageFrame() { return optionBit(SETUP_OPT_DROP_IMAGE_FRAME); }
void setPutDropAsImageFrame(BOOL on) { setPutOptionBits(SETUP_OPT_DROP_IMAGE_FRAME, on); }
BOOL setGetMoveGuides()
{
    return withSetup(
        [](SetupRecord *r) { return (r->options & SETUP_OPT_NO_MOVE_GUIDES) ? FALSE : TRUE; }, FALSE);
}
void setPutMoveGuides(BOOL on) { setPutOptionBits(SETUP_OPT_NO_MOVE_GUIDES, !on); }
BOOL setGetDrawGuides() { return optionBit(SETUP_OPT_DRAW_GUIDES); }
void setPutDrawGuides(BOOL on) { setPutOptionBits(SETUP_OPT_DRAW_GUIDES, on); }

int setGetBackgroundKind()
{
    return withSetup([](SetupRecord *r) { return (int)r->backgroundKind; }, 0);
}
void setPutBackgroundKind(int kind)
{
    if (!g_setup || setGetBackgroundKind() == kind)
        return;
    changeSetup([&](SetupRecord *r) { r->backgroundKind = (uint16_t)kind; });
    if (g_brush)
        setRebuildBkBrush();
}
COLORREF setGetCustomBkColor()
{
    return withSetup([](SetupRecord *r) { return (COLORREF)r->customBkColor; }, (COLORREF)0xFFFFD4);
}
void setPutCustomBkColor(COLORREF colour)
{
    if (!g_setup || setGetCustomBkColor() == colour)
        return;
    changeSetup([&](SetupRecord *r) { r->customBkColor = colour; });
    // A brush made from the old colour would show it still.
    if (g_brush && setGetBackgroundKind() == SETUP_BK_CUSTOM)
        setRebuildBkBrush();
}
BOOL setGetFrameMaximized()
{
    return withSetup([](SetupRecord *r) { return r->maximized ? TRUE : FALSE; }, FALSE);
}
void setPutFrameMaximized(BOOL on) { changeSetup([&](SetupRecord *r) { r->maximized = on ? 1 : 0; }); }
int setGetFrameBarBits()
{
    return withSetup([](SetupRecord *r) { return (int)r->barBits; }, -1);
}
void setPutFrameBarBits(uint16_t bits) { changeSetup([&](SetupRecord *r) { r->barBits = bits; }); }
int setGetDockLayout()
{
    return withSetup([](SetupRecord *r) { return (int)r->dockLayout; }, 0);
}
void setPutDockLayout(uint16_t word) { changeSetup([&](SetupRecord *r) { r->dockLayout = word; }); }

void setGetFrameRect(int *x, int *y, int *width, int *height)
{
    const int kDefault = (int)0x80000000;
    *x = *y = 0;
    *width = *height = kDefault;
    if (!g_setup)
        return;
    int32_t r[4];
    {
        MemLock<SetupRecord> p(g_setup);
        memcpy(r, p->frameRect, sizeof(r));
    }
    int64_t w = (int64_t)r[2] - r[0];
    int64_t h = (int64_t)r[3] - r[1];
    RECT work;
    winGetWorkArea(&work);
    int left = r[0] < 0 ? 0 : r[0];
    int top = r[1] < 0 ? 0 : r[1];
    if (w >= 1 && left > work.right)
        left = (int)(work.right - w);
    if (h >= 1 && top > work.bottom)
        top = (int)(work.bottom - h);
    *x = left;
    *y = top;
    *width = (w < 1 || w > INT32_MAX) ? kDefault : (int)w;
    *height = (h < 1 || h > INT32_MAX) ? kDefault : (int)h;
}

void setPutFrameRect(const RECT *rect)
{
    changeSetup([&](SetupRecord *r) {
        r->frameRect[0] = rect->left;
        r->frameRect[1] = rect->top;
        r->frameRect[2] = rect->right;
        r->frameRect[3] = rect->bottom;
    });
}

int setGetFontDialogBits()
{
    return withSetup([](SetupRecord *r) { return (int)r->fontDialogBits; }, 0);
}
void setPutFontDialogBits(uint16_t bits)
{
    changeSetup([&](SetupRecord *r) { r->fontDialogBits = bits; });
}
COLORREF setGetEditorColor()
{
    return withSetup([](SetupRecord *r) { return (COLORREF)r->editorColor; }, (COLORREF)0xFF0000);
}
uint32_t setGetFlagBits()
{
    return withSetup([](SetupRecord *r) { return r->flagBits; }, 0u);
}
void setPutFlagBits(uint32_t mask, BOOL on)
{
    changeSetup([&](SetupRecord *r) { r->flagBits = on ? (r->flagBits | mask) : (r->flagBits & ~mask); });
}

void setGetPageDefaults(uint8_t *setting, uint32_t values[3])
{
    *setting = 0;
    values[0] = values[1] = 0;
    changeSetup([&](SetupRecord *r) {
        *setting = r->pageSetting;
        values[0] = r->pageValues[0];
        values[1] = r->pageValues[1];
    });
    values[2] = 0xFFFFFF;
}

void setPutPageDefaults(uint8_t setting, const uint32_t values[3])
{
    changeSetup([&](SetupRecord *r) {
        r->pageSetting = setting;
        memcpy(r->pageValues, values, sizeof(r->pageValues));
    });
}

int setGetPageProp59()
{
    MemHandle page = g_defaultPage;
    if (!page || utHandleSize(page) < PG_RECORD_SIZE)
        return 1;
    MemLock<uint8_t> p(page);
    uint8_t nameLength = p[PGH_NAME_LENGTH];
    if (PG_RECORD_SIZE + (uint32_t)nameLength > utHandleSize(page))
        return 1;
    uint8_t v = p[PG_HEAD_SIZE + nameLength + offsetof(PageData, byte45)];
    return v ? v : 1;
}

void setPutPageProp59(BOOL on)
{
    MemHandle page = g_defaultPage;
    if (!page || utHandleSize(page) < PG_RECORD_SIZE)
        return;
    MemLock<uint8_t> p(page);
    uint8_t nameLength = p[PGH_NAME_LENGTH];
    if (PG_RECORD_SIZE + (uint32_t)nameLength <= utHandleSize(page))
        p[PG_HEAD_SIZE + nameLength + offsetof(PageData, byte45)] = on ? 2 : 1;
}

// ---- blocks --------------------------------------------------------------------------

MemHandle setGetNewDocText()
{
    return withSetup([](SetupRecord *r) -> MemHandle {
        int n = 0;
        const uint8_t *data = attGetData(reinterpret_cast<uint8_t *>(r) + kBlocksRun,
                                         r->blocks.count, SETUP_TAG_MASTER_AUTHOR, &n);
        if (!data || n <= 0)
            return 0;
        // The stored text ends at its terminator or, lacking one, at the
        // block's end.
        std::string text(reinterpret_cast<const char *>(data), strnlen((const char *)data, (size_t)n));
        return utHandleFromString(text.c_str());
    }, (MemHandle)0);
}

BOOL setPutNewDocText(const char *text)
{
    if (!text || !*text)
        return putBlock(SETUP_TAG_MASTER_AUTHOR, nullptr, 0);
    size_t n = strlen(text);
    if (n > 0x7FFE)
        n = 0x7FFE;   // a block holds at most 32767 bytes
    std::string stored(text, n);
    return putBlock(SETUP_TAG_MASTER_AUTHOR, stored.c_str(), (int)n + 1);
}

BOOL setGetCustomColors(COLORREF colours[16])
{
    if (getBlock(SETUP_TAG_CUSTOM_COLORS, colours, 16 * sizeof(COLORREF)))
        return TRUE;
    for (int i = 0; i < 16; ++i)
        colours[i] = 0xFFFFFF;
    return FALSE;
}

BOOL setPutCustomColors(const COLORREF *colours)
{
    return putBlock(SETUP_TAG_CUSTOM_COLORS, colours, colours ? 16 * sizeof(COLORREF) : 0);
}

void setGetTextFont(SetupFontSpec *font) { getFont(SETUP_TAG_TEXT_FONT, 12, font); }
BOOL setPutTextFont(const SetupFontSpec *font) { return putFont(SETUP_TAG_TEXT_FONT, font); }
void setGetPresentationFont(SetupFontSpec *font) { getFont(SETUP_TAG_PRESENTATION_FONT, 24, font); }
BOOL setPutPresentationFont(const SetupFontSpec *font)
{
    return putFont(SETUP_TAG_PRESENTATION_FONT, font);
}

void setGetTextLogFont(LOGFONTA *font)
{
    SetupFontSpec stored;
    setGetTextFont(&stored);
    memset(font, 0, sizeof(*font));
    font->lfHeight = -(LONG)stored.pointSize * 20;
    font->lfWeight = FW_NORMAL;
    utStrCopyN(font->lfFaceName, stored.face, sizeof(font->lfFaceName));
}

BOOL setGetDefaultFont(LOGFONTA *font)
{
    if (!g_setup)
        return FALSE;
    setGetTextLogFont(font);
    return TRUE;
}

// ---- workspace background ------------------------------------------------------------

COLORREF setGetWorkspaceBkColor()
{
    return backgroundColor(setGetBackgroundKind(), setGetCustomBkColor());
}

COLORREF setGetWorkspaceFrameColor()
{
    int kind = setGetBackgroundKind();
    if (kind == SETUP_BK_CUSTOM) {
        COLORREF c = setGetCustomBkColor();
        return RGB(GetRValue(c) * 2 / 3, GetGValue(c) * 2 / 3, GetBValue(c) * 2 / 3);
    }
    if (kind == 2 || kind == 3)
        return 0x000000;
    return 0x808080;
}

HBRUSH setGetWorkspaceBkBrush()
{
    if (!g_brush || g_brushKind != setGetBackgroundKind())
        setRebuildBkBrush();
    return g_brush;
}

void setRebuildBkBrush()
{
    setReleaseBkBrush();
    makeBrush();
}

void setReleaseBkBrush()
{
    // Stock brushes and the system colour value are never deleted.
    if (g_brush && g_brushOwned)
        DeleteObject(g_brush);
    g_brush = nullptr;
    g_brushOwned = false;
    g_brushKind = -1;
}

// ---- start document ------------------------------------------------------------------

MemHandle setGetStartDocument()
{
    uint32_t length = utGetPacketLength(g_startDoc);
    if (length <= 4 || length > utHandleSize(g_startDoc))
        return 0;
    MemLock<char> p(g_startDoc);
    std::string path(p.get() + 4, strnlen(p.get() + 4, length - 4));
    return path.empty() ? 0 : utHandleFromString(path.c_str());
}

void setPutStartDocument(const char *path)
{
    MemHandle packet = (path && *path) ? utMakeStringPacket(path) : 0;
    if (path && *path && !packet)
        return;   // no memory: keep what was there
    utFreeHandle(g_startDoc);
    g_startDoc = packet;
}

namespace {
int sendOpen(UINT command, const std::string &text)
{
    HWND frame = appGetFrameWindow();
    if (!frame || !IsWindow(frame))
        return 0;
    MemHandle h = utHandleFromString(text.c_str());
    if (!h)
        return 0;
    SendMessageA(frame, WM_COMMAND, command, (LPARAM)h);
    return 1;
}

std::string startDocumentPath()
{
    MemHandle h = setGetStartDocument();
    MemLock<char> p(h);
    std::string path = p ? std::string(p.get()) : std::string();
    utFreeHandle(h);
    return path;
}
}  // namespace

int setOpenStartDocument()
{
    std::string path = startDocumentPath();
    return path.empty() ? 0 : sendOpen(111, path);
}

int setOpenStartDocumentAtPage(const char *pageName)
{
    std::string path = startDocumentPath();
    if (path.empty())
        return 0;
    if (!pageName || !*pageName)
        return sendOpen(111, path);
    return sendOpen(133, path + "\n" + pageName);
}

char *fcGetDocFilter(char *buffer, int size)
{
    static const char kFilter[] = "Quillmark Files (*.qm)|*.qm|All(*.*)|*.*|";
    if (size < (int)sizeof(kFilter) + 1) {
        if (size > 0)
            buffer[0] = 0;
        return buffer;
    }
    memcpy(buffer, kFilter, sizeof(kFilter));
    buffer[sizeof(kFilter)] = 0;
    for (char *p = buffer; *p; ++p)
        if (*p == '|')
            *p = 0;
    return buffer;
}
