#include "tests/support/kit.h"
#include "support/ut_mem.h"

namespace qmtest {

namespace {
void removeTree(const std::string &dir)
{
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = dir + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}
}  // namespace

TempDir::TempDir()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof(base), base);
    static int serial = 0;
    for (;;) {
        char name[MAX_PATH];
        wsprintfA(name, "%sqmtest_%lu_%d", base, (unsigned long)GetCurrentProcessId(), ++serial);
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
}

TempDir::~TempDir()
{
    if (!path_.empty())
        removeTree(path_);
}

bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(f, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes.size();
}

bool writeFile(const std::string &path, const std::string &bytes)
{
    return writeFile(path, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

std::vector<uint8_t> readFile(const std::string &path)
{
    std::vector<uint8_t> out;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return out;
    DWORD size = GetFileSize(f, nullptr);
    if (size != INVALID_FILE_SIZE && size) {
        out.resize(size);
        DWORD got = 0;
        if (!ReadFile(f, out.data(), size, &got, nullptr) || got != size)
            out.clear();
    }
    CloseHandle(f);
    return out;
}

bool fileIsClosed(const std::string &path)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return GetLastError() != ERROR_SHARING_VIOLATION;
    CloseHandle(f);
    return true;
}

long liveHandles() { return utLiveHandleCount(); }

int runSelf(const std::string &arguments,
            const std::vector<std::pair<std::string, std::string>> &environment)
{
    char program[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, program, sizeof program);
    if (!n || n + 3 >= sizeof program)
        return -1;
    // A Winelib program is its module "NAME.exe.so" beside the launcher
    // script "NAME.exe" that the module name gives.
    std::string module = program;
    if (GetFileAttributesA((module + ".so").c_str()) != INVALID_FILE_ATTRIBUTES)
        module += ".so";
    for (const auto &v : environment)
        SetEnvironmentVariableA(v.first.c_str(), v.second.c_str());
    std::string line = "\"" + module + "\" " + arguments;
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION child = {};
    BOOL made = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &start, &child);
    for (const auto &v : environment)
        SetEnvironmentVariableA(v.first.c_str(), nullptr);
    if (!made)
        return -1;
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = (DWORD)-1;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return (int)code;
}

std::string environmentValue(const char *name)
{
    char value[1024];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n && n < sizeof value ? std::string(value, n) : std::string();
}

}  // namespace qmtest
