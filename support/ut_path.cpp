// Paths: split, join, extensions, normalisation, relative and absolute
// forms, and temporary file names. Everything that touches the disk goes
// through the Win32 API: the C runtime here does not understand Windows
// paths.
#include "support/ut_path.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c; }

bool equalNoCase(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

void copyOut(char *dst, const std::string &s)
{
    if (dst)
        utStrCopyN(dst, s.c_str(), UT_PATH_SIZE);
}

std::string stripTrailingBlanks(const char *s)
{
    std::string out = s ? s : "";
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// The four parts of a path, as _splitpath separates them.
struct PathParts {
    std::string drive, folder, name, ext;
};

PathParts splitPath(const char *path)
{
    PathParts parts;
    std::string p = path ? path : "";
    size_t pos = 0;
    if (p.size() >= 2 && p[1] == ':') {
        parts.drive = p.substr(0, 2);
        pos = 2;
    }
    size_t lastSep = std::string::npos;
    for (size_t i = pos; i < p.size(); ++i)
        if (isSeparator(p[i]))
            lastSep = i;
    if (lastSep != std::string::npos) {
        parts.folder = p.substr(pos, lastSep + 1 - pos);
        pos = lastSep + 1;
    }
    std::string rest = p.substr(pos);
    size_t dot = rest.rfind('.');
    if (dot != std::string::npos) {
        parts.name = rest.substr(0, dot);
        parts.ext = rest.substr(dot);
    } else {
        parts.name = rest;
    }
    return parts;
}

std::string makePath(const char *drive, const char *folder, const char *name, const char *ext)
{
    std::string out;
    if (drive && *drive) {
        out += drive;
        if (out.back() != ':')
            out += ':';
    }
    if (folder && *folder) {
        out += folder;
        if (!isSeparator(out.back()))
            out += '\\';
    }
    if (name)
        out += name;
    if (ext && *ext) {
        if (*ext != '.')
            out += '.';
        out += ext;
    }
    return out;
}

// Step of the normaliser: folds every "<sep>..<sep>" with the folder name in
// front of it, scanning from the start of the path. An occurrence with no
// separator between the scan position and itself (a ".." that climbs above
// the root, or a second ".." after one kept) stays, and the scan moves past
// it.
void foldParentSteps(std::string &p, char sep)
{
    const std::string pattern = std::string(1, sep) + ".." + sep;
    size_t scan = 0;
    while (scan < p.size()) {
        size_t occ = p.find(pattern, scan);
        if (occ == std::string::npos)
            break;
        size_t closing = occ + 3;
        size_t last = std::string::npos;
        for (size_t i = scan; i < occ; ++i)
            if (p[i] == sep)
                last = i;
        if (last != std::string::npos)
            p.erase(last, closing - last);
        else
            scan = closing;
    }
}

// Removes one of every pair of sep characters, starting at `from`.
void removeDoubled(std::string &p, char sep, size_t from)
{
    for (size_t i = from; i + 1 < p.size();) {
        if (p[i] == sep && p[i + 1] == sep)
            p.erase(i + 1, 1);
        else
            ++i;
    }
}

// The folder of a path for a temporary name: its drive and folder, or the
// current folder when it has none.
std::string folderForTemp(const char *path)
{
    PathParts parts = splitPath(path);
    std::string folder = parts.drive + parts.folder;
    if (!folder.empty())
        return folder;
    char current[UT_PATH_SIZE];
    DWORD n = GetCurrentDirectoryA(sizeof(current), current);
    return (n > 0 && n < sizeof(current)) ? std::string(current) : std::string(".");
}

}  // namespace

void utSplitPath(const char *path, char *drive, char *folder, char *name, char *ext)
{
    PathParts parts = splitPath(path);
    copyOut(drive, parts.drive);
    copyOut(folder, parts.folder);
    copyOut(name, parts.name);
    copyOut(ext, parts.ext);
}

void utMakePath(char *out, const char *drive, const char *folder, const char *name,
                const char *ext)
{
    copyOut(out, makePath(drive, folder, name, ext));
}

int utAddDefaultExt(char *path, const char *ext)
{
    if (strchr(path, '.'))
        return 0;
    utStrAppendN(path, ".", UT_PATH_SIZE);
    utStrAppendN(path, ext ? ext : "", UT_PATH_SIZE);
    return 1;
}

char *utCopyNameNoExt(char *dst, const char *name, int n)
{
    int i = 0;
    if (name)
        for (; i < n && name[i] && name[i] != '.'; ++i)
            dst[i] = name[i];
    dst[i] = 0;
    return dst;
}

void utSplitFolderName(const char *path, char *folder, char *name)
{
    PathParts parts = splitPath(path);
    copyOut(folder, parts.drive + parts.folder);
    copyOut(name, parts.name + parts.ext);
}

char *utStripFolder(char *path)
{
    PathParts parts = splitPath(path);
    copyOut(path, parts.name + parts.ext);
    return path;
}

BOOL utHasNoFolder(const char *path)
{
    PathParts parts = splitPath(path);
    return equalNoCase(path ? path : "", parts.name + parts.ext);
}

char *utGetFolder(char *path)
{
    if (ffIsFolder(path))
        return path;
    PathParts parts = splitPath(path);
    copyOut(path, parts.drive + parts.folder);
    return path;
}

BOOL utIsFolderPath(const char *path)
{
    char folder[UT_PATH_SIZE];
    utStrCopyN(folder, path, sizeof(folder));
    utGetFolder(folder);
    return equalNoCase(path ? path : "", folder);
}

char *utGetExtension(char *path)
{
    PathParts parts = splitPath(path);
    copyOut(path, parts.ext);
    return parts.ext.empty() ? nullptr : path;
}

char *utGetExtensionNoDot(char *path)
{
    if (!path || !*path || !utGetExtension(path))
        return nullptr;
    memmove(path, path + 1, strlen(path));
    return path;
}

char *utSetExtension(char *path, const char *ext)
{
    if (!path || !*path)
        return nullptr;
    if (ext && *ext == '.')
        ++ext;
    // Only a point in the file-name part marks an extension: a point in a
    // folder name ("D:\v1.2\notes") is part of that folder.
    std::string p = path;
    size_t nameStart = 0;
    for (size_t i = 0; i < p.size(); ++i)
        if (isSeparator(p[i]) || (i == 1 && p[i] == ':'))
            nameStart = i + 1;
    size_t dot = p.rfind('.');
    bool hasDot = dot != std::string::npos && dot >= nameStart;
    if (ext && *ext) {
        p = (hasDot ? p.substr(0, dot) : p) + "." + ext;
    } else if (hasDot) {
        p.resize(dot);
    }
    copyOut(path, p);
    return path;
}

int utNormalizePath(char *path)
{
    std::string p = path;
    size_t first = p.find_first_not_of(' ');
    if (first == std::string::npos)
        p.clear();
    else
        p = p.substr(first, p.find_last_not_of(' ') - first + 1);

    foldParentSteps(p, '\\');
    // Scanned from the start of the path like the backslash form, so that a
    // "/../" ahead of where that scan stopped is folded too.
    foldParentSteps(p, '/');

    bool web = p.size() >= 4 && equalNoCase(p.substr(0, 4), "http");
    if (!p.empty() && !web) {
        removeDoubled(p, '\\', (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') ? 1 : 0);
        removeDoubled(p, '/', 0);
    }
    copyOut(path, p);
    return 1;
}

BOOL utIsAbsolutePath(const char *path)
{
    if (!path)
        return FALSE;
    size_t n = strlen(path);
    if (n >= 3 && isLetter(path[0]) && path[1] == ':')
        return TRUE;
    return n >= 2 && path[0] == '\\' && path[1] == '\\';
}

char *utJoinPath(char *dst, const char *folder, const char *name)
{
    std::string f = stripTrailingBlanks(folder);
    std::string n = stripTrailingBlanks(name);
    if (utIsAbsolutePath(n.c_str())) {
        copyOut(dst, n);
        return dst;
    }
    copyOut(dst, makePath(nullptr, f.c_str(), n.c_str(), nullptr));
    utNormalizePath(dst);
    return dst;
}

MemHandle utMakeRelativePath(const char *path, const char *base)
{
    std::string p = path ? path : "";
    std::string b = base ? base : "";
    PathParts pp = splitPath(p.c_str());

    // 1. The file lies in the base folder itself.
    if (pp.drive + pp.folder == b)
        return utHandleFromString((pp.name + pp.ext).c_str());

    // 2. The path lies below the base. The base must end at a folder
    //    boundary, so that "D:\a" is no prefix of "D:\ab\x.txt".
    if (!b.empty() && p.size() > b.size() && equalNoCase(p.substr(0, b.size()), b)
        && (isSeparator(b.back()) || isSeparator(p[b.size()]))) {
        std::string rest = p.substr(b.size());
        if (!rest.empty() && isSeparator(rest[0]))
            rest.erase(0, 1);
        return utHandleFromString(rest.c_str());
    }

    // 3. Same drive: climb from the base to the last common folder.
    PathParts bp = splitPath(b.c_str());
    if (equalNoCase(pp.drive, bp.drive)) {
        size_t i = 0;
        size_t common = std::string::npos;
        while (i < p.size() && i < b.size() && lowerAscii(p[i]) == lowerAscii(b[i])) {
            if (isSeparator(p[i]))
                common = i;
            ++i;
        }
        if (common != std::string::npos) {
            std::string out = "..\\";
            for (size_t k = common + 1; k < b.size(); ++k)
                if (isSeparator(b[k]) && k + 1 < b.size())
                    out += "..\\";
            out += p.substr(common + 1);
            return utHandleFromString(out.c_str());
        }
    }

    // 4. Nothing in common.
    return utHandleFromString(p.c_str());
}

MemHandle utMakeAbsolutePath(const char *path, const char *base)
{
    std::string p = stripTrailingBlanks(path);
    std::string b = stripTrailingBlanks(base);
    if (utIsAbsolutePath(p.c_str()))
        return utHandleFromString(p.c_str());
    if (!p.empty() && p[0] == '\\') {
        size_t colon = b.find(':');
        std::string drive = colon == std::string::npos ? std::string() : b.substr(0, colon + 1);
        return utHandleFromString((drive + p).c_str());
    }
    char joined[UT_PATH_SIZE];
    utJoinPath(joined, b.c_str(), p.c_str());
    return utHandleFromString(joined);
}

BOOL utCheckDirPath(const char *path)
{
    if (!path || !*path)
        return FALSE;
    // The listing call changes the current folder when the path names one;
    // the check must leave it as it was.
    char current[UT_PATH_SIZE];
    DWORD n = GetCurrentDirectoryA(sizeof(current), current);
    char pattern[UT_PATH_SIZE];
    utStrCopyN(pattern, path, sizeof(pattern));
    BOOL ok = DlgDirListA(nullptr, pattern, 0, 0, DDL_READWRITE) != 0;
    if (n > 0 && n < sizeof(current))
        SetCurrentDirectoryA(current);
    return ok;
}

int utMakeTempFileName(char *path, BOOL beside, BOOL keep)
{
    std::string folder;
    if (beside) {
        folder = folderForTemp(path);
    } else {
        char temp[UT_PATH_SIZE];
        DWORD n = GetTempPathA(sizeof(temp), temp);
        if (n == 0 || n >= sizeof(temp))
            return 0;
        folder = temp;
    }
    char name[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), "~", 0, name))
        return 0;
    if (!keep)
        DeleteFileA(name);
    utStrCopyN(path, name, UT_PATH_SIZE);
    return 1;
}

BOOL utTempNameBeside(char *dst, const char *path)
{
    char name[UT_PATH_SIZE];
    utStrCopyN(name, path, sizeof(name));
    if (!utMakeTempFileName(name, TRUE, FALSE)) {
        dst[0] = 0;
        return FALSE;
    }
    utStrCopyN(dst, name, UT_PATH_SIZE);
    return TRUE;
}

BOOL utRenameToTemp(char *path)
{
    if (!path || !*path)
        return FALSE;
    char temp[UT_PATH_SIZE];
    if (!utTempNameBeside(temp, path) || !ffRename(path, temp))
        return FALSE;
    utStrCopyN(path, temp, UT_PATH_SIZE);
    return TRUE;
}

MemHandle utTempNameHandle(MemHandle path)
{
    char name[UT_PATH_SIZE] = "";
    uint32_t size = utHandleSize(path);
    if (size) {
        // Read no further than the block, terminated or not.
        MemLock<char> p(path);
        if (p)
            utStrCopyN(name, p.get(), size + 1 < sizeof(name) ? size + 1 : sizeof(name));
    }
    if (!name[0]) {
        utJoinPath(name, folderForTemp("").c_str(), "x");
    }
    char temp[UT_PATH_SIZE];
    if (!utTempNameBeside(temp, name))
        return 0;
    return utHandleFromString(temp);
}
