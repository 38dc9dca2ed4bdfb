#pragma once
// The back buffer of a window: a 32-bit DIB that elements draw on, shown on
// screen in one copy per paint. Shapes are anti-aliased here (GDI's own
// rounded rectangles are jagged); text goes through GDI onto the same pixels.
#include "graphics/color.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace kit {

class Canvas {
public:
    Canvas();
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool Resize(int width, int height);  // keeps the buffer when the size holds
    HDC Dc() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Every drawing call stays inside the clip rectangle.
    void SetClip(const RECT& clip);
    const RECT& Clip() const { return m_clip; }

    void FillRect(const RECT& rect, Color color);
    void FillRoundRect(const RECT& rect, int radius, Color color);
    void StrokeRoundRect(const RECT& rect, int radius, int width, Color color);
    void DrawLine(float x0, float y0, float x1, float y1, float width, Color color);
    void DrawText(const std::wstring& text, const RECT& rect, HFONT font, Color color, UINT format);
    void DrawImage(HDC imageDc, int imageWidth, int imageHeight, const RECT& target);

    // Copies one area of the buffer to a window's device context.
    void Present(HDC target, const RECT& area) const;

    Color PixelAt(int x, int y) const;  // for tests of what a window shows

private:
    void Blend(int x, int y, Color color, float coverage);
    RECT Clipped(const RECT& rect) const;
    void SelectClipFor(const RECT& rect);

    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    std::uint32_t* m_pixels = nullptr;
    int m_width = 0;
    int m_height = 0;
    RECT m_clip{};
};

}  // namespace kit
