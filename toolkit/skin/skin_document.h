#pragma once
// One skin file read with pugixml (UTF-8 inside the toolkit, UTF-16 at its
// edges), with positions for error messages.
#include <pugixml.hpp>

#include <string>

namespace kit {

std::wstring Utf8ToWide(const char* text);

class SkinDocument {
public:
    // False with "file:line:column: reason" when the file is missing or no
    // well-formed XML.
    bool Load(const std::wstring& path, std::wstring& error);

    pugi::xml_node Root() const { return m_doc.document_element(); }
    const std::wstring& Path() const { return m_path; }
    // "file:line:column: " of a node, for messages about it.
    std::wstring Where(const pugi::xml_node& node) const;

private:
    std::wstring WhereOffset(ptrdiff_t offset) const;

    std::wstring m_path;
    std::string m_bytes;
    pugi::xml_document m_doc;
};

}  // namespace kit
