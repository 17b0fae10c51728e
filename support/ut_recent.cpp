// Numbered setting lists and the recent-file list. The entries live in the
// settings as string values; files are tested through the Win32 file layer.
#include "support/ut_recent.h"
#include "support/ut_history.h"
#include "support/ut_path.h"
#include "support/ff_file.h"
#include "support/rc_list.h"
#include "support/ut_mem.h"
#include "support/settings_reg.h"
#include <stdio.h>
#include <string>
#include <vector>

namespace {

const char kDelim = '\r';

// The recent-file list's set-up, made by utInitRecentFiles.
int g_firstCommand = 121;
int g_size = 8;

std::string slotName(const char *name, int i)
{
    char text[64];
    snprintf(text, sizeof(text), "%.50s%d", name, i);
    return text;
}

// The entries of a list handle, empty ones left out.
std::vector<std::string> entries(MemHandle list)
{
    std::vector<std::string> out;
    uint32_t size = rcListSize(list);
    if (!size)
        return out;
    MemLock<char> p(list);
    std::string text(p.get(), size - 1);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(kDelim, pos);
        if (end == std::string::npos)
            end = text.size();
        if (end > pos)
            out.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

std::string normalizedPath(const char *path)
{
    char buf[UT_PATH_SIZE];
    utStrCopyN(buf, path, sizeof(buf));
    utNormalizePath(buf);
    return buf;
}

std::string lowerCase(std::string s)
{
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    return s;
}

}  // namespace

MemHandle utReadNumberedList(const char *name, int n)
{
    MemHandle list = 0;
    bool missing = false;
    size_t present = 0;
    for (int i = 1; i <= n; ++i) {
        char value[UT_PATH_SIZE];
        if (setGetString(slotName(name, i).c_str(), value) <= 0 || !value[0])
            continue;
        if (ffExists(value)) {
            list = rcListAppend(list, kDelim, value);
            ++present;
        } else {
            missing = true;
        }
    }
    // Written back only when the list holds every file that still exists:
    // a list cut short by a memory shortage must not replace the stored one.
    if (missing && entries(list).size() == present)
        utWriteNumberedList(name, n, list);
    if (list && entries(list).empty())
        list = utFreeHandle(list);
    return list;
}

int utWriteNumberedList(const char *name, int n, MemHandle list)
{
    std::vector<std::string> items = entries(list);
    int slot = 1;
    for (const std::string &item : items) {
        if (slot > n)
            break;
        char value[UT_PATH_SIZE];
        utStrCopyN(value, item.c_str(), sizeof(value));
        setPutString(slotName(name, slot++).c_str(), value);
    }
    for (; slot <= n; ++slot)
        setPutString(slotName(name, slot).c_str(), "");
    return 1;
}

BOOL utGetFirstNumbered(const char *name, int n, char *buffer)
{
    buffer[0] = 0;
    MemHandle list = utReadNumberedList(name, n);
    std::vector<std::string> items = entries(list);
    utFreeHandle(list);
    if (items.empty())
        return FALSE;
    utStrCopyN(buffer, items[0].c_str(), UT_PATH_SIZE);
    return TRUE;
}

BOOL utListPushFront(const char *name, int n, const char *path)
{
    if (!path || !*path)
        return FALSE;
    std::string p = normalizedPath(path);
    if (p.empty())
        return FALSE;
    MemHandle list = utReadNumberedList(name, n);
    rcListRemoveItem(list, kDelim, p.c_str());
    list = rcListPushFront(list, kDelim, p.c_str());
    std::vector<std::string> items = entries(list);
    if (items.empty() || items[0] != p) {
        // No memory for the new front entry: leave the stored list alone
        // rather than write it back without the entry just removed.
        utFreeHandle(list);
        return FALSE;
    }
    rcListTruncate(list, kDelim, n);
    utWriteNumberedList(name, n, list);
    utFreeHandle(list);
    return TRUE;
}

BOOL utListRemove(const char *name, int n, const char *path)
{
    std::string p = normalizedPath(path ? path : "");
    MemHandle list = utReadNumberedList(name, n);
    BOOL removed = !p.empty() && rcListRemoveItem(list, kDelim, p.c_str());
    utWriteNumberedList(name, n, list);
    utFreeHandle(list);
    return removed;
}

BOOL utListGetByCommand(const char *name, int n, int firstCommand, int command, char *buffer)
{
    buffer[0] = 0;
    int position = command - firstCommand;
    if (position < 0 || position >= n)
        return FALSE;
    MemHandle list = utReadNumberedList(name, n);
    std::vector<std::string> items = entries(list);
    utFreeHandle(list);
    if ((size_t)position >= items.size())
        return FALSE;
    utStrCopyN(buffer, items[position].c_str(), UT_PATH_SIZE);
    return TRUE;
}

MemHandle utListGetHandleByCommand(const char *name, int n, int firstCommand, int command)
{
    char buffer[UT_PATH_SIZE];
    if (!utListGetByCommand(name, n, firstCommand, command, buffer))
        return 0;
    return utHandleFromString(buffer);
}

int utAppendRecentMenu(const char *name, int n, HMENU menu, int firstCommand)
{
    MemHandle list = utReadNumberedList(name, n);
    std::vector<std::string> items = entries(list);
    utFreeHandle(list);
    if (items.empty())
        return 0;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    int added = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!ffExists(items[i].c_str()))
            continue;
        char text[UT_PATH_SIZE + 16];
        snprintf(text, sizeof(text), "&%d. %s", (int)i + 1, lowerCase(items[i]).c_str());
        if (AppendMenuA(menu, MF_STRING, (UINT_PTR)(firstCommand + (int)i), text))
            ++added;
    }
    return added;
}

void utInitRecentFiles(HWND, const char *listFile, int, int firstCommand, int count, BOOL log)
{
    g_firstCommand = firstCommand;
    g_size = count;
    utHistoryFree();
    if (log && listFile && *listFile) {
        // The history log keeps its own copy of the name.
        char name[UT_PATH_SIZE];
        utStrCopyN(name, listFile, sizeof(name));
        utSetExtension(name, "txt");
        utHistorySetPath(name);
    }
}

void utEndRecentFiles() { utHistoryFree(); }

BOOL utAddRecentFile(const char *path)
{
    if (!utListPushFront("File", g_size, path))
        return FALSE;
    utHistoryAdd(normalizedPath(path).c_str());
    return TRUE;
}

BOOL utRemoveRecentFile(const char *path) { return utListRemove("File", g_size, path); }

MemHandle utGetRecentFileByCommand(int command)
{
    return utListGetHandleByCommand("File", g_size, g_firstCommand, command);
}

int utAddRecentFilesToMenu(HMENU menu)
{
    return utAppendRecentMenu("File", g_size, menu, g_firstCommand);
}

BOOL utGetFirstRecentFile(char *buffer) { return utGetFirstNumbered("File", g_size, buffer); }
