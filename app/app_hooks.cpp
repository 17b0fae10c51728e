// Installs the calls of the upper floors into the lower ones.
#include "app/app_hooks.h"
#include "app/app_frame.h"
#include "support/app_ui_state.h"
#include "support/dm_map.h"
#include "support/dm_printer.h"
#include "text/tx_measure.h"
#include "views/dw_window.h"
#include "views/ws_record.h"

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
}
