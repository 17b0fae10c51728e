// Helpers of the text editor tests: a session over a frame with a base
// format, laid-out text made by the text layer, and widths that break a
// paragraph into a given number of lines.
#pragma once
#include "tests/support/kit.h"
#include "support/ut_mem.h"
#include "text/tx_break.h"
#include "text/tx_format.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_stream.h"
#include "textedit/te_caret.h"
#include "textedit/te_lines.h"
#include "textedit/te_select.h"
#include "textedit/te_session.h"
#include <string.h>
#include <string>

namespace tetest {

inline LOGFONTA baseFont()
{
    LOGFONTA lf = {};
    lf.lfHeight = -240;
    lf.lfWeight = 400;
    lstrcpyA(lf.lfFaceName, "Arial");
    return lf;
}

class Lines : public ::testing::Test {
protected:
    CharFormat fmt;
    long handlesBefore = 0;

    void SetUp() override
    {
        handlesBefore = qmtest::liveHandles();
        teResetSession(nullptr);
        teResetSelectionModule();
        LOGFONTA lf = baseFont();
        txFormatFromLogFont(&fmt, &lf, 0, 4, 0, 0, 0xFFFFFF);
        teSetFormat(&fmt, 0);
        RECT frame = {100, 100, 2980, 2980};
        teStoreFrame(&frame);
    }
    void TearDown() override
    {
        teLinesFreeAll();
        teResetSelectionModule();
        teResetSession(nullptr);
        EXPECT_EQ(handlesBefore, qmtest::liveHandles());
    }

    // Laid-out text of a plain stream at a width, made by the text layer.
    std::string layout(const char *s, int32_t width)
    {
        HDC dc = txGetMeasureDC(nullptr, FALSE);
        LOGFONTA lf = baseFont();
        MemHandle h = txLayoutStream(dc, s, width, &lf, 0, 4, 0, 0, 0xFFFFFF, 0, nullptr, FALSE);
        txReleaseMeasureDC(nullptr, dc, FALSE);
        std::string out;
        if (h) {
            MemLock<char> p(h);
            out.assign(p.get(), (size_t)txstrlen(p.get()));
        }
        utFreeHandle(h);
        return out;
    }

    // The number of lines a paragraph breaks into at a width.
    int32_t linesAt(const char *s, int32_t width)
    {
        HDC dc = txGetMeasureDC(nullptr, FALSE);
        CharFormat f = fmt;
        int32_t n = 0;
        MemHandle h = txBreakIntoLines(dc, s, &f, width, 0, nullptr, &n);
        txReleaseMeasureDC(nullptr, dc, FALSE);
        utFreeHandle(h);
        return n;
    }

    // The widest width that breaks the paragraph into exactly n lines.
    int32_t widthFor(const char *s, int32_t n)
    {
        for (int32_t w = 8000; w > 200; w -= 20)
            if (linesAt(s, w) == n)
                return w;
        return 0;
    }

    static std::string streamOf(MemHandle h)
    {
        MemLock<char> p(h);
        return p ? std::string(p.get(), (size_t)txstrlen(p.get())) : std::string();
    }

    static std::string lineText(MemHandle line)
    {
        MemLock<TxLineRecord> r(line);
        return r ? std::string(teLineText(r.get()), (size_t)teLineInfo(r.get())->n)
                 : std::string();
    }
};

}  // namespace tetest
