// Select All (215) makes one chain of every box of the page, Undo takes it
// apart again into the saved order; By Position (414) sorts the page in
// reading order, Undo puts the saved order back. The boxes lie in a
// shuffled order so that the sort has work to do.
#include "bench/bench_order.h"
#include "bench/bench_clock.h"
#include "commands/ms_select.h"
#include "commands/ord_order.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "objects/sh_box.h"
#include "tools/ep_selection.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include <stdio.h>
#include <string.h>
#include <vector>

namespace {

MemHandle benchBox(int32_t x, int32_t y)
{
    MemHandle h = obNewRecord(kObHeadSize + shBoxGeometrySize(OBT_RECTANGLE));
    ObLock r(h);
    r->type = OBT_RECTANGLE;
    r->layer = 1;
    r->scaleX = r->scaleY = kObScaleOne;
    RECT b = {x, y, x + 100, y + 80};
    obRecSetRect(r.get(), &b);
    int32_t sides[2] = {r->width, r->height};
    memcpy(obRecData(r.get()), sides, sizeof sides);
    return h;
}

}  // namespace

void benchSelectionOrder(int boxes)
{
    wsRegisterClass(GetModuleHandleA(nullptr));
    HWND ws = CreateWindowA(wsClassName, "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    MemHandle form = fmNew();
    MemHandle page = pgNewRecord(0);
    // Rows of 100 boxes, appended in an order that is not the reading order.
    MemHandle last = 0;
    for (int i = 0; i < boxes; ++i) {
        const int k = (int)((i * 7919LL) % boxes);
        MemHandle h = benchBox((k % 100) * 150, (k / 100) * 120 + (k % 3) * 20);
        if (last)
            obLinkPair(last, h);
        else
            pgSetFirstObject(page, h);
        last = h;
    }
    if (!ws || !form || pgDirAppend(form, page) < 0) {
        printf("select all / by position: no workspace\n");
        return;
    }
    fmSetCurrentPage(form, 0);
    wsSetDocument(ws, form);
    pvGoToPage(ws, 0);
    epEnterSelectMode(ws, 0);

    double t0 = benchSeconds();
    const int all = cmdSelectAll(ws);
    const double selectAll = benchSeconds() - t0;
    MemHandle chain = wsGetCurrentObject(ws);
    const int32_t members = obCountMembers(chain);
    // The chain's own undo step (kind 25), recorded as mode 4 ends.
    udRecord(ws, chain, 0, UD_CHAIN, 0);
    t0 = benchSeconds();
    udPerform(ws, chain);
    const double undoChain = benchSeconds() - t0;
    std::vector<MemHandle> list;
    obCollectList(wsGetFirstObject(ws), list);
    const size_t back = list.size();

    t0 = benchSeconds();
    cmdOrderByPosition(ws);
    const double byPosition = benchSeconds() - t0;
    t0 = benchSeconds();
    udPerform(ws, 0);
    const double undoOrder = benchSeconds() - t0;

    printf("select all, %d boxes %8.3f ms  (%s, %d members)\n", boxes, selectAll * 1000.0,
           all ? "one chain" : "FAILED", (int)members);
    printf("undo of the chain     %8.3f ms  (%d objects back)\n", undoChain * 1000.0, (int)back);
    printf("by position           %8.3f ms\n", byPosition * 1000.0);
    printf("undo of the order     %8.3f ms\n", undoOrder * 1000.0);

    udDiscard(ws);
    wsSetDocument(ws, 0);
    DestroyWindow(ws);
    fmFree(form);
}
