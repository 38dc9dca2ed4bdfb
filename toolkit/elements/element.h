#pragma once
// The plain element (page, area, panel) and the base of every element kind:
// identity, place in the tree, box, shown/enabled state, look, events and
// what accessibility tools read.
#include "events/event_binders.h"
#include "graphics/color.h"
#include "graphics/dpi.h"
#include "graphics/font_cache.h"
#include "graphics/image.h"
#include "toolkit/xcgui.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kit {

class Canvas;
class Window;

enum class ElementKind { Plain, Text, Button, Edit, Progress };
enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center, Bottom };

// The theme's colours, shared by the element kinds.
namespace theme {
constexpr Color kAccent = Color::Rgb(0x2563EB);
constexpr Color kAccentHover = Color::Rgb(0x1D4ED8);
constexpr Color kAccentPressed = Color::Rgb(0x1E40AF);
constexpr Color kText = Color::Rgb(0x1F2937);
constexpr Color kMutedText = Color::Rgb(0x98A2B3);
constexpr Color kOutline = Color::Rgb(0xD0D5DD);
constexpr Color kWhite = Color::Rgb(0xFFFFFF);
}  // namespace theme

struct Look {
    std::optional<Color> background;
    std::optional<Color> border;
    int borderWidth = 1;
    std::optional<int> radius;
    std::shared_ptr<Image> image;
    std::optional<FontStyle> font;
    std::optional<Color> color;  // text colour
    std::optional<HAlign> align;
    VAlign valign = VAlign::Center;
    bool wrap = false;
};

// What the window tells an element when it paints it.
struct PaintState {
    HFONT font;
    const DpiScale& scale;
    bool hot;        // the mouse is over it
    bool pressed;    // the mouse button went down on it and is still down over it
    bool focusMark;  // it has the keyboard focus and the focus ring is shown
};

class Element {
public:
    explicit Element(ElementKind kind = ElementKind::Plain) : m_kind(kind) {}
    virtual ~Element() = default;
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    ElementKind Kind() const { return m_kind; }
    HXCGUI Handle() const { return m_handle; }
    void SetHandle(HXCGUI handle) { m_handle = handle; }
    int Id() const { return m_id; }
    const std::wstring& IdName() const { return m_idName; }
    void SetId(const std::wstring& name, int value)
    {
        m_idName = name;
        m_id = value;
    }

    // Tree.
    Element* Parent() const { return m_parent; }
    const std::vector<std::unique_ptr<Element>>& Children() const { return m_children; }
    Element* AddChild(std::unique_ptr<Element> child);
    Window* OwnerWindow() const { return m_window; }
    void AttachTo(Window* window);  // this element and its subtree

    // Box, in 96-DPI pixels relative to the parent; width/height unset fill
    // the rest of the parent.
    struct Placement {
        int x = 0, y = 0, width = 0, height = 0;
        bool widthSet = false, heightSet = false;
    };
    Placement& Place() { return m_place; }
    void Layout(const RECT& parentLogical, const DpiScale& scale);
    const RECT& Bounds() const { return m_bounds; }  // device pixels in the client area
    RECT DirtyBounds() const;                        // with room for the focus ring

    // State: the element's own flags, and what follows from its ancestors.
    bool IsShownFlag() const { return m_shown; }
    bool IsEnabledFlag() const { return m_enabled; }
    void SetShown(bool shown);
    void SetEnabled(bool enabled);
    bool IsVisible() const;  // shown, and every ancestor shown
    bool IsEnabled() const;  // enabled, and every ancestor enabled

    // Look and text.
    Look& Style() { return m_look; }
    const Look& Style() const { return m_look; }
    const std::wstring& Text() const { return m_text; }
    virtual void SetText(const std::wstring& text);
    void SetLabel(const std::wstring& label) { m_label = label; }
    const std::wstring& Label() const { return m_label; }
    virtual std::wstring AccessibleName() const { return m_text.empty() ? m_label : m_text; }

    virtual void Paint(Canvas& canvas, const PaintState& state) const;
    void Invalidate() const;

    // Input.
    virtual bool TakesMouse() const { return false; }
    virtual bool TakesFocus() const { return false; }
    virtual void Activate() {}                      // click, Space/Enter, default action
    // byKeyboard: Tab or an accessibility tool moved the focus here.
    virtual void OnFocusChanged(bool /*focused*/, bool /*byKeyboard*/) {}

    // Native parts and layout.
    virtual void OnAttached() {}
    virtual void OnLayout() {}
    virtual void SyncNative() {}

    // Accessibility.
    virtual long AccRole() const;
    virtual long AccStateBits() const { return 0; }
    virtual bool AccValue(std::wstring& /*value*/) const { return false; }
    virtual std::wstring AccDefaultAction() const { return {}; }

    EventBinders& Events() { return m_events; }
    // Raises an event of this element. The window may be gone afterwards.
    EventBinders::Outcome Raise(int eventCode, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    void PaintBox(Canvas& canvas, Color background, Color border, int radius,
                  const PaintState& state) const;
    void PaintText(Canvas& canvas, const PaintState& state, const RECT& box, Color color,
                   HAlign defaultAlign) const;
    void PaintFocusRing(Canvas& canvas, const PaintState& state, int radius) const;
    void StateChanged() const;  // shown/enabled/checked changed: tell the window

private:
    ElementKind m_kind;
    HXCGUI m_handle = nullptr;
    int m_id = 0;
    std::wstring m_idName;
    Element* m_parent = nullptr;
    std::vector<std::unique_ptr<Element>> m_children;
    Window* m_window = nullptr;
    Placement m_place;
    RECT m_logical{};
    RECT m_bounds{};
    bool m_shown = true;
    bool m_enabled = true;
    Look m_look;
    std::wstring m_text;
    std::wstring m_label;
    EventBinders m_events;
};

}  // namespace kit
