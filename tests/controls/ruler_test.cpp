// The rulers: tick layout and marker list rules as tables, painting checked
// on real pixels, and the mouse gestures (marker and guide drags, new
// markers from the corner button, the context menu) posted whole and then
// pumped.
#include "tests/support/kit.h"
#include "controls/ruler.h"
#include "support/app_frame_globals.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "support/win_menu.h"
#include "support/win_window.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

typedef std::vector<int32_t> Marks;

// ---- tick layout ----------------------------------------------------------------------------

struct PlanCase {
    int32_t p, n;
    bool quarters, subdivisions, half;
};

TEST(RulerTicks, PlanByPixelsPerUnit)
{
    const PlanCase cases[] = {
        {96, 16, true, true, true},     // 100 percent, inches
        {64, 16, true, true, true},     // P / n = 4
        {48, 16, true, false, true},    // P / n = 3: no subdivision ticks
        {16, 16, true, false, true},    // P / 4 = 4
        {12, 16, false, false, true},   // P / 4 = 3: no quarter ticks
        {16, 4, true, true, true},
        {96, 5, false, true, false},    // 5: no half and no quarter ticks
        {15, 5, false, false, false},
        {96, 6, false, true, true},     // even but not a multiple of 4
        {96, 2, false, true, true},
        {1, 16, false, false, true},    // pixel units
        {0, 16, false, false, true},
        {96, 0, false, false, false},   // no subdivisions at all
    };
    for (const PlanCase &c : cases) {
        RulerTickPlan plan = rulTickPlan(c.p, c.n);
        EXPECT_EQ(c.quarters, plan.quarters) << "P " << c.p << " n " << c.n;
        EXPECT_EQ(c.subdivisions, plan.subdivisions) << "P " << c.p << " n " << c.n;
        EXPECT_EQ(c.half, plan.half) << "P " << c.p << " n " << c.n;
    }
}

TEST(RulerTicks, FirstUnitIsTheLastAtOrBeforeTheScroll)
{
    const struct {
        int32_t scroll, p, k0;
    } cases[] = {
        {0, 96, 0}, {95, 96, 0}, {96, 96, 1}, {200, 96, 2}, {-1, 96, -1}, {-96, 96, -1},
        {-97, 96, -2}, {1000000, 1, 1000000}, {5, 0, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.k0, rulFirstUnit(c.scroll, c.p)) << c.scroll << " / " << c.p;
}

std::vector<int32_t> alongOf(const std::vector<RulerLine> &lines, int32_t from, bool highlight)
{
    std::vector<int32_t> out;
    for (const RulerLine &l : lines)
        if (l.from == from && l.highlight == highlight)
            out.push_back(l.along);
    return out;
}

TEST(RulerTicks, LayoutOfAnInchRuler)
{
    std::vector<RulerLine> lines;
    std::vector<RulerLabel> labels;
    rulLayoutTicks(RUL_HORIZONTAL, 96, 16, 0, 200, &lines, &labels);
    // Unit ticks (6..15) at the end of each unit up to the first past the end.
    EXPECT_EQ((std::vector<int32_t>{96, 192, 288}), alongOf(lines, 6, false));
    // Their light edges one pixel before, to 15 on the horizontal ruler.
    EXPECT_EQ((std::vector<int32_t>{95, 191, 287}), alongOf(lines, 6, true));
    for (const RulerLine &l : lines) {
        if (l.highlight) {
            EXPECT_EQ(15, l.to);
        }
    }
    // Half ticks from 7, quarter ticks from 10, subdivisions from 12.
    EXPECT_EQ((std::vector<int32_t>{48, 144, 240}), alongOf(lines, 7, false));
    EXPECT_EQ((std::vector<int32_t>{24, 48, 72, 120, 144, 168, 216, 240, 264}),
              alongOf(lines, 10, false));
    std::vector<int32_t> subs = alongOf(lines, 12, false);
    ASSERT_EQ(45u, subs.size());
    EXPECT_EQ(6, subs[0]);
    EXPECT_EQ(90, subs[14]);
    EXPECT_EQ(102, subs[15]);
    // Numbers 1, 2, 3 just before their ticks.
    ASSERT_EQ(3u, labels.size());
    EXPECT_EQ(95, labels[0].along);
    EXPECT_EQ(1, labels[0].unit);
    EXPECT_EQ(3, labels[2].unit);

    // Scrolled into the second unit: the layout starts at unit 1.
    lines.clear();
    labels.clear();
    rulLayoutTicks(RUL_VERTICAL, 96, 16, 100, 100, &lines, &labels);
    EXPECT_EQ((std::vector<int32_t>{192, 288}), alongOf(lines, 6, false));
    ASSERT_EQ(2u, labels.size());
    EXPECT_EQ(192, labels[0].along);   // the vertical number stands on its tick
    EXPECT_EQ(2, labels[0].unit);
    for (const RulerLine &l : lines) {
        if (l.highlight) {
            EXPECT_EQ(13, l.to);
        }
    }

    // Scrolled to the left of the origin: negative units.
    lines.clear();
    labels.clear();
    rulLayoutTicks(RUL_HORIZONTAL, 96, 5, -150, 100, &lines, &labels);
    EXPECT_EQ((std::vector<int32_t>{-96, 0}), alongOf(lines, 6, false));
    EXPECT_EQ(-1, labels[0].unit);
    EXPECT_TRUE(alongOf(lines, 7, false).empty()) << "no half tick for 5 subdivisions";
}

TEST(RulerTicks, UnitBelowOnePixelDrawsNoTicks)
{
    // A whole number of pixels per unit of 0 would never advance the loops.
    for (int32_t p : {0, -3}) {
        std::vector<RulerLine> lines;
        std::vector<RulerLabel> labels;
        rulLayoutTicks(RUL_HORIZONTAL, p, 16, 37, 500, &lines, &labels);
        EXPECT_TRUE(lines.empty());
        EXPECT_TRUE(labels.empty());
    }
    // One pixel per unit still draws, one tick per pixel.
    std::vector<RulerLine> lines;
    std::vector<RulerLabel> labels;
    rulLayoutTicks(RUL_HORIZONTAL, 1, 16, 0, 50, &lines, &labels);
    EXPECT_EQ(50u, alongOf(lines, 6, false).size());
    EXPECT_EQ(50u, labels.size());
}

// ---- marker list rules ---------------------------------------------------------------------------

struct SetCase {
    const char *what;
    Marks before;
    int index;
    int32_t p, spacing;
    Marks after;
};

TEST(RulerMarkers, SettingAMarker)
{
    const SetCase cases[] = {
        {"two markers: stored and sorted", {100, 500}, 0, 700, 0, {500, 700}},
        {"two markers: the last moved out fills nothing", {0, 100}, 1, 900, 100, {0, 900}},
        {"an inner marker moves", {0, 100, 200, 300}, 1, 250, 0, {0, 200, 250, 300}},
        {"the first passes inner markers: re-sorted", {0, 100, 200, 300}, 0, 150, 0,
         {100, 150, 200, 300}},
        {"the last moved in drops what it passed", {0, 100, 200, 300}, 3, 150, 0, {0, 100, 150}},
        {"the last moved onto an inner one", {0, 100, 200, 300}, 3, 100, 0, {0, 100}},
        {"the last moved out by more than the spacing", {0, 100, 200}, 2, 450, 100,
         {0, 100, 200, 300, 400, 450}},
        {"the fill follows the first marker's grid", {50, 100, 200}, 2, 500, 100,
         {50, 100, 150, 250, 350, 450, 500}},
        {"within the spacing: no fill", {0, 100, 200, 250}, 3, 290, 100, {0, 100, 200, 290}},
        {"the grid refills the old last's place", {0, 100, 200}, 2, 280, 100, {0, 100, 200, 280}},
        {"no spacing: no fill", {0, 100, 200}, 2, 900, 0, {0, 100, 900}},
        {"onto another marker: the duplicate goes", {0, 100, 200, 300}, 1, 200, 0,
         {0, 200, 300}},
        {"negative positions sort signed", {-300, -100, 200}, 1, -400, 0, {-400, -300, 200}},
        {"an index outside the list changes nothing", {0, 100}, 5, 50, 0, {0, 100}},
    };
    for (const SetCase &c : cases) {
        Marks m = c.before;
        rulSetMarkerAt(m, c.index, c.p, c.spacing);
        EXPECT_EQ(c.after, m) << c.what;
    }
}

TEST(RulerMarkers, GapFillAndSorting)
{
    Marks m = {0, 1000};
    rulFillGap(m, 300);
    EXPECT_EQ((Marks{0, 300, 600, 900, 1000}), m);
    m = {0, 100, 1000};
    rulFillGap(m, 0);
    EXPECT_EQ((Marks{0, 100, 1000}), m);
    m = {700};
    rulFillGap(m, 100);
    EXPECT_EQ((Marks{700}), m);
    // A gap far from the first marker: only the grid points inside it.
    m = {0, 1000000, 1000250};
    rulFillGap(m, 100);
    EXPECT_EQ((Marks{0, 1000000, 1000100, 1000200, 1000250}), m);

    m = {5, -2, 5, 9, -2, 0};
    rulSortMarkers(m);
    EXPECT_EQ((Marks{-2, 0, 5, 9}), m);
}

TEST(RulerMarkers, HitTest)
{
    const Marks m = {1000, 2000, 3000};
    const struct {
        int32_t pos;
        int hit;
    } cases[] = {
        {1000, 0}, {1075, 0}, {1076, -1}, {999, -1},         // first: from it to + 75
        {2925, 2}, {3000, 2}, {2924, -1}, {3001, -1},        // last: from - 75 to it
        {1960, 1}, {2040, 1}, {1959, -1}, {2041, -1},        // inner: 40 each side
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.hit, rulHitMarker(m, c.pos, 75, 40)) << c.pos;
    EXPECT_EQ(-1, rulHitMarker(Marks{1000}, 1000, 75, 40)) << "one marker is never hit";
    EXPECT_EQ(-1, rulHitMarker(Marks{}, 0, 75, 40));
    EXPECT_EQ(0, rulHitMarker(Marks{0, 50, 3000}, 40, 75, 40)) << "the first marker wins";
}

TEST(RulerMarkers, DragLimits)
{
    const Marks dev = {96, 192, 288};
    RulerDragLimits l = rulDragLimits(dev, 1, false);
    EXPECT_EQ(96, rulClampDrag(&l, 10));
    EXPECT_EQ(288, rulClampDrag(&l, 400));
    EXPECT_EQ(200, rulClampDrag(&l, 200));
    l = rulDragLimits(dev, 0, false);   // the first has no minimum
    EXPECT_EQ(10, rulClampDrag(&l, 10));
    EXPECT_EQ(288, rulClampDrag(&l, 400));
    l = rulDragLimits(dev, 2, false);   // the last has no maximum
    EXPECT_EQ(96, rulClampDrag(&l, 10));
    EXPECT_EQ(400, rulClampDrag(&l, 400));
    l = rulDragLimits(Marks{96}, 0, false);
    EXPECT_EQ(-50, rulClampDrag(&l, -50));

    // New-marker mode, 3 or more: the second marker's position holds as a
    // minimum once it has been reached.
    l = rulDragLimits(Marks{0, 96, 192, 288}, 0, true);
    EXPECT_EQ(50, rulClampDrag(&l, 50));
    EXPECT_EQ(120, rulClampDrag(&l, 120));
    EXPECT_EQ(96, rulClampDrag(&l, 50));
    EXPECT_EQ(288, rulClampDrag(&l, 999));
    // New-marker mode with 2: neither limit.
    l = rulDragLimits(Marks{0, 96}, 0, true);
    EXPECT_EQ(500, rulClampDrag(&l, 500));
    EXPECT_EQ(-5, rulClampDrag(&l, -5));
}

TEST(RulerMarkers, Shapes)
{
    std::vector<RulerRun> inner = rulMarkerRuns(RUL_MARKER_INNER, 50);
    ASSERT_EQ(7u, inner.size());
    const int widths[7] = {0, 1, 2, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(5 + i, inner[i].across);
        EXPECT_EQ(50 - widths[i], inner[i].from);
        EXPECT_EQ(50 + widths[i], inner[i].to);
    }
    std::vector<RulerRun> first = rulMarkerRuns(RUL_MARKER_FIRST, 50);
    std::vector<RulerRun> last = rulMarkerRuns(RUL_MARKER_LAST, 50);
    ASSERT_EQ(11u, first.size());
    EXPECT_EQ(2, first.front().across);
    EXPECT_EQ(12, first.back().across);
    EXPECT_EQ(50, first[5].from);   // deepest at 7, pointing to larger positions
    EXPECT_EQ(55, first[5].to);
    EXPECT_EQ(45, last[5].from);
    EXPECT_EQ(50, last[5].to);
    EXPECT_EQ(50, first[0].to);
    EXPECT_EQ(RUL_MARKER_FIRST, rulMarkerKind(0, 1));
    EXPECT_EQ(RUL_MARKER_LAST, rulMarkerKind(2, 3));
    EXPECT_EQ(RUL_MARKER_INNER, rulMarkerKind(1, 3));
}

// ---- windows ------------------------------------------------------------------------------------

// What the frame and the workspace receive.
struct Got {
    HWND to;
    UINT id;
    LPARAM lParam;
};
std::vector<Got> g_got;

const char kHostClass[] = "qmtest_rulhost";

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND) {
        g_got.push_back({hwnd, LOWORD(wParam), lParam});
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

LPARAM at(int x, int y) { return MAKELPARAM((WORD)(int16_t)x, (WORD)(int16_t)y); }

// Menus tracked through the one helper: recorded and answered.
std::vector<std::string> g_menuTexts;
std::vector<UINT> g_menuIds;
UINT g_menuAnswer = 0;

UINT answerMenu(HMENU menu, UINT, int, int, HWND)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        GetMenuStringA(menu, (UINT)i, text, sizeof(text), MF_BYPOSITION);
        g_menuTexts.push_back(text);
        g_menuIds.push_back(GetMenuItemID(menu, i));
    }
    return g_menuAnswer;
}

// A frame 600 by 400 with a pair of rulers over its client rectangle
// (0, 0, 400, 300) and a workspace below and right of them, at 96 pixels
// to the inch and 100 percent.
class Rulers : public ::testing::Test {
protected:
    void SetUp() override
    {
        HINSTANCE inst = GetModuleHandleA(nullptr);
        ASSERT_TRUE(rulRegisterClasses(inst));
        WNDCLASSA wc = {};
        if (!GetClassInfoA(inst, kHostClass, &wc)) {
            wc.lpfnWndProc = hostProc;
            wc.hInstance = inst;
            wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
            wc.lpszClassName = kHostClass;
            ASSERT_TRUE(RegisterClassA(&wc));
        }
        dmResetModule();
        rulResetModule();
        g_got.clear();
        g_menuTexts.clear();
        g_menuIds.clear();
        g_menuAnswer = 0;
        winSetTrackPopupHook(answerMenu);
        frame_ = CreateWindowA(kHostClass, "ruler frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                               50, 50, 600, 400, nullptr, nullptr, inst, nullptr);
        ASSERT_TRUE(frame_ != nullptr);
        appSetFrameWindow(frame_);
        workspace_ = CreateWindowA(kHostClass, "", WS_CHILD | WS_VISIBLE, 16, 16, 384, 284, frame_,
                                   nullptr, inst, nullptr);
        ASSERT_TRUE(workspace_ != nullptr);
        font_ = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
        RECT r = {0, 0, 400, 300};
        corner_ = rulCreateRulers(frame_, &r, font_, FALSE, 0, TRUE);
        ASSERT_TRUE(corner_ != nullptr);
        rulSetNotifyWindow(corner_, workspace_);
        ShowWindow(frame_, SW_SHOW);
        rulShow(corner_, nullptr, TRUE);
        pump();
        h_ = rulGetRuler(corner_, RUL_HORIZONTAL);
        v_ = rulGetRuler(corner_, RUL_VERTICAL);
        ASSERT_EQ(96, dmGetUnitPixelsX()) << "the tests count on a 96-dpi screen";
    }
    void TearDown() override
    {
        pump();
        winSetTrackPopupHook(nullptr);
        appSetFrameWindow(nullptr);
        if (frame_)
            DestroyWindow(frame_);
        pump();
        dmResetModule();
        rulResetModule();
    }

    // Gives a ruler a list of logical positions.
    void setMarks(uint16_t which, const Marks &m, int32_t spacing = 0)
    {
        MemHandle h = utHandleFromBytes(m.data(), (uint32_t)(m.size() * sizeof(int32_t)));
        ASSERT_EQ(1, rulSetMarkers(corner_, which, h, (int32_t)m.size(), spacing));
    }
    Marks marks(uint16_t which)
    {
        MemHandle h = 0;
        int32_t n = 0;
        EXPECT_EQ(1, rulGetMarkers(corner_, which, &h, &n));
        Marks out;
        MemLock<int32_t> p(h);
        for (int32_t i = 0; p && i < n; ++i)
            out.push_back(p[i]);
        return out;
    }
    std::vector<Got> got(UINT id)
    {
        std::vector<Got> out;
        for (const Got &g : g_got)
            if (g.id == id)
                out.push_back(g);
        return out;
    }
    // Posts a left-button drag through the points and releases at the last.
    void drag(HWND w, std::vector<POINT> pts)
    {
        PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, at(pts[0].x, pts[0].y));
        for (size_t i = 1; i < pts.size(); ++i)
            PostMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, at(pts[i].x, pts[i].y));
        PostMessageA(w, WM_LBUTTONUP, 0, at(pts.back().x, pts.back().y));
        pump();
    }
    RulerRecord record(HWND ruler)
    {
        RulerRecord r = {};
        EXPECT_TRUE(rulGetRecord(ruler, &r));
        return r;
    }

    HWND frame_ = nullptr, workspace_ = nullptr, corner_ = nullptr, h_ = nullptr, v_ = nullptr;
    HFONT font_ = nullptr;
};

// A child's rectangle in its parent as "left top right bottom".
std::string windowIn(HWND parent, HWND child)
{
    RECT r;
    winGetChildRect(parent, child, &r);
    char text[64];
    wsprintfA(text, "%d %d %d %d", (int)r.left, (int)r.top, (int)r.right, (int)r.bottom);
    return text;
}

TEST_F(Rulers, CreationLaysOutThreeChildren)
{
    EXPECT_EQ(RUL_CORNER_ID, GetDlgCtrlID(corner_));
    EXPECT_TRUE(winIsWindowOfClass(corner_, "qm_rulerbtn", nullptr));
    EXPECT_TRUE(winIsWindowOfClass(h_, "qm_ruler", nullptr));
    EXPECT_TRUE(winIsWindowOfClass(v_, "qm_ruler", nullptr));
    EXPECT_EQ("0 0 16 16", windowIn(frame_, corner_));
    EXPECT_EQ("16 0 400 16", windowIn(frame_, h_));
    EXPECT_EQ("0 16 16 300", windowIn(frame_, v_));
    EXPECT_TRUE(GetWindowLongA(corner_, GWL_STYLE) & WS_CLIPSIBLINGS);

    RulerRecord hr = record(h_), vr = record(v_);
    EXPECT_EQ(RUL_HORIZONTAL, hr.orientation);
    EXPECT_EQ(RUL_VERTICAL, vr.orientation);
    EXPECT_EQ(RUL_NO_MARK, hr.track);
    EXPECT_EQ(0, hr.snap);
    EXPECT_EQ(16, hr.subdivisions) << "subdivisions 0 draw 16";
    EXPECT_EQ(16, vr.subdivisions);
    EXPECT_EQ(qmHandleToU32(workspace_), vr.notify);
    EXPECT_EQ(qmHandleToU32(font_), (uint32_t)GetWindowLongA(h_, 0));
    EXPECT_EQ(0, rulGetAddMarkers(corner_, RUL_HORIZONTAL));
    EXPECT_EQ(1, rulGetAddGuides(corner_, RUL_HORIZONTAL));
    EXPECT_EQ(1, rulGetAddGuides(corner_, RUL_VERTICAL));
    const RulerGeometry &g = rulGetMarkerGeometry();
    EXPECT_EQ(14, g.bandDepth);
    EXPECT_EQ(3, g.innerHalfWidth);
    EXPECT_EQ(5, g.endDepth);
    EXPECT_EQ(40, g.innerTolerance);
    EXPECT_EQ(75, g.endTolerance) << "5 pixels at 100 percent";

    // The geometry follows the mapping current when a pair is made.
    dmSetZoom(nullptr, 200);
    RECT r = {0, 0, 200, 200};
    HWND second = rulCreateRulers(frame_, &r, font_, TRUE, 8, FALSE);
    ASSERT_TRUE(second != nullptr);
    EXPECT_EQ(38, rulGetMarkerGeometry().endTolerance);
    EXPECT_EQ(1, record(rulGetRuler(second, RUL_VERTICAL)).snap);
    EXPECT_EQ(8, record(rulGetRuler(second, RUL_VERTICAL)).subdivisions);
    EXPECT_EQ(0, rulGetAddGuides(second, RUL_HORIZONTAL));
}

TEST_F(Rulers, FailedCreationLeavesNoWindow)
{
    qmtest::BoxRecorder boxes;
    RECT r = {0, 0, 200, 200};
    utFailNextAllocs(1);   // the horizontal ruler gets no record
    HWND corner = rulCreateRulers(frame_, &r, font_, FALSE, 0, TRUE);
    EXPECT_EQ(nullptr, corner);
    ASSERT_FALSE(boxes.boxes().empty());
    EXPECT_EQ("Can not create ruler windows", boxes.last().text);
    EXPECT_EQ("Error", boxes.last().caption);
    int rulers = 0;
    for (HWND c = GetWindow(frame_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (winIsWindowOfClass(c, "qm_ruler", nullptr) ||
            winIsWindowOfClass(c, "qm_rulerbtn", nullptr))
            ++rulers;
    EXPECT_EQ(3, rulers) << "only the fixture's pair";
}

TEST_F(Rulers, SnapAndMissingWindows)
{
    EXPECT_EQ(1, rulSetSnap(corner_, TRUE, 0));
    EXPECT_EQ(0, record(h_).snap) << "no subdivisions: no snapping";
    EXPECT_EQ(16, record(h_).subdivisions);
    rulSetSnap(corner_, TRUE, 4);
    EXPECT_EQ(1, record(v_).snap);
    EXPECT_EQ(4, record(v_).subdivisions);

    // Operations on anything but a corner button answer 0 and do nothing.
    MemHandle list = 0;
    int32_t n = 0;
    for (HWND w : {(HWND) nullptr, workspace_, h_}) {
        EXPECT_EQ(0, rulSetSnap(w, TRUE, 4));
        EXPECT_EQ(0, rulGetMarkers(w, RUL_HORIZONTAL, &list, &n));
        EXPECT_EQ(0, rulClearMarkers(w, RUL_HORIZONTAL));
        EXPECT_EQ(0, rulSetAddMarkers(w, RUL_HORIZONTAL, TRUE));
        EXPECT_EQ(0, rulSetEndsFixed(w, RUL_HORIZONTAL, TRUE));
        EXPECT_EQ(0, rulTrack(w, at(10, 10)));
        EXPECT_EQ(0, rulShow(w, nullptr, TRUE));
    }
    EXPECT_EQ(0, rulGetMarkers(corner_, 3, &list, &n)) << "which is 1 or 2";
    EXPECT_EQ(0, rulSetMarkers(nullptr, RUL_HORIZONTAL, 0, 0, 0));
}

TEST_F(Rulers, MarkerListOwnership)
{
    long live = qmtest::liveHandles();
    setMarks(RUL_HORIZONTAL, {100, 200, 300}, 50);
    EXPECT_EQ((Marks{100, 200, 300}), marks(RUL_HORIZONTAL));
    EXPECT_EQ(50, record(h_).spacing);

    // A count beyond the block is cut to what the block holds.
    MemHandle shortList = utHandleFromBytes("\x01\0\0\0\x02\0\0\0", 8);
    EXPECT_EQ(1, rulSetMarkers(corner_, RUL_HORIZONTAL, shortList, 1000, 0));
    EXPECT_EQ((Marks{1, 2}), marks(RUL_HORIZONTAL));
    EXPECT_EQ(live + 1, qmtest::liveHandles()) << "the old list was freed";

    // The ruler's own list handed back stays alive.
    MemHandle own = 0;
    int32_t n = 0;
    rulGetMarkers(corner_, RUL_HORIZONTAL, &own, &n);
    EXPECT_EQ(shortList, own);
    EXPECT_EQ(1, rulSetMarkers(corner_, RUL_HORIZONTAL, own, n, 0));
    EXPECT_TRUE(utIsLiveHandle(own));
    EXPECT_EQ((Marks{1, 2}), marks(RUL_HORIZONTAL));

    EXPECT_EQ(1, rulClearMarkers(corner_, RUL_HORIZONTAL));
    EXPECT_TRUE(marks(RUL_HORIZONTAL).empty());
    EXPECT_EQ(live, qmtest::liveHandles());

    // Destroying the rulers frees their records and lists.
    setMarks(RUL_VERTICAL, {5, 6});
    DestroyWindow(corner_);
    DestroyWindow(h_);
    DestroyWindow(v_);
    EXPECT_EQ(live - 2, qmtest::liveHandles());
}

TEST_F(Rulers, ShowMoveAndFlags)
{
    RECT r = {10, 20, 310, 220};
    rulShow(corner_, &r, FALSE);
    EXPECT_FALSE(IsWindowVisible(h_));
    EXPECT_FALSE(IsWindowVisible(corner_));
    EXPECT_EQ("26 20 310 36", windowIn(frame_, h_));
    EXPECT_EQ("10 36 26 220", windowIn(frame_, v_));
    EXPECT_EQ("10 20 26 36", windowIn(frame_, corner_));
    rulShow(corner_, nullptr, TRUE);
    EXPECT_TRUE(IsWindowVisible(v_));

    // Moving one ruler sends its tracking mark away first.
    rulTrack(corner_, at(40, 50));
    EXPECT_EQ(40, record(h_).track);
    EXPECT_EQ(50, record(v_).track);
    RECT r2 = {0, 0, 300, 300};
    rulMove(corner_, &r2, RUL_HORIZONTAL);
    EXPECT_EQ(RUL_MARK_AWAY, record(h_).track);
    EXPECT_EQ(50, record(v_).track);
    EXPECT_EQ("16 0 300 16", windowIn(frame_, h_));
    EXPECT_EQ("10 36 26 220", windowIn(frame_, v_)) << "the vertical ruler stayed";
    rulShow(corner_, nullptr, TRUE);
    EXPECT_EQ(RUL_NO_MARK, record(h_).track);
    EXPECT_EQ(RUL_NO_MARK, record(v_).track);

    rulSetAddMarkers(corner_, RUL_VERTICAL, TRUE);
    EXPECT_EQ(1, rulGetAddMarkers(corner_, RUL_VERTICAL));
    EXPECT_EQ(0, rulGetAddMarkers(corner_, RUL_HORIZONTAL));
    rulSetEndsFixed(corner_, RUL_HORIZONTAL, FALSE);
    EXPECT_EQ(RUL_ENDS_FIXED, record(h_).options);
    rulSetEndsFixed(corner_, RUL_HORIZONTAL, TRUE);
    EXPECT_EQ(0, record(h_).options);
}

TEST_F(Rulers, TrackingMarkSnaps)
{
    rulSetSnap(corner_, TRUE, 4);   // a grid of 24 pixels
    rulTrack(corner_, at(30, 40));
    EXPECT_EQ(24, record(h_).track);
    EXPECT_EQ(48, record(v_).track);
    rulSetSnap(corner_, FALSE, 4);
    rulTrack(corner_, at(30, -7));
    EXPECT_EQ(30, record(h_).track);
    EXPECT_EQ(-7, record(v_).track);
}

// ---- pixels -------------------------------------------------------------------------------------

class RulerPixels : public Rulers {
protected:
    void SetUp() override
    {
        Rulers::SetUp();
        face_ = GetSysColor(COLOR_BTNFACE);
        shadow_ = GetSysColor(COLOR_BTNSHADOW);
        light_ = GetSysColor(COLOR_BTNHIGHLIGHT);
    }
    // Column x of the horizontal ruler (rows from..to inclusive) all in one colour.
    static bool column(const qmtest::Dib &d, int x, int from, int to, COLORREF c)
    {
        for (int y = from; y <= to; ++y)
            if (d.pixel(x, y) != c)
                return false;
        return true;
    }
    static bool row(const qmtest::Dib &d, int y, int from, int to, COLORREF c)
    {
        for (int x = from; x <= to; ++x)
            if (d.pixel(x, y) != c)
                return false;
        return true;
    }
    COLORREF face_ = 0, shadow_ = 0, light_ = 0;
};

TEST_F(RulerPixels, TicksAtOneHundredPercent)
{
    qmtest::Dib d(384, 16, RGB(1, 2, 3));
    rulPaint(h_, d.dc());
    EXPECT_TRUE(column(d, 96, 6, 14, shadow_)) << "unit tick";
    EXPECT_EQ(face_, d.pixel(96, 5));
    EXPECT_TRUE(column(d, 95, 6, 13, light_)) << "its light edge";
    EXPECT_TRUE(column(d, 48, 7, 13, shadow_)) << "half tick";
    EXPECT_EQ(face_, d.pixel(48, 6));
    EXPECT_TRUE(column(d, 24, 10, 13, shadow_)) << "quarter tick";
    EXPECT_EQ(face_, d.pixel(24, 9));
    EXPECT_TRUE(column(d, 6, 12, 13, shadow_)) << "subdivision tick";
    EXPECT_EQ(face_, d.pixel(6, 11));
    EXPECT_EQ(face_, d.pixel(7, 13)) << "nothing between subdivisions";
    // The border: shadow along the inner edge, light along the outer one.
    EXPECT_TRUE(row(d, 15, 0, 383, shadow_));
    EXPECT_TRUE(row(d, 14, 2, 383, shadow_));
    EXPECT_TRUE(row(d, 0, 1, 383, light_));
    EXPECT_TRUE(column(d, 1, 1, 13, light_));
    EXPECT_TRUE(column(d, 0, 0, 14, shadow_));
    EXPECT_EQ(0, d.count(RGB(1, 2, 3))) << "the whole client is painted";
}

TEST_F(RulerPixels, TicksFollowZoomAndScroll)
{
    {
        dmSetZoom(nullptr, 50);   // 48 pixels per inch: P / 16 = 3
        qmtest::Dib d(384, 16);
        rulPaint(h_, d.dc());
        EXPECT_TRUE(column(d, 48, 6, 14, shadow_));
        EXPECT_TRUE(column(d, 12, 10, 13, shadow_)) << "quarter ticks stay";
        EXPECT_EQ(face_, d.pixel(3, 13)) << "no subdivision ticks";
        EXPECT_EQ(face_, d.pixel(96 + 3, 13));
    }
    {
        dmSetZoom(nullptr, 200);
        qmtest::Dib d(384, 16);
        rulPaint(h_, d.dc());
        EXPECT_TRUE(column(d, 192, 6, 14, shadow_));
        EXPECT_EQ(face_, d.pixel(96, 6)) << "a half tick, no unit tick, at 96";
        EXPECT_TRUE(column(d, 12, 12, 13, shadow_)) << "subdivisions of 12 pixels";
    }
    {
        dmSetZoom(nullptr, 100);
        dmSetScrollPos(50, 30);
        qmtest::Dib d(384, 16);
        rulPaint(h_, d.dc());
        EXPECT_TRUE(column(d, 46, 6, 14, shadow_)) << "unit 1 scrolled to 96 - 50";
        EXPECT_TRUE(column(d, 142, 6, 14, shadow_));
        EXPECT_TRUE(column(d, 70, 10, 13, shadow_));
        qmtest::Dib dv(16, 284);
        rulPaint(v_, dv.dc());
        for (int x = 6; x <= 14; ++x)
            EXPECT_EQ(shadow_, dv.pixel(x, 66)) << "vertical unit tick at 96 - 30, x " << x;
        for (int x = 6; x <= 12; ++x)
            EXPECT_EQ(light_, dv.pixel(x, 65)) << x;
        EXPECT_EQ(shadow_, dv.pixel(12, 72 - 30)) << "vertical quarter tick";
    }
}

TEST_F(RulerPixels, UnitBelowOnePixelPaintsWithoutTicks)
{
    dmSetUnits(nullptr, DM_UNIT_CM);
    dmSetZoom(nullptr, 1);
    ASSERT_EQ(0, dmGetUnitPixelsX());
    qmtest::Dib d(384, 16);
    rulPaint(h_, d.dc());   // would never end with a step of 0
    EXPECT_TRUE(row(d, 8, 2, 383, face_)) << "no ticks, no numbers";
    EXPECT_TRUE(row(d, 15, 0, 383, shadow_));
}

TEST_F(RulerPixels, Markers)
{
    setMarks(RUL_HORIZONTAL, {1440, 2880, 4320});   // 96, 192, 288 pixels
    const COLORREF navy = RGB(0, 0, 128), olive = RGB(128, 128, 0);
    {
        qmtest::Dib d(384, 16);
        rulPaint(h_, d.dc());
        EXPECT_TRUE(row(d, 7, 96, 101, navy)) << "first marker points right";
        EXPECT_NE(navy, d.pixel(102, 7));
        EXPECT_NE(navy, d.pixel(95, 7));
        EXPECT_EQ(navy, d.pixel(96, 2));
        EXPECT_NE(navy, d.pixel(97, 2));
        EXPECT_TRUE(row(d, 8, 189, 195, navy)) << "inner diamond";
        EXPECT_NE(navy, d.pixel(188, 8));
        EXPECT_EQ(navy, d.pixel(192, 5));
        EXPECT_NE(navy, d.pixel(192, 4));
        EXPECT_TRUE(row(d, 7, 283, 288, navy)) << "last marker points left";
        EXPECT_NE(navy, d.pixel(289, 7));
    }
    rulSetEndsFixed(corner_, RUL_HORIZONTAL, FALSE);
    {
        qmtest::Dib d(384, 16);
        rulPaint(h_, d.dc());
        EXPECT_TRUE(row(d, 7, 96, 101, olive)) << "fixed ends are olive";
        EXPECT_TRUE(row(d, 7, 283, 288, olive));
        EXPECT_TRUE(row(d, 8, 189, 195, navy));
    }
    // One marker: only the first triangle.
    setMarks(RUL_HORIZONTAL, {2880});
    rulSetEndsFixed(corner_, RUL_HORIZONTAL, TRUE);
    {
        qmtest::Dib d(384, 16);
        rulPaint(h_, d.dc());
        EXPECT_TRUE(row(d, 7, 192, 197, navy));
        EXPECT_EQ(11, d.count(navy, RECT{192, 0, 193, 16}));
        EXPECT_EQ(36, d.count(navy));
    }
    // The vertical ruler's markers run down it.
    setMarks(RUL_VERTICAL, {1440, 2880, 4320});
    qmtest::Dib dv(16, 284);
    rulPaint(v_, dv.dc());
    for (int y = 189; y <= 195; ++y)
        EXPECT_EQ(navy, dv.pixel(8, y)) << y;
    EXPECT_NE(navy, dv.pixel(8, 188));
}

TEST_F(RulerPixels, FeedbackDrawnTwiceIsGone)
{
    qmtest::Dib d(300, 40);
    rulPaint(h_, d.dc());
    qmtest::Dib before(300, 40);
    rulPaint(h_, before.dc());
    const struct {
        const char *what;
        void (*draw)(HDC);
    } cases[] = {
        {"tracking mark", [](HDC dc) { rulDrawTrackMark(dc, RUL_HORIZONTAL, 150); }},
        {"vertical tracking mark", [](HDC dc) { rulDrawTrackMark(dc, RUL_VERTICAL, 10); }},
        {"inner marker", [](HDC dc) { rulDrawMarkerImage(dc, RUL_HORIZONTAL, RUL_MARKER_INNER, 60); }},
        {"last marker", [](HDC dc) { rulDrawMarkerImage(dc, RUL_VERTICAL, RUL_MARKER_LAST, 9); }},
        {"guide", [](HDC dc) { rulDrawGuideImage(dc, RUL_HORIZONTAL, 33); }},
        {"workspace line", [](HDC dc) { rulDrawWorkspaceLine(dc, RUL_HORIZONTAL, 77, 40); }},
        {"vertical workspace line", [](HDC dc) { rulDrawWorkspaceLine(dc, RUL_VERTICAL, 20, 300); }},
    };
    for (const auto &c : cases) {
        c.draw(d.dc());
        EXPECT_GT(d.diff(before), 0) << c.what;
        c.draw(d.dc());
        EXPECT_EQ(0, d.diff(before)) << c.what;
    }
    // The tracking mark stands from 1 to 13 across the horizontal ruler.
    rulDrawTrackMark(d.dc(), RUL_HORIZONTAL, 150);
    int changed = 0;
    for (int y = 0; y < 16; ++y)
        changed += d.pixel(150, y) != before.pixel(150, y);
    EXPECT_EQ(13, changed);
    EXPECT_EQ(d.pixel(150, 0), before.pixel(150, 0));
    EXPECT_EQ(d.pixel(149, 5), before.pixel(149, 5));
}

TEST_F(RulerPixels, CornerPictureShowsTheAddMarkersFlag)
{
    qmtest::Dib guides(16, 16), markers(16, 16);
    rulPaintCorner(corner_, guides.dc());
    rulSetAddMarkers(corner_, RUL_HORIZONTAL, TRUE);
    rulPaintCorner(corner_, markers.dc());
    EXPECT_GT(guides.diff(markers), 0);
    EXPECT_GT(markers.count(RGB(0, 0, 128)), 0) << "the marker picture";
    EXPECT_GT(guides.count(GetSysColor(COLOR_BTNFACE)), 0) << "greys mapped to the face";
}

TEST_F(RulerPixels, AnyOtherWindowPaintsNothing)
{
    qmtest::Dib d(50, 16, RGB(9, 9, 9));
    rulPaint(workspace_, d.dc());
    EXPECT_EQ(50 * 16, d.count(RGB(9, 9, 9)));
}

// ---- mouse ---------------------------------------------------------------------------------------

TEST_F(Rulers, DraggingAnInnerMarker)
{
    setMarks(RUL_HORIZONTAL, {1440, 2880, 4320});
    drag(h_, {{192, 8}, {220, 8}, {240, 8}});
    EXPECT_EQ((Marks{1440, 3600, 4320}), marks(RUL_HORIZONTAL));
    std::vector<Got> g = got(RUL_CMD_HMARKERS);
    ASSERT_EQ(1u, g.size());
    EXPECT_EQ(workspace_, g[0].to);
    EXPECT_EQ(nullptr, GetCapture());

    // Held inside the first and last markers.
    g_got.clear();
    drag(h_, {{240, 8}, {400, 8}});
    EXPECT_EQ((Marks{1440, 4320}), marks(RUL_HORIZONTAL)) << "stopped on the last, merged with it";
    EXPECT_EQ(1u, got(RUL_CMD_HMARKERS).size());

    // A press without a move changes nothing and reports nothing.
    setMarks(RUL_HORIZONTAL, {1440, 2880, 4320});
    g_got.clear();
    drag(h_, {{192, 8}});
    EXPECT_EQ((Marks{1440, 2880, 4320}), marks(RUL_HORIZONTAL));
    EXPECT_TRUE(g_got.empty());
    // Nor does a press away from every marker.
    drag(h_, {{150, 8}, {170, 8}});
    EXPECT_EQ((Marks{1440, 2880, 4320}), marks(RUL_HORIZONTAL));
    EXPECT_TRUE(g_got.empty());
}

TEST_F(Rulers, DraggingEndMarkers)
{
    // The last of 3 or more moved in drops the inner markers it passed.
    setMarks(RUL_HORIZONTAL, {1440, 2880, 3600, 4320});
    drag(h_, {{288, 8}, {200, 8}, {150, 8}});
    EXPECT_EQ((Marks{1440, 2250}), marks(RUL_HORIZONTAL));

    // The first dragged past inner markers: re-sorted.
    setMarks(RUL_HORIZONTAL, {1440, 2880, 4320});
    drag(h_, {{97, 8}, {250, 8}});
    EXPECT_EQ((Marks{2880, 3750, 4320}), marks(RUL_HORIZONTAL));

    // The last moved out by more than the spacing: the first marker's grid
    // fills the gap.
    setMarks(RUL_HORIZONTAL, {1440, 2880, 4320}, 1440);
    drag(h_, {{287, 8}, {480, 8}});
    EXPECT_EQ((Marks{1440, 2880, 4320, 5760, 7200}), marks(RUL_HORIZONTAL));

    // Fixed ends do not move.
    g_got.clear();
    setMarks(RUL_HORIZONTAL, {1440, 2880, 4320});
    rulSetEndsFixed(corner_, RUL_HORIZONTAL, FALSE);
    drag(h_, {{96, 8}, {150, 8}});
    drag(h_, {{288, 8}, {250, 8}});
    EXPECT_EQ((Marks{1440, 2880, 4320}), marks(RUL_HORIZONTAL));
    EXPECT_TRUE(g_got.empty());
    // A list of one marker cannot be dragged.
    rulSetEndsFixed(corner_, RUL_HORIZONTAL, TRUE);
    setMarks(RUL_HORIZONTAL, {1440});
    drag(h_, {{96, 8}, {150, 8}});
    EXPECT_EQ((Marks{1440}), marks(RUL_HORIZONTAL));
}

TEST_F(Rulers, DraggingOnTheVerticalRulerSnaps)
{
    rulSetSnap(corner_, TRUE, 4);
    setMarks(RUL_VERTICAL, {1440, 2880, 4320});
    drag(v_, {{8, 192}, {8, 205}, {8, 230}});   // 230 snaps to 240
    EXPECT_EQ((Marks{1440, 3600, 4320}), marks(RUL_VERTICAL));
    ASSERT_EQ(1u, got(RUL_CMD_VMARKERS).size());
    EXPECT_TRUE(got(RUL_CMD_HMARKERS).empty());
}

TEST_F(Rulers, CursorOverMarkers)
{
    setMarks(RUL_HORIZONTAL, {1440, 2880, 4320});
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW), we = LoadCursorA(nullptr, IDC_SIZEWE);
    SetCursor(arrow);
    SendMessageA(h_, WM_MOUSEMOVE, 0, at(193, 8));
    EXPECT_EQ(we, GetCursor());
    SendMessageA(h_, WM_MOUSEMOVE, 0, at(150, 8));
    EXPECT_EQ(arrow, GetCursor());
    rulSetEndsFixed(corner_, RUL_HORIZONTAL, FALSE);
    SendMessageA(h_, WM_MOUSEMOVE, 0, at(97, 8));
    EXPECT_EQ(arrow, GetCursor()) << "a fixed end is not movable";
    setMarks(RUL_VERTICAL, {1440, 2880, 4320});
    SendMessageA(v_, WM_MOUSEMOVE, 0, at(8, 190));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_SIZENS), GetCursor());
}

TEST_F(Rulers, NewMarkerFromTheCornerButton)
{
    rulSetAddMarkers(corner_, RUL_HORIZONTAL, TRUE);
    setMarks(RUL_HORIZONTAL, {1440, 2880, 4320});
    // Out of the corner to the right, then along the ruler (the corner is
    // 16 pixels left of it).
    drag(corner_, {{8, 8}, {20, 8}, {100, 8}, {166, 8}});
    EXPECT_EQ((Marks{1440, 2250, 2880, 4320}), marks(RUL_HORIZONTAL));
    EXPECT_EQ(1u, got(RUL_CMD_HMARKERS).size());
    EXPECT_TRUE(got(RUL_CMD_CORNER).empty());
    EXPECT_EQ(nullptr, GetCapture());

    // Once past the second marker, it cannot go back before it.
    setMarks(RUL_HORIZONTAL, {1440, 2880, 4320});
    drag(corner_, {{8, 8}, {20, 8}, {166, 8}, {40, 8}});
    EXPECT_EQ((Marks{1440, 2880, 4320}), marks(RUL_HORIZONTAL)) << "held on the second marker";

    // Dropped before the second marker: the list is as it was, unreported.
    g_got.clear();
    setMarks(RUL_HORIZONTAL, {1440, 2880, 4320});
    drag(corner_, {{8, 8}, {20, 8}, {60, 8}});
    EXPECT_EQ((Marks{1440, 2880, 4320}), marks(RUL_HORIZONTAL));
    EXPECT_TRUE(g_got.empty());

    // Not moved along the ruler at all: nothing stays behind either.
    drag(corner_, {{8, 8}, {16, 8}});
    EXPECT_EQ((Marks{1440, 2880, 4320}), marks(RUL_HORIZONTAL));
    EXPECT_TRUE(g_got.empty());

    // With one marker in the list, the new one may go anywhere.
    setMarks(RUL_HORIZONTAL, {1440});
    drag(corner_, {{8, 8}, {20, 8}, {316, 8}});
    EXPECT_EQ((Marks{1440, 4500}), marks(RUL_HORIZONTAL));
    EXPECT_EQ(1u, got(RUL_CMD_HMARKERS).size());
}

TEST_F(Rulers, NewGuidesFromTheCornerButton)
{
    drag(corner_, {{8, 8}, {20, 8}, {116, 8}});
    drag(corner_, {{8, 8}, {8, 20}, {8, 116}});
    drag(corner_, {{8, 8}, {20, 20}, {56, 8}});   // right and down at once: horizontal
    ASSERT_EQ(2u, got(RUL_CMD_HGUIDE).size());
    EXPECT_EQ(1500, (int32_t)got(RUL_CMD_HGUIDE)[0].lParam);
    EXPECT_EQ(600, (int32_t)got(RUL_CMD_HGUIDE)[1].lParam);
    ASSERT_EQ(1u, got(RUL_CMD_VGUIDE).size());
    EXPECT_EQ(1500, (int32_t)got(RUL_CMD_VGUIDE)[0].lParam);
    EXPECT_EQ(workspace_, got(RUL_CMD_VGUIDE)[0].to);

    // Snapped, and at another zoom.
    g_got.clear();
    dmSetZoom(nullptr, 200);
    rulSetSnap(corner_, TRUE, 4);   // 192 pixels an inch: a grid of 48
    drag(corner_, {{8, 8}, {20, 8}, {16 + 100, 8}});
    ASSERT_EQ(1u, got(RUL_CMD_HGUIDE).size());
    EXPECT_EQ(720, (int32_t)got(RUL_CMD_HGUIDE)[0].lParam) << "96 pixels at 200 percent";

    // Without add-guides nothing starts.
    g_got.clear();
    RECT r = {0, 0, 300, 300};
    HWND bare = rulCreateRulers(frame_, &r, font_, FALSE, 0, FALSE);
    rulSetNotifyWindow(bare, workspace_);
    rulShow(bare, nullptr, TRUE);
    drag(bare, {{8, 8}, {20, 8}, {116, 8}});
    EXPECT_TRUE(g_got.empty());
}

TEST_F(Rulers, CornerClick)
{
    drag(corner_, {{8, 8}, {10, 12}});
    std::vector<Got> g = got(RUL_CMD_CORNER);
    ASSERT_EQ(1u, g.size());
    EXPECT_EQ(workspace_, g[0].to);
    EXPECT_EQ(0, g[0].lParam);
    // Released outside to the left or above: nothing.
    g_got.clear();
    drag(corner_, {{8, 8}, {-4, 8}, {8, -3}});
    EXPECT_TRUE(g_got.empty());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(Rulers, ContextMenu)
{
    g_menuAnswer = RUL_CMD_REMOVE;
    PostMessageA(h_, WM_RBUTTONDOWN, MK_RBUTTON, at(50, 8));
    PostMessageA(h_, WM_RBUTTONUP, 0, at(50, 8));
    pump();
    EXPECT_EQ((std::vector<std::string>{"&Property...", "&Remove"}), g_menuTexts);
    EXPECT_EQ((std::vector<UINT>{606, 2105}), g_menuIds);
    std::vector<Got> g = got(RUL_CMD_REMOVE);
    ASSERT_EQ(1u, g.size());
    EXPECT_EQ(workspace_, g[0].to);

    g_got.clear();
    g_menuAnswer = RUL_CMD_PROPERTY;
    PostMessageA(v_, WM_RBUTTONUP, 0, at(8, 50));
    pump();
    g = got(RUL_CMD_PROPERTY);
    ASSERT_EQ(1u, g.size());
    EXPECT_EQ(frame_, g[0].to);
}

TEST(MenuTable, TextsFillTheirFieldAndZeroIsASeparator)
{
    winSetTrackPopupHook(answerMenu);
    g_menuTexts.clear();
    g_menuIds.clear();
    g_menuAnswer = 0;
    WinMenuTableEntry table[3] = {{7, "Seven"}, {0, ""}, {9, {}}};
    memcpy(table[2].text, "abcdefghijklmnopqrstuvwx", 24);   // no terminator
    EXPECT_TRUE(winTrackMenuTable(nullptr, 0, table, 3));
    EXPECT_EQ((std::vector<UINT>{7, 0, 9}), g_menuIds);
    EXPECT_EQ("abcdefghijklmnopqrstuvwx", g_menuTexts[2]);
    EXPECT_FALSE(winTrackMenuTable(nullptr, 0, table, 0));
    winSetTrackPopupHook(nullptr);
}

}  // namespace
