// Driving the program's modal dialogs from a test: a scripted driver that
// runs steps inside the dialog's own message loop, and small helpers for
// buttons, commands and window texts.
#pragma once
#include "tests/support/kit_gtest.h"
#include <string.h>
#include <functional>
#include <string>
#include <vector>

namespace qmtest {

// Drives the program's modal dialogs: a thread timer, created before the
// dialog runs, fires inside the dialog's own message loop; each tick runs the
// next step on the innermost enabled dialog ("#32770") of the thread. Posted
// messages are handled before the next tick (timer messages come last), so a
// step sees what the previous one caused. A dialog still open once the steps
// are used up fails the test and is ended.
class DialogDriver {
public:
    typedef std::function<void(HWND)> Step;
    explicit DialogDriver(std::vector<Step> steps) : steps_(std::move(steps))
    {
        current() = this;
        timer_ = SetTimer(nullptr, 0, 5, tick);
    }
    ~DialogDriver()
    {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    size_t ran() const { return next_; }
    bool leftOpen() const { return leftOpen_; }

    static HWND findDialog()
    {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), findProc, (LPARAM)&found);
        return found;
    }

private:
    static DialogDriver *&current()
    {
        static DialogDriver *d = nullptr;
        return d;
    }
    static BOOL CALLBACK findProc(HWND w, LPARAM lParam)
    {
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof(cls));
        if (strcmp(cls, "#32770") == 0 && IsWindowVisible(w) && IsWindowEnabled(w))
            *(HWND *)lParam = w;
        return TRUE;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogDriver *d = current();
        if (!d || d->busy_)
            return;
        HWND dlg = findDialog();
        if (!dlg)
            return;
        d->busy_ = true;
        if (d->next_ < d->steps_.size()) {
            Step step = d->steps_[d->next_++];
            step(dlg);
        } else {
            d->leftOpen_ = true;
            ADD_FAILURE() << "a dialog is still open after its script";
            EndDialog(dlg, 0);
        }
        d->busy_ = false;
    }
    std::vector<Step> steps_;
    size_t next_ = 0;
    bool leftOpen_ = false;
    bool busy_ = false;
    UINT_PTR timer_ = 0;
};

// Clicks a dialog's button (nothing happens when it is disabled).
inline void pressButton(HWND dlg, int id)
{
    SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}
inline void sendCommand(HWND dlg, int id)
{
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}
inline std::string windowText(HWND w)
{
    char text[512] = {};
    GetWindowTextA(w, text, sizeof(text));
    return text;
}

}  // namespace qmtest
