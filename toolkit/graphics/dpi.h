#pragma once
// Skins are laid out in 96-DPI pixels; the window works in device pixels.
#include <windows.h>

namespace kit {

class DpiScale {
public:
    explicit DpiScale(int dpi = 96) : m_dpi(dpi > 0 ? dpi : 96) {}
    static DpiScale System();  // the screen's logical DPI

    int Dpi() const { return m_dpi; }
    int Px(int logical) const { return MulDiv(logical, m_dpi, 96); }
    int Logical(int px) const { return MulDiv(px, 96, m_dpi); }
    // Each edge is scaled on its own, so neighbours stay flush at any DPI.
    RECT Rect(const RECT& logical) const
    {
        return {Px(logical.left), Px(logical.top), Px(logical.right), Px(logical.bottom)};
    }

private:
    int m_dpi;
};

}  // namespace kit
