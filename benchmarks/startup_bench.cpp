// Measures a program's start-up from outside: the time from its process's
// creation (GetProcessTimes) to the moment, once its window is visible, that
// it waits for input with an empty queue (WaitForInputIdle), which comes
// after its first WM_PAINT has been handled. The median of several runs;
// each run is ended afterwards.
//   startup_bench <program> <working folder> <runs>
// Prints "RESULT median_ms <value>" and "RESULT window <0|1>" (a visible
// window of the process was found every time).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

unsigned long long Ticks(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

struct Search {
    DWORD process;
    bool found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter)
{
    Search* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds from creation to the first idle wait; negative on failure.
double OneRun(const std::wstring& program, const std::wstring& folder, bool& window)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info))
        return -1;
    // First a visible window, then the first wait for input after it: the
    // idle wait alone may come while the program still sets up.
    Search search = {info.dwProcessId, false};
    const DWORD started = GetTickCount();
    while (!search.found && GetTickCount() - started < 20000 &&
           WaitForSingleObject(info.hProcess, 1) == WAIT_TIMEOUT)
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    window = window && search.found;
    double ms = -1;
    if (search.found && WaitForInputIdle(info.hProcess, 20000) == 0) {
        FILETIME now, creation, exit, kernel, user;
        GetSystemTimeAsFileTime(&now);
        if (GetProcessTimes(info.hProcess, &creation, &exit, &kernel, &user))
            ms = static_cast<double>(Ticks(now) - Ticks(creation)) / 10000.0;
    }
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ms;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc == 4 ? _wtoi(argv[3]) : 0;
    if (runs <= 0) {
        std::fprintf(stderr, "usage: startup_bench <program> <working folder> <runs>\n");
        return 2;
    }
    std::vector<double> times;
    bool window = true;
    for (int i = 0; i < runs; ++i) {
        double ms = OneRun(argv[1], argv[2], window);
        if (ms < 0) {
            std::fprintf(stderr, "startup_bench: %ls did not start or never waited for input\n", argv[1]);
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("RESULT median_ms %.1f\n", times[times.size() / 2]);
    std::printf("RESULT min_ms %.1f\n", times.front());
    std::printf("RESULT window %d\n", window ? 1 : 0);
    return 0;
}
