#pragma once
// What resource.xml declares: ID names and numbers, named colours, fonts and
// images. A table is read whole or not at all.
#include "graphics/color.h"
#include "graphics/font_cache.h"
#include "graphics/image.h"

#include <map>
#include <memory>
#include <string>

namespace kit {

class ResourceTable {
public:
    bool Load(const std::wstring& file, const std::wstring& skinFolder, std::wstring& error);

    int IdValue(const std::wstring& name) const;  // 0 when not declared
    bool HasIdValue(int value) const;
    bool FindColor(const std::string& name, Color& out) const;
    const FontStyle* FindFont(const std::string& name) const;
    std::shared_ptr<Image> FindImage(const std::string& name) const;

private:
    std::map<std::wstring, int> m_ids;
    std::map<int, std::wstring> m_idNames;
    std::map<std::string, Color> m_colors;
    std::map<std::string, FontStyle> m_fonts;
    std::map<std::string, std::shared_ptr<Image>> m_images;
};

}  // namespace kit
