// The document command dispatcher.
#include "app/ws_command.h"
#include "support/app_frame_globals.h"
#include "app/fc_file_cmds.h"
#include "app/ws_services.h"
#include "app/mb_msgbar.h"
#include "tools/ep_selection.h"
#include "tools/ep_tool_choice.h"
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
#include <initializer_list>

namespace {

const char kTableDefaultText[] = "You can change default value only when you are editing the table.";
const char kTextFindText[] = "Text fnd is available only when you edit a text object";
const UINT kHelpContextWorkspace = 800;

bool in(int id, int first, int last) { return id >= first && id <= last; }

bool oneOf(int id, std::initializer_list<int> ids)
{
    for (int v : ids)
        if (v == id)
            return true;
    return false;
}

// The drawing-tool buttons chosen by their button command.
bool isToolButton(int id)
{
    return oneOf(id, {301, 302, 306, 309, 310, 311, 313, 314, 316, 317, 318, 321, 322, 323, 326,
                      328, 329, 330, 332, 335, 336, 337, 1210, 1340, 1345, 1346, 1360, 1361}) ||
           in(id, 340, 349) || in(id, 1350, 1358);
}

// Further tools chosen by command id through the tool table.
bool isToolByCommand(int id)
{
    return oneOf(id, {319, 338, 1391, 1392}) || in(id, 1362, 1364) || in(id, 1367, 1369) ||
           in(id, 1372, 1374) || in(id, 1378, 1382);
}

// The nudging and sizing keys.
bool isNudge(int id)
{
    return in(id, 751, 756) || in(id, 760, 767) || in(id, 771, 778) || in(id, 830, 833);
}

// Commands of the object commands module, by id.
bool isObjectCommand(int id)
{
    return in(id, 21, 25) || oneOf(id, {118, 150, 156, 190, 194, 195, 200, 201, 202, 203, 204,
                                        205, 212, 214, 219, 215, 237, 1980, 2024, 240, 251, 258,
                                        256, 257, 270, 275, 272, 276, 403, 404, 405, 406, 407,
                                        427, 428, 414, 408, 409, 560, 561, 740, 742, 743, 840,
                                        438, 467, 470, 510, 511, 513, 517, 499, 514, 515, 522,
                                        529, 611, 683, 704, 732, 757, 821, 882, 1225, 1970}) ||
           in(id, 360, 364) || in(id, 416, 419) || in(id, 420, 426) || in(id, 431, 437) ||
           in(id, 451, 454) || in(id, 501, 505) || in(id, 531, 541) || in(id, 1140, 1143) ||
           in(id, 1237, 1242);
}

// Text commands of the text editing module.
bool isTextCommand(int id)
{
    return oneOf(id, {455, 460, 459, 461, 462, 463, 468, 464, 465, 466, 483, 474, 475, 481, 491,
                      486, 961, 1136, 1138, 2223, 707, 714, 720, 487, 488, 497, 962}) ||
           in(id, 2200, 2210) || in(id, 2212, 2214) || in(id, 2224, 2226);
}

bool isTableCommand(int id) { return oneOf(id, {631, 648, 649, 665, 666}); }

bool isBitmapProperty(int id)
{
    return oneOf(id, {574, 575, 577}) || in(id, 585, 587) || in(id, 589, 593);
}

bool isViewCommand(int id) { return id == 176 || in(id, 181, 189) || id == 2250 || id == 2251; }

// Ids accepted without action.
bool isAccepted(int id)
{
    return oneOf(id, {914, 932, 1145, 1146, 745, 746, 747, 749, 231, 1104});
}

HWND ownerOf(HWND ws)
{
    HWND doc = wsGetDocWindow(ws);
    return doc ? doc : ws;
}

// The zoom commands 192 and 193: by ten percent about the current object's
// centre (or the middle of the page part in the window), or by a factor
// about the current object's rectangle when the command carries a step.
void zoomInOut(HWND ws, MemHandle object, bool zoomIn, LPARAM lParam)
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
    if (lParam) {
        wsZoomStep(ws, (uint32_t)lParam, object ? &about : nullptr, zoomIn);
        return;
    }
    POINT centre = {(about.left + about.right) / 2, (about.top + about.bottom) / 2};
    dmLogToDevPoints(&centre, 1);
    wsZoomByPercent(ws, zoomIn ? 10 : -10, centre);
}

}  // namespace

void appShowTextFindHint(HWND ws) { utMessageBox(ownerOf(ws), kTextFindText, MB_ICONINFORMATION); }

BOOL wsIsDocumentCommand(int id)
{
    return isToolButton(id) || isToolByCommand(id) || isNudge(id) || isObjectCommand(id) ||
           isTextCommand(id) || isTableCommand(id) || isBitmapProperty(id) || isViewCommand(id) ||
           isAccepted(id) || in(id, 30, 32) || in(id, 34, 37) || id == 39 || in(id, 76, 78) ||
           oneOf(id, {20, 97, 102, 103, 104, 105, 106, 1201, 114, 1202, 132, 134, 135, 141, 143,
                      179, 180, 192, 193, 197, 401, 199, 213, 216, 230, 396, 397, 398, 399, 400,
                      931, 402, 439, 440, 441, 442, 443, 594, 595, 596, 597, 598, 601, 628, 629,
                      612, 613, 615, 614, 780, 616, 626, 627, 617, 618, 619, 684, 685, 1250, 1220,
                      1221, 624, 625, 960, 866, 5000, 5001, 5003, 652, 653, 700, 701, 706, 770,
                      808, 869, 873, 874, 879, 880, 910, 911, 912, 913, 918, 920, 921, 942, 1100,
                      1101, 2100, 2105, 2106, 2107, 2108, 2109, 2222, 2241, 1101}) ||
           in(id, 1187, 1199);
}

int wsOnCommand(HWND ws, int id, LPARAM lParam)
{
    if (!wsIsDocumentCommand(id))
        return 1;
    MemHandle object = wsGetCurrentObject(ws);

    // Commands that begin a document-wide operation drop the pending undo
    // step first; export, full screen and the picture export store the page.
    if (oneOf(id, {104, 105, 106, 1201, 114, 1202, 135, 141, 213, 1101}))
        udDiscard(ws);
    if (oneOf(id, {105, 869, 1101}))
        pvCommitPage(ws);
    if (id == 135 || id == 141 || isAccepted(id))
        return 0;

    if (isNudge(id)) {
        if (!object || wsGetToolMode(ws) != TM_SELECT) {
            MessageBeep(0);
            return 0;
        }
        cmdObjectCommand(ws, object, id, lParam);
        return 0;
    }
    if (isToolButton(id)) {
        epChooseTool(ws, id, (int16_t)LOWORD(lParam));
        return 0;
    }
    if (isToolByCommand(id)) {
        epChooseToolByCommand(ws, id, (int16_t)LOWORD(lParam));
        return 0;
    }
    if (isTextCommand(id)) {
        teTextCommand(ws, object, id, lParam);
        return 0;
    }
    if (isTableCommand(id)) {
        tbTableCommand(ws, object, id, lParam);
        return 0;
    }
    if (isBitmapProperty(id)) {
        bmpPropertyCommand(ws, object, id, lParam);
        return 0;
    }
    if (isViewCommand(id)) {
        vcZoomCommand(ws, id, object);
        return 0;
    }
    if (in(id, 30, 39)) {
        wsOnNavBarCommand(ws, id, lParam);
        return 0;
    }
    if (in(id, 1187, 1199)) {
        bpOnCommand(ws, id, nullptr);
        return 0;
    }
    if (isObjectCommand(id)) {
        cmdObjectCommand(ws, object, id, lParam);
        return 0;
    }

    switch (id) {
    case 20: pvStorePagePalette(ws); break;
    case 76:
    case 77:
    case 78: epToolDropNotify(ws, id, lParam); break;
    case 97:
    case 102: fcSaveCommand(ws); break;
    case 103: fcSaveAsCommand(ws); break;
    case 104: fcImportCommand(ws, (int)(lParam & 0xFF)); break;
    case 105: fcExportCommand(ws, (MemHandle)lParam); break;
    case 106: prnCmdPrint(ws, FALSE, FALSE); break;
    case 1201: prnCmdPrint(ws, FALSE, TRUE); break;
    case 114: faxCmdFax(ws, FALSE); break;
    case 1202: faxCmdFax(ws, TRUE); break;
    case 132: {
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
        break;
    }
    case 134: fcMergeCommand(ws); break;
    case 143: fcReloadDocument(ws); break;
    case 179: wsCmdViewScale(ws); break;
    case 180: wsStartZoomTool(ws); break;
    case 192:
    case 193: zoomInOut(ws, object, id == 192, lParam); break;
    case 197:
    case 401: cmdEditObject(ws, object, id == 401 ? id : 0, lParam); break;
    case 199: pvCmdRevertPage(ws); break;
    case 213: epRotateTool(ws, object); break;
    case 216: winRedrawNow(ws); break;
    case 230: appShowTextFindHint(ws); break;
    case 396: wsScrollToObject(ws, object); break;
    case 397: {
        const int16_t type = obGetType((MemHandle)lParam);
        if (type == 41 || type == 42 || type == 124)
            fldClosePropPane();
        break;
    }
    case 398: epSelectAndReveal(ws, (MemHandle)lParam, wsGetCurrentObject(ws)); break;
    case 399: epSelectObject(ws, (MemHandle)lParam); break;
    case 400:
    case 931: cmdBackToSelect(ws); break;
    case 402: cmdEnterMultiSelect(ws, id); break;
    case 439: wsScrollToMarginRect(ws); break;
    case 440:
    case 441:
    case 442: wsCmdScrollStyle(ws, id); break;
    case 443: utHelpKeyword(ws, "Scroll Style"); break;
    case 594: bpOnCommand(ws, id, nullptr); break;
    case 595:
    case 596:
    case 597:
    case 628: pvCmdPageSettings(ws, id); break;
    case 598:
    case 601: pvCmdPageLayout(appGetFrameWindow(), ws); break;
    case 629: pgCmdShuffle(ws); break;
    case 612:
    case 613: pvCmdInsertPageAt(ws, id == 612); break;
    case 615: pvCmdInsertPage(ws, 0); break;
    case 614: pvCmdDeletePages(ws); break;
    case 780: pvCmdDeleteCurrentPage(ws); break;
    case 616:
    case 626:
    case 627: pvCmdSelectPage(ws, id); break;
    case 617: pvCmdPrevPage(ws); break;
    case 618: pvCmdNextOrNewPage(ws); break;
    case 619:
    case 1250:
        // 619: the high word says how (-1 the page's bottom, -2 nothing).
        pvCmdShowPage(ws, (int16_t)LOWORD(lParam), id == 619 ? (int16_t)HIWORD(lParam) : 0);
        break;
    case 684: pvCmdFirstPage(ws); break;
    case 685: pvCmdLastPage(ws); break;
    case 1220: pvCmdHomePage(ws); break;
    case 1221: pvCmdEndPage(ws); break;
    case 624: pgCmdPageNumbers(ws); break;
    case 625: pvCmdPageList(ws, lParam); break;
    case 960: pvOnPageListPick(ws, (WPARAM)id, lParam); break;
    case 866: pvCmdPanoramic(ws, nullptr, lParam); break;
    case 5000:
    case 5001:
    case 5003: pvOnThumbnailCommand(ws, id, lParam); break;
    case 652:
    case 653: utMessageBox(ownerOf(ws), kTableDefaultText, MB_ICONINFORMATION); break;
    case 700:
    case 701:
    case 706:
        // Begun by a command, the edit has no owner waiting for its end
        // record (which, sent back as this command, would open it again).
        txCmdEditText(ws, object, 0, lParam);
        break;
    case 770:
        if (object)
            cmdMoveObjectBy(ws, object, (int16_t)LOWORD(lParam), (int16_t)HIWORD(lParam));
        break;
    case 808: {
        HWND helpOwner = appGetFrameWindow();
        utHelpMenuCommand(helpOwner ? helpOwner : ws, kHelpContextWorkspace);
        break;
    }
    case 869: fsOpenFullScreen(ws); break;
    case 873:
    case 874: fmSetFlag400(wsGetDocument(ws), id == 873); break;
    case 879: pvCmdPageAttributes(ws); break;
    case 880: docCmdOptions(ws); break;
    case 910: mbUpdateFromSelection(); break;
    case 911:
        wsInvalidateRulers(ws, 3);
        InvalidateRect(ws, nullptr, TRUE);
        break;
    case 912: wsInvalidateRulers(ws, 1); break;
    case 913: wsInvalidateRulers(ws, 2); break;
    case 918: SetFocus(ws); break;
    case 920: cmdLangExecute(ws); break;
    case 921: wsAutoSaveTick(ws); break;
    case 942: wsSetOutputWindow(ws, nullptr); break;
    case 1100: {
        MemHandle target = lParam ? (MemHandle)lParam : object;
        if (target)
            wsUnlinkObject(ws, target);
        break;
    }
    case 1101: fcExportImageAs(ws, (MemHandle)lParam); break;
    case 2100: wsScrollToPlacement(ws); break;
    case 2105:
        wsShowRulersFlag(ws, FALSE);
        dwPlaceRulers(wsGetDocWindow(ws));
        break;
    case 2106: pvAddGuide(ws, (int32_t)lParam, 1); break;
    case 2107: pvAddGuide(ws, (int32_t)lParam, 2); break;
    case 2108: pvDeleteGuideAt(ws, (int32_t)lParam, 1); break;
    case 2109: pvDeleteGuideAt(ws, (int32_t)lParam, 2); break;
    case 2222: epChooseToolOrVText(ws, id, (int16_t)LOWORD(lParam)); break;
    case 2241: shShapeCommand(ws, object, id, lParam); break;
    default: break;
    }
    return 0;
}
