#pragma once
// A colour with coverage: alpha 0 is "none" (nothing is drawn).
#include <windows.h>

#include <cstdint>

namespace kit {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;

    static constexpr Color Rgb(std::uint32_t rrggbb)
    {
        return {static_cast<std::uint8_t>(rrggbb >> 16), static_cast<std::uint8_t>(rrggbb >> 8),
                static_cast<std::uint8_t>(rrggbb), 255};
    }
    static constexpr Color FromColorRef(COLORREF value, std::uint8_t alpha = 255)
    {
        return {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
                static_cast<std::uint8_t>((value >> 16) & 0xFF), alpha};
    }
    constexpr COLORREF ToColorRef() const { return RGB(r, g, b); }
    constexpr bool IsNone() const { return a == 0; }
    bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Color& o) const { return !(*this == o); }
};

// The opaque colour that `over` with its alpha gives on top of `under`.
Color Composite(Color over, Color under);

}  // namespace kit
