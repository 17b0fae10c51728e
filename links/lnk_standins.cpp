// Stand-in: drawing-file links and linked objects are not in the program
// yet; no linked image links one and no linked object is made for a file.
#include "links/lnk_standins.h"

int lnkIsDwgLink(MemHandle) { return 0; }
MemHandle lnkCreateLinkedObject(HWND, const RECT *, const char *, int) { return 0; }
