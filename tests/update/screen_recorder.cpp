#include "screen_recorder.h"

#include <cstdlib>

ScreenRecorder::ScreenRecorder(HWND window, DWORD intervalMs) : m_window(window)
{
    m_thread = std::thread([this, intervalMs] {
        while (!m_stop) {
            m_frames.push_back(Capture());
            Sleep(intervalMs);
        }
    });
}

ScreenRecorder::~ScreenRecorder()
{
    Stop();
}

std::vector<ScreenRecorder::Frame> ScreenRecorder::Stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    return m_frames;
}

ScreenRecorder::Frame ScreenRecorder::Capture() const
{
    Frame frame;
    GetWindowRect(m_window, &frame.area);
    const int width = frame.area.right - frame.area.left;
    const int height = frame.area.bottom - frame.area.top;
    if (width <= 0 || height <= 0)
        return frame;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, frame.area.left, frame.area.top, SRCCOPY);
    GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    frame.pixels.assign(p, p + static_cast<size_t>(width) * static_cast<size_t>(height));
    for (DWORD& pixel : frame.pixels)
        pixel &= 0x00FFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return frame;
}

double FilledShare(const ScreenRecorder::Frame& frame, const RECT& bar, int spacing)
{
    const int width = frame.area.right - frame.area.left;
    const int y = (bar.top + bar.bottom) / 2 - frame.area.top;
    const int from = bar.left + spacing - frame.area.left;
    const int to = bar.right - spacing - frame.area.left;
    if (frame.pixels.empty() || y < 0 || from < 0 || to > width || to <= from ||
        static_cast<size_t>(y) * width + to > frame.pixels.size())
        return -1.0;
    auto isFill = [](DWORD pixel) {
        int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
        return std::abs(r - 0x25) < 24 && std::abs(g - 0x63) < 24 && std::abs(b - 0xEB) < 24;
    };
    int filled = 0;
    for (int x = from; x < to; ++x)
        filled += isFill(frame.pixels[static_cast<size_t>(y) * width + x]) ? 1 : 0;
    return static_cast<double>(filled) / (to - from);
}
