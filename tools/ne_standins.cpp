// Stand-in for the node-edit module: node editing is not in the program
// yet. Here are its point writer as far as the end-point drag needs it (the
// same number of points, no growing or shrinking of the record and no change
// of type) and the Line-Draw settings record with its defaults and accessors.
// The Edit menu's states in node editing follow their rule; with no node
// selection yet, no node can be deleted.
// Missing: reading and writing the "EPenv" setting (neLoadSettings,
// neSaveSettings), the edit state, point selection and commit of node editing.
#include "tools/ne_standins.h"
#include "tools/ne_state.h"
#include "commands/ud_undo.h"
#include "support/win_menu.h"
#include "views/ws_tools.h"
#include "model/ob_record.h"
#include "support/geo_rect.h"
#include "support/ut_bytes.h"
#include <algorithm>

MemHandle neWritePoints(MemHandle object, const POINT *points, int16_t n)
{
    ObLock r(object);
    if (!r || !points || n < 1)
        return 0;
    uint8_t *d = obRecData(r.get());
    if (obDataOffset(r.get()) + 2 + (uint32_t)n * 8 > r.extent() || utGetAt<int16_t>(d, 0) != n)
        return 0;
    RECT b = {points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < n; ++i) {
        b.left = std::min(b.left, points[i].x);
        b.top = std::min(b.top, points[i].y);
        b.right = std::max(b.right, points[i].x);
        b.bottom = std::max(b.bottom, points[i].y);
    }
    obRecSetRect(r.get(), &b);
    for (int i = 0; i < n; ++i)
        utPutAt(d, 2 + i * 8, POINT{points[i].x - r->centreX, points[i].y - r->centreY});
    return object;
}

namespace {

struct NodeEditSettings {
    uint32_t size = 46;
    uint16_t flags = NE_FLAG_OBJECT_PEN;
    uint16_t minSpacing = 3;
    uint16_t curveResolution = 6;
    uint16_t closeSpacing = 5;
};
NodeEditSettings g_settings;

}  // namespace

uint16_t neGetFlags() { return g_settings.flags; }
int32_t neGetMinSpacing() { return std::max<int32_t>(1, g_settings.minSpacing); }
int32_t neGetCurveResolution() { return std::max<int32_t>(2, g_settings.curveResolution); }
int32_t neGetCloseSpacing() { return std::max<int32_t>(2, g_settings.closeSpacing); }

void neGetLineDrawOptions(int32_t *spacing, int32_t *resolution, int32_t *close, BOOL *advanced)
{
    if (spacing)
        *spacing = g_settings.minSpacing;
    if (resolution)
        *resolution = g_settings.curveResolution;
    if (close)
        *close = g_settings.closeSpacing;
    if (advanced)
        *advanced = (g_settings.flags & NE_FLAG_ADVANCED) ? TRUE : FALSE;
}

void neSetLineDrawOptions(int32_t spacing, int32_t resolution, int32_t close, BOOL advanced)
{
    g_settings.minSpacing = (uint16_t)spacing;
    g_settings.curveResolution = (uint16_t)resolution;
    g_settings.closeSpacing = (uint16_t)close;
    if (advanced)
        g_settings.flags |= NE_FLAG_ADVANCED;
    else
        g_settings.flags &= (uint16_t)~NE_FLAG_ADVANCED;
}

BOOL neCanDelete(HWND) { return FALSE; }

void neSetEditMenu(HWND ws, HMENU menu)
{
    if (!menu)
        return;
    if (wsGetToolMode(ws) == TM_NODE_41) {
        winEnableMenuItems(menu, nullptr, 0);
        return;
    }
    int16_t f[13];
    for (int16_t &v : f)
        v = 1;
    f[0] = udIsPending(ws) ? 1 : 0;
    f[2] = f[3] = f[4] = f[10] = 0;
    f[6] = neCanDelete(ws) ? 1 : 0;
    ModifyMenuA(menu, 206, MF_BYCOMMAND | MF_STRING, 206, "&Insert");
    winEnableMenuItems(menu, f, 13);
}
