// Stand-in for xcopy.exe in the test prefix's system folder: records its
// command line to KIT_SPY_LOG ("xcopy|<line>") and then runs Wine's own xcopy
// with the same arguments, so the copy itself is the real one.
#include "command_log.h"

int wmain()
{
    const wchar_t* commandLine = GetCommandLineW();
    AppendCommandLog(L"KIT_SPY_LOG", std::wstring(L"xcopy|") + commandLine);

#ifdef _WIN64
    std::wstring real = L"Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\xcopy.exe";
#else
    std::wstring real = L"Z:\\usr\\lib\\i386-linux-gnu\\wine\\i386-windows\\xcopy.exe";
#endif
    // KIT_XCOPY_DELAY_MS makes the copy a slow one, starting that much later.
    wchar_t delay[32] = {};
    if (GetEnvironmentVariableW(L"KIT_XCOPY_DELAY_MS", delay, 32) > 0)
        Sleep(static_cast<DWORD>(_wtoi(delay)));
    std::wstring line = L"xcopy " + std::wstring(ArgumentTail(commandLine));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // The prefix loads xcopy.exe "native,builtin": this file in system32,
    // and Wine's own from its library folder.
    if (!CreateProcessW(real.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return 9;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
