// A started program with one document in select mode, for the tests of the
// rotate tool, clone copies and composites: objects put on its page,
// client pixels of page points, and posted gestures.
#pragma once
#include "tests/app/app_fixture.h"
#include "tools/ep_factory.h"
#include "tools/ep_selection.h"
#include "tools/ep_tool_choice.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "support/dm_map.h"
#include "support/win_mouse.h"
#include "views/dw_window.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <vector>

namespace tooltest {

class Workspace : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        wsSetZoomPercent(ws, 100);
        wsSetSnapToRulers(ws, FALSE);
        epEnterSelectMode(ws, 0);
        pump();
        ASSERT_EQ(TM_SELECT, wsGetToolMode(ws));
    }
    void TearDown() override
    {
        epResetToolChoice();
        App::TearDown();
        dwResetModule();
    }

    // An unlocked object of the type from two corners (twips), on top.
    MemHandle add(int16_t type, RECT r)
    {
        POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
        MemHandle h = epCreateObject(ws, 0, type, pts, 2);
        EXPECT_TRUE(h != 0);
        obSetFlags(h, OBF_LOCKED | OBF_NO_POINT_EDIT | OBF_NO_ROTATE, FALSE);
        EXPECT_TRUE(wsAppendObject(ws, h));
        return h;
    }
    POINT px(int32_t x, int32_t y)
    {
        wsApplyViewMapping(ws);
        return POINT{dmLogToDevX(x), dmLogToDevY(y)};
    }
    POINT logical(POINT device)
    {
        wsApplyViewMapping(ws);
        return POINT{dmDevToLogX(device.x), dmDevToLogY(device.y)};
    }
    void post(UINT msg, WPARAM keys, POINT p) { PostMessageA(ws, msg, keys, MAKELPARAM(p.x, p.y)); }
    // A left drag from a through a point far enough to be a drag to b.
    void drag(POINT a, POINT b, POINT via = {-1, -1})
    {
        if (via.x < 0)
            via = POINT{a.x, a.y + 20};
        post(WM_MOUSEMOVE, 0, a);
        post(WM_LBUTTONDOWN, MK_LBUTTON, a);
        post(WM_MOUSEMOVE, MK_LBUTTON, via);
        post(WM_MOUSEMOVE, MK_LBUTTON, b);
        post(WM_LBUTTONUP, 0, b);
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
    void command(WORD id)
    {
        SendMessageA(ws, WM_COMMAND, id, 0);
        pump();
    }
    int16_t undoKind()
    {
        UndoRecord u;
        return wsGetUndo(ws, &u) ? (int16_t)u.kind : 0;
    }
    MemHandle current() { return wsGetCurrentObject(ws); }
    std::vector<MemHandle> pageObjects()
    {
        std::vector<MemHandle> v;
        obCollectList(wsGetFirstObject(ws), v);
        return v;
    }
    static uint16_t rotationOf(MemHandle h)
    {
        ObLock r(h);
        return r ? r->rotation : 0;
    }
    static POINT centreOf(MemHandle h)
    {
        POINT c;
        obGetCentre(h, &c);
        return c;
    }
    static std::vector<uint8_t> bytesOf(MemHandle h)
    {
        ObLock r(h);
        if (!r)
            return {};
        const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
        return std::vector<uint8_t>(p, p + r.extent());
    }
};

}  // namespace tooltest
