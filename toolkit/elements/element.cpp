#include "elements/element.h"

#include "core/toolkit_state.h"
#include "graphics/canvas.h"
#include "window/window.h"

#include <oleacc.h>

namespace kit {

Element* Element::AddChild(std::unique_ptr<Element> child)
{
    child->m_parent = this;
    m_children.push_back(std::move(child));
    return m_children.back().get();
}

void Element::AttachTo(Window* window)
{
    m_window = window;
    for (auto& child : m_children)
        child->AttachTo(window);
}

void Element::Layout(const RECT& parentLogical, const DpiScale& scale)
{
    const int left = parentLogical.left + m_place.x;
    const int top = parentLogical.top + m_place.y;
    const int width = m_place.widthSet ? m_place.width : parentLogical.right - left;
    const int height = m_place.heightSet ? m_place.height : parentLogical.bottom - top;
    m_logical = {left, top, left + (width > 0 ? width : 0), top + (height > 0 ? height : 0)};
    m_bounds = scale.Rect(m_logical);
    OnLayout();
    for (auto& child : m_children)
        child->Layout(m_logical, scale);
}

RECT Element::DirtyBounds() const
{
    RECT area = m_bounds;
    const int room = m_window != nullptr ? m_window->Scale().Px(5) : 5;
    InflateRect(&area, room, room);
    return area;
}

void Element::SetShown(bool shown)
{
    if (m_shown == shown)
        return;
    m_shown = shown;
    Invalidate();
    StateChanged();
}

void Element::SetEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    Invalidate();
    StateChanged();
}

bool Element::IsVisible() const
{
    for (const Element* e = this; e != nullptr; e = e->m_parent)
        if (!e->m_shown)
            return false;
    return true;
}

bool Element::IsEnabled() const
{
    for (const Element* e = this; e != nullptr; e = e->m_parent)
        if (!e->m_enabled)
            return false;
    return true;
}

void Element::SetText(const std::wstring& text)
{
    if (m_text == text)
        return;
    m_text = text;
    Invalidate();
    if (m_window != nullptr)
        m_window->NotifyAccessibility(EVENT_OBJECT_NAMECHANGE, this);
}

void Element::Invalidate() const
{
    if (m_window != nullptr)
        m_window->InvalidateArea(DirtyBounds());
}

void Element::StateChanged() const
{
    if (m_window != nullptr)
        m_window->ElementStateChanged(*this);
}

EventBinders::Outcome Element::Raise(int eventCode, WPARAM wParam, LPARAM lParam)
{
    Window* window = m_window;
    if (window == nullptr || !window->IsAlive())
        return {};
    BusyScope busy;
    const XC_EVENT_PARAMS params{m_handle, eventCode, wParam, lParam};
    return m_events.Dispatch(true, params, [window] { return window->IsAlive(); });
}

void Element::PaintBox(Canvas& canvas, Color background, Color border, int radius,
                       const PaintState& state) const
{
    const int r = state.scale.Px(radius);
    canvas.FillRoundRect(m_bounds, r, background);
    if (!border.IsNone())
        canvas.StrokeRoundRect(m_bounds, r, state.scale.Px(m_look.borderWidth), border);
    if (m_look.image)
        canvas.DrawImage(m_look.image->Dc(), m_look.image->Width(), m_look.image->Height(),
                         m_bounds);
}

void Element::PaintText(Canvas& canvas, const PaintState& state, const RECT& box, Color color,
                        HAlign defaultAlign) const
{
    if (m_text.empty())
        return;
    UINT format = DT_NOPREFIX;
    switch (m_look.align.value_or(defaultAlign)) {
    case HAlign::Left: format |= DT_LEFT; break;
    case HAlign::Center: format |= DT_CENTER; break;
    case HAlign::Right: format |= DT_RIGHT; break;
    }
    RECT area = box;
    if (m_look.wrap) {
        format |= DT_WORDBREAK;
        RECT measured = box;
        HGDIOBJ old = SelectObject(canvas.Dc(), state.font);
        ::DrawTextW(canvas.Dc(), m_text.c_str(), static_cast<int>(m_text.size()), &measured,
                    format | DT_CALCRECT);
        SelectObject(canvas.Dc(), old);
        const int spare = (box.bottom - box.top) - (measured.bottom - measured.top);
        if (spare > 0 && m_look.valign != VAlign::Top)
            area.top += m_look.valign == VAlign::Center ? spare / 2 : spare;
    } else {
        format |= DT_SINGLELINE | DT_END_ELLIPSIS;
        format |= m_look.valign == VAlign::Top      ? DT_TOP
                  : m_look.valign == VAlign::Bottom ? DT_BOTTOM
                                                    : DT_VCENTER;
    }
    // Text stays inside the element's own box.
    RECT clip = canvas.Clip();
    RECT inner{};
    IntersectRect(&inner, &clip, &m_bounds);
    canvas.SetClip(inner);
    canvas.DrawText(m_text, area, state.font, color, format);
    canvas.SetClip(clip);
}

void Element::PaintFocusRing(Canvas& canvas, const PaintState& state, int radius) const
{
    if (!state.focusMark)
        return;
    RECT ring = m_bounds;
    const int gap = state.scale.Px(3);
    InflateRect(&ring, gap, gap);
    canvas.StrokeRoundRect(ring, state.scale.Px(radius) + gap, state.scale.Px(2),
                           Color{theme::kAccent.r, theme::kAccent.g, theme::kAccent.b, 170});
}

void Element::Paint(Canvas& canvas, const PaintState& state) const
{
    PaintBox(canvas, m_look.background.value_or(Color{}), m_look.border.value_or(Color{}),
             m_look.radius.value_or(0), state);
    PaintText(canvas, state, m_bounds, m_look.color.value_or(theme::kText), HAlign::Left);
}

long Element::AccRole() const { return ROLE_SYSTEM_GROUPING; }

}  // namespace kit
