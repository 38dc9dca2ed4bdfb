#pragma once
// Photographs a window's place on the screen every few milliseconds on a
// thread of its own: what a window shows while its own thread is too busy to
// answer anyone.
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

class ScreenRecorder {
public:
    struct Frame {
        RECT area;                  // screen pixels
        std::vector<DWORD> pixels;  // 0x00RRGGBB, row by row
    };

    explicit ScreenRecorder(HWND window, DWORD intervalMs = 30);
    ~ScreenRecorder();
    ScreenRecorder(const ScreenRecorder&) = delete;
    ScreenRecorder& operator=(const ScreenRecorder&) = delete;

    std::vector<Frame> Stop();  // the frames so far; recording ends
    Frame Capture() const;      // one frame now

private:
    HWND m_window;
    std::atomic<bool> m_stop{false};
    std::vector<Frame> m_frames;
    std::thread m_thread;
};

// The share (0 … 1) of a progress bar's fill track, along its middle line,
// in the bar's fill colour (the accent blue #2563EB). The track runs
// spacing pixels in from both ends of the bar's box.
double FilledShare(const ScreenRecorder::Frame& frame, const RECT& bar, int spacing);
