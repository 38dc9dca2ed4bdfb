#pragma once
// Fonts as skins name them, made into GDI fonts for one DPI. Of the faces a
// skin lists, the first one that can draw Chinese text is taken; after the
// skin's own faces come the usual CJK faces of Windows and Linux.
#include "graphics/dpi.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kit {

struct FontStyle {
    std::vector<std::wstring> faces;  // in order of preference
    int size = 14;                    // character height in 96-DPI pixels
    int weight = FW_NORMAL;
};

FontStyle DefaultFontStyle();

class FontCache {
public:
    FontCache() = default;
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    HFONT Get(const FontStyle& style, const DpiScale& scale);
    // The face Get() settles on for these faces.
    std::wstring ChosenFace(const std::vector<std::wstring>& faces);
    void Clear();

private:
    std::map<std::wstring, HFONT> m_fonts;
    std::map<std::wstring, std::wstring> m_faces;
};

// True when the font selected into the DC has a glyph for every character.
bool FontHasGlyphs(HDC dc, const std::wstring& text);

}  // namespace kit
