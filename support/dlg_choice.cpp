#include "support/dlg_choice.h"

namespace {

const int kPromptId = 99;
const int kFirstChoiceId = 100;
const int kMaxChoices = 4;

struct ChoiceState {
    const char *prompt;
    const char *const *texts;
    const uint16_t *values;
    int count;
};

INT_PTR CALLBACK choiceProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        auto *s = (ChoiceState *)lParam;
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        SetDlgItemTextA(dlg, kPromptId, s->prompt ? s->prompt : "");
        for (int i = 0; i < kMaxChoices; ++i) {
            HWND button = GetDlgItem(dlg, kFirstChoiceId + i);
            if (i < s->count)
                SetWindowTextA(button, s->texts[i] ? s->texts[i] : "");
            else
                ShowWindow(button, SW_HIDE);
        }
        CheckRadioButton(dlg, kFirstChoiceId, kFirstChoiceId + kMaxChoices - 1, kFirstChoiceId);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto *s = (ChoiceState *)GetWindowLongPtrA(dlg, DWLP_USER);
            int value = 0;
            for (int i = 0; i < s->count; ++i)
                if (IsDlgButtonChecked(dlg, kFirstChoiceId + i) == BST_CHECKED)
                    value = s->values[i];
            EndDialog(dlg, value);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

int dlgChoice(HWND owner, const char *prompt, const char *const *texts, const uint16_t *values,
              int count)
{
    if (count < 1 || count > kMaxChoices || !texts || !values)
        return 0;
    ChoiceState s = {prompt, texts, values, count};
    INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), "choice", owner, choiceProc,
                                (LPARAM)&s);
    return r > 0 ? (int)r : 0;
}
