// Stand-in for the node-edit state module: only the Line-Draw settings
// record with its defaults and accessors is here. Missing: reading and
// writing the "EPenv" setting (neLoadSettings, neSaveSettings), the edit
// state, point selection and commit of node editing.
#include "tools/ne_state.h"
#include <algorithm>

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
