// Stand-in until the attribute commands come: only the rescale of the
// hatch spacing (the hatch menus, the spacing dialog and the fill, line,
// pattern and gradient commands are missing).
#include "commands/hatch_standins.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include <vector>

void hatchTreeScaleSpacing(MemHandle object, int32_t percent)
{
    std::vector<MemHandle> tree;
    obCollectTree(object, OB_WALK_ALL, tree);
    for (MemHandle h : tree) {
        ObLock r(h);
        if (!r || r->fillKind != 4)
            continue;
        int64_t spacing = r->hatch >> 4;
        if (!spacing)
            spacing = 6;
        int64_t scaled = (int64_t)percent * spacing / 100;
        if (scaled < 2)
            scaled = 2;
        if (scaled > 15)
            scaled = 15;
        r->hatch = (uint8_t)((scaled << 4) | (r->hatch & 0x0F));
    }
}
