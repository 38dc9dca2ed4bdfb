#pragma once
// A decoded picture (PNG or any format WIC reads) as a premultiplied 32-bit
// bitmap, ready for alpha blending.
#include <windows.h>

#include <memory>
#include <string>

namespace kit {

class Image {
public:
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Null with a reason when the file cannot be read or decoded.
    static std::shared_ptr<Image> Load(const std::wstring& path, std::wstring& error);

    HDC Dc() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    Image() = default;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    int m_width = 0;
    int m_height = 0;
};

}  // namespace kit
