#pragma once
// A window of the test skin for in-process tests, with real input sent to
// its native window at the places the toolkit laid its elements out.
#include "toolkit/xcgui.h"

#include <functional>
#include <string>

std::wstring TestSkinFolder();  // build/bin/toolkit_skin

// Runs what is queued for this thread; PumpUntil also waits for it to come.
void PumpMessages();
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);

class TestWindow {
public:
    explicit TestWindow(const std::wstring& layout = L"demo.xml");
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    bool Loaded() const { return m_window != nullptr; }
    HWINDOW Handle() const { return m_window; }
    HWND Hwnd() const { return XWnd_GetHWND(m_window); }
    HELE Find(const wchar_t* idName) const;

    RECT Rect(HELE element) const;    // client pixels, as laid out
    POINT Centre(HELE element) const;
    void Click(HELE element) const;   // button down and up at its centre
    void Click(POINT point) const;
    void Key(WPARAM virtualKey) const;  // down and up to the window
    HWND EditControl(HELE edit) const;  // the hosted native edit
    void Type(HELE edit, const std::wstring& text) const;  // character messages

private:
    HWINDOW m_window = nullptr;
};
