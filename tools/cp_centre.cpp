// The in-place edit of a composite's centre (tool mode 34): the centre
// point is dragged by its handle; the offset from the base object's centre
// is stored in the composite's settings.
#include "tools/cp_composite.h"
#include "tools/ep_rotate.h"
#include "commands/ep_track.h"
#include "commands/ud_undo.h"
#include "controls/maintools.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "support/win_mouse.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <string.h>

namespace {

const UINT kCentreButton = 401;

struct CentreEdit {
    MemHandle composite;
    POINT base;     // the base object's centre
    POINT centre;   // the centre point
};
CentreEdit g_edit;

// The handle as the rotate tool draws its pivot: a line from the base
// object's centre, a disc of the handle radius at the centre point.
RotateState handleState()
{
    RotateState s;
    s.centreX = g_edit.base.x;
    s.centreY = g_edit.base.y;
    s.pivotX = g_edit.centre.x;
    s.pivotY = g_edit.centre.y;
    s.radius = 0;
    s.markerSize = kCpCentreRadius;
    return s;
}

void readCentre()
{
    g_edit.base = g_edit.centre = POINT{0, 0};
    MemHandle base = obGetAttached(g_edit.composite);
    if (!base)
        return;
    obGetCentre(base, &g_edit.base);
    CompositeSettings s;
    cpGetSettings(g_edit.composite, &s);
    g_edit.centre = POINT{g_edit.base.x + s.centreX, g_edit.base.y + s.centreY};
}

void storeCentre()
{
    ObLock r(g_edit.composite);
    if (!r || obDataOffset(r.get()) + kCpSettingsSize > r.extent())
        return;
    auto *s = reinterpret_cast<CompositeSettings *>(obRecData(r.get()));
    s->centreX = g_edit.centre.x - g_edit.base.x;
    s->centreY = g_edit.centre.y - g_edit.base.y;
}

void invalidateHandle(HWND ws)
{
    RotateState s = handleState();
    RECT r;
    epRotateArea(&s, &r);
    dmInvalidateLogRect(ws, &r, TRUE);
}


void onPress(HWND ws, LPARAM lParam)
{
    if (GetFocus() != ws)
        SetFocus(ws);
    wsApplyViewMapping(ws);
    POINT pt;
    dmMsgPointToLog(lParam, &pt);
    if (!g_edit.composite || geoDistance(pt, g_edit.centre) >= kCpCentreRadius)
        return;
    RotateState s = handleState();
    wsSetToolModeWord(ws, TM_SIZEALL);
    wsSetToolCursor(ws);
    TrackPair pair;
    const int moved = epTrackMouseEx(ws, WM_LBUTTONDOWN, lParam, FALSE, 0, &pair,
                                     epTrackMarkerFeedback, (LPARAM)&s, FALSE, kTrkGrey, TRUE);
    wsSetToolModeWord(ws, TM_COMPOSITE);
    wsSetToolCursor(ws);
    if (!moved || (pair.x1 == pair.x2 && pair.y1 == pair.y2))
        return;
    obInvalidate(ws, g_edit.composite);
    invalidateHandle(ws);
    udRecord(ws, g_edit.composite, udCopyRecordBytes(g_edit.composite), UD_PROPERTY, 0);
    g_edit.centre.x += pair.x2 - pair.x1;
    g_edit.centre.y += pair.y2 - pair.y1;
    storeCentre();
    shCompositeUpdateRect(g_edit.composite, nullptr);
    obInvalidate(ws, g_edit.composite);
    invalidateHandle(ws);
    wsMarkModified(ws);
}

void onUndo(HWND ws)
{
    MemHandle saved = udGetPendingData(ws);
    if (!saved || !g_edit.composite)
        return;
    invalidateHandle(ws);
    g_edit.composite = udRestoreRecordBytes(ws, g_edit.composite, saved);
    udDiscard(ws);
    udSetUndoButton(ws, FALSE);
    shCompositeUpdateRect(g_edit.composite, nullptr);
    readCentre();
    obInvalidate(ws, g_edit.composite);
    invalidateHandle(ws);
}

void leave(HWND ws)
{
    if (g_edit.composite) {
        storeCentre();
        shCompositeUpdateRect(g_edit.composite, nullptr);
        obInvalidate(ws, g_edit.composite);
    }
    invalidateHandle(ws);
    wsPushToolMode(ws, 0, nullptr, FALSE);
    udDiscard(ws);
    g_edit.composite = 0;
}

}  // namespace

POINT cpCentrePoint() { return g_edit.centre; }

void cpDrawCentreHandle(HDC dc)
{
    if (!g_edit.composite)
        return;
    RotateState s = handleState();
    epDrawRotateMarker(dc, &s);
}

void cpStartCentreEdit(HWND ws, MemHandle composite)
{
    if (!composite || !obGetAttached(composite))
        return;
    g_edit.composite = composite;
    readCentre();
    wsPushToolMode(ws, TM_COMPOSITE, CompositeCentreWndProc, TRUE);
    invalidateHandle(ws);
}

LRESULT CALLBACK CompositeCentreWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WS_MSG_ENTER_MODE:
        blSelectToolButton(kCentreButton);
        invalidateHandle(ws);
        return 0;
    case WM_LBUTTONDOWN: onPress(ws, lParam); return 0;
    case WM_LBUTTONDBLCLK:
    case WS_MSG_LEAVE_MODE: leave(ws); return 0;
    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        if (id == 200) {
            onUndo(ws);
            return 0;
        }
        if (id != 216)
            udDiscard(ws);
        break;
    }
    default: break;
    }
    return wsDefProc(ws, msg, wParam, lParam);
}
