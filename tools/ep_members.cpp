// Aligning the members of a group or chain inside it, their undo, clone
// copies, the current kind's name and the direction offsets.
#include "tools/ep_members.h"
#include "links/imgf_object.h"
#include "app/mb_msgbar.h"
#include "commands/grp_members.h"
#include "commands/ms_merge.h"
#include "commands/ws_objects.h"
#include "tools/cp_composite.h"
#include "commands/ud_undo.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_window.h"
#include "views/ws_tools.h"
#include <string.h>
#include <vector>
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

int epRestoreMemberCentres(HWND ws, MemHandle object, MemHandle saved)
{
    if (wsGetToolMode(ws) == TM_MULTISELECT) {
        msUndoAlign(ws, saved);
        return 1;
    }
    if (!obGetFirstMember(object))
        return 0;
    std::vector<int32_t> c(utHandleSize(saved) / 4);
    {
        MemLock<uint8_t> p(saved);
        if (!p)
            return 0;
        memcpy(c.data(), p.get(), c.size() * 4);
    }
    obInvalidate(ws, object);
    size_t i = 0;
    for (MemHandle m = obGetFirstMember(object); m && i + 1 < c.size();
         m = obGetNextMember(m), i += 2)
        obMoveCentreTo(m, POINT{c[i], c[i + 1]});
    RECT box;
    obFitToMembers(object, &box);
    obInvalidate(ws, object);
    return 1;
}

int epMakeCloneCopies(HWND ws, MemHandle object)
{
    if (!object)
        return 0;
    CompositeSettings s;
    if (!cpAskCloneSettings(ws, &s))
        return 0;
    if (cpTotalCopies(&s) > 100) {
        utMessageBoxId(ws, 921, MB_ICONINFORMATION);
        return 0;
    }
    MemHandle source = obCopyTree(object, 0);
    if (!source)
        return 0;
    {
        ObLock r(source);
        r->prev = r->next = 0;
    }
    MemHandle named = obSetName(source, "");
    if (named)
        source = named;
    CompositeData rule;
    memcpy(&rule, &s, sizeof rule);
    winPushWaitCursor();
    int made = 0;
    MemHandle work = obCopyTree(source, 0);
    for (int32_t n = 1; work && shCompositePlaceCopy(source, &work, &rule, n); ++n) {
        MemHandle next = obCopyTree(work, 0);
        {
            ObLock r(work);
            r->prev = r->next = 0;
        }
        if (!wsAppendObject(ws, work)) {
            obFreeTree(next);
            break;
        }
        if (!made++)
            udRecord(ws, work, 0, UD_CLONED, 0);
        obInvalidate(ws, work);
        work = next;
    }
    obFreeTree(work);
    obFreeTree(source);
    winPopWaitCursor();
    return made ? 1 : 0;
}

const char *epCurrentKindName(HWND ws, char *text)
{
    text[0] = 0;
    // An image file shows its linked file's extension ("PNG File").
    MemHandle current = wsGetCurrentObject(ws);
    char ext[8] = "";
    if (current && obGetType(current) == OBT_IMAGE_FILE && lnkGetLinkExt(current, ext) > 0) {
        CharUpperA(ext);
        wsprintfA(text, "%s File", ext);
        return text;
    }
    obGetTypeName(wsGetCurrentType(ws), text);
    return text;
}

int epDirectionOffset(int16_t command, int32_t *dx, int32_t *dy)
{
    const int32_t x = *dx, y = *dy;
    static const struct {
        int16_t command;
        int8_t fx, fy;
    } kRows[] = {{760, 1, 0},  {761, -1, 0}, {762, 0, -1}, {763, 0, 1},
                 {764, 1, -1}, {765, -1, -1}, {766, -1, 1}, {767, 1, 1},
                 {830, 8, 0},  {831, -8, 0}, {832, 0, -8}, {833, 0, 8}};
    for (const auto &r : kRows)
        if (r.command == command) {
            *dx = r.fx * x;
            *dy = r.fy * y;
            break;
        }
    return 1;
}
