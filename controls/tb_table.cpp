// The tool-button tables of the program and the helpers that build entries.
#include "controls/tb_table.h"
#include "support/ut_mem.h"
#include <string.h>

// Command button: command, object type, kind, bitmap, tooltip.
#define TB(cmd, type, kind, bmp, tip) {cmd, 0, type, kind, 1, 0, bmp, tip, 0}
// The same with a right-button command.
#define TB2(cmd, cmd2, type, kind, bmp, tip) {cmd, cmd2, type, kind, 1, 0, bmp, tip, 0}
// The same, starting disabled.
#define TBOFF(cmd, type, kind, bmp, tip) {cmd, 0, type, kind, 0, 0, bmp, tip, 0}

const ToolButton tbTextFlowTable[] = {
    TB(2204, 0, 0x2, "txcomb", "Merge"),
    TB(2206, 0, 0x2, "txflownp", "Flow to next"),
    TB(2201, 0, 0x2, "txflowc", "Flow to Curve"),
    TB(2208, 0, 0x2, "txflown", "Flow to Nodes"),
    TB(2200, 0, 0x2, "txstrait", "Straighten"),
    TB(1141, 0, 0x2, "shadowb", "Shadowed Bitmap"),
    TB(2209, 0, 0x2, "help", "Help..."),
};
const int16_t tbTextFlowCount = 7;

const ToolButton tbDrawToolTable[] = {
    TB(301, 2, 0x1, "line", "Line"),
    TB(302, 3, 0x1, "hv", "Horz/Vert Line"),
    TB(326, 17, 0x1, "polyhv", "Horz/Vert Polyline"),
    TB(313, 14, 0x1, "polyl", "Polyline"),
    TB(344, 22, 0x1, "bez2", "Bezier Section"),
    TB(316, 18, 0x1, "curve", "Bezier Curve"),
    TB(311, 12, 0x1, "arc", "Arc"),
    TB(1356, 26, 0x1, "lineadv", "Brush Line"),
    TB(314, 15, 0x1, "polyg", "Polygon"),
    TB(306, 7, 0x1, "rect", "Rectangle"),
    TB(307, 0, 0x48, "rrect", "Rounded Rectangle"),
    TB(309, 10, 0x1, "circle", "Ellipse"),
    TB(310, 11, 0x1, "pie", "Pie"),
    TB(318, 40, 0x1, "text", "Text"),
    TB2(2222, 2223, -40, 0x1, "text_v", "Vertical Text"),
    TB(332, 138, 0x1, "label", "Label"),
    TB(323, 45, 0x1, "table", "Table"),
    TB(335, 35, 0x1, "grid", "Grid"),
    TB(347, 52, 0x1, "calendar", "Calendar"),
    TB(336, 78, 0x1, "imgframe", "Image Frame"),
    TB(331, 0, 0x8, "More", "More Objects"),
};
const int16_t tbDrawToolCount = 21;

const ToolButton tbCommandTable[] = {
    TB(170, 0, 0x2, "heart", "Open Favorite"),
    TB(100, 0, 0x2, "new", "New File"),
    TB(101, 0, 0x2, "open", "Open"),
    TB(110, 0, 0x2, "close", "Close"),
    TB(102, 0, 0x2, "save", "Save"),
    TB(599, 0, 0x48, "pagemenu", "Page Menu"),
    TB(625, 0, 0x28, "selpage", "Select Page"),
    TB(1200, 0, 0x48, "newpage", "New Page"),
    TB(617, 0, 0x2, "prevpage", "Previous Page"),
    TB(618, 0, 0x2, "nextpage", "Next/New Page"),
    TB(106, 0, 0x2, "print", "Print"),
    TB(191, 0, 0x48, "view", "View"),
    TB(2100, 0, 0x2, "toorg", "To Upper Left"),
    TB(439, 0, 0x2, "tobr", "To Bottom Right"),
    TB(201, 0, 0x2, "cut", "Cut"),
    TB(202, 0, 0x2, "copy", "Copy"),
    TB(203, 0, 0x2, "paste", "Paste"),
    TB(200, 0, 0x2, "undo", "Undo"),
    TB(707, 0, 0x2, "mc_text", "Column Format"),
    TB(720, 0, 0x2, "splchk", "Spell Check"),
    TB(749, 0, 0x2, "txtool", "Text Tool"),
};
const int16_t tbCommandCount = 21;

const ToolButton tbCommandNarrowTable[] = {
    TB(101, 0, 0x2, "open", "Open"),
    TB(110, 0, 0x2, "close", "Close"),
    TB(102, 0, 0x2, "save", "Save"),
    TB(599, 0, 0x8, "pagemenu", "Page Menu"),
    TB(616, 0, 0x2, "selpage", "Select Page"),
    TB(106, 0, 0x2, "print", "Print"),
    TB(191, 0, 0x8, "view", "View"),
    TB(201, 0, 0x2, "cut", "Cut"),
    TB(202, 0, 0x2, "copy", "Copy"),
    TB2(203, 195, 0, 0x2, "paste", "Paste"),
    TB(200, 0, 0x2, "undo", "Undo"),
    TB(720, 0, 0x2, "splchk", "Spell Check"),
};
const int16_t tbCommandNarrowCount = 12;

const ToolButton tbModeToolTable[] = {
    TB(400, 0, 0x1, "sel", "Select"),
    TB(402, 0, 0x1, "multisel", "Multiple Select"),
    TB(192, 0, 0x10, "zoomin", "Zoom In"),
    TB(193, 0, 0x10, "zoomout", "Zoom Out"),
    TB(450, 0, 0x48, "layer", "Layer"),
    TB(530, 0, 0x48, "fill", "Fill"),
    TB(504, 0, 0x8, "lineattr", "Line Style"),
    TB(505, 0, 0x8, "lineend", "Line Ends"),
    TB(744, 0, 0x48, "dispattr", "Display"),
    TB(152, 0, 0x8, "libmngr", "Library Manager"),
    TBOFF(401, 0, 0x1, "Edit", "Edit"),
    TBOFF(217, 0, 0x8, "rotbmap", "Rotate"),
    TB(403, 0, 0x8, "group", "Group"),
    TB(405, 0, 0x8, "ungroup", "Ungroup"),
    TB(1225, 0, 0x48, "scrltype", "Scroll Style"),
    TB(1231, 0, 0x8, "guides", "Toggle Guides"),
};
const int16_t tbModeToolCount = 16;

const ToolButton tbMoveSizeTable[] = {
    TB(751, 0, 0x10, "increw", "Enlarge Horizontally"),
    TB(753, 0, 0x10, "decrew", "Shrink Horizontally"),
    TB(752, 0, 0x10, "incrns", "Enlarge Vertically"),
    TB(754, 0, 0x10, "decrns", "Shrink Vertically"),
    TB(755, 0, 0x10, "incr", "Enlarge"),
    TB(756, 0, 0x10, "decr", "Shrink"),
    TB(760, 0, 0x10, "movee", "Move Right"),
    TB(761, 0, 0x10, "movew", "Move Left"),
    TB(762, 0, 0x10, "moven", "Move Up"),
    TB(763, 0, 0x10, "moves", "Move Down"),
    TB(764, 0, 0x10, "movene", "Move Northeast"),
    TB(765, 0, 0x10, "movenw", "Move Northwest"),
    TB(766, 0, 0x10, "movesw", "Move Southwest"),
    TB(767, 0, 0x10, "movese", "Move Southeast"),
    TB(219, 0, 0x2, "rot90", "Rotate 90 Degrees"),
    TB(426, 0, 0x2, "alignct", "Align To Center"),
    TB(420, 0, 0x2, "alignl", "Align Left"),
    TB(421, 0, 0x2, "alignr", "Align Right"),
    TB(422, 0, 0x2, "alignt", "Align Up"),
    TB(423, 0, 0x2, "alignb", "Align Down"),
    TB(424, 0, 0x2, "alignhc", "Align To Horz Center"),
    TB(425, 0, 0x2, "alignvc", "Align To Vert Center"),
    TB(360, 0, 0x2, "evenx", "Even Space"),
    TB(361, 0, 0x2, "eveny", "Even Space"),
    TB(362, 0, 0x2, "evnsizex", "Match Size"),
    TB(363, 0, 0x2, "evnsizey", "Match Size"),
    TB(364, 0, 0x2, "evenszxy", "Match Size"),
    TB(256, 0, 0x2, "fliplr", "Flip Left-Right"),
    TB(257, 0, 0x2, "flipud", "Flip Up-Down"),
    TB(427, 0, 0x2, "sendback", "Send Backward"),
    TB(428, 0, 0x2, "bringfor", "Bring Forward"),
    TB(404, 0, 0x2, "compo", "Composite"),
    TB(272, 0, 0x2, "rp-line", "Repeat Line"),
    TB(757, 0, 0x2, "percent", "Percent Resize"),
    TB(821, 0, 0x2, "swap", "Swap"),
};
const int16_t tbMoveSizeCount = 35;

const ToolButton tbMoreObjectsTable[] = {
    TB(343, 32, 0x1, "spanhv", "Dims-Span, HV"),
    TB(342, 31, 0x1, "dimspan", "Dims-Span"),
    TB(328, 13, 0x1, "Diamond", "Diamond"),
    TB(329, 24, 0x1, "Star", "Star"),
    TB(330, 25, 0x1, "eqlat", "Equilateral"),
    TB(339, 0, 0x48, "crossh", "Cross"),
    TB(1340, 402, 0x1, "garrow1", "Arrow"),
    TB(333, 0, 0x48, "arrowr", "H-Arrow"),
    TB(334, 0, 0x48, "arrowd", "V-Arrow"),
    TB(1360, 409, 0x1, "arrowh2", "H-Arrow2"),
    TB(1361, 410, 0x1, "arrowv2", "V-Arrow2"),
    TB(1377, 0, 0x48, "triang0", "Triangle"),
    TB(348, 36, 0x1, "cube", "Cube"),
    TB(340, 407, 0x1, "trapez", "Trapezoid"),
    TB(1346, 492, 0x1, "grid_h", "H Grids"),
    TB(1345, 491, 0x1, "grid_v", "V Grids"),
};
const int16_t tbMoreObjectsCount = 16;

const ToolButton tbColorTargetTable[] = {
    TB(30, 0, 0x2, "cr_fore", "Text / Foreground"),
    TB(32, 0, 0x2, "cr_frame", "Frame / Line"),
    TB(31, 0, 0x2, "cr_back", "Background / Fill"),
    TB(34, 0, 0x2, "cr_mngr", "Color Management"),
};
const int16_t tbColorTargetCount = 4;

const ToolButton tbNodeLineTable[] = {
    TB(267, 0, 0x2, "node_apnd", "Add Node"),
};
const int16_t tbNodeLineCount = 1;

const ToolButton tbNodePolylineTable[] = {
    TB(206, 0, 0x2, "node_ins", "Insert Node"),
    TB(267, 0, 0x2, "node_apnd", "Add Node"),
    TB(251, 0, 0x2, "node_close", "Close Ends"),
    TB(279, 0, 0x2, "node_thin", "Thin Nodes"),
    TB(253, 0, 0x2, "node_toBez", "To Curve"),
    TB(278, 0, 0x2, "node_smoothfit", "Smooth Fit"),
};
const int16_t tbNodePolylineCount = 6;

const ToolButton tbNodePolygonTable[] = {
    TB(206, 0, 0x2, "node_ins", "Insert Node"),
    TB(252, 0, 0x2, "node_apnd", "Add Node"),
    TB(279, 0, 0x2, "node_thin", "Thin Nodes"),
    TB(253, 0, 0x2, "node_toBez", "To Curve"),
    TB(278, 0, 0x2, "node_smoothfit", "Smooth Fit"),
};
const int16_t tbNodePolygonCount = 5;

const ToolButton tbNodeHVPolylineTable[] = {
    TB(206, 0, 0x2, "node_ins", "Insert Node"),
    TB(267, 0, 0x2, "node_apnd", "Add Node"),
    TB(251, 0, 0x2, "node_close", "Close Ends"),
    TB(254, 0, 0x2, "node_topol", "To Polyline"),
    TB(253, 0, 0x2, "node_toBez", "To Curve"),
    TB(278, 0, 0x2, "node_smoothfit", "Smooth Fit"),
};
const int16_t tbNodeHVPolylineCount = 6;

const ToolButton tbNodeBezierTable[] = {
    TB(206, 0, 0x2, "node_ins", "Insert Node"),
    TB(267, 0, 0x2, "node_apnd", "Add Node"),
    TB(259, 0, 0x2, "node_smooth", "Smooth Nodes"),
    TB(251, 0, 0x2, "node_close", "Close Ends"),
    TB(254, 0, 0x2, "node_toPol", "To Polyline"),
};
const int16_t tbNodeBezierCount = 5;

const ToolButton tbNodeClosedTable[] = {
    TB(206, 0, 0x2, "node_ins", "Insert Node"),
    TB(259, 0, 0x2, "node_smooth", "Smooth Nodes"),
    TB(252, 0, 0x2, "node_open", "Open Ends"),
    TB(254, 0, 0x2, "node_topol", "To Polyline"),
};
const int16_t tbNodeClosedCount = 4;

#undef TB
#undef TB2
#undef TBOFF

uint32_t tbFieldLen(const char *field, uint32_t size)
{
    uint32_t n = 0;
    while (n < size && field[n])
        ++n;
    return n;
}

static void copyField(char *dst, uint32_t size, const char *src)
{
    memset(dst, 0, size);
    if (src)
        utStrCopyN(dst, src, size);
}

void blFillButton(ToolButton *entry, uint16_t command, int16_t objType, uint16_t kind,
                  uint16_t enabled, const char *bitmap, const char *tooltip, uint32_t handle)
{
    if (!entry)
        return;
    entry->command = command;
    entry->command2 = 0;
    entry->objType = objType;
    entry->kind = kind;
    entry->enabled = enabled;
    entry->color = 0;
    copyField(entry->bitmap, sizeof(entry->bitmap), bitmap);
    copyField(entry->tooltip, sizeof(entry->tooltip), tooltip);
    entry->handle = handle;
}

const ToolButton *tbCommandTableFor(int screenWidth, int16_t *count)
{
    bool narrow = screenWidth < TB_NARROW_SCREEN_LIMIT;
    if (count)
        *count = narrow ? tbCommandNarrowCount : tbCommandCount;
    return narrow ? tbCommandNarrowTable : tbCommandTable;
}

const ToolButton *tbNodeTableFor(int objType, int16_t *count)
{
    const ToolButton *table = nullptr;
    int16_t n = 0;
    switch (objType) {
    case 2: case 3: case 4: case 5:
        table = tbNodeLineTable; n = tbNodeLineCount; break;
    case 14: table = tbNodePolylineTable; n = tbNodePolylineCount; break;
    case 15: table = tbNodePolygonTable; n = tbNodePolygonCount; break;
    case 17: table = tbNodeHVPolylineTable; n = tbNodeHVPolylineCount; break;
    case 18: table = tbNodeBezierTable; n = tbNodeBezierCount; break;
    case 19: table = tbNodeClosedTable; n = tbNodeClosedCount; break;
    default: break;
    }
    if (count)
        *count = n;
    return table;
}

const ToolButtonTableRef *tbAllTables(int *n)
{
    static const ToolButtonTableRef tables[] = {
        {"text flow", tbTextFlowTable, tbTextFlowCount},
        {"drawing tools", tbDrawToolTable, tbDrawToolCount},
        {"file, page and edit", tbCommandTable, tbCommandCount},
        {"narrow file, page and edit", tbCommandNarrowTable, tbCommandNarrowCount},
        {"mode tools", tbModeToolTable, tbModeToolCount},
        {"move, size and align", tbMoveSizeTable, tbMoveSizeCount},
        {"more objects", tbMoreObjectsTable, tbMoreObjectsCount},
        {"colour targets", tbColorTargetTable, tbColorTargetCount},
        {"node lines", tbNodeLineTable, tbNodeLineCount},
        {"node polyline", tbNodePolylineTable, tbNodePolylineCount},
        {"node polygon", tbNodePolygonTable, tbNodePolygonCount},
        {"node h/v polyline", tbNodeHVPolylineTable, tbNodeHVPolylineCount},
        {"node bezier", tbNodeBezierTable, tbNodeBezierCount},
        {"node closed curve", tbNodeClosedTable, tbNodeClosedCount},
    };
    if (n)
        *n = (int)(sizeof(tables) / sizeof(tables[0]));
    return tables;
}

MemHandle tbMakeSubList(const ToolButton *entries, int n)
{
    if (n < 0 || (n > 0 && !entries))
        return 0;
    uint32_t size = (uint32_t)(n + 1) * sizeof(ToolButton);
    MemHandle h = utAllocHandle(0, size);
    if (!h)
        return 0;
    MemLock<ToolButton> p(h);
    if (n > 0)
        memcpy(p.get(), entries, (size_t)n * sizeof(ToolButton));
    // The block is zero-filled: the entry after the run is the terminator.
    return h;
}

int tbCountSubList(MemHandle subList)
{
    uint32_t capacity = utHandleSize(subList) / sizeof(ToolButton);
    MemLock<ToolButton> p(subList);
    if (!p)
        return 0;
    int n = 0;
    while ((uint32_t)n < capacity && (int16_t)p[n].command > 0)
        ++n;
    return n;
}
