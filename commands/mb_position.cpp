// The message bar's position cell.
#include "commands/mb_position.h"
#include "support/dm_map.h"
#include <math.h>
#include <stdio.h>
#include <string.h>

namespace {

char g_text[64];
bool g_hasOrigin = false;
double g_originX = 0, g_originY = 0;

}  // namespace

void mbShowPosition(POINT device)
{
    double x = dmLogToUnitsX(dmDevToLogX(device.x));
    double y = dmLogToUnitsY(dmDevToLogY(device.y));
    char text[64];
    if (g_hasOrigin)
        snprintf(text, sizeof text, "(%6.2lf x %6.2lf)", fabs(x - g_originX), fabs(y - g_originY));
    else
        snprintf(text, sizeof text, "(%-6.2lf, %6.2lf)", x, y);
    mbSetPositionText(text);
}

void mbSetOrigin(int32_t x, int32_t y)
{
    g_originX = dmLogToUnitsX(x);
    g_originY = dmLogToUnitsY(y);
    g_hasOrigin = true;
}

void mbClearOrigin() { g_hasOrigin = false; }

BOOL mbHasOrigin() { return g_hasOrigin; }

void mbSetPositionText(const char *text)
{
    snprintf(g_text, sizeof g_text, "%s", text ? text : "");
}

void mbClearPositionText() { g_text[0] = 0; }

int mbGetPositionText(char *buffer, int size)
{
    if (buffer && size > 0)
        snprintf(buffer, size, "%s", g_text);
    return (int)strlen(g_text);
}
