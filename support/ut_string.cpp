// Small string edits, text lines and number lists.
#include "support/ut_string.h"
#include <stdlib.h>
#include <string.h>

const char *utStrChr(const char *text, char ch)
{
    if (!text)
        return nullptr;
    for (; *text; ++text)
        if (*text == ch)
            return text;
    return nullptr;
}

const char *utStrRChr(const char *text, char ch)
{
    if (!text)
        return nullptr;
    const char *found = nullptr;
    for (; *text; ++text)
        if (*text == ch)
            found = text;
    return found;
}

char *utStrReverse(char *text)
{
    if (!text)
        return text;
    size_t len = strlen(text);
    for (size_t i = 0, j = len; i + 1 < j; ++i, --j) {
        char c = text[i];
        text[i] = text[j - 1];
        text[j - 1] = c;
    }
    return text;
}

char *utInsertString(char *text, const char *insert, int position, uint32_t bufferSize)
{
    if (!text)
        return nullptr;
    size_t len = strnlen(text, bufferSize);
    if (len >= bufferSize)
        return nullptr;   // no terminator inside the buffer: nothing is safe to move
    if (position < 0 || (size_t)position > len || !insert)
        return text;
    size_t add = strlen(insert);
    if (len + add + 1 > bufferSize)
        return nullptr;
    memmove(text + position + add, text + position, len - (size_t)position + 1);
    memmove(text + position, insert, add);
    return text;
}

int utStrInsertChar(char *text, int index, char ch, uint32_t bufferSize)
{
    if (!text)
        return 0;
    size_t len = strnlen(text, bufferSize);
    if (len + 2 > bufferSize || index < 0 || (size_t)index > len)
        return 0;
    memmove(text + index + 1, text + index, len - (size_t)index + 1);
    text[index] = ch;
    return 1;
}

int utClearString(char *text)
{
    if (text)
        text[0] = 0;
    return 0;
}

int utAtoi20(const char *text)
{
    char head[21] = {};
    if (text)
        strncpy(head, text, 20);
    return atoi(head);
}

double utAtof31(const char *text)
{
    char head[32] = {};
    if (text)
        strncpy(head, text, 31);
    return atof(head);
}

BOOL utParseIntList(const char *text, const char *delimiters, int16_t *values, int n)
{
    if (!text || !text[0] || !delimiters || !delimiters[0] || n < 0 || (n > 0 && !values))
        return FALSE;
    int found = 0;
    const char *p = text;
    while (found < n) {
        p += strspn(p, delimiters);
        if (!*p)
            break;
        size_t len = strcspn(p, delimiters);
        // atoi reads no further than its digits, but a delimiter may itself
        // be a digit or sign: convert a terminated copy of the piece.
        char piece[32];
        size_t keep = len < sizeof piece - 1 ? len : sizeof piece - 1;
        memcpy(piece, p, keep);
        piece[keep] = 0;
        values[found++] = (int16_t)atoi(piece);
        p += len;
    }
    return found == n;
}

const char *utNextTextLine(const char *text, int *lineLen, int *consumed)
{
    int len = 0;
    if (text)
        while (text[len] && text[len] != '\r' && text[len] != '\n')
            ++len;
    int used = len;
    const char *next = text ? text + len : nullptr;
    if (next && *next == '\r') {
        ++used;
        ++next;
        if (*next == '\n')
            ++next;
    } else if (next && *next == '\n') {
        // A line ended by a lone LF: skipped and counted like a CR, so that a
        // caller walking the lines always moves on.
        ++used;
        ++next;
    }
    if (lineLen)
        *lineLen = len;
    if (consumed)
        *consumed = used;
    return (next && *next) ? next : nullptr;
}
