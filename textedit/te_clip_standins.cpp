// Stand-in: the text editor's clipboard is not in the program yet. The
// format is registered without the failure message, and a whole object's
// text is put as its formatted stream and its plain text; the editor's own
// Copy, Cut and Paste are missing.
#include "textedit/te_clip_standins.h"
#include "textedit/te_session.h"
#include "text/tx_flow.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

void putHandle(UINT format, MemHandle h)
{
    if (!format || !h)
        return;
    const uint32_t size = utHandleSize(h);
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, size);
    if (g) {
        void *dst = GlobalLock(g);
        MemLock<uint8_t> src(h);
        if (dst && src)
            memcpy(dst, src.get(), size);
        GlobalUnlock(g);
        if (!SetClipboardData(format, g))
            GlobalFree(g);
    }
}

}  // namespace

UINT teRegisterClipFormat() { return teGetTextClipFormat(); }

void teCopyObjectText(MemHandle object)
{
    if (!object)
        return;
    MemHandle stream = txGetFormattedStream(object);
    putHandle(teRegisterClipFormat(), stream);
    utFreeHandle(stream);
    MemHandle plain = txGetPlainText(object);
    putHandle(CF_TEXT, plain);
    utFreeHandle(plain);
}
