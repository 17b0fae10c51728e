// Stand-in: curved text is not laid along its path yet, so straightening
// only clears the curve flags and fits the box to the straight text.
#include "text/tx_curve.h"
#include "text/tx_flow.h"
#include "text/tx_header.h"
#include "text/tx_object.h"
#include "support/ut_mem.h"

void txStraighten(MemHandle obj)
{
    TextHeader *h = txLockHeader(obj);
    if (!h)
        return;
    h->flags &= ~(uint32_t)(0x4000000 | 0x2000000);
    h->formatFlags &= ~(uint16_t)0x1;
    utUnlock(obj);
    txFitBox(obj, TRUE, TRUE);
}
