#pragma once
// A stand-in for the toolkit in the installer's window tests: it keeps each
// element's text, visibility, enabled and checked state, records the calls the
// installer makes, and dispatches events through the binders the installer
// registered. Its window has a real hidden native window, so titles, timers
// and message 2124 take the same path as on screen.
#include "toolkit/xcgui.h"

#include <string>
#include <vector>

namespace recording_toolkit {

// Forgets everything. The layout then holds one element per ID name, shown,
// enabled and unchecked, with an empty text; XC_LoadLayout gives 0 when told so.
void Reset(const std::vector<std::wstring>& idNames, bool layoutLoads = true);

// One line per call, such as "XEle_ShowEle ID_ElePage2 1".
const std::vector<std::wstring>& Calls();
void ClearCalls();

std::wstring TextOf(const wchar_t* idName);
bool IsShown(const wchar_t* idName);
bool IsEnabled(const wchar_t* idName);
// The layout's or the user's doing, not the program's: no call is recorded.
void SetText(const wchar_t* idName, const std::wstring& text);
void SetChecked(const wchar_t* idName, bool checked);

// Raises an element event through its binders; gives the handled flag.
BOOL Raise(const wchar_t* idName, int eventCode, WPARAM wParam = 0);

HWND NativeWindow();

}  // namespace recording_toolkit
