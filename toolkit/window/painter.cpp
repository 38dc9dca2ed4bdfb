#include "window/painter.h"

#include "elements/element.h"
#include "window/window.h"

namespace kit {

void Painter::Paint(Window& window, HDC target, const RECT& dirty)
{
    RECT client;
    GetClientRect(window.Hwnd(), &client);
    if (!m_canvas.Resize(client.right, client.bottom))
        return;
    RECT area{};
    if (!IntersectRect(&area, &dirty, &client))
        return;
    m_canvas.SetClip(area);
    m_canvas.FillRect(area, window.Style().background);
    for (const auto& child : window.Root().Children())
        PaintElement(window, *child, area);
    if (!window.Style().border.IsNone()) {
        m_canvas.SetClip(area);
        m_canvas.StrokeRoundRect(client, 0, window.Scale().Px(1), window.Style().border);
    }
    m_canvas.Present(target, area);
}

void Painter::PaintElement(Window& window, const Element& element, const RECT& clip)
{
    if (!element.IsShownFlag())
        return;
    RECT reach = element.DirtyBounds();
    RECT touched{};
    if (!IntersectRect(&touched, &reach, &clip))
        return;
    const InputRouter& input = window.Input();
    const bool hot = input.Hot() == &element;
    const PaintState state{window.FontFor(element), window.Scale(), hot,
                           hot && input.Pressed() == &element,
                           input.Focused() == &element && input.FocusMarkShown()};
    m_canvas.SetClip(clip);
    element.Paint(m_canvas, state);
    RECT inside{};
    if (!IntersectRect(&inside, &clip, &element.Bounds()))
        return;
    for (const auto& child : element.Children())
        PaintElement(window, *child, inside);
}

}  // namespace kit
