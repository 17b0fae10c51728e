#include "app/vc_view_cmds.h"
#include "app/app_frame_bars.h"
#include "app/app_toolbars.h"
#include "model/setup_record.h"
#include "support/dm_map.h"

void vcStoreDefaultZoom(int command)
{
    int code = appCommandToZoomCode(command);
    setPutZoomCode(code);
    setPutZoomPercent(dmZoomPercent((int16_t)code));
}

void vcToggleStatusBar(HWND frame)
{
    BOOL show = !appTestBar(frame, FB_MESSAGE);
    int bits = appGetBarBits(frame);
    if (bits < 0)
        return;
    uint16_t both = FB_MESSAGE | FB_STANDARD;
    appSetBarBits(frame, (uint16_t)(show ? (bits | both) : (bits & ~both)));
    const uint16_t bars[] = {FB_MESSAGE, FB_STANDARD};
    for (uint16_t bit : bars)
        if (HWND bar = appGetBarWindow(frame, bit))
            ShowWindow(bar, show ? SW_SHOW : SW_HIDE);
    appLayoutBars(frame);
}

void vcRulerCommand(HWND, HWND) {}
void vcToggleSnapToRulers(HWND, HWND) {}
void vcViewScale(HWND) {}
