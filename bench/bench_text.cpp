// Text steps of the benchmark: a 1 MB stream with a cancelling pair of
// bold codes every 20 characters is normalised (one pass, the tail never
// shifted per dropped code) and checked, plainly and bounded.
#include "bench/bench_text.h"
#include "text/tx_format.h"
#include "text/tx_stream.h"
#include <stdio.h>
#include <string.h>
#include <string>

namespace {

double seconds()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)f.QuadPart;
}

}  // namespace

void benchText()
{
    char on[8], off[8];
    int32_t n1 = txMakeFlagCode(on, TXC_BOLD_ON), n2 = txMakeFlagCode(off, TXC_BOLD_OFF);
    std::string unit = "abcdefghij klmnopqrs" + std::string(on, (size_t)n1) + std::string(off, (size_t)n2);
    std::string s;
    s.reserve(1 << 20);
    while (s.size() + unit.size() < (1u << 20))
        s += unit;
    s += "end";
    std::string work = s + '\0';

    LOGFONTA lf = {};
    lf.lfHeight = -240;
    lf.lfWeight = 400;
    lstrcpyA(lf.lfFaceName, "Arial");
    CharFormat fmt;
    txFormatFromLogFont(&fmt, &lf, 0, 4, 0, 0, 0xFFFFFF);

    double t0 = seconds();
    int32_t checked = txCheckStream(work.c_str());
    double check = seconds() - t0;
    t0 = seconds();
    int32_t bounded = txCheckStreamBounded(work.c_str(), (uint32_t)work.size());
    double checkBounded = seconds() - t0;
    t0 = seconds();
    int32_t len = txNormaliseCodes(&work[0], &fmt);
    double normalise = seconds() - t0;

    printf("text check 1 MB       %8.3f s  (%s)\n", check, checked > 0 ? "valid" : "INVALID");
    printf("text bounded check    %8.3f s  (%s)\n", checkBounded, bounded == checked ? "valid" : "INVALID");
    printf("text normalise 1 MB   %8.3f s  (%d -> %d bytes)\n", normalise, (int)s.size(), (int)len);
}
