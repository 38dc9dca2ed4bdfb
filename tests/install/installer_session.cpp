#include "installer_session.h"

#include "msaa_client.h"

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

void InstallerSession::RecordSetupScript()
{
    WriteFileBytes(m_kit / L"Install\\setup.bat",
                   "@echo off\r\necho %0>>\"%KIT_SETUP_LOG%\"\r\n");
}

void InstallerSession::PlantHijackers()
{
    std::wstring root = m_kit.Root();
    std::wstring beforeBlank = root.substr(0, root.find(L' ', root.find_last_of(L'\\')));
    for (const std::wstring& path : {m_kit / L"xcopy.exe", m_kit / L"taskkill.exe", beforeBlank + L".exe"})
        CopyFileTo(BinFile(L"record_command.exe"), path);
}

bool InstallerSession::Start()
{
    ChildProcess::Options options;
    options.environment.push_back(L"KIT_SPY_LOG=" + SpyLog());
    options.environment.push_back(L"KIT_SETUP_LOG=" + SetupLog());
    options.environment.push_back(L"KIT_RECORD_FILE=" + PlantedLog());
    options.environment.insert(options.environment.end(), m_environment.begin(), m_environment.end());
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

HWND InstallerSession::WaitForWindow(DWORD timeoutMs, double& secondsToWindow)
{
    HWND window = nullptr;
    WaitUntil([&] {
        for (HWND candidate : VisibleWindowsOf(m_installer.Id())) {
            if (WindowText(candidate) == L"安装程序") {
                window = candidate;
                return true;
            }
        }
        return false;
    }, timeoutMs, 5);
    secondsToWindow = SecondsSinceStart();
    return window;
}

bool AcceptLicence(HWND window)
{
    return msaa::DoDefaultAction(window, L"ID_BtnCekAccept") &&
           msaa::WaitForElement(window, L"ID_BtnQuickInstall",
                                [](const msaa::Element& e) { return e.Enabled(); }, 10000);
}

bool TypeRoute(HWND window, const std::wstring& route)
{
    if (!msaa::Focus(window, L"ID_EditRoute") || !msaa::PressKey(window, VK_END))
        return false;
    std::wstring keys(64, L'\b');
    return msaa::TypeText(window, L"ID_EditRoute", keys + route) &&
           msaa::WaitForElement(window, L"ID_EditRoute",
                                [&](const msaa::Element& e) { return e.value == route; }, 10000);
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
