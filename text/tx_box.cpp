// Properties of a text object's box.
#include "text/tx_box.h"
#include "model/ob_record.h"
#include "model/ob_dispatch.h"
#include <string.h>

int txKeepsRightEdge(MemHandle textObject)
{
    ObLock r(textObject);
    if (!r || r->type != OBT_TEXT)
        return 0;
    uint32_t at = obDataOffset(r.get()) + kTxFlagsOffset;
    if ((uint64_t)at + 4 > r.extent())
        return 0;
    uint32_t flags;
    memcpy(&flags, reinterpret_cast<const uint8_t *>(r.get()) + at, 4);
    return (flags & kTxRightToLeft) ? 1 : 0;
}
