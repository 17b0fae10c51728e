// Installs the calls of the upper floors into the lower ones.
#include "app/app_hooks.h"
#include "app/app_frame.h"
#include "app/fc_import_export.h"
#include "support/app_ui_state.h"
#include "support/dm_map.h"
#include "support/dm_printer.h"
#include "model/ob_record.h"
#include "model/pg_record.h"
#include "model/ws_document.h"
#include "links/imgf_object.h"
#include "objects/cal_calendar.h"
#include "objects/img_io.h"
#include "objects/img_render.h"
#include "commands/obj_block.h"
#include "text/tx_bullet.h"
#include "tools/ep_factory.h"
#include "text/tx_measure.h"
#include "views/dw_window.h"
#include "views/pv_layout_sheet.h"
#include "views/ws_record.h"
#include "views/ws_relink.h"

namespace {

// The active document window of the main frame answers for the workspace.
BOOL frameActiveWorkspace(HWND *workspace)
{
    HWND client = appGetMdiClient(nullptr);
    if (!client)
        return FALSE;
    HWND doc = (HWND)SendMessageA(client, WM_MDIGETACTIVE, 0, 0);
    *workspace = doc ? dwGetWorkspace(doc) : nullptr;
    return TRUE;
}

}  // namespace

void appInstallHooks()
{
    // support/: the frame's active workspace, a workspace's kept view
    // mapping, the text measuring that follows the printer.
    appSetActiveWorkspaceCall(frameActiveWorkspace);
    dmSetViewMappingCall(wsApplyViewMapping);
    dmSetPrinterRefCall(txSetPrinterRefDC);
    // model/: the workspace record's slots of the document and hidden types,
    // the page layout sheet, the workspace following a moved record.
    wsSetRecordSlots(wsWorkspaceRecordSlots());
    pgSetLayoutSheetCall(pvPageLayoutSheet);
    obSetFollowMovedCall(wsFollowMovedObject);
    // objects/: the linked picture of an image file object, the unpacking
    // of a record library's object that a picture names.
    imgSetLinkedPictureCalls(imgfLinkedPictureCalls());
    // links/: new image file objects come from the object factory.
    imgfSetObjectFactory(epCreateObject);
    imgfSetImageChooser([](HWND owner, const char *caption, char *path) -> BOOL {
        return fcImageFileDialog(owner, caption, path, nullptr, TRUE);
    });
    imgSetRecordUnpack(objUnpackTree);
    // objects/: the calendar's month arrows are bullet figures of the text.
    calSetArrowCall([](HDC dc, const RECT *rect, int figure, COLORREF colour) {
        txDrawBullet(dc, rect, 0, figure, colour);
    });
}
