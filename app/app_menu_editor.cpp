// Item states of the frame's menus while a text is edited in place.
#include "app/app_menu_editor.h"
#include "app/app_menu_state.h"
#include "support/win_menu.h"
#include "text/tx_format.h"
#include "text/tx_header.h"
#include "textedit/te_caret.h"
#include "textedit/te_clip.h"
#include "textedit/te_select.h"
#include "textedit/te_session.h"
#include "views/ws_window.h"

namespace {

// The format the style items show: at the selection start, else the caret's.
void currentFormat(CharFormat *fmt)
{
    TePos a, b;
    if (teGetSelection(&a, &b)) {
        if (tePosCompare(&b, &a) < 0)
            a = b;
        if (teFormatAtPos(&a, fmt))
            return;
    }
    teGetFormat(fmt, 2);
}

void enableAll(HMENU popup, int count)
{
    int16_t on[32];
    for (int16_t &v : on)
        v = 1;
    winEnableMenuItems(popup, on, count);
}

}  // namespace

void appInitTextMenuForEditor(HWND, HMENU popup)
{
    if (!popup)
        return;
    enableAll(popup, 21);
    CharFormat f = {};
    currentFormat(&f);
    winCheckMenuItem(popup, 463, f.lf.lfWeight >= 700);
    winCheckMenuItem(popup, 461, f.lf.lfItalic != 0);
    winCheckMenuItem(popup, 462, f.lf.lfUnderline != 0);
    winCheckMenuItem(popup, 468, f.lf.lfStrikeOut != 0);
    winCheckMenuItem(popup, 457, f.subscript != 0);
    winCheckMenuItem(popup, 456, f.superscript != 0);
    winCheckMenuItem(popup, 477, f.inverse != 0);
    winCheckMenuItem(popup, 478, f.bkMode == 2);
}

void appInitCaseMenuForEditor(HWND, HMENU popup)
{
    if (!popup)
        return;
    const int16_t sel = teHasSelection() ? 1 : 0;
    const int16_t f[3] = {sel, sel, sel};
    winEnableMenuItems(popup, f, 3);
}

void appInitParagraphMenuForEditor(HWND, HMENU popup)
{
    if (!popup)
        return;
    enableAll(popup, 9);
    CharFormat f = {};
    currentFormat(&f);
    appCheckAlignment(popup, f.align & TXA_HMASK);
}

void appInitEditMenu(HWND, HMENU popup)
{
    if (!popup)
        return;
    const int16_t sel = teHasSelection() ? 1 : 0;
    int16_t f[11] = {};
    f[0] = teGetUndoKind() != 0 ? 1 : 0;
    f[2] = f[3] = f[6] = sel;
    f[4] = teCanPaste() ? 1 : 0;
    f[7] = 1;
    f[9] = 1;
    f[10] = 0;
    f[1] = f[5] = f[8] = 1;
    ModifyMenuA(popup, 206, MF_BYCOMMAND | MF_STRING, 206, "&Insert Image...");
    winEnableMenuItems(popup, f, 11);
}

void appCheckSnapToRulers(HWND window, HMENU popup)
{
    if (popup)
        winCheckMenuItem(popup, 608, window && IsWindow(window) && wsIsSnapToRulers(window));
}
