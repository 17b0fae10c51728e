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
#include "views/ws_document.h"
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
        MemHandle h = obtest::make(type, l, t, r, b);
        wsAppendObject(ws, h);
        return h;
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
