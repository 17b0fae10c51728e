// The document command dispatcher: one table of routes, from each command
// id (or run of ids) to the one handler that owns it, whatever sent the id
// (menu, accelerator, tool button, pop-up menu, or the program itself).
#include "app/ws_command.h"
#include "support/app_frame_globals.h"
#include "app/fc_file_cmds.h"
#include "app/fc_import_export.h"
#include "app/vc_view_cmds.h"
#include "app/ws_services.h"
#include "app/mb_msgbar.h"
#include "tools/ep_rotate.h"
#include "tools/ep_selection.h"
#include "tools/ep_tool_choice.h"
#include "commands/at_attr.h"
#include "commands/clip_formats.h"
#include "commands/cmd_object.h"
#include "commands/ord_order.h"
#include "commands/ws_objects.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_margins.h"
#include "support/dm_map.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "support/win_window.h"
#include "views/prn_print.h"
#include "views/prn_setup.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"

namespace {

const char kTableDefaultText[] = "You can change default value only when you are editing the table.";
const char kTextFindText[] = "Text fnd is available only when you edit a text object";
const UINT kHelpContextWorkspace = 800;

HWND ownerOf(HWND ws)
{
    HWND doc = wsGetDocWindow(ws);
    return doc ? doc : ws;
}

// The zoom commands 192 and 193: by ten percent about the current object's
// centre (or the middle of the page part in the window), or by a factor
// about the current object's rectangle when the command carries a step.
int zoomInOut(HWND ws, MemHandle object, bool zoomIn, LPARAM lParam)
{
    wsApplyViewMapping(ws);
    RECT about = {0, 0, 0, 0};
    if (object) {
        obGetRect(object, &about);
    } else {
        RECT client;
        GetClientRect(ws, &client);
        dmDevToLogRect(&client);
        RECT page = {0, 0, 0, 0};
        if (MemHandle current = pvGetCurrentPage(ws))
            pgGetPageRect(current, &page);
        if (!IntersectRect(&about, &client, &page))
            about = client;
    }
    if (lParam)
        return wsZoomStep(ws, (uint32_t)lParam, object ? &about : nullptr, zoomIn);
    POINT centre = {(about.left + about.right) / 2, (about.top + about.bottom) / 2};
    dmLogToDevPoints(&centre, 1);
    return wsZoomByPercent(ws, zoomIn ? 10 : -10, centre);
}

// 132: the file named by the string handle in lParam, imported as an image.
int importNamedFile(HWND ws, LPARAM lParam)
{
    MemHandle name = (MemHandle)lParam;
    if (name) {
        {
            MemLock<char> p(name);
            if (p)
                fcImportFile(ws, p.get(), 1, 0, nullptr);
        }
        utFreeHandle(name);
    }
    SetFocus(ws);
    return 0;
}

int nothing(HWND, MemHandle, int, LPARAM) { return 0; }

// ---- the routes ---------------------------------------------------------------------------------

typedef int (*RouteFn)(HWND ws, MemHandle object, int id, LPARAM lParam);

enum : uint8_t {
    WR_DISCARD = 0x1,   // drops the pending undo step first
    WR_COMMIT = 0x2,    // stores the current page first
    WR_NUDGE = 0x4,     // needs a current object in select mode, else beeps
    WR_WAITS = 0x8,     // the dialog or mode it needs is not in the program yet
};

struct Route {
    int16_t first, last;
    uint8_t flags;
    RouteFn run;
};

#define ON(first, last, flags, body) \
    {first, last, flags, [](HWND ws, MemHandle o, int id, LPARAM l) -> int { body; }}
#define ONE(id, flags, body) ON(id, id, flags, body)
// Ids taken without anything to do.
#define TAKEN(first, last) {first, last, 0, nothing}
// Ids whose handler is not in the program yet: taken, nothing done.
#define WAITS(first, last) {first, last, WR_WAITS, nothing}

const Route kRoutes[] = {
    // Notifications the program posts to itself.
    ONE(20, 0, pvBuildPagePalette(ws); return 0),
    ON(30, 32, 0, return wsOnNavBarCommand(ws, id, l)),
    ON(34, 37, 0, return wsOnNavBarCommand(ws, id, l)),
    ONE(39, 0, return wsOnNavBarCommand(ws, id, l)),
    ON(76, 78, 0, return epToolDropNotify(ws, id, l)),
    {135, 135, WR_DISCARD, nothing}, {141, 141, WR_DISCARD, nothing},
    TAKEN(231, 231), TAKEN(745, 747), TAKEN(749, 749), TAKEN(914, 914), TAKEN(932, 932),
    TAKEN(1104, 1104), TAKEN(1145, 1146), TAKEN(1980, 1980),
    ONE(396, 0, wsScrollToObject(ws, o); return 0),
    ONE(397, 0, {
        const int16_t type = obGetType((MemHandle)l);
        if (type == 41 || type == 42 || type == 124)
            fldClosePropPane();
        return 0;
    }),
    ONE(398, 0, epSelectAndReveal(ws, (MemHandle)l, wsGetCurrentObject(ws)); return 0),
    ONE(399, 0, epSelectObject(ws, (MemHandle)l); return 0),
    ONE(910, 0, mbUpdateFromSelection(); return 0),
    ONE(911, 0, {
        wsInvalidateRulers(ws, 3);
        InvalidateRect(ws, nullptr, TRUE);
        return 0;
    }),
    ONE(912, 0, wsInvalidateRulers(ws, 1); return 0),
    ONE(913, 0, wsInvalidateRulers(ws, 2); return 0),
    ONE(918, 0, SetFocus(ws); return 0),
    ONE(921, 0, wsAutoSaveTick(ws); return 0),
    ONE(942, 0, wsSetOutputWindow(ws, nullptr); return 0),
    ONE(1100, 0, {
        if (MemHandle target = l ? (MemHandle)l : o)
            wsUnlinkObject(ws, target);
        return 0;
    }),
    ONE(216, 0, winRedrawNow(ws); return 0),
    ONE(770, 0, return o ? cmdMoveObjectBy(ws, o, (int16_t)LOWORD(l), (int16_t)HIWORD(l)) : 0),
    ONE(873, 0, fmSetFlag400(wsGetDocument(ws), TRUE); return 0),
    ONE(874, 0, fmSetFlag400(wsGetDocument(ws), FALSE); return 0),

    // File.
    ONE(97, 0, return fcSaveCommand(ws)),
    ONE(102, 0, return fcSaveCommand(ws)),
    ONE(103, 0, return fcSaveAsCommand(ws)),
    ONE(104, WR_DISCARD, return fcImportCommand(ws, (int)(l & 0xFF))),
    ONE(1150, WR_DISCARD, return fcImportOneKind(ws, FC_IMPORT_IMAGE)),
    ONE(1151, WR_DISCARD, return fcImportOneKind(ws, FC_IMPORT_TEXT)),
    ONE(1152, WR_DISCARD, return fcImportOneKind(ws, FC_IMPORT_PAGE)),
    ONE(105, WR_DISCARD | WR_COMMIT, return fcExportCommand(ws, (MemHandle)l)),
    ONE(1160, WR_DISCARD | WR_COMMIT, return o ? fcExportCommand(ws, o) : 0),
    ONE(1161, WR_DISCARD | WR_COMMIT, return fcExportCommand(ws, 0)),
    ONE(1162, WR_DISCARD | WR_COMMIT, return fcExportPagesCommand(ws)),
    ONE(1101, WR_DISCARD | WR_COMMIT, return fcExportImageAs(ws, (MemHandle)l)),
    ONE(106, WR_DISCARD, return prnCmdPrint(ws, FALSE, FALSE)),
    ONE(1201, WR_DISCARD, return prnCmdPrint(ws, FALSE, TRUE)),
    ONE(114, WR_DISCARD, return faxCmdFax(ws, FALSE)),
    ONE(1202, WR_DISCARD, return faxCmdFax(ws, TRUE)),
    ONE(132, 0, return importNamedFile(ws, l)),
    ONE(134, 0, return fcMergeCommand(ws)),
    ONE(143, 0, return fcReloadDocument(ws)),
    ONE(611, 0, return cmdDocPassword(ws)),
    ONE(683, WR_WAITS, return cmdUserKey(ws)),
    ONE(880, WR_WAITS, return docCmdOptions(ws)),

    // View.
    ONE(176, 0, return vcZoomCommand(ws, id, o)),
    ON(181, 189, 0, return vcZoomCommand(ws, id, o)),
    ON(2250, 2251, 0, return vcZoomCommand(ws, id, o)),
    ONE(179, 0, return wsCmdViewScale(ws)),
    ONE(180, 0, return wsStartZoomTool(ws)),
    ONE(192, 0, return zoomInOut(ws, o, true, l)),
    ONE(193, 0, return zoomInOut(ws, o, false, l)),
    ON(440, 442, 0, return wsCmdScrollStyle(ws, id)),
    ONE(443, 0, utHelpKeyword(ws, "Scroll Style"); return 0),
    ONE(439, 0, wsScrollToMarginRect(ws); return 0),
    ONE(2100, 0, wsScrollToPlacement(ws); return 0),
    ONE(2105, 0, {
        wsShowRulersFlag(ws, FALSE);
        dwPlaceRulers(wsGetDocWindow(ws));
        return 0;
    }),
    ONE(2106, 0, return pvAddGuide(ws, (int32_t)l, 1)),
    ONE(2107, 0, return pvAddGuide(ws, (int32_t)l, 2)),
    ONE(2108, 0, return pvDeleteGuideAt(ws, (int32_t)l, 1)),
    ONE(2109, 0, return pvDeleteGuideAt(ws, (int32_t)l, 2)),
    ONE(869, WR_COMMIT | WR_WAITS, return fsOpenFullScreen(ws)),
    ONE(808, 0, {
        HWND helpOwner = appGetFrameWindow();
        utHelpMenuCommand(helpOwner ? helpOwner : ws, kHelpContextWorkspace);
        return 0;
    }),

    // Pages.
    ONE(594, WR_WAITS, return bpOnCommand(ws, id, nullptr)),
    ON(1187, 1199, WR_WAITS, return bpOnCommand(ws, id, nullptr)),
    ONE(595, WR_WAITS, return pvCmdPageShadow(ws)),
    ONE(596, 0, return pvCmdPageBackground(ws)),
    ONE(597, 0, return pvCmdPageInit(ws)),
    ONE(628, 0, return pvCmdPageName(ws)),
    ONE(598, 0, pvCmdPageLayout(appGetFrameWindow(), ws); return 0),
    ONE(601, 0, pvCmdPageLayout(appGetFrameWindow(), ws); return 0),
    ONE(629, 0, return pvCmdShufflePages(ws)),
    ONE(612, 0, return pvCmdInsertPageAt(ws, 1)),
    ONE(613, 0, return pvCmdInsertPageAt(ws, 0)),
    ONE(615, 0, return pvCmdInsertPage(ws, 0)),
    ONE(614, WR_WAITS, return pvCmdDeletePages(ws)),
    ONE(780, 0, return pvCmdDeleteCurrentPage(ws)),
    ONE(616, 0, return pvCmdSelectPage(ws, id)),
    ON(626, 627, 0, return pvCmdSelectPage(ws, id)),
    ONE(617, 0, return pvCmdPrevPage(ws)),
    ONE(618, 0, return pvCmdNextOrNewPage(ws)),
    // 619: the high word says how (-1 the page's bottom, -2 nothing).
    ONE(619, 0, return pvCmdShowPage(ws, (int16_t)LOWORD(l), (int16_t)HIWORD(l))),
    ONE(1250, 0, return pvCmdShowPage(ws, (int16_t)LOWORD(l), 0)),
    ONE(1251, 0, return pvCmdAskPage(ws)),
    ONE(684, 0, return pvCmdFirstPage(ws)),
    ONE(685, 0, return pvCmdLastPage(ws)),
    ONE(1220, 0, return pvCmdHomePage(ws)),
    ONE(1221, 0, return pvCmdEndPage(ws)),
    ONE(199, 0, return pvCmdRevertPage(ws)),
    ONE(624, 0, return pgCmdPageNumbers(ws)),
    ONE(625, WR_WAITS, return pvCmdPageList(ws, l)),
    ONE(960, WR_WAITS, return pvOnPageListPick(ws, (WPARAM)id, l)),
    ONE(866, WR_WAITS, return pvCmdPanoramic(ws, nullptr, l) != nullptr),
    ONE(5000, WR_WAITS, return pvOnThumbnailCommand(ws, id, l)),
    ONE(5001, WR_WAITS, return pvOnThumbnailCommand(ws, id, l)),
    ONE(5003, WR_WAITS, return pvOnThumbnailCommand(ws, id, l)),
    ONE(879, WR_WAITS, return pvCmdPageAttr(ws)),

    // Tools.
    ON(301, 302, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ONE(306, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ON(309, 311, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ON(313, 314, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ON(316, 318, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ON(321, 323, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ONE(326, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ON(328, 330, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ONE(332, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ON(335, 337, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ON(340, 349, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ONE(1210, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ONE(1340, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ON(1345, 1346, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ON(1350, 1358, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ON(1360, 1361, 0, return epChooseTool(ws, id, (int16_t)LOWORD(l))),
    ONE(319, 0, return epChooseToolByCommand(ws, id, (int16_t)LOWORD(l))),
    ONE(338, 0, return epChooseToolByCommand(ws, id, (int16_t)LOWORD(l))),
    ON(1362, 1364, 0, return epChooseToolByCommand(ws, id, (int16_t)LOWORD(l))),
    ON(1367, 1369, 0, return epChooseToolByCommand(ws, id, (int16_t)LOWORD(l))),
    ON(1372, 1374, 0, return epChooseToolByCommand(ws, id, (int16_t)LOWORD(l))),
    ON(1378, 1382, 0, return epChooseToolByCommand(ws, id, (int16_t)LOWORD(l))),
    ON(1391, 1392, 0, return epChooseToolByCommand(ws, id, (int16_t)LOWORD(l))),
    ONE(2222, 0, return epChooseToolOrVText(ws, id, (int16_t)LOWORD(l))),
    ONE(213, WR_DISCARD, return epRotateTool(ws, o)),
    ON(400, 400, 0, return cmdBackToSelect(ws)),
    ONE(931, 0, return cmdBackToSelect(ws)),
    ONE(402, 0, return cmdEnterMultiSelect(ws, id)),
    ON(700, 701, 0, return txCmdEditText(ws, o, 0, l)),
    // Begun by a command, the edit has no owner waiting for its end record
    // (which, sent back as this command, would open it again).
    ONE(706, 0, return txCmdEditText(ws, o, 0, l)),
    ONE(197, 0, return cmdEditObject(ws, o, 0, l)),
    ONE(401, 0, return cmdEditObject(ws, o, id, l)),
    ONE(920, 0, return cmdLangExecute(ws)),

    // Edit.
    ONE(200, 0, return cmdUndo(ws, o)),
    ONE(201, 0, return cmdCut(ws, o)),
    ONE(202, 0, return cmdCopy(ws, o)),
    ONE(203, 0, return cmdPaste(ws, o)),
    ONE(204, 0, return cmdPasteAtPosition(ws, l)),
    ONE(205, 0, return cmdDelete(ws, o)),
    ONE(194, 0, return cmdCopySpecial(ws, o)),
    ONE(195, 0, return cmdPasteSpecial(ws, o)),
    ONE(212, 0, return cmdClone(ws, o)),
    ONE(215, 0, return cmdSelectAll(ws)),
    ONE(230, 0, appShowTextFindHint(ws); return 0),
    ONE(237, 0, return cmdInsertDateTime(ws, 0)),
    ONE(2024, 0, return cmdInsertDateTime(ws, 1)),
    ONE(240, 0, return cmdEditGroupText(ws, o)),
    ONE(704, 0, return cmdEndGroupText(ws, (MemHandle)l)),
    ONE(1970, 0, msAddHandles(ws, (MemHandle)l); return 0),
    ONE(499, 0, return cmdMergeText(ws)),
    ONE(732, WR_WAITS, return cmdSearchObject(ws)),

    // Modify.
    ONE(403, 0, return cmdGroup(ws, o)),
    ONE(405, 0, return cmdUngroup(ws, o)),
    ONE(404, 0, return cmdComposite(ws, o)),
    ONE(256, 0, return cmdFlipLeftRight(ws, o)),
    ONE(257, 0, return cmdFlipUpDown(ws, o)),
    ONE(214, 0, return cmdRotateDialog(ws, o)),
    ONE(219, 0, return cmdRotate90(ws, o)),
    ONE(406, 0, return cmdSendToBack(ws, o)),
    ONE(407, 0, return cmdBringToFront(ws, o)),
    ONE(427, 0, return cmdSendBackward(ws, o)),
    ONE(428, 0, return cmdBringForward(ws, o)),
    ONE(414, 0, return cmdOrderByPosition(ws)),
    ONE(560, 0, return cmdGoToFirst(ws)),
    ONE(561, 0, return cmdGoToLast(ws)),
    ONE(408, 0, return cmdGoToPrevious(ws, o)),
    ONE(409, 0, return cmdGoToNext(ws, o)),
    // Moving, sizing, snapping, aligning and arranging.
    ON(751, 756, WR_NUDGE, return cmdArrangeCommand(ws, o, id, l, nullptr)),
    ON(760, 767, WR_NUDGE, return cmdArrangeCommand(ws, o, id, l, nullptr)),
    ON(771, 778, WR_NUDGE, return cmdArrangeCommand(ws, o, id, l, nullptr)),
    ON(830, 833, WR_NUDGE, return cmdArrangeCommand(ws, o, id, l, nullptr)),
    ON(360, 364, 0, return cmdArrangeCommand(ws, o, id, l, nullptr)),
    ON(420, 426, 0, return cmdArrangeCommand(ws, o, id, l, nullptr)),
    ON(431, 438, 0, return cmdArrangeCommand(ws, o, id, l, nullptr)),
    ONE(757, 0, return cmdArrangeCommand(ws, o, id, l, nullptr)),
    ONE(821, 0, return cmdArrangeCommand(ws, o, id, l, nullptr)),
    // Line joins, repeat line, node closing and curve conversion.
    WAITS(251, 251), WAITS(258, 258), WAITS(270, 270), WAITS(272, 272), WAITS(275, 276),
    // Node editing's own commands (insert, add, open or close, convert,
    // smooth and thin nodes): the node editor takes them.
    WAITS(252, 254), WAITS(259, 259), WAITS(267, 267), WAITS(278, 279),

    // Attribute.
    ON(416, 419, 0, return cmdToggleFlag(ws, o, cmdFlagOfCommand(id))),
    ONE(740, 0, return cmdToggleFlag(ws, o, cmdFlagOfCommand(id))),
    ON(742, 743, 0, return cmdToggleFlag(ws, o, cmdFlagOfCommand(id))),
    ONE(840, 0, return cmdToggleFlag(ws, o, cmdFlagOfCommand(id))),
    ONE(501, WR_WAITS, return cmdSetPattern(ws, o)),
    ONE(502, WR_WAITS, return cmdEditGradient(ws, o)),
    ONE(503, WR_WAITS, return cmdSetGradientType(ws, o)),
    ONE(504, 0, return cmdSetLineAttr(ws, o)),
    ONE(505, WR_WAITS, return cmdSetLineEnds(ws, o)),
    ON(531, 533, 0, return cmdSetFillKind(ws, o, id - 531)),
    ONE(534, WR_WAITS, return cmdSetFillKind(ws, o, id - 531)),
    ON(535, 540, 0, return cmdSetHatchStyle(ws, o, id)),
    ONE(541, 0, return cmdSetHatchSpacing(ws, o)),
    ONE(514, WR_WAITS, return cmdRename(ws, o, l)),
    ONE(515, WR_WAITS, return cmdListNames(ws)),
    ONE(190, WR_WAITS, return cmdObjectInfo(ws, o)),
    // Layers, palette colours and the object library.
    WAITS(21, 25), WAITS(118, 118), WAITS(150, 150), WAITS(156, 156), WAITS(451, 454),
    // Bitmaps: raster mode, mapping, bitmap copies, shadowed bitmaps and the
    // transparent colour.
    WAITS(470, 470), WAITS(510, 511), WAITS(513, 513), WAITS(517, 517), WAITS(1140, 1143),
    WAITS(1237, 1242),
    // Label and field styles.
    WAITS(467, 467), WAITS(522, 522), WAITS(529, 529),
    WAITS(882, 882), TAKEN(1225, 1225),
    ON(574, 575, WR_WAITS, return bmpPropertyCommand(ws, o, id, l)),
    ONE(577, WR_WAITS, return bmpPropertyCommand(ws, o, id, l)),
    ON(585, 587, WR_WAITS, return bmpPropertyCommand(ws, o, id, l)),
    ON(589, 593, WR_WAITS, return bmpPropertyCommand(ws, o, id, l)),
    ONE(2241, WR_WAITS, return shShapeCommand(ws, o, id, l)),

    // Text commands on the selected objects (the text editor takes them
    // itself while a text is being edited).
    ON(455, 455, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ON(459, 466, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ONE(468, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ONE(483, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ON(474, 475, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ONE(481, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ONE(491, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ON(486, 488, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ONE(497, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ON(961, 962, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ONE(1136, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ONE(1138, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ONE(2223, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ONE(707, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ONE(714, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ONE(720, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ON(2200, 2210, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ON(2212, 2214, WR_WAITS, return teTextCommand(ws, o, id, l)),
    ON(2224, 2226, WR_WAITS, return teTextCommand(ws, o, id, l)),
    // Tables.
    ONE(631, WR_WAITS, return tbTableCommand(ws, o, id, l)),
    ON(648, 649, WR_WAITS, return tbTableCommand(ws, o, id, l)),
    ON(665, 666, WR_WAITS, return tbTableCommand(ws, o, id, l)),
    ONE(652, 0, utMessageBox(ownerOf(ws), kTableDefaultText, MB_ICONINFORMATION); return 0),
    ONE(653, 0, utMessageBox(ownerOf(ws), kTableDefaultText, MB_ICONINFORMATION); return 0),
};

#undef ON
#undef ONE
#undef TAKEN
#undef WAITS

const Route *routeOf(int id)
{
    for (const Route &r : kRoutes)
        if (id >= r.first && id <= r.last)
            return &r;
    return nullptr;
}

}  // namespace

void appShowTextFindHint(HWND ws) { utMessageBox(ownerOf(ws), kTextFindText, MB_ICONINFORMATION); }

BOOL wsIsDocumentCommand(int id) { return routeOf(id) != nullptr; }

BOOL wsCommandWaits(int id)
{
    const Route *r = routeOf(id);
    return r && (r->flags & WR_WAITS) ? TRUE : FALSE;
}

int cmdObjectCommand(HWND ws, MemHandle object, int command, LPARAM lParam)
{
    const Route *route = routeOf(command);
    return route ? route->run(ws, object, command, lParam) : 0;
}

int wsOnCommand(HWND ws, int id, LPARAM lParam)
{
    const Route *route = routeOf(id);
    if (!route)
        return 1;
    MemHandle object = wsGetCurrentObject(ws);
    if (route->flags & WR_DISCARD)
        udDiscard(ws);
    if (route->flags & WR_COMMIT)
        pvCommitPage(ws);
    if ((route->flags & WR_NUDGE) && (!object || wsGetToolMode(ws) != TM_SELECT)) {
        MessageBeep(0);
        return 0;
    }
    route->run(ws, object, id, lParam);
    return 0;
}
