// Registry settings: one key per program version, opened and closed around
// every access, and the folders the program takes its files from.
#include "app/settings_reg.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

char g_product[32] = "Quillmark Draw";
char g_versionKey[32] = "Quillmark Draw Version 2.50";
HKEY g_levels[4] = {};
char g_programDir[MAX_PATH] = "";
bool g_homeDirSet = false;

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

void ensureProgramDir()
{
    if (g_programDir[0])
        return;
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (n == 0 || n >= sizeof(path))
        return;
    char *slash = strrchr(path, '\\');
    if (slash)
        slash[1] = 0;
    utStrCopyN(g_programDir, path, sizeof(g_programDir));
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
        DWORD type = 0, size = 260;
        if (RegQueryValueExA(key, name, nullptr, &type, (BYTE *)buffer, &size) != ERROR_SUCCESS
            || type != REG_SZ) {
            buffer[0] = 0;
            return 0;
        }
        buffer[size < 260 ? size : 259] = 0;
        return (int)size;
    }, 0);
}

int setPutString(const char *name, const char *text)
{
    int len = (int)strlen(text);
    return withAppKey([&](HKEY key) -> int {
        return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)len) == ERROR_SUCCESS
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

BOOL setInitPaths(const char *product, const char *versionKey, const char *programDir)
{
    if (product && versionKey)
        setSetKeyNames(product, versionKey);
    if (programDir && *programDir)
        utStrCopyN(g_programDir, programDir, sizeof(g_programDir));
    else
        ensureProgramDir();
    char home[260];
    g_homeDirSet = setGetString("UserHomeDir", home) > 0 && home[0];
    return TRUE;
}

void setFreePaths()
{
    g_programDir[0] = 0;
    g_homeDirSet = false;
}

BOOL setGetProgramDir(char *buffer)
{
    ensureProgramDir();
    utStrCopyN(buffer, g_programDir, MAX_PATH);
    return buffer[0] != 0;
}

char *setGetHomeDir(char *buffer)
{
    char home[260];
    if (g_homeDirSet && setGetString("UserHomeDir", home) > 0 && home[0]) {
        utStrCopyN(buffer, home, MAX_PATH);
        return buffer;
    }
    setGetProgramDir(buffer);
    return buffer;
}

char *setGetHomeFilePath(char *buffer, const char *fileName)
{
    char dir[MAX_PATH];
    setGetHomeDir(dir);
    size_t len = strlen(dir);
    if (len && dir[len - 1] != '\\')
        utStrAppendN(dir, "\\", sizeof(dir));
    utStrCopyN(buffer, dir, MAX_PATH);
    utStrAppendN(buffer, fileName, MAX_PATH);
    return buffer;
}

BOOL setPutHomeDir(const char *folder)
{
    BOOL ok = setPutString("UserHomeDir", folder) > 0 || !*folder;
    g_homeDirSet = folder && *folder;
    return ok;
}
