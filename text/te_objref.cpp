// Stand-in for the editing commands module: only the reading of an object
// reference code (75), which the code interpreter needs, is here; the
// editing commands that insert embedded images and objects are missing.
#include "text/te_objref.h"
#include <string.h>

void teApplyObjectRef(const char *code, RECT *rect, int32_t *a, int32_t *b)
{
    if (!code || (uint8_t)code[0] != 27 || (uint8_t)code[2] != 75 || (uint8_t)code[1] < 3 + 24)
        return;
    int32_t p[6];
    memcpy(p, code + 3, sizeof p);
    if (rect) {
        rect->left += p[0];
        rect->top += p[1];
        rect->bottom += p[4];
        rect->right += p[5];
    }
    if (a)
        *a = p[2];
    if (b)
        *b = p[3];
}
