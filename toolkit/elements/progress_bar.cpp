#include "elements/progress_bar.h"

#include "graphics/canvas.h"
#include "window/window.h"

#include <oleacc.h>

#include <algorithm>

namespace kit {

namespace {
constexpr Color kTrack = Color::Rgb(0xE4E7EC);
}

int ProgressBar::FillEnd() const
{
    const RECT& b = Bounds();
    const Window* window = OwnerWindow();
    const DpiScale scale = window != nullptr ? window->Scale() : DpiScale();
    const int start = b.left + scale.Px(m_spaceLeft);
    const int span = std::max(0, static_cast<int>(b.right - scale.Px(m_spaceRight)) - start);
    return start + static_cast<int>(static_cast<long long>(span) * m_pos / m_range);
}

void ProgressBar::OnLayout() { m_paintedEnd = FillEnd(); }

void ProgressBar::Refill()
{
    const int end = FillEnd();
    if (end == m_paintedEnd)
        return;
    Window* window = OwnerWindow();
    if (window != nullptr) {
        const RECT& b = Bounds();
        const int cap = b.bottom - b.top;  // the rounded end reaches back this far
        RECT changed{std::min(end, m_paintedEnd) - cap, b.top, std::max(end, m_paintedEnd) + 1,
                     b.bottom};
        RECT area{};
        IntersectRect(&area, &changed, &b);
        window->InvalidateArea(area);
        // A download runs on the UI thread without a message loop: show the
        // move now rather than when the loop runs again.
        window->PaintNow();
    }
    m_paintedEnd = end;
}

void ProgressBar::SetRange(int range)
{
    m_range = std::max(1, range);
    m_pos = std::min(m_pos, m_range);
    Refill();
}

void ProgressBar::SetSpaces(int left, int right)
{
    m_spaceLeft = std::max(0, left);
    m_spaceRight = std::max(0, right);
    Invalidate();
    m_paintedEnd = FillEnd();
}

void ProgressBar::SetPos(int position)
{
    const int pos = std::max(0, std::min(position, m_range));
    if (pos != m_pos) {
        m_pos = pos;
        Refill();
        if (OwnerWindow() != nullptr)
            OwnerWindow()->NotifyAccessibility(EVENT_OBJECT_VALUECHANGE, this);
    }
    Raise(XE_PROGRESSBAR_CHANGE, static_cast<WPARAM>(m_pos));
}

void ProgressBar::Paint(Canvas& canvas, const PaintState& state) const
{
    const RECT& b = Bounds();
    const Look& look = Style();
    const int radius = look.radius ? state.scale.Px(*look.radius) : (b.bottom - b.top) / 2;
    canvas.FillRoundRect(b, radius, look.background.value_or(kTrack));
    if (!look.border.value_or(Color{}).IsNone())
        canvas.StrokeRoundRect(b, radius, state.scale.Px(look.borderWidth), *look.border);
    const int start = b.left + state.scale.Px(m_spaceLeft);
    const int end = FillEnd();
    if (end > start)
        canvas.FillRoundRect({start, b.top, end, b.bottom}, radius, m_fill.value_or(theme::kAccent));
}

long ProgressBar::AccRole() const { return ROLE_SYSTEM_PROGRESSBAR; }

bool ProgressBar::AccValue(std::wstring& value) const
{
    value = std::to_wstring(m_pos);
    return true;
}

}  // namespace kit
