#pragma once
// Finding and operating the kit's windows from another process through their
// accessibility tree (MSAA), the way a screen reader does, so tests never
// depend on pixel positions. Elements are found by their skin ID name, which
// the toolkit gives as each element's help text.
//
// A window whose UI thread is busy blocks every MSAA call made to it, with no
// timeout of its own. So each call here runs on a worker thread and is given
// up after its timeout: the call then returns false, and the worker ends by
// itself when the window answers (or with the process).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace msaa {

struct Element {
    std::wstring idName;  // "ID_BtnQuickInstall"
    std::wstring name;    // the caption
    std::wstring value;   // an edit's text, a progress bar's position
    std::wstring defaultAction;
    long role = 0;        // ROLE_SYSTEM_...
    long state = 0;       // STATE_SYSTEM_...
    RECT location{};      // screen pixels: left, top, right, bottom

    bool Visible() const;
    bool Enabled() const;
    bool Checked() const;
    bool Focused() const;
};

struct Tree {
    std::wstring windowName;
    std::vector<Element> elements;  // document order
    const Element* Find(const std::wstring& idName) const;
};

// A visible top-level window with exactly this title ("*": any window of the
// kit's toolkit); null when none appeared within the time.
HWND FindWindowByTitle(const std::wstring& title, DWORD timeoutMs);

bool Snapshot(HWND window, Tree& tree, DWORD timeoutMs = 5000);
// The element's default action (a click for buttons and check boxes, the
// focus for an edit). The window carries it out after the call returns.
bool DoDefaultAction(HWND window, const std::wstring& idName, DWORD timeoutMs = 5000);
bool Focus(HWND window, const std::wstring& idName, DWORD timeoutMs = 5000);
// Polls the tree until the element exists and the condition holds.
bool WaitForElement(HWND window, const std::wstring& idName,
                    const std::function<bool(const Element&)>& condition, DWORD timeoutMs);
// Focuses an edit and types the text into it as character messages (any
// Unicode text, Chinese included), as the keyboard would.
bool TypeText(HWND window, const std::wstring& idName, const std::wstring& text,
              DWORD timeoutMs = 5000);
// A key press (down and up) to whatever has the keyboard focus in the window.
bool PressKey(HWND window, WORD virtualKey, DWORD timeoutMs = 5000);

std::wstring RoleText(long role);
std::wstring StateText(long state);

}  // namespace msaa
