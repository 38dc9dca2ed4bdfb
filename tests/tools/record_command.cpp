// Records how it was started: its command line and show state, one line in
// the file named by KIT_RECORD_FILE ("<show>|<command line>"). Then it waits
// KIT_RECORD_SLEEP_MS milliseconds, starting the program named by
// KIT_RECORD_SPAWN first when set, so tests can watch a running process tree.
#include "command_log.h"

int wmain()
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    AppendCommandLog(L"KIT_RECORD_FILE", std::to_wstring(show) + L"|" + GetCommandLineW());

    wchar_t spawn[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"KIT_RECORD_SPAWN", spawn, MAX_PATH) > 0) {
        SetEnvironmentVariableW(L"KIT_RECORD_SPAWN", nullptr);
        STARTUPINFOW childStartup = {};
        childStartup.cb = sizeof childStartup;
        PROCESS_INFORMATION child = {};
        std::wstring commandLine = std::wstring(L"\"") + spawn + L"\"";
        if (CreateProcessW(spawn, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &childStartup, &child)) {
            CloseHandle(child.hThread);
            CloseHandle(child.hProcess);
        }
    }
    wchar_t sleep[32] = {};
    if (GetEnvironmentVariableW(L"KIT_RECORD_SLEEP_MS", sleep, 32) > 0)
        Sleep(static_cast<DWORD>(_wtoi(sleep)));
    return 0;
}
