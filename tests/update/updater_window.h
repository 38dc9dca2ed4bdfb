#pragma once
// The updater's window as a test sees it from another process: its elements
// found by their skin ID name, read and clicked through the accessibility
// tree (tests/support/msaa_client.h), each call bounded in time.
#include <windows.h>

#include <string>

class UpdaterWindow {
public:
    explicit UpdaterWindow(HWND window);

    std::wstring Text(const wchar_t* idName);  // the caption; empty when not found
    int Position(const wchar_t* idName);       // a progress bar's value; -1 when not found
    bool IsEnabled(const wchar_t* idName);
    bool Click(const wchar_t* idName);         // the default action
    bool WaitForText(const wchar_t* idName, const std::wstring& text, DWORD timeoutMs);

private:
    HWND m_window;
};
