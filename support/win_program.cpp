#include "support/win_program.h"
#include "support/ut_msg.h"
#include <string>
#include <vector>

namespace {
WinCreateProcessHook g_create = nullptr;

// One CreateProcessA call; the process's handles are closed when it
// started, since nothing waits for it.
BOOL startProcess(const char *application, const std::string &commandLine)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    const BOOL started =
        g_create ? g_create(application, line.data(), &startup, &info)
                 : CreateProcessA(application, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &info);
    if (started) {
        if (info.hThread)
            CloseHandle(info.hThread);
        if (info.hProcess)
            CloseHandle(info.hProcess);
    }
    return started;
}

// ".EXE" followed by a blank and more text: the end of the path (just after
// ".EXE"), else npos.
size_t exePathEnd(const std::string &line)
{
    std::string upper = line;
    CharUpperBuffA(&upper[0], (DWORD)upper.size());
    size_t at = upper.find(".EXE ");
    if (at == std::string::npos || at + 5 >= upper.size())
        return std::string::npos;
    return at + 4;
}
}  // namespace

void winSetCreateProcessHook(WinCreateProcessHook hook) { g_create = hook; }

BOOL winRunProgram(HWND owner, const char *commandLine)
{
    const std::string line = commandLine ? commandLine : "";
    if (!line.empty()) {
        if (startProcess(nullptr, line))
            return TRUE;
        const size_t end = exePathEnd(line);
        if (end != std::string::npos &&
            startProcess(line.substr(0, end).c_str(), line.substr(end + 1)))
            return TRUE;
    }
    const std::string text = "Failed to execute: \r\n" + line;
    utMessageBox(owner, text.c_str(), MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

BOOL winOpenInTextEditor(HWND owner, const char *path)
{
    std::string line = "notepad.exe ";
    std::string file = path ? path : "";
    if (file.size() >= 2 && file.front() == '"' && file.back() == '"')
        line += file;
    else
        line += "\"" + file + "\"";
    return winRunProgram(owner, line.c_str());
}
