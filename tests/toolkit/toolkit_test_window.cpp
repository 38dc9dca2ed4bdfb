#include "toolkit_test_window.h"

#include "core/toolkit_state.h"
#include "elements/rich_edit.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace {

// The toolkit is started once for the test program, as a program does.
class ToolkitEnvironment : public ::testing::Environment {
public:
    void SetUp() override { XInitXCGUI(0); }
    void TearDown() override { XExitXCGUI(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

}  // namespace

std::wstring TestSkinFolder() { return BinFile(L"toolkit_skin"); }

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

TestWindow::TestWindow(const std::wstring& layout)
{
    const std::wstring folder = TestSkinFolder();
    XC_LoadResource((folder + L"\\resource.xml").c_str(), folder.c_str());
    m_window = XC_LoadLayout((folder + L"\\" + layout).c_str(), nullptr);
    if (m_window != nullptr) {
        XWnd_ShowWindow(m_window, SW_SHOW);
        PumpMessages();
    }
}

TestWindow::~TestWindow()
{
    XWnd_CloseWindow(m_window);  // ignored when a test already closed it
    PumpMessages();
}

HELE TestWindow::Find(const wchar_t* idName) const
{
    return XC_GetObjectByID(m_window, XC_GetResIDValue(idName));
}

RECT TestWindow::Rect(HELE element) const
{
    const kit::Element* e = kit::Toolkit::Get().Handles().FindElement(element);
    return e != nullptr ? e->Bounds() : RECT{};
}

POINT TestWindow::Centre(HELE element) const
{
    const RECT r = Rect(element);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void TestWindow::Click(POINT point) const
{
    const LPARAM at = MAKELPARAM(point.x, point.y);
    SendMessageW(Hwnd(), WM_MOUSEMOVE, 0, at);
    SendMessageW(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(Hwnd(), WM_LBUTTONUP, 0, at);
}

void TestWindow::Click(HELE element) const { Click(Centre(element)); }

void TestWindow::Key(WPARAM virtualKey) const
{
    HWND target = GetFocus() != nullptr ? GetFocus() : Hwnd();
    SendMessageW(target, WM_KEYDOWN, virtualKey, 1);
    SendMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
}

HWND TestWindow::EditControl(HELE edit) const
{
    const kit::Element* e = kit::Toolkit::Get().Handles().FindElement(edit);
    return e != nullptr && e->Kind() == kit::ElementKind::Edit
               ? static_cast<const kit::RichEdit*>(e)->Native()
               : nullptr;
}

void TestWindow::Type(HELE edit, const std::wstring& text) const
{
    for (wchar_t unit : text)
        SendMessageW(EditControl(edit), WM_CHAR, unit, 1);
}
