// Document windows, their workspace and rulers, the workspace record, keys
// and characters, the tool-mode protocol and closing a document, on the
// program's own frame started in-process.
#include "tests/app/app_fixture.h"
#include "controls/ruler.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "support/win_window.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "support/win_filedlg.h"
#include "app/app_frame_docs.h"
#include "app/fc_file_cmds.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include <shlobj.h>
#include <string.h>
#include <functional>

namespace {

using qmtest::BoxRecorder;

struct Seen {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Seen> &toolSeen()
{
    static std::vector<Seen> seen;
    return seen;
}

// A tool that records what reaches it and keeps the protocol: it leaves on
// 1025 and hands everything else to the workspace.
LRESULT CALLBACK recordingTool(HWND ws, UINT msg, WPARAM wp, LPARAM lp)
{
    toolSeen().push_back({msg, wp, lp});
    if (msg == WS_MSG_LEAVE_MODE) {
        wsLeaveToolMode(ws, FALSE);
        return 0;
    }
    return wsDefProc(ws, msg, wp, lp);
}

LRESULT CALLBACK otherTool(HWND ws, UINT msg, WPARAM wp, LPARAM lp)
{
    return wsDefProc(ws, msg, wp, lp);
}

int countSeen(UINT msg, WPARAM wp = (WPARAM)-1)
{
    int n = 0;
    for (const Seen &s : toolSeen())
        if (s.msg == msg && (wp == (WPARAM)-1 || LOWORD(s.wParam) == wp))
            ++n;
    return n;
}

// The commands the tool saw, other than the mode-change notice.
std::vector<std::pair<int, LPARAM>> commandsSeen()
{
    std::vector<std::pair<int, LPARAM>> out;
    for (const Seen &s : toolSeen())
        if (s.msg == WM_COMMAND && LOWORD(s.wParam) != WS_CMD_MODE_CHANGED)
            out.push_back({LOWORD(s.wParam), s.lParam});
    return out;
}

std::vector<WPARAM> &frameSeen()
{
    static std::vector<WPARAM> seen;
    return seen;
}
WNDPROC g_frameProc = nullptr;

LRESULT CALLBACK frameRecorder(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND)
        frameSeen().push_back(wp);
    return CallWindowProcA(g_frameProc, w, msg, wp, lp);
}

RECT childRect(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), (POINT *)&r, 2);
    return r;
}

class DocWin : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    BYTE savedKeys[256];

    void SetUp() override
    {
        App::SetUp();
        GetKeyboardState(savedKeys);
        toolSeen().clear();
        frameSeen().clear();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        // A new document starts in select mode; these tests start from no
        // tool at all.
        wsLeaveToolMode(ws, FALSE);
        pump();
    }
    void TearDown() override
    {
        SetKeyboardState(savedKeys);
        if (g_frameProc && frame && IsWindow(frame))
            SetWindowLongPtrA(frame, GWLP_WNDPROC, (LONG_PTR)g_frameProc);
        g_frameProc = nullptr;
        App::TearDown();
        dwResetModule();
    }

    void recordFrame()
    {
        g_frameProc = (WNDPROC)SetWindowLongPtrA(frame, GWLP_WNDPROC, (LONG_PTR)frameRecorder);
    }

    void keys(bool ctrl, bool shift)
    {
        BYTE state[256];
        memcpy(state, savedKeys, sizeof(state));
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
    }
};

// ---- the window and its children ---------------------------------------------------------------

TEST_F(DocWin, NewDocumentWindowItsWorkspaceAndRulers)
{
    EXPECT_TRUE(winIsWindowOfClass(doc, "xqmdoc", nullptr));
    EXPECT_TRUE(IsZoomed(doc)) << "the first document opens maximised";
    char title[128];
    GetWindowTextA(doc, title, sizeof(title));
    EXPECT_STREQ("Untitled - Page 1 of 1 ", title);
    for (int reserved : {6, 10, 14, 26})
        EXPECT_EQ(0, GetWindowLongA(doc, reserved)) << reserved;

    // One workspace that takes dropped files, in the workspace area.
    int workspaces = 0;
    for (HWND c = GetWindow(doc, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        workspaces += winIsWindowOfClass(c, "vaqm_ws", nullptr) ? 1 : 0;
    EXPECT_EQ(1, workspaces);
    EXPECT_TRUE(GetWindowLongA(ws, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(doc, wsGetDocWindow(ws));
    RECT area = dwLayoutRect(doc, DW_AREA_WORKSPACE), at = childRect(ws);
    EXPECT_TRUE(EqualRect(&area, &at));

    // Two rulers and their corner button, shown round the workspace.
    HWND corner = wsGetRulersWindow(ws);
    ASSERT_TRUE(corner != nullptr);
    EXPECT_EQ(doc, GetParent(corner));
    HWND h = rulGetRuler(corner, RUL_HORIZONTAL), v = rulGetRuler(corner, RUL_VERTICAL);
    ASSERT_TRUE(h && v);
    EXPECT_TRUE(IsWindowVisible(h) && IsWindowVisible(v) && IsWindowVisible(corner));
    RECT rulers = dwLayoutRect(doc, DW_AREA_RULERS);
    RECT rc = childRect(corner), rh = childRect(h), rv = childRect(v);
    EXPECT_EQ(rulers.left, rc.left);
    EXPECT_EQ(rulers.top, rc.top);
    EXPECT_EQ(at.left, rh.left);
    EXPECT_EQ(at.top, rh.bottom);
    EXPECT_EQ(at.top, rv.top);
    EXPECT_EQ(at.left, rv.right);
    EXPECT_EQ(at.top - rulers.top, 16);

    // The record: 288 bytes of kind 1020, its parent the document window.
    WorkspaceRecord *rec = wsLockRecord(ws);
    ASSERT_TRUE(rec != nullptr);
    EXPECT_EQ(288u, rec->size);
    EXPECT_EQ(1020, rec->id);
    EXPECT_EQ(qmHandleToU32(doc), rec->docWindow);
    wsUnlockRecord(ws);
}

TEST_F(DocWin, LaterWindowsCascadeBySixteenPixels)
{
    SendMessageA(client, WM_MDIRESTORE, (WPARAM)doc, 0);
    HWND second = fcNewDocument(frame);
    HWND third = fcNewDocument(frame);
    ASSERT_TRUE(second && third);
    EXPECT_FALSE(IsZoomed(second));
    RECT r2 = childRect(second), r3 = childRect(third);
    EXPECT_EQ(16, r2.left);
    EXPECT_EQ(16, r2.top);
    EXPECT_EQ(r2.left + 16, r3.left);
    EXPECT_EQ(r2.top + 16, r3.top);
    RECT cl;
    GetClientRect(client, &cl);
    EXPECT_EQ(cl.right - 16, r3.right) << "shrunk by 16 on the right";

    // Too little room for a cascade rectangle: the system's default place.
    RECT tiny;
    MoveWindow(client, 0, 0, 150, 150, TRUE);
    EXPECT_FALSE(dwDefaultRect(client, &tiny));
}

TEST_F(DocWin, LayoutAreas)
{
    RECT client_;
    GetClientRect(doc, &client_);
    const int barH = GetSystemMetrics(SM_CYHSCROLL) + 2, barW = GetSystemMetrics(SM_CXVSCROLL) + 2;
    struct Case {
        int area;
        RECT want;
    } cases[] = {
        {DW_AREA_RULERS, {0, 0, client_.right - barW, client_.bottom - barH}},
        {DW_AREA_WORKSPACE, {16, 16, client_.right - barW, client_.bottom - barH}},
        {DW_AREA_THUMBNAILS, {0, 0, client_.right, client_.bottom - barH}},
        {DW_AREA_CLIENT, client_},
        {DW_AREA_BOTTOM_BAR, {0, client_.bottom - barH, client_.right, client_.bottom}},
        {DW_AREA_RIGHT_BAR, {client_.right - barW, 0, client_.right, client_.bottom - barH}},
        {99, {0, 0, client_.right, client_.bottom - barH}},
    };
    for (const Case &c : cases) {
        RECT got = dwLayoutRect(doc, c.area);
        EXPECT_TRUE(EqualRect(&c.want, &got)) << "area " << c.area;
    }
    // Hidden rulers give the workspace their room.
    wsShowRulersFlag(ws, FALSE);
    dwPlaceRulers(doc);
    RECT got = dwLayoutRect(doc, DW_AREA_WORKSPACE), at = childRect(ws);
    EXPECT_EQ(0, got.left);
    EXPECT_TRUE(EqualRect(&got, &at));
    EXPECT_FALSE(IsWindowVisible(rulGetRuler(wsGetRulersWindow(ws), RUL_HORIZONTAL)));
}

// ---- tool modes ------------------------------------------------------------------------------------

TEST_F(DocWin, EnteringAndLeavingAToolMode)
{
    pump();
    toolSeen().clear();
    const LONG_PTR own = GetWindowLongPtrA(ws, GWLP_WNDPROC);
    EXPECT_EQ(5, wsEnterToolMode(ws, TM_CREATE, recordingTool, 7, 0x1234));
    EXPECT_EQ(5, wsGetToolMode(ws));
    EXPECT_EQ(0, wsGetPrevToolMode(ws));
    EXPECT_EQ((LONG_PTR)recordingTool, GetWindowLongPtrA(ws, GWLP_WNDPROC));
    EXPECT_TRUE(toolSeen().empty()) << "1026 and 910 are posted, not sent";
    pump();
    EXPECT_EQ(1, countSeen(WS_MSG_ENTER_MODE));
    EXPECT_EQ(1, countSeen(WM_COMMAND, WS_CMD_MODE_CHANGED));
    for (const Seen &s : toolSeen())
        if (s.msg == WS_MSG_ENTER_MODE) {
            EXPECT_EQ(7u, s.wParam);
            EXPECT_EQ(0x1234, s.lParam);
        }

    // The same mode again changes nothing and posts nothing.
    toolSeen().clear();
    EXPECT_EQ(1, wsEnterToolMode(ws, TM_CREATE, otherTool, 0, 0));
    EXPECT_EQ((LONG_PTR)recordingTool, GetWindowLongPtrA(ws, GWLP_WNDPROC));
    pump();
    EXPECT_TRUE(toolSeen().empty());

    // Leaving with the restore flag puts back what was there before.
    wsSetToolValue(ws, 99);
    EXPECT_EQ(0, wsLeaveToolMode(ws, TRUE));
    EXPECT_EQ(own, GetWindowLongPtrA(ws, GWLP_WNDPROC));
    EXPECT_EQ(0, wsGetToolMode(ws));
    EXPECT_EQ(0u, wsGetToolValue(ws));
    EXPECT_EQ(0, GetWindowLongA(ws, WS_LONG_PREV_PROC));
}

TEST_F(DocWin, ToolOverToolAndTemporaryTools)
{
    const LONG_PTR own = GetWindowLongPtrA(ws, GWLP_WNDPROC);
    wsEnterToolMode(ws, TM_SELECT, otherTool, 0, 0);
    wsEnterToolMode(ws, TM_ROTATE, recordingTool, 0, 0);
    EXPECT_EQ(TM_SELECT, wsGetPrevToolMode(ws));
    EXPECT_EQ(TM_SELECT, wsLeaveToolMode(ws, TRUE));
    EXPECT_EQ((LONG_PTR)otherTool, GetWindowLongPtrA(ws, GWLP_WNDPROC));
    wsEnterToolMode(ws, TM_ROTATE, recordingTool, 0, 0);
    EXPECT_EQ(0, wsLeaveToolMode(ws, FALSE));
    EXPECT_EQ(own, GetWindowLongPtrA(ws, GWLP_WNDPROC));
    pump();

    // A pushed tool pops back to the mode under it.
    wsEnterToolMode(ws, TM_SELECT, otherTool, 0, 0);
    EXPECT_EQ(TM_ZOOM_RECT, wsPushToolMode(ws, TM_ZOOM_RECT, recordingTool, TRUE));
    EXPECT_EQ((LONG_PTR)recordingTool, GetWindowLongPtrA(ws, GWLP_WNDPROC));
    EXPECT_EQ(TM_SELECT, wsPushToolMode(ws, 0, nullptr, FALSE));
    EXPECT_EQ((LONG_PTR)otherTool, GetWindowLongPtrA(ws, GWLP_WNDPROC));
    pump();

    // Popping what was never pushed: the workspace's own procedure, mode 0
    // and a request for the select mode.
    wsEnterToolMode(ws, TM_CREATE, recordingTool, 0, 0);
    pump();
    toolSeen().clear();
    EXPECT_EQ(0, wsPushToolMode(ws, 0, nullptr, FALSE));
    EXPECT_EQ(own, GetWindowLongPtrA(ws, GWLP_WNDPROC));
    EXPECT_EQ(0, wsGetToolMode(ws));
    MSG m;
    bool select = false;
    while (PeekMessageA(&m, ws, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        select = select || LOWORD(m.wParam) == WS_CMD_BACK_TO_SELECT;
    EXPECT_TRUE(select);
}

TEST_F(DocWin, CursorOfEachMode)
{
    struct Case {
        uint16_t mode;
        LPCSTR system;   // the system cursor it must be, or null for a resource
    } cases[] = {
        {0, (LPCSTR)IDC_ARROW}, {2, (LPCSTR)IDC_ARROW}, {3, (LPCSTR)IDC_SIZEALL},
        {8, (LPCSTR)IDC_CROSS}, {12, (LPCSTR)IDC_CROSS}, {43, (LPCSTR)IDC_CROSS},
        {20, (LPCSTR)IDC_IBEAM}, {78, (LPCSTR)IDC_ARROW}, {52, (LPCSTR)IDC_ARROW},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LoadCursorA(nullptr, c.system), wsToolCursor(ws, c.mode)) << c.mode;
    wsSetCurrentType(ws, 7);
    EXPECT_EQ(LoadCursorA(nullptr, (LPCSTR)IDC_CROSS), wsToolCursor(ws, TM_CREATE));
    EXPECT_EQ(LoadCursorA(inst, "paste"), wsToolCursor(ws, TM_PASTE_AT));
    wsEnterToolMode(ws, TM_PASTE_AT, otherTool, 0, 0);
    EXPECT_EQ((ULONG_PTR)LoadCursorA(inst, "paste"), GetClassLongPtrA(ws, GCLP_HCURSOR));
    wsLeaveToolMode(ws, FALSE);
    EXPECT_EQ((ULONG_PTR)LoadCursorA(nullptr, (LPCSTR)IDC_ARROW), GetClassLongPtrA(ws, GCLP_HCURSOR));
}

// ---- keys and characters -------------------------------------------------------------------------

TEST(WorkspaceKeys, KeyTable)
{
    struct Case {
        UINT key;
        bool ctrl, shift;
        int zoom, want;
        LPARAM lParam;
    } cases[] = {
        {VK_LEFT, false, false, -1, 761, 0},   {VK_LEFT, true, false, -1, 772, 0},
        {VK_LEFT, false, true, -1, 831, 0},    {VK_LEFT, true, true, -1, 773, 0},
        {VK_UP, false, false, -1, 762, 0},     {VK_UP, true, false, -1, 776, 0},
        {VK_UP, false, true, -1, 832, 0},      {VK_UP, true, true, -1, 777, 0},
        {VK_RIGHT, false, false, -1, 760, 0},  {VK_RIGHT, true, false, -1, 771, 0},
        {VK_RIGHT, false, true, -1, 830, 0},   {VK_RIGHT, true, true, -1, 774, 0},
        {VK_DOWN, false, false, -1, 763, 0},   {VK_DOWN, true, false, -1, 775, 0},
        {VK_DOWN, false, true, -1, 833, 0},    {VK_DOWN, true, true, -1, 778, 0},
        {VK_HOME, false, false, -1, 431, 0},   {VK_HOME, true, false, -1, 1220, 0},
        {VK_HOME, false, true, -1, 431, 0},    {VK_HOME, true, true, -1, 1220, 0},
        {VK_END, false, false, -1, 432, 0},    {VK_END, true, false, -1, 1221, 0},
        {VK_END, false, true, -1, 432, 0},     {VK_END, true, true, -1, 1221, 0},
        {VK_DELETE, false, false, -1, 205, 0x10000000},
        {VK_DELETE, true, true, -1, 205, 0x10000000},
        {VK_PRIOR, false, false, -1, WS_KEY_SCROLL_PAGE_UP, 0},
        {VK_PRIOR, false, false, -100, 617, 0}, {VK_PRIOR, true, false, -1, 617, 0},
        {VK_PRIOR, false, true, -101, WS_KEY_SCROLL_PAGE_UP, 0},
        {VK_PRIOR, true, true, -1, 617, 0},
        {VK_NEXT, false, false, -1, WS_KEY_SCROLL_PAGE_DOWN, 0},
        {VK_NEXT, false, false, -100, 618, 0}, {VK_NEXT, true, false, -1, 618, 0},
        {VK_NEXT, false, true, -100, 618, 0},
        {'A', false, false, -1, 0, 0},         {VK_F5, true, false, -1, 0, 0},
    };
    for (const Case &c : cases) {
        LPARAM lp = 77;
        EXPECT_EQ(c.want, wsKeyCommand(c.key, c.ctrl, c.shift, c.zoom, &lp))
            << "key " << c.key << " ctrl " << c.ctrl << " shift " << c.shift << " zoom " << c.zoom;
        EXPECT_EQ(c.lParam, lp) << "key " << c.key;
    }
}

TEST(WorkspaceKeys, CharacterTable)
{
    struct Case {
        UINT ch;
        bool shift;
        uint16_t mode;
        int16_t type;
        int want;
    } cases[] = {
        {'\t', false, 2, 0, 409},  {'\t', true, 2, 0, 408},  {'\t', false, 5, 0, 409},
        {'\r', false, 2, 7, 401},  {'\r', true, 2, 80, 240}, {'\r', true, 2, 84, 240},
        {'\r', true, 2, 7, 401},   {'\r', false, 2, 80, 401}, {'\r', false, 5, 7, 0},
        {27, false, 5, 0, 400},    {27, false, 0, 0, 400},   {27, false, 2, 0, 0},
        {'a', false, 0, 0, 0},     {' ', true, 2, 0, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.want, wsCharCommand(c.ch, c.shift, c.mode, c.type))
            << "char " << c.ch << " shift " << c.shift << " mode " << c.mode;
}

TEST_F(DocWin, PostedKeysReachTheirCommands)
{
    wsEnterToolMode(ws, TM_CREATE, recordingTool, 0, 0);
    pump();
    struct Case {
        UINT msg, key;
        bool ctrl, shift;
        int want;
        LPARAM lParam;
    } cases[] = {
        {WM_KEYDOWN, VK_LEFT, false, false, 761, 0},
        {WM_KEYDOWN, VK_LEFT, true, false, 772, 0},
        {WM_KEYDOWN, VK_LEFT, false, true, 831, 0},
        {WM_KEYDOWN, VK_HOME, false, false, 431, 0},
        {WM_KEYDOWN, VK_HOME, true, false, 1220, 0},
        {WM_KEYDOWN, VK_DELETE, false, false, 205, 0x10000000},
        {WM_CHAR, '\t', false, false, 409, 0},
        {WM_CHAR, '\t', false, true, 408, 0},
        {WM_CHAR, 27, false, false, 400, 0},
    };
    for (const Case &c : cases) {
        toolSeen().clear();
        keys(c.ctrl, c.shift);
        PostMessageA(ws, c.msg, c.key, 0);
        pump();
        auto got = commandsSeen();
        ASSERT_EQ(1u, got.size()) << "key " << c.key;
        EXPECT_EQ(c.want, got[0].first) << "key " << c.key;
        EXPECT_EQ(c.lParam, got[0].second) << "key " << c.key;
    }
    // Page Down turns the page at fit-page zoom and scrolls at any other.
    keys(false, false);
    wsSetZoomCode(ws, -100);
    // Escape's Select command (400) went on to select mode: back in.
    if (wsGetToolMode(ws) != TM_CREATE) {
        wsLeaveToolMode(ws, FALSE);
        wsEnterToolMode(ws, TM_CREATE, recordingTool, 0, 0);
        pump();
    }
    toolSeen().clear();
    PostMessageA(ws, WM_KEYDOWN, VK_NEXT, 0);
    pump();
    ASSERT_EQ(1u, commandsSeen().size());
    EXPECT_EQ(618, commandsSeen()[0].first);
    EXPECT_EQ(0, countSeen(WM_VSCROLL));
    // 618 on the only page appended a page, which left the tool: back in.
    if (wsGetToolMode(ws) != TM_CREATE) {
        wsLeaveToolMode(ws, FALSE);
        wsEnterToolMode(ws, TM_CREATE, recordingTool, 0, 0);
        pump();
    }
    wsSetZoomCode(ws, -1);
    wsSetZoomPercent(ws, 100);
    toolSeen().clear();
    PostMessageA(ws, WM_KEYDOWN, VK_NEXT, 0);
    pump();
    EXPECT_TRUE(commandsSeen().empty());
    ASSERT_EQ(1, countSeen(WM_VSCROLL));
    for (const Seen &s : toolSeen())
        EXPECT_TRUE(s.msg != WM_VSCROLL || s.wParam == SB_PAGEDOWN);

    // Escape in select mode stays there.
    wsLeaveToolMode(ws, FALSE);
    wsEnterToolMode(ws, TM_SELECT, recordingTool, 0, 0);
    pump();
    toolSeen().clear();
    keys(false, false);
    PostMessageA(ws, WM_CHAR, 27, 0);
    pump();
    EXPECT_TRUE(commandsSeen().empty());
}

TEST_F(DocWin, LeftClickUnderPasteModePostsThePastePoint)
{
    wsEnterToolMode(ws, TM_CREATE, recordingTool, 0, 0);
    wsSetToolModeWord(ws, TM_PASTE_AT);   // the workspace's own handling under mode 6
    pump();
    toolSeen().clear();
    PostMessageA(ws, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 50));
    pump();
    auto got = commandsSeen();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(204, got[0].first);
    EXPECT_EQ(MAKELPARAM(40, 50), got[0].second);
}

// ---- the record ----------------------------------------------------------------------------------

class RecordInit : public ::testing::Test {
protected:
    void SetUp() override { setAdoptSetupRecord(setNewSetupRecord()); }
    void TearDown() override
    {
        setFreeSetupRecords();
        dmResetModule();
    }
};

TEST_F(RecordInit, SettingsZoomCodeTable)
{
    struct Case {
        int settingsCode, settingsPercent;
        int16_t code;
        uint16_t percent;
        int writtenCode, writtenPercent;
    } cases[] = {
        {90, 90, -1, 100, -1, 100},        // not a preset: replaced
        {-9, 30, -1, 100, -1, 100},
        {-200, 55, -1, 100, -1, 100},
        {-1, 100, -1, 100, -1, 100},
        {-3, 66, -3, 66, -3, 66},
        {-5, 33, -5, 33, -5, 33},
        {-7, 20, -7, 20, -7, 20},
        {-20, 400, -20, 400, -20, 400},
        {-21, 200, -21, 200, -21, 200},
        {125, 125, 125, 125, 125, 125},
        {150, 150, 150, 150, 150, 150},
        {-100, 70, -100, 100, -100, 70},   // fit page: computed when a page shows
        {-101, 70, -101, 100, -101, 70},
    };
    for (const Case &c : cases) {
        setPutZoomCode(c.settingsCode);
        setPutZoomPercent(c.settingsPercent);
        dmSetZoom(nullptr, 77);
        WorkspaceRecord rec = {};
        wsInitRecord(nullptr, &rec);
        ViewMapState kept;
        memcpy(&kept, rec.viewMapping, sizeof(kept));
        EXPECT_EQ(c.code, rec.zoomCode) << c.settingsCode;
        EXPECT_EQ(c.percent, kept.zoom) << c.settingsCode;
        EXPECT_EQ(c.writtenCode, setGetZoomCode()) << c.settingsCode;
        EXPECT_EQ(c.writtenPercent, setGetZoomPercent()) << c.settingsCode;
        EXPECT_EQ(77, dmGetZoom()) << "the drawing mapping is put back";
        EXPECT_EQ(288u, rec.size);
        EXPECT_EQ(1020, rec.id);
        EXPECT_EQ(-1, rec.rememberedPage);
    }
}

TEST(WorkspaceRecordZoom, PercentToCodeTable)
{
    struct Case {
        int32_t percent;
        int16_t code;
    } cases[] = {{100, -1}, {80, -2}, {66, -3}, {50, -4}, {33, -5}, {25, -6}, {200, -21},
                 {400, -20}, {125, 125}, {150, 150}, {90, 0}, {20, 0}, {800, 0}};
    for (const Case &c : cases)
        EXPECT_EQ(c.code, wsZoomCodeOfPercent(c.percent)) << c.percent;
}

TEST_F(DocWin, ZoomCodeFollowsThePercent)
{
    wsSetZoomCode(ws, 90);
    struct Case {
        int32_t percent;
        int16_t code;
    } cases[] = {{66, -3}, {400, -20}, {100, -1}, {125, 125}, {90, 90}, {37, 90}};
    for (const Case &c : cases) {
        wsSetZoomPercent(ws, c.percent);
        EXPECT_EQ(c.percent, wsGetZoomPercent(ws));
        EXPECT_EQ(c.code, wsGetZoomCode(ws)) << c.percent;
    }
    wsSetZoomCode(ws, -101);
    EXPECT_EQ(-101, wsGetZoomCode(ws)) << "fit width is answered as stored";
}

TEST_F(DocWin, NullWindowAndWindowWithoutRecordAnswerNothing)
{
    HWND plain = CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    for (HWND w : {(HWND)nullptr, plain, doc}) {
        struct Case {
            const char *what;
            std::function<int64_t()> get;
            int64_t want;
        } cases[] = {
            {"document", [&] { return (int64_t)wsGetDocument(w); }, 0},
            {"current object", [&] { return (int64_t)wsGetCurrentObject(w); }, 0},
            {"current type", [&] { return (int64_t)wsGetCurrentType(w); }, 0},
            {"doc window", [&] { return (int64_t)(intptr_t)wsGetDocWindow(w); }, 0},
            {"rulers", [&] { return (int64_t)(intptr_t)wsGetRulersWindow(w); }, 0},
            {"thumbnails", [&] { return (int64_t)(intptr_t)wsGetThumbnailGrid(w); }, 0},
            {"modified", [&] { return (int64_t)wsIsModified(w); }, 0},
            {"tracked", [&] { return (int64_t)wsGetTrackedValue(w); }, 0},
            {"tracked object", [&] { return (int64_t)wsGetTrackedObject(w); }, 0},
            {"undo", [&] { return (int64_t)wsIsUndoPending(w); }, 0},
            {"mark", [&] { return (int64_t)wsHasMarkRect(w); }, 0},
            {"tool value", [&] { return (int64_t)wsGetToolValue(w); }, 0},
            {"options", [&] { return (int64_t)wsGetDocOptions(w); }, 0},
            {"remembered page", [&] { return (int64_t)wsGetRememberedPage(w); }, -1},
            {"printing", [&] { return (int64_t)wsIsPrinting(w); }, 0},
            {"text edit", [&] { return (int64_t)wsGetSavedSession(w); }, 0},
            {"table edit", [&] { return (int64_t)wsGetTableEditValue(w); }, 0},
            {"tool mode", [&] { return (int64_t)wsGetToolMode(w); }, 0},
            {"previous mode", [&] { return (int64_t)wsGetPrevToolMode(w); }, 0},
            {"push", [&] { return (int64_t)wsPushToolMode(w, 9, otherTool, TRUE); }, 0},
            {"zoom code", [&] { return (int64_t)wsGetZoomCode(w); }, (int64_t)setGetZoomCode()},
            {"rulers invalidated", [&] { return (int64_t)wsInvalidateRulers(w, 3); }, 0},
            {"markers cleared", [&] { return (int64_t)wsClearRulerMarkers(w, 1); }, 0},
            {"current page", [&] { return (int64_t)pvGetCurrentPageIndex(w); }, -2},
            {"page count", [&] { return (int64_t)pvGetPageCount(w); }, 0},
            {"workspace of it", [&] { return (int64_t)(intptr_t)dwGetWorkspace(w); }, 0},
            {"bottom bar", [&] { return (int64_t)(intptr_t)dwGetBottomScrollBar(w); }, 0},
        };
        for (const Case &c : cases) {
            if (w == doc && (strcmp(c.what, "workspace of it") == 0 ||
                             strcmp(c.what, "bottom bar") == 0)) {
                EXPECT_NE(0, c.get()) << "the document window has one: " << c.what;
                continue;
            }
            EXPECT_EQ(c.want, c.get()) << c.what << " of " << (w == doc ? "doc" : "plain/null");
        }
        char name[16] = "x";
        EXPECT_EQ(0, wsGetBackupName(w, name, sizeof(name)));
        EXPECT_STREQ("", name);
        wsMarkModified(w);   // nothing happens
        wsSetTracked(w, 1, 2, 3, 4);
        UndoRecord u;
        EXPECT_FALSE(wsGetUndo(w, &u));
    }
    DestroyWindow(plain);
}

TEST_F(DocWin, RecordFields)
{
    wsSetBackupName(ws, "C:\\backup\\one.qm");
    char name[64];
    EXPECT_EQ(1, wsGetBackupName(ws, name, sizeof(name)));
    EXPECT_STREQ("C:\\backup\\one.qm", name);
    char shortBuf[5];
    wsGetBackupName(ws, shortBuf, sizeof(shortBuf));
    EXPECT_STREQ("C:\\b", shortBuf);

    // Marking and clearing the modified flags, the title following.
    wsMarkModified(ws);
    EXPECT_TRUE(wsIsModified(ws) && wsIsChangedSinceBackup(ws));
    char title[128];
    GetWindowTextA(doc, title, sizeof(title));
    EXPECT_STREQ("Untitled - Page 1 of 1  *", title);
    wsClearModified(ws);
    EXPECT_FALSE(wsIsModified(ws) || wsIsChangedSinceBackup(ws));
    EXPECT_EQ(0, wsGetBackupName(ws, name, sizeof(name))) << "the backup name goes";
    GetWindowTextA(doc, title, sizeof(title));
    EXPECT_STREQ("Untitled - Page 1 of 1 ", title);

    // The undo block: two handles freed with it.
    long before = qmtest::liveHandles();
    UndoRecord u = {};
    u.kind = 1;
    u.saved = utAllocHandle(0, 32);
    u.members = utAllocHandle(0, 8);
    wsPutUndo(ws, &u);
    UndoRecord back;
    EXPECT_TRUE(wsGetUndo(ws, &back));
    EXPECT_EQ(u.saved, back.saved);
    wsFreeUndo(ws);
    EXPECT_FALSE(wsIsUndoPending(ws));
    EXPECT_EQ(before, qmtest::liveHandles());

    // Hidden types: hiding twice or showing an absent type changes nothing.
    EXPECT_EQ(1, wsSetTypeHidden(ws, 7, TRUE));
    EXPECT_EQ(0, wsSetTypeHidden(ws, 7, TRUE));
    EXPECT_EQ(1, wsSetTypeHidden(ws, 40, TRUE));
    EXPECT_EQ(0, wsSetTypeHidden(ws, 52, FALSE));
    int32_t n = 0;
    const uint16_t *types = wsLockHiddenTypes(ws, &n);
    ASSERT_EQ(2, n);
    EXPECT_EQ(7, types[0]);
    EXPECT_EQ(40, types[1]);
    wsUnlockHiddenTypes(ws);
    EXPECT_EQ(1, wsSetTypeHidden(ws, 7, FALSE));
    EXPECT_EQ(1, wsSetTypeHidden(ws, 40, FALSE));
    EXPECT_EQ(nullptr, wsLockHiddenTypes(ws, &n));
    EXPECT_EQ(0, n);

    // The marked area and the remembered page.
    RECT mark = {10, 20, 300, 400}, got;
    wsSetMarkRect(ws, &mark);
    wsSetMarkShape(ws, 1);
    uint16_t shape = 0;
    EXPECT_TRUE(wsGetMarkArea(ws, &got, &shape));
    EXPECT_TRUE(EqualRect(&mark, &got));
    EXPECT_EQ(1, shape);
    wsClearMarkRect(ws);
    EXPECT_FALSE(wsHasMarkRect(ws));
    wsSetRememberedPage(ws);
    EXPECT_EQ(0, wsGetRememberedPage(ws));

    // A thumbnail grid destroyed elsewhere is forgotten.
    HWND grid = CreateWindowA("STATIC", "", 0, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    wsSetThumbnailGrid(ws, grid);
    EXPECT_EQ(grid, wsGetThumbnailGrid(ws));
    DestroyWindow(grid);
    EXPECT_EQ(nullptr, wsGetThumbnailGrid(ws));
}

// ---- closing -------------------------------------------------------------------------------------

TEST_F(DocWin, ClosingAModifiedDocument)
{
    recordFrame();
    wsEnterToolMode(ws, TM_CREATE, recordingTool, 0, 0);
    pump();
    wsMarkModified(ws);
    toolSeen().clear();
    {
        BoxRecorder boxes;
        boxes.answer(IDCANCEL);
        SendMessageA(doc, WM_CLOSE, 0, 0);
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Save changes to the current document?", boxes.last().text);
    }
    EXPECT_TRUE(IsWindow(doc) && IsWindow(ws));
    EXPECT_EQ(TM_CREATE, wsGetToolMode(ws)) << "cancel leaves the tool mode alone";
    EXPECT_EQ(0, countSeen(WS_MSG_LEAVE_MODE));
    {
        BoxRecorder boxes;
        boxes.answer(IDNO);
        SendMessageA(doc, WM_CLOSE, 0, 0);
        EXPECT_EQ(1u, boxes.count());
    }
    EXPECT_FALSE(IsWindow(doc));
    ASSERT_EQ(1, countSeen(WS_MSG_LEAVE_MODE));
    for (const Seen &s : toolSeen())
        EXPECT_TRUE(s.msg != WS_MSG_LEAVE_MODE || s.lParam == 1);
    pump();
    int closed = 0;
    for (WPARAM w : frameSeen())
        closed += LOWORD(w) == 933 ? 1 : 0;
    EXPECT_EQ(1, closed);
    EXPECT_EQ(0, docCount());
}

TEST_F(DocWin, QuickNoteWithObjectsOnlyOnAnotherPageIsNotDropped)
{
    MemHandle form = wsGetDocument(ws);
    ASSERT_TRUE(form != 0);
    ASSERT_EQ(0, pvGetCurrentPageIndex(ws));
    wsSetQuickNote(ws, TRUE);
    wsMarkModified(ws);
    EXPECT_FALSE(wsDocumentHasObjects(ws));
    EXPECT_EQ(1, dwQuerySave(doc)) << "an empty quick note closes without saving";

    // A second page with a rectangle, while page 1 (current) stays empty.
    ASSERT_EQ(1, pgDirAppend(form, pgNewRecord(0)));
    MemHandle second = pgDirGetPages(fmGetDirectory(form), 1);
    MemHandle rect = obNewRecord(kObHeadSize);
    {
        ObLock r(rect);
        r->type = OBT_RECTANGLE;
    }
    pgAppendObject(second, rect);
    EXPECT_FALSE(wsPageHasObjects(ws));
    EXPECT_TRUE(wsDocumentHasObjects(ws));
    // It must be saved: with no quick-note folder to be had and the Save
    // dialog cancelled the save fails, and the window stays rather than
    // losing the rectangle.
    setPutString("QuickNotePath", (home.path() + "\\missing\\notes").c_str());
    winSetFileDlgHook([](HWND, WinFileDlgRequest &) -> BOOL { return FALSE; });
    EXPECT_EQ(0, dwQuerySave(doc));
    SendMessageA(doc, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(doc));
    winSetFileDlgHook(nullptr);
    setDeleteValue("QuickNotePath");

    // Objects on the base page count too.
    pgSetFirstObject(second, 0);
    obFreeTree(rect);
    EXPECT_FALSE(wsDocumentHasObjects(ws));
    MemHandle base = pgNewRecord(0);
    fmSetBasePage(form, base);
    MemHandle onBase = obNewRecord(kObHeadSize);
    {
        ObLock r(onBase);
        r->type = OBT_RECTANGLE;
    }
    pgAppendObject(base, onBase);
    EXPECT_TRUE(wsDocumentHasObjects(ws));
    fmDropBasePage(form);
    wsSetQuickNote(ws, FALSE);
}

// ---- rulers ----------------------------------------------------------------------------------------

TEST_F(DocWin, RulersPaintAtZoomsWhereAUnitIsUnderOnePixel)
{
    HWND h = rulGetRuler(wsGetRulersWindow(ws), RUL_HORIZONTAL);
    ASSERT_TRUE(h != nullptr);
    wsSetUnitOfMapping(ws, DM_UNIT_CM);
    for (int32_t percent : {10, 2, 1}) {
        wsSetZoomPercent(ws, percent);
        qmtest::Dib d(400, 16);
        rulPaint(h, d.dc());   // returns: no loop steps by zero pixels
        EXPECT_EQ(percent, wsGetZoomPercent(ws));
    }
    UpdateWindow(h);
}

TEST_F(DocWin, CommandsGoToTheWorkspaceUnlessThumbnailsShow)
{
    EXPECT_EQ(1, dwOnCommand(doc, 5002, 0)) << "not a document command";
    EXPECT_EQ(0, dwOnCommand(doc, 921, 0)) << "the auto-save tick";
    EXPECT_EQ(1, wsGetMinutesSinceBackup(ws));
    HWND grid = CreateWindowA("STATIC", "", 0, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    wsSetThumbnailGrid(ws, grid);
    EXPECT_EQ(0, dwOnCommand(doc, 921, 0));
    EXPECT_EQ(1, wsGetMinutesSinceBackup(ws)) << "held back while the grid shows";
    EXPECT_EQ(0, dwOnCommand(doc, 5000, 0)) << "grid notifications go on to the thumbnails";
    DestroyWindow(grid);
}

// ---- activation, reuse and drops ---------------------------------------------------------------------

TEST_F(DocWin, DeactivationEndsTheToolAndStoresThePage)
{
    wsEnterToolMode(ws, TM_CREATE, recordingTool, 0, 0);
    pump();
    toolSeen().clear();
    HWND second = fcNewDocument(frame);
    ASSERT_TRUE(second != nullptr);
    pump();
    EXPECT_EQ(second, appGetActiveDocWindow(frame));
    ASSERT_EQ(1, countSeen(WS_MSG_LEAVE_MODE));
    for (const Seen &s : toolSeen())
        EXPECT_TRUE(s.msg != WS_MSG_LEAVE_MODE || s.lParam == 1);
    EXPECT_EQ(0, wsGetToolMode(ws));

    // Back to the first window: its page is shown again and 931 arrives.
    wsEnterToolMode(ws, TM_CREATE, recordingTool, 0, 0);
    pump();
    toolSeen().clear();
    SendMessageA(client, WM_MDIACTIVATE, (WPARAM)doc, 0);
    pump();
    EXPECT_EQ(1, countSeen(WM_COMMAND, 931));
    EXPECT_EQ(0, pvGetCurrentPageIndex(ws));
}

TEST_F(DocWin, AnUntouchedNewDocumentTakesTheFirstFileOpened)
{
    std::string path = home.file("taken.qm");
    ASSERT_TRUE(apptest::writeDocument(path));
    SendMessageA(frame, WM_COMMAND, 138, 0);   // close all
    pump();
    ASSERT_EQ(0, docCount());
    int reuse = 0;
    HWND fresh = dwOpenDocument(frame, wsClassName, nullptr, -1, 0, &reuse, FALSE, 0);
    ASSERT_TRUE(fresh != nullptr);
    EXPECT_EQ(1, reuse);
    EXPECT_EQ(fresh, dwGetUntouchedDocument());
    HWND opened = dwOpenDocument(frame, wsClassName, path.c_str(), -1, 0, &reuse, FALSE, 0);
    EXPECT_EQ(fresh, opened) << "the file goes into the untouched window";
    EXPECT_EQ(2, reuse);
    EXPECT_EQ(1, docCount());
    char own[MAX_PATH];
    EXPECT_TRUE(wsGetDocPath(dwGetWorkspace(opened), own));
    EXPECT_STREQ(path.c_str(), own);

    // Once the new document holds something, a file gets a window of its own.
    reuse = 0;
    HWND touched = dwOpenDocument(frame, wsClassName, nullptr, -1, 0, &reuse, FALSE, 0);
    wsMarkModified(dwGetWorkspace(touched));
    std::string other = home.file("other.qm");
    ASSERT_TRUE(apptest::writeDocument(other));
    HWND second = dwOpenDocument(frame, wsClassName, other.c_str(), -1, 0, &reuse, FALSE, 0);
    EXPECT_NE(touched, second);
    EXPECT_EQ(3, docCount());

    // A file that is not a document gives no window.
    std::string text = home.file("notes.qm");
    ASSERT_TRUE(qmtest::writeFile(text, std::string(64, 'x')));
    BoxRecorder boxes;
    EXPECT_EQ(nullptr, dwOpenDocument(frame, wsClassName, text.c_str(), -1, 0, &reuse, FALSE, 0));
    EXPECT_EQ("Not a Quillmark file | Read file failed.", boxes.texts());
    EXPECT_EQ(3, docCount());
}

TEST_F(DocWin, DroppedNamesOfFiveHundredTwentyCharactersAreSkipped)
{
    std::string longName = "C:\\" + std::string(517, 'a');
    ASSERT_EQ(520u, longName.size());
    std::string limit = "C:\\" + std::string(516, 'b');
    ASSERT_EQ(519u, limit.size());
    auto drop = [](const std::vector<std::string> &names) {
        return (WPARAM)apptest::dropFilesBlock(names, {30, 30});
    };
    EXPECT_EQ(FALSE, SendMessageA(ws, WM_DROPFILES, drop({longName}), 0));
    EXPECT_EQ(TRUE, SendMessageA(ws, WM_DROPFILES, drop({longName, limit}), 0));
    EXPECT_EQ(TRUE, SendMessageA(ws, WM_DROPFILES, drop({"C:\\plan.dwg"}), 0));
}

// ---- the view's world and pages ----------------------------------------------------------------------

TEST_F(DocWin, WorldPagesAndMoveStep)
{
    wsSetZoomPercent(ws, 100);
    RECT world;
    wsGetScrollWorld(&world);
    RECT inches = {-8, -8, 22, 22};
    EXPECT_TRUE(EqualRect(&inches, &world));
    wsGetScrollWorldLog(ws, &world);
    EXPECT_EQ(-8 * 1440, world.left);
    EXPECT_EQ(22 * 1440, world.bottom);

    RECT page;
    ASSERT_TRUE(wsGetPageRect(ws, 0, &page));
    EXPECT_EQ(12240, page.right - page.left);
    EXPECT_EQ(15840, page.bottom - page.top);
    EXPECT_FALSE(wsGetPageRect(ws, 3, &page));
    wsSetScrollStyle(ws, 0);
    EXPECT_EQ(0, wsGetPageOffset(ws, 1)) << "single page view";

    // The continuous view: pages one below the other, 288 twips apart.
    MemHandle form = wsGetDocument(ws);
    ASSERT_EQ(1, pgDirAppend(form, pgNewRecord(0)));
    wsSetScrollStyle(ws, 2);
    ASSERT_TRUE(wsBuildPageRects(ws));
    const int32_t second = dmLogToDevH(15840 + 288);
    EXPECT_EQ(second, wsGetPageOffset(ws, 1));
    EXPECT_EQ(second + dmLogToDevH(15840), wsGetPageBottom(ws, 1));
    struct Case {
        int32_t y;
        int page;
    } cases[] = {{-40, 0}, {0, 0}, {second - 5, 0}, {second + 1, 1}, {100000, 1}};
    for (const Case &c : cases)
        EXPECT_EQ(c.page, wsPageIndexAtPos(ws, c.y)) << c.y;
    wsSetScrollStyle(ws, 0);
    EXPECT_EQ(0, wsPageIndexAtPos(ws, 100000)) << "the current page in single view";

    // Fit page centres the page in the client.
    wsSetZoomCode(ws, -100);
    wsUpdatePagePlacement(ws);
    int32_t x, y;
    wsGetPagePlacement(ws, &x, &y);
    RECT cl;
    GetClientRect(ws, &cl);
    EXPECT_NEAR((12240 - dmDevToLogW(cl.right)) / 2, x, 15);
    EXPECT_NEAR((15840 - dmDevToLogH(cl.bottom)) / 2, y, 15);

    // One pixel, or the ruler grid when snapping.
    int32_t dx, dy;
    wsSetSnapToRulers(ws, FALSE);
    wsGetMoveStep(ws, &dx, &dy);
    EXPECT_EQ(dmGetPixelWidth(), dx);
    wsSetRulerDivisions(ws, 16);
    wsSetSnapToRulers(ws, TRUE);
    wsGetMoveStep(ws, &dx, &dy);
    EXPECT_EQ(90, dx);
    EXPECT_EQ(90, dy);
    wsSetSnapToRulers(ws, FALSE);
}

TEST_F(DocWin, ClosingADocumentFreesEverythingItHeld)
{
    pump();
    const long before = qmtest::liveHandles();
    HWND second = fcNewDocument(frame);
    ASSERT_TRUE(second != nullptr);
    HWND secondWs = dwGetWorkspace(second);
    wsSetBackupName(secondWs, "C:\\backup.qm");
    wsSetTypeHidden(secondWs, 7, TRUE);
    wsSetSavedSession(secondWs, utAllocHandle(0, 40));
    wsSetScrollStyle(secondWs, 2);
    wsBuildPageRects(secondWs);
    pump();
    EXPECT_GT(qmtest::liveHandles(), before);
    SendMessageA(second, WM_CLOSE, 0, 0);
    pump();
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(before, qmtest::liveHandles());
}

TEST_F(DocWin, StoringAndGoingToPages)
{
    wsEnterToolMode(ws, TM_CREATE, recordingTool, 0, 0);
    pump();
    toolSeen().clear();
    MemHandle form = wsGetDocument(ws);
    MemHandle page = pvGetCurrentPage(ws);
    for (int i = 0; i < 2; ++i) {
        MemHandle r = obNewRecord(kObHeadSize);
        {
            ObLock rec(r);
            rec->type = OBT_RECTANGLE;
        }
        pgAppendObject(page, r);
    }
    fmSetOptions(form, (uint16_t)(fmGetOptions(form) | 0x200));
    EXPECT_EQ(form, pvCommitPage(ws));
    EXPECT_EQ(1, countSeen(WS_MSG_REFRESH)) << "the tool shows its last state first";
    PageData data;
    ASSERT_TRUE(pgGetProp(page, 41, &data));
    EXPECT_EQ(2, data.objectCount);
    EXPECT_EQ(0, data.pageIndex);
    EXPECT_EQ(0, fmGetOptions(form) & 0x200);

    // A page that is not there: the message, and the current page stays.
    BoxRecorder boxes;
    EXPECT_EQ(0, pvGoToPage(ws, 5));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Can not open page 6", boxes.last().text);
    EXPECT_EQ(0, pvGoToPage(ws, -1)) << "no base page";
    EXPECT_EQ("Can not open page 0", boxes.last().text);
    EXPECT_EQ(0, pvGetCurrentPageIndex(ws));
    EXPECT_EQ(1, pvGoToPage(ws, 0));
    EXPECT_EQ(2u, boxes.count());
}

TEST_F(DocWin, AWorkspaceThatCannotBeMadeIsReportedAndTolerated)
{
    HWND bare = nullptr;
    {
        BoxRecorder boxes;
        utFailNextAllocs(1);   // the workspace record
        bare = dwCreate(frame, client, wsClassName, "bare", nullptr);
        utFailNextAllocs(0);
        ASSERT_TRUE(bare != nullptr);
        ASSERT_EQ(2u, boxes.count()) << boxes.texts();
        EXPECT_EQ("Memory allocation failed", boxes.boxes()[0].text);
        EXPECT_EQ("Can not create workspace window", boxes.last().text);
    }
    EXPECT_EQ(nullptr, dwGetWorkspace(bare));
    EXPECT_EQ(1, dwOnCommand(bare, 961, 0));
    SendMessageA(bare, WM_SIZE, 0, MAKELPARAM(300, 200));
    dwPlaceRulers(bare);
    dwAttachDocument(bare, 0);
    EXPECT_TRUE(dwClose(bare));
    EXPECT_FALSE(IsWindow(bare));
}

}  // namespace
