// Password dialogs ("pw", "pwinit", "pwupdate").
#include "support/dlg_password.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <string.h>

namespace {

const UINT kIdsNoPassword = 590;     // "Sorry, you do not have the correct password"
const UINT kIdsPasswordRetry = 591;  // "Incorrect password.  Please retry"

const int kIdEntry = 100;
const int kIdOld = 101;
const int kIdNew = 102;
const int kIdConfirm = 103;

// The state of the one password dialog open at a time.
struct CheckState {
    const char *known = nullptr;
    int tries = 0;
    int failures = 0;
};
CheckState g_check;

struct SetState {
    const char *old = nullptr;   // null for "pwinit"
    int maxLen = kDlgPasswordMax;
    int errors = 0;
    char result[kDlgPasswordMax + 1] = {};
};
SetState g_set;

void clearAndFocus(HWND dlg, int id)
{
    SetDlgItemTextA(dlg, id, "");
    SetFocus(GetDlgItem(dlg, id));
}

INT_PTR CALLBACK checkProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dlg, kIdEntry, EM_LIMITTEXT, kDlgPasswordMax, 0);
        g_check.failures = 0;
        SetFocus(GetDlgItem(dlg, kIdEntry));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            char entry[kDlgPasswordMax + 1] = {};
            GetDlgItemTextA(dlg, kIdEntry, entry, sizeof entry);
            if (lstrcmpiA(entry, g_check.known) == 0) {
                EndDialog(dlg, 1);
                return TRUE;
            }
            if (++g_check.failures <= g_check.tries) {
                utWarningBoxId(dlg, kIdsPasswordRetry);
                clearAndFocus(dlg, kIdEntry);
            } else {
                utErrorBoxId(dlg, kIdsNoPassword);
                EndDialog(dlg, 0);
            }
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

// Counts an error; the fifth ends the dialog. TRUE when it ended.
bool countError(HWND dlg)
{
    if (g_set.errors++ > 3) {
        utErrorBox(dlg, "Too many errors in setting password.  The request is dropped.");
        EndDialog(dlg, 0);
        return true;
    }
    return false;
}

INT_PTR CALLBACK setProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dlg, kIdNew, EM_LIMITTEXT, g_set.maxLen, 0);
        SendDlgItemMessageA(dlg, kIdConfirm, EM_LIMITTEXT, g_set.maxLen, 0);
        if (g_set.old)
            SendDlgItemMessageA(dlg, kIdOld, EM_LIMITTEXT, g_set.maxLen, 0);
        g_set.errors = 0;
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            if (g_set.old) {
                char old[kDlgPasswordMax + 1] = {};
                GetDlgItemTextA(dlg, kIdOld, old, sizeof old);
                if (strcmp(old, g_set.old) != 0) {
                    utErrorBox(dlg, "Wrong old password");
                    clearAndFocus(dlg, kIdOld);
                    countError(dlg);
                    return TRUE;
                }
            }
            char typed[kDlgPasswordMax + 1] = {}, confirm[kDlgPasswordMax + 1] = {};
            GetDlgItemTextA(dlg, kIdNew, typed, sizeof typed);
            GetDlgItemTextA(dlg, kIdConfirm, confirm, sizeof confirm);
            if (strcmp(typed, confirm) == 0) {
                memcpy(g_set.result, typed, sizeof typed);
                EndDialog(dlg, 1);
                return TRUE;
            }
            utErrorBox(dlg, "New password retype does not match.");
            SetDlgItemTextA(dlg, kIdConfirm, "");
            clearAndFocus(dlg, kIdNew);
            countError(dlg);
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

INT_PTR runSetDialog(HWND owner, const char *templateName, const char *old, char *out, int maxLen)
{
    if (out)
        out[0] = 0;
    if (maxLen < 0)
        maxLen = 0;
    if (maxLen > kDlgPasswordMax)
        maxLen = kDlgPasswordMax;
    g_set = SetState();
    g_set.old = old;
    g_set.maxLen = maxLen;
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), templateName, owner, setProc, 0);
    if (result == 1 && out) {
        size_t n = strnlen(g_set.result, (size_t)maxLen);
        memcpy(out, g_set.result, n);
        out[n] = 0;
    }
    SecureZeroMemory(g_set.result, sizeof g_set.result);
    g_set = SetState();
    return result;
}

}  // namespace

int dlgCheckPassword(HWND owner, const char *known, int tries)
{
    if (!known || !*known)
        return 1;
    MemHandle copy = utHandleFromString(known);
    if (!copy)
        return 0;
    int ok = 0;
    {
        MemLock<char> text(copy);
        g_check = CheckState();
        g_check.known = text.get();
        g_check.tries = tries;
        ok = DialogBoxParamA(GetModuleHandleA(nullptr), "pw", owner, checkProc, 0) == 1;
        g_check = CheckState();
    }
    utFreeHandle(copy);
    return ok;
}

INT_PTR dlgCreatePassword(HWND owner, char *out, int maxLen)
{
    return runSetDialog(owner, "pwinit", nullptr, out, maxLen);
}

INT_PTR dlgChangePasswordMax(HWND owner, const char *oldPassword, char *out, int maxLen)
{
    return runSetDialog(owner, "pwupdate", oldPassword ? oldPassword : "", out, maxLen);
}

INT_PTR dlgChangePassword(HWND owner, const char *oldPassword, char *out)
{
    return dlgChangePasswordMax(owner, oldPassword, out, kDlgPasswordMax);
}
