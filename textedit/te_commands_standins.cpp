// Stand-in: the editing commands are not in the editor yet. The code is
// applied over the range as the alignment needs it, without the undo step
// (kind 13) that the editor undo will record.
#include "textedit/te_commands.h"
#include "textedit/te_caret.h"
#include "textedit/te_session.h"
#include "text/tx_edit_lines.h"
#include "text/tx_stream.h"

int teApplyCodeToRange(HWND window, const TePos *start, const TePos *end, int code,
                       int32_t value, const CharFormat *)
{
    if (!start || !end || !start->line)
        return 0;
    TePos s = *start, e = *end;
    txStripCodeKindInLines(&s, &e, code, FALSE, FALSE);
    char unit[16];
    int32_t n = txMakeWordCode(unit, code, (int16_t)value);
    if (n <= 0)
        return 0;
    unit[n] = 0;
    int32_t added = teLineInsertStream(&s.line, s.offset, unit);
    if (added && teCaretLine() == s.line && teCaretOffset() >= s.offset)
        teSetCaretOffset(teCaretOffset() + added);
    teMeasureLines(teGetFirstLine(), nullptr, 0);
    teMarkModified(window);
    return 1;
}
