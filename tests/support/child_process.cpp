#include "child_process.h"

#include <tlhelp32.h>

#include <map>

namespace {

std::vector<wchar_t> EnvironmentWith(const std::vector<std::wstring>& additions)
{
    std::map<std::wstring, std::wstring> variables;  // keyed by upper-case name
    std::map<std::wstring, std::wstring> original;
    auto add = [&](const std::wstring& entry) {
        size_t eq = entry.find(L'=', 1);
        if (eq == std::wstring::npos)
            return;
        std::wstring key = entry.substr(0, eq);
        std::wstring upper = key;
        CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
        variables[upper] = entry;
    };
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* p = block; *p; p += wcslen(p) + 1)
        add(p);
    FreeEnvironmentStringsW(block);
    for (const auto& entry : additions)
        add(entry);
    std::vector<wchar_t> result;
    for (const auto& item : variables) {
        result.insert(result.end(), item.second.begin(), item.second.end());
        result.push_back(L'\0');
    }
    result.push_back(L'\0');
    return result;
}

}  // namespace

ChildProcess::~ChildProcess()
{
    Kill();
    if (m_reader.joinable())
        m_reader.join();
    if (m_outputRead)
        CloseHandle(m_outputRead);
    if (m_process)
        CloseHandle(m_process);
}

bool ChildProcess::Start(const std::wstring& program, const std::wstring& arguments)
{
    return Start(program, arguments, Options());
}

bool ChildProcess::Start(const std::wstring& program, const std::wstring& arguments,
                         const Options& options)
{
    std::wstring commandLine = QuoteArgument(program);
    if (!arguments.empty())
        commandLine += L" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    HANDLE outputWrite = nullptr;
    if (options.captureOutput) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        if (!CreatePipe(&m_outputRead, &outputWrite, &inherit, 0))
            return false;
        SetHandleInformation(m_outputRead, HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdOutput = outputWrite;
        startup.hStdError = outputWrite;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    std::vector<wchar_t> environment = EnvironmentWith(options.environment);
    PROCESS_INFORMATION info = {};
    BOOL ok = CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr,
                             options.captureOutput, CREATE_UNICODE_ENVIRONMENT,
                             environment.data(),
                             options.workingFolder.empty() ? nullptr : options.workingFolder.c_str(),
                             &startup, &info);
    if (outputWrite)
        CloseHandle(outputWrite);
    if (!ok)
        return false;
    CloseHandle(info.hThread);
    m_process = info.hProcess;
    m_id = info.dwProcessId;
    if (m_outputRead) {
        m_reader = std::thread([this] {
            char chunk[4096];
            DWORD got = 0;
            while (ReadFile(m_outputRead, chunk, sizeof chunk, &got, nullptr) && got > 0)
                m_output.append(chunk, got);
        });
    }
    return true;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs)
{
    return m_process && WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0;
}

bool ChildProcess::IsRunning() const
{
    return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

DWORD ChildProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (m_process)
        GetExitCodeProcess(m_process, &code);
    return code;
}

std::string ChildProcess::Output()
{
    if (m_reader.joinable())
        m_reader.join();
    return m_output;
}

void ChildProcess::Kill()
{
    if (IsRunning()) {
        KillProcessTree(m_id);
        WaitForSingleObject(m_process, 5000);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD stepMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(stepMs);
    }
}

namespace {

std::vector<PROCESSENTRY32W> Snapshot()
{
    std::vector<PROCESSENTRY32W> processes;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return processes;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snap, &entry); more; more = Process32NextW(snap, &entry))
        processes.push_back(entry);
    CloseHandle(snap);
    return processes;
}

}  // namespace

std::vector<DWORD> ProcessIdsNamed(const std::wstring& imageName)
{
    std::vector<DWORD> ids;
    for (const auto& entry : Snapshot()) {
        if (lstrcmpiW(entry.szExeFile, imageName.c_str()) == 0)
            ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

void KillProcessTree(DWORD processId)
{
    for (const auto& entry : Snapshot()) {
        if (entry.th32ParentProcessID == processId && entry.th32ProcessID != processId)
            KillProcessTree(entry.th32ProcessID);
    }
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
    if (process) {
        TerminateProcess(process, 1);
        CloseHandle(process);
    }
}

std::wstring QuoteArgument(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    for (size_t i = 0; i < argument.size(); ++i) {
        size_t backslashes = 0;
        while (i < argument.size() && argument[i] == L'\\') {
            ++backslashes;
            ++i;
        }
        if (i == argument.size()) {
            quoted.append(backslashes * 2, L'\\');
            break;
        }
        if (argument[i] == L'"')
            quoted.append(backslashes * 2 + 1, L'\\');
        else
            quoted.append(backslashes, L'\\');
        quoted.push_back(argument[i]);
    }
    quoted.push_back(L'"');
    return quoted;
}
