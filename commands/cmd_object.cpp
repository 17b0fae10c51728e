// Flags, flips, rotation, grouping, composites, clones, names, search,
// date and time, and the document-protection commands.
#include "commands/cmd_object.h"
#include "app/mb_msgbar.h"
#include "model/setup_record.h"
#include "commands/clip_formats.h"
#include "commands/ms_select.h"
#include "commands/objd_standins.h"
#include "commands/ud_undo.h"
#include "commands/usk_standins.h"
#include "commands/ws_objects.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/ob_transform.h"
#include "objects/onm_names.h"
#include "objects/onm_standins.h"
#include "support/dlg_password.h"
#include "support/ut_datepick.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "text/tx_flow.h"
#include "tools/cp_composite.h"
#include "tools/ep_members.h"
#include "tools/ep_handles.h"
#include "tools/ep_selection.h"
#include "tools/ep_rotate.h"
#include "commands/ep_select.h"
#include "tools/ep_tool_choice.h"
#include "views/pg_search.h"
#include "views/pv_page.h"
#include "views/pv_pagecmd.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <string>

namespace {

const char kReportComposite[] = "Can not use a report table object to create a composite object";
const int kPageFlagsProp = 45;
const int kPasswordMax = 64;
const uint16_t kAlignCentreBoth = 9;   // centred both ways

struct FlagCommand {
    int command;
    uint32_t bit;
};
const FlagCommand kFlagCommands[] = {
    {416, OBF_SHADOW}, {417, OBF_NOTXOR}, {418, OBF_LEAVE_OUT}, {419, OBF_LOCKED},
    {740, OBF_HIDDEN}, {742, 0x200},      {743, 0x100},         {840, 0x400},
};

int flip(HWND ws, MemHandle object, bool leftRight)
{
    if (epRefuseNotEditable(ws, object, leftRight ? "flip left-right" : "flip up-down"))
        return 0;
    udDiscard(ws);
    if (!object || !cmdCanFlipType(obGetType(object))) {
        MessageBeep(0);
        return 0;
    }
    udRecordCopy(ws, object);
    obInvalidate(ws, object);
    POINT centre;
    obGetCentre(object, &centre);
    if (leftRight)
        obTreeFlipHorizontal(object, centre.x);
    else
        obTreeFlipVertical(object, centre.y);
    epCalcHandles(object);
    wsMarkModified(ws);
    obRedraw(ws, object);
    return 1;
}

// The entry, list and equation fields and the counter show their names
// in the page when the view or the settings ask for it.
bool showsName(int16_t type)
{
    return type == OBT_ENTRY || type == OBT_LIST_FIELD || type == OBT_EQUATION ||
           type == OBT_COUNTER;
}

uint16_t settingsOptions()
{
    MemLock<SetupRecord> r(setGetSetupRecord());
    return r ? r->options : 0;
}

}  // namespace

// ---- flags ---------------------------------------------------------------------------------

uint32_t cmdFlagOfCommand(int command)
{
    for (const FlagCommand &f : kFlagCommands)
        if (f.command == command)
            return f.bit;
    return 0;
}

int cmdToggleFlag(HWND ws, MemHandle object, uint32_t bit)
{
    udDiscard(ws);
    if (object) {
        udRecordCopy(ws, object);
        obInvalidate(ws, object);
        const BOOL on = (obGetFlags(object) & bit) == 0;
        obSetFlagsTree(object, bit, on);
        if (bit == OBF_LOCKED)
            epCalcHandles(object);
        obInvalidate(ws, object);
        if (bit == 0x400)
            epClearSelection(ws);
    } else {
        uint32_t flags = 0;
        wsGetPageProp(ws, kPageFlagsProp, &flags);
        flags ^= bit;
        wsSetPageProp(ws, kPageFlagsProp, &flags);
    }
    wsMarkModified(ws);
    return 1;
}

// ---- flips and rotation -------------------------------------------------------------------------

BOOL cmdCanFlipType(int16_t t)
{
    return (t >= 2 && t <= 8) || (t >= 10 && t <= 15) || (t >= 17 && t <= 19) ||
           t == OBT_BRUSH_LINE || t == OBT_CUBE || t == OBT_BITMAP || t == OBT_GROUP ||
           t == OBT_CHAIN || t == OBT_ARROW || t == OBT_COMPOSITE;
}

int cmdFlipLeftRight(HWND ws, MemHandle object) { return flip(ws, object, true); }

int cmdFlipUpDown(HWND ws, MemHandle object) { return flip(ws, object, false); }

int cmdRotateBy(HWND ws, MemHandle object, int32_t tenths)
{
    if (!object)
        return 0;
    udRecordCopy(ws, object);
    obInvalidate(ws, object);
    if (obGetType(object) != OBT_BITMAP) {
        POINT centre;
        obGetCentre(object, &centre);
        obTreeFlipRotate(object, centre, (int16_t)(tenths % 3600));
        UdKeepStep keep(ws);
        epCalcHandles(object);
        epSwitchSelectionKeep(ws, object);
    }
    mbUpdateFromSelection();
    obRedraw(ws, object);
    wsMarkModified(ws);
    return 1;
}

int cmdRotateDialog(HWND ws, MemHandle object)
{
    if (epRefuseNotEditable(ws, object, "rotate"))
        return 0;
    udDiscard(ws);
    if (!object || !epCanRotateTree(ws, object))
        return 0;
    int32_t tenths = 0;
    {
        ObLock r(object);
        tenths = r ? r->rotation : 0;
    }
    if (!epRotateAngleDialog(ws, &tenths))
        return 0;
    return cmdRotateBy(ws, object, tenths);
}

int cmdRotate90(HWND ws, MemHandle object)
{
    if (epRefuseNotEditable(ws, object, "rotate"))
        return 0;
    udDiscard(ws);
    if (!object || wsGetToolMode(ws) != TM_SELECT) {
        MessageBeep(0);
        return 0;
    }
    return cmdRotateBy(ws, object, 900);
}

// ---- groups and composites --------------------------------------------------------------------

int cmdGroup(HWND ws, MemHandle object)
{
    udDiscard(ws);
    if (!object || obGetType(object) != OBT_CHAIN) {
        MessageBeep(0);
        return 0;
    }
    udRecordCopy(ws, object);
    msChainToGroup(object);
    {
        UdKeepStep keep(ws);
        epSetSelection(ws, object, TRUE);
    }
    obInvalidate(ws, object);
    wsMarkModified(ws);
    return 1;
}

int cmdUngroup(HWND ws, MemHandle object)
{
    if (epRefuseNotEditable(ws, object, "ungroup"))
        return 0;
    udDiscard(ws);
    const int16_t type = obGetType(object);
    if (type == OBT_GROUP) {
        udRecordCopy(ws, object);
        obInvalidate(ws, object);
        UdKeepStep keep(ws);
        epSelectObject(ws, 0);
        wsDissolveGroup(ws, object);
        InvalidateRect(ws, nullptr, TRUE);
        return 1;
    }
    if (type == OBT_CHAIN) {
        udRecordCopy(ws, object);
        obInvalidate(ws, object);
        UdKeepStep keep(ws);
        epClearSelection(ws);
        return 1;
    }
    MessageBeep(0);
    return 0;
}

// Makes (creating) or edits a composite through the composite dialog. A copy
// of the object is kept so that Undo puts it back in place of the result.
static int runComposite(HWND ws, MemHandle object, BOOL creating)
{
    udDiscard(ws);
    MemHandle kept = obCopyTree(object, 0);
    if (kept) {
        obSetPrev(kept, obGetPrev(object));
        obSetNext(kept, 0);
    }
    int code = 0;
    MemHandle composite = cpEditComposite(ws, object, creating, &code);
    if (!composite || !code || !kept) {
        obFreeTree(kept);
        return 0;
    }
    obInvalidate(ws, kept);
    epSelectObject(ws, composite);
    // Undo puts the old object back in place of the composite.
    udRecordCopy(ws, kept);
    obSetPrev(kept, 0);
    obFreeTree(kept);
    obRedraw(ws, composite);
    wsMarkModified(ws);
    if (code == 2)
        cpAfterEdit(ws, composite, code);
    return 1;
}

int cmdComposite(HWND ws, MemHandle object)
{
    if (!object)
        return 0;
    const int16_t type = obGetType(object);
    if (type == OBT_REPORT) {
        utMessageBox(ws, kReportComposite, MB_ICONINFORMATION);
        return 0;
    }
    if (type == OBT_CHAIN) {
        utMessageBoxId(ws, IDS_COMPOSITE_FROM_CHAIN, MB_ICONINFORMATION);
        return 0;
    }
    if (wsGetToolMode(ws) != TM_SELECT) {
        utMessageBoxId(ws, IDS_ONLY_IN_SELECT_MODE, MB_ICONINFORMATION);
        return 0;
    }
    return runComposite(ws, object, TRUE);
}

// Edit on a composite: its dialog runs on it (a rotated one is first turned
// back after asking); the result replaces it with one undo step.
int cmdEditComposite(HWND ws, MemHandle composite)
{
    if (!composite || obGetType(composite) != OBT_COMPOSITE)
        return 0;
    return runComposite(ws, composite, FALSE);
}

int cmdClone(HWND ws, MemHandle object)
{
    udDiscard(ws);
    if (object && epMakeCloneCopies(ws, object)) {
        obInvalidate(ws, object);
        wsMarkModified(ws);
    }
    return 1;
}

// ---- names, information, search ------------------------------------------------------------------

int cmdListNames(HWND ws)
{
    onmShowList(ws);
    return 1;
}

int cmdRename(HWND ws, MemHandle object, LPARAM)
{
    if (!object)
        return cmdListNames(ws);
    udRecord(ws, object, 0, UD_PROPERTY, UD_SUB_NAME);
    MemHandle named = object;
    if (!objnameAsk(ws, &named, nullptr)) {
        udDiscard(ws);
        return 0;
    }
    if (named != object)
        udFollowMovedObject(ws, object, named);
    mbUpdateFromSelection();
    wsMarkModified(ws);
    if (showsName(obGetType(named)) && ((wsGetViewFlags(ws) & 1) || (settingsOptions() & 0x402)))
        obInvalidate(ws, named);
    return 1;
}

int cmdObjectInfo(HWND ws, MemHandle object)
{
    udDiscard(ws);
    MemHandle shown = objDataDialog(ws, object);
    if (shown)
        epSelectAndReveal(ws, shown, wsGetCurrentObject(ws));
    return shown ? 1 : 0;
}

int cmdSearchObject(HWND ws)
{
    udDiscard(ws);
    int page = -1;
    MemHandle nameHandle = 0;
    if (!pgObjectSearch(ws, &page, &nameHandle))
        return 0;
    std::string name;
    {
        MemLock<char> s(nameHandle);
        if (s)
            name.assign(s.get(), strnlen(s.get(), utHandleSize(nameHandle)));
    }
    utFreeHandle(nameHandle);
    wsSendLeaveMode(ws, 0);
    epEnterSelectMode(ws, 0);
    if (page >= 0 && page != pvGetCurrentPageIndex(ws))
        pvCmdGoToPage(ws, page);
    MemHandle found = name.empty() ? 0 : wsFindObjectByName(ws, name.c_str());
    if (!found)
        return 0;
    epSelectAndReveal(ws, found, 0);
    return 1;
}

// ---- date and time -------------------------------------------------------------------------

int cmdInsertDateTime(HWND ws, int sql)
{
    if (wsGetToolMode(ws) != TM_SELECT)
        return 0;
    MemHandle chosen = sql ? utSelectSqlDateFormat(ws) : utSelectDateTimeFormat(ws);
    if (!chosen)
        return 0;
    std::string text;
    {
        MemLock<char> s(chosen);
        if (s)
            text.assign(s.get(), strnlen(s.get(), utHandleSize(chosen)));
    }
    utFreeHandle(chosen);
    MemHandle object = clipMakeTextObject(ws, text.c_str(), 3, nullptr);
    if (!object)
        return 0;
    // Fitted to its text both ways, then centred in the visible area.
    object = txFitPastedWrap(object, 0);
    return wsInsertObject(ws, object, kAlignCentreBoth);
}

int cmdPointObjectCommand(HWND, MemHandle) { return 0; }

// ---- document protection -------------------------------------------------------------------

int cmdDocPassword(HWND ws)
{
    udDiscard(ws);
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return 0;
    char old[kPasswordMax + 2] = {};
    char fresh[kPasswordMax + 2] = {};
    const int length = fmGetPassword(form, old);
    const INT_PTR result = length > 0 ? dlgChangePasswordMax(ws, old, fresh, kPasswordMax)
                                      : dlgCreatePassword(ws, fresh, kPasswordMax);
    SecureZeroMemory(old, sizeof old);
    if (result == 1) {
        MemHandle stored = fmSetPassword(form, fresh);
        if (stored)
            wsSetDocument(ws, stored);
        wsMarkModified(ws);
    }
    SecureZeroMemory(fresh, sizeof fresh);
    return (int)result;
}

int cmdUserKey(HWND ws)
{
    udDiscard(ws);
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return 0;
    MemHandle changed = form;
    if (!userKeyCommand(ws, &changed))
        return 0;
    if (changed && changed != form)
        wsSetDocument(ws, changed);
    wsMarkModified(ws);
    return 1;
}
