// The benchmark's clock: seconds from the performance counter.
#pragma once
#include "support/qmwin.h"

inline double benchSeconds()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)f.QuadPart;
}
