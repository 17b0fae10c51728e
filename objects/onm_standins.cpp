// Stand-in: the "Name the Object" dialog (OBJNAME) does not exist yet; it
// answers Cancel and no name changes.
#include "objects/onm_standins.h"

int objnameAsk(HWND, MemHandle *, const POINT *) { return 0; }
