// Registry settings: one key per program version, opened and closed around
// every access, and the folders the program takes its files from.
#include "support/settings_reg.h"
#include "support/win_wheel.h"
#include "support/win_place.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"
#include "support/ut_text.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

const uint32_t kNameSize = 32;       // key names are cut to 31 characters
const uint32_t kStringSize = 260;    // string values are read into 260 bytes
const uint32_t kFolderHandleSize = 261;

char g_product[kNameSize] = "Quillmark Draw";
char g_versionKey[kNameSize] = "Quillmark Draw Version 2.50";
HKEY g_levels[4] = {};
MemHandle g_programDir = 0;
MemHandle g_lastFolder = 0;
MemHandle g_lastFileName = 0;
MemHandle g_title = 0;
bool g_homeDirSet = false;
SetWinVersion g_version = {};

void closeLevels()
{
    for (int i = 3; i >= 0; --i)
        if (g_levels[i]) {
            RegCloseKey(g_levels[i]);
            g_levels[i] = nullptr;
        }
}

// Runs fn with the open application key; the key is closed afterwards.
template <typename F>
auto withAppKey(F fn, decltype(fn((HKEY)0)) failed) -> decltype(fn((HKEY)0))
{
    HKEY key = regOpenAppKey();
    if (!key)
        return failed;
    auto result = fn(key);
    regCloseAppKey();
    return result;
}

// Copies the text of a string handle into a buffer of `size` bytes.
char *copyFromHandle(char *buffer, MemHandle h, uint32_t size)
{
    buffer[0] = 0;
    uint32_t have = utHandleSize(h);
    if (have) {
        MemLock<char> p(h);
        if (p)
            utStrCopyN(buffer, p.get(), have + 1 < size ? have + 1 : size);
    }
    return buffer;
}

// Writes a text into a fixed-size string handle, cut to fit.
void copyIntoHandle(MemHandle h, const char *text)
{
    uint32_t size = utHandleSize(h);
    if (!size)
        return;
    MemLock<char> p(h);
    if (p)
        utStrCopyN(p.get(), text, size);
}

// The folder of the program's own file, with its trailing backslash.
std::string moduleFolder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (n == 0 || n >= sizeof(path))
        return std::string();
    char *slash = strrchr(path, '\\');
    if (slash)
        slash[1] = 0;
    return path;
}

std::string withoutTrailingBackslash(const char *s)
{
    std::string out = s ? s : "";
    if (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

}  // namespace

void setSetKeyNames(const char *product, const char *versionKey)
{
    utStrCopyN(g_product, product, sizeof(g_product));
    utStrCopyN(g_versionKey, versionKey, sizeof(g_versionKey));
}

const char *setGetProductName() { return g_product; }
const char *setGetVersionKey() { return g_versionKey; }

HKEY regOpenAppKey()
{
    closeLevels();
    const char *names[4] = {"Software", "Verdant Arcade", g_product, g_versionKey};
    HKEY parent = HKEY_CURRENT_USER;
    for (int i = 0; i < 4; ++i) {
        DWORD disposition;
        if (RegCreateKeyExA(parent, names[i], 0, (LPSTR) "", 0, KEY_ALL_ACCESS, nullptr,
                            &g_levels[i], &disposition) != ERROR_SUCCESS) {
            g_levels[i] = nullptr;
            closeLevels();
            return nullptr;
        }
        parent = g_levels[i];
    }
    return g_levels[3];
}

void regCloseAppKey() { closeLevels(); }

int setGetString(const char *name, char *buffer)
{
    buffer[0] = 0;
    return withAppKey([&](HKEY key) -> int {
        DWORD type = 0, size = kStringSize;
        if (RegQueryValueExA(key, name, nullptr, &type, (BYTE *)buffer, &size) != ERROR_SUCCESS
            || type != REG_SZ) {
            buffer[0] = 0;
            return 0;
        }
        // A value written without its terminator fills the bytes it has:
        // terminate it within the buffer.
        buffer[size < kStringSize ? size : kStringSize - 1] = 0;
        return (int)size;
    }, 0);
}

int setPutString(const char *name, const char *text)
{
    if (!text)
        text = "";
    int len = (int)strlen(text);
    return withAppKey([&](HKEY key) -> int {
        return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)len + 1)
                       == ERROR_SUCCESS
                   ? len : 0;
    }, 0);
}

namespace {
bool readNumber(const char *name, DWORD *value)
{
    return withAppKey([&](HKEY key) -> bool {
        DWORD type = 0, size = sizeof(DWORD), v = 0;
        if (RegQueryValueExA(key, name, nullptr, &type, (BYTE *)&v, &size) != ERROR_SUCCESS
            || type != REG_DWORD || size != 4)
            return false;
        *value = v;
        return true;
    }, false);
}
}  // namespace

DWORD setGetNumber(const char *name)
{
    DWORD v = 0;
    return readNumber(name, &v) ? v : 0;
}

BOOL setHasNumber(const char *name)
{
    DWORD v;
    return readNumber(name, &v);
}

BOOL setPutNumber(const char *name, DWORD value)
{
    return withAppKey([&](HKEY key) -> BOOL {
        return RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&value, 4) == ERROR_SUCCESS;
    }, FALSE);
}

BOOL setDeleteValue(const char *name)
{
    return withAppKey([&](HKEY key) -> BOOL {
        return RegDeleteValueA(key, name) == ERROR_SUCCESS;
    }, FALSE);
}

int setGetNumberList(const char *name, int32_t *values, int n)
{
    if (n < 1 || n > 10)
        return 0;
    char text[kStringSize];
    if (setGetString(name, text) <= 0)
        return 0;
    // One word more than asked for tells a longer list apart.
    char *words[11];
    if (utSplitWords(text, words, n + 1) != n)
        return 0;
    for (int i = 0; i < n; ++i) {
        // A lone sign passes the integer test but is no number.
        if (utIsIntegerText(words[i]) != 1 || !strpbrk(words[i], "0123456789"))
            return 0;
        long long v = strtoll(words[i], nullptr, 10);
        values[i] = v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : (int32_t)v;
    }
    return 1;
}

int setParseRect(const char *text, RECT *rect, BOOL keepOnScreen)
{
    int l, t, r, b;
    if (!text || sscanf(text, "%d, %d, %d, %d", &l, &t, &r, &b) != 4)
        return 0;
    RECT got = {l, t, r, b};
    if (IsRectEmpty(&got))
        return 0;
    if (keepOnScreen)
        winKeepRectOnScreen(&got);
    *rect = got;
    return 1;
}

int setFormatRect(char *buffer, const RECT *rect)
{
    buffer[0] = 0;
    if (!rect || IsRectEmpty(rect))
        return 0;
    sprintf(buffer, "%d, %d, %d, %d", (int)rect->left, (int)rect->top, (int)rect->right,
            (int)rect->bottom);
    return 1;
}

BOOL setPutFolderOf(const char *name, const char *path)
{
    char folder[UT_PATH_SIZE];
    utStrCopyN(folder, path, sizeof(folder));
    utGetFolder(folder);
    return setPutString(name, folder) > 0 || !folder[0];
}

COLORREF setGetHLBlockColor()
{
    DWORD v;
    return readNumber("HLBlockColor", &v) ? v : 0x7F7F7F;
}

// ---- folders -----------------------------------------------------------------

BOOL setInitPaths(const char *product, const char *versionKey, const char *programDir,
                  const char *formatText)
{
    setReadWinVersion();
    setFreePaths();

    std::string dir = (programDir && *programDir) ? std::string(programDir) : moduleFolder();
    if (!dir.empty() && dir.back() != '\\')
        dir += '\\';
    g_programDir = utHandleFromString(dir.c_str());
    g_lastFolder = utAllocHandle(0, kFolderHandleSize);
    g_lastFileName = utAllocHandle(0, kFolderHandleSize);

    if (product) {
        if (versionKey) {
            setSetKeyNames(product, versionKey);
        } else {
            // "Version %s" filled with the file-format version 250 written
            // with a point after its first digit.
            char version[64], key[128];
            snprintf(version, sizeof(version), formatText ? formatText : "Version %s", "2.50");
            snprintf(key, sizeof(key), "%s %s", product, version);
            setSetKeyNames(product, key);
        }
        if (!g_title)
            appSetTitle(product);
    }

    char home[kStringSize];
    g_homeDirSet = setGetString("UserHomeDir", home) > 0 && home[0];
    copyIntoHandle(g_lastFolder, g_homeDirSet ? home : dir.c_str());
    return g_lastFolder && g_lastFileName;
}

void setFreePaths()
{
    g_programDir = utFreeHandle(g_programDir);
    g_lastFolder = utFreeHandle(g_lastFolder);
    g_lastFileName = utFreeHandle(g_lastFileName);
    g_homeDirSet = false;
}

BOOL setGetProgramDir(char *buffer)
{
    if (g_programDir)
        copyFromHandle(buffer, g_programDir, UT_PATH_SIZE);
    else
        utStrCopyN(buffer, moduleFolder().c_str(), UT_PATH_SIZE);
    return buffer[0] != 0;
}

char *setGetProgramFilePath(char *buffer, const char *fileName)
{
    char dir[UT_PATH_SIZE];
    setGetProgramDir(dir);
    return utJoinPath(buffer, dir, fileName);
}

MemHandle setDupProgramFilePath(const char *fileName)
{
    char path[UT_PATH_SIZE];
    return utHandleFromString(setGetProgramFilePath(path, fileName));
}

char *setGetHomeDir(char *buffer)
{
    char home[kStringSize];
    if (g_homeDirSet && setGetString("UserHomeDir", home) > 0 && home[0]) {
        utStrCopyN(buffer, home, UT_PATH_SIZE);
        return buffer;
    }
    setGetProgramDir(buffer);
    return buffer;
}

char *setGetHomeFilePath(char *buffer, const char *fileName)
{
    char dir[UT_PATH_SIZE];
    setGetHomeDir(dir);
    return utJoinPath(buffer, dir, fileName);
}

BOOL setPutHomeDir(const char *folder)
{
    if (!folder)
        folder = "";
    return setPutString("UserHomeDir", folder) > 0 || !*folder;
}

char *setGetLastFolder(char *buffer) { return copyFromHandle(buffer, g_lastFolder, UT_PATH_SIZE); }
void setPutLastFolder(const char *folder) { copyIntoHandle(g_lastFolder, folder ? folder : ""); }
char *setGetLastFileName(char *buffer)
{
    return copyFromHandle(buffer, g_lastFileName, UT_PATH_SIZE);
}
void setPutLastFileName(const char *name) { copyIntoHandle(g_lastFileName, name ? name : ""); }

char *setStripQuotes(char *path)
{
    size_t n = path ? strlen(path) : 0;
    if (n >= 2 && path[0] == '"' && path[n - 1] == '"') {
        memmove(path, path + 1, n - 2);
        path[n - 2] = 0;
    }
    return path;
}

BOOL setSamePath(const char *a, const char *b)
{
    return lstrcmpiA(withoutTrailingBackslash(a).c_str(), withoutTrailingBackslash(b).c_str())
           == 0;
}

// ---- Windows version -------------------------------------------------------------

BOOL setReadWinVersion()
{
    g_version = SetWinVersion{};
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    static_assert(sizeof(OSVERSIONINFOA) == 148, "version record is 148 bytes");
    if (GetVersionExA(&info)) {
        bool nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
        bool win = info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
        g_version.isNT = nt;
        g_version.nt4 = nt && info.dwMajorVersion == 4;
        g_version.nt5OrLater = nt && info.dwMajorVersion >= 5;
        g_version.build1000 = win && (info.dwBuildNumber & 0xFFFF) > 1000;
        g_version.major4 = info.dwMajorVersion >= 4 || (win && info.dwMinorVersion > 0);
        g_version.nativeWheel = (nt && info.dwMajorVersion >= 4)
                                || (win && info.dwMajorVersion == 4 && info.dwMinorVersion >= 10);
    }
    if (!g_version.nativeWheel)
        winInitWheel();
    return g_version.nativeWheel;
}

const SetWinVersion &setGetWinVersion() { return g_version; }

// ---- application title -----------------------------------------------------------

char *appGetTitle(char *buffer, int size)
{
    if (size <= 0)
        return buffer;
    buffer[0] = 0;
    MemLock<char> p(g_title);
    if (p)
        utStrCopyN(buffer, p.get(), (uint32_t)size);
    return buffer;
}

void appSetTitle(const char *title)
{
    utFreeHandle(g_title);
    g_title = utHandleFromString(title);   // 0 for an empty title
}
