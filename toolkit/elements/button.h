#pragma once
// Push button and check box: normal, hover, pressed and disabled looks, a
// focus ring, and a click that raises 34 (a check box first toggles and
// raises 35 with its new state).
#include "elements/element.h"

namespace kit {

enum class ButtonStyle { Primary, Secondary, Link, Ghost };
enum class ButtonGlyph { None, Close, Minimize };
enum class ButtonAction { None, Close, Minimize };

struct ButtonLook {
    ButtonStyle style = ButtonStyle::Primary;
    ButtonGlyph glyph = ButtonGlyph::None;
    std::optional<Color> hoverBackground, pressedBackground, disabledBackground;
    std::optional<Color> hoverColor, disabledColor;
    std::optional<Color> checkColor;
};

class Button : public Element {
public:
    explicit Button(bool checkBox) : Element(ElementKind::Button), m_checkBox(checkBox) {}

    bool IsCheckBox() const { return m_checkBox; }
    bool IsChecked() const { return m_checked; }
    void SetChecked(bool checked);
    ButtonLook& ButtonStyleSet() { return m_buttonLook; }
    void SetAction(ButtonAction action) { m_action = action; }

    void Paint(Canvas& canvas, const PaintState& state) const override;
    bool TakesMouse() const override { return true; }
    bool TakesFocus() const override { return true; }
    void Activate() override;

    long AccRole() const override;
    long AccStateBits() const override;
    std::wstring AccDefaultAction() const override;

private:
    struct Colors {
        Color background, border, text;
    };
    Colors PushColors(const PaintState& state) const;
    void PaintPush(Canvas& canvas, const PaintState& state) const;
    void PaintCheckBox(Canvas& canvas, const PaintState& state) const;
    void PaintGlyph(Canvas& canvas, const PaintState& state, Color color) const;

    bool m_checkBox;
    bool m_checked = false;
    ButtonLook m_buttonLook;
    ButtonAction m_action = ButtonAction::None;
};

}  // namespace kit
