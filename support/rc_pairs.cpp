// Name-value items joined by "::".
#include "support/rc_pairs.h"
#include "support/rc_list.h"
#include "support/ut_mem.h"
#include "support/ut_string.h"
#include <string.h>
#include <string>

namespace {

const char kSeparator[] = "::";

// Calls f(line, length) for every line of the text (empty lines included).
template <typename F> void forEachLine(const char *text, F f)
{
    const char *p = text;
    while (p && *p) {
        int len = 0, used = 0;
        const char *next = utNextTextLine(p, &len, &used);
        if (!f(p, (size_t)len))
            return;
        p = next;
    }
}

// Where "::" starts within the first len characters, or -1.
long separatorIn(const char *s, size_t len)
{
    for (size_t i = 0; i + 1 < len; ++i)
        if (s[i] == ':' && s[i + 1] == ':')
            return (long)i;
    return -1;
}

// The text of a handle up to its terminator or the end of the block.
std::string handleText(MemHandle h)
{
    MemLock<char> p(h);
    if (!p)
        return std::string();
    return std::string(p.get(), strnlen(p.get(), utHandleSize(h)));
}

// Calls f(item, length) for every non-empty item of the delimited list.
template <typename F> void forEachItem(const std::string &list, char delim, F f)
{
    size_t pos = 0;
    while (pos < list.size()) {
        size_t end = list.find(delim, pos);
        if (end == std::string::npos)
            end = list.size();
        if (end > pos && !f(list.data() + pos, end - pos))
            return;
        pos = end + 1;
    }
}

bool equalNoCase(const char *a, size_t la, const char *b, size_t lb)
{
    return la == lb && (la == 0 || CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a,
                                                  (int)la, b, (int)lb) == CSTR_EQUAL);
}

}  // namespace

MemHandle rcNamesFromPairs(const char *text, char delim)
{
    MemHandle list = 0;
    forEachLine(text, [&](const char *line, size_t len) {
        if (len) {
            long sep = separatorIn(line, len);
            std::string name(line, sep >= 0 ? (size_t)sep : len);
            MemHandle grown = rcListAppend(list, delim, name.c_str());
            if (grown)
                list = grown;
        }
        return true;
    });
    return list;
}

MemHandle rcValueOfPair(const char *text, const char *name)
{
    if (!name)
        return 0;
    size_t nameLen = strlen(name);
    MemHandle value = 0;
    forEachLine(text, [&](const char *line, size_t len) {
        long sep = separatorIn(line, len);
        size_t own = sep >= 0 ? (size_t)sep : len;
        if (own != nameLen || memcmp(line, name, own) != 0)
            return true;
        if (sep >= 0) {
            std::string v(line + sep + 2, len - (size_t)sep - 2);
            value = utHandleFromString(v.c_str());
        }
        return false;
    });
    return value;
}

MemHandle rcPairToLines(const char *text)
{
    if (!text || !text[0])
        return 0;
    const char *last = nullptr;
    for (const char *p = strstr(text, kSeparator); p; p = strstr(p + 2, kSeparator))
        last = p;
    std::string out;
    if (!last) {
        out = "\r\n";
        out += text;
    } else {
        for (const char *p = text; *p;) {
            if (p[0] == ':' && p[1] == ':') {
                if (p == last)
                    out += "\r\n";
                p += 2;
            } else {
                out += *p++;
            }
        }
    }
    return utHandleFromString(out.c_str());
}

void winListFillPairNames(HWND listBox, MemHandle text, char delim)
{
    if (!listBox)
        return;
    forEachItem(handleText(text), delim, [&](const char *item, size_t len) {
        long sep = separatorIn(item, len);
        if (sep >= 0) {
            std::string name(item, (size_t)sep);
            SendMessageA(listBox, LB_ADDSTRING, 0, (LPARAM)name.c_str());
        }
        return true;
    });
}

MemHandle rcFindPairLine(MemHandle text, const char *name, char delim)
{
    if (!name)
        return 0;
    MemHandle found = 0;
    forEachItem(handleText(text), delim, [&](const char *item, size_t len) {
        long sep = separatorIn(item, len);
        if (sep < 0 || !equalNoCase(item, (size_t)sep, name, strlen(name)))
            return true;
        found = utHandleFromString(std::string(item, len).c_str());
        return false;
    });
    return found;
}
