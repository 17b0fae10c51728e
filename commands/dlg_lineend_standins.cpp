// Stand-ins: the line end and gradient dialogs answer Cancel.
#include "commands/dlg_lineend_standins.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "objects/sh_lineend.h"
#include <vector>

int lineEndDialog(HWND, int16_t *, double *, int16_t *, double *, int) { return 0; }
int gradientDialog(HWND, MemHandle, GradientFillBlock *, const RECT *) { return 0; }
int dimSpanEndStyle(HWND, MemHandle, int) { return 0; }

BOOL lineEndsTreeGet(MemHandle object, int16_t *startStyle, uint32_t *startSize,
                     int16_t *endStyle, uint32_t *endSize)
{
    std::vector<MemHandle> tree;
    obCollectTree(object, OB_WALK_ALL | OB_WALK_ROOT_ALONE, tree);
    for (MemHandle h : tree) {
        ObLock r(h);
        if (!r || !obIsLineType(r->type))
            continue;
        const LineEndRecord *s = shGetStartLineEnd(r.get());
        const LineEndRecord *e = shGetEndLineEnd(r.get());
        *startStyle = s ? s->style : 0;
        *startSize = s ? s->size : 0;
        *endStyle = e ? e->style : 0;
        *endSize = e ? e->size : 0;
        return TRUE;
    }
    return FALSE;
}

MemHandle lineEndsTreeSet(MemHandle object, int16_t, uint32_t, int16_t, uint32_t)
{
    return object;
}
