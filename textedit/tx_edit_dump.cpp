// The editor's text dumped to the data viewer.
#include "textedit/tx_edit_dump.h"
#include "textedit/te_caret.h"
#include "textedit/te_lines.h"
#include "textedit/te_session.h"
#include "text/tx_dump.h"
#include "text/tx_format.h"
#include "text/tx_stream.h"
#include "support/ut_mem.h"
#include "support/win_datawin.h"

void txDumpEditText()
{
    MemHandle first = teGetFirstLine();
    int32_t caret = -1, at = 0;
    for (MemHandle l = first; l; l = teLineNext(l)) {
        if (l == teCaretLine()) {
            caret = at + kTxLineInfoSize + teCaretOffset();
            break;
        }
        at += kTxLineInfoSize + teLineLength(l);
    }
    int32_t size = teLinesStreamLength(first, 0);
    MemHandle stream = first ? utAllocHandle(0, (uint32_t)size) : 0;
    CharFormat base;
    teGetFormat(&base, 0);
    MemHandle dump;
    if (stream) {
        MemLock<char> s(stream);
        teWriteLines(s.get(), first, 0);
        dump = txDumpStream(s.get(), &base, caret);
    } else {
        dump = txDumpStream("", &base, caret);
    }
    utFreeHandle(stream);
    if (dump) {
        {
            MemLock<char> d(dump);
            winDataWindowAppend(d.get());
        }
        utFreeHandle(dump);
    }
}
