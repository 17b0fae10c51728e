// GoogleTest for the Win32 tests: Debian's GoogleTest is a Linux build, so it
// is included with the Win32 macros hidden, and <windows.h> after it.
#pragma once
#pragma push_macro("_WIN32")
#pragma push_macro("__WIN32__")
#pragma push_macro("_WIN64")
#undef _WIN32
#undef __WIN32__
#undef _WIN64
#include <gtest/gtest.h>
#pragma pop_macro("_WIN64")
#pragma pop_macro("__WIN32__")
#pragma pop_macro("_WIN32")
#include "support/qmwin.h"
