// Stand-in: metafile objects are not in the program yet; importing a
// metafile makes no object (the import then says "Incorrect file type").
#include "objects/mf_standins.h"

MemHandle mfImportEmf(HWND, const char *) { return 0; }
MemHandle mfImportWmf(HWND, const char *) { return 0; }
