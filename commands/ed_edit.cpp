// The Edit command.
#include "commands/ed_edit.h"
#include "commands/cmd_object.h"
#include "commands/lay_grid_standins.h"
#include "commands/ta_standins.h"
#include "commands/ud_undo.h"
#include "commands/usr_standins.h"
#include "commands/ws_objects.h"
#include "app/mb_msgbar.h"
#include "controls/maintools.h"
#include "forms/fld_pane_standins.h"
#include "links/hc_standins.h"
#include "links/imgf_object.h"
#include "table/tb_mode_standins.h"
#include "textedit/te_modes.h"
#include "tools/ep_edit_standins.h"
#include "tools/ep_handles.h"
#include "tools/ep_outline.h"
#include "tools/ep_selection.h"
#include "tools/ep_standins.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "support/dm_map.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "views/pv_page.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"

namespace {

const WORD kCmdEditText = 700;
const uint16_t kCmdSelectTool = 400;
const char kArrowQuestion[] = "Change to polygon object and edit?";

// A property dialog on the object with an undo copy: on OK the object and
// its old rectangle are redrawn and the document modified, else the copy
// is dropped.
int withUndoCopy(HWND ws, MemHandle object, int (*dialog)(HWND, MemHandle *))
{
    RECT old = {0, 0, 0, 0};
    obGetUpdateRect(object, &old);
    udRecordCopy(ws, object);
    UdKeepStep keep(ws);
    MemHandle h = object;
    if (!dialog(ws, &h)) {
        udDiscard(ws);
        return 0;
    }
    wsApplyViewMapping(ws);
    dmInvalidateLogRect(ws, &old, TRUE);
    obInvalidate(ws, h);
    wsMarkModified(ws);
    mbUpdateFromSelection();
    return 1;
}

int controlProps(HWND ws, MemHandle *object) { return fldEditControlProps(ws, *object); }

// The image frame command on an image file object: another linked file,
// the object sized to its picture as it is shown now.
int linkImageFile(HWND ws, MemHandle *object)
{
    char folder[UT_PATH_SIZE] = "";
    wsGetDocFolder(ws, folder);
    return imgfChooseAndLink(ws, object, folder, 0);
}

// The first group of types: each returns at once.
bool editFirstGroup(HWND ws, MemHandle object, int16_t type, LPARAM lParam, int *result)
{
    bool showSelect = true, refreshBar = false;
    switch (type) {
    case OBT_CIRCLE:
    case OBT_ELLIPSE:
    case OBT_BITMAP:
    case OBT_METAPICT:
    case 62:
    case 63:
    case OBT_GROUP:
    case OBT_CHAIN:
    case OBT_PAGE:
        *result = 1;
        break;
    case OBT_IMAGE:
    case OBT_HORZ_RULE:
        *result = 0;
        break;
    case OBT_BRUSH_LINE:
        *result = epBrushLineEdit(ws, object);
        showSelect = false;
        break;
    case OBT_GRID:
    case OBT_GRID491:
    case OBT_GRID492:
        udRecordCopy(ws, object);
        {
            UdKeepStep keep(ws);
            if (gridColsRowsDialog(ws, object)) {
                wsMarkModified(ws);
                obInvalidate(ws, object);
                mbUpdateFromSelection();
                *result = 1;
            } else {
                udDiscard(ws);
                *result = 0;
            }
        }
        break;
    case OBT_3D_TEXT: *result = cmdEdit3DText(ws, object); break;
    case OBT_ENTRY:
    case OBT_LIST_FIELD:
    case OBT_EQUATION:
    case OBT_COUNTER:
        *result = fldOpenPropPane(ws, object);
        refreshBar = true;
        break;
    case OBT_BUTTON: *result = withUndoCopy(ws, object, hcEditButtonProps); break;
    case OBT_CHECKBOX:
    case OBT_RADIO:
    case OBT_GROUP_BOX: *result = withUndoCopy(ws, object, controlProps); break;
    case OBT_CALENDAR: *result = cmdEditCalendar(ws, object); break;
    case OBT_REPORT:
        epDrawHandles(ws, nullptr, object);
        *result = tbEnterEditMode(ws, object, lParam);
        showSelect = false;
        break;
    case OBT_IMAGE_FILE: *result = withUndoCopy(ws, object, linkImageFile); break;
    case OBT_ENTRY_REF:
        *result = withUndoCopy(ws, object, erefPropsDialog);
        refreshBar = true;
        break;
    case 133:
    case OBT_XY_PLOT:
    case OBT_BAR_CHART:
    case OBT_TS_PLOT:
    case OBT_PIE_CHART:
        // The chart editor is not part of this program: it reports failure.
        udRecordCopy(ws, object);
        udDiscard(ws);
        *result = 0;
        refreshBar = true;
        break;
    case OBT_ANCHOR: *result = cmdEditAnchor(ws, object); break;
    case OBT_USER:
        *result = withUndoCopy(ws, object, usrPropsDialog);
        refreshBar = true;
        break;
    case OBT_COMPOSITE: *result = cmdEditComposite(ws, object); break;
    default:
        return false;
    }
    if (showSelect)
        blSelectToolButton(kCmdSelectTool);
    if (refreshBar)
        mbUpdateFromSelection();
    return true;
}

}  // namespace

int cmdEditCalendar(HWND ws, MemHandle calendar)
{
    RECT old = {0, 0, 0, 0};
    obGetUpdateRect(calendar, &old);
    udRecordCopy(ws, calendar);
    UdKeepStep keep(ws);
    if (!calEditObject(ws, calendar)) {
        udDiscard(ws);
        return 0;
    }
    wsApplyViewMapping(ws);
    dmInvalidateLogRect(ws, &old, TRUE);
    obRedraw(ws, calendar);
    wsMarkModified(ws);
    return 1;
}

int cmdEditObject(HWND ws, MemHandle object, int command, LPARAM lParam)
{
    const uint16_t mode = wsGetToolMode(ws);
    if (mode != TM_NONE && mode != TM_SELECT && mode != TM_CREATE)
        return 0;
    udDiscard(ws);
    if (!object)
        return 0;
    if (!epIsEditable(ws, object)) {
        epReportNotEditable(ws, "edit");
        return 0;
    }
    const int16_t type = obGetType(object);
    int result = 0;
    if (editFirstGroup(ws, object, type, lParam, &result))
        return result;
    if (command)
        blSelectToolButton((uint16_t)command);
    switch (type) {
    case OBT_LINE:
    case OBT_HLINE:
    case OBT_VLINE:
    case OBT_SQUARE:
    case OBT_RECTANGLE:
    case OBT_DIAMOND:
    case OBT_POLYLINE:
    case OBT_POLYGON:
    case OBT_POLYHV: epNodeEditPoly(ws, object); return 1;
    case OBT_BEZIER:
    case OBT_CLOSED_CURVE: epNodeEditBezier(ws, object); return 1;
    case OBT_ROUNDRECT: epRoundRectCornerMode(ws, object); return 1;
    case OBT_PIE:
    case OBT_ARC: epArcHandleMode(ws, object); return 1;
    case OBT_DIMENSION: epDimSpanHandleMode(ws, object); return 1;
    case OBT_CUBE: epCubeDepthMode(ws, object); return 1;
    case OBT_TEXT: PostMessageA(ws, WM_COMMAND, kCmdEditText, lParam); return 1;
    case OBT_TABLE:
        epDrawHandles(ws, nullptr, object);
        tbEnterEditMode(ws, object, lParam);
        return 1;
    case OBT_LABEL:
        epDrawHandles(ws, nullptr, object);
        teBeginLabelEdit(ws, object, 0, 0);
        return 1;
    case OBT_NOTE:
        epDrawHandles(ws, nullptr, object);
        epNoteBeginEdit(ws, object);
        return 1;
    case OBT_ARROW: {
        if (utMessageBox(ws, kArrowQuestion, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return 1;
        udRecordCopy(ws, object);
        UdKeepStep keep(ws);
        obInvalidate(ws, object);
        MemHandle polygon = obArrowToPolygon(object);
        if (!polygon) {
            udDiscard(ws);
            return 1;
        }
        if (polygon != object && !wsPageHasObject(ws, polygon))
            wsReplaceObject(ws, object, polygon);
        obInvalidate(ws, polygon);
        wsMarkModified(ws);
        epEnterSelectMode(ws, polygon);
        epNodeEditPoly(ws, polygon);
        return 1;
    }
    default:
        return 0;
    }
}
