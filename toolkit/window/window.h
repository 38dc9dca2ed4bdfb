#pragma once
// One toolkit window: a border-less native window whose client area the
// element tree paints, the window's own event binders, and its life cycle.
#include "elements/element.h"
#include "events/event_binders.h"
#include "graphics/dpi.h"
#include "graphics/font_cache.h"
#include "window/input_router.h"
#include "window/painter.h"

#include <memory>
#include <string>
#include <vector>

namespace kit {

class AccessibleWindow;
class RichEdit;

struct WindowStyle {
    int width = 480;
    int height = 320;
    std::wstring title;
    int caption = 0;  // height of the drag strip
    Color background = theme::kWhite;
    Color border;
    FontStyle font = DefaultFontStyle();
};

class Window {
public:
    Window(const WindowStyle& style, std::unique_ptr<Element> root);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Makes the native window (hidden, centred) and gives out the handles.
    bool Create();

    HXCGUI Handle() const { return m_handle; }
    HWND Hwnd() const { return m_hwnd; }
    bool IsAlive() const { return m_hwnd != nullptr && !m_tornDown; }
    const WindowStyle& Style() const { return m_style; }
    const DpiScale& Scale() const { return m_scale; }
    Element& Root() { return *m_root; }
    const std::vector<Element*>& Elements() const { return m_elements; }  // document order
    Element* FindById(int id) const;
    int ChildId(const Element* element) const;  // accessibility child id, 0 when none
    HFONT FontFor(const Element& element) const;
    EventBinders& Events() { return m_events; }
    InputRouter& Input() { return m_input; }

    void Layout();
    bool Show(int command);
    void InvalidateArea(const RECT& area);
    void InvalidateAll();
    void PaintNow();  // paints what is pending, when shown
    void Close();     // destroys the native window; the loop then ends
    void Minimize();
    void Destroy() { Close(); }

    void ElementStateChanged(const Element& element);
    void NotifyAccessibility(DWORD event, const Element* element) const;
    void ActivateLater(const Element& element);  // for accessibility tools

    const Canvas& BackBuffer() const { return m_painter.Buffer(); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT HandleObjectRequest(WPARAM wParam, LPARAM lParam);
    RichEdit* EditOf(HWND native) const;
    void TearDown();

    WindowStyle m_style;
    DpiScale m_scale;
    std::unique_ptr<Element> m_root;
    std::vector<Element*> m_elements;
    HXCGUI m_handle = nullptr;
    HWND m_hwnd = nullptr;
    bool m_tornDown = false;
    bool m_painted = false;  // first WM_PAINT done (start-up mark set)
    EventBinders m_events;
    InputRouter m_input;
    Painter m_painter;
    AccessibleWindow* m_accessible = nullptr;
};

// The message an accessibility tool's default action posts to the window.
UINT DefaultActionMessage();

}  // namespace kit
