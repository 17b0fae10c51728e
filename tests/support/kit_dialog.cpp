// Dialog driving: actions on dialog items and dialogs built in memory.
#include "tests/support/kit_dialog.h"
#include "tests/support/kit.h"

namespace qmtest {

std::string windowText(HWND w)
{
    int len = GetWindowTextLengthA(w);
    std::string text((size_t)(len > 0 ? len : 0) + 1, '\0');
    int got = GetWindowTextA(w, &text[0], len + 1);
    text.resize(got > 0 ? (size_t)got : 0);
    return text;
}

std::string itemText(HWND dlg, int id)
{
    return windowText(GetDlgItem(dlg, id));
}

namespace {

enum ControlKind { OTHER, LIST, COMBO };

ControlKind kindOf(HWND control)
{
    char cls[32] = {};
    GetClassNameA(control, cls, sizeof(cls));
    if (lstrcmpiA(cls, "ListBox") == 0 || lstrcmpiA(cls, "ComboLBox") == 0)
        return LIST;
    if (lstrcmpiA(cls, "ComboBox") == 0)
        return COMBO;
    return OTHER;
}

bool isMultiple(HWND list)
{
    return (GetWindowLongA(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

void notifyParent(HWND dlg, HWND control, int code)
{
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), (LPARAM)control);
}

// Selects item i without notifying; false when the control cannot.
bool selectQuietly(HWND control, int i)
{
    switch (kindOf(control)) {
    case LIST:
        if (isMultiple(control))
            return SendMessageA(control, LB_SETSEL, TRUE, i) != LB_ERR;
        return SendMessageA(control, LB_SETCURSEL, i, 0) != LB_ERR;
    case COMBO:
        return SendMessageA(control, CB_SETCURSEL, i, 0) != CB_ERR;
    default:
        return false;
    }
}

}  // namespace

void typeInto(HWND dlg, int id, const char *text)
{
    HWND edit = GetDlgItem(dlg, id);
    EXPECT_TRUE(edit != nullptr) << "no edit " << id;
    if (!edit)
        return;
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, (LPARAM)(text ? text : ""));
}

void chooseItem(HWND dlg, int id, int i)
{
    HWND control = GetDlgItem(dlg, id);
    bool chosen = control && selectQuietly(control, i);
    EXPECT_TRUE(chosen) << "item " << i << " of control " << id << " cannot be chosen";
    if (chosen)
        notifyParent(dlg, control, kindOf(control) == LIST ? LBN_SELCHANGE : CBN_SELCHANGE);
}

void chooseItemText(HWND dlg, int id, const char *text)
{
    std::vector<std::string> items = readList(dlg, id);
    for (size_t i = 0; i < items.size(); ++i)
        if (lstrcmpiA(items[i].c_str(), text) == 0) {
            chooseItem(dlg, id, (int)i);
            return;
        }
    ADD_FAILURE() << "control " << id << " has no item \"" << text << "\"";
}

void doubleClickItem(HWND dlg, int id, int i)
{
    chooseItem(dlg, id, i);
    HWND control = GetDlgItem(dlg, id);
    if (control)
        notifyParent(dlg, control, kindOf(control) == LIST ? LBN_DBLCLK : CBN_DBLCLK);
}

void pressSpin(HWND dlg, int scrollBarId, int code)
{
    HWND bar = GetDlgItem(dlg, scrollBarId);
    EXPECT_TRUE(bar != nullptr) << "no scroll bar " << scrollBarId;
    SendMessageA(dlg, WM_VSCROLL, MAKEWPARAM(code, 0), (LPARAM)bar);
}

std::vector<std::string> readList(HWND dlg, int id)
{
    std::vector<std::string> items;
    HWND control = GetDlgItem(dlg, id);
    ControlKind kind = kindOf(control);
    if (kind == OTHER)
        return items;
    UINT countMsg = kind == LIST ? LB_GETCOUNT : CB_GETCOUNT;
    UINT lenMsg = kind == LIST ? LB_GETTEXTLEN : CB_GETLBTEXTLEN;
    UINT textMsg = kind == LIST ? LB_GETTEXT : CB_GETLBTEXT;
    int n = (int)SendMessageA(control, countMsg, 0, 0);
    for (int i = 0; i < n; ++i) {
        LRESULT len = SendMessageA(control, lenMsg, i, 0);
        std::string text((size_t)(len > 0 ? len : 0) + 1, '\0');
        LRESULT got = SendMessageA(control, textMsg, i, (LPARAM)&text[0]);
        text.resize(got > 0 ? (size_t)got : 0);
        items.push_back(text);
    }
    return items;
}

std::vector<int> selectedItems(HWND dlg, int id)
{
    std::vector<int> selected;
    HWND control = GetDlgItem(dlg, id);
    switch (kindOf(control)) {
    case LIST:
        if (isMultiple(control)) {
            int n = (int)SendMessageA(control, LB_GETSELCOUNT, 0, 0);
            if (n > 0) {
                selected.resize((size_t)n);
                n = (int)SendMessageA(control, LB_GETSELITEMS, n, (LPARAM)selected.data());
                selected.resize(n > 0 ? (size_t)n : 0);
            }
        } else {
            int sel = (int)SendMessageA(control, LB_GETCURSEL, 0, 0);
            if (sel >= 0)
                selected.push_back(sel);
        }
        break;
    case COMBO: {
        int sel = (int)SendMessageA(control, CB_GETCURSEL, 0, 0);
        if (sel >= 0)
            selected.push_back(sel);
        break;
    }
    default:
        break;
    }
    return selected;
}

// ---- dialogs built in memory --------------------------------------------------------

namespace {

class TemplateWriter {
public:
    void word(WORD w) { bytes_.push_back((uint8_t)(w & 0xFF)); bytes_.push_back((uint8_t)(w >> 8)); }
    void dword(DWORD d) { word((WORD)(d & 0xFFFF)); word((WORD)(d >> 16)); }
    void text(const char *s)
    {
        // The texts of a template are UTF-16; the kit's texts are ASCII.
        for (const char *p = s ? s : ""; *p; ++p)
            word((WORD)(uint8_t)*p);
        word(0);
    }
    void alignDword()
    {
        while (bytes_.size() % 4)
            bytes_.push_back(0);
    }
    std::vector<DWORD> finish()
    {
        alignDword();
        std::vector<DWORD> out(bytes_.size() / 4);
        memcpy(out.data(), bytes_.data(), bytes_.size());
        return out;
    }

private:
    std::vector<uint8_t> bytes_;
};

// Places the controls that have no size on rows; returns the dialog's height.
short layOut(std::vector<DialogControl> &controls)
{
    short y = 4, bottom = 4;
    const DialogControl *previous = nullptr;
    for (DialogControl &c : controls) {
        if (c.cx == 0) {
            bool bar = lstrcmpiA(c.cls, "SCROLLBAR") == 0;
            if (bar && previous) {
                c.x = (short)(previous->x + previous->cx + 2);
                c.y = previous->y;
                c.cx = 10;
                c.cy = previous->cy;
            } else {
                bool tall = lstrcmpiA(c.cls, "LISTBOX") == 0;
                bool combo = lstrcmpiA(c.cls, "COMBOBOX") == 0;
                c.x = 4;
                c.y = y;
                c.cx = 140;
                c.cy = tall ? 40 : combo ? 60 : 12;
                y = (short)(y + (combo ? 14 : c.cy) + 4);
            }
        }
        if (c.y + c.cy > bottom)
            bottom = (short)(c.y + c.cy);
        previous = &c;
    }
    return (short)(bottom + 4);
}

}  // namespace

std::vector<DWORD> buildDialogTemplate(const char *caption,
                                       const std::vector<DialogControl> &given)
{
    std::vector<DialogControl> controls = given;
    short height = layOut(controls);
    TemplateWriter w;
    w.dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    w.dword(0);
    w.word((WORD)controls.size());
    w.word(10);
    w.word(10);
    w.word(180);
    w.word((WORD)height);
    w.word(0);   // no menu
    w.word(0);   // the standard dialog class
    w.text(caption);
    for (const DialogControl &c : controls) {
        w.alignDword();
        w.dword(c.style | WS_CHILD | WS_VISIBLE);
        w.dword(0);
        w.word((WORD)c.x);
        w.word((WORD)c.y);
        w.word((WORD)c.cx);
        w.word((WORD)c.cy);
        w.word((WORD)c.id);
        w.text(c.cls);
        w.text(c.text);
        w.word(0);   // no creation data
    }
    return w.finish();
}

TestDialog::TestDialog(const char *caption, std::vector<DialogControl> controls)
    : template_(buildDialogTemplate(caption, controls))
{
}

TestDialog::~TestDialog()
{
    close();
}

INT_PTR CALLBACK TestDialog::proc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        ((TestDialog *)lParam)->hwnd_ = dlg;
    }
    TestDialog *self = (TestDialog *)GetWindowLongPtrA(dlg, DWLP_USER);
    if (!self)
        return FALSE;
    if (msg == WM_COMMAND)
        self->notices_.push_back({msg, (int)LOWORD(wParam), (int)HIWORD(wParam)});
    else if ((msg == WM_VSCROLL || msg == WM_HSCROLL) && lParam)
        self->notices_.push_back({msg, GetDlgCtrlID((HWND)lParam), (int)LOWORD(wParam)});
    if (self->handler_ && self->handler_(dlg, msg, wParam, lParam))
        return TRUE;
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            self->result_ = LOWORD(wParam);
            if (self->modal_)
                EndDialog(dlg, LOWORD(wParam));
            else
                DestroyWindow(dlg);
            return TRUE;
        }
        return FALSE;
    case WM_NCDESTROY:
        SetWindowLongPtrA(dlg, DWLP_USER, 0);
        if (self->hwnd_ == dlg)
            self->hwnd_ = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR TestDialog::runModal(std::vector<DialogDriver::Step> steps, HWND owner)
{
    modal_ = true;
    result_ = 0;
    DialogDriver driver(std::move(steps));
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                             (const DLGTEMPLATE *)template_.data(), owner, proc,
                                             (LPARAM)this);
    modal_ = false;
    hwnd_ = nullptr;
    return result;
}

HWND TestDialog::open(HWND owner)
{
    close();
    modal_ = false;
    result_ = 0;
    HWND dlg = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                          (const DLGTEMPLATE *)template_.data(), owner, proc,
                                          (LPARAM)this);
    EXPECT_TRUE(dlg != nullptr) << "the in-memory dialog was not created";
    hwnd_ = dlg;
    return dlg;
}

void TestDialog::run(const std::vector<DialogDriver::Step> &steps)
{
    for (const DialogDriver::Step &step : steps) {
        if (!isOpen()) {
            ADD_FAILURE() << "a step is left for a dialog that is closed";
            return;
        }
        step(hwnd_);
        pumpUntilIdle();
    }
}

void TestDialog::close()
{
    if (hwnd_ && !modal_ && IsWindow(hwnd_))
        DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

int TestDialog::count(UINT msg, int id, int code) const
{
    int n = 0;
    for (const DialogNotice &notice : notices_)
        if (notice.msg == msg && notice.id == id && notice.code == code)
            ++n;
    return n;
}

}  // namespace qmtest
