#include "app/fc_import_export.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"

namespace {
char g_importPath[UT_PATH_SIZE] = "";
char g_exportPath[UT_PATH_SIZE] = "";
}  // namespace

void fcSetImportPath(const char *path) { utStrCopyN(g_importPath, path ? path : "", UT_PATH_SIZE); }
char *fcGetImportPath(char *buffer) { return utStrCopyN(buffer, g_importPath, UT_PATH_SIZE); }
void fcSetExportPath(const char *path) { utStrCopyN(g_exportPath, path ? path : "", UT_PATH_SIZE); }
char *fcGetExportPath(char *buffer) { return utStrCopyN(buffer, g_exportPath, UT_PATH_SIZE); }

int fcImportDroppedFile(HWND, const char *, POINT, int, RECT *out)
{
    if (out)
        SetRectEmpty(out);
    return 0;
}
