#include "graphics/dpi.h"

namespace kit {

DpiScale DpiScale::System()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return DpiScale(dpi);
}

}  // namespace kit
