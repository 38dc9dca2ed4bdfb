// What the window paints: only what changed, Chinese text with real glyphs,
// sizes scaled by DPI.
#include "core/toolkit_state.h"
#include "event_log.h"
#include "graphics/dpi.h"
#include "graphics/font_cache.h"
#include "toolkit_test_window.h"
#include "window/first_paint_mark.h"
#include "window/window.h"

#include <gtest/gtest.h>

namespace {

// Records each WM_PAINT and the area it was asked to paint, through a
// binder that leaves the message to the toolkit.
class PaintProbe final : public CEventBase {
public:
    explicit PaintProbe(HWND hwnd)
        : CEventBase(WM_PAINT, false, xcgui_detail::kMessageParams, "&PaintProbe::OnPaint"), m_hwnd(hwnd) {}
    int WndEventProc(BOOL*) override
    {
        RECT area{};
        GetUpdateRect(m_hwnd, &area, FALSE);
        areas.push_back(area);
        return 0;
    }
    int EleEventProc(BOOL*) override { return 0; }
    void Release() override { delete this; }
    void* GetThis() override { return this; }
    const char* GetFunName() override { return m_szFunName; }
    std::vector<RECT> areas;

private:
    HWND m_hwnd;
};

// Microseconds since this process was created.
uint64_t ProcessAgeMicros()
{
    FILETIME now, creation, exit, kernel, user;
    GetSystemTimeAsFileTime(&now);
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
    auto ticks = [](const FILETIME& t) {
        return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return (ticks(now) - ticks(creation)) / 10;
}

kit::Window* WindowOf(const TestWindow& window)
{
    return kit::Toolkit::Get().Handles().FindWindow(window.Handle());
}

}  // namespace

TEST(Painting, SamePositionRepaintsNothingAndAMovePaintsOnlyTheBar)
{
    TestWindow window;
    auto* probe = new PaintProbe(window.Hwnd());
    ASSERT_TRUE(XWnd_RegEventEx(window.Handle(), probe));
    HELE bar = window.Find(L"ID_ProgressBar");
    XProgBar_SetRange(bar, 100);
    XProgBar_SetPos(bar, 50);
    UpdateWindow(window.Hwnd());
    probe->areas.clear();

    for (int i = 0; i < 2000; ++i)
        XProgBar_SetPos(bar, 50);
    UpdateWindow(window.Hwnd());
    EXPECT_TRUE(probe->areas.empty());

    XProgBar_SetPos(bar, 60);
    ASSERT_EQ(1u, probe->areas.size()) << "painted at once, without waiting for the loop";
    const RECT barBox = window.Rect(bar);
    const RECT& painted = probe->areas[0];
    EXPECT_GE(painted.left, barBox.left);
    EXPECT_LE(painted.right, barBox.right);
    EXPECT_GE(painted.top, barBox.top);
    EXPECT_LE(painted.bottom, barBox.bottom);
    EXPECT_LT(painted.right - painted.left, (barBox.right - barBox.left) / 2) << "only the moved part";
}

TEST(Painting, TheBarFillsBetweenTheEndSpacings)
{
    TestWindow window;
    kit::Window* w = WindowOf(window);
    HELE bar = window.Find(L"ID_ProgressBar");
    XProgBar_SetSpaceTwo(bar, 19, 19);
    XProgBar_SetRange(bar, 100);
    XProgBar_SetPos(bar, 100);
    XWnd_RedrawWnd(window.Handle(), TRUE);
    const RECT b = window.Rect(bar);
    const int y = (b.top + b.bottom) / 2;
    const kit::Color accent = kit::Color::Rgb(0x2563EB);
    EXPECT_EQ(accent, w->BackBuffer().PixelAt(b.left + w->Scale().Px(19) + 4, y));
    EXPECT_EQ(accent, w->BackBuffer().PixelAt(b.right - w->Scale().Px(19) - 5, y));
    EXPECT_NE(accent, w->BackBuffer().PixelAt(b.left + w->Scale().Px(19) - 6, y)) << "the left spacing";
    EXPECT_NE(accent, w->BackBuffer().PixelAt(b.right - w->Scale().Px(19) + 5, y)) << "the right spacing";
    XProgBar_SetPos(bar, 0);
    XWnd_RedrawWnd(window.Handle(), TRUE);
    EXPECT_NE(accent, w->BackBuffer().PixelAt(b.left + w->Scale().Px(19) + 4, y));
}

TEST(Painting, ChineseTextHasRealGlyphsInTheChosenFont)
{
    TestWindow window;
    kit::Window* w = WindowOf(window);
    const kit::Element* heading =
        kit::Toolkit::Get().Handles().FindElement(window.Find(L"ID_TextHeading"));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, w->FontFor(*heading));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    const std::wstring texts[] = {L"欢迎安装", L"安装程序卸载程序更新程序", L"盘可用空间：",
                                  L"切换IP失败，不能自动换IP"};
    for (const std::wstring& text : texts)
        EXPECT_TRUE(kit::FontHasGlyphs(dc, text)) << "face " << face;
    // The check can tell: a Latin face has no glyph for these.
    HFONT latin = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"DejaVu Sans Mono");
    SelectObject(dc, latin);
    wchar_t latinFace[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, latinFace);
    if (std::wstring(latinFace) == L"DejaVu Sans Mono") {  // Debian's, without CJK
        EXPECT_TRUE(kit::FontHasGlyphs(dc, L"Morvane"));
        EXPECT_FALSE(kit::FontHasGlyphs(dc, L"欢迎安装"));
    }
    SelectObject(dc, old);
    DeleteObject(latin);
    DeleteDC(dc);

    // And the edits' native controls got the same kind of font.
    HFONT editFont = reinterpret_cast<HFONT>(
        SendMessageW(window.EditControl(window.Find(L"ID_EditRoute")), WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, editFont);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, editFont);
    EXPECT_TRUE(kit::FontHasGlyphs(dc, L"中文路径"));
    SelectObject(dc, old);
    DeleteDC(dc);
}

TEST(Painting, TheScreenShowsTheHeadingInInk)
{
    TestWindow window;
    kit::Window* w = WindowOf(window);
    XWnd_RedrawWnd(window.Handle(), TRUE);
    RECT r = window.Rect(window.Find(L"ID_TextHeading"));
    r.right = r.left + (r.bottom - r.top) * 4;  // the four characters 欢迎安装
    int dark = 0, same = 0, pixels = 0;
    HDC screen = GetDC(nullptr);  // what Xvfb shows, as a screenshot sees it
    for (int y = r.top; y < r.bottom; y += 2)
        for (int x = r.left; x < r.right; x += 2) {
            POINT at{x, y};
            ClientToScreen(window.Hwnd(), &at);
            const COLORREF shown = GetPixel(screen, at.x, at.y);
            const kit::Color painted = w->BackBuffer().PixelAt(x, y);
            dark += GetRValue(shown) < 100 ? 1 : 0;
            same += shown == painted.ToColorRef() ? 1 : 0;
            ++pixels;
        }
    ReleaseDC(nullptr, screen);
    EXPECT_GT(dark, pixels / 20) << "strokes, not an empty box";
    EXPECT_EQ(pixels, same) << "the screen shows the back buffer";
}

TEST(Painting, HintShowsWhileTheEditIsEmpty)
{
    TestWindow window;
    HELE note = window.Find(L"ID_EditNote");
    XRichEdit_SetDefaultTextColor(note, RGB(0xE5, 0x48, 0x4D), 255);
    HWND control = window.EditControl(note);
    auto redHintPixels = [&] {
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        RECT client;
        GetClientRect(control, &client);
        HDC screen = GetDC(control);
        int red = 0;
        for (int y = 0; y < client.bottom; y += 1)
            for (int x = 0; x < client.right / 3; x += 1) {
                const COLORREF c = GetPixel(screen, x, y);
                red += GetRValue(c) > 180 && GetGValue(c) < 150 ? 1 : 0;
            }
        ReleaseDC(control, screen);
        return red;
    };
    EXPECT_GT(redHintPixels(), 10);
    window.Type(note, L"x");
    EXPECT_EQ(0, redHintPixels());
}

TEST(Dpi, LayoutAndFontsScaleBySystemDpi)
{
    const kit::DpiScale at150(144);
    const RECT box = at150.Rect({404, 413, 600, 457});
    EXPECT_EQ(606, box.left);
    EXPECT_EQ(620, box.top);  // 619.5 rounds up
    EXPECT_EQ(900, box.right);
    EXPECT_EQ(686, box.bottom);
    kit::FontCache fonts;
    kit::FontStyle style;
    style.size = 14;
    LOGFONTW lf{};
    GetObjectW(fonts.Get(style, at150), sizeof lf, &lf);
    EXPECT_EQ(-21, lf.lfHeight);
    GetObjectW(fonts.Get(style, kit::DpiScale(96)), sizeof lf, &lf);
    EXPECT_EQ(-14, lf.lfHeight);
}

// The start-up figure a measuring tool reads from outside: set when the first
// paint has ended, from the process's creation, and kept through later paints.
TEST(Painting, FirstPaintLeavesTheTimeSinceTheProcessStarted)
{
    const uint64_t before = ProcessAgeMicros();
    TestWindow window;
    ASSERT_TRUE(window.Loaded());
    ASSERT_TRUE(PumpUntil([&] { return kit::FirstPaintMicroseconds(window.Hwnd()) != 0; }, 5000));
    const uint64_t first = kit::FirstPaintMicroseconds(window.Hwnd());
    EXPECT_GE(first, before);
    EXPECT_LE(first, ProcessAgeMicros());

    Sleep(20);
    InvalidateRect(window.Hwnd(), nullptr, FALSE);
    UpdateWindow(window.Hwnd());
    EXPECT_EQ(kit::FirstPaintMicroseconds(window.Hwnd()), first);
}
