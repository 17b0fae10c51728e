// Moving, resizing, snapping, aligning and arranging the members.
#include "commands/cmd_arrange.h"
#include "app/mb_msgbar.h"
#include "commands/grp_members.h"
#include "commands/at_attr.h"
#include "commands/ms_select.h"
#include "commands/ud_undo.h"
#include "forms/ent_field.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/ob_transform.h"
#include "model/pg_margins.h"
#include "model/pg_record.h"
#include "text/tx_attr.h"
#include "text/tx_header.h"
#include "text/tx_label.h"
#include "text/tx_object.h"
#include "tools/ep_handles.h"
#include "tools/ep_members.h"
#include "tools/ep_selection.h"
#include "tools/note_standins.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_scroll.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include "views/ws_zoom.h"
#include <math.h>

namespace {

const UINT kIdsObjectLocked = 889;      // "The object is locked and can not be changed"
const UINT kIdsSelectModeOnly = 893;    // "The command is effective only in select mode"
const UINT kIdsMustSelectGroup = 994;   // "Must select a group or chain object"
const WPARAM kCmdRulersX = 912, kCmdRulersY = 913;
// Page coordinates stay within a quarter of the i32 range, so that sums of
// two of them never overflow.
const int32_t kCoordLimit = 0x1FFFFFFF;

bool locked(MemHandle object) { return (obGetFlags(object) & OBF_LOCKED) != 0; }

void warnLocked(HWND ws) { utWarningBoxId(ws, kIdsObjectLocked); }

bool isGroupOrChain(MemHandle object)
{
    const int16_t type = obGetType(object);
    return type == OBT_GROUP || type == OBT_CHAIN;
}

HDC defaultTrackBegin(HWND ws) { return dmBeginXorDC(ws); }
void defaultTrackEnd(HWND ws, HDC dc) { dmEndXorDC(ws, dc); }
CmdTrackBeginFn g_trackBegin = defaultTrackBegin;
CmdTrackEndFn g_trackEnd = defaultTrackEnd;

// One series of repeated move or resize messages: its outline rectangle
// and the context it is drawn on, for one object of one workspace.
struct Series {
    bool open;
    HWND ws;
    MemHandle object;
    HDC dc;
    RECT r;
    uint16_t repeat;   // the last repeat number
};
Series g_move = {}, g_resize = {};

void drawOutline(const Series &s, const RECT &r)
{
    if (s.dc)
        dmDrawXorOutline(s.dc, &r);
}

void openSeries(Series &s, HWND ws, MemHandle object, const RECT &r)
{
    wsApplyViewMapping(ws);
    s.open = true;
    s.ws = ws;
    s.object = object;
    s.dc = g_trackBegin(ws);
    s.r = r;
}

// Erases the outline and releases the context.
void closeSeries(Series &s)
{
    if (!s.open)
        return;
    drawOutline(s, s.r);
    if (s.dc)
        g_trackEnd(s.ws, s.dc);
    s = {};
}

// What a message of the repeat protocol asks for.
struct Step {
    uint16_t repeat;
    bool series;    // part of a series (repeat number above 0)
    bool closing;   // the message that ends the series
};

Step stepOf(LPARAM lParam)
{
    Step s;
    s.repeat = LOWORD(lParam);
    s.series = s.repeat > 0;
    s.closing = s.series && HIWORD(lParam) != 0;
    return s;
}

// Runs one message of the protocol on the series: `change` turns the
// rectangle before the step into the one after it. Returns 1 when the
// object is to be changed now to *out (a single step or the close), 0
// while the series goes on or when there is nothing to change.
template <class Change>
int runProtocol(Series &s, HWND ws, MemHandle object, LPARAM lParam, Change change, RECT *out)
{
    const Step st = stepOf(lParam);
    RECT objectRect;
    obGetRect(object, &objectRect);
    if (!st.series) {
        RECT r = objectRect;
        change(r);
        *out = r;
        return 1;
    }
    // A series that belongs to another object or workspace (the selection
    // changed meanwhile) is over: its outline goes.
    const bool mine = s.open && s.ws == ws && s.object == object;
    if (s.open && !mine)
        closeSeries(s);
    if (st.closing) {
        // Closing a series that was never opened changes nothing.
        if (!mine)
            return 0;
        RECT r = s.r;
        closeSeries(s);
        *out = r;
        return 1;
    }
    // The first message (or one whose series start was lost) opens it.
    const bool first = !mine;
    if (first)
        openSeries(s, ws, object, objectRect);
    else
        wsApplyViewMapping(ws);
    const RECT before = s.r;
    change(s.r);
    if (!first)
        drawOutline(s, before);
    drawOutline(s, s.r);
    s.repeat = st.repeat;
    return 0;
}

// The common end of a group command: invalidate, run, refresh.
template <class Op> int runGroupOp(HWND ws, MemHandle object, bool messageBar, Op op)
{
    if (!udRecordCopy(ws, object))
        return 0;
    obInvalidate(ws, object);
    if (op()) {
        if (messageBar)
            mbUpdateFromSelection();
        wsMarkModified(ws);
    }
    obInvalidate(ws, object);
    if (object == wsGetCurrentObject(ws))
        epCalcHandles(object);
    return 1;
}

// The front part of the group commands 360-364: 0 when the command stops
// there; *object the group to work on.
int groupFront(HWND ws, MemHandle *object, int command)
{
    udDiscard(ws);
    if (wsGetToolMode(ws) == TM_MULTISELECT) {
        msEndToChain(ws);
        *object = wsGetCurrentObject(ws);
    }
    if (!*object || !isGroupOrChain(*object)) {
        utMessageBoxId(ws, kIdsMustSelectGroup, MB_ICONINFORMATION);
        return 0;
    }
    if (wsGetToolMode(ws) != TM_SELECT) {
        if (command != 360 && command != 362)
            utMessageBoxId(ws, kIdsMustSelectGroup, MB_ICONINFORMATION);
        return 0;
    }
    const int32_t least = (command == 360 || command == 361) ? 3 : 2;
    return grpMemberCount(*object) >= least ? 1 : 0;
}

// Replaces the object with the handle it has after a change and keeps it
// selected.
void keepSelected(HWND ws, MemHandle before, MemHandle now)
{
    if (!now || now == before)
        return;
    UdKeepStep keep(ws);
    if (wsGetCurrentObject(ws) == before)
        epSelectObject(ws, now);
}

}  // namespace

void cmdSetTrackContext(CmdTrackBeginFn begin, CmdTrackEndFn end)
{
    g_trackBegin = begin ? begin : defaultTrackBegin;
    g_trackEnd = end ? end : defaultTrackEnd;
}

// ---- moving -------------------------------------------------------------------------------------

int cmdMoveObjectBy(HWND ws, MemHandle object, int32_t dx, int32_t dy)
{
    if (!ws)
        return 0;
    udDiscard(ws);
    if (!object || (!dx && !dy))
        return 0;
    if (locked(object)) {
        warnLocked(ws);
        return 0;
    }
    udRecord(ws, object, 0, UD_MOVED, 0);
    UdKeepStep keep(ws);
    epRefreshObject(ws, object);
    obMoveBy(object, dx, dy);
    epRefreshObject(ws, object);
    if (object == wsGetCurrentObject(ws))
        epCalcHandles(object);
    mbUpdateFromSelection();
    wsMarkModified(ws);
    return 1;
}

int cmdDirectionOffset(int command, int32_t sx, int32_t sy, int32_t *dx, int32_t *dy)
{
    struct Row {
        int command;
        int8_t x, y;   // multiples of the step
    };
    static const Row table[] = {
        {760, 1, 0},  {761, -1, 0}, {762, 0, -1}, {763, 0, 1},  {764, 1, -1}, {765, -1, -1},
        {766, -1, 1}, {767, 1, 1},  {830, 8, 0},  {831, -8, 0}, {832, 0, -8}, {833, 0, 8},
    };
    for (const Row &row : table) {
        if (row.command != command)
            continue;
        *dx = row.x * sx;
        *dy = row.y * sy;
        return 1;
    }
    return 0;
}

int cmdMoveByDirection(HWND ws, int command, LPARAM lParam, MemHandle object)
{
    if (!object || wsGetToolMode(ws) != TM_SELECT) {
        MessageBeep(0);
        return 0;
    }
    udDiscard(ws);
    if (locked(object)) {
        warnLocked(ws);
        return 0;
    }
    int32_t sx = 1, sy = 1, dx = 0, dy = 0;
    wsGetMoveStep(ws, &sx, &sy);
    if (!cmdDirectionOffset(command, sx, sy, &dx, &dy))
        return 0;
    RECT to;
    if (!runProtocol(g_move, ws, object, lParam, [&](RECT &r) { OffsetRect(&r, dx, dy); }, &to))
        return stepOf(lParam).series && !stepOf(lParam).closing ? 1 : 0;
    RECT now;
    obGetRect(object, &now);
    return cmdMoveObjectBy(ws, object, to.left - now.left, to.top - now.top);
}

// ---- resizing -----------------------------------------------------------------------------------

int cmdResizeStepRect(int command, int32_t sx, int32_t sy, RECT *r)
{
    switch (command) {
    case 751: r->left -= sx; r->right += sx; break;
    case 752: r->top -= sy; r->bottom += sy; break;
    case 753: r->left += sx; r->right -= sx; break;
    case 754: r->top += sy; r->bottom -= sy; break;
    case 755: InflateRect(r, sx, sy); break;
    case 756: InflateRect(r, -sx, -sy); break;
    case 771: r->right += sx; break;
    case 772: r->right -= sx; break;
    case 773: r->left -= sx; break;
    case 774: r->left += sx; break;
    case 775: r->bottom += sy; break;
    case 776: r->bottom -= sy; break;
    case 777: r->top -= sy; break;
    case 778: r->top += sy; break;
    default: return 0;
    }
    return 1;
}

void cmdResizeMendCollapse(int16_t type, const RECT *before, RECT *r)
{
    switch (type) {
    case OBT_LINE:
    case OBT_POLYLINE:
    case OBT_BEZIER:
    case 20:
        if (r->left >= r->right)
            r->left = r->right = (r->left + r->right) / 2;
        if (r->top >= r->bottom)
            r->top = r->bottom = (r->top + r->bottom) / 2;
        if (r->left == r->right && r->top == r->bottom)
            *r = *before;
        return;
    case OBT_HLINE:
        // The line keeps no height, whatever the step asked.
        if (r->left >= r->right)
            *r = *before;
        r->top = r->bottom = before->top;
        return;
    case OBT_VLINE:
        if (r->top >= r->bottom)
            *r = *before;
        r->left = r->right = before->left;
        return;
    default:
        if (r->left >= r->right || r->top >= r->bottom)
            *r = *before;
        return;
    }
}

int cmdResizeByStep(HWND ws, int command, LPARAM lParam, MemHandle object)
{
    if (!object || wsGetToolMode(ws) != TM_SELECT) {
        MessageBeep(0);
        return 0;
    }
    if (!epIsEditable(ws, object)) {
        epReportNotEditable(ws, "resize");
        return 0;
    }
    udDiscard(ws);
    int32_t sx = 1, sy = 1;
    wsGetMoveStep(ws, &sx, &sy);
    RECT probe = {0, 0, 0, 0};
    if (!cmdResizeStepRect(command, sx, sy, &probe))
        return 0;
    const int16_t type = obGetType(object);
    auto change = [&](RECT &r) {
        const RECT before = r;
        cmdResizeStepRect(command, sx, sy, &r);
        cmdResizeMendCollapse(type, &before, &r);
    };
    RECT to;
    if (!runProtocol(g_resize, ws, object, lParam, change, &to))
        return stepOf(lParam).series && !stepOf(lParam).closing ? 1 : 0;
    RECT now;
    obGetRect(object, &now);
    if (EqualRect(&now, &to))
        return 0;
    udRecordCopy(ws, object);
    UdKeepStep keep(ws);
    epRefreshObject(ws, object);
    MemHandle fitted = obFitToRect(object, &to);
    if (!fitted)
        fitted = object;
    keepSelected(ws, object, fitted);
    epRefreshObject(ws, fitted);
    if (fitted == wsGetCurrentObject(ws))
        epCalcHandles(fitted);
    mbUpdateFromSelection();
    wsMarkModified(ws);
    return 1;
}

int cmdResizeByPercent(HWND ws, MemHandle object)
{
    if (wsGetToolMode(ws) != TM_SELECT) {
        utErrorBoxId(ws, kIdsSelectModeOnly);
        return 0;
    }
    if (!object)
        return 0;
    if (!epIsEditable(ws, object)) {
        epReportNotEditable(ws, "resize");
        return 0;
    }
    udDiscard(ws);
    int32_t percent = 100;
    if (!wsAskPercent(ws, &percent, nullptr) || percent == 100 || percent == 0)
        return 0;
    const double factor = percent / 100.0;
    // A percentage so large that the object would leave the range of page
    // coordinates changes nothing (the scaled coordinates would overflow).
    RECT o;
    obGetRect(object, &o);
    const double cx = (o.left + (double)o.right) / 2, cy = (o.top + (double)o.bottom) / 2;
    const double hw = (o.right - (double)o.left) / 2 * factor;
    const double hh = (o.bottom - (double)o.top) / 2 * factor;
    const double limit = (double)kCoordLimit;
    if (fabs(cx) + hw > limit || fabs(cy) + hh > limit)
        return 0;
    udRecordCopy(ws, object);
    UdKeepStep keep(ws);
    epRefreshObject(ws, object);
    MemHandle now = obScaleBy(object, factor);
    if (!now)
        now = object;
    hatchTreeScaleSpacing(now, percent);
    keepSelected(ws, object, now);
    epRefreshObject(ws, now);
    if (now == wsGetCurrentObject(ws))
        epCalcHandles(now);
    mbUpdateFromSelection();
    wsMarkModified(ws);
    return 1;
}

// ---- snapping -----------------------------------------------------------------------------------

int cmdSnapToPage(HWND ws, MemHandle object, int command)
{
    udDiscard(ws);
    if (!object || command < 431 || command > 437)
        return 0;
    if (locked(object)) {
        warnLocked(ws);
        return 0;
    }
    wsApplyViewMapping(ws);
    RECT v = {0, 0, 0, 0};
    GetClientRect(ws, &v);
    dmDevToLogRect(&v);
    RECT m, o;
    pgGetMarginRect(pvGetCurrentPage(ws), &m);
    obGetRect(object, &o);
    const POINT vc = {(v.left + v.right) / 2, (v.top + v.bottom) / 2};
    const POINT mc = {(m.left + m.right) / 2, (m.top + m.bottom) / 2};
    const POINT oc = {(o.left + o.right) / 2, (o.top + o.bottom) / 2};
    int32_t dx = 0, dy = 0, scrollX = 0, scrollY = 0;
    const bool centreX = command == 435 || command == 436;
    const bool centreY = command == 435 || command == 437;
    switch (command) {
    case 431:
        dx = m.left - o.left;
        if (m.left < v.left)
            scrollX = m.left - v.left;
        break;
    case 432:
        dx = m.right - o.right;
        if (m.right > v.right)
            scrollX = m.right - v.right;
        break;
    case 433:
        dy = m.top - o.top;
        if (m.top < v.top)
            scrollY = m.top - v.top;
        break;
    case 434:
        dy = m.bottom - o.bottom;
        if (m.bottom > v.bottom)
            scrollY = m.bottom - v.bottom;
        break;
    default: break;
    }
    if (centreX) {
        dx = mc.x - oc.x;
        if (mc.x < v.left || mc.x > v.right)
            scrollX = mc.x - vc.x;
    }
    if (centreY) {
        dy = mc.y - oc.y;
        if (mc.y < v.top || mc.y > v.bottom)
            scrollY = mc.y - vc.y;
    }
    const int moved = cmdMoveObjectBy(ws, object, dx, dy);
    if (scrollX) {
        wsScrollByLogX(ws, scrollX);
        PostMessageA(ws, WM_COMMAND, kCmdRulersX, 0);
    }
    if (scrollY) {
        wsScrollByLogY(ws, scrollY);
        PostMessageA(ws, WM_COMMAND, kCmdRulersY, 0);
    }
    return moved;
}

int cmdSnapToGrid(HWND ws, MemHandle object)
{
    udDiscard(ws);
    if (!object)
        return 0;
    if (locked(object)) {
        warnLocked(ws);
        return 0;
    }
    RECT o;
    obGetRect(object, &o);
    POINT p = {o.left, o.top};
    wsApplyViewMapping(ws);
    dmSnapPoints(&p, 1, (int16_t)pgGetGridDivisions(ws));
    if (p.x == o.left && p.y == o.top)
        return 0;
    return cmdMoveObjectBy(ws, object, p.x - o.left, p.y - o.top);
}

// ---- alignment ----------------------------------------------------------------------------------

uint16_t cmdAlignWordFromId(uint16_t word, int command)
{
    switch (command) {
    case 420: return (uint16_t)(word & TXA_VMASK);
    case 421: return (uint16_t)((word & TXA_VMASK) | TXA_RIGHT);
    case 424: return (uint16_t)((word & TXA_VMASK) | TXA_CENTRE);
    case 422: return (uint16_t)((word & TXA_HMASK) | TXA_TOP);
    case 425: return (uint16_t)((word & TXA_HMASK) | TXA_VCENTRE);
    case 423: return (uint16_t)((word & TXA_HMASK) | TXA_BOTTOM);
    case 426: return (uint16_t)(TXA_CENTRE | TXA_VCENTRE);
    default: return word;
    }
}

namespace {

// A changed word is stored with an undo copy, the object redrawn and the
// document marked modified; 0 when the word stays.
template <class Set>
int storeAlign(HWND ws, MemHandle object, uint16_t before, uint16_t after, uint16_t compared,
               Set set)
{
    if ((before & compared) == (after & compared))
        return 0;
    udRecordCopy(ws, object);
    epRefreshObject(ws, object);
    set(after);
    epRefreshObject(ws, object);
    wsMarkModified(ws);
    return 1;
}

}  // namespace

int cmdAlignObjects(HWND ws, MemHandle object, int command, LPARAM lParam)
{
    udDiscard(ws);
    const uint16_t mode = wsGetToolMode(ws);
    if (mode == TM_MULTISELECT)
        return msAlign(ws, command);
    if (!object)
        return 0;
    if (locked(object)) {
        warnLocked(ws);
        return 0;
    }
    if (mode == TM_TEXT || mode == TM_TEXT_A)
        return 1;
    const int16_t type = obGetType(object);
    if (type == OBT_GROUP || type == OBT_CHAIN)
        return epAlignMembers(ws, object, (uint16_t)command, (uint32_t)lParam);
    if (mode != TM_SELECT)
        return 0;
    switch (type) {
    case OBT_TEXT: {
        uint16_t word = 0;
        if (TextHeader *th = txLockHeader(object)) {
            word = th->align;
            utUnlock(object);
        }
        const uint16_t compared = txIsVertical(object) ? TXA_VMASK : TXA_HMASK;
        return storeAlign(ws, object, word, cmdAlignWordFromId(word, command), compared,
                          [&](uint16_t w) { txSetAlignment(ws, object, w); });
    }
    case OBT_LABEL: {
        const uint16_t word = txGetLabelAlign(object);
        return storeAlign(ws, object, word, cmdAlignWordFromId(word, command), 0xFFFF,
                          [&](uint16_t w) { txSetLabelAlign(object, w); });
    }
    case OBT_NOTE: {
        uint16_t word = 0;
        if (!noteGetAlign(object, &word))
            return 0;
        return storeAlign(ws, object, word, cmdAlignWordFromId(word, command), 0xFFFF,
                          [&](uint16_t w) { noteSetAlign(object, w); });
    }
    case OBT_ENTRY:
    case OBT_LIST_FIELD:
    case OBT_FIELD51:
    case OBT_EQUATION: {
        uint16_t word = 0;
        {
            ObLock r(object);
            EntryFieldPart *p = r ? entPart(r.get()) : nullptr;
            if (!p)
                return 0;
            word = p->align;
        }
        return storeAlign(ws, object, word, cmdAlignWordFromId(word, command), 0xFFFF,
                          [&](uint16_t w) {
                              ObLock r(object);
                              if (EntryFieldPart *p = r ? entPart(r.get()) : nullptr)
                                  p->align = w;
                          });
    }
    default: return 0;
    }
}

// ---- the group commands -------------------------------------------------------------------------

int cmdSameWidth(HWND ws, MemHandle object, int32_t step)
{
    if (!groupFront(ws, &object, 362))
        return 0;
    return runGroupOp(ws, object, true, [&] { return grpSameWidth(object, step); });
}

int cmdSameHeight(HWND ws, MemHandle object)
{
    if (!groupFront(ws, &object, 363))
        return 0;
    return runGroupOp(ws, object, true, [&] { return grpSameHeight(object); });
}

int cmdSameSize(HWND ws, MemHandle object)
{
    if (!groupFront(ws, &object, 364))
        return 0;
    return runGroupOp(ws, object, true, [&] { return grpSameSize(object); });
}

int cmdDistributeHorizontally(HWND ws, MemHandle object)
{
    if (!groupFront(ws, &object, 360))
        return 0;
    return runGroupOp(ws, object, false, [&] { return grpDistribute(object, FALSE); });
}

int cmdDistributeVertically(HWND ws, MemHandle object)
{
    if (!groupFront(ws, &object, 361))
        return 0;
    return runGroupOp(ws, object, false, [&] { return grpDistribute(object, TRUE); });
}

int cmdSwapPairMembers(HWND ws, MemHandle object)
{
    const int32_t n = grpMemberCount(object);
    if (!n)
        return 0;
    if (n != 2) {
        udDiscard(ws);
        return 0;
    }
    if (!udRecordCopy(ws, object))
        return 0;
    obInvalidate(ws, object);
    obSwapTwoMembers(object);
    obInvalidate(ws, object);
    if (object == wsGetCurrentObject(ws))
        epCalcHandles(object);
    wsMarkModified(ws);
    return 1;
}

// ---- by id --------------------------------------------------------------------------------------

int cmdArrangeCommand(HWND ws, MemHandle object, int command, LPARAM lParam, int *result)
{
    int r = 0;
    if ((command >= 760 && command <= 767) || (command >= 830 && command <= 833)) {
        r = cmdMoveByDirection(ws, command, lParam, object);
    } else if ((command >= 751 && command <= 756) || (command >= 771 && command <= 778)) {
        r = cmdResizeByStep(ws, command, lParam, object);
    } else if (command >= 431 && command <= 437) {
        r = cmdSnapToPage(ws, object, command);
    } else if (command >= 420 && command <= 426) {
        r = cmdAlignObjects(ws, object, command, lParam);
    } else {
        switch (command) {
        case 757: r = cmdResizeByPercent(ws, object); break;
        case 438: r = cmdSnapToGrid(ws, object); break;
        case 360: r = cmdDistributeHorizontally(ws, object); break;
        case 361: r = cmdDistributeVertically(ws, object); break;
        case 362: {
            int32_t sx = 1, sy = 1;
            wsGetMoveStep(ws, &sx, &sy);
            r = cmdSameWidth(ws, object, sx);
            break;
        }
        case 363: r = cmdSameHeight(ws, object); break;
        case 364: r = cmdSameSize(ws, object); break;
        case 821: r = cmdSwapPairMembers(ws, object); break;
        default: return 0;
        }
    }
    if (result)
        *result = r;
    return 1;
}
