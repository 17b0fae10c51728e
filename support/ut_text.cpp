// Number-text tests and word splitting.
#include "support/ut_text.h"

int utIsIntegerText(const char *text)
{
    if (!text || !*text)
        return -1;
    for (const char *p = text; *p; ++p)
        if (*p == ' ')
            return 0;
    const char *p = text;
    if (*p == '+' || *p == '-')
        ++p;
    for (; *p; ++p)
        if (*p < '0' || *p > '9')
            return 0;
    return 1;
}

int utSplitWords(char *text, char **words, int n)
{
    for (int i = 0; i < n; ++i)
        words[i] = nullptr;
    if (!text)
        return 0;
    auto isGap = [](char c) { return c == ' ' || c == ','; };
    int count = 0;
    char *p = text;
    while (*p && count < n) {
        while (*p && isGap(*p))
            ++p;
        if (!*p)
            break;
        words[count++] = p;
        while (*p && !isGap(*p))
            ++p;
        if (*p)
            *p++ = 0;
    }
    return count;
}
