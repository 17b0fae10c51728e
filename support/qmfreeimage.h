// FreeImage is a Linux library here: include it with the Win32 macros hidden
// so that its functions keep the native calling convention and its types do
// not clash with <windows.h>.
#pragma once
#include "support/qmwin.h"
#pragma push_macro("_WIN32")
#pragma push_macro("__WIN32__")
#undef _WIN32
#undef __WIN32__
#pragma push_macro("_WIN64")
#undef _WIN64
#ifndef _WINDOWS_
#define _WINDOWS_
#endif
#include <FreeImage.h>
#pragma pop_macro("_WIN64")
#pragma pop_macro("__WIN32__")
#pragma pop_macro("_WIN32")
