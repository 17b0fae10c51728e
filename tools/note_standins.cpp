// Stand-ins until the note object comes. Missing: the note record's layout,
// so a note gives no alignment word (FALSE) and setting one does nothing.
#include "tools/note_standins.h"

BOOL noteGetAlign(MemHandle, uint16_t *) { return FALSE; }
void noteSetAlign(MemHandle, uint16_t) {}
