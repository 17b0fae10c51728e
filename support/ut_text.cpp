// Number-text tests, word splitting, option switches and keyed text files.
#include "support/ut_text.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include <string.h>
#include <initializer_list>

namespace {

bool hasBlank(const char *text)
{
    return strchr(text, ' ') != nullptr;
}

bool allDigits(const char *p, const char *end)
{
    for (; p < end; ++p)
        if (*p < '0' || *p > '9')
            return false;
    return true;
}

// utIsIntegerText over [p, end) of a text known to hold no blank; an empty
// range is not integer text.
bool isIntegerRange(const char *p, const char *end)
{
    if (p == end)
        return false;
    if (*p == '+' || *p == '-')
        ++p;
    return allDigits(p, end);
}

// utIsDecimalText over [p, end) of a text known to hold no blank.
bool isDecimalRange(const char *p, const char *end)
{
    if (p == end)
        return false;
    const char *point = static_cast<const char *>(memchr(p, '.', end - p));
    if (!point)
        return isIntegerRange(p, end);
    if (point > p && !isIntegerRange(p, point))
        return false;
    const char *after = point + 1;
    if (after < end && (*after == '+' || *after == '-'))
        return false;
    return allDigits(after, end);
}

}  // namespace

int utIsIntegerText(const char *text)
{
    if (!text || !*text)
        return -1;
    if (hasBlank(text))
        return 0;
    return isIntegerRange(text, text + strlen(text)) ? 1 : 0;
}

int utIsDecimalText(const char *text)
{
    if (!text || !*text)
        return -1;
    if (hasBlank(text))
        return 0;
    return isDecimalRange(text, text + strlen(text)) ? 1 : 0;
}

int utIsNumberText(const char *text)
{
    if (!text || !*text)
        return -1;
    if (hasBlank(text))
        return 0;
    const char *end = text + strlen(text);
    const char *e = strpbrk(text, "Ee");
    if (!e)
        return isDecimalRange(text, end) ? 1 : 0;
    if (e == text || e + 1 == end)
        return 0;
    return isDecimalRange(text, e) && isDecimalRange(e + 1, end) ? 1 : 0;
}

namespace {

template <typename IsGap>
int splitAt(char *text, char **words, int n, IsGap isGap)
{
    for (int i = 0; i < n; ++i)
        words[i] = nullptr;
    if (!text)
        return 0;
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

}  // namespace

int utSplitWords(char *text, char **words, int n)
{
    return splitAt(text, words, n, [](char c) { return c == ' ' || c == ','; });
}

int utSplitByChar(char *text, char delim, char **words, int n)
{
    return splitAt(text, words, n, [delim](char c) { return c == delim; });
}

int utSplitByString(char *text, const char *separator, char **words, int n)
{
    for (int i = 0; i < n; ++i)
        words[i] = nullptr;
    if (!text)
        return 0;
    size_t sepLen = separator ? strlen(separator) : 0;
    int count = 0;
    char *p = text;
    while (count < n) {
        if (sepLen)
            while (strncmp(p, separator, sepLen) == 0)
                p += sepLen;
        while (*p == ' ')
            ++p;
        if (!*p)
            break;
        words[count++] = p;
        char *next = sepLen ? strstr(p, separator) : nullptr;
        if (!next)
            break;
        *next = 0;
        p = next + sepLen;
    }
    return count;
}

// ---- option switches ---------------------------------------------------------------

namespace {

char *trimmedText(char *text)
{
    while (*text == ' ')
        ++text;
    return utTrimTrailingChar(text, ' ');
}

}  // namespace

char *utParseLeadingOption(char *text, char *out, uint32_t outSize)
{
    if (out && outSize)
        out[0] = 0;
    if (!text)
        return nullptr;
    while (*text == ' ')
        ++text;
    if (*text != '-')
        return trimmedText(text);
    char *blank = strchr(text, ' ');
    size_t len = blank ? (size_t)(blank - text) : strlen(text);
    if (out && outSize) {
        size_t copy = len;
        if (copy > 128)
            copy = 128;
        if (copy > outSize - 1)
            copy = outSize - 1;
        for (size_t i = 0; i < copy; ++i) {
            char c = text[i];
            out[i] = (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
        }
        out[copy] = 0;
    }
    if (!blank)
        return nullptr;
    return trimmedText(blank + 1);
}

namespace {

UtOptionEntry *findOption(UtOptionEntry *table, int n, const char *name, size_t len)
{
    if (len == 0 || len >= sizeof(table->name))
        return nullptr;
    char wanted[sizeof(table->name)];
    memcpy(wanted, name, len);
    wanted[len] = 0;
    for (int i = 0; i < n; ++i) {
        char known[sizeof(table->name)];
        memcpy(known, table[i].name, sizeof(known));
        known[sizeof(known) - 1] = 0;
        if (lstrcmpiA(known, wanted) == 0)
            return &table[i];
    }
    return nullptr;
}

}  // namespace

const char *utParseSwitches(const char *text, UtOptionEntry *table, int n, int *count,
                            int *error)
{
    int found = 0, err = 0;
    const char *p = text ? text : "";
    while (*p == ' ')
        ++p;
    while (*p == '-') {
        const char *name = p + 1;
        const char *blank = strchr(name, ' ');
        const char *bracket = strchr(name, '[');
        bool hasValue = bracket && (!blank || bracket < blank);
        const char *nameEnd = hasValue ? bracket : (blank ? blank : name + strlen(name));
        UtOptionEntry *entry = findOption(table, n, name, (size_t)(nameEnd - name));
        const char *next = nameEnd;
        if (hasValue) {
            const char *close = strchr(bracket + 1, ']');
            if (!close) {
                if (entry) {
                    entry->present = 1;
                    ++found;
                }
                err = UT_SWITCH_NO_CLOSE;
                p = bracket + strlen(bracket);
                break;
            }
            if (entry) {
                MemHandle value = utHandleFromBytes(bracket + 1, (uint32_t)(close - bracket));
                if (value) {
                    static_cast<char *>(utLock(value))[close - bracket - 1] = 0;
                    utUnlock(value);
                }
                utFreeHandle(entry->value);   // a switch given twice keeps the last value
                entry->value = value;
            }
            next = close + 1;
        }
        if (entry) {
            entry->present = 1;
            ++found;
        } else {
            err = UT_SWITCH_UNKNOWN;
        }
        p = next;
        while (*p == ' ')
            ++p;
    }
    if (count)
        *count = found;
    if (error)
        *error = err;
    return p;
}

void utFreeSwitchValues(UtOptionEntry *table, int n)
{
    for (int i = 0; i < n; ++i) {
        table[i].value = utFreeHandle(table[i].value);
        table[i].present = 0;
    }
}

// ---- keyed text files -----------------------------------------------------------------

MemHandle utLookupKeyedText(const char *path, const char *key)
{
    if (!path || !*path || !key)
        return 0;
    MemHandle file = ffReadFileText(path, FALSE);
    if (!file)
        return 0;
    MemHandle result = 0;
    {
        MemLock<char> text(file);
        char *line = text.get();
        while (line && !result) {
            char *lf = strchr(line, '\n');
            char *next = nullptr;
            if (lf) {
                *lf = 0;
                next = lf + 1;
            }
            utTrimCharCrLf(line, ' ');
            if (*line && *line != ';') {
                char *fields[4];
                int nf = utSplitByString(line, "::", fields, 4);
                if (nf >= 2 && lstrcmpiA(fields[0], key) == 0) {
                    result = utHandleFromString(fields[1]);
                    for (int i = 2; i < nf && result; ++i) {
                        if (!*fields[i])
                            continue;
                        // On failure utAppendString leaves the old handle valid.
                        for (const char *piece : {"\r\n", (const char *)fields[i]}) {
                            MemHandle grown = utAppendString(result, piece);
                            if (!grown) {
                                result = utFreeHandle(result);
                                break;
                            }
                            result = grown;
                        }
                    }
                    break;
                }
            }
            line = next;
        }
    }
    utFreeHandle(file);
    return result;
}
