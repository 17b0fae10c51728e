// Pictures in text: the embedded image object made from a picture file,
// inserted at the caret, and drawn when a line is painted.
#include "textedit/te_commands.h"
#include "textedit/te_caret.h"
#include "textedit/te_display.h"
#include "textedit/te_select.h"
#include "textedit/te_session.h"
#include "textedit/te_undo.h"
#include "app/fc_import_export.h"
#include "objects/img_io.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "text/tx_measure.h"
#include "text/tx_stream.h"

#include <string.h>

namespace {

const int32_t kImageMargin = 40;     // twips each side and above
uint32_t g_imageOption = 0;

void putU32(char *p, uint32_t v) { memcpy(p, &v, 4); }

}  // namespace

void teSetImageOption(uint32_t value) { g_imageOption = value; }
uint32_t teGetImageOption() { return g_imageOption; }

MemHandle teMakeImageObject(HWND window, const char *fileName, int32_t widthLimit,
                            BOOL showMessages)
{
    if (!fileName || !*fileName)
        return 0;
    uint32_t len = (uint32_t)strlen(fileName);
    // The length byte holds the whole object less two: it must stay below 255.
    if (len + kTxImageFixed >= 255) {
        if (showMessages)
            utMessageBox(window, "Image file name too long.  Can not insert.",
                         MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    int32_t pw = 0, ph = 0;
    if (!imgGetFileSize(window, fileName, &pw, &ph) || pw <= 0 || ph <= 0)
        return 0;
    POINT size[2] = {{0, 0}, {pw, ph}};
    dmDevToLogPoints100(size, 2);
    int32_t w = size[1].x - size[0].x, h = size[1].y - size[0].y;
    if (w < 0)
        w = -w;
    if (h < 0)
        h = -h;
    if (widthLimit > 0 && w > widthLimit) {
        h = MulDiv(h, widthLimit, w);
        w = widthLimit;
    }
    uint32_t total = len + kTxImageFixed;
    MemHandle obj = utAllocHandle(0, total + 1);
    if (!obj)
        return 0;
    MemLock<char> p(obj);
    char *o = p.get();
    o[0] = (char)TX_GS;
    o[1] = (char)(len + 32);
    o[2] = (char)TXO_IMAGE;
    putU32(o + 3, len + 29);
    putU32(o + 7, 0);
    putU32(o + 11, kImageMargin);
    putU32(o + 15, kImageMargin);
    putU32(o + 19, (uint32_t)w);
    putU32(o + 23, (uint32_t)h);
    putU32(o + 27, 0);
    memcpy(o + 31, fileName, len + 1);
    o[total - 2] = (char)(len + 32);
    o[total - 1] = (char)TX_RS;
    o[total] = 0;
    return obj;
}

int teInsertImageFile(HWND window, const char *fileName)
{
    if (!teGetTextObject())
        return 0;
    MemHandle obj = teMakeImageObject(window, fileName, teGetFrameExtent(), TRUE);
    if (!obj)
        return 0;
    teNoteEditAtCaret();
    teRecordUndo(TE_UNDO_INSERT, 0);
    teDeleteSelection(window);
    int32_t index = teCaretLineIndex();
    int32_t added;
    {
        MemLock<char> p(obj);
        added = teInsertStreamAtCaret(window, p.get(), nullptr);
    }
    utFreeHandle(obj);
    if (added <= 0)
        return 0;
    MemHandle from = teLineAt(index);
    if (from)
        teMarkLinesChanged(from, teParaLastLine(teCaretLine()));
    teMarkRangeChanged(1);
    teMarkModified(window);
    return 1;
}

int teInsertImage(HWND window)
{
    if (!teGetTextObject())
        return 0;
    char path[MAX_PATH] = "";
    int filterIndex = 0;
    if (!fcImageFileDialog(window, "Insert Image", path, &filterIndex, TRUE))
        return 0;
    return teInsertImageFile(window, path);
}
