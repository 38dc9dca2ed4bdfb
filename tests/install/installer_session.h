#pragma once
// Runs the real install.exe from a copy of the built kit, the way a user
// starts it from the file manager, with the system tools' spy log switched on;
// and undoes what an installation leaves behind.
#include "child_process.h"
#include "kit_fixture.h"
#include "test_files.h"

#include <windows.h>

#include <string>
#include <vector>

class InstallerSession {
public:
    explicit InstallerSession(const std::wstring& kitFolderName = L"kit");

    KitCopy& Kit() { return m_kit; }
    std::wstring SpyLog() const { return m_logs / L"spy.log"; }
    std::vector<std::wstring> SpyLines() const { return LogLines(SpyLog()); }
    bool WaitForSpyLine(const std::wstring& line, DWORD timeoutMs) const;

    // Puts a setup script into the kit that only notes how it was started
    // (its %0) in SetupLog().
    void RecordSetupScript();
    std::wstring SetupLog() const { return m_logs / L"setup.log"; }

    // Copies of a recording program where a hijacker would put them: beside
    // the installer as xcopy.exe and taskkill.exe, and before the first blank
    // of the kit's folder name (an unquoted path with blanks runs it). They
    // note any start in PlantedLog().
    void PlantHijackers();
    std::wstring PlantedLog() const { return m_logs / L"planted.log"; }

    // An entry "NAME=VALUE" for the installer's environment, before Start.
    void AddEnvironment(const std::wstring& entry) { m_environment.push_back(entry); }

    // Starts install.exe in the kit's folder; false when it did not start.
    bool Start();
    ChildProcess& Process() { return m_installer; }
    double SecondsSinceStart() const;

    // The installer's window once it is on screen (null after the time), and
    // how long after the start it appeared.
    HWND WaitForWindow(DWORD timeoutMs, double& secondsToWindow);

private:
    ScopedTempFolder m_logs;
    KitCopy m_kit;
    ChildProcess m_installer;
    std::vector<std::wstring> m_environment;
    LARGE_INTEGER m_started = {};
};

// Ticks the accept box and waits for the install buttons to take clicks.
bool AcceptLicence(HWND window);
// Replaces the route box's text the way the keyboard does.
bool TypeRoute(HWND window, const std::wstring& route);

// Top-level windows of a process that are on screen.
std::vector<HWND> VisibleWindowsOf(DWORD processId);
std::wstring WindowText(HWND window);

// What an installation leaves: the product folder under the route (and the
// route itself when the test made it), the desktop link, a running product.
// Removed before and after the test.
class InstallLeftovers {
public:
    explicit InstallLeftovers(const std::wstring& route);
    ~InstallLeftovers();
    InstallLeftovers(const InstallLeftovers&) = delete;
    InstallLeftovers& operator=(const InstallLeftovers&) = delete;

    std::wstring ProductFolder() const { return m_route + L"\\Vemora"; }
    static std::wstring DesktopLink() { return DesktopFolder() + L"\\Morvane.lnk"; }

private:
    void Remove();
    std::wstring m_route;
    bool m_routeExisted;
};
