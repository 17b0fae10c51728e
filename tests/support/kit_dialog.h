// Driving dialogs from a test.
//
// Two kinds of dialog are driven here:
//  - the program's own modal dialogs: a DialogDriver is made before the call
//    that shows the dialog and runs its steps inside the dialog's own
//    message loop;
//  - dialogs built in memory from a table of controls (TestDialog), to try
//    the dialog-field, list and combo routines on real controls, modal (with
//    a DialogDriver) or modeless (steps run at once, the queue pumped after
//    each).
//
// A step is any function of the dialog window. The actions below act as a
// user does and send the notification the control would send, so a dialog
// procedure sees what it sees in use:
//
//     qmtest::TestDialog dlg("Margins", {
//         {"EDIT", 300, ES_AUTOHSCROLL, "1.00"},
//         {"SCROLLBAR", 301, SBS_VERT},
//         {"LISTBOX", 400, LBS_NOTIFY | WS_VSCROLL},
//     });
//     dlg.onMessage([](HWND d, UINT msg, WPARAM wp, LPARAM lp) -> bool {
//         return msg == WM_VSCROLL && winMarginSpin(d, LOWORD(wp), (HWND)lp);
//     });
//     INT_PTR result = dlg.runModal({
//         [](HWND d) { qmtest::typeInto(d, 300, "2.5"); },
//         [](HWND d) { qmtest::pressSpin(d, 301, SB_LINEUP); },
//         [](HWND d) { qmtest::pressButton(d, IDOK); },   // or sendCommand
//     });
//
// A modal dialog still open when its steps are used up fails the test and
// is ended, so no test ever waits for a person.
#pragma once
#include "tests/support/kit_gtest.h"
#include <string.h>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace qmtest {

// Drives modal dialogs: a thread timer, created before the dialog runs,
// fires inside the dialog's own message loop; each tick runs the next step
// on the innermost enabled dialog ("#32770") of the thread that was not
// already open when the driver was made (so a modeless dialog the test keeps
// open is never taken for the modal one). Posted messages are handled before
// the next tick (timer messages come last), so a step sees what the previous
// one caused. A dialog still open once the steps are used up fails the test
// and is ended.
class DialogDriver {
public:
    typedef std::function<void(HWND)> Step;
    explicit DialogDriver(std::vector<Step> steps) : steps_(std::move(steps))
    {
        EnumThreadWindows(GetCurrentThreadId(), listProc, (LPARAM)&before_);
        current() = this;
        timer_ = SetTimer(nullptr, 0, 5, tick);
    }
    ~DialogDriver()
    {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    DialogDriver(const DialogDriver &) = delete;
    DialogDriver &operator=(const DialogDriver &) = delete;
    size_t ran() const { return next_; }
    bool leftOpen() const { return leftOpen_; }

    // The innermost visible, enabled dialog of the thread, or null.
    static HWND findDialog()
    {
        std::set<HWND> none;
        return findDialogExcept(none);
    }

private:
    struct Search {
        const std::set<HWND> *skip;
        HWND found;
    };
    static bool isDialog(HWND w)
    {
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof(cls));
        return strcmp(cls, "#32770") == 0;
    }
    static BOOL CALLBACK listProc(HWND w, LPARAM lParam)
    {
        if (isDialog(w))
            ((std::set<HWND> *)lParam)->insert(w);
        return TRUE;
    }
    static BOOL CALLBACK findProc(HWND w, LPARAM lParam)
    {
        Search *s = (Search *)lParam;
        if (isDialog(w) && IsWindowVisible(w) && IsWindowEnabled(w) && !s->skip->count(w))
            s->found = w;
        return TRUE;
    }
    static HWND findDialogExcept(const std::set<HWND> &skip)
    {
        Search s{&skip, nullptr};
        EnumThreadWindows(GetCurrentThreadId(), findProc, (LPARAM)&s);
        return s.found;
    }
    static DialogDriver *&current()
    {
        static DialogDriver *d = nullptr;
        return d;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogDriver *d = current();
        if (!d || d->busy_)
            return;
        HWND dlg = findDialogExcept(d->before_);
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
    std::set<HWND> before_;
    size_t next_ = 0;
    bool leftOpen_ = false;
    bool busy_ = false;
    UINT_PTR timer_ = 0;
};

// ---- actions on a dialog's items ----------------------------------------------------

// Clicks a dialog's button (nothing happens when it is disabled).
inline void pressButton(HWND dlg, int id)
{
    SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}
// Sends WM_COMMAND with the id (IDOK, IDCANCEL, a menu-like command).
inline void sendCommand(HWND dlg, int id)
{
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}
std::string windowText(HWND w);
// The text of a dialog item.
std::string itemText(HWND dlg, int id);
// Types the text into an edit: focuses it, selects all and replaces the
// selection, so the edit sends its EN_CHANGE as under the keyboard.
void typeInto(HWND dlg, int id, const char *text);
// Chooses item i of a list box or combo box and sends the notification a
// mouse choice sends (LBN_SELCHANGE / CBN_SELCHANGE). In a multiple-
// selection list box the item is added to the selection.
void chooseItem(HWND dlg, int id, int i);
// The same for the item whose text equals the text (ignoring case); fails
// the test when there is none.
void chooseItemText(HWND dlg, int id, const char *text);
// Chooses item i and double-clicks it (LBN_DBLCLK / CBN_DBLCLK).
void doubleClickItem(HWND dlg, int id, int i);
// Presses an arrow of a spin bar: WM_VSCROLL with the scroll code
// (SB_LINEUP for the upper arrow, SB_LINEDOWN for the lower) from the
// scroll bar, to the dialog.
void pressSpin(HWND dlg, int scrollBarId, int code);
// The items of a list box or combo box, in order.
std::vector<std::string> readList(HWND dlg, int id);
// The selected item indexes of a list box (all of them for a multiple-
// selection list box), or the combo box's selected index.
std::vector<int> selectedItems(HWND dlg, int id);

// ---- dialogs built in memory --------------------------------------------------------

// One control of an in-memory dialog. WS_CHILD and WS_VISIBLE are added to
// the style. With cx 0 the control is placed on the next row of a simple
// layout (a scroll bar goes beside the control before it).
struct DialogControl {
    const char *cls;     // "EDIT", "LISTBOX", "COMBOBOX", "SCROLLBAR", "BUTTON", "STATIC" or any registered class
    int id;
    DWORD style = 0;
    const char *text = "";
    short x = 0, y = 0, cx = 0, cy = 0;   // dialog units
};

// A message as the in-memory dialog saw it: WM_COMMAND with the control id
// and the notification code, WM_VSCROLL / WM_HSCROLL with the scroll bar's
// id and the scroll code.
struct DialogNotice {
    UINT msg;
    int id;
    int code;
};

// Called first for every message of an in-memory dialog; true when handled.
typedef std::function<bool(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)> DialogHandler;

// Builds a DLGTEMPLATE (DWORD-aligned) for the caption and controls.
std::vector<DWORD> buildDialogTemplate(const char *caption,
                                       const std::vector<DialogControl> &controls);

// A dialog made from a table of controls. It records every command and
// scroll notice, gives each message to the handler first, and ends on
// IDOK or IDCANCEL (modal: EndDialog with the id; modeless: the window is
// destroyed and the id kept as the result).
class TestDialog {
public:
    TestDialog(const char *caption, std::vector<DialogControl> controls);
    ~TestDialog();
    TestDialog(const TestDialog &) = delete;
    TestDialog &operator=(const TestDialog &) = delete;

    void onMessage(DialogHandler handler) { handler_ = std::move(handler); }

    // Runs the dialog modally with a DialogDriver on the steps; returns
    // its result. A dialog left open after the steps fails the test.
    INT_PTR runModal(std::vector<DialogDriver::Step> steps, HWND owner = nullptr);

    // Modeless: opens the dialog (hidden from DialogDriver, which only
    // takes dialogs opened after it was made), runs steps on it with the
    // queue pumped after each, and closes it (also done by the destructor).
    HWND open(HWND owner = nullptr);
    void run(const std::vector<DialogDriver::Step> &steps);
    void close();

    HWND hwnd() const { return hwnd_; }
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }
    bool isOpen() const { return hwnd_ && IsWindow(hwnd_); }
    INT_PTR result() const { return result_; }
    const std::vector<DialogNotice> &notices() const { return notices_; }
    // Number of notices of the message with the id and code.
    int count(UINT msg, int id, int code) const;
    void clearNotices() { notices_.clear(); }

private:
    static INT_PTR CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    std::vector<DWORD> template_;
    DialogHandler handler_;
    std::vector<DialogNotice> notices_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    INT_PTR result_ = 0;
};

}  // namespace qmtest
