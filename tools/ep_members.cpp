// Aligning the members of a group or chain inside it.
#include "tools/ep_members.h"
#include "app/mb_msgbar.h"
#include "commands/grp_members.h"
#include "commands/ud_undo.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include "views/ws_record.h"

int epAlignMembers(HWND ws, MemHandle object, uint16_t command, uint32_t lParam)
{
    const int16_t type = obGetType(object);
    if (type != OBT_GROUP && type != OBT_CHAIN) {
        MessageBeep(0);
        return 0;
    }
    udDiscard(ws);
    obInvalidate(ws, object);
    RECT g;
    obGetRect(object, &g);
    const int32_t kx = (g.left + g.right) / 2, ky = (g.top + g.bottom) / 2;
    MemHandle saved = grpSaveMemberCentres(object);
    bool done = false;
    switch (command) {
    case 420:
    case 421:
    case 422:
    case 423:
    case 424:
    case 425:
    case 426:
        for (MemHandle m = obGetFirstMember(object); m; m = obGetNextMember(m)) {
            RECT f;
            obGetRect(m, &f);
            const int32_t cx = (f.left + f.right) / 2, cy = (f.top + f.bottom) / 2;
            int32_t dx = 0, dy = 0;
            switch (command) {
            case 420: dx = g.left - f.left; break;
            case 421: dx = g.right - f.right; break;
            case 422: dy = g.top - f.top; break;
            case 423: dy = g.bottom - f.bottom; break;
            case 424: dx = kx - cx; break;
            case 425: dy = ky - cy; break;
            default:
                dx = kx - cx;
                dy = ky - cy;
                break;
            }
            obMoveAloneBy(m, dx, dy);
        }
        done = true;
        break;
    case 781: done = grpStackVertically(object, (int16_t)HIWORD(lParam)) != 0; break;
    case 782: done = grpRowHorizontally(object, (int16_t)LOWORD(lParam)) != 0; break;
    case 785: done = true; break;
    case 786:
        done = grpPlaceOnCircle(object, nullptr, (int16_t)LOWORD(lParam),
                                (int16_t)HIWORD(lParam)) != 0;
        break;
    default: break;
    }
    if (!done) {
        utFreeHandle(saved);
        return 0;
    }
    RECT box;
    grpFitToMembers(object, &box);
    if (saved)
        udRecord(ws, object, saved, UD_PROPERTY, UD_SUB_MEMBER_MOVES);
    obInvalidate(ws, object);
    wsMarkModified(ws);
    mbUpdateFromSelection();
    return 1;
}
