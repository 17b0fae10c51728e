// Stand-in: drawing-file links are not in the program yet; no linked image
// links one.
#include "links/lnk_standins.h"

int lnkIsDwgLink(MemHandle) { return 0; }
