#include "elements/button.h"

#include "core/toolkit_state.h"
#include "graphics/canvas.h"
#include "window/window.h"

#include <oleacc.h>

namespace kit {

namespace {

constexpr Color kNone{};
constexpr Color kDanger = Color::Rgb(0xE5484D);
constexpr int kDefaultRadius = 6;
constexpr int kBoxSize = 16;

struct StyleColors {
    Color normal, hover, pressed, disabled;  // fills
    Color border;
    Color text, hoverText, disabledText;
};

StyleColors ColorsOf(ButtonStyle style)
{
    switch (style) {
    case ButtonStyle::Secondary:
        return {theme::kWhite, Color::Rgb(0xF2F4F7), Color::Rgb(0xE4E7EC), Color::Rgb(0xF9FAFB),
                theme::kOutline, Color::Rgb(0x344054), Color::Rgb(0x1D2939), theme::kMutedText};
    case ButtonStyle::Link:
        return {kNone, kNone, kNone, kNone, kNone, theme::kAccent, theme::kAccentHover,
                theme::kMutedText};
    case ButtonStyle::Ghost:
        return {kNone, Color::Rgb(0xEEF2F6), Color::Rgb(0xE4E7EC), kNone, kNone,
                Color::Rgb(0x475467), Color::Rgb(0x1D2939), theme::kMutedText};
    case ButtonStyle::Primary:
    default:
        return {theme::kAccent, theme::kAccentHover, theme::kAccentPressed, Color::Rgb(0xB6C8F2),
                kNone, theme::kWhite, theme::kWhite, theme::kWhite};
    }
}

}  // namespace

void Button::SetChecked(bool checked)
{
    if (m_checked == checked)
        return;
    m_checked = checked;
    Invalidate();
    StateChanged();
}

void Button::Activate()
{
    Window* window = OwnerWindow();
    if (window == nullptr || !window->IsAlive() || !IsVisible() || !IsEnabled())
        return;
    BusyScope busy;
    if (m_checkBox) {
        SetChecked(!m_checked);
        Raise(XE_BUTTON_CHECK, m_checked ? TRUE : FALSE);
        if (!window->IsAlive())
            return;
    }
    const EventBinders::Outcome click = Raise(XE_BNCLICK);
    if (!window->IsAlive() || click.handled)
        return;
    if (m_action == ButtonAction::Close)
        window->Close();
    else if (m_action == ButtonAction::Minimize)
        window->Minimize();
}

Button::Colors Button::PushColors(const PaintState& state) const
{
    StyleColors c = ColorsOf(m_buttonLook.style);
    const Look& look = Style();
    if (m_buttonLook.glyph == ButtonGlyph::Close && m_buttonLook.style == ButtonStyle::Ghost)
        c.hover = c.pressed = kDanger, c.hoverText = theme::kWhite;
    const Color normal = look.background.value_or(c.normal);
    const Color text = look.color.value_or(c.text);
    const Color border = look.border.value_or(c.border);
    if (!IsEnabled())
        return {m_buttonLook.disabledBackground.value_or(c.disabled), border,
                m_buttonLook.disabledColor.value_or(c.disabledText)};
    if (state.pressed)
        return {m_buttonLook.pressedBackground.value_or(c.pressed), border,
                m_buttonLook.hoverColor.value_or(c.hoverText)};
    if (state.hot)
        return {m_buttonLook.hoverBackground.value_or(c.hover), border,
                m_buttonLook.hoverColor.value_or(c.hoverText)};
    return {normal, border, text};
}

void Button::Paint(Canvas& canvas, const PaintState& state) const
{
    if (m_checkBox)
        PaintCheckBox(canvas, state);
    else
        PaintPush(canvas, state);
}

void Button::PaintPush(Canvas& canvas, const PaintState& state) const
{
    const Colors colors = PushColors(state);
    const int radius = Style().radius.value_or(kDefaultRadius);
    PaintBox(canvas, colors.background, colors.border, radius, state);
    if (m_buttonLook.glyph != ButtonGlyph::None)
        PaintGlyph(canvas, state, colors.text);
    else
        PaintText(canvas, state, Bounds(), colors.text, HAlign::Center);
    PaintFocusRing(canvas, state, radius);
}

void Button::PaintGlyph(Canvas& canvas, const PaintState& state, Color color) const
{
    const RECT& b = Bounds();
    const float cx = (b.left + b.right) / 2.f, cy = (b.top + b.bottom) / 2.f;
    const float half = state.scale.Px(10) / 2.f;
    const float width = state.scale.Px(3) / 2.f;
    if (m_buttonLook.glyph == ButtonGlyph::Close) {
        canvas.DrawLine(cx - half, cy - half, cx + half, cy + half, width, color);
        canvas.DrawLine(cx - half, cy + half, cx + half, cy - half, width, color);
    } else {
        canvas.DrawLine(cx - half, cy, cx + half, cy, width, color);
    }
}

void Button::PaintCheckBox(Canvas& canvas, const PaintState& state) const
{
    const Look& look = Style();
    const bool enabled = IsEnabled();
    const RECT& b = Bounds();
    PaintBox(canvas, look.background.value_or(kNone), look.border.value_or(kNone),
             look.radius.value_or(0), state);

    const int size = state.scale.Px(kBoxSize);
    const int top = b.top + ((b.bottom - b.top) - size) / 2;
    const RECT box{b.left, top, b.left + size, top + size};
    const int radius = state.scale.Px(4);
    const Color accent = m_buttonLook.checkColor.value_or(theme::kAccent);
    if (m_checked) {
        const Color fill = enabled ? (state.hot ? theme::kAccentHover : accent) : Color::Rgb(0xB6C8F2);
        canvas.FillRoundRect(box, radius, fill);
        const float s = static_cast<float>(size);
        const float w = state.scale.Px(4) / 2.f;
        canvas.DrawLine(box.left + s * 0.26f, box.top + s * 0.52f, box.left + s * 0.43f,
                        box.top + s * 0.69f, w, theme::kWhite);
        canvas.DrawLine(box.left + s * 0.43f, box.top + s * 0.69f, box.left + s * 0.75f,
                        box.top + s * 0.33f, w, theme::kWhite);
    } else {
        canvas.FillRoundRect(box, radius, enabled ? theme::kWhite : Color::Rgb(0xF2F4F7));
        const Color edge = !enabled ? theme::kOutline : (state.hot ? accent : Color::Rgb(0x98A2B3));
        canvas.StrokeRoundRect(box, radius, state.scale.Px(1), edge);
    }
    RECT text = b;
    text.left = box.right + state.scale.Px(8);
    const Color color = enabled ? look.color.value_or(Color::Rgb(0x344054))
                                : m_buttonLook.disabledColor.value_or(theme::kMutedText);
    PaintText(canvas, state, text, color, HAlign::Left);
    PaintFocusRing(canvas, state, 4);
}

long Button::AccRole() const { return m_checkBox ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_PUSHBUTTON; }

long Button::AccStateBits() const { return m_checked ? STATE_SYSTEM_CHECKED : 0; }

std::wstring Button::AccDefaultAction() const
{
    if (!m_checkBox)
        return L"Press";
    return m_checked ? L"Uncheck" : L"Check";
}

}  // namespace kit
