#include "window/first_paint_mark.h"

namespace kit {

namespace {

uint64_t Ticks(const FILETIME& time)
{
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

void MarkFirstPaint(HWND window)
{
    if (window == nullptr || GetPropW(window, kFirstPaintProperty) != nullptr)
        return;
    FILETIME now, creation, exit, kernel, user;
    GetSystemTimeAsFileTime(&now);
    if (!GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user))
        return;
    const uint64_t ticks = Ticks(now) > Ticks(creation) ? Ticks(now) - Ticks(creation) : 0;
    // Never 0, which reads as "not painted yet"; a property holds a pointer,
    // so a 32-bit process keeps up to 71 minutes.
    const uintptr_t micros = static_cast<uintptr_t>(ticks / 10) + 1;
    SetPropW(window, kFirstPaintProperty, reinterpret_cast<HANDLE>(micros));
}

void ForgetFirstPaint(HWND window)
{
    RemovePropW(window, kFirstPaintProperty);
}

uint64_t FirstPaintMicroseconds(HWND window)
{
    return reinterpret_cast<uintptr_t>(GetPropW(window, kFirstPaintProperty));
}

}  // namespace kit
