// Readers of list-source files.
#include "forms/lbl_source.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

// The file's lines (CR LF or LF ends, at most 1023 characters a line as the
// format reads them); FALSE after "Can not open %s" when it cannot be read.
bool readLines(HWND owner, const char *path, std::vector<std::string> *lines)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        char text[MAX_PATH + 32];
        snprintf(text, sizeof(text), "Can not open %s", path);
        utErrorBox(owner, text);
        return false;
    }
    std::string all;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got)
        all.append(buffer, got);
    CloseHandle(file);
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        if (end == std::string::npos)
            end = all.size();
        std::string line = all.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        for (size_t at = 0; at < line.size() || at == 0; at += 1023) {
            lines->push_back(line.substr(at, 1023));
            if (line.size() <= 1023)
                break;
        }
        start = end + 1;
    }
    return true;
}

std::string trimmed(const std::string &s)
{
    size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos)
        return std::string();
    size_t b = s.find_last_not_of(" \t\r\n");
    return s.substr(a, b - a + 1);
}

std::string sectionName(const std::string &line)
{
    std::vector<char> copy(line.begin(), line.end());
    copy.push_back('\0');
    lblTrimSectionName(copy.data());
    return copy.data();
}

}  // namespace

void lblTrimSectionName(char *line)
{
    std::string s = trimmed(line);
    if (!s.empty() && s[0] == '[') {
        size_t close = s.find(']');
        if (close != std::string::npos) {
            s = s.substr(0, close);
            size_t a = s.find_first_not_of('[');
            s = a == std::string::npos ? std::string() : s.substr(a);
        }
    }
    memcpy(line, s.c_str(), s.size() + 1);
}

MemHandle lblReadSectionItems(HWND owner, const char *path, const char *section, char delimiter)
{
    std::string wanted = trimmed(section ? section : "");
    while (!wanted.empty() && wanted.front() == '[')
        wanted.erase(0, 1);
    while (!wanted.empty() && wanted.back() == ']')
        wanted.pop_back();
    wanted = trimmed(wanted);
    std::vector<std::string> lines;
    if (wanted.empty() || !readLines(owner, path, &lines))
        return 0;
    std::string items;
    bool inside = false;
    for (const std::string &raw : lines) {
        if (!inside) {
            inside = !raw.empty() && raw[0] == '[' &&
                     lstrcmpiA(sectionName(raw).c_str(), wanted.c_str()) == 0;
            continue;
        }
        std::string item = trimmed(raw);
        if (!item.empty() && item[0] == '[')
            break;
        if (item.empty() || item[0] == ';')
            continue;
        items += item;
        items += delimiter;
    }
    return items.empty() ? 0 : utHandleFromString(items.c_str());
}

MemHandle lblReadSectionNames(HWND owner, const char *path, char delimiter, BOOL strip)
{
    std::vector<std::string> lines;
    if (!readLines(owner, path, &lines))
        return 0;
    std::string names;
    for (const std::string &line : lines) {
        if (line.empty() || line[0] != '[')
            continue;
        std::string name = line;
        if (strip) {
            name.erase(0, 1);
            if (!name.empty() && name.back() == ']')
                name.pop_back();
        }
        names += name;
        names += delimiter;
    }
    return names.empty() ? 0 : utHandleFromString(names.c_str());
}
