#include "skin/layout_builder.h"

#include "skin/element_factory.h"
#include "skin/resource_table.h"
#include "skin/skin_document.h"
#include "skin/skin_values.h"

#include <cstring>

namespace kit {

namespace {

// Far beyond any installer window; keeps a hostile file from exhausting the stack.
constexpr int kMaxDepth = 64;
constexpr size_t kMaxElements = 5000;

class LayoutReader {
public:
    LayoutReader(const SkinDocument& document, const ResourceTable& resources)
        : m_document(document), m_resources(resources) {}

    bool ReadWindow(const pugi::xml_node& node, WindowStyle& style, std::wstring& error)
    {
        for (const pugi::xml_attribute& attribute : node.attributes()) {
            std::wstring reason;
            if (!ReadWindowAttribute(attribute, style, reason)) {
                error = m_document.Where(node) + L"attribute " + Utf8ToWide(attribute.name()) +
                        L" " + reason;
                return false;
            }
        }
        return true;
    }

    bool ReadChildren(const pugi::xml_node& node, Element& parent, int depth, std::wstring& error)
    {
        for (const pugi::xml_node& child : node.children()) {
            if (child.type() != pugi::node_element)
                continue;
            if (depth >= kMaxDepth || ++m_count > kMaxElements) {
                error = m_document.Where(child) + L"the layout is nested too deep or too large";
                return false;
            }
            std::wstring reason;
            std::unique_ptr<Element> element = MakeElement(child, m_resources, reason);
            if (!element) {
                error = m_document.Where(child) + reason;
                return false;
            }
            Element* added = parent.AddChild(std::move(element));
            if (!ReadChildren(child, *added, depth + 1, error))
                return false;
        }
        return true;
    }

private:
    bool ReadWindowAttribute(const pugi::xml_attribute& attribute, WindowStyle& style,
                             std::wstring& reason)
    {
        const std::string name = attribute.name();
        const char* value = attribute.value();
        auto named = [this](const std::string& n, Color& c) { return m_resources.FindColor(n, c); };
        if (name == "width" || name == "height" || name == "caption") {
            int& field = name == "width" ? style.width : name == "height" ? style.height : style.caption;
            const int minimum = name == "caption" ? 0 : 1;
            if (ParseInt(value, minimum, 10000, field))
                return true;
            reason = L"must be a whole number from " + std::to_wstring(minimum) + L" to 10000";
            return false;
        }
        if (name == "title") {
            style.title = Utf8ToWide(value);
            return true;
        }
        if (name == "background" || name == "border") {
            if (ParseColor(value, named, name == "background" ? style.background : style.border))
                return true;
            reason = L"must be #RRGGBB, none, or a colour of resource.xml";
            return false;
        }
        if (name == "font") {
            const FontStyle* font = m_resources.FindFont(value);
            if (font != nullptr) {
                style.font = *font;
                return true;
            }
            reason = L"names no font of resource.xml";
            return false;
        }
        reason = L"is not an attribute of <window>";
        return false;
    }

    const SkinDocument& m_document;
    const ResourceTable& m_resources;
    size_t m_count = 0;
};

}  // namespace

std::unique_ptr<Window> BuildWindow(const std::wstring& layoutFile, const ResourceTable& resources,
                                    std::wstring& error)
{
    SkinDocument document;
    if (!document.Load(layoutFile, error))
        return nullptr;
    const pugi::xml_node root = document.Root();
    if (std::strcmp(root.name(), "window") != 0) {
        error = document.Where(root) + L"the root must be <window>";
        return nullptr;
    }
    WindowStyle style;
    if (const FontStyle* font = resources.FindFont("default"))
        style.font = *font;
    LayoutReader reader(document, resources);
    if (!reader.ReadWindow(root, style, error))
        return nullptr;
    auto client = std::make_unique<Element>();
    if (!reader.ReadChildren(root, *client, 0, error))
        return nullptr;
    return std::make_unique<Window>(style, std::move(client));
}

}  // namespace kit
