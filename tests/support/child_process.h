#pragma once
// A child process of a test, with a watchdog: a child still running when the
// object goes away is stopped with all its descendants, so a hung test leaves
// no process behind.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

class ChildProcess {
public:
    struct Options {
        std::vector<std::wstring> environment;  // "NAME=VALUE" added to the test's own
        std::wstring workingFolder;             // empty: the test's own
        bool captureOutput = false;             // standard output into Output()
    };

    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Start(const std::wstring& program, const std::wstring& arguments);
    bool Start(const std::wstring& program, const std::wstring& arguments, const Options& options);

    bool WaitForExit(DWORD timeoutMs);  // true once the process has ended
    bool IsRunning() const;
    DWORD ExitCode() const;
    DWORD Id() const { return m_id; }
    HANDLE Handle() const { return m_process; }
    std::string Output();  // after the process has ended
    void Kill();           // the process and its descendants

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
    HANDLE m_outputRead = nullptr;
    std::thread m_reader;
    std::string m_output;
};

// Polls until the condition holds; false when the time ran out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD stepMs = 20);

std::vector<DWORD> ProcessIdsNamed(const std::wstring& imageName);
void KillProcessTree(DWORD processId);
std::wstring QuoteArgument(const std::wstring& argument);
