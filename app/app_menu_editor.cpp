// Item states of the frame's menus while a text is edited in place.
#include "app/app_menu_editor.h"
#include "app/app_menu_state.h"
#include "text/tx_format.h"
#include "textedit/te_caret.h"
#include "textedit/te_clip.h"
#include "textedit/te_select.h"
#include "textedit/te_session.h"
#include "textedit/te_undo.h"
#include "views/ws_record.h"
#include "views/ws_window.h"

namespace {

void check(HMENU popup, UINT id, BOOL on)
{
    CheckMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void enable(HMENU popup, UINT id, BOOL on)
{
    EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

void enableAll(HMENU popup)
{
    const int n = GetMenuItemCount(popup);
    for (int i = 0; i < n; ++i)
        EnableMenuItem(popup, (UINT)i, MF_BYPOSITION | MF_ENABLED);
}

// The format the style items show: at the selection start, else the caret's.
void currentFormat(CharFormat *fmt)
{
    TePos a, b;
    if (teGetSelection(&a, &b)) {
        if (tePosCompare(&b, &a) < 0)
            a = b;
        teFormatAtPos(&a, fmt);
    } else {
        teGetFormat(fmt, 2);
    }
}

}  // namespace

void appInitTextMenuForEditor(HWND, HMENU popup)
{
    if (!popup)
        return;
    enableAll(popup);
    CharFormat f;
    currentFormat(&f);
    check(popup, 463, f.lf.lfWeight >= 700);
    check(popup, 461, f.lf.lfItalic != 0);
    check(popup, 462, f.lf.lfUnderline != 0);
    check(popup, 468, f.lf.lfStrikeOut != 0);
    check(popup, 456, f.superscript != 0);
    check(popup, 457, f.subscript != 0);
    check(popup, 477, f.inverse != 0);
    check(popup, 478, f.bkMode == 2);
    enable(popup, 476, !teIsPlainText() && !teHasSelection());
}

void appInitParagraphMenuForEditor(HWND, HMENU popup)
{
    if (!popup)
        return;
    enableAll(popup);
    CharFormat f;
    currentFormat(&f);
    appCheckAlignment(popup, f.align & 0x103);
}

void appInitEditMenu(HWND, HMENU popup)
{
    if (!popup)
        return;
    const BOOL sel = teHasSelection();
    enable(popup, 200, teCanUndo());
    enable(popup, 201, sel);
    enable(popup, 202, sel);
    enable(popup, 205, sel);
    enable(popup, 203, teCanPaste());
    enable(popup, 215, TRUE);
    // Insert puts a picture into the edited text.
    ModifyMenuA(popup, 206, MF_BYCOMMAND | MF_STRING, 206, "&Insert Image...");
}

void appCheckSnapToRulers(HWND window, HMENU popup)
{
    if (popup)
        check(popup, 608, window && wsIsSnapToRulers(window));
}
