// Weak answers for the services of tools/ep_standins.h.
#include "tools/ep_standins.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "tools/ep_selection.h"
#include "commands/app_stdbar.h"

#define EP_WEAK __attribute__((weak))


EP_WEAK BOOL obIsEntryOrCounter(int16_t type)
{
    return type == 41 || type == 42 || type == 124 || type == 96;
}
EP_WEAK HWND fldGetPropPane() { return nullptr; }
EP_WEAK void fldUpdatePropPane(HWND, MemHandle) {}

EP_WEAK int cmdToolAction(HWND, int16_t, MemHandle *) { return 0; }
EP_WEAK MemHandle fld131Build(HWND, const RECT *) { return 0; }
EP_WEAK int tbBeginCreateMode(HWND) { return 0; }
EP_WEAK int fldEntrySetup(HWND, MemHandle) { return 1; }
EP_WEAK int fldListProps(HWND, MemHandle) { return 1; }
EP_WEAK int fldEquationProps(HWND, MemHandle) { return 1; }
EP_WEAK int fldEditControlProps(HWND, MemHandle) { return 1; }
EP_WEAK int btnEditProps(HWND, MemHandle) { return 1; }
EP_WEAK int gridProps(HWND, MemHandle) { return 1; }
EP_WEAK int obj491Props(HWND, MemHandle) { return 1; }
EP_WEAK int obj492Props(HWND, MemHandle) { return 1; }
EP_WEAK int objPropsAfterCreate(HWND, int16_t, MemHandle) { return 1; }
EP_WEAK MemHandle epNoteNew(HWND, POINT) { return 0; }
EP_WEAK int epNoteBeginEdit(HWND, MemHandle) { return 0; }
EP_WEAK int epArcTool(HWND, MemHandle) { return 0; }
