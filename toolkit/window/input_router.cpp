#include "window/input_router.h"

#include "elements/element.h"
#include "window/window.h"

#include <oleacc.h>

namespace kit {

namespace {

bool Contains(const RECT& rect, POINT point) { return PtInRect(&rect, point) != FALSE; }

Element* TopmostMouseTarget(Element& element, POINT point)
{
    if (!element.IsShownFlag() || !Contains(element.Bounds(), point))
        return nullptr;
    const auto& children = element.Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (Element* hit = TopmostMouseTarget(**it, point))
            return hit;
    return element.TakesMouse() ? &element : nullptr;
}

}  // namespace

bool InputRouter::Usable(const Element* element)
{
    return element != nullptr && element->IsVisible() && element->IsEnabled();
}

Element* InputRouter::HitTest(POINT point) const
{
    return TopmostMouseTarget(m_window.Root(), point);
}

bool InputRouter::InCaption(POINT point) const
{
    return point.y >= 0 && point.y < m_window.Scale().Px(m_window.Style().caption) &&
           HitTest(point) == nullptr;
}

void InputRouter::SetHot(Element* element)
{
    if (element == m_hot)
        return;
    if (m_hot != nullptr)
        m_hot->Invalidate();
    m_hot = element;
    if (m_hot != nullptr)
        m_hot->Invalidate();
}

void InputRouter::OnMouseMove(POINT point)
{
    if (!m_trackingLeave) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_window.Hwnd(), 0};
        m_trackingLeave = TrackMouseEvent(&track) != FALSE;
    }
    Element* target = HitTest(point);
    SetHot(Usable(target) ? target : nullptr);
}

void InputRouter::OnMouseLeave()
{
    m_trackingLeave = false;
    SetHot(nullptr);
}

void InputRouter::OnButtonDown(POINT point)
{
    Element* target = HitTest(point);
    SetHot(Usable(target) ? target : nullptr);
    if (!Usable(target)) {
        SetFocus(nullptr, false);
        return;
    }
    m_pressed = target;
    SetCapture(m_window.Hwnd());
    if (target->TakesFocus())
        SetFocus(target, false);
    target->Invalidate();
}

void InputRouter::OnButtonUp(POINT point)
{
    Element* pressed = m_pressed;
    m_pressed = nullptr;
    if (GetCapture() == m_window.Hwnd())
        ReleaseCapture();
    if (pressed == nullptr)
        return;
    pressed->Invalidate();
    if (HitTest(point) == pressed && Usable(pressed))
        pressed->Activate();
}

void InputRouter::OnCaptureLost()
{
    if (m_pressed != nullptr)
        m_pressed->Invalidate();
    m_pressed = nullptr;
}

bool InputRouter::OnKeyDown(WPARAM key, LPARAM flags)
{
    const bool repeat = (flags & (1 << 30)) != 0;
    switch (key) {
    case VK_TAB:
        MoveFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return true;
    case VK_SPACE:
    case VK_RETURN:
        if (!repeat && Usable(m_focused)) {
            if (!m_focusMark) {
                m_focusMark = true;
                m_focused->Invalidate();
            }
            m_focused->Activate();
        }
        return true;
    default:
        return false;
    }
}

void InputRouter::OnWindowFocus()
{
    if (Usable(m_focused))
        m_focused->OnFocusChanged(true, false);  // an edit takes the focus on to its control
}

void InputRouter::MoveFocus(int step)
{
    std::vector<Element*> order;
    for (Element* element : m_window.Elements())
        if (element->TakesFocus() && Usable(element))
            order.push_back(element);
    if (order.empty())
        return;
    int index = -1;
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i] == m_focused)
            index = static_cast<int>(i);
    const int count = static_cast<int>(order.size());
    int next;
    if (index < 0)
        next = step > 0 ? 0 : count - 1;
    else
        next = ((index + step) % count + count) % count;
    SetFocus(order[static_cast<size_t>(next)], true);
}

void InputRouter::SetFocus(Element* element, bool showMark)
{
    Element* previous = m_focused;
    m_focused = element;
    m_focusMark = showMark && element != nullptr;
    if (previous != nullptr && previous != element) {
        previous->Invalidate();
        previous->OnFocusChanged(false, false);
    }
    HWND hwnd = m_window.Hwnd();
    if (element == nullptr || element->Kind() != ElementKind::Edit) {
        if (GetFocus() != hwnd)
            ::SetFocus(hwnd);
    }
    if (element != nullptr) {
        element->Invalidate();
        element->OnFocusChanged(true, showMark);
        m_window.NotifyAccessibility(EVENT_OBJECT_FOCUS, element);
    }
}

void InputRouter::OnNativeFocus(Element* edit, bool gained)
{
    // A loss changes nothing here: a click in the window has already moved
    // the focus, and a focus that left for another program comes back to
    // the edit with the window's.
    if (!gained || m_focused == edit)
        return;
    if (m_focused != nullptr)
        m_focused->Invalidate();
    m_focused = edit;
    m_focusMark = false;
    m_window.NotifyAccessibility(EVENT_OBJECT_FOCUS, edit);
}

void InputRouter::Revalidate()
{
    if (m_hot != nullptr && !Usable(m_hot))
        SetHot(nullptr);
    if (m_pressed != nullptr && !Usable(m_pressed))
        OnCaptureLost();
    if (m_focused != nullptr && !Usable(m_focused)) {
        Element* lost = m_focused;
        m_focused = nullptr;
        m_focusMark = false;
        lost->Invalidate();
        if (lost->Kind() == ElementKind::Edit && GetFocus() != m_window.Hwnd() &&
            IsChild(m_window.Hwnd(), GetFocus()))
            ::SetFocus(m_window.Hwnd());
    }
}

}  // namespace kit
