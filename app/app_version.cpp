#include "app/app_version.h"
#include "support/ut_mem.h"
#include <stdlib.h>
#include <ctype.h>
#include <stdio.h>

namespace {
char g_fileFormat[16] = "250";
char g_build[16] = "Build 010";
char g_program[16] = "3.0";
}  // namespace

void verSetTexts(const char *fileFormat, const char *build, const char *program)
{
    if (fileFormat)
        utStrCopyN(g_fileFormat, fileFormat, sizeof(g_fileFormat));
    if (build)
        utStrCopyN(g_build, build, sizeof(g_build));
    if (program)
        utStrCopyN(g_program, program, sizeof(g_program));
}

int64_t verRound(const char *text)
{
    // Read as a decimal text, so that "1.255" is 126 and not the 125 that
    // its nearest binary number would give.
    if (!text)
        return 0;
    const char *p = text;
    while (*p == ' ')
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    int64_t whole = 0;
    for (; isdigit((unsigned char)*p); ++p)
        whole = whole < INT64_MAX / 1000 ? whole * 10 + (*p - '0') : whole;
    int64_t hundredths = whole * 100;
    if (*p == '.') {
        ++p;
        int digits[3] = {0, 0, 0};
        for (int i = 0; i < 3 && isdigit((unsigned char)*p); ++i, ++p)
            digits[i] = *p - '0';
        hundredths += digits[0] * 10 + digits[1] + (digits[2] >= 5 ? 1 : 0);
    }
    return negative ? -hundredths : hundredths;
}

int verGetNumber() { return (int)verRound(g_program); }

char *verGetText(char *buffer, int size)
{
    if (size > 0)
        utStrCopyN(buffer, g_program, (uint32_t)size);
    return buffer;
}

int appGetFileFormatVersion() { return atoi(g_fileFormat); }
const char *verGetFileFormatText() { return g_fileFormat; }
const char *verGetBuildText() { return g_build; }

char *verGetFileFormatDotted(char *buffer, int size)
{
    if (size <= 0)
        return buffer;
    char dotted[32] = {};
    if (g_fileFormat[0])
        snprintf(dotted, sizeof(dotted), "%c.%s", g_fileFormat[0], g_fileFormat + 1);
    utStrCopyN(buffer, dotted, (uint32_t)size);
    return buffer;
}

char *verFormatText(char *buffer, int size)
{
    if (size <= 0)
        return buffer;
    char dotted[32], text[48];
    snprintf(text, sizeof(text), "Version %s", verGetFileFormatDotted(dotted, sizeof(dotted)));
    utStrCopyN(buffer, text, (uint32_t)size);
    return buffer;
}

int verGetFileFormatFirstChar()
{
    char c = g_fileFormat[0];
    return (c >= '0' && c <= '9') ? c - '0' : 0;
}
