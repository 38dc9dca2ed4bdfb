#pragma once
// A stand-in toolkit for the uninstaller's window tests: one element per ID
// name, every call the program makes written down with its arguments, events
// dispatched through the binders the program registered, and a hidden native
// window, so titles, timers and message 2124 take their real path.
#include "toolkit/xcgui.h"

#include <string>
#include <vector>

namespace toolkit_recorder {

// Forgets everything; the next layout holds one element per ID name. With
// layoutLoads false, XC_LoadLayout gives 0.
void Reset(const std::vector<std::wstring>& idNames, bool layoutLoads = true);

// One line per call, such as "XProgBar_SetSpaceTwo ID_UninstallProgress 19 19".
const std::vector<std::wstring>& Calls();
void ClearCalls();
// Lets the test's stand-ins of other libraries write into the same log.
void Record(const std::wstring& call);

// The user's doing: no call is written down.
void SetChecked(const wchar_t* idName, bool checked);
void SetEditText(const wchar_t* idName, const std::wstring& text);
bool IsShown(const wchar_t* idName);
int Position(const wchar_t* idName);  // a progress bar's
bool Closed();

// Raises an element event through its binders; gives the handled flag.
BOOL Raise(const wchar_t* idName, int eventCode, WPARAM wParam = 0);

HWND NativeWindow();

}  // namespace toolkit_recorder
