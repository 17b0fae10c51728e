#include "library/ptn_library.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"

namespace {
char g_file[UT_PATH_SIZE] = "";
}

void ptnSetLibraryFile(const char *path) { utStrCopyN(g_file, path ? path : "", sizeof(g_file)); }
const char *ptnGetLibraryFile() { return g_file; }
