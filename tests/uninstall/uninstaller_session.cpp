#include "uninstaller_session.h"

#include "kit_fixture.h"
#include "system_description.h"

namespace {

const wchar_t kWindowTitle[] = L"卸载程序";

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindTitledWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[64] = {};
    if (owner == search->processId && IsWindowVisible(window) &&
        InternalGetWindowText(window, title, 64) > 0 && std::wstring(title) == kWindowTitle) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

UninstallerSession::UninstallerSession(const std::wstring& routeName)
    : m_route(m_temp / routeName), m_product(m_route + L"\\Vemora")
{
    CreateFolders(m_product);
    CopyTree(BuiltKitFolder() + L"\\Vemora", m_product);
    CopyFileTo(BinFile(L"uninstall_loopback.exe"), m_product + L"\\uninstall.exe");
}

void UninstallerSession::WriteInstallRecord(int32_t seconds)
{
    WriteFileBytes(m_product + L"\\InstallTime.txt",
                   "installtime " + std::to_string(seconds) + "\r\n");
}

void UninstallerSession::UseRecordingScript()
{
    WriteFileBytes(m_product + L"\\Uninstall.bat",
                   "@echo off\r\necho %0>> \"" + ToUtf8(ScriptLog()) + "\"\r\n");
}

std::vector<std::wstring> UninstallerSession::ScriptRuns() const
{
    return LogLines(ScriptLog());
}

bool UninstallerSession::Start()
{
    ChildProcess::Options options;
    options.workingFolder = m_product;
    return m_uninstaller.Start(m_product + L"\\uninstall.exe", L"", options);
}

HWND UninstallerSession::WaitForWindow(DWORD timeoutMs) const
{
    return WaitForUninstallerWindow(m_uninstaller.Id(), timeoutMs);
}

bool UninstallerSession::HasWindow() const
{
    WindowSearch search{m_uninstaller.Id(), nullptr};
    EnumWindows(FindTitledWindow, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
}

HWND WaitForUninstallerWindow(DWORD processId, DWORD timeoutMs)
{
    WindowSearch search{processId, nullptr};
    WaitUntil([&] {
        EnumWindows(FindTitledWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, timeoutMs);
    return search.found;
}

std::string FormEncode(const std::wstring& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char byte : ToUtf8(text)) {
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9')) {
            encoded += static_cast<char>(byte);
        } else if (byte == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        }
    }
    return encoded;
}

std::wstring ExpectedSystemDescription()
{
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    auto rtlGetVersion = reinterpret_cast<RtlGetVersionCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (rtlGetVersion != nullptr)
        rtlGetVersion(&version);
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    return DescribeSystem(version, system);
}
