#include "updater_window.h"

#include "msaa_client.h"

#include <cwchar>

namespace {

bool Read(HWND window, const wchar_t* idName, msaa::Element& element)
{
    msaa::Tree tree;
    if (!msaa::Snapshot(window, tree))
        return false;
    const msaa::Element* found = tree.Find(idName);
    if (found == nullptr)
        return false;
    element = *found;
    return true;
}

}  // namespace

UpdaterWindow::UpdaterWindow(HWND window) : m_window(window) {}

std::wstring UpdaterWindow::Text(const wchar_t* idName)
{
    msaa::Element element;
    return Read(m_window, idName, element) ? element.name : L"";
}

int UpdaterWindow::Position(const wchar_t* idName)
{
    msaa::Element element;
    if (!Read(m_window, idName, element))
        return -1;
    return static_cast<int>(std::wcstol(element.value.c_str(), nullptr, 10));
}

bool UpdaterWindow::IsEnabled(const wchar_t* idName)
{
    msaa::Element element;
    return Read(m_window, idName, element) && element.Enabled();
}

bool UpdaterWindow::Click(const wchar_t* idName)
{
    return msaa::DoDefaultAction(m_window, idName);
}

bool UpdaterWindow::WaitForText(const wchar_t* idName, const std::wstring& text, DWORD timeoutMs)
{
    return msaa::WaitForElement(
        m_window, idName, [&](const msaa::Element& element) { return element.name == text; },
        timeoutMs);
}
