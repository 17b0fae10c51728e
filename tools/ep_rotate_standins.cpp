// Stand-in: the rotate tool is not in the program yet. A press on the
// rotate handle turns nothing; the rotation test knows the field, control,
// Label and bitmap refusals but not the composite question; the angle
// dialog "selang" does not exist yet and answers Cancel.
#include "tools/ep_rotate_standins.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "support/ut_msg.h"

MemHandle epRotateDrag(HWND, MemHandle, LPARAM) { return 0; }

int epCanRotateTree(HWND ws, MemHandle object)
{
    if (!object)
        return 0;
    if (obTreeHasField(object) || obTreeHasType(object, OBT_LABEL)) {
        utMessageBoxId(ws, 923, MB_ICONINFORMATION);
        return 0;
    }
    const int16_t type = obGetType(object);
    if ((type == OBT_GROUP || type == OBT_CHAIN) && obTreeHasType(object, OBT_BITMAP)) {
        utMessageBox(ws, "The selected object contains bitmap object which can be rotated only "
                         "when it is alone.",
                     MB_ICONINFORMATION);
        return 0;
    }
    return 1;
}

int epRotateAngleDialog(HWND, int32_t *) { return 0; }
