#include "graphics/font_cache.h"

#include <cwchar>

namespace kit {

namespace {

const wchar_t* const kCjkFallbacks[] = {L"Microsoft YaHei", L"SimSun", L"WenQuanYi Micro Hei",
                                        L"Noto Sans CJK SC"};
const wchar_t kCjkProbe[] = L"中文安装";

LOGFONTW MakeLogFont(const std::wstring& face, int height, int weight)
{
    LOGFONTW lf{};
    lf.lfHeight = -height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return lf;
}

bool FaceDrawsChinese(HDC dc, const std::wstring& face)
{
    LOGFONTW lf = MakeLogFont(face, 16, FW_NORMAL);
    HFONT font = CreateFontIndirectW(&lf);
    if (font == nullptr)
        return false;
    HGDIOBJ old = SelectObject(dc, font);
    const bool ok = FontHasGlyphs(dc, kCjkProbe);
    SelectObject(dc, old);
    DeleteObject(font);
    return ok;
}

std::wstring JoinFaces(const std::vector<std::wstring>& faces)
{
    std::wstring key;
    for (const auto& face : faces)
        key += face + L";";
    return key;
}

}  // namespace

FontStyle DefaultFontStyle()
{
    FontStyle style;
    style.faces = {L"Microsoft YaHei"};
    return style;
}

bool FontHasGlyphs(HDC dc, const std::wstring& text)
{
    std::vector<WORD> glyphs(text.size() + 1);
    if (GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (glyphs[i] == 0xFFFF)
            return false;
    return true;
}

FontCache::~FontCache() { Clear(); }

void FontCache::Clear()
{
    for (auto& entry : m_fonts)
        DeleteObject(entry.second);
    m_fonts.clear();
    m_faces.clear();
}

std::wstring FontCache::ChosenFace(const std::vector<std::wstring>& faces)
{
    const std::wstring key = JoinFaces(faces);
    auto found = m_faces.find(key);
    if (found != m_faces.end())
        return found->second;
    std::vector<std::wstring> candidates = faces;
    for (const wchar_t* fallback : kCjkFallbacks)
        candidates.emplace_back(fallback);
    std::wstring chosen = candidates.front();
    HDC dc = CreateCompatibleDC(nullptr);
    for (const auto& face : candidates)
        if (dc != nullptr && FaceDrawsChinese(dc, face)) {
            chosen = face;
            break;
        }
    if (dc != nullptr)
        DeleteDC(dc);
    m_faces.emplace(key, chosen);
    return chosen;
}

HFONT FontCache::Get(const FontStyle& style, const DpiScale& scale)
{
    const std::wstring face = ChosenFace(style.faces.empty() ? DefaultFontStyle().faces : style.faces);
    const int height = scale.Px(style.size);
    const std::wstring key =
        face + L"|" + std::to_wstring(height) + L"|" + std::to_wstring(style.weight);
    auto found = m_fonts.find(key);
    if (found != m_fonts.end())
        return found->second;
    LOGFONTW lf = MakeLogFont(face, height, style.weight);
    HFONT font = CreateFontIndirectW(&lf);
    if (font == nullptr)
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    else
        m_fonts.emplace(key, font);
    return font;
}

}  // namespace kit
