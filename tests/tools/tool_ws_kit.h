// The started program of the object-command tests, for the rotate tool,
// clone copies and composites: shapes that may turn, posted drags through
// a far point, page points of client pixels, and record bytes.
#pragma once
#include "tests/commands/cmd_page_kit.h"
#include "tools/ep_tool_choice.h"
#include "views/dw_window.h"
#include <vector>

namespace tooltest {

class Workspace : public cmdtest::Page {
protected:
    void TearDown() override
    {
        epResetToolChoice();
        Page::TearDown();
        dwResetModule();
    }

    // An unlocked object of the type from two corners (twips), on top, free
    // to turn.
    MemHandle shape(int16_t type, RECT r)
    {
        MemHandle h = add(type, r.left, r.top, r.right, r.bottom);
        obSetFlags(h, OBF_NO_ROTATE, FALSE);
        return h;
    }
    POINT logical(POINT device)
    {
        wsApplyViewMapping(ws);
        return POINT{dmDevToLogX(device.x), dmDevToLogY(device.y)};
    }
    // A left drag from a through `via` (far enough to be a drag) to b.
    void drag(POINT a, POINT b, POINT via = {-1, -1})
    {
        if (via.x < 0)
            via = POINT{a.x, a.y + 20};
        post(WM_MOUSEMOVE, 0, a);
        post(WM_LBUTTONDOWN, MK_LBUTTON, a);
        post(WM_MOUSEMOVE, MK_LBUTTON, via);
        post(WM_MOUSEMOVE, MK_LBUTTON, b);
        post(WM_LBUTTONUP, 0, b);
        pump();
    }
    MemHandle current() { return wsGetCurrentObject(ws); }
    static uint16_t rotationOf(MemHandle h)
    {
        ObLock r(h);
        return r ? r->rotation : 0;
    }
    // The object's centre in twips.
    static POINT centre(MemHandle h)
    {
        POINT c;
        obGetCentre(h, &c);
        return c;
    }
    static std::vector<uint8_t> bytesOf(MemHandle h)
    {
        ObLock r(h);
        if (!r)
            return {};
        const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
        return std::vector<uint8_t>(p, p + r.extent());
    }
};

}  // namespace tooltest
