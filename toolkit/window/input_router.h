#pragma once
// Mouse and keyboard inside one window: which element is under the mouse,
// which one was pressed, which one has the keyboard focus, Tab order, and
// turning a click, Space or Enter into the element's activation.
#include <windows.h>

namespace kit {

class Element;
class Window;

class InputRouter {
public:
    explicit InputRouter(Window& window) : m_window(window) {}

    Element* Hot() const { return m_hot; }
    Element* Pressed() const { return m_pressed; }
    Element* Focused() const { return m_focused; }
    bool FocusMarkShown() const { return m_focusMark; }

    // The topmost visible element under a client point that takes the mouse
    // (disabled ones too: they swallow the click); null over the background.
    Element* HitTest(POINT point) const;
    bool InCaption(POINT point) const;

    void OnMouseMove(POINT point);
    void OnMouseLeave();
    void OnButtonDown(POINT point);
    void OnButtonUp(POINT point);
    void OnCaptureLost();
    bool OnKeyDown(WPARAM key, LPARAM flags);  // true when the key was used
    void OnWindowFocus();                      // the native window got the focus

    void MoveFocus(int step);                  // +1 Tab, -1 Shift+Tab
    void SetFocus(Element* element, bool showMark);
    void OnNativeFocus(Element* edit, bool gained);  // a hosted edit control
    void Revalidate();  // after shown/enabled changes: drop what may no longer have input

private:
    void SetHot(Element* element);
    static bool Usable(const Element* element);

    Window& m_window;
    Element* m_hot = nullptr;
    Element* m_pressed = nullptr;
    Element* m_focused = nullptr;
    bool m_focusMark = false;
    bool m_trackingLeave = false;
};

}  // namespace kit
