#include "command_runner.h"

#include "text_conversion.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

constexpr size_t kCommandBufferUnits = 1024;
constexpr size_t kLongestCommandLine = 32767;  // CreateProcessW's limit, in units

}  // namespace

std::wstring SystemToolPath(const wchar_t* toolFileName)
{
    wchar_t folder[MAX_PATH] = {};
    UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::wstring();
    return std::wstring(folder) + L"\\" + toolFileName;
}

HANDLE StartCommand(const std::string& commandLine, const wchar_t* systemTool)
{
    std::wstring wide;
    AnsiToWide(commandLine, wide);
    if (wide.size() >= kLongestCommandLine) {
        std::printf("error code:%d/n", static_cast<int>(ERROR_FILENAME_EXCED_RANGE));
        std::fflush(stdout);
        return nullptr;
    }

    // A longer command gets a buffer of its own size rather than being cut.
    std::vector<wchar_t> buffer(wide.size() < kCommandBufferUnits ? kCommandBufferUnits
                                                                  : wide.size() + 1,
                                L'\0');
    std::copy(wide.begin(), wide.end(), buffer.begin());

    std::wstring application;
    if (systemTool != nullptr)
        application = SystemToolPath(systemTool);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};

    BOOL started = CreateProcessW(application.empty() ? nullptr : application.c_str(),
                                  buffer.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                                  nullptr, nullptr, &startup, &process);
    DWORD error = GetLastError();
    if (!started) {
        std::printf("error code:%d/n", static_cast<int>(error));
        std::fflush(stdout);
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

int RunCommand(const std::string& commandLine, const wchar_t* systemTool)
{
    HANDLE process = StartCommand(commandLine, systemTool);
    if (process == nullptr)
        return -1;
    CloseHandle(process);
    return 0;
}

int KillProcessByName(const std::string& imageName)
{
    if (!imageName.empty())
        RunCommand("taskkill /f /t /im " + imageName, L"taskkill.exe");
    return 0;
}
