// A started program with one document whose page holds the objects a test
// makes, for the object commands: the page's list, the workspace's modes
// and a tool that notes the commands reaching the workspace.
#pragma once
#include "tests/app/app_fixture.h"
#include "tests/model/ob_kit.h"
#include "commands/ep_select.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "support/dm_map.h"
#include "support/win_mouse.h"
#include "tools/ep_factory.h"
#include "text/tx_flow.h"
#include "text/tx_header.h"
#include "text/tx_object.h"
#include <string>
#include <vector>

namespace cmdtest {

inline std::vector<WPARAM> &commandsSeen()
{
    static std::vector<WPARAM> seen;
    return seen;
}

// A tool (installed under any mode) that notes the commands reaching the
// workspace and claims them.
inline LRESULT CALLBACK noteCommands(HWND ws, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND && LOWORD(wp) != WS_CMD_MODE_CHANGED) {
        commandsSeen().push_back(LOWORD(wp));
        return 0;
    }
    if (msg == WS_MSG_LEAVE_MODE) {
        wsLeaveToolMode(ws, FALSE);
        return 0;
    }
    return wsDefProc(ws, msg, wp, lp);
}

class Page : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    uint32_t mode = utGetDebugMode();

    void SetUp() override
    {
        App::SetUp();
        writeSettings(false);
        ASSERT_TRUE(start());
        doc = appGetActiveDocWindow(frame);
        ws = dwGetWorkspace(doc);
        ASSERT_TRUE(ws != nullptr);
        ASSERT_NE(0u, pvGetCurrentPage(ws));
        commandsSeen().clear();
        wsSetZoomPercent(ws, 100);
        wsSetSnapToRulers(ws, FALSE);
        epEnterSelectMode(ws, 0);
        pump();
    }
    void TearDown() override
    {
        utSetDebugMode(mode);
        if (ws && IsWindow(ws))
            udDiscard(ws);
        App::TearDown();
    }

    MemHandle add(int16_t type, int32_t l, int32_t t, int32_t r, int32_t b)
    {
        POINT pts[2] = {{l, t}, {r, b}};
        MemHandle h = epCreateObject(ws, 0, type, pts, 2);
        if (!h)
            h = obtest::make(type, l, t, r, b);
        obSetFlags(h, OBF_LOCKED | OBF_NO_POINT_EDIT, FALSE);
        wsAppendObject(ws, h);
        return h;
    }
    // A text object of one line in the box, on top of the page.
    MemHandle addText(int32_t l, int32_t t, int32_t r, int32_t b, const char *text)
    {
        TextHeader th = {};
        th.lf.lfHeight = -240;
        th.lf.lfWeight = 400;
        lstrcpyA(th.lf.lfFaceName, "Liberation Sans");
        th.bkMode = 1;
        th.spacing = 4;
        RECT box = {l, t, r, b};
        MemHandle h = txNewPlainTextObject(nullptr, &box, &th, text);
        wsAppendObject(ws, h);
        return h;
    }
    static std::string textOf(MemHandle h)
    {
        MemHandle t = txGetPlainText(h);
        std::string s;
        {
            MemLock<char> p(t);
            if (p)
                s.assign(p.get(), strnlen(p.get(), utHandleSize(t)));
        }
        utFreeHandle(t);
        return s;
    }
    // Posted mouse gestures at page points (twips), pumped.
    POINT px(int32_t x, int32_t y)
    {
        wsApplyViewMapping(ws);
        return POINT{dmLogToDevX(x), dmLogToDevY(y)};
    }
    POINT centreOf(MemHandle h)
    {
        POINT c;
        obGetCentre(h, &c);
        return px(c.x, c.y);
    }
    void post(UINT msg, WPARAM keys, POINT p) { PostMessageA(ws, msg, keys, MAKELPARAM(p.x, p.y)); }
    void click(POINT p)
    {
        post(WM_MOUSEMOVE, 0, p);
        post(WM_LBUTTONDOWN, MK_LBUTTON, p);
        post(WM_LBUTTONUP, 0, p);
        // No second press comes within the double-click time.
        PostMessageA(ws, WM_TIMER, WIN_WAIT_CLICK_TIMER, 0);
        pump();
    }
    void doubleClick(POINT p)
    {
        post(WM_LBUTTONDOWN, MK_LBUTTON, p);
        post(WM_LBUTTONUP, 0, p);
        post(WM_LBUTTONDBLCLK, MK_LBUTTON, p);
        post(WM_LBUTTONUP, 0, p);
        pump();
    }
    void command(int id, LPARAM lParam = 0)
    {
        SendMessageA(ws, WM_COMMAND, (WPARAM)id, lParam);
        pump();
    }
    int16_t undoKind()
    {
        UndoRecord u;
        return wsGetUndo(ws, &u) ? (int16_t)u.kind : 0;
    }
    std::vector<MemHandle> page() { return obtest::listOf(wsGetFirstObject(ws)); }
    int undo() { return cmdUndo(ws, wsGetCurrentObject(ws)); }
    void select(MemHandle h)
    {
        epEnterSelectMode(ws, h);
        pump();
    }
    void notModified()
    {
        wsClearModified(ws);
        pump();
    }
};

}  // namespace cmdtest
