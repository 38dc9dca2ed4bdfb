#include "skin/resource_table.h"

#include "skin/skin_document.h"
#include "skin/skin_values.h"

#include <cstring>

namespace kit {

namespace {

std::vector<std::wstring> SplitFaces(const std::wstring& list)
{
    std::vector<std::wstring> faces;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(L',', start);
        if (end == std::wstring::npos)
            end = list.size();
        std::wstring face = list.substr(start, end - start);
        const size_t first = face.find_first_not_of(L' ');
        const size_t last = face.find_last_not_of(L' ');
        if (first != std::wstring::npos)
            faces.push_back(face.substr(first, last - first + 1));
        start = end + 1;
    }
    return faces;
}

// Reads one child of <resource>; false with the reason (without position).
class ResourceReader {
public:
    ResourceReader(const std::wstring& skinFolder, std::map<std::wstring, int>& ids,
                   std::map<int, std::wstring>& idNames, std::map<std::string, Color>& colors,
                   std::map<std::string, FontStyle>& fonts,
                   std::map<std::string, std::shared_ptr<Image>>& images)
        : m_folder(skinFolder), m_ids(ids), m_idNames(idNames), m_colors(colors), m_fonts(fonts),
          m_images(images) {}

    bool Read(const pugi::xml_node& node, std::wstring& error)
    {
        const std::string tag = node.name();
        if (!CheckAttributes(node, tag, error))
            return false;
        const char* name = node.attribute("name").value();
        if (*name == '\0') {
            error = L"<" + Utf8ToWide(tag.c_str()) + L"> needs a name";
            return false;
        }
        if (tag == "id")
            return ReadId(node, name, error);
        if (tag == "color")
            return ReadColor(node, name, error);
        if (tag == "font")
            return ReadFont(node, name, error);
        return ReadImage(node, name, error);
    }

private:
    static bool CheckAttributes(const pugi::xml_node& node, const std::string& tag,
                                std::wstring& error)
    {
        static const std::map<std::string, std::vector<std::string>> kAllowed = {
            {"id", {"name", "value"}},
            {"color", {"name", "value"}},
            {"font", {"name", "face", "size", "weight"}},
            {"image", {"name", "file"}}};
        auto allowed = kAllowed.find(tag);
        if (allowed == kAllowed.end()) {
            error = L"unknown resource <" + Utf8ToWide(tag.c_str()) + L">";
            return false;
        }
        for (const pugi::xml_attribute& attribute : node.attributes()) {
            bool known = false;
            for (const auto& name : allowed->second)
                known = known || name == attribute.name();
            if (!known) {
                error = L"unknown attribute " + Utf8ToWide(attribute.name()) + L" of <" +
                        Utf8ToWide(tag.c_str()) + L">";
                return false;
            }
        }
        return true;
    }

    bool ReadId(const pugi::xml_node& node, const char* name, std::wstring& error)
    {
        int value = 0;
        if (!ParseInt(node.attribute("value").value(), 1, 2147483647, value)) {
            error = L"id value must be a number from 1 to 2147483647";
            return false;
        }
        const std::wstring wideName = Utf8ToWide(name);
        auto owner = m_idNames.find(value);
        if (owner != m_idNames.end() && owner->second != wideName) {
            error = L"id value " + std::to_wstring(value) + L" is already " + owner->second;
            return false;
        }
        if (m_ids.count(wideName) != 0 && m_ids[wideName] != value) {
            error = L"id " + wideName + L" is declared twice";
            return false;
        }
        m_ids[wideName] = value;
        m_idNames[value] = wideName;
        return true;
    }

    bool ReadColor(const pugi::xml_node& node, const char* name, std::wstring& error)
    {
        Color color;
        if (!ParseColor(node.attribute("value").value(), nullptr, color)) {
            error = L"colour value must be #RRGGBB or none";
            return false;
        }
        m_colors[name] = color;
        return true;
    }

    bool ReadFont(const pugi::xml_node& node, const char* name, std::wstring& error)
    {
        FontStyle style;
        style.faces = SplitFaces(Utf8ToWide(node.attribute("face").value()));
        if (style.faces.empty()) {
            error = L"font needs a face";
            return false;
        }
        const pugi::xml_attribute size = node.attribute("size");
        if (size && !ParseInt(size.value(), 6, 200, style.size)) {
            error = L"font size must be a number from 6 to 200";
            return false;
        }
        const pugi::xml_attribute weight = node.attribute("weight");
        if (weight && !ParseWeight(weight.value(), style.weight)) {
            error = L"font weight must be normal, medium, semibold, bold or 100 to 900";
            return false;
        }
        m_fonts[name] = style;
        return true;
    }

    bool ReadImage(const pugi::xml_node& node, const char* name, std::wstring& error)
    {
        const std::wstring file = Utf8ToWide(node.attribute("file").value());
        if (file.empty()) {
            error = L"image needs a file";
            return false;
        }
        auto image = Image::Load(m_folder + L"\\" + file, error);
        if (!image)
            return false;
        m_images[name] = image;
        return true;
    }

    const std::wstring& m_folder;
    std::map<std::wstring, int>& m_ids;
    std::map<int, std::wstring>& m_idNames;
    std::map<std::string, Color>& m_colors;
    std::map<std::string, FontStyle>& m_fonts;
    std::map<std::string, std::shared_ptr<Image>>& m_images;
};

}  // namespace

bool ResourceTable::Load(const std::wstring& file, const std::wstring& skinFolder,
                         std::wstring& error)
{
    SkinDocument document;
    if (!document.Load(file, error))
        return false;
    const pugi::xml_node root = document.Root();
    if (std::strcmp(root.name(), "resource") != 0) {
        error = document.Where(root) + L"the root must be <resource>";
        return false;
    }
    ResourceReader reader(skinFolder, m_ids, m_idNames, m_colors, m_fonts, m_images);
    for (const pugi::xml_node& node : root.children()) {
        if (node.type() != pugi::node_element)
            continue;
        std::wstring reason;
        if (!reader.Read(node, reason)) {
            error = document.Where(node) + reason;
            return false;
        }
    }
    return true;
}

int ResourceTable::IdValue(const std::wstring& name) const
{
    auto it = m_ids.find(name);
    return it == m_ids.end() ? 0 : it->second;
}

bool ResourceTable::HasIdValue(int value) const { return m_idNames.count(value) != 0; }

bool ResourceTable::FindColor(const std::string& name, Color& out) const
{
    auto it = m_colors.find(name);
    if (it == m_colors.end())
        return false;
    out = it->second;
    return true;
}

const FontStyle* ResourceTable::FindFont(const std::string& name) const
{
    auto it = m_fonts.find(name);
    return it == m_fonts.end() ? nullptr : &it->second;
}

std::shared_ptr<Image> ResourceTable::FindImage(const std::string& name) const
{
    auto it = m_images.find(name);
    return it == m_images.end() ? nullptr : it->second;
}

}  // namespace kit
