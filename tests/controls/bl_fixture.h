// Test fixture of the button lists: a parent window that records every
// WM_COMMAND it gets (and answers the drag questions as a frame would), a
// pump, and helpers that post mouse gestures.
#pragma once
#include "tests/support/kit.h"
#include "controls/btnlist.h"
#include "controls/btnlist_press.h"
#include "controls/maintools.h"
#include "support/app_frame_globals.h"
#include "support/app_ui_state.h"
#include "support/gdi_tipbox.h"
#include "support/win_mouse.h"
#include "support/win_menu.h"
#include <string>
#include <vector>

namespace bltest {

struct Command {
    UINT msg;       // WM_COMMAND or WM_INITMENUPOPUP
    WPARAM wParam;
    LPARAM lParam;
    bool sent;      // sent (true) or posted
};

// What the recording parent saw; module-wide so the window procedure can
// reach it.
struct Recorder {
    std::vector<Command> commands;
    uint32_t dropAnswer = 0;             // answer to command 79
    BlDropBlock dropRect = {0, 0, 0, 0}; // rectangle given on command 78
    int32_t dropAskedFor = 0;            // first 32 bits of the block on 78
    uint16_t dropCreatedFor = 0;         // command of the entry on 77
    BlDropBlock dropCreatedAt = {0, 0, 0, 0};
    HWND destroyOnCommand = nullptr;     // destroyed when any button command arrives
};
inline Recorder &recorder()
{
    static Recorder r;
    return r;
}


// A top-level parent 600 by 400 at (100, 100), shown and active, with the
// classes registered and the modules reset; torn down afterwards.
class ListTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND parent() const { return parent_; }
    // A docked list over a table, shown.
    HWND makeList(uint16_t listId, RECT rect, uint16_t style, const ToolButton *entries, int count,
                  int bw, int bh);
    // Centre of button i in client coordinates of the list.
    POINT centre(HWND list, int index);
    static LPARAM at(POINT pt) { return MAKELPARAM(pt.x, pt.y); }
    // Posts a full left click (down and up) at a point.
    void click(HWND list, POINT pt);
    void rightClick(HWND list, POINT pt);

private:
    HWND parent_ = nullptr;
};



namespace detail {

// The message the pump is dispatching: a command that is this message was
// posted; any other was sent.
inline MSG &dispatching()
{
    static MSG m = {};
    return m;
}

inline bool isDispatched(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const MSG &m = dispatching();
    return m.hwnd == hwnd && m.message == msg && m.wParam == wParam && m.lParam == lParam;
}

inline const char kParentClass[] = "qmtest_blparent";

inline LRESULT CALLBACK parentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Recorder &r = recorder();
    if (msg == WM_INITMENUPOPUP) {
        r.commands.push_back({msg, wParam, lParam, !isDispatched(hwnd, msg, wParam, lParam)});
        return 0;
    }
    if (msg != WM_COMMAND)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    r.commands.push_back({msg, wParam, lParam, !isDispatched(hwnd, msg, wParam, lParam)});
    switch (LOWORD(wParam)) {
    case BL_DROP_ASK:
        *reinterpret_cast<uint32_t *>(lParam) = r.dropAnswer;
        break;
    case BL_DROP_RECT: {
        BlDropBlock *b = reinterpret_cast<BlDropBlock *>(lParam);
        r.dropAskedFor = b->left;
        *b = r.dropRect;
        break;
    }
    case BL_DROP_CREATE: {
        const BlDropInfo *info = reinterpret_cast<const BlDropInfo *>(lParam);
        r.dropCreatedFor = info->entry->command;
        r.dropCreatedAt = info->rect;
        break;
    }
    case BL_NOTIFY_CLOSING:
    case BL_NOTIFY_CLOSED:
    case BL_DROP_PREPARE:
        break;
    default:
        if (r.destroyOnCommand) {
            HWND w = r.destroyOnCommand;
            r.destroyOnCommand = nullptr;
            DestroyWindow(w);
        }
        break;
    }
    return 0;
}

}  // namespace detail


// Commands with a given low word of wParam.
inline std::vector<Command> commandsWith(UINT id)
{
    std::vector<Command> out;
    for (const Command &c : recorder().commands)
        if (c.msg == WM_COMMAND && LOWORD(c.wParam) == id)
            out.push_back(c);
    return out;
}

// The button commands only (not the notifications 970/914 and not the
// drag questions 76 to 79).
inline std::vector<Command> buttonCommands()
{
    std::vector<Command> out;
    for (const Command &c : recorder().commands) {
        UINT id = LOWORD(c.wParam);
        if (c.msg != WM_COMMAND || id == BL_NOTIFY_CLOSING || id == BL_NOTIFY_CLOSED ||
            (id >= BL_DROP_PREPARE && id <= BL_DROP_ASK))
            continue;
        out.push_back(c);
    }
    return out;
}

// Runs the queue until it is empty (the main loop's body).
inline void pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        detail::dispatching() = msg;
        DispatchMessageA(&msg);
        detail::dispatching() = MSG();
    }
}

inline void ListTest::SetUp()
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    ASSERT_TRUE(blRegisterClass(inst));
    WNDCLASSA wc = {};
    if (!GetClassInfoA(inst, detail::kParentClass, &wc)) {
        wc.lpfnWndProc = detail::parentProc;
        wc.hInstance = inst;
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = detail::kParentClass;
        ASSERT_TRUE(RegisterClassA(&wc));
    }
    recorder() = Recorder();
    parent_ = CreateWindowA(detail::kParentClass, "list parent", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 100,
                            100, 600, 400, nullptr, nullptr, inst, nullptr);
    ASSERT_TRUE(parent_ != nullptr);
    ShowWindow(parent_, SW_SHOW);
    SetActiveWindow(parent_);
    SetFocus(parent_);
    appSetFrameWindow(parent_);
    pump();
}

inline void ListTest::TearDown()
{
    pump();
    winSetTrackPopupHook(nullptr);
    blResetPressModule();
    blResetToolListModule();
    gdiResetTipBox();
    appSetMenuLanguageId(0);
    appSetActiveWorkspace(nullptr);
    appSetFrameWindow(nullptr);
    if (parent_)
        DestroyWindow(parent_);
    pump();
    recorder() = Recorder();
}

inline HWND ListTest::makeList(uint16_t listId, RECT rect, uint16_t style, const ToolButton *entries,
                        int count, int bw, int bh)
{
    HWND list = blCreateShown(parent_, nullptr, listId, &rect, style, entries, count, bw, bh);
    EXPECT_TRUE(list != nullptr);
    UpdateWindow(list);
    pump();
    return list;
}

inline POINT ListTest::centre(HWND list, int index)
{
    RECT r;
    blGetButtonRect(list, index, &r);
    POINT pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return pt;
}

inline void ListTest::click(HWND list, POINT pt)
{
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at(pt));
    PostMessageA(list, WM_LBUTTONUP, 0, at(pt));
}

inline void ListTest::rightClick(HWND list, POINT pt)
{
    PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, at(pt));
    PostMessageA(list, WM_RBUTTONUP, 0, at(pt));
}

}  // namespace bltest
