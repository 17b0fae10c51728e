// Tool choice and object insertion.
#include "tools/ep_tool_choice.h"
#include "tools/dlg_star.h"
#include "tools/ep_create.h"
#include "tools/ep_factory.h"
#include "tools/ep_handles.h"
#include "tools/ep_polygon.h"
#include "tools/ep_selection.h"
#include "tools/ep_standins.h"
#include "forms/fld_box.h"
#include "textedit/te_modes.h"
#include "text/ep_text_font.h"
#include "tools/ne_freehand.h"
#include "commands/clip_formats.h"
#include "commands/ud_undo.h"
#include "text/tx_draw_object.h"
#include "commands/ws_objects.h"
#include "app/app_frame_bars.h"
#include "support/app_frame_globals.h"
#include "app/app_toolbars.h"
#include "controls/btnlist.h"
#include "controls/maintools.h"
#include "controls/pal_window.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include <string.h>
#include <algorithm>

namespace {

bool g_busy = false;

const EpToolCommand kToolCommands[] = {
    {319, 41, 319, 0},     {338, 405, 1377, 0},   {340, 407, 340, 0},    {341, 408, 341, 0},
    {349, 55, 349, 0},     {1362, 400, 333, 0},   {1363, 431, 333, 0},   {1364, 432, 333, 0},
    {1367, 401, 334, 0},   {1368, 441, 333, 0},   {1369, 442, 333, 0},   {1372, 406, 339, 0},
    {1373, 421, 339, 0},   {1374, 422, 339, 0},   {1378, 480, 1377, 0},  {1379, 481, 1377, 0},
    {1380, 8, 307, 0.25},  {1381, 8, 307, 0.4},   {1382, 8, 307, 0.6},   {1391, 124, 1391, 0},
    {1392, 42, 1392, 0},
};

const int kPaletteLineTarget = 14;
const WORD kCmdEditObject = 401;
const WORD kCmdBeginTextEdit = 700;
const uint32_t kTextVertWordBit = 0x100;

struct BusyGuard {
    BusyGuard() { g_busy = true; }
    ~BusyGuard() { g_busy = false; }
};

// Both corners snapped to the ruler grid.
void snapRect(HWND ws, RECT *r)
{
    int32_t cx, cy;
    pgGridCellSize(pgGetGridDivisions(ws), &cx, &cy);
    auto snap = [](LONG v, int32_t cell) -> LONG {
        if (cell <= 0)
            return v;
        const LONG half = cell / 2;
        return (LONG)((v >= 0 ? (v + half) / cell : -((-v + half) / cell)) * cell);
    };
    r->left = snap(r->left, cx);
    r->right = snap(r->right, cx);
    r->top = snap(r->top, cy);
    r->bottom = snap(r->bottom, cy);
}

}  // namespace

void epResetToolChoice() { g_busy = false; }

const EpToolCommand *epFindToolCommand(int command)
{
    for (const EpToolCommand &row : kToolCommands)
        if (row.command == command)
            return &row;
    return nullptr;
}

int epChooseTool(HWND ws, int button, int16_t type)
{
    if (g_busy)
        return 1;
    BusyGuard busy;

    udDiscard(ws);
    wsSendLeaveMode(ws, 1);
    if (wsGetToolMode(ws) == TM_CREATE)
        wsLeaveToolMode(ws, FALSE);
    else
        epSelectObject(ws, 0);

    wsSetCurrentType(ws, type);
    popSetItemKindText(appGetFrameWindow(), type);
    if (obIsLineType(type) || type == OBT_DIMENSION)
        clrSetActiveTarget(kPaletteLineTarget);
    appReleaseToolButton(appGetFrameWindow(), type);
    if (button) {
        if (HWND bar = appGetDrawToolBar())
            blSelectButton(bar, (uint16_t)button);
        if (HWND more = appGetMoreObjectsWindow())
            blSelectButton(more, (uint16_t)button);
    }

    int result = 0;
    bool cancelled = false;
    switch (type) {
    case OBT_TABLE:
        result = tbBeginCreateMode(ws);
        break;
    case OBT_TEXT:
    case -OBT_TEXT:
        result = wsEnterToolMode(ws, TM_CREATE, TextCreateToolWndProc, 0, 0) ? 1 : 0;
        break;
    case OBT_NOTE:
        result = epInsertNote(ws);
        break;
    case OBT_STAR:
    case OBT_POLYGON_ALIAS: {
        int16_t count = 0, percent = 0;
        int ok;
        if (type == OBT_STAR) {
            ok = dlgStar(ws, &count, &percent);
        } else {
            int16_t unused;
            epGetStarConfig(&unused, &percent);
            ok = dlgEqlatPolygon(ws, &count);
        }
        // A cancel, and values no star or polygon can have, leave the
        // workspace in select mode: the old mode has been left already.
        if (!ok || count < 3 || percent < 0 || percent > 100) {
            epEnterSelectMode(ws, 0);
            cancelled = true;
            break;
        }
        if (type == OBT_STAR)
            epSetStarConfig(count, percent);
        else
            epSetPolygonCorners(count);
        result = epEnterCreateMode(ws, 0, type) ? 1 : 0;
        break;
    }
    case OBT_POLYLINE:
    case OBT_POLYGON:
    case OBT_POLYHV:
        result = wsEnterToolMode(ws, TM_CREATE, FreeLineToolWndProc, 0, 0) ? 1 : 0;
        break;
    case OBT_BEZIER:
    case OBT_CLOSED_CURVE:
        result = wsEnterToolMode(ws, TM_CREATE, FreeCurveToolWndProc, 0, 0) ? 1 : 0;
        break;
    default: {
        MemHandle made = 0;
        if (cmdToolAction(ws, type, &made))
            result = 1;
        else
            result = epEnterCreateMode(ws, 0, type) ? 1 : 0;
        break;
    }
    }
    if (!cancelled)
        blSelectToolButton(0);
    return result;
}

int epChooseToolByCommand(HWND ws, int command, int16_t)
{
    const EpToolCommand *row = epFindToolCommand(command);
    if (!row)
        return 0;
    if (row->type == OBT_ROUNDRECT)
        epSetRoundRectRatio(row->ratio);
    return epChooseTool(ws, row->button, row->type);
}

int epChooseToolOrVText(HWND ws, int button, int16_t type)
{
    return epChooseTool(ws, button, type ? type : (int16_t)-OBT_TEXT);
}

// ---- insertion --------------------------------------------------------------------------------------

int wsInsertObject(HWND ws, MemHandle object, uint16_t placement)
{
    if (!object)
        return 0;
    if (MemHandle current = wsGetCurrentObject(ws)) {
        wsApplyViewMapping(ws);
        epDrawHandles(ws, nullptr, current);
        if (obGetType(current) == OBT_CHAIN)
            epSelectObject(ws, 0);
    }
    if (placement)
        objAlignInWindow(ws, object, placement);
    if (!wsAppendObject(ws, object))
        return 0;
    epEnterSelectMode(ws, object);
    obInvalidate(ws, object);
    udRecord(ws, object, 0, kEpUndoInserted, 0);
    wsMarkModified(ws);
    return 1;
}

int epToolDropNotify(HWND ws, int code, LPARAM data)
{
    switch (code) {
    case BL_DROP_PREPARE:
        wsSendLeaveMode(ws, 0);
        epSelectObject(ws, 0);
        if (HWND frame = appGetFrameWindow())
            UpdateWindow(frame);
        return 1;
    case BL_DROP_CREATE:
        return epDropCreate(ws, (const BlDropInfo *)data);
    case BL_DROP_RECT:
        return epDropDefaultRect(ws, (BlDropBlock *)data);
    default:
        return 0;
    }
}

int epDropCreate(HWND ws, const BlDropInfo *drop)
{
    if (!drop || !drop->entry || !pvGetCurrentPage(ws))
        return 0;
    const int16_t type = drop->entry->objType;
    RECT r = {drop->rect.left, drop->rect.top, drop->rect.right, drop->rect.bottom};
    if (wsIsSnapToRulers(ws))
        snapRect(ws, &r);
    const POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MemHandle object = epCreateObject(ws, 0, type, pts, 2);
    if (!object)
        return 0;
    wsAppendObject(ws, object);
    obInvalidate(ws, object);
    epEnterSelectMode(ws, object);
    udRecord(ws, object, 0, kEpUndoCreated, 0);
    if (obGetType(object) != OBT_RECTANGLE)
        PostMessageA(ws, WM_COMMAND, kCmdEditObject, 0);
    wsMarkModified(ws);
    return 1;
}

int epDropDefaultRect(HWND ws, BlDropBlock *rect)
{
    if (!rect)
        return 0;
    const int32_t command = rect->left;
    uint8_t field[kEpFieldRecordSize] = {};
    if (MemHandle page = pvGetCurrentPage(ws))
        pgGetProp(page, 56, field);
    RECT r = {0, 0, 0, 0};
    obTextBoxSize(field, 16, &r);
    int32_t w = r.right - r.left, h = r.bottom - r.top;
    switch (command) {
    case 306: case 309: case 310:
        w = 1440;
        h = 720;
        break;
    case 322: case 345:
        w += w / 2;
        break;
    case 346:
        w += w * 2 / 3;
        h *= 2;
        break;
    case 1392:
        w += w / 4;
        break;
    }
    rect->left = 0;
    rect->top = 0;
    rect->right = w;
    rect->bottom = h;
    return 1;
}

int epInsertNote(HWND ws)
{
    wsApplyViewMapping(ws);
    POINT topLeft = {0, 0};
    dmDevToLogPoints(&topLeft, 1);
    MemHandle note = epNoteNew(ws, topLeft);
    if (!note)
        return 0;
    if (wsGetToolMode(ws) == TM_CREATE)
        wsLeaveToolMode(ws, FALSE);
    else
        epSelectObject(ws, 0);
    popSetItemKindText(appGetFrameWindow(), OBT_NOTE);
    wsAppendObject(ws, note);
    epEnterSelectMode(ws, note);
    return epNoteBeginEdit(ws, note);
}

int txCmdEditText(HWND ws, MemHandle object, int command, LPARAM lParam)
{
    SetFocus(ws);
    udDiscard(ws);
    if (!object)
        return 0;
    BOOL full = obIsCoveredByLater(object) != 0;
    {
        ObLock r(object);
        if (!r)
            return 0;
        if (r->rotation != 0)
            full = TRUE;
        // The word after the LOGFONT of a text's font record.
        const uint32_t at = obDataOffset(r.get()) + 8 + sizeof(LOGFONTA);
        if (r->type == OBT_TEXT && at + 2 <= r.extent()) {
            uint16_t word;
            memcpy(&word, (const uint8_t *)r.get() + at, 2);
            if (word & kTextVertWordBit)
                full = TRUE;
        }
    }
    // Justified text moves every line while it is edited.
    if (txColumnTest(object))
        full = TRUE;
    wsApplyViewMapping(ws);
    epDrawHandles(ws, nullptr, object);
    wsLeaveToolMode(ws, FALSE);
    return teBeginEdit(ws, object, command, lParam, full);
}

int epSelectAndPost(HWND ws, MemHandle request)
{
    EpSelectRequest req = {};
    {
        MemLock<uint8_t> r(request);
        if (r && utHandleSize(request) >= sizeof req)
            memcpy(&req, r.get(), sizeof req);
    }
    utFreeHandle(request);
    udDiscard(ws);
    epEnterSelectMode(ws, req.object);
    if (req.command)
        PostMessageA(ws, WM_COMMAND, req.command, 0);
    return 1;
}

int epNewTextBelow(HWND ws, const POINT *pt)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (wsGetToolMode(ws) != TM_SELECT || !page)
        return 0;
    RECT r;
    pgGetMarginRect(page, &r);
    if (pt) {
        r.left = pt->x;
        r.top = pt->y;
    } else {
        uint8_t font[kEpFontRecordSize] = {};
        pgGetProp(page, 55, font);
        int32_t ave = 0, height = 0, leading = 0;
        txMeasureFontOn(ws, font, &ave, &height, &leading);
        const int32_t line = height + leading;
        RECT last;
        MemHandle lastObject = pgGetLastObject(page);
        if (lastObject && obGetDrawnRect(lastObject, &last)) {
            r.top = last.bottom + line;
            r.bottom = std::max<LONG>(r.bottom, r.top + line);
        } else {
            r.bottom = r.top + line;
        }
    }
    if (r.right == r.left || r.bottom == r.top)
        return 0;
    const int16_t previous = wsGetCurrentType(ws);
    wsSetCurrentType(ws, OBT_TEXT);
    const POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MemHandle text = epTextCreateAt(ws, pts);
    if (!text) {
        wsSetCurrentType(ws, previous);
        return 0;
    }
    epSelectAndReveal(ws, text, wsGetCurrentObject(ws));
    // The selection dropped the step of the new text: it is recorded again.
    udRecord(ws, text, 0, kEpUndoCreated, 0);
    PostMessageA(ws, WM_COMMAND, kCmdBeginTextEdit, 0);
    return 1;
}
