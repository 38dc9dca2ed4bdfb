#pragma once
// Runs the real update.exe in the product folder of a copy of the built kit,
// with its "tallmere.cnf" pointing where the test says and the system tools'
// spy log switched on; stops what the update started when it ends.
#include "child_process.h"
#include "kit_fixture.h"
#include "test_files.h"

#include <windows.h>

#include <string>
#include <vector>

class UpdaterSession {
public:
    UpdaterSession();
    ~UpdaterSession();
    UpdaterSession(const UpdaterSession&) = delete;
    UpdaterSession& operator=(const UpdaterSession&) = delete;

    std::wstring Product() const { return m_kit.Product(); }
    std::wstring InProduct(const std::wstring& name) const { return Product() + L"\\" + name; }
    void WriteConfig(const std::string& downloadPath);  // "download_path <address>"
    void RemoveConfig();

    // Starts update.exe in its own folder, as a file manager does, and waits
    // for its window; false when it did not come.
    bool Start();
    ChildProcess& Process() { return m_updater; }
    HWND Window() const { return m_window; }

    std::vector<std::wstring> SpyLines() const { return LogLines(m_logs / L"spy.log"); }
    // How delskin.bat was started: its "%0", one line per run.
    std::vector<std::wstring> DelskinRuns() const;

    // The product folder without the update's own leftovers ("update.zip",
    // "skin") and the configuration the test writes: each file's path, size and a hash of its bytes, what a failed
    // update must not change.
    std::vector<std::wstring> ProductState() const;

private:
    ScopedTempFolder m_logs;
    KitCopy m_kit;
    ChildProcess m_updater;
    HWND m_window = nullptr;
};

// The shown top-level window of a process with that title.
HWND FindProcessWindow(DWORD processId, const std::wstring& title);
