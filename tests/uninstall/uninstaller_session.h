#pragma once
// Runs the real uninstaller the way a user does, from a product folder made
// like an installation: the kit's "Vemora" copied to a route, with the
// loopback build (posting to the tests' local server on 127.0.0.1) in place of
// uninstall.exe and, unless the test wants the real one, an Uninstall.bat that
// only writes down how it was started.
#include "child_process.h"
#include "test_files.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class UninstallerSession {
public:
    explicit UninstallerSession(const std::wstring& routeName = L"Program Files (x86)");

    const std::wstring& Product() const { return m_product; }
    std::wstring Route() const { return m_route; }

    void WriteInstallRecord(int32_t seconds);
    // Uninstall.bat appends its own command line (%0) to ScriptLog().
    void UseRecordingScript();
    std::vector<std::wstring> ScriptRuns() const;

    // Starts uninstall.exe with the product folder as its working folder.
    bool Start();
    ChildProcess& Process() { return m_uninstaller; }
    // The uninstaller's window once it is on screen; null after the timeout.
    HWND WaitForWindow(DWORD timeoutMs) const;
    bool HasWindow() const;

private:
    std::wstring ScriptLog() const { return m_temp / L"script.log"; }

    ScopedTempFolder m_temp{L"uninstaller"};
    std::wstring m_route;
    std::wstring m_product;
    ChildProcess m_uninstaller;
};

// The uninstaller's window of that process once it is on screen; null after
// the timeout.
HWND WaitForUninstallerWindow(DWORD processId, DWORD timeoutMs);

// The form encoding of the feedback post: UTF-8, letters and digits kept, a
// blank as "+", every other byte as "%" and two upper-case hex digits.
std::string FormEncode(const std::wstring& text);

// The system description the uninstaller should send, from the true version
// of the running system (whatever the test program's own manifest says).
std::wstring ExpectedSystemDescription();
