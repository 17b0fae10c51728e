#include "controls/pal_commands.h"
#include "controls/pal_dialogs.h"
#include "controls/pal_file.h"
#include "controls/pal_window.h"

namespace {
// The screen colour picker of the object commands; none yet.
BOOL pickScreenColor(HWND, COLORREF *) { return FALSE; }
}  // namespace

int clrPickColorFromScreen(HWND window)
{
    COLORREF colour;
    if (!pickScreenColor(window, &colour))
        return 0;
    int highlighted = clrGetHighlight();
    if (highlighted >= 0) {
        clrReplaceColor(highlighted, colour);
        if (HWND palette = clrGetPaletteWindow())
            InvalidateRect(palette, nullptr, FALSE);
    } else {
        clrAppendColor(colour);
    }
    return 0;
}

int clrPaletteCommand(HWND frame, int command)
{
    switch (command) {
    case CLR_CMD_EDIT:
        if (clrGetColor2Window()) {
            clrPaletteManagerDlg(frame);
        } else {
            RECT r = {};
            if (HWND strip = clrGetPaletteWindow())
                GetWindowRect(strip, &r);
            clrEditPaletteDlg(frame, &r);
        }
        return 0;
    case CLR_CMD_OPEN:
        clrCmdOpenPalette(frame);
        return 0;
    case CLR_CMD_SAVE:
        clrCmdSavePalette(frame);
        return 0;
    case CLR_CMD_RESET:
        clrCmdDefaultPalette();
        return 0;
    case CLR_CMD_PICK:
        return clrPickColorFromScreen(frame);
    }
    return 1;
}
