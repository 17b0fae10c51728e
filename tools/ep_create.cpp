// Create mode and the text-creation tool.
#include "tools/ep_create.h"
#include "tools/ep_factory.h"
#include "tools/ep_handles.h"
#include "tools/ep_polygon.h"
#include "tools/ep_selection.h"
#include "tools/ep_shape_tools.h"
#include "objects/sh_arrow.h"
#include "tools/ep_standins.h"
#include "forms/fld_box.h"
#include "app/mb_msgbar.h"
#include "tools/ne_freehand.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "model/setup_record.h"
#include "commands/ep_track.h"
#include "links/imgf_object.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "model/pg_record.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "support/win_mouse.h"
#include "model/ws_document.h"
#include "views/pv_page.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

const COLORREF kGuideColour = 0xFF8000;
const uint32_t kNewRecordSize = 86;
const uint32_t kTextRecordSize = 216;
const WORD kCmdEditObject = 401;
const WORD kCmdBeginTextEdit = 700;

// The running drag: one at a time on the user-interface thread.
struct DragContext {
    HWND ws = nullptr;
    HPEN guidePen = nullptr;
    bool shift = false;
    uint32_t typeWord = 0;
};
DragContext g_drag;

bool isEqualSided(int16_t t)
{
    return t == 6 || t == 9 || t == 24 || t == 25 || t == -8 || t == -11 || t == -12 ||
           t == -13;
}

bool oneOf(int16_t t, std::initializer_list<int16_t> set)
{
    return std::find(set.begin(), set.end(), t) != set.end();
}

// The arrow-family shapes, made from the points of their code.
bool isShapeFamily(int16_t t)
{
    return oneOf(t, {400, 401, 404, 405, 406, 407, 408, 409, 410, 421, 422, 431, 432, 441, 442,
                     480, 481});
}

bool isFieldKind(int16_t t)
{
    return oneOf(t, {41, 42, 43, 44, 52, 54, 55, 57, 58, 59, 96, 116, 124, 133, 134, 135, 136,
                     137, 138, 210});
}

void mirror(POINT *start, POINT end)
{
    start->x = 2 * start->x - end.x;
    start->y = 2 * start->y - end.y;
}

RECT normalised(POINT a, POINT b)
{
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// The variant a right-button press draws.
int16_t variantOf(int16_t t)
{
    switch (t) {
    case 7: return 6;
    case 8: return -8;
    case 10: return 9;
    case 11: return -11;
    case 12: return -12;
    case 13: return -13;
    default: return t;
    }
}

int feedbackThunk(HDC dc, const TrackPair *pair, LPARAM data)
{
    DragContext *ctx = (DragContext *)data;
    const POINT pts[2] = {{pair->x1, pair->y1}, {pair->x2, pair->y2}};
    return epCreateFeedback(dc, pts, &ctx->typeWord);
}

// The set-up or property dialog of a new object of the type: 1 accepted,
// 0 cancelled, -1 when the type has none.
int setupDialog(HWND ws, int16_t type, MemHandle object)
{
    switch (type) {
    case 210: case 116: case 133: case 134: case 135: case 136: case 137: case 96:
        return objPropsAfterCreate(ws, type, object) ? 1 : 0;
    case 35: return gridProps(ws, object) ? 1 : 0;
    case 41: return fldEntrySetup(ws, object) ? 1 : 0;
    case 42: return fldListProps(ws, object) ? 1 : 0;
    case 43: return btnEditProps(ws, object) ? 1 : 0;
    case 44: case 57: case 58: return fldEditControlProps(ws, object) ? 1 : 0;
    case 124: return fldEquationProps(ws, object) ? 1 : 0;
    case 491: return obj491Props(ws, object) ? 1 : 0;
    case 492: return obj492Props(ws, object) ? 1 : 0;
    default: return -1;
    }
}

// A new image frame takes its linked picture at once: 1 linked (the object
// sized to the picture), 0 cancelled.
int linkNewFrame(HWND ws, MemHandle *object)
{
    char folder[UT_PATH_SIZE] = "";
    wsGetDocFolder(ws, folder);
    return imgfChooseAndLink(ws, object, folder, 1) ? 1 : 0;
}

// Frees a block made for the factory when the factory did not keep it.
void dropBlock(MemHandle h)
{
    if (h && utIsLiveHandle(h))
        utFreeHandle(h);
}

// True when the pending undo step is the creation of this object.
bool isCreationPending(HWND ws, MemHandle object)
{
    UndoRecord undo;
    return wsGetUndo(ws, &undo) && undo.kind == (uint16_t)kEpUndoCreated && undo.object == object;
}

void backToSelect(HWND ws)
{
    wsLeaveToolMode(ws, FALSE);
    epEnterSelectMode(ws, 0);
}

}  // namespace

int epEnterCreateMode(HWND ws, uint16_t status, int16_t)
{
    return wsEnterToolMode(ws, TM_CREATE, CreateToolWndProc, status, 0);
}

// ---- feedback -------------------------------------------------------------------------------------

int epCreateFeedback(HDC dc, const POINT pts[2], uint32_t *typeWord)
{
    if (!dc || !pts || !typeWord)
        return 0;
    POINT s = pts[0], e = pts[1];
    int16_t type = (int16_t)LOWORD(*typeWord);
    const bool shift = g_drag.shift;

    if (isEqualSided(type)) {
        epMakeEqualSided(s, e, &e);
        if (shift)
            mirror(&s, e);
    } else if (oneOf(type, {3, 4, 5, 413, 32, 33, 34})) {
        const bool vertical = labs(e.x - s.x) < labs(e.y - s.y);
        const bool dimension = oneOf(type, {32, 33, 34});
        type = vertical ? (dimension ? 34 : 5) : (dimension ? 33 : 4);
        *typeWord = (*typeWord & 0xFFFF0000u) | (uint16_t)type;
        if (shift) {
            if (vertical)
                e.x = s.x;
            else
                e.y = s.y;
            mirror(&s, e);
        }
    } else if (shift) {
        mirror(&s, e);
    }

    const RECT r = normalised(s, e);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    switch (type) {
    case 9: case 10: case 11: case 12: case -11: case -12:
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
        break;
    case 8: case -8: {
        const int32_t round = epRoundRectRounding(r.right - r.left, r.bottom - r.top);
        RoundRect(dc, r.left, r.top, r.right, r.bottom, round, round);
        break;
    }
    case 2: case 22: case 31: case 402:
        MoveToEx(dc, s.x, s.y, nullptr);
        LineTo(dc, e.x, e.y);
        break;
    case 4: case 33:
        MoveToEx(dc, s.x, s.y, nullptr);
        LineTo(dc, e.x, s.y);
        break;
    case 5: case 34:
        MoveToEx(dc, s.x, s.y, nullptr);
        LineTo(dc, s.x, e.y);
        break;
    case 13: case -13: {
        const POINT d[4] = {{(r.left + r.right) / 2, r.top},
                            {r.right, (r.top + r.bottom) / 2},
                            {(r.left + r.right) / 2, r.bottom},
                            {r.left, (r.top + r.bottom) / 2}};
        Polygon(dc, d, 4);
        break;
    }
    case 24: case 25: {
        std::vector<POINT> v = epStarPolygonPoints(type, s, e);
        if (!v.empty())
            Polygon(dc, v.data(), (int)v.size());
        break;
    }
    case 36:
        epCubeRubberBand(dc, &r);
        break;
    default:
        if (isShapeFamily(type))
            shDrawShapeCode(dc, &r, type);
        else
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
        break;
    }
    SelectObject(dc, oldBrush);

    if ((*typeWord & EP_TYPEWORD_GUIDES) && g_drag.ws && g_drag.guidePen) {
        RECT client;
        GetClientRect(g_drag.ws, &client);
        DPtoLP(dc, (POINT *)&client, 2);
        const RECT c = normalised({client.left, client.top}, {client.right, client.bottom});
        if (e.x >= c.left && e.x <= c.right && e.y >= c.top && e.y <= c.bottom) {
            HGDIOBJ oldPen = SelectObject(dc, g_drag.guidePen);
            MoveToEx(dc, e.x, c.top, nullptr);
            LineTo(dc, e.x, c.bottom);
            MoveToEx(dc, c.left, e.y, nullptr);
            LineTo(dc, c.right, e.y);
            SelectObject(dc, oldPen);
        }
    }
    mbShowObjectSize(r.right - r.left, r.bottom - r.top);
    return 1;
}

// ---- the drag ----------------------------------------------------------------------------------------

MemHandle epDragCreate(HWND ws, UINT message, LPARAM lParam)
{
    if (!wsGetRecordHandle(ws))
        return 0;
    DragContext ctx;
    ctx.ws = ws;
    ctx.typeWord = (uint16_t)wsGetCurrentType(ws) | (setGetDrawGuides() ? EP_TYPEWORD_GUIDES : 0);
    ctx.guidePen = CreatePen(PS_DOT, 0, kGuideColour);
    ctx.shift = GetKeyState(VK_SHIFT) < 0;
    COLORREF colour = 0;
    MemHandle page = pvGetCurrentPage(ws);
    if (page)
        pgGetProp(page, 4, &colour);
    g_drag = ctx;

    TrackPair pair = {};
    const int moved = trkTrackDrag(ws, message, lParam, wsIsSnapToRulers(ws),
                                   (int16_t)pgGetGridDivisions(ws), &pair, feedbackThunk,
                                   (LPARAM)&g_drag, TRUE, colour, TRUE);
    int16_t type = (int16_t)LOWORD(g_drag.typeWord);
    if (g_drag.guidePen)
        DeleteObject(g_drag.guidePen);
    g_drag = DragContext();
    if (!moved)
        return 0;

    POINT s = {pair.x1, pair.y1}, e = {pair.x2, pair.y2};
    if (isEqualSided(type))
        epMakeEqualSided(s, e, &e);
    if (ctx.shift && !oneOf(type, {3, 4, 5, 32, 33, 34, 413}))
        mirror(&s, e);

    // Empty drags make nothing.
    if (oneOf(type, {2, 22, 31, 402})) {
        if (s.x == e.x && s.y == e.y)
            return 0;
    } else if (oneOf(type, {4, 33})) {
        if (s.x == e.x)
            return 0;
        e.y = s.y;
        if (ctx.shift)
            mirror(&s, e);
    } else if (oneOf(type, {5, 34})) {
        if (s.y == e.y)
            return 0;
        e.x = s.x;
        if (ctx.shift)
            mirror(&s, e);
    } else if (s.x == e.x || s.y == e.y) {
        return 0;
    }

    type = (int16_t)abs(type);
    if (type == 33 || type == 34)
        type = OBT_DIMENSION;
    else if (type == 22)
        type = OBT_BEZIER;
    wsSetCurrentType(ws, type);
    POINT pts[2] = {s, e};

    if (type == OBT_PIE || type == OBT_ARC) {
        wsLeaveToolMode(ws, FALSE);
        MemHandle arc = epCreateArcAt(ws, pts, type);
        if (arc) {
            udRecord(ws, arc, 0, kEpUndoCreated, 0);
            UdKeepStep keep(ws);
            epEnterSelectMode(ws, arc);
            obInvalidate(ws, arc);
            epArcTool(ws, arc);
            wsMarkModified(ws);
        }
        return arc;
    }
    if (isFieldKind(type)) {
        const RECT r = normalised(s, e);
        if (epCheckFieldRect(ws, &r))
            return 0;
    }

    if (type == 131) {
        const RECT r = normalised(s, e);
        MemHandle field = fld131Build(ws, &r);
        epFinishCreate(ws, field);
        return field;
    }

    MemHandle block = obNewRecord(kNewRecordSize);
    if (!block)
        return 0;
    MemHandle object = 0;
    if (type == OBT_POLYGON_ALIAS || type == OBT_STAR) {
        std::vector<POINT> v = epStarPolygonPoints(type, s, e);
        if (!v.empty())
            object = epCreateObject(ws, block, OBT_POLYGON, v.data(), (uint16_t)v.size());
    } else if (type == OBT_BEZIER) {
        POINT v[4] = {s};
        neStraightBezierSegment(s, e, v + 1);
        object = epCreateObject(ws, block, OBT_BEZIER, v, 4);
    } else if (isShapeFamily(type)) {
        const RECT r = normalised(s, e);
        object = shCreateFromShapeCode(block, &r, type);
    } else {
        object = epCreateObject(ws, block, type, pts, 2);
    }
    if (!object) {
        dropBlock(block);
        return 0;
    }

    // A counter takes its name before anything refers to it: naming may
    // move the record.
    if (obGetType(object) == OBT_COUNTER) {
        char name[32];
        MemHandle form = wsGetDocument(ws);
        if (fmNextName(ws, &form, FM_NAME_COUNTER, name)) {
            if (MemHandle named = obSetName(object, name))
                object = named;
        }
    }
    udRecord(ws, object, 0, kEpUndoCreated, 0);
    wsAppendObject(ws, object);
    obInvalidate(ws, object);

    const int16_t made = obGetType(object);
    const int answer = made == OBT_IMAGE_FILE ? linkNewFrame(ws, &object)
                                              : setupDialog(ws, made, object);
    bool removed = false;
    if (answer == 1) {
        epFinishCreate(ws, object);
    } else if (answer == 0) {
        epRemoveCreated(ws, object);
        removed = true;
        object = 0;
    } else if (made == OBT_BEZIER || made == OBT_LABEL) {
        wsLeaveToolMode(ws, FALSE);
        epSetSelection(ws, object, TRUE);
        PostMessageA(ws, WM_COMMAND, kCmdEditObject, 0);
    } else if (made == OBT_BOX) {
        // Finished by its own set-up.
    } else {
        epFinishCreate(ws, object);
    }
    if (!removed) {
        wsMarkModified(ws);
    } else {
        SendMessageA(ws, WS_MSG_LEAVE_MODE, 0, 0);
        epEnterSelectMode(ws, 0);
    }
    return object;
}

// ---- finishing ------------------------------------------------------------------------------------------

int epFinishCreate(HWND ws, MemHandle object)
{
    if (!object)
        return 0;
    if (!wsPageHasObject(ws, object))
        wsAppendObject(ws, object);
    obInvalidate(ws, object);
    // The creation's one undo step, taken before the selection changes (a
    // drag that made the object has recorded it already), and kept by the
    // new selection.
    if (!isCreationPending(ws, object))
        udRecord(ws, object, 0, kEpUndoCreated, 0);
    if (!setGetStayInDrawMode()) {
        UdKeepStep keep(ws);
        wsLeaveToolMode(ws, FALSE);
        epEnterSelectMode(ws, object);
    }
    wsMarkModified(ws);
    return 1;
}

void epRemoveCreated(HWND ws, MemHandle object)
{
    udDiscard(ws);
    if (!object)
        return;
    obInvalidate(ws, object);
    wsDeleteObject(ws, object);
}

int epCheckFieldRect(HWND ws, const RECT *r)
{
    if (!r)
        return 1;
    wsApplyViewMapping(ws);
    const int32_t w = labs(dmLogToDevW(r->right - r->left));
    const int32_t h = labs(dmLogToDevH(r->bottom - r->top));
    if (w < 2 && h < 2)
        return 1;
    if (w >= 4 && h >= 4)
        return 0;
    // The caption is a string the object commands share; both texts have
    // their words here too, for a program built without them.
    char text[256] = {}, caption[256] = {};
    if (utLoadString(ws, IDS_EP_RECT_TOO_SMALL, text) <= 0)
        strcpy(text, "Rectangle too small, please redo");
    if (utLoadString(ws, IDS_EP_CAPTION_CONTINUE, caption) <= 0)
        strcpy(caption, "Press OK button to continue");
    utShowBox(ws, text, caption, MB_ICONHAND);
    return 1;
}

MemHandle epClickCreateField(HWND ws, int16_t type, LPARAM lParam)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page)
        return 0;
    MemHandle block = obNewRecord(kNewRecordSize);
    if (!block)
        return 0;
    wsApplyViewMapping(ws);
    POINT p;
    dmMsgPointToLogSnap(lParam, &p, wsIsSnapToRulers(ws), (int16_t)pgGetGridDivisions(ws));
    uint8_t field[kEpFieldRecordSize] = {};
    pgGetProp(page, 56, field);
    int16_t count;
    memcpy(&count, field + 4, 2);
    if (count < 0 || count >= 17)
        count = 16;
    RECT r = {p.x, p.y, p.x, p.y};
    obTextBoxSize(field, count, &r);
    const POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MemHandle object = epCreateObject(ws, block, type, pts, 2);
    if (!object)
        dropBlock(block);
    return object;
}

// ---- the procedures -----------------------------------------------------------------------------------

LRESULT CALLBACK CreateToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WS_MSG_ENTER_MODE:
        return 0;
    case WS_MSG_LEAVE_MODE:
        wsLeaveToolMode(ws, FALSE);
        return 0;
    case WM_LBUTTONDOWN: {
        if (GetFocus() != ws)
            SetFocus(ws);
        const int16_t type = wsGetCurrentType(ws);
        switch (winWaitClick(ws, lParam)) {
        case WIN_PRESS_DRAG:
            if (type)
                epDragCreate(ws, WM_LBUTTONDOWN, lParam);
            break;
        case WIN_PRESS_DOUBLE:
            backToSelect(ws);
            break;
        default:
            // A click: fields are placed at their standard size; any other
            // kind would get an empty rectangle, which makes nothing.
            if (type == 41 || type == 42 || type == 55 || type == 124) {
                MemHandle field = epClickCreateField(ws, type, lParam);
                if (field) {
                    epFinishCreate(ws, field);
                    UpdateWindow(ws);
                    if (type == 41)
                        fldEntrySetup(ws, field);
                    else if (type == 42)
                        fldListProps(ws, field);
                    else if (type == 124)
                        fldEquationProps(ws, field);
                }
            }
            break;
        }
        return 0;
    }
    case WM_RBUTTONDOWN: {
        const uint16_t press = winWaitRightClick(ws, lParam);
        if (press == WIN_PRESS_DOUBLE)
            return 0;
        const int16_t type = wsGetCurrentType(ws);
        wsSetCurrentType(ws, variantOf(type));
        if (type && press == WIN_PRESS_DRAG)
            epDragCreate(ws, WM_RBUTTONDOWN, lParam);
        return 0;
    }
    }
    return wsDefProc(ws, msg, wParam, lParam);
}

MemHandle epTextCreateAt(HWND ws, const POINT pts[2])
{
    if (!pvGetCurrentPage(ws))
        return 0;
    int16_t type = wsGetCurrentType(ws);
    if (type != OBT_TEXT && type != -OBT_TEXT)
        type = OBT_TEXT;
    MemHandle block = obNewRecord(kTextRecordSize);
    if (!block)
        return 0;
    MemHandle object = epCreateObject(ws, block, type, pts, 2);
    if (!object) {
        dropBlock(block);
        return 0;
    }
    wsSetCurrentType(ws, OBT_TEXT);
    wsAppendObject(ws, object);
    udRecord(ws, object, 0, kEpUndoCreated, 0);
    wsMarkModified(ws);
    return object;
}

MemHandle epTextCreateDrag(HWND ws, LPARAM lParam)
{
    TrackPair pair = {};
    trkTrackDrag(ws, WM_LBUTTONDOWN, lParam, wsIsSnapToRulers(ws),
                 (int16_t)pgGetGridDivisions(ws), &pair, nullptr, 0, TRUE, 0, TRUE);
    const POINT pts[2] = {{pair.x1, pair.y1}, {pair.x2, pair.y2}};
    return epTextCreateAt(ws, pts);
}

LRESULT CALLBACK TextCreateToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WS_MSG_ENTER_MODE:
        return 0;
    case WS_MSG_LEAVE_MODE:
        wsLeaveToolMode(ws, FALSE);
        return 0;
    case WM_LBUTTONDOWN: {
        if (GetFocus() != ws)
            SetFocus(ws);
        const uint16_t press = winWaitClick(ws, lParam);
        if (press == WIN_PRESS_DOUBLE) {
            backToSelect(ws);
            return 0;
        }
        MemHandle text;
        if (press == WIN_PRESS_DRAG) {
            text = epTextCreateDrag(ws, lParam);
        } else {
            // A click: the button is up already, so the text is made at the
            // press point without tracking.
            wsApplyViewMapping(ws);
            POINT p;
            dmMsgPointToLogSnap(lParam, &p, wsIsSnapToRulers(ws), (int16_t)pgGetGridDivisions(ws));
            const POINT pts[2] = {p, p};
            text = epTextCreateAt(ws, pts);
        }
        if (text) {
            // The creation's undo step stays with the new selection.
            epSetSelection(ws, text, TRUE);
            wsApplyViewMapping(ws);
            epDrawHandles(ws, nullptr, text);
            PostMessageA(ws, WM_COMMAND, kCmdBeginTextEdit, 0);
        }
        return 0;
    }
    }
    return wsDefProc(ws, msg, wParam, lParam);
}
