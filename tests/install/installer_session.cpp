#include "installer_session.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

}  // namespace

InstallerSession::InstallerSession(const std::wstring& kitFolderName)
    : m_logs(L"installer-logs"), m_kit(kitFolderName)
{
}

bool InstallerSession::WaitForSpyLine(const std::wstring& line, DWORD timeoutMs) const
{
    return WaitUntil([&] {
        for (const auto& logged : SpyLines()) {
            if (logged == line)
                return true;
        }
        return false;
    }, timeoutMs);
}

bool InstallerSession::Start()
{
    ChildProcess::Options options;
    options.environment.push_back(L"KIT_SPY_LOG=" + SpyLog());
    options.workingFolder = m_kit.Root();
    QueryPerformanceCounter(&m_started);
    return m_installer.Start(m_kit / L"install.exe", L"", options);
}

double InstallerSession::SecondsSinceStart() const
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return Seconds(m_started, now);
}

std::vector<HWND> VisibleWindowsOf(DWORD processId)
{
    WindowSearch search{processId, {}};
    EnumWindows(CollectVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &copied);
    return text;
}

InstallLeftovers::InstallLeftovers(const std::wstring& route)
    : m_route(route), m_routeExisted(FolderExists(route))
{
    Remove();
}

InstallLeftovers::~InstallLeftovers()
{
    Remove();
    if (!m_routeExisted)
        RemoveTree(m_route);
}

void InstallLeftovers::Remove()
{
    StopProcessesNamed(L"Morvane.exe");
    // The copy may still be writing when a test gives up: let it end first.
    StopProcessesNamed(L"xcopy.exe");
    RemoveTree(ProductFolder());
    DeleteFileW(DesktopLink().c_str());
}
