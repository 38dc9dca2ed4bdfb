#include "graphics/canvas.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {

float Clamp01(float v) { return v < 0.f ? 0.f : (v > 1.f ? 1.f : v); }

// Coverage of the pixel whose centre is (px, py) by a rounded rectangle whose
// corners are quarter circles: only corner pixels are partly covered.
float RoundRectCoverage(const RECT& r, float radius, float px, float py)
{
    if (px < r.left || px > r.right || py < r.top || py > r.bottom)
        return 0.f;
    float cx, cy;
    if (px < r.left + radius)
        cx = r.left + radius;
    else if (px > r.right - radius)
        cx = r.right - radius;
    else
        return 1.f;
    if (py < r.top + radius)
        cy = r.top + radius;
    else if (py > r.bottom - radius)
        cy = r.bottom - radius;
    else
        return 1.f;
    const float d = std::hypot(px - cx, py - cy);
    return Clamp01(radius - d + 0.5f);
}

float ClampRadius(const RECT& r, int radius)
{
    const int limit = std::min(r.right - r.left, r.bottom - r.top) / 2;
    return static_cast<float>(std::max(0, std::min(radius, limit)));
}

float SegmentDistance(float px, float py, float x0, float y0, float x1, float y1)
{
    const float dx = x1 - x0, dy = y1 - y0;
    const float lengthSq = dx * dx + dy * dy;
    float t = lengthSq > 0.f ? ((px - x0) * dx + (py - y0) * dy) / lengthSq : 0.f;
    t = Clamp01(t);
    return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
}

}  // namespace

Canvas::Canvas() { m_dc = CreateCompatibleDC(nullptr); }

Canvas::~Canvas()
{
    if (m_oldBitmap != nullptr)
        SelectObject(m_dc, m_oldBitmap);
    if (m_bitmap != nullptr)
        DeleteObject(m_bitmap);
    if (m_dc != nullptr)
        DeleteDC(m_dc);
}

bool Canvas::Resize(int width, int height)
{
    if (m_dc == nullptr || width <= 0 || height <= 0)
        return false;
    if (width == m_width && height == m_height && m_bitmap != nullptr)
        return true;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr)
        return false;
    HGDIOBJ previous = SelectObject(m_dc, bitmap);
    if (m_bitmap != nullptr)
        DeleteObject(m_bitmap);
    else
        m_oldBitmap = previous;
    m_bitmap = bitmap;
    m_pixels = static_cast<std::uint32_t*>(bits);
    m_width = width;
    m_height = height;
    SetBkMode(m_dc, TRANSPARENT);
    SetClip({0, 0, width, height});
    return true;
}

void Canvas::SetClip(const RECT& clip)
{
    RECT all{0, 0, m_width, m_height};
    if (!IntersectRect(&m_clip, &clip, &all))
        m_clip = {0, 0, 0, 0};
}

RECT Canvas::Clipped(const RECT& rect) const
{
    RECT out{};
    if (!IntersectRect(&out, &rect, &m_clip))
        return {0, 0, 0, 0};
    return out;
}

void Canvas::Blend(int x, int y, Color color, float coverage)
{
    const float a = coverage * color.a / 255.f;
    if (a <= 0.f)
        return;
    std::uint32_t& pixel = m_pixels[static_cast<size_t>(y) * m_width + x];
    auto mix = [a](std::uint32_t under, std::uint8_t over) {
        return static_cast<std::uint32_t>(under + (static_cast<float>(over) - under) * a + 0.5f);
    };
    const std::uint32_t b = mix(pixel & 0xFF, color.b);
    const std::uint32_t g = mix((pixel >> 8) & 0xFF, color.g);
    const std::uint32_t r = mix((pixel >> 16) & 0xFF, color.r);
    pixel = 0xFF000000u | (r << 16) | (g << 8) | b;
}

void Canvas::FillRect(const RECT& rect, Color color)
{
    if (color.IsNone() || m_pixels == nullptr)
        return;
    const RECT c = Clipped(rect);
    if (color.a == 255) {
        const std::uint32_t value = 0xFF000000u | (color.r << 16) | (color.g << 8) | color.b;
        for (int y = c.top; y < c.bottom; ++y)
            std::fill(m_pixels + static_cast<size_t>(y) * m_width + c.left,
                      m_pixels + static_cast<size_t>(y) * m_width + c.right, value);
        return;
    }
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x)
            Blend(x, y, color, 1.f);
}

void Canvas::FillRoundRect(const RECT& rect, int radius, Color color)
{
    const float rad = ClampRadius(rect, radius);
    if (rad <= 0.f) {
        FillRect(rect, color);
        return;
    }
    if (color.IsNone() || m_pixels == nullptr)
        return;
    const RECT c = Clipped(rect);
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x)
            Blend(x, y, color, RoundRectCoverage(rect, rad, x + 0.5f, y + 0.5f));
}

void Canvas::StrokeRoundRect(const RECT& rect, int radius, int width, Color color)
{
    if (color.IsNone() || m_pixels == nullptr || width <= 0)
        return;
    const float rad = ClampRadius(rect, radius);
    const RECT inner{rect.left + width, rect.top + width, rect.right - width, rect.bottom - width};
    const float innerRad = std::max(0.f, rad - width);
    const bool hasInner = inner.right > inner.left && inner.bottom > inner.top;
    const RECT c = Clipped(rect);
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float outer = RoundRectCoverage(rect, rad, px, py);
            const float in = hasInner ? RoundRectCoverage(inner, innerRad, px, py) : 0.f;
            Blend(x, y, color, outer * (1.f - in));
        }
}

void Canvas::DrawLine(float x0, float y0, float x1, float y1, float width, Color color)
{
    if (color.IsNone() || m_pixels == nullptr)
        return;
    const float half = width / 2.f;
    const RECT box{static_cast<LONG>(std::floor(std::min(x0, x1) - half - 1)),
                   static_cast<LONG>(std::floor(std::min(y0, y1) - half - 1)),
                   static_cast<LONG>(std::ceil(std::max(x0, x1) + half + 1)),
                   static_cast<LONG>(std::ceil(std::max(y0, y1) + half + 1))};
    const RECT c = Clipped(box);
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x) {
            const float d = SegmentDistance(x + 0.5f, y + 0.5f, x0, y0, x1, y1);
            Blend(x, y, color, Clamp01(half - d + 0.5f));
        }
}

void Canvas::SelectClipFor(const RECT& rect)
{
    const RECT c = Clipped(rect);
    HRGN region = CreateRectRgnIndirect(&c);
    SelectClipRgn(m_dc, region);
    DeleteObject(region);
}

void Canvas::DrawText(const std::wstring& text, const RECT& rect, HFONT font, Color color,
                      UINT format)
{
    if (text.empty() || color.IsNone() || m_dc == nullptr)
        return;
    SelectClipFor(rect);
    HGDIOBJ oldFont = SelectObject(m_dc, font);
    SetTextColor(m_dc, color.ToColorRef());
    RECT box = rect;
    ::DrawTextW(m_dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    SelectObject(m_dc, oldFont);
    SelectClipRgn(m_dc, nullptr);
    GdiFlush();  // the pixels are touched directly next
}

void Canvas::DrawImage(HDC imageDc, int imageWidth, int imageHeight, const RECT& target)
{
    if (imageDc == nullptr || m_dc == nullptr)
        return;
    SelectClipFor(target);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(m_dc, target.left, target.top, target.right - target.left,
                  target.bottom - target.top, imageDc, 0, 0, imageWidth, imageHeight, blend);
    SelectClipRgn(m_dc, nullptr);
    GdiFlush();
}

void Canvas::Present(HDC target, const RECT& area) const
{
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, m_dc,
           area.left, area.top, SRCCOPY);
}

Color Canvas::PixelAt(int x, int y) const
{
    if (m_pixels == nullptr || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return {};
    const std::uint32_t p = m_pixels[static_cast<size_t>(y) * m_width + x];
    return {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
            static_cast<std::uint8_t>(p), 255};
}

}  // namespace kit
