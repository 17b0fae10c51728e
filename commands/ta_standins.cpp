// Stand-ins: the per-type edit commands are not built yet.
#include "commands/ta_standins.h"

int cmdEdit3DText(HWND, MemHandle) { return 0; }
int cmdEditAnchor(HWND, MemHandle) { return 0; }
