#include "skin/skin_document.h"

#include <windows.h>

namespace kit {

namespace {

// Skin files are small; anything past this is no skin.
constexpr DWORD kMaxSkinFileBytes = 16 * 1024 * 1024;

bool ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kMaxSkinFileBytes;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() ||
             (ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) &&
              read == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

}  // namespace

std::wstring Utf8ToWide(const char* text)
{
    if (text == nullptr || *text == '\0')
        return {};
    const int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (units <= 1)
        return {};
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &wide[0], units);
    wide.resize(static_cast<size_t>(units - 1));
    return wide;
}

bool SkinDocument::Load(const std::wstring& path, std::wstring& error)
{
    m_path = path;
    if (!ReadWholeFile(path, m_bytes)) {
        error = path + L": cannot read the file";
        return false;
    }
    const pugi::xml_parse_result result =
        m_doc.load_buffer(m_bytes.data(), m_bytes.size(), pugi::parse_default, pugi::encoding_auto);
    if (!result) {
        error = WhereOffset(result.offset) + Utf8ToWide(result.description());
        return false;
    }
    if (!Root()) {
        error = path + L": no root element";
        return false;
    }
    return true;
}

std::wstring SkinDocument::WhereOffset(ptrdiff_t offset) const
{
    int line = 1, column = 1;
    for (ptrdiff_t i = 0; i < offset && i < static_cast<ptrdiff_t>(m_bytes.size()); ++i) {
        if (m_bytes[static_cast<size_t>(i)] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(m_bytes[static_cast<size_t>(i)]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return m_path + L":" + std::to_wstring(line) + L":" + std::to_wstring(column) + L": ";
}

std::wstring SkinDocument::Where(const pugi::xml_node& node) const
{
    return WhereOffset(node.offset_debug());
}

}  // namespace kit
