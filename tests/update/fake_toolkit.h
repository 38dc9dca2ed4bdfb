#pragma once
// A stand-in for the toolkit in the updater's step tests: it records the calls
// the updater makes, keeps each element's text and position, and raises the
// events the real toolkit raises (64 from XProgBar_SetPos), so the step
// machine runs without a window on screen. The four element IDs of the
// updater's skin are known to it; any other ID gives the null handle.
#include "toolkit/xcgui.h"

#include <functional>
#include <string>
#include <vector>

namespace fake_toolkit {

// Forgets everything; XC_LoadLayout then gives a window, or 0 when told so.
void Reset(bool layoutLoads = true);

// One line per call, such as "XProgBar_SetPos ID_ProgressBar 5".
const std::vector<std::wstring>& Calls();
std::vector<std::wstring> CallsStartingWith(const std::wstring& prefix);

std::wstring TextOf(const wchar_t* idName);
int PositionOf(const wchar_t* idName);

// Raises the click (34) on an element, or a window message on the window,
// through the binders registered for it; the handled flag comes back.
BOOL Click(const wchar_t* idName);  // nothing while the element is disabled
BOOL SendWindowMessage(UINT message);

HWND NativeWindow();  // a hidden real window, for titles and timers

bool IsEnabled(const wchar_t* idName);

// Runs after every XProgBar_SetPos has raised its event, for instance to
// click while a download reports its progress.
void OnPositionSet(std::function<void()> hook);

}  // namespace fake_toolkit
