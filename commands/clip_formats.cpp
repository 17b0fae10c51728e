#include "commands/clip_formats.h"

namespace {
UINT g_objectFormat = 0;
}

UINT clipRegisterFormats(const char *name)
{
    g_objectFormat = (name && *name) ? RegisterClipboardFormatA(name) : 0;
    return g_objectFormat;
}

UINT clipGetObjectFormat() { return g_objectFormat; }

void clipOnDrawClipboard(HWND, HWND nextViewer)
{
    if (nextViewer)
        SendMessageA(nextViewer, WM_DRAWCLIPBOARD, 0, 0);
}

int clipCanPaste(HWND)
{
    // Only the program's own objects are pasted so far.
    return g_objectFormat && IsClipboardFormatAvailable(g_objectFormat) ? 1 : 0;
}
