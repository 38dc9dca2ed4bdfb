#include "window/window.h"

#include "accessibility/accessible_window.h"
#include "core/toolkit_state.h"
#include "elements/rich_edit.h"
#include "window/first_paint_mark.h"

#include <oleacc.h>
#include <windowsx.h>

namespace kit {

namespace {

const wchar_t kWindowClass[] = L"KitToolkitWindow";

bool RegisterWindowClass(WNDPROC procedure)
{
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DROPSHADOW;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpszClassName = kWindowClass;
    registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return registered;
}

void CollectElements(Element& element, std::vector<Element*>& out)
{
    for (auto& child : element.Children()) {
        out.push_back(child.get());
        CollectElements(*child, out);
    }
}

}  // namespace

UINT DefaultActionMessage()
{
    static const UINT message = RegisterWindowMessageW(L"KitToolkit.DefaultAction");
    return message;
}

Window::Window(const WindowStyle& style, std::unique_ptr<Element> root)
    : m_style(style), m_scale(DpiScale::System()), m_root(std::move(root)), m_input(*this)
{
    CollectElements(*m_root, m_elements);
}

Window::~Window()
{
    if (m_accessible != nullptr) {
        m_accessible->Detach();
        m_accessible->Release();
    }
    if (m_hwnd != nullptr)
        DestroyWindow(m_hwnd);
}

bool Window::Create()
{
    if (!RegisterWindowClass(&Window::WindowProc))
        return false;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = m_scale.Px(m_style.width), height = m_scale.Px(m_style.height);
    const int x = work.left + ((work.right - work.left) - width) / 2;
    const int y = work.top + ((work.bottom - work.top) - height) / 2;
    // An unowned window gets its taskbar button without WS_EX_APPWINDOW; the
    // system menu gives that button its Close and Minimise.
    CreateWindowExW(0, kWindowClass, m_style.title.c_str(),
                    WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, x, y, width, height,
                    nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (m_hwnd == nullptr)
        return false;
    HandleTable& handles = Toolkit::Get().Handles();
    m_handle = handles.Add(this);
    m_root->AttachTo(this);
    for (Element* element : m_elements)
        element->SetHandle(handles.Add(element));
    Layout();
    for (Element* element : m_elements)
        element->OnAttached();
    return true;
}

Element* Window::FindById(int id) const
{
    if (id == 0)
        return nullptr;
    for (Element* element : m_elements)
        if (element->Id() == id)
            return element;
    return nullptr;
}

int Window::ChildId(const Element* element) const
{
    for (size_t i = 0; i < m_elements.size(); ++i)
        if (m_elements[i] == element)
            return static_cast<int>(i) + 1;
    return 0;
}

HFONT Window::FontFor(const Element& element) const
{
    const std::optional<FontStyle>& own = element.Style().font;
    return Toolkit::Get().Fonts().Get(own ? *own : m_style.font, m_scale);
}

void Window::Layout()
{
    m_root->Layout({0, 0, m_style.width, m_style.height}, m_scale);
    InvalidateAll();
}

bool Window::Show(int command)
{
    if (!IsAlive())
        return false;
    ShowWindow(m_hwnd, command);
    UpdateWindow(m_hwnd);
    return true;
}

void Window::InvalidateArea(const RECT& area)
{
    if (IsAlive())
        InvalidateRect(m_hwnd, &area, FALSE);
}

void Window::InvalidateAll()
{
    if (IsAlive())
        InvalidateRect(m_hwnd, nullptr, FALSE);
}

void Window::PaintNow()
{
    if (IsAlive() && IsWindowVisible(m_hwnd))
        UpdateWindow(m_hwnd);
}

void Window::Close()
{
    if (IsAlive())
        DestroyWindow(m_hwnd);
}

void Window::Minimize()
{
    if (IsAlive())
        ShowWindow(m_hwnd, SW_MINIMIZE);
}

void Window::ElementStateChanged(const Element& element)
{
    for (Element* e : m_elements)
        e->SyncNative();
    m_input.Revalidate();
    NotifyAccessibility(EVENT_OBJECT_STATECHANGE, &element);
}

void Window::NotifyAccessibility(DWORD event, const Element* element) const
{
    if (!IsAlive())
        return;
    const int child = ChildId(element);
    if (child != 0)
        NotifyWinEvent(event, m_hwnd, OBJID_CLIENT, child);
}

void Window::ActivateLater(const Element& element)
{
    const int child = ChildId(&element);
    if (IsAlive() && child != 0)
        PostMessageW(m_hwnd, DefaultActionMessage(), static_cast<WPARAM>(child), 0);
}

RichEdit* Window::EditOf(HWND native) const
{
    if (native == nullptr)
        return nullptr;
    for (Element* element : m_elements)
        if (element->Kind() == ElementKind::Edit && static_cast<RichEdit*>(element)->Native() == native)
            return static_cast<RichEdit*>(element);
    return nullptr;
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    BusyScope busy;  // a handler may close this window: it is deleted after the message
    return self->HandleMessage(message, wParam, lParam);
}

void Window::TearDown()
{
    if (m_tornDown)
        return;
    m_tornDown = true;
    HandleTable& handles = Toolkit::Get().Handles();
    for (Element* element : m_elements)
        handles.Remove(element->Handle());
    handles.Remove(m_handle);
    // XRunXCGUI may be waiting in GetMessageW while this runs inside a message
    // another process sent: wake it so it sees the window is gone.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
    if (m_accessible != nullptr) {
        m_accessible->Detach();
        CoDisconnectObject(m_accessible, 0);  // tools holding it get an error, not a crash
    }
}

LRESULT Window::HandleObjectRequest(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT))
        return DefWindowProcW(m_hwnd, WM_GETOBJECT, wParam, lParam);
    if (m_accessible == nullptr)
        m_accessible = new AccessibleWindow(*this);
    return LresultFromObject(__uuidof(IAccessible), wParam, m_accessible);
}

bool Window::HandleInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    result = 0;
    switch (message) {
    case WM_MOUSEMOVE: m_input.OnMouseMove(point); return true;
    case WM_MOUSELEAVE: m_input.OnMouseLeave(); return true;
    case WM_LBUTTONDOWN: m_input.OnButtonDown(point); return true;
    case WM_LBUTTONUP: m_input.OnButtonUp(point); return true;
    case WM_CAPTURECHANGED: m_input.OnCaptureLost(); return true;
    case WM_KEYDOWN: return m_input.OnKeyDown(wParam, lParam);
    case WM_SETFOCUS: m_input.OnWindowFocus(); return true;
    case WM_NCHITTEST: {
        POINT client = point;
        ScreenToClient(m_hwnd, &client);
        result = m_input.InCaption(client) ? HTCAPTION : HTCLIENT;
        return true;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && m_input.Hot() != nullptr) {
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
            result = TRUE;
            return true;
        }
        return false;
    default:
        return false;
    }
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_tornDown && m_events.Has(static_cast<int>(message))) {
        const XC_EVENT_PARAMS params{nullptr, static_cast<int>(message), wParam, lParam};
        const EventBinders::Outcome outcome =
            m_events.Dispatch(false, params, [this] { return IsAlive(); });
        if (outcome.handled)
            return outcome.result;
        if (!IsAlive())
            return 0;
    }
    LRESULT result = 0;
    if (!m_tornDown && HandleInput(message, wParam, lParam, result))
        return result;
    if (message == DefaultActionMessage()) {
        const size_t index = static_cast<size_t>(wParam) - 1;
        if (!m_tornDown && index < m_elements.size())
            m_elements[index]->Activate();
        return 0;
    }
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        m_painter.Paint(*this, dc, ps.rcPaint);
        EndPaint(m_hwnd, &ps);
        if (!m_painted) {
            m_painted = true;
            MarkFirstPaint(m_hwnd);
        }
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client;
        GetClientRect(m_hwnd, &client);
        m_painter.Paint(*this, reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_COMMAND:
        if (RichEdit* edit = EditOf(reinterpret_cast<HWND>(lParam)))
            edit->OnNativeCommand(HIWORD(wParam));
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (RichEdit* edit = EditOf(reinterpret_cast<HWND>(lParam)))
            return reinterpret_cast<LRESULT>(edit->OnControlColor(reinterpret_cast<HDC>(wParam)));
        break;
    case WM_GETOBJECT:
        return HandleObjectRequest(wParam, lParam);
    case WM_SETTEXT: {
        const LRESULT done = DefWindowProcW(m_hwnd, message, wParam, lParam);
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_hwnd, OBJID_CLIENT, CHILDID_SELF);
        return done;
    }
    case WM_CLOSE:
        Close();
        return 0;
    case WM_DESTROY:
        TearDown();
        return 0;
    case WM_NCDESTROY:
        ForgetFirstPaint(m_hwnd);
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        m_hwnd = nullptr;
        Toolkit::Get().Retire(this);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

}  // namespace kit
