#include "elements/rich_edit.h"

#include "core/toolkit_state.h"
#include "graphics/canvas.h"
#include "window/window.h"

#include <oleacc.h>

#include <algorithm>

namespace kit {

namespace {

constexpr int kPadding = 10;
constexpr int kMultiLinePadding = 8;
constexpr int kDefaultRadius = 6;

int LineHeight(HWND control, HFONT font)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return metrics.tmHeight;
}

}  // namespace

RichEdit::~RichEdit()
{
    if (m_native != nullptr)
        DestroyWindow(m_native);
    if (m_brush != nullptr)
        DeleteObject(m_brush);
}

Color RichEdit::Background() const
{
    return IsEnabled() ? Style().background.value_or(theme::kWhite) : Color::Rgb(0xF9FAFB);
}

Color RichEdit::TextColor() const
{
    return IsEnabled() ? Style().color.value_or(theme::kText) : theme::kMutedText;
}

void RichEdit::CreateNative()
{
    Window* window = OwnerWindow();
    if (window == nullptr || window->Hwnd() == nullptr)
        return;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (m_multiLine) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        if (!m_autoWrap)
            style |= ES_AUTOHSCROLL;
        if (m_scrollBarV)
            style |= WS_VSCROLL;
    } else {
        style |= ES_AUTOHSCROLL;
    }
    m_native = CreateWindowExW(0, L"EDIT", L"", style, 0, 0, 0, 0, window->Hwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (m_native == nullptr)
        return;
    SetWindowLongPtrW(m_native, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_baseProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_native, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RichEdit::NativeProc)));
    SendMessageW(m_native, WM_SETFONT, reinterpret_cast<WPARAM>(window->FontFor(*this)), FALSE);
    SendMessageW(m_native, EM_SETLIMITTEXT, 0, 0);
    m_settingText = true;
    SetWindowTextW(m_native, Text().c_str());
    m_settingText = false;
    m_wasEmpty = Text().empty();
    PlaceNative();
    SyncNative();
}

void RichEdit::Recreate()
{
    if (m_native == nullptr) {
        CreateNative();
        return;
    }
    const std::wstring text = CurrentText();
    const bool focused = GetFocus() == m_native;
    HWND old = m_native;
    m_native = nullptr;
    m_hasFocus = false;
    DestroyWindow(old);
    Element::SetText(text);
    CreateNative();
    if (focused && m_native != nullptr)
        ::SetFocus(m_native);
}

void RichEdit::PlaceNative()
{
    Window* window = OwnerWindow();
    if (m_native == nullptr || window == nullptr)
        return;
    const DpiScale& scale = window->Scale();
    const RECT& b = Bounds();
    RECT inner{b.left + scale.Px(kPadding), b.top, b.right - scale.Px(kPadding), b.bottom};
    if (m_multiLine) {
        inner.top += scale.Px(kMultiLinePadding);
        inner.bottom -= scale.Px(kMultiLinePadding);
        if (m_scrollBarV)
            inner.right = b.right - scale.Px(3);
    } else {
        const int line = LineHeight(m_native, window->FontFor(*this));
        inner.top = b.top + ((b.bottom - b.top) - line) / 2;
        inner.bottom = inner.top + line;
    }
    MoveWindow(m_native, inner.left, inner.top, std::max(0L, inner.right - inner.left),
               std::max(0L, inner.bottom - inner.top), TRUE);
}

void RichEdit::SyncNative()
{
    if (m_native == nullptr)
        return;
    const bool visible = IsVisible();
    if (((GetWindowLongW(m_native, GWL_STYLE) & WS_VISIBLE) != 0) != visible)
        ShowWindow(m_native, visible ? SW_SHOWNA : SW_HIDE);
    const bool enabled = IsEnabled();
    if ((IsWindowEnabled(m_native) != FALSE) != enabled) {
        EnableWindow(m_native, enabled);
        InvalidateRect(m_native, nullptr, TRUE);
    }
}

void RichEdit::SetText(const std::wstring& text)
{
    Element::SetText(text);
    if (m_native == nullptr)
        return;
    m_settingText = true;
    SetWindowTextW(m_native, text.c_str());
    m_settingText = false;
    m_wasEmpty = text.empty();
    InvalidateRect(m_native, nullptr, TRUE);
}

std::wstring RichEdit::CurrentText() const
{
    if (m_native == nullptr)
        return Text();
    const int length = GetWindowTextLengthW(m_native);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(m_native, &text[0], length + 1);
    text.resize(static_cast<size_t>(std::max(0, copied)));
    return text;
}

int RichEdit::CopyText(wchar_t* buffer, int sizeInUnits) const
{
    if (buffer == nullptr || sizeInUnits <= 0)
        return 0;
    const std::wstring text = CurrentText();
    const int count = std::min(static_cast<int>(text.size()), sizeInUnits - 1);
    std::copy(text.begin(), text.begin() + count, buffer);
    buffer[count] = L'\0';
    return count;
}

void RichEdit::SetHint(const std::wstring& hint)
{
    m_hint = hint;
    if (m_native != nullptr)
        InvalidateRect(m_native, nullptr, TRUE);
}

void RichEdit::SetHintColor(Color color)
{
    m_hintColor = color;
    if (m_native != nullptr)
        InvalidateRect(m_native, nullptr, TRUE);
}

void RichEdit::SetMultiLine(bool enable)
{
    if (m_multiLine == enable)
        return;
    m_multiLine = enable;
    Recreate();
}

void RichEdit::SetAutoWrap(bool enable)
{
    if (m_autoWrap == enable)
        return;
    m_autoWrap = enable;
    if (m_multiLine)
        Recreate();
}

void RichEdit::SetScrollBarV(bool show)
{
    if (m_scrollBarV == show)
        return;
    m_scrollBarV = show;
    if (m_multiLine)
        Recreate();
}

void RichEdit::OnNativeCommand(WORD code)
{
    Window* window = OwnerWindow();
    if (window == nullptr)
        return;
    switch (code) {
    case EN_CHANGE: {
        if (m_settingText)
            return;
        const bool empty = GetWindowTextLengthW(m_native) == 0;
        if (empty != m_wasEmpty)
            InvalidateRect(m_native, nullptr, TRUE);  // the hint comes or goes
        m_wasEmpty = empty;
        window->NotifyAccessibility(EVENT_OBJECT_VALUECHANGE, this);
        if (m_changeEvents && IsVisible() && IsEnabled())
            Raise(XE_RICHEDIT_CHANGE);
        return;
    }
    case EN_SETFOCUS:
        m_hasFocus = true;
        Invalidate();
        window->Input().OnNativeFocus(this, true);
        return;
    case EN_KILLFOCUS:
        m_hasFocus = false;
        Invalidate();
        window->Input().OnNativeFocus(this, false);
        return;
    default:
        return;
    }
}

HBRUSH RichEdit::OnControlColor(HDC dc)
{
    const Color background = Background();
    if (m_brush == nullptr || background != m_brushColor) {
        if (m_brush != nullptr)
            DeleteObject(m_brush);
        m_brush = CreateSolidBrush(background.ToColorRef());
        m_brushColor = background;
    }
    SetTextColor(dc, TextColor().ToColorRef());
    SetBkColor(dc, background.ToColorRef());
    return m_brush;
}

LRESULT CALLBACK RichEdit::NativeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<RichEdit*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (self->m_native != hwnd)  // a control being replaced: only its own class works on it
        return CallWindowProcW(self->m_baseProc, hwnd, message, wParam, lParam);
    BusyScope busy;
    const LRESULT result = self->OnNativeMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        self->m_native = nullptr;
    return result;
}

LRESULT RichEdit::OnNativeMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = OwnerWindow();
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_TAB && window != nullptr) {
            window->Input().MoveFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
            return 0;
        }
        if (wParam == VK_ESCAPE)
            return 0;
        break;
    case WM_CHAR:
        // Tab moves the focus, Esc does nothing, Enter breaks lines only
        // where there are lines.
        if (wParam == L'\t' || wParam == 0x1B)
            return 0;
        if (!m_multiLine && (wParam == L'\r' || wParam == L'\n'))
            return 0;
        break;
    case WM_PAINT:
        if (!m_hint.empty() && GetWindowTextLengthW(m_native) == 0) {
            PaintHint();
            return 0;
        }
        break;
    default:
        break;
    }
    return CallWindowProcW(m_baseProc, m_native, message, wParam, lParam);
}

void RichEdit::PaintHint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_native, &ps);
    RECT client;
    GetClientRect(m_native, &client);
    const Color background = Background();
    HBRUSH brush = CreateSolidBrush(background.ToColorRef());
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    RECT format = client;
    SendMessageW(m_native, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    Window* window = OwnerWindow();
    HGDIOBJ old = SelectObject(dc, window != nullptr ? window->FontFor(*this)
                                                     : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Composite(m_hintColor, background).ToColorRef());
    DrawTextW(dc, m_hint.c_str(), static_cast<int>(m_hint.size()), &format,
              DT_NOPREFIX | (m_multiLine ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    EndPaint(m_native, &ps);
}

void RichEdit::Paint(Canvas& canvas, const PaintState& state) const
{
    const Color border = m_hasFocus ? m_focusBorder.value_or(theme::kAccent)
                                    : Style().border.value_or(theme::kOutline);
    const int radius = Style().radius.value_or(kDefaultRadius);
    const int r = state.scale.Px(radius);
    canvas.FillRoundRect(Bounds(), r, Background());
    canvas.StrokeRoundRect(Bounds(), r, state.scale.Px(m_hasFocus ? 2 : Style().borderWidth), border);
}

void RichEdit::Activate()
{
    Window* window = OwnerWindow();
    if (window != nullptr && IsVisible() && IsEnabled())
        window->Input().SetFocus(this, true);
}

void RichEdit::OnFocusChanged(bool focused, bool byKeyboard)
{
    if (!focused || m_native == nullptr)
        return;
    if (GetFocus() != m_native)
        ::SetFocus(m_native);
    if (byKeyboard)  // as in dialogs: tabbing into an edit selects its text
        SendMessageW(m_native, EM_SETSEL, 0, -1);
}

std::wstring RichEdit::AccessibleName() const { return Label().empty() ? m_hint : Label(); }

long RichEdit::AccRole() const { return ROLE_SYSTEM_TEXT; }

bool RichEdit::AccValue(std::wstring& value) const
{
    value = CurrentText();
    return true;
}

}  // namespace kit
