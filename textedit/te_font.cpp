#include "textedit/te_font.h"
#include "support/ut_mem.h"

namespace {
char g_face[32] = "Arial";
int g_points = 12;
}

void txSetDefaultFont(const char *face, int points)
{
    utStrCopyN(g_face, (face && *face) ? face : "Arial", sizeof(g_face));
    g_points = points > 0 ? points : 12;
}

int txGetDefaultFont(char *face)
{
    if (face)
        utStrCopyN(face, g_face, sizeof(g_face));
    return g_points;
}
