// Stand-ins of the metafile objects (see the header): no metafile object
// can be made yet, so a metafile file gives none.
#include "objects/mf_standins.h"

MemHandle mfEmfLoadFile(HWND, const char *) { return 0; }
MemHandle mfWmfLoadFile(HWND, const char *) { return 0; }
