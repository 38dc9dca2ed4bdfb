// Stand-in for taskkill.exe in the test prefix's system folder (Wine 8's own
// rejects /t). Records its command line to KIT_SPY_LOG ("taskkill|<line>")
// and stops every process of the image named after /im, with its children
// when /t is given.
#include "command_log.h"

#include <tlhelp32.h>

#include <vector>

namespace {

std::vector<PROCESSENTRY32W> Processes()
{
    std::vector<PROCESSENTRY32W> list;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return list;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snap, &entry); more; more = Process32NextW(snap, &entry))
        list.push_back(entry);
    CloseHandle(snap);
    return list;
}

void Stop(DWORD id, bool tree, const std::vector<PROCESSENTRY32W>& all)
{
    if (tree) {
        for (const auto& entry : all) {
            if (entry.th32ParentProcessID == id && entry.th32ProcessID != id)
                Stop(entry.th32ProcessID, tree, all);
        }
    }
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
    if (process) {
        TerminateProcess(process, 1);
        CloseHandle(process);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    AppendCommandLog(L"KIT_SPY_LOG", std::wstring(L"taskkill|") + GetCommandLineW());
    bool tree = false;
    std::wstring image;
    for (int i = 1; i < argc; ++i) {
        if (lstrcmpiW(argv[i], L"/t") == 0)
            tree = true;
        else if (lstrcmpiW(argv[i], L"/im") == 0 && i + 1 < argc)
            image = argv[++i];
    }
    if (image.empty())
        return 1;
    std::vector<PROCESSENTRY32W> all = Processes();
    int stopped = 0;
    for (const auto& entry : all) {
        if (lstrcmpiW(entry.szExeFile, image.c_str()) == 0 &&
            entry.th32ProcessID != GetCurrentProcessId()) {
            Stop(entry.th32ProcessID, tree, all);
            ++stopped;
        }
    }
    return stopped > 0 ? 0 : 128;
}
