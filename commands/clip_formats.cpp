#include "commands/clip_formats.h"
#include "model/pg_margins.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include "views/ws_document.h"
#include <algorithm>
#include <string>

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

MemHandle clipMakeTextObject(HWND ws, const char *text, int mode, const RECT *rect)
{
    if (!text)
        return 0;
    // Plain text: CR LF and LF become paragraph returns, tabs stay, every
    // other control byte (which would start a code in a text stream) goes.
    std::string stream;
    int lines = 1;
    size_t longest = 0, run = 0;
    for (const char *p = text; *p; ++p) {
        const uint8_t c = (uint8_t)*p;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && p[1] == '\n')
                ++p;
            stream.push_back((char)TX_RETURN);
            ++lines;
            run = 0;
            continue;
        }
        if (c < 32 && c != TX_TAB)
            continue;
        stream.push_back((char)c);
        longest = std::max(longest, ++run);
    }
    TextHeader header = {};
    header.lf.lfHeight = -200;   // 10 points
    header.lf.lfWeight = FW_NORMAL;
    lstrcpyA(header.lf.lfFaceName, "Arial");
    header.bkMode = 1;
    header.spacing = 4;
    (void)mode;   // 3: a text file taken as plain text
    RECT box;
    if (rect) {
        box = *rect;
    } else {
        // The default place: the page's margin corner, as wide as the
        // longest line (at most the margins) and as tall as the lines.
        RECT margins = {720, 720, 11520, 14400};
        pgGetMarginRect(pvGetCurrentPage(ws), &margins);
        const int32_t width = std::min<int32_t>(margins.right - margins.left,
                                                std::max<int32_t>(1440, (int32_t)longest * 120));
        box = {margins.left, margins.top, margins.left + width, margins.top + 240 * lines};
    }
    const COLORREF colours[3] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 255)};
    return txNewTextObject(&box, colours, &header, stream.c_str());
}
