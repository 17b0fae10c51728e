#include "app/vc_view_cmds.h"
#include "app/app_frame_bars.h"
#include "app/app_toolbars.h"
#include "model/setup_record.h"
#include "support/dm_map.h"
#include "model/ob_record.h"
#include "model/pg_margins.h"
#include "model/ws_document.h"
#include "views/pv_page.h"
#include "views/ws_record.h"
#include "views/ws_zoom.h"

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
void vcViewScale(HWND frame) { wsCmdViewScale(frame); }

int vcZoomCommand(HWND ws, int command, MemHandle object)
{
    const int16_t code = (int16_t)appCommandToZoomCode(command);
    const bool fit = code == WS_ZOOM_FIT_PAGE || code == WS_ZOOM_FIT_WIDTH;
    const int32_t percent = dmZoomPercent(code);
    appSetCornerButtons(code != WS_ZOOM_FIT_PAGE);
    if (!ws || !wsGetRecordHandle(ws))
        return 0;
    if (fit ? code == wsGetZoomCode(ws) : percent == wsGetZoomPercent(ws))
        return 0;
    // A fit fits the page; a preset keeps the object (else the page) in view.
    RECT about = {0, 0, 0, 0};
    if (object && !fit)
        obGetRect(object, &about);
    else if (MemHandle page = pvGetCurrentPage(ws))
        pgGetPageRect(page, &about);
    wsSetZoom(ws, code, percent, &about, nullptr, FALSE);
    UpdateWindow(ws);
    return 1;
}
