// Measures a program's start-up as the program itself records it: the time
// from its process's creation (GetProcessTimes) to the end of its window's
// first WM_PAINT, which the toolkit keeps as a window property. The median
// of several runs; each run is ended once the figure is read.
//   startup_bench <program> <working folder> <runs>
// Prints "RESULT median_ms <value>", "RESULT min_ms <value>" and
// "RESULT window <0|1>" (a painted window of the process was found every time).
#include "toolkit/window/first_paint_mark.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD process;
    uint64_t micros;  // first painted window's figure, 0 while none
};

BOOL CALLBACK FindPaintedWindow(HWND window, LPARAM parameter)
{
    Search* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window))
        search->micros = kit::FirstPaintMicroseconds(window);
    return search->micros == 0;
}

// Milliseconds from creation to the end of the first paint; negative on failure.
double OneRun(const std::wstring& program, const std::wstring& folder, bool& window)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info))
        return -1;
    Search search = {info.dwProcessId, 0};
    const DWORD started = GetTickCount();
    while (search.micros == 0 && GetTickCount() - started < 20000 &&
           WaitForSingleObject(info.hProcess, 1) == WAIT_TIMEOUT)
        EnumWindows(FindPaintedWindow, reinterpret_cast<LPARAM>(&search));
    window = window && search.micros != 0;
    const double ms = search.micros != 0 ? static_cast<double>(search.micros) / 1000.0 : -1;
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
            std::fprintf(stderr, "startup_bench: %ls did not start or painted no window\n", argv[1]);
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
