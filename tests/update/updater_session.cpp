#include "updater_session.h"

#include <gtest/gtest.h>

namespace {

struct WindowSearch {
    DWORD processId;
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK TakeWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (owner == search->processId && IsWindowVisible(window) && *search->title == text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// What the update itself stages, and the configuration the test writes.
bool IsStagingPath(const std::wstring& relative)
{
    return relative == L"update.zip" || relative.compare(0, 5, L"skin\\") == 0 ||
           relative == L"tallmere.cnf";
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const std::wstring& title)
{
    WindowSearch search = {processId, &title, nullptr};
    EnumWindows(TakeWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

UpdaterSession::UpdaterSession() : m_logs(L"updater-logs")
{
    StopProcessesNamed(L"Morvane.exe");
    EXPECT_TRUE(CopyFileTo(BinFile(L"record_command.exe"), InProduct(L"record_command.exe")));
}

UpdaterSession::~UpdaterSession()
{
    m_updater.Kill();
    StopProcessesNamed(L"Morvane.exe");
    StopProcessesNamed(L"xcopy.exe");
}

void UpdaterSession::WriteConfig(const std::string& downloadPath)
{
    ASSERT_TRUE(WriteFileBytes(InProduct(L"tallmere.cnf"), "download_path " + downloadPath + "\r\n"));
}

void UpdaterSession::RemoveConfig()
{
    DeleteFileW(InProduct(L"tallmere.cnf").c_str());
}

bool UpdaterSession::Start()
{
    ChildProcess::Options options;
    options.environment = {L"KIT_SPY_LOG=" + (m_logs / L"spy.log"),
                           L"KIT_RECORD_FILE=" + (m_logs / L"delskin.log")};
    options.workingFolder = Product();  // as the file manager starts it
    if (!m_updater.Start(InProduct(L"update.exe"), L"", options))
        return false;
    return WaitUntil(
        [&] {
            m_window = FindProcessWindow(m_updater.Id(), L"更新程序");
            return m_window != nullptr;
        },
        20000);
}

std::vector<std::wstring> UpdaterSession::ProductState() const
{
    std::vector<std::wstring> state;
    for (const std::wstring& file : FilesBelow(Product())) {
        if (IsStagingPath(file))
            continue;
        const std::string bytes = ReadFileBytes(InProduct(file));
        unsigned long long hash = 14695981039346656037ull;  // FNV-1a
        for (char c : bytes)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        state.push_back(file + L" " + std::to_wstring(bytes.size()) + L" " + std::to_wstring(hash));
    }
    return state;
}

std::vector<std::wstring> UpdaterSession::DelskinRuns() const
{
    // "<show>|"<product>\record_command.exe" <%0 of delskin.bat>"
    const std::wstring recorder = L"\"" + InProduct(L"record_command.exe") + L"\" ";
    std::vector<std::wstring> runs;
    for (const std::wstring& line : LogLines(m_logs / L"delskin.log")) {
        size_t at = line.find(recorder);
        runs.push_back(at == std::wstring::npos ? line : line.substr(at + recorder.size()));
    }
    return runs;
}
