#include "tests/support/kit.h"
#include "support/ut_mem.h"
TEST(Smoke, Alloc) { MemHandle h = utAllocHandle(0, 5); EXPECT_GE(utHandleSize(h), 8u); utFreeHandle(h); }
