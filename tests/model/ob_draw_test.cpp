// Drawing objects on real pixels: what is left out (hidden objects, layers,
// types, the leave-out mode, closed groups), shadows, nested passes, drawn
// and update rectangles, fitting, tiling, the placeholder and the DC
// routines of the type modules.
//
// The drawing rules are checked apart from any type's own drawing: a
// stand-in module of this file draws rectangles (7), squares (6), entry
// fields (41) and image files (78) in place of their modules: the box,
// filled by the fill kind (1 solid, 2 a hatch of the fill colour on the
// background colour), outlined with the pen when the pen width is not 0.
// (The box shapes' own drawing is tested with objects/sh_box.)
#include "tests/model/ob_kit.h"
#include "model/ob_draw.h"
#include "model/ob_shadow.h"
#include "model/lay_layers.h"
#include "model/ws_hidden_types.h"
#include "forms/fld_record.h"
#include "links/imgf_kind.h"
#include "objects/sh_arrow.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include <functional>
#include <memory>

namespace {

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);
const COLORREF kYellow = RGB(255, 255, 0), kGrey = RGB(128, 128, 128);

// Called by the stand-in for type 700: runs inside the object's drawing.
std::function<void(HDC)> g_nested;
// The draw window seen while each stand-in object was drawn.
std::vector<HWND> g_seenWindows;

int standInDraw(HDC dc, ObjectRecord *rec)
{
    if (rec->type == 700) {
        if (g_nested)
            g_nested(dc);
        return 1;
    }
    if (rec->type != OBT_SQUARE && rec->type != OBT_RECTANGLE && rec->type != OBT_ENTRY &&
        rec->type != OBT_IMAGE_FILE)
        return 0;
    g_seenWindows.push_back(obGetDrawWindow());
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    GdiObject<HBRUSH> brush(rec->fillKind == 1   ? CreateSolidBrush(rec->fillColour)
                            : rec->fillKind == 2 ? CreateHatchBrush(HS_DIAGCROSS, rec->fillColour)
                                                 : nullptr);
    GdiObject<HPEN> pen(rec->penWidth ? CreatePen(PS_SOLID, rec->penWidth, rec->penColour)
                                      : nullptr);
    GdiSelect selBrush(dc, brush ? (HGDIOBJ)brush : GetStockObject(NULL_BRUSH));
    GdiSelect selPen(dc, pen ? (HGDIOBJ)pen : GetStockObject(NULL_PEN));
    RECT box;
    obRecGetRect(rec, &box);
    gdiRectangle(dc, box.left, box.top, box.right, box.bottom);
    obRestoreDCModes(dc, &modes);
    return 1;
}

// Twips of the test mapping: 96 pixels to the inch at 100 percent.
int32_t px(int32_t pixels) { return pixels * 15; }

class ObDraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        dmResetModule();
        layResetModule();
        layResetGlobal();
        obSetLeaveOutMode(FALSE);
        obSetShadowStyle(nullptr);
        standIn_.reset(new obtest::TypeStandIn(
            {OBT_SQUARE, OBT_RECTANGLE, OBT_ENTRY, OBT_IMAGE_FILE, 700}, [](ObTypeProcs &p) {
                p.draw = [](HDC dc, ObjectRecord *rec) { standInDraw(dc, rec); };
            }));
        g_nested = nullptr;
        g_seenWindows.clear();
    }
    void TearDown() override
    {
        standIn_.reset();
        obSetShadowStyle(nullptr);
        obSetLeaveOutMode(FALSE);
        layResetModule();
        EXPECT_EQ(0, live.leaked()) << "memory handle leaked";
    }

    // A filled object with a box given in pixels.
    static MemHandle shape(int16_t type, int l, int t, int r, int b, COLORREF fill,
                           uint8_t fillKind = 1)
    {
        MemHandle h = obtest::make(type, px(l), px(t), px(r), px(b));
        ObLock rec(h);
        rec->fillKind = fillKind;
        rec->fillColour = fill;
        rec->backColour = kYellow;
        rec->layer = 1;
        return h;
    }
    // Pixels of the colour inside the box given in pixels.
    static int inBox(const qmtest::Dib &dib, COLORREF c, int l, int t, int r, int b)
    {
        RECT box = {l, t, r, b};
        return dib.count(c, box);
    }

    obtest::LiveCount live;
    std::unique_ptr<obtest::TypeStandIn> standIn_;
};

HWND makeWindow()
{
    return CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr,
                         nullptr);
}

TEST_F(ObDraw, HiddenObjectsLayersAndTypesLeaveTheirAreaWhite)
{
    HWND window = makeWindow();
    ASSERT_TRUE(window);
    uint16_t sevens[] = {OBT_RECTANGLE};
    MemHandle types = utHandleFromBytes(sevens, sizeof sevens);
    MemHandle hiddenTwo = utHandleFromBytes("\x02\x00", 2);
    struct Case {
        const char *what;
        std::function<void(MemHandle rect)> leaveOut;
        HWND window;
    } cases[] = {
        {"nothing left out", [](MemHandle) {}, nullptr},
        {"hidden flag", [](MemHandle r) { obSetHidden(r, TRUE); }, nullptr},
        {"hidden layer",
         [&](MemHandle r) {
             ObLock(r)->layer = 2;
             layAddInUse(2);
             laySetHiddenSet(hiddenTwo, 1);
         },
         nullptr},
        {"hidden type of the view", [&](MemHandle) { wsSetHiddenTypes(window, types, 1); },
         window},
        {"leave-out mode",
         [](MemHandle r) {
             obSetFlags(r, OBF_LEAVE_OUT, TRUE);
             obSetLeaveOutMode(TRUE);
         },
         nullptr},
    };
    for (const Case &c : cases) {
        layResetGlobal();
        obSetLeaveOutMode(FALSE);
        wsSetHiddenTypes(window, 0, 0);
        qmtest::Dib dib(100, 60);
        dmSetMapping(dib.dc());
        MemHandle rect = shape(OBT_RECTANGLE, 10, 10, 40, 40, kRed);
        MemHandle square = shape(OBT_SQUARE, 60, 10, 90, 40, kBlue);
        obLinkPair(rect, square);
        c.leaveOut(rect);
        obDrawList(c.window, dib.dc(), rect, nullptr);
        bool shown = std::string(c.what) == "nothing left out";
        EXPECT_EQ(shown ? 30 * 30 : 0, inBox(dib, kRed, 10, 10, 40, 40)) << c.what;
        EXPECT_EQ(30 * 30, inBox(dib, kBlue, 60, 10, 90, 40)) << c.what;
        EXPECT_EQ(nullptr, obGetDrawWindow()) << c.what;
        obFreeList(rect);
    }
    wsSetHiddenTypes(window, 0, 0);
    layResetGlobal();
    utFreeHandle(types);
    utFreeHandle(hiddenTwo);
    DestroyWindow(window);
}

// An image file object (78) linking the file.
MemHandle imageFile(const char *file, int l)
{
    uint32_t n = (uint32_t)strlen(file) + 1;
    MemHandle h = obtest::make(OBT_IMAGE_FILE, px(l), px(5), px(l + 10), px(15),
                               kImgfNameOffset + n);
    ObLock r(h);
    uint32_t own = kImgfNameOffset + n;
    memcpy(obRecData(r.get()), &own, 4);
    memcpy(obRecData(r.get()) + kImgfNameOffset, file, n);
    r->fillKind = 1;
    r->fillColour = kRed;
    return h;
}

TEST_F(ObDraw, HiddenImageFilesKeepThoseLinkingADrawing)
{
    struct Kind {
        const char *file;
        int kind;
    } kinds[] = {{"a.bmp", IMGF_KIND_BMP}, {"C:\\x.y\\PLAN.DWG", IMGF_KIND_DWG},
                 {"scan.TIF", IMGF_KIND_TIF}, {"photo.jpeg", 0}, {"noext", 0},
                 {"x.dxf", IMGF_KIND_DXF}, {"t.txt", IMGF_KIND_TEXT}, {".png", IMGF_KIND_PNG}};
    for (const Kind &k : kinds) {
        MemHandle h = imageFile(k.file, 0);
        EXPECT_EQ(k.kind, imgfGetFileKind(ObLock(h).get())) << k.file;
        obFreeTree(h);
    }
    HWND window = makeWindow();
    uint16_t codes[] = {kWsHiddenImageFiles};
    MemHandle types = utHandleFromBytes(codes, sizeof codes);
    wsSetHiddenTypes(window, types, 1);
    MemHandle picture = imageFile("a.png", 5);
    MemHandle drawing = imageFile("b.dwg", 25);
    obLinkPair(picture, drawing);
    qmtest::Dib dib(40, 20);
    dmSetMapping(dib.dc());
    obDrawList(window, dib.dc(), picture, nullptr);
    EXPECT_EQ(0, inBox(dib, kRed, 5, 5, 15, 15));
    EXPECT_EQ(100, inBox(dib, kRed, 25, 5, 35, 15));
    // Outside a pass the view's list does not apply.
    dib.fill(kWhite);
    obDraw(dib.dc(), picture);
    EXPECT_EQ(100, inBox(dib, kRed, 5, 5, 15, 15));
    wsSetHiddenTypes(window, 0, 0);
    utFreeHandle(types);
    obFreeList(picture);
    DestroyWindow(window);
}

TEST_F(ObDraw, AGroupOnAHiddenLayerHidesItsMembersButNotItsSiblings)
{
    // outer group: {inner group on layer 2: {rect, rect}}, square after it.
    MemHandle a = shape(OBT_RECTANGLE, 5, 5, 20, 20, kRed);
    MemHandle b = shape(OBT_RECTANGLE, 25, 5, 40, 20, kRed);
    MemHandle inner = obNewGroup(OBT_GROUP, a, b, (MemHandle)0);
    MemHandle sq = shape(OBT_SQUARE, 50, 5, 65, 20, kBlue);
    MemHandle outer = obNewGroup(OBT_GROUP, inner, sq, (MemHandle)0);
    ObLock(inner)->layer = 2;
    MemHandle hidden = utHandleFromBytes("\x02\x00", 2);
    layAddInUse(2);
    laySetHiddenSet(hidden, 1);

    qmtest::Dib dib(80, 30);
    dmSetMapping(dib.dc());
    obDraw(dib.dc(), outer);
    EXPECT_EQ(0, dib.count(kRed));
    EXPECT_EQ(15 * 15, inBox(dib, kBlue, 50, 5, 65, 20));

    // Visible group, one member on the hidden layer: only that one goes.
    ObLock(inner)->layer = 1;
    ObLock(b)->layer = 2;
    dib.fill(kWhite);
    obDraw(dib.dc(), outer);
    EXPECT_EQ(15 * 15, inBox(dib, kRed, 5, 5, 20, 20));
    EXPECT_EQ(0, inBox(dib, kRed, 25, 5, 40, 20));
    EXPECT_EQ(15 * 15, inBox(dib, kBlue, 50, 5, 65, 20));

    // A group carrying flag 0x4 goes in the leave-out mode.
    ObLock(b)->layer = 1;
    obSetFlags(inner, OBF_LEAVE_OUT, TRUE);
    obSetLeaveOutMode(TRUE);
    dib.fill(kWhite);
    obDraw(dib.dc(), outer);
    EXPECT_EQ(0, dib.count(kRed));
    EXPECT_EQ(15 * 15, inBox(dib, kBlue, 50, 5, 65, 20));

    layResetGlobal();
    utFreeHandle(hidden);
    obFreeTree(outer);
}

TEST_F(ObDraw, APatternFilledRectangleCastsASolidGreyShadowFirst)
{
    MemHandle rect = shape(OBT_RECTANGLE, 10, 10, 40, 40, kRed, 2);
    obSetFlags(rect, OBF_SHADOW | OBF_ALL_CHORDS, TRUE);
    std::vector<uint8_t> before;
    {
        ObLock r(rect);
        const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
        before.assign(p, p + r->length);
    }
    qmtest::Dib dib(70, 70);
    dmSetMapping(dib.dc());
    obDrawList(nullptr, dib.dc(), rect, nullptr);
    // 100 twips are 6.67 pixels: the strips right of and below the box.
    EXPECT_EQ(4 * 28, inBox(dib, kGrey, 42, 18, 46, 46)) << "right strip solid grey";
    EXPECT_EQ(28 * 4, inBox(dib, kGrey, 18, 42, 46, 46)) << "bottom strip solid grey";
    EXPECT_EQ(0, inBox(dib, kGrey, 0, 0, 70, 9)) << "nothing above";
    EXPECT_EQ(0, inBox(dib, kGrey, 11, 11, 40, 40)) << "the rectangle lies over its shadow";
    EXPECT_GT(inBox(dib, kRed, 11, 11, 40, 40), 0);
    EXPECT_GT(inBox(dib, kYellow, 11, 11, 40, 40), 0);
    {
        ObLock r(rect);
        const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
        EXPECT_EQ(before, std::vector<uint8_t>(p, p + r->length)) << "the record is unchanged";
    }

    // Another style: green, up and to the left.
    ShadowStyle style = {-150, -150, RGB(0, 128, 0)};
    ShadowStyle previous = obSetShadowStyle(&style);
    EXPECT_EQ(100, previous.dx);
    dib.fill(kWhite);
    obDrawList(nullptr, dib.dc(), rect, nullptr);
    EXPECT_EQ(0, dib.count(kGrey));
    EXPECT_EQ(8 * 28, inBox(dib, RGB(0, 128, 0), 1, 1, 9, 29)) << "offset 10 pixels";
    obFreeTree(rect);
}

TEST_F(ObDraw, AFilledEntryFieldCastsNoShadowAnUnfilledOneDoes)
{
    for (uint8_t fillKind : {0, 1}) {
        MemHandle field = shape(OBT_ENTRY, 10, 10, 40, 40, kRed, fillKind);
        ObLock(field)->penWidth = 15;
        obSetFlags(field, OBF_SHADOW, TRUE);
        qmtest::Dib dib(60, 60);
        dmSetMapping(dib.dc());
        obDraw(dib.dc(), field);
        // Unfilled, the shadow is the grey outline moved by the offset.
        int grey = inBox(dib, kGrey, 41, 15, 50, 50);
        if (fillKind)
            EXPECT_EQ(0, grey);
        else
            EXPECT_GT(grey, 25);
        obFreeTree(field);
    }
}

TEST_F(ObDraw, APassInsideAPassGivesTheOuterOneItsStateBack)
{
    HWND outerWindow = makeWindow(), innerWindow = makeWindow();
    uint16_t sevens[] = {OBT_RECTANGLE};
    MemHandle types = utHandleFromBytes(sevens, sizeof sevens);
    wsSetHiddenTypes(outerWindow, types, 1);

    // An object whose drawing runs a pass of its own (a page inset does).
    MemHandle innerSquare = shape(OBT_SQUARE, 5, 45, 15, 55, kBlue);
    HWND seenInside = nullptr;
    g_nested = [&](HDC dc) {
        obDrawList(innerWindow, dc, innerSquare, nullptr);
        seenInside = obGetDrawWindow();
    };
    MemHandle inset = obtest::make(700, 0, 0, px(20), px(20));
    MemHandle rect = shape(OBT_RECTANGLE, 30, 5, 40, 15, kRed);
    MemHandle square = shape(OBT_SQUARE, 50, 5, 60, 15, kBlue);
    obLinkPair(inset, rect);
    obLinkPair(rect, square);

    qmtest::Dib dib(70, 60);
    dmSetMapping(dib.dc());
    obDrawList(outerWindow, dib.dc(), inset, nullptr);
    EXPECT_EQ(outerWindow, seenInside);
    EXPECT_EQ(0, dib.count(kRed)) << "the outer pass still hides rectangles";
    EXPECT_EQ(10 * 10, inBox(dib, kBlue, 50, 5, 60, 15));
    EXPECT_EQ(10 * 10, inBox(dib, kBlue, 5, 45, 15, 55));
    ASSERT_EQ(2u, g_seenWindows.size());
    EXPECT_EQ(innerWindow, g_seenWindows[0]);
    EXPECT_EQ(outerWindow, g_seenWindows[1]);
    EXPECT_EQ(nullptr, obGetDrawWindow());

    g_nested = nullptr;
    wsSetHiddenTypes(outerWindow, 0, 0);
    utFreeHandle(types);
    obFreeTree(innerSquare);
    obFreeList(inset);
    DestroyWindow(outerWindow);
    DestroyWindow(innerWindow);
}

TEST_F(ObDraw, AClipRectangleDrawsOnlyTheObjectsItMeets)
{
    MemHandle rect = shape(OBT_RECTANGLE, 5, 5, 20, 20, kRed);
    MemHandle square = shape(OBT_SQUARE, 60, 5, 75, 20, kBlue);
    obLinkPair(rect, square);
    qmtest::Dib dib(80, 30);
    dmSetMapping(dib.dc());
    RECT clip = {px(50), 0, px(80), px(30)};
    obDrawList(nullptr, dib.dc(), rect, &clip);
    EXPECT_EQ(0, dib.count(kRed));
    EXPECT_EQ(15 * 15, inBox(dib, kBlue, 60, 5, 75, 20));
    obFreeList(rect);
}

// A page partly in view at 100 and 400 percent: its shapes in nested
// groups draw the same pixels as the same shapes side by side, and within
// a group in view only the members in view are drawn, as at the top level.
TEST_F(ObDraw, GroupedShapesPartlyInViewDrawAsTheSameShapesUngrouped)
{
    // A grid of rectangles and squares; some with a pen wider than a pixel
    // or a shadow, so that what they draw reaches past their boxes.
    auto grid = [] {
        std::vector<MemHandle> out;
        for (int i = 0; i < 30; ++i) {
            const int x = 10 + (i % 6) * 40, y = 10 + (i / 6) * 40;
            MemHandle h = shape(i % 2 ? OBT_SQUARE : OBT_RECTANGLE, x, y, x + 25, y + 25,
                                i % 3 ? kRed : kBlue);
            ObLock r(h);
            if (i % 4 == 1) {
                r->penWidth = 90;
                r->penColour = RGB(0, 128, 0);
            }
            if (i % 5 == 2)
                r->flags |= OBF_SHADOW;
            out.push_back(h);
        }
        return out;
    };
    std::vector<MemHandle> flat = grid(), members = grid();
    for (size_t i = 1; i < flat.size(); ++i)
        obLinkPair(flat[i - 1], flat[i]);
    // Groups of five, the first two of them and the last two in groups again.
    std::vector<MemHandle> groups;
    for (size_t i = 0; i < members.size(); i += 5)
        groups.push_back(obNewGroupN(OBT_GROUP, &members[i], 5));
    std::vector<MemHandle> top = {obNewGroupN(OBT_GROUP, &groups[0], 2), groups[2], groups[3],
                                  obNewGroupN(OBT_GROUP, &groups[4], 2)};
    for (size_t i = 1; i < top.size(); ++i)
        obLinkPair(top[i - 1], top[i]);

    struct View {
        int zoom;
        int x, y;   // the pixel at 100 percent shown top left
    } views[] = {{100, 50, 30}, {400, 100, 40}, {400, 5, 150}};
    for (const View &v : views) {
        SCOPED_TRACE(v.zoom);
        // Draws the list into a view of 120 x 90 pixels; the objects drawn.
        auto draw = [&](MemHandle first, qmtest::Dib &dib, bool clipped) {
            dmResetModule();
            dmSetZoomDC(dib.dc(), v.zoom);
            dmSetMappingOrg(dib.dc(), px(v.x), px(v.y));
            POINT corners[2] = {{0, 0}, {120, 90}};
            DPtoLP(dib.dc(), corners, 2);
            RECT clip = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
            g_seenWindows.clear();
            obDrawList(nullptr, dib.dc(), first, clipped ? &clip : nullptr);
            return g_seenWindows.size();
        };
        qmtest::Dib apart(120, 90), grouped(120, 90), whole(120, 90);
        const size_t drawnApart = draw(flat.front(), apart, true);
        const size_t drawnGrouped = draw(top.front(), grouped, true);
        const size_t drawnWhole = draw(top.front(), whole, false);
        EXPECT_EQ(0, grouped.diff(apart));
        EXPECT_EQ(0, grouped.diff(whole)) << "nothing in view is left out";
        EXPECT_LT(0, 120 * 90 - grouped.count(kWhite)) << "the view shows shapes";
        EXPECT_EQ(drawnApart, drawnGrouped) << "members out of view are not drawn";
        EXPECT_LT(drawnGrouped, drawnWhole);
    }
    dmResetModule();
    obFreeList(flat.front());
    obFreeList(top.front());
}

// ---- drawn and update rectangles ----------------------------------------------------------

TEST_F(ObDraw, DrawnRectanglesGrowByPenFrameAndShadow)
{
    struct Case {
        const char *what;
        int16_t type;
        int16_t penWidth;
        uint32_t frameAt;    // type data offset of a frame word, 0 for none
        uint16_t frame;
        bool shadow;
        RECT expect;         // of the box (0, 0, 1000, 500)
    };
    const Case cases[] = {
        {"polyline pen 40", OBT_POLYLINE, 40, 0, 0, false, {-20, -20, 1020, 520}},
        {"rectangle pen 15", OBT_RECTANGLE, 15, 0, 0, false, {-8, -8, 1008, 508}},
        {"group keeps its box", OBT_GROUP, 40, 0, 0, false, {0, 0, 1000, 500}},
        {"text frame of 1.5 points", OBT_TEXT, 0, 76, 0x0101, false, {-15, -15, 1015, 515}},
        {"text without frame", OBT_TEXT, 0, 76, 0x0100, false, {0, 0, 1000, 500}},
        {"entry double line", OBT_ENTRY, 0, 2, 0x0301, false, {-40, -40, 1040, 540}},
        {"counter frame", OBT_COUNTER, 0, 10, 0x0201, false, {-20, -20, 1020, 520}},
        {"entry reference frame", OBT_ENTRY_REF, 0, 8, 0x0001, false, {-5, -5, 1005, 505}},
        {"label frame", OBT_LABEL, 0, 62, 0x0201, false, {-20, -20, 1020, 520}},
        {"shadowed rectangle", OBT_RECTANGLE, 0, 0, 0, true, {0, 0, 1100, 600}},
    };
    for (const Case &c : cases) {
        MemHandle h = obtest::make(c.type, 0, 0, 1000, 500, 120);
        {
            ObLock r(h);
            r->penWidth = c.penWidth;
            if (c.frameAt)
                memcpy(obRecData(r.get()) + c.frameAt, &c.frame, 2);
            if (c.shadow)
                r->flags |= OBF_SHADOW;
        }
        RECT r;
        EXPECT_TRUE(obGetDrawnRect(h, &r)) << c.what;
        EXPECT_TRUE(geoRectsEqual(&c.expect, &r))
            << c.what << ": " << r.left << " " << r.top << " " << r.right << " " << r.bottom;
        obFreeTree(h);
    }
    RECT none;
    EXPECT_FALSE(obGetDrawnRect(0, &none));
    EXPECT_FALSE(obGetUpdateRect(0, &none));
    EXPECT_TRUE(geoRectIsFlat(&none));
}

TEST_F(ObDraw, AShadowedArrowsDrawnRectangleCoversItsOutlineAndShadow)
{
    MemHandle h = obtest::make(OBT_ARROW, 0, 0, 10, 10, kObArrowDataSize);
    POINT ends[2] = {{0, 0}, {2000, 0}};
    h = obMakeArrowRecord(h, ends);
    ASSERT_TRUE(h);
    ObLock(h)->penWidth = 20;
    RECT plain, shadowed;
    obGetDrawnRect(h, &plain);
    EXPECT_LE(plain.left, -10);
    EXPECT_GE(plain.right, 2010);
    EXPECT_LE(plain.top, -240 - 10) << "the head's half width";
    obSetFlags(h, OBF_SHADOW, TRUE);
    obGetDrawnRect(h, &shadowed);
    EXPECT_EQ(plain.right + 100, shadowed.right);
    EXPECT_EQ(plain.bottom + 100, shadowed.bottom);
    obFreeTree(h);
}

TEST_F(ObDraw, UpdateRectanglesAddHandlesPixelsAndFieldLabels)
{
    MemHandle h = obtest::make(OBT_RECTANGLE, 1000, 1000, 2000, 1500);
    RECT u;
    ASSERT_TRUE(obGetUpdateRect(h, &u));
    int32_t hx, hy;
    dmGetHandleSize(&hx, &hy);
    int32_t pw = dmGetPixelWidth(), ph = dmGetPixelHeight();
    EXPECT_EQ(1000 - hx - pw, u.left);
    EXPECT_EQ(1000 - hy, u.top);
    EXPECT_EQ(2000 + hx + 2 * pw, u.right);
    EXPECT_EQ(1500 + hy + ph, u.bottom);
    obFreeTree(h);

    // A named entry field adds its label above its top-left; a button none.
    MemHandle field = obSetName(obtest::make(OBT_ENTRY, 1000, 1000, 2000, 1500, kFldAttrRun),
                                "Customer name");
    RECT withLabel;
    ASSERT_TRUE(obGetUpdateRect(field, &withLabel));
    EXPECT_LT(withLabel.top, 1000 - hy - 60);
    EXPECT_GT(withLabel.right, 2000 + hx + 2 * pw) << "the label is wider than the field";
    ObLock(field)->type = OBT_BUTTON;
    RECT button;
    obGetUpdateRect(field, &button);
    EXPECT_EQ(1000 - hy, button.top);
    obFreeTree(field);

    // An entry reference shows ">> name" when it names a field.
    MemHandle ref = obtest::make(OBT_ENTRY_REF, 1000, 1000, 1100, 1100, 110);
    memset(obRecData(ObLock(ref).get()), 0, 110);
    RECT bare;
    obGetUpdateRect(ref, &bare);
    memcpy(obRecData(ObLock(ref).get()) + kErfNameOffset, "Total", 6);
    RECT captioned;
    obGetUpdateRect(ref, &captioned);
    EXPECT_LT(captioned.top, bare.top);
    obFreeTree(ref);
}

// ---- fitting and tiling -------------------------------------------------------------------

TEST_F(ObDraw, DrawingInARectangleCentresAndNeverEnlarges)
{
    qmtest::Dib dib(120, 120);
    dmSetMapping(dib.dc());
    SIZE extBefore;
    POINT orgBefore;
    GetViewportExtEx(dib.dc(), &extBefore);
    GetViewportOrgEx(dib.dc(), &orgBefore);

    // 20 x 20 pixels into 100 x 100: its own size, centred on (60, 60).
    MemHandle little = shape(OBT_RECTANGLE, 0, 0, 20, 20, kRed);
    RECT device = {10, 10, 110, 110};
    obDrawInRect(dib.dc(), little, &device, 0, TRUE);
    EXPECT_EQ(20 * 20, inBox(dib, kRed, 50, 50, 70, 70));
    EXPECT_EQ(0, inBox(dib, kRed, 0, 0, 49, 120));

    // 200 x 200 pixels into 100 x 100: halved and centred.
    MemHandle big = shape(OBT_RECTANGLE, 0, 0, 200, 200, kBlue);
    dib.fill(kWhite);
    obDrawInRect(dib.dc(), big, &device, 0, TRUE);
    EXPECT_EQ(96 * 96, inBox(dib, kBlue, 12, 12, 108, 108));
    EXPECT_EQ(0, inBox(dib, kBlue, 0, 0, 8, 120));

    SIZE extAfter;
    POINT orgAfter;
    GetViewportExtEx(dib.dc(), &extAfter);
    GetViewportOrgEx(dib.dc(), &orgAfter);
    EXPECT_EQ(extBefore.cx, extAfter.cx);
    EXPECT_EQ(orgBefore.x, orgAfter.x);
    obFreeTree(little);
    obFreeTree(big);
}

TEST_F(ObDraw, TilingRepeatsTheBoxAndPutsTheObjectBack)
{
    struct Case {
        uint16_t placement;
        std::vector<POINT> filled;   // cell centres (pixels) that must be drawn
        std::vector<POINT> empty;
    };
    // Cells of 20 x 20 pixels over a 100 x 60 rectangle at (0, 0).
    const Case cases[] = {
        {0, {{10, 10}, {90, 10}, {50, 30}, {90, 50}}, {}},
        {OB_TILE_LEFT, {{10, 10}, {10, 30}, {10, 50}}, {{30, 10}, {90, 50}}},
        {OB_TILE_RIGHT | OB_TILE_TOP, {{90, 30}, {90, 50}, {10, 10}, {50, 10}}, {{10, 50}}},
        {OB_TILE_CENTRE, {{50, 30}}, {{10, 10}, {90, 50}, {50, 10}}},
        {OB_TILE_BOTTOM | OB_TILE_HCENTRE, {{10, 50}, {90, 50}, {50, 10}}, {{10, 10}, {90, 10}}},
        {OB_TILE_VCENTRE, {{10, 30}, {90, 30}}, {{10, 10}, {10, 50}}},
    };
    for (const Case &c : cases) {
        MemHandle h = shape(OBT_RECTANGLE, 200, 200, 220, 220, kRed);
        RECT home;
        obGetRect(h, &home);
        qmtest::Dib dib(110, 70);
        dmSetMapping(dib.dc());
        RECT area = {0, 0, px(100), px(60)};
        obDrawTiled(dib.dc(), h, &area, c.placement);
        for (POINT p : c.filled)
            EXPECT_EQ(kRed, dib.pixel(p.x, p.y)) << c.placement << " at " << p.x << "," << p.y;
        for (POINT p : c.empty)
            EXPECT_EQ(kWhite, dib.pixel(p.x, p.y)) << c.placement << " at " << p.x << "," << p.y;
        RECT after;
        obGetRect(h, &after);
        EXPECT_TRUE(geoRectsEqual(&home, &after)) << c.placement;
        obFreeTree(h);
    }
    // An empty box draws nothing (and does not loop).
    MemHandle flat = shape(OBT_RECTANGLE, 0, 0, 0, 20, kRed);
    qmtest::Dib dib(20, 20);
    dmSetMapping(dib.dc());
    RECT area = {0, 0, px(20), px(20)};
    obDrawTiled(dib.dc(), flat, &area, 0);
    EXPECT_EQ(0, dib.count(kRed));
    obFreeTree(flat);
}

// Tiling draws only the copies that can show: a 1-twip tile over a whole
// page (194 million copies) or over the whole 32-bit range fills what the
// clip box shows in bounded work, at every zoom and with a clip inside the
// device; the copies outside the clip are never drawn.
TEST_F(ObDraw, TilingDrawsOnlyTheCopiesThatMeetTheClipBox)
{
    struct Case {
        const char *what;
        int32_t side;   // of the tile, twips
        RECT area;
        int zoom;
        bool fills;   // the copies are large enough to cover every pixel
    } cases[] = {
        {"1-twip tile over a page", 1, {0, 0, 12240, 15840}, 100, false},
        {"1-twip tile over a page at 800 percent", 1, {0, 0, 12240, 15840}, 800, false},
        {"1-twip tile over a page at 10 percent", 1, {0, 0, 12240, 15840}, 10, false},
        {"1-twip tile over the 32-bit range", 1, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 100,
         false},
        {"1-pixel tile over the 32-bit range", 15, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
         100, true},
        {"small tile over the 32-bit range", 45, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 400,
         true},
        {"page-sized tile over the 32-bit range", 12240, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
         10, true},
    };
    for (const Case &c : cases) {
        MemHandle h = obtest::make(OBT_RECTANGLE, 0, 0, c.side, c.side);
        {
            ObLock rec(h);
            rec->fillKind = 1;
            rec->fillColour = kRed;
            rec->penColour = kRed;
            rec->penWidth = 0;
            rec->layer = 1;
        }
        qmtest::Dib dib(120, 90);
        dmSetZoomDC(dib.dc(), c.zoom);
        dmSetMapping(dib.dc());
        // Only the middle of the device may be painted.
        HRGN middle = CreateRectRgn(20, 10, 100, 80);
        SelectClipRgn(dib.dc(), middle);
        DeleteObject(middle);
        obDrawTiled(dib.dc(), h, &c.area, 0);
        if (c.fills) {
            EXPECT_EQ(80 * 70, inBox(dib, kRed, 20, 10, 100, 80)) << c.what;
        }
        EXPECT_EQ(inBox(dib, kRed, 20, 10, 100, 80), dib.count(kRed)) << c.what;
        RECT after;
        obGetRect(h, &after);
        EXPECT_EQ(0, after.left) << c.what;
        EXPECT_EQ(c.side, after.right) << c.what;
        obFreeTree(h);
    }
    dmResetModule();
}

TEST_F(ObDraw, TheMissingPicturePlaceholder)
{
    qmtest::Dib dib(80, 80, RGB(0, 0, 0));
    dmSetMapping(dib.dc());
    RECT r = {px(10), px(10), px(70), px(70)};
    obDrawMissingImage(GetModuleHandleA(nullptr), dib.dc(), &r);
    EXPECT_GT(inBox(dib, kWhite, 12, 12, 30, 30), 300) << "white inside";
    EXPECT_GT(inBox(dib, kGrey, 10, 10, 70, 11), 10) << "a grey dotted top edge";
    EXPECT_LT(inBox(dib, kGrey, 10, 10, 70, 11), 60) << "dotted, not solid";
    EXPECT_GT(inBox(dib, kRed, 30, 30, 50, 50), 8) << "the bitmap in the middle";
    EXPECT_EQ(0, inBox(dib, kRed, 0, 0, 80, 30));
    EXPECT_EQ(RGB(0, 0, 0), dib.pixel(5, 5)) << "nothing outside";
}

// ---- routines of the type modules -----------------------------------------------------------

TEST_F(ObDraw, DCModesAreSetForTheObjectAndPutBack)
{
    qmtest::Dib dib(40, 40);
    dmSetMapping(dib.dc());
    SetBkMode(dib.dc(), TRANSPARENT);
    SetBkColor(dib.dc(), kBlue);
    MemHandle h = shape(OBT_RECTANGLE, 11, 21, 30, 30, kRed);
    ObDCModes saved;
    for (bool xorFlag : {false, true}) {
        obSetFlags(h, OBF_NOTXOR, xorFlag);
        obSetDCModes(dib.dc(), ObLock(h).get(), &saved);
        EXPECT_EQ(xorFlag ? R2_NOTXORPEN : R2_COPYPEN, GetROP2(dib.dc()));
        EXPECT_EQ(OPAQUE, GetBkMode(dib.dc()));
        EXPECT_EQ(kYellow, GetBkColor(dib.dc()));
        obRestoreDCModes(dib.dc(), &saved);
        EXPECT_EQ(R2_COPYPEN, GetROP2(dib.dc()));
        EXPECT_EQ(TRANSPARENT, GetBkMode(dib.dc()));
        EXPECT_EQ(kBlue, GetBkColor(dib.dc()));
    }
    obSetPatternOrigin(dib.dc(), ObLock(h).get());
    POINT org;
    GetBrushOrgEx(dib.dc(), &org);
    EXPECT_EQ(11 % 8, org.x);
    EXPECT_EQ(21 % 8, org.y);
    obFreeTree(h);
}

TEST_F(ObDraw, PolygonBackgroundAndFrame)
{
    MemHandle h = shape(OBT_POLYGON, 0, 0, 10, 10, kRed);
    {
        ObLock r(h);
        r->penColour = kBlue;
        r->penWidth = 45;   // 3 pixels
    }
    POINT square[4] = {{px(10), px(10)}, {px(50), px(10)}, {px(50), px(50)}, {px(10), px(50)}};
    qmtest::Dib dib(60, 60);
    dmSetMapping(dib.dc());
    obFillPolygonBack(dib.dc(), ObLock(h).get(), square, 4);
    EXPECT_EQ(kYellow, dib.pixel(30, 30));
    EXPECT_EQ(0, dib.count(kBlue));
    dib.fill(kWhite);
    obFramePolygon(dib.dc(), ObLock(h).get(), square, 4);
    EXPECT_EQ(kWhite, dib.pixel(30, 30));
    EXPECT_EQ(kBlue, dib.pixel(10, 30));
    EXPECT_EQ(kBlue, dib.pixel(30, 50));
    obFreeTree(h);
}

TEST_F(ObDraw, InvalidatingMarksTheUpdateRectangle)
{
    HWND window = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    ValidateRect(window, nullptr);
    MemHandle h = shape(OBT_RECTANGLE, 100, 100, 140, 140, kRed);
    obInvalidate(window, h);
    RECT dirty;
    ASSERT_TRUE(GetUpdateRect(window, &dirty, FALSE));
    EXPECT_LE(dirty.left, 100);
    EXPECT_GE(dirty.right, 140);
    EXPECT_GT(dirty.left, 90);
    ValidateRect(window, nullptr);
    obInvalidateList(window, h, FALSE);
    EXPECT_TRUE(GetUpdateRect(window, &dirty, FALSE));
    obRedraw(window, h);
    EXPECT_FALSE(GetUpdateRect(window, &dirty, FALSE));
    obFreeTree(h);
    DestroyWindow(window);
}

}  // namespace
