// Helpers of the tagged-attribute tests: an owner block whose leading u32
// is its length, with the attribute header at 8 and the run from 16.
#pragma once
#include "tests/support/kit.h"
#include "model/att_attr.h"
#include "support/ut_mem.h"
#include <string.h>

namespace atttest {

const uint32_t kHeader = 8, kRun = 16;

inline MemHandle newOwner()
{
    MemHandle h = utAllocHandle(0, kRun);
    MemLock<uint32_t> p(h);
    p[0] = kRun;
    return h;
}

inline AttrHeader headerOf(MemHandle h, uint32_t at = kHeader)
{
    AttrHeader a;
    MemLock<uint8_t> p(h);
    memcpy(&a, p.get() + at, sizeof(a));
    return a;
}

inline uint32_t lengthOf(MemHandle h)
{
    MemLock<uint32_t> p(h);
    return p[0];
}

}  // namespace atttest
