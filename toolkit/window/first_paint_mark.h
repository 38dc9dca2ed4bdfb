#pragma once
// How long a program took to show itself: when a window's first WM_PAINT has
// ended, the microseconds since the process was created are kept as a window
// property, so a measuring tool outside the process can read the figure
// without the program knowing it is measured.
#include <windows.h>

#include <cstdint>

namespace kit {

constexpr wchar_t kFirstPaintProperty[] = L"XCGUI.FirstPaintMicroseconds";

// Marks the window once; later calls keep the first figure.
void MarkFirstPaint(HWND window);

// Removes the property; a window must drop its properties before it is gone.
void ForgetFirstPaint(HWND window);

// The figure of a window (of any process); 0 while it has not painted.
uint64_t FirstPaintMicroseconds(HWND window);

}  // namespace kit
