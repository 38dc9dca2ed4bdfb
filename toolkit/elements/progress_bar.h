#pragma once
// Progress bar: a track and a fill between the two end spacings. Every
// SetPos raises 64; only a fill whose painted end moves is repainted, and
// only the part between the old and the new end.
#include "elements/element.h"

namespace kit {

class ProgressBar : public Element {
public:
    ProgressBar() : Element(ElementKind::Progress) {}

    int Range() const { return m_range; }
    int Position() const { return m_pos; }
    void SetRange(int range);
    void SetSpaces(int left, int right);
    void SetPos(int position);  // raises 64 with the position now held
    void SetFillColor(Color color) { m_fill = color; }

    void Paint(Canvas& canvas, const PaintState& state) const override;
    void OnLayout() override;
    long AccRole() const override;
    bool AccValue(std::wstring& value) const override;

private:
    int FillEnd() const;  // device x where the fill stops
    void Refill();        // repaint what the fill's move changed

    int m_range = 100;
    int m_pos = 0;
    int m_spaceLeft = 0;
    int m_spaceRight = 0;
    std::optional<Color> m_fill;
    int m_paintedEnd = 0;
};

}  // namespace kit
