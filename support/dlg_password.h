// Password dialogs: asking for a password and checking it against a known
// one with a limited number of tries, creating a new password (typed
// twice) and changing one (the old one, then the new one twice). They only
// compare and hand back texts; the caller keeps the password.
#pragma once
#include "support/qmwin.h"

// Longest password the dialogs take.
const int kDlgPasswordMax = 64;

// 1 at once, with no dialog, when the known password is empty (or null);
// 0 when its copy cannot be made. Otherwise the "pw" dialog: each entry is
// compared with the known password ignoring case; a wrong one shows
// "Incorrect password.  Please retry" while no more than `tries` entries
// were wrong, then "Sorry, you do not have the correct password" ends the
// dialog. 1 for the right password, 0 on Cancel or too many wrong entries.
int dlgCheckPassword(HWND owner, const char *known, int tries);
// "pwinit": the new password typed twice. On OK at most maxLen characters
// of it go into the buffer (emptied first; maxLen + 1 bytes). Returns the
// dialog's result: 1 OK, 0 Cancel or too many errors.
INT_PTR dlgCreatePassword(HWND owner, char *out, int maxLen);
// "pwupdate": the old password (compared exactly) and the new one twice.
INT_PTR dlgChangePasswordMax(HWND owner, const char *oldPassword, char *out, int maxLen);
// dlgChangePasswordMax with the maximum 64.
INT_PTR dlgChangePassword(HWND owner, const char *oldPassword, char *out);
