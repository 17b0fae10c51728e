// Button list presses and tooltips. Each press, repeat, drag and shown tip
// runs a local loop with the mouse captured; positions come from the
// messages, and every loop also ends when the capture goes elsewhere.
#include "controls/btnlist_press.h"
#include "support/app_frame_globals.h"
#include "support/app_ui_state.h"
#include "controls/pop_blank.h"
#include "support/gdi_tipbox.h"
#include "support/ut_mem.h"
#include "support/win_mouse.h"
#include "support/win_menu.h"
#include "support/win_window.h"
#include <string.h>
#include <vector>

namespace {

const UINT kSysTimer = 0x0118;   // the system's own timer message (caret, menus)

// The hover watch: one for the program.
struct HoverWatch {
    HWND list;
    int button;
    POINT last;   // the pointer's last client position over the list
};
HoverWatch g_watch = {nullptr, -1, {0, 0}};

POINT pointOf(LPARAM lParam)
{
    POINT pt;
    winLParamToPoint(lParam, &pt);
    return pt;
}

LPARAM screenParam(HWND list, POINT pt)
{
    ClientToScreen(list, &pt);
    return MAKELPARAM((WORD)(int16_t)pt.x, (WORD)(int16_t)pt.y);
}

// The next message of a local loop, left in the queue; false when the loop
// must end (the capture went elsewhere with nothing queued, or WM_QUIT).
bool nextMessage(HWND owner, MSG *msg)
{
    for (;;) {
        if (PeekMessageA(msg, nullptr, 0, 0, PM_NOREMOVE))
            return msg->message != WM_QUIT;
        if (GetCapture() != owner)
            return false;
        WaitMessage();
    }
}

void takeMessage(const MSG &seen)
{
    MSG m;
    PeekMessageA(&m, seen.hwnd, seen.message, seen.message, PM_REMOVE);
}

void dispatchMessage(const MSG &seen)
{
    MSG m;
    if (PeekMessageA(&m, seen.hwnd, seen.message, seen.message, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

bool isMouse(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }

void releaseCapture(HWND list)
{
    if (GetCapture() == list)
        ReleaseCapture();
}

uint16_t listStyle(HWND list)
{
    ButtonListRecord rec;
    return blGetRecord(list, &rec) ? rec.style : 0;
}

bool isFlat(HWND list) { return (listStyle(list) & BLS_FLAT) == BLS_FLAT; }

// ---- tooltips ---------------------------------------------------------------------------

bool hoverAllowed(HWND list)
{
    HWND parent = GetParent(list);
    HWND focus = GetFocus(), active = GetActiveWindow();
    if (focus && (focus == list || focus == parent))
        return true;
    return active && (active == parent || active == appGetFrameWindow());
}

void stopWatch()
{
    if (g_watch.list && IsWindow(g_watch.list))
        KillTimer(g_watch.list, BL_HOVER_TIMER);
    g_watch.list = nullptr;
    g_watch.button = -1;
}

bool hoverEdge(HWND list, int index)
{
    ToolButton e;
    return isFlat(list) && blGetButton(list, index, &e) && e.kind && e.enabled;
}

void showTipAt(HWND list, int index, POINT pt)
{
    ToolButton e;
    if (!blGetButton(list, index, &e))
        return;
    if (hoverEdge(list, index))
        blDrawLook(list, index, BL_LOOK_HOVER);
    RECT r;
    blGetButtonRect(list, index, &r);
    POINT at = blTipPosition(r, pt);
    ClientToScreen(list, &at);
    char text[sizeof(e.tooltip) + 1];
    uint32_t n = tbFieldLen(e.tooltip, sizeof(e.tooltip));
    memcpy(text, e.tooltip, n);
    text[n] = 0;
    gdiShowTipBox(list, at.x, at.y, text, blGetFont(list), GetSysColor(COLOR_INFOTEXT),
                  GetSysColor(COLOR_INFOBK));
}

void removeTip(HWND list, int index)
{
    gdiHideTipBox(list);
    if (IsWindow(list) && hoverEdge(list, index))
        blDrawLook(list, index, BL_LOOK_HOVER_OFF);
}

// Shows the tip of a button and keeps it while only pointer moves, cursor
// queries and system timers come.
void tipLoop(HWND list, int index, POINT pt)
{
    int shown = index;
    showTipAt(list, shown, pt);
    SetCapture(list);
    MSG msg;
    while (nextMessage(list, &msg)) {
        if (msg.message == WM_MOUSEMOVE) {
            takeMessage(msg);
            if (msg.hwnd != list)
                break;
            POINT p = pointOf(msg.lParam);
            RECT client;
            GetClientRect(list, &client);
            int over = PtInRect(&client, p) ? blHitTest(list, p) : -1;
            ToolButton e;
            if (over >= 0 && (!blGetButton(list, over, &e) || !e.kind))
                over = -1;
            if (over < 0)
                break;
            if (over != shown) {
                removeTip(list, shown);
                shown = over;
                showTipAt(list, shown, p);
            }
            continue;
        }
        if (msg.message == WM_SETCURSOR || msg.message == kSysTimer) {
            takeMessage(msg);
            continue;
        }
        break;   // any other message ends the tip and stays queued for its window
    }
    removeTip(list, shown);
    releaseCapture(list);
}

// ---- presses ----------------------------------------------------------------------------

void sendToParent(HWND list, WPARAM wParam, LPARAM lParam)
{
    SendMessageA(GetParent(list), WM_COMMAND, wParam, lParam);
}

void postToParent(HWND list, WPARAM wParam, LPARAM lParam)
{
    PostMessageA(GetParent(list), WM_COMMAND, wParam, lParam);
}

// Tracks a pressed button until upMsg: the eligible button under the
// pointer is drawn sunken. Returns the index under the pointer at the
// release (any entry), or -1 for a release away from every button or a
// lost capture.
int trackPress(HWND list, int index, UINT upMsg)
{
    int sunken = index;
    blDrawLook(list, sunken, BL_LOOK_SUNKEN);
    SetCapture(list);
    int released = -1;
    MSG msg;
    while (nextMessage(list, &msg)) {
        if (!isMouse(msg.message)) {
            dispatchMessage(msg);
            if (!IsWindow(list))
                return -1;
            continue;
        }
        takeMessage(msg);
        POINT p = pointOf(msg.lParam);
        if (msg.message == upMsg) {
            released = blHitTest(list, p);
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            int over = blHitTestLive(list, p);
            if (over != sunken) {
                if (sunken >= 0)
                    blDrawLook(list, sunken, BL_LOOK_NORMAL);
                sunken = over;
                if (sunken >= 0)
                    blDrawLook(list, sunken, BL_LOOK_SUNKEN);
            }
        }
    }
    releaseCapture(list);
    if (sunken >= 0)
        blDrawLook(list, sunken, BL_LOOK_NORMAL);
    return released;
}

// Repeats an auto-repeat button while it is held.
void repeatPress(HWND list, int index, const ToolButton &e, LPARAM lParam)
{
    blDrawLook(list, index, BL_LOOK_INVERT);
    int kind = winWaitClick(list, lParam);
    if (!IsWindow(list))
        return;
    if (kind != 0) {
        sendToParent(list, e.command, 0);
    } else {
        ButtonListRecord rec;
        blGetRecord(list, &rec);
        SetTimer(list, BL_REPEAT_TIMER, rec.repeatInterval, nullptr);
        SetCapture(list);
        int step = 1;
        MSG msg;
        while (nextMessage(list, &msg)) {
            if (msg.message == WM_TIMER && msg.hwnd == list && msg.wParam == BL_REPEAT_TIMER) {
                takeMessage(msg);
                blDrawLook(list, index, BL_LOOK_INVERT);
                blDrawLook(list, index, BL_LOOK_INVERT);
                sendToParent(list, e.command, step++);
                if (!IsWindow(list))
                    return;
                continue;
            }
            if (!isMouse(msg.message)) {
                dispatchMessage(msg);
                if (!IsWindow(list))
                    return;
                continue;
            }
            takeMessage(msg);
            if (msg.message == WM_LBUTTONUP)
                break;
            if (msg.message == WM_MOUSEMOVE && blHitTest(list, pointOf(msg.lParam)) != index)
                break;
        }
        sendToParent(list, e.command, step + 0x10000);
        if (!IsWindow(list))
            return;
        releaseCapture(list);
        KillTimer(list, BL_REPEAT_TIMER);
    }
    blDrawLook(list, index, BL_LOOK_INVERT);
}

// The pointer's screen point in logical units of the workspace: its client
// point through the inverse of the workspace's device context mapping.
void screenToWorkspaceLogical(HWND workspace, POINT *pt)
{
    if (!workspace)
        return;
    ScreenToClient(workspace, pt);
    HDC dc = GetDC(workspace);
    if (dc) {
        DPtoLP(dc, pt, 1);
        ReleaseDC(workspace, dc);
    }
}

// Drags a button out of the list; returns whether it was released on the
// dragged button itself.
bool dragButton(HWND list, int index, const ToolButton &e, POINT start)
{
    blDrawLook(list, index, BL_LOOK_INVERT);
    SetCapture(list);
    HINSTANCE inst = winGetInstance(list);
    HCURSOR paste = LoadCursorA(inst, "paste");
    HCURSOR stop = LoadCursorA(inst, "stop");
    HCURSOR oldCursor = SetCursor(paste);
    BlDropBlock block = {(int32_t)e.command, 0, 0, 0};
    bool moved = false, yes = false, prepared = false;
    POINT end = start;
    MSG msg;
    while (nextMessage(list, &msg)) {
        if (!isMouse(msg.message)) {
            dispatchMessage(msg);
            if (!IsWindow(list))
                return false;
            continue;
        }
        takeMessage(msg);
        end = pointOf(msg.lParam);
        if (msg.message == WM_LBUTTONUP)
            break;
        if (msg.message != WM_MOUSEMOVE)
            continue;
        if (end.x != start.x || end.y != start.y)
            moved = true;
        RECT client;
        GetClientRect(list, &client);
        if (PtInRect(&client, end)) {
            yes = false;
            SetCursor(paste);
            continue;
        }
        HWND frame = appGetFrameWindow();
        uint32_t answer = 0;
        if (frame)
            SendMessageA(frame, WM_COMMAND, BL_DROP_ASK, (LPARAM)&answer);
        yes = answer != 0;
        if (!yes) {
            SetCursor(stop);
            continue;
        }
        if (!prepared) {
            SendMessageA(frame, WM_COMMAND, BL_DROP_PREPARE, 0);
            SendMessageA(frame, WM_COMMAND, BL_DROP_RECT, (LPARAM)&block);
            prepared = true;
        }
        SetCursor(paste);
        POINT at = end;
        ClientToScreen(list, &at);
        screenToWorkspaceLogical(appGetActiveWorkspace(), &at);
        int32_t w = block.right - block.left, h = block.bottom - block.top;
        block.left = at.x;
        block.top = at.y;
        block.right = at.x + w;
        block.bottom = at.y + h;
    }
    if (!IsWindow(list))
        return false;
    blDrawLook(list, index, BL_LOOK_INVERT);
    SetCursor(oldCursor);
    releaseCapture(list);
    if (moved && yes && appGetFrameWindow()) {
        BlDropInfo info = {&e, block};
        SendMessageA(appGetFrameWindow(), WM_COMMAND, BL_DROP_CREATE, (LPARAM)&info);
    }
    return IsWindow(list) && blHitTest(list, end) == index;
}

// The release of a press on an enabled button of non-zero kind: its
// command goes to the parent (a fly-out opens for a sub-list), and a tool
// becomes the pressed button.
void releaseOn(HWND list, int index, POINT pressPt)
{
    ToolButton e;
    if (!blGetButton(list, index, &e) || !e.kind || !e.enabled)
        return;
    if (e.handle) {
        sendToParent(list, e.command, MAKELPARAM((WORD)e.objType, e.kind));
        if (IsWindow(list))
            blOpenFlyout(list, index);
    } else {
        LPARAM lp = (e.kind & TBK_POINT_ON_UP) ? screenParam(list, pressPt)
                                                : MAKELPARAM((WORD)e.objType, e.kind);
        postToParent(list, MAKEWPARAM(e.command, e.command2), lp);
    }
    if ((e.kind & TBK_STAYS) && IsWindow(list))
        blSetPressed(list, index);
}

}  // namespace

// ---- hover ------------------------------------------------------------------------------

POINT blTipPosition(const RECT &button, POINT pt)
{
    int third = (button.bottom - button.top) / 3;
    int down = pt.y - button.top;
    if (down < 0)
        down = 0;
    POINT at = {button.left, button.bottom + (third > 0 ? (down / third) * third : 0)};
    return at;
}

HWND blGetHoverList() { return g_watch.list; }

void blStopHoverWatch(HWND list)
{
    if (!list || g_watch.list == list)
        stopWatch();
}

void blOnMouseMove(HWND list, LPARAM lParam)
{
    if (!hoverAllowed(list))
        return;
    POINT pt = pointOf(lParam);
    int over = blHitTest(list, pt);
    ToolButton e;
    if (over >= 0 && (!blGetButton(list, over, &e) || !e.kind))
        over = -1;
    if (g_watch.list != list) {
        stopWatch();
        if (over >= 0) {
            g_watch.list = list;
            g_watch.button = over;
            g_watch.last = pt;
            SetTimer(list, BL_HOVER_TIMER, BL_HOVER_DELAY, nullptr);
        }
    } else if (over < 0) {
        stopWatch();
    } else {
        g_watch.last = pt;
    }
}

void blOnHoverTimer(HWND list)
{
    if (g_watch.list != list) {
        KillTimer(list, BL_HOVER_TIMER);
        return;
    }
    POINT pt = g_watch.last, screen = pt;
    ClientToScreen(list, &screen);
    int over = blHitTest(list, pt);
    ToolButton e;
    if (over >= 0 && (!blGetButton(list, over, &e) || !e.kind))
        over = -1;
    if (WindowFromPoint(screen) != list || over < 0) {
        stopWatch();
        return;
    }
    if (over != g_watch.button) {
        g_watch.button = over;
        return;
    }
    stopWatch();
    tipLoop(list, over, pt);
}

// ---- left button ------------------------------------------------------------------------

void blOnLButtonDown(HWND list, LPARAM lParam)
{
    stopWatch();
    int old = blGetPressed(list);
    if (old >= 0) {
        blSetPressed(list, -1);
        blInvalidateButton(list, old);
        UpdateWindow(list);
    }
    POINT pt = pointOf(lParam);
    int index = blHitTest(list, pt);
    ToolButton e;
    if (index < 0 || !blGetButton(list, index, &e) || !e.kind || !e.enabled)
        return;
    HWND parent = GetParent(list);
    if (e.kind & TBK_MENU) {
        HMENU menu = qmU32ToHandle<HMENU>(e.handle);
        SendMessageA(parent, WM_INITMENUPOPUP, (WPARAM)menu, 0);
        POINT at = pt;
        ClientToScreen(list, &at);
        winTrackPopup(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, parent);
        return;
    }
    if (e.kind & TBK_REPEAT) {
        repeatPress(list, index, e, lParam);
        return;
    }
    int released = -1;
    if (e.kind & TBK_DRAG) {
        int kind = winWaitClick(list, lParam);
        if (!IsWindow(list))
            return;
        bool onButton = kind != 0 || dragButton(list, index, e, pt);
        if (!onButton || !IsWindow(list))
            return;
        blDrawLook(list, index, BL_LOOK_SUNKEN);
        blDrawLook(list, index, BL_LOOK_NORMAL);
        releaseOn(list, index, pt);
        released = index;
    } else if (e.kind & TBK_AT_PRESS) {
        blDrawLook(list, index, BL_LOOK_SUNKEN);
        if (e.kind & TBK_STAYS)
            blSetPressed(list, index);
        blInvalidateButton(list, index);
        postToParent(list, MAKEWPARAM(e.command, e.command2), screenParam(list, pt));
        released = index;
    } else {
        released = trackPress(list, index, WM_LBUTTONUP);
        if (released >= 0 && IsWindow(list))
            releaseOn(list, released, pt);
    }
    if (!IsWindow(list))
        return;
    if (released >= 0)
        blInvalidateButton(list, released);
    int pressed = blGetPressed(list);
    if (pressed >= 0)
        blInvalidateButton(list, pressed);
    if (listStyle(list) & BLS_FLYOUT)
        SetFocus(parent);
}

// ---- right button -----------------------------------------------------------------------

void blOnRButtonDown(HWND list, LPARAM lParam)
{
    POINT pt = pointOf(lParam);
    int index = blHitTest(list, pt);
    ToolButton e;
    if (index < 0 || !blGetButton(list, index, &e) || !e.command2 || !e.kind || !e.enabled)
        return;
    stopWatch();
    blReleaseSelection(list);
    UpdateWindow(list);
    int released = trackPress(list, index, WM_RBUTTONUP);
    if (!IsWindow(list))
        return;
    blSetPressed(list, -1);
    if (released != index)
        return;
    postToParent(list, e.command2, lParam);
    blInvalidateButton(list, index);
    if (listStyle(list) & BLS_FLYOUT)
        SetFocus(GetParent(list));
}

void blOnRButtonUp(HWND list, LPARAM lParam)
{
    POINT pt = pointOf(lParam);
    int index = blHitTest(list, pt);
    ToolButton e;
    if (index >= 0 && blGetButton(list, index, &e) && e.kind)
        return;   // on a button: nothing
    popBlankMenu(list, lParam);
}

// ---- fly-outs ---------------------------------------------------------------------------

HWND blOpenFlyout(HWND list, int index)
{
    ToolButton e;
    ButtonListRecord rec;
    if (!blGetButton(list, index, &e) || !blGetRecord(list, &rec) || !e.handle || (e.kind & TBK_MENU))
        return nullptr;
    int n = tbCountSubList(e.handle);
    if (n <= 0)
        return nullptr;
    std::vector<ToolButton> entries((size_t)n);
    {
        MemLock<ToolButton> sub(e.handle);
        if (!sub)
            return nullptr;
        memcpy(entries.data(), sub.get(), (size_t)n * sizeof(ToolButton));
    }
    RECT button, window;
    blGetButtonRect(list, index, &button);
    GetWindowRect(list, &window);
    POINT at = {button.left, button.top};
    ClientToScreen(list, &at);
    const int bw = rec.buttonWidth, bh = rec.buttonHeight;
    RECT wr;
    uint16_t style;
    if (rec.style & BLS_ROW) {
        // A column just below the list; its buttons start 4 pixels down, so
        // the column is 4 pixels taller than its buttons.
        style = BLS_FLYOUT;
        SetRect(&wr, at.x, window.bottom, at.x + bw + 2, window.bottom + n * bh + 2 + 4);
    } else {
        style = BLS_FLYOUT | BLS_ROW;
        SetRect(&wr, window.right, at.y, window.right + n * bw + 2, at.y + bh + 2);
    }
    HWND flyout = blCreateWindow(GetParent(list), blGetFont(list), 0, wr, style, entries.data(), n,
                                 bw, bh, WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW, TRUE);
    if (flyout)
        SetFocus(flyout);
    return flyout;
}

void blResetPressModule()
{
    stopWatch();
    gdiHideTipBox(nullptr);
}
