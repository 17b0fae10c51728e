// Scaling the size codes of a text stream.
#include "text/te_scale.h"
#include "text/tx_stream.h"
#include <math.h>
#include <string.h>

void teScaleSizeCodes(char *s, double sx, double sy)
{
    if (!s)
        return;
    for (int32_t i = 0; s[i]; i = txUnitEnd(s, i)) {
        int code = txCodeNumber(s + i);
        double f;
        if (code == TXC_HEIGHT || code == TXC_CHAR_SPACING)
            f = sy;
        else if (code == TXC_WIDTH)
            f = sx;
        else
            continue;
        if (txCodeUnitSize(s + i) < 7)
            continue;
        int16_t v;
        memcpy(&v, s + i + 3, 2);
        double scaled = v * f;
        double r = scaled < 0 ? -floor(-scaled + 0.5) : floor(scaled + 0.5);
        r = r > 32767 ? 32767 : r < -32768 ? -32768 : r;
        v = (int16_t)r;
        memcpy(s + i + 3, &v, 2);
    }
}
