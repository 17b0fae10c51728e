// The buttons of the standard command bar.
#include "commands/app_stdbar.h"
#include "app/app_frame_bars.h"
#include "support/app_frame_globals.h"
#include "controls/btnlist.h"

namespace {

HWND standardBar() { return appGetBarWindow(appGetFrameWindow(), FB_STANDARD); }

}  // namespace

void appSetStdBarButton(uint16_t command, BOOL on)
{
    if (HWND bar = standardBar())
        blEnableButton(bar, command, on);
}

void appEnableUndoButton(BOOL on) { appSetStdBarButton(APP_CMD_UNDO, on); }

BOOL appIsStdBarButtonEnabled(uint16_t command)
{
    HWND bar = standardBar();
    int index = bar ? blFindButton(bar, command) : -1;
    ToolButton entry;
    if (index < 0 || !blGetButton(bar, index, &entry))
        return FALSE;
    return entry.enabled != 0;
}
