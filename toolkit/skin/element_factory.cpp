#include "skin/element_factory.h"

#include "core/toolkit_state.h"
#include "elements/button.h"
#include "elements/progress_bar.h"
#include "elements/rich_edit.h"
#include "elements/shape_text.h"
#include "skin/skin_document.h"
#include "skin/skin_values.h"

#include <cstring>
#include <vector>

namespace kit {

namespace {

constexpr int kMaxCoordinate = 10000;

using ApplyFn = bool (*)(Element&, const char*, const ResourceTable&, std::wstring&);

struct AttributeRule {
    const char* name;
    ApplyFn apply;
};

bool Number(const char* text, int minimum, int maximum, int& out, std::wstring& reason)
{
    if (ParseInt(text, minimum, maximum, out))
        return true;
    reason = L"must be a whole number from " + std::to_wstring(minimum) + L" to " +
             std::to_wstring(maximum);
    return false;
}

bool Flag(const char* text, bool& out, std::wstring& reason)
{
    if (ParseBool(text, out))
        return true;
    reason = L"must be true or false";
    return false;
}

bool Colour(const char* text, const ResourceTable& resources, Color& out, std::wstring& reason)
{
    auto named = [&resources](const std::string& name, Color& c) { return resources.FindColor(name, c); };
    if (ParseColor(text, named, out))
        return true;
    reason = L"must be #RRGGBB, none, or a colour of resource.xml";
    return false;
}

bool OptionalColour(const char* text, const ResourceTable& resources, std::optional<Color>& out,
                    std::wstring& reason)
{
    Color c;
    if (!Colour(text, resources, c, reason))
        return false;
    out = c;
    return true;
}

template <class T>
T& As(Element& element) { return static_cast<T&>(element); }

// Rules every element kind takes.
const AttributeRule kCommonRules[] = {
    {"id", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         const std::wstring name = Utf8ToWide(v);
         if (name.empty()) {
             reason = L"must not be empty";
             return false;
         }
         e.SetId(name, Toolkit::Get().AssignId(name));
         return true;
     }},
    {"x", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         return Number(v, -kMaxCoordinate, kMaxCoordinate, e.Place().x, reason);
     }},
    {"y", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         return Number(v, -kMaxCoordinate, kMaxCoordinate, e.Place().y, reason);
     }},
    {"width", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         e.Place().widthSet = true;
         return Number(v, 0, kMaxCoordinate, e.Place().width, reason);
     }},
    {"height", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         e.Place().heightSet = true;
         return Number(v, 0, kMaxCoordinate, e.Place().height, reason);
     }},
    {"visible", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         bool shown = true;
         if (!Flag(v, shown, reason))
             return false;
         e.SetShown(shown);
         return true;
     }},
    {"enabled", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         bool enabled = true;
         if (!Flag(v, enabled, reason))
             return false;
         e.SetEnabled(enabled);
         return true;
     }},
    {"background", [](Element& e, const char* v, const ResourceTable& r, std::wstring& reason) {
         return OptionalColour(v, r, e.Style().background, reason);
     }},
    {"border", [](Element& e, const char* v, const ResourceTable& r, std::wstring& reason) {
         return OptionalColour(v, r, e.Style().border, reason);
     }},
    {"borderwidth", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         return Number(v, 0, 50, e.Style().borderWidth, reason);
     }},
    {"radius", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         int radius = 0;
         if (!Number(v, 0, 1000, radius, reason))
             return false;
         e.Style().radius = radius;
         return true;
     }},
    {"image", [](Element& e, const char* v, const ResourceTable& r, std::wstring& reason) {
         e.Style().image = r.FindImage(v);
         if (!e.Style().image)
             reason = L"names no image of resource.xml";
         return e.Style().image != nullptr;
     }},
    {"text", [](Element& e, const char* v, const ResourceTable&, std::wstring&) {
         e.SetText(Utf8ToWide(v));
         return true;
     }},
    {"label", [](Element& e, const char* v, const ResourceTable&, std::wstring&) {
         e.SetLabel(Utf8ToWide(v));
         return true;
     }},
    {"font", [](Element& e, const char* v, const ResourceTable& r, std::wstring& reason) {
         const FontStyle* font = r.FindFont(v);
         if (font == nullptr) {
             reason = L"names no font of resource.xml";
             return false;
         }
         e.Style().font = *font;
         return true;
     }},
    {"color", [](Element& e, const char* v, const ResourceTable& r, std::wstring& reason) {
         return OptionalColour(v, r, e.Style().color, reason);
     }},
    {"align", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         const std::string s = v;
         if (s == "left") e.Style().align = HAlign::Left;
         else if (s == "center") e.Style().align = HAlign::Center;
         else if (s == "right") e.Style().align = HAlign::Right;
         else { reason = L"must be left, center or right"; return false; }
         return true;
     }},
    {"valign", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         const std::string s = v;
         if (s == "top") e.Style().valign = VAlign::Top;
         else if (s == "center") e.Style().valign = VAlign::Center;
         else if (s == "bottom") e.Style().valign = VAlign::Bottom;
         else { reason = L"must be top, center or bottom"; return false; }
         return true;
     }},
    {"wrap", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         return Flag(v, e.Style().wrap, reason);
     }},
};

template <std::optional<Color> ButtonLook::*Field>
bool ButtonColour(Element& e, const char* v, const ResourceTable& r, std::wstring& reason)
{
    return OptionalColour(v, r, As<Button>(e).ButtonStyleSet().*Field, reason);
}

const AttributeRule kButtonRules[] = {
    {"style", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         const std::string s = v;
         ButtonStyle& style = As<Button>(e).ButtonStyleSet().style;
         if (s == "primary") style = ButtonStyle::Primary;
         else if (s == "secondary") style = ButtonStyle::Secondary;
         else if (s == "link") style = ButtonStyle::Link;
         else if (s == "ghost") style = ButtonStyle::Ghost;
         else { reason = L"must be primary, secondary, link or ghost"; return false; }
         return true;
     }},
    {"glyph", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         const std::string s = v;
         ButtonLook& look = As<Button>(e).ButtonStyleSet();
         if (s == "close") look.glyph = ButtonGlyph::Close;
         else if (s == "minimize") look.glyph = ButtonGlyph::Minimize;
         else { reason = L"must be close or minimize"; return false; }
         look.style = ButtonStyle::Ghost;  // icon buttons sit flat on the caption
         return true;
     }},
    {"action", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         const std::string s = v;
         if (s == "close") As<Button>(e).SetAction(ButtonAction::Close);
         else if (s == "minimize") As<Button>(e).SetAction(ButtonAction::Minimize);
         else { reason = L"must be close or minimize"; return false; }
         return true;
     }},
    {"hoverbackground", &ButtonColour<&ButtonLook::hoverBackground>},
    {"pressedbackground", &ButtonColour<&ButtonLook::pressedBackground>},
    {"disabledbackground", &ButtonColour<&ButtonLook::disabledBackground>},
    {"hovercolor", &ButtonColour<&ButtonLook::hoverColor>},
    {"disabledcolor", &ButtonColour<&ButtonLook::disabledColor>},
};

const AttributeRule kCheckBoxRules[] = {
    {"checked", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         bool checked = false;
         if (!Flag(v, checked, reason))
             return false;
         As<Button>(e).SetChecked(checked);
         return true;
     }},
    {"checkcolor", &ButtonColour<&ButtonLook::checkColor>},
    {"hovercolor", &ButtonColour<&ButtonLook::hoverColor>},
    {"disabledcolor", &ButtonColour<&ButtonLook::disabledColor>},
};

const AttributeRule kEditRules[] = {
    {"hint", [](Element& e, const char* v, const ResourceTable&, std::wstring&) {
         As<RichEdit>(e).SetHint(Utf8ToWide(v));
         return true;
     }},
    {"hintcolor", [](Element& e, const char* v, const ResourceTable& r, std::wstring& reason) {
         Color c;
         if (!Colour(v, r, c, reason))
             return false;
         As<RichEdit>(e).SetHintColor(c);
         return true;
     }},
    {"multiline", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         bool on = false;
         if (!Flag(v, on, reason))
             return false;
         As<RichEdit>(e).SetMultiLine(on);
         return true;
     }},
    {"wrap", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         bool on = false;
         if (!Flag(v, on, reason))
             return false;
         As<RichEdit>(e).SetAutoWrap(on);
         return true;
     }},
    {"scrollbar", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         bool on = true;
         if (!Flag(v, on, reason))
             return false;
         As<RichEdit>(e).SetScrollBarV(on);
         return true;
     }},
    {"focusborder", [](Element& e, const char* v, const ResourceTable& r, std::wstring& reason) {
         Color c;
         if (!Colour(v, r, c, reason))
             return false;
         As<RichEdit>(e).SetFocusBorder(c);
         return true;
     }},
};

// pos and the spacings are checked here and set once every attribute is read,
// so that their order does not matter.
const AttributeRule kProgressRules[] = {
    {"range", [](Element& e, const char* v, const ResourceTable&, std::wstring& reason) {
         int range = 100;
         if (!Number(v, 1, 2147483647, range, reason))
             return false;
         As<ProgressBar>(e).SetRange(range);
         return true;
     }},
    {"pos", [](Element&, const char* v, const ResourceTable&, std::wstring& reason) {
         int pos = 0;
         return Number(v, 0, 2147483647, pos, reason);
     }},
    {"spaceleft", [](Element&, const char* v, const ResourceTable&, std::wstring& reason) {
         int left = 0;
         return Number(v, 0, kMaxCoordinate, left, reason);
     }},
    {"spaceright", [](Element&, const char* v, const ResourceTable&, std::wstring& reason) {
         int right = 0;
         return Number(v, 0, kMaxCoordinate, right, reason);
     }},
    {"fillcolor", [](Element& e, const char* v, const ResourceTable& r, std::wstring& reason) {
         Color c;
         if (!Colour(v, r, c, reason))
             return false;
         As<ProgressBar>(e).SetFillColor(c);
         return true;
     }},
};

struct KindRules {
    const char* tag;
    std::unique_ptr<Element> (*create)();
    const AttributeRule* rules;
    size_t count;
};

template <size_t N>
constexpr size_t CountOf(const AttributeRule (&)[N]) { return N; }

const KindRules kKinds[] = {
    {"element", [] { return std::unique_ptr<Element>(new Element()); }, nullptr, 0},
    {"text", [] { return std::unique_ptr<Element>(new ShapeText()); }, nullptr, 0},
    {"button", [] { return std::unique_ptr<Element>(new Button(false)); }, kButtonRules,
     CountOf(kButtonRules)},
    {"checkbox", [] { return std::unique_ptr<Element>(new Button(true)); }, kCheckBoxRules,
     CountOf(kCheckBoxRules)},
    {"edit", [] { return std::unique_ptr<Element>(new RichEdit()); }, kEditRules, CountOf(kEditRules)},
    {"progress", [] { return std::unique_ptr<Element>(new ProgressBar()); }, kProgressRules,
     CountOf(kProgressRules)},
};

const AttributeRule* FindRule(const AttributeRule* rules, size_t count, const char* name)
{
    for (size_t i = 0; i < count; ++i)
        if (std::strcmp(rules[i].name, name) == 0)
            return &rules[i];
    return nullptr;
}

// The progress bar's values depend on each other; they are set once all are read.
void FinishProgress(ProgressBar& bar, const pugi::xml_node& node)
{
    int left = 0, right = 0, pos = 0;
    ParseInt(node.attribute("spaceleft").value(), 0, kMaxCoordinate, left);
    ParseInt(node.attribute("spaceright").value(), 0, kMaxCoordinate, right);
    bar.SetSpaces(left, right);
    if (ParseInt(node.attribute("pos").value(), 0, 2147483647, pos))
        bar.SetPos(pos);
}

}  // namespace

std::unique_ptr<Element> MakeElement(const pugi::xml_node& node, const ResourceTable& resources,
                                     std::wstring& error)
{
    const KindRules* kind = nullptr;
    for (const KindRules& k : kKinds)
        if (std::strcmp(k.tag, node.name()) == 0)
            kind = &k;
    if (kind == nullptr) {
        error = L"unknown element <" + Utf8ToWide(node.name()) +
                L"> (element, text, button, checkbox, edit, progress)";
        return nullptr;
    }
    std::unique_ptr<Element> element = kind->create();
    for (const pugi::xml_attribute& attribute : node.attributes()) {
        // A kind's own rule wins over the common one of the same name (wrap of an edit).
        const AttributeRule* rule = FindRule(kind->rules, kind->count, attribute.name());
        if (rule == nullptr)
            rule = FindRule(kCommonRules, CountOf(kCommonRules), attribute.name());
        std::wstring reason;
        if (rule == nullptr)
            reason = L"is not an attribute of <" + Utf8ToWide(node.name()) + L">";
        else if (rule->apply(*element, attribute.value(), resources, reason))
            continue;
        error = L"attribute " + Utf8ToWide(attribute.name()) + L" " + reason;
        return nullptr;
    }
    if (element->Kind() == ElementKind::Progress)
        FinishProgress(static_cast<ProgressBar&>(*element), node);
    return element;
}

}  // namespace kit
