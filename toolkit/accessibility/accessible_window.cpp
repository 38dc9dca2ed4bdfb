#include "accessibility/accessible_window.h"

#include "elements/element.h"
#include "window/window.h"

#include <string>

namespace kit {

namespace {

HRESULT GiveText(const std::wstring& text, BSTR* out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

void GiveChild(long id, VARIANT* out)
{
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = id;
}

std::wstring WindowTitle(HWND hwnd)
{
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring title(static_cast<size_t>(length) + 1, L'\0');
    title.resize(static_cast<size_t>(GetWindowTextW(hwnd, &title[0], length + 1)));
    return title;
}

}  // namespace

HRESULT AccessibleWindow::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG AccessibleWindow::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }

ULONG AccessibleWindow::Release()
{
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return static_cast<ULONG>(refs);
}

HRESULT AccessibleWindow::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT AccessibleWindow::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT AccessibleWindow::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT AccessibleWindow::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

HRESULT AccessibleWindow::Resolve(const VARIANT& child, Element*& element) const
{
    element = nullptr;
    if (m_window == nullptr)
        return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4)
        return E_INVALIDARG;
    if (child.lVal == CHILDID_SELF)
        return S_OK;
    const auto& elements = m_window->Elements();
    if (child.lVal < 1 || static_cast<size_t>(child.lVal) > elements.size())
        return E_INVALIDARG;
    element = elements[static_cast<size_t>(child.lVal) - 1];
    return S_OK;
}

HRESULT AccessibleWindow::get_accParent(IDispatch** parent)
{
    if (parent == nullptr)
        return E_POINTER;
    *parent = nullptr;
    if (m_window == nullptr)
        return RPC_E_DISCONNECTED;
    if (FAILED(CreateStdAccessibleObject(m_window->Hwnd(), OBJID_WINDOW, IID_IDispatch,
                                         reinterpret_cast<void**>(parent))))
        return S_FALSE;
    return S_OK;
}

HRESULT AccessibleWindow::get_accChildCount(long* count)
{
    if (count == nullptr)
        return E_POINTER;
    if (m_window == nullptr)
        return RPC_E_DISCONNECTED;
    *count = static_cast<long>(m_window->Elements().size());
    return S_OK;
}

HRESULT AccessibleWindow::get_accChild(VARIANT child, IDispatch** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    Element* element = nullptr;
    const HRESULT hr = Resolve(child, element);
    return FAILED(hr) ? hr : S_FALSE;  // simple children have no object of their own
}

HRESULT AccessibleWindow::get_accName(VARIANT child, BSTR* name)
{
    Element* element = nullptr;
    const HRESULT hr = Resolve(child, element);
    if (FAILED(hr))
        return hr;
    return GiveText(element != nullptr ? element->AccessibleName() : WindowTitle(m_window->Hwnd()), name);
}

HRESULT AccessibleWindow::get_accValue(VARIANT child, BSTR* value)
{
    Element* element = nullptr;
    const HRESULT hr = Resolve(child, element);
    if (FAILED(hr))
        return hr;
    std::wstring text;
    if (element == nullptr || !element->AccValue(text)) {
        if (value != nullptr)
            *value = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    if (value == nullptr)
        return E_POINTER;
    *value = SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    return *value != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT AccessibleWindow::get_accDescription(VARIANT child, BSTR* description)
{
    Element* element = nullptr;
    const HRESULT hr = Resolve(child, element);
    return FAILED(hr) ? hr : GiveText({}, description);
}

HRESULT AccessibleWindow::get_accRole(VARIANT child, VARIANT* role)
{
    if (role == nullptr)
        return E_POINTER;
    Element* element = nullptr;
    const HRESULT hr = Resolve(child, element);
    if (FAILED(hr))
        return hr;
    GiveChild(element != nullptr ? element->AccRole() : ROLE_SYSTEM_CLIENT, role);
    return S_OK;
}

HRESULT AccessibleWindow::get_accState(VARIANT child, VARIANT* state)
{
    if (state == nullptr)
        return E_POINTER;
    Element* element = nullptr;
    const HRESULT hr = Resolve(child, element);
    if (FAILED(hr))
        return hr;
    long bits = 0;
    if (element == nullptr) {
        bits = IsWindowVisible(m_window->Hwnd()) ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_INVISIBLE;
        if (GetForegroundWindow() == m_window->Hwnd())
            bits |= STATE_SYSTEM_FOCUSED;
    } else {
        bits = element->AccStateBits();
        if (!element->IsVisible())
            bits |= STATE_SYSTEM_INVISIBLE;
        if (!element->IsEnabled())
            bits |= STATE_SYSTEM_UNAVAILABLE;
        if (element->TakesFocus() && element->IsVisible() && element->IsEnabled())
            bits |= STATE_SYSTEM_FOCUSABLE;
        if (m_window->Input().Focused() == element)
            bits |= STATE_SYSTEM_FOCUSED;
        if (m_window->Input().Hot() == element)
            bits |= STATE_SYSTEM_HOTTRACKED;
    }
    GiveChild(bits, state);
    return S_OK;
}

HRESULT AccessibleWindow::get_accHelp(VARIANT child, BSTR* help)
{
    Element* element = nullptr;
    const HRESULT hr = Resolve(child, element);
    if (FAILED(hr))
        return hr;
    return GiveText(element != nullptr ? element->IdName() : std::wstring(), help);
}

HRESULT AccessibleWindow::get_accHelpTopic(BSTR* file, VARIANT, long* topic)
{
    if (file != nullptr)
        *file = nullptr;
    if (topic != nullptr)
        *topic = 0;
    return m_window == nullptr ? RPC_E_DISCONNECTED : DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessibleWindow::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    Element* element = nullptr;
    const HRESULT hr = Resolve(child, element);
    return FAILED(hr) ? hr : GiveText({}, shortcut);
}

HRESULT AccessibleWindow::get_accFocus(VARIANT* child)
{
    if (child == nullptr)
        return E_POINTER;
    VariantInit(child);
    if (m_window == nullptr)
        return RPC_E_DISCONNECTED;
    const int id = m_window->ChildId(m_window->Input().Focused());
    if (id == 0)
        return S_FALSE;
    GiveChild(id, child);
    return S_OK;
}

HRESULT AccessibleWindow::get_accSelection(VARIANT* children)
{
    if (children == nullptr)
        return E_POINTER;
    VariantInit(children);
    return m_window == nullptr ? RPC_E_DISCONNECTED : S_FALSE;
}

HRESULT AccessibleWindow::get_accDefaultAction(VARIANT child, BSTR* action)
{
    Element* element = nullptr;
    const HRESULT hr = Resolve(child, element);
    if (FAILED(hr))
        return hr;
    if (element == nullptr || element->AccDefaultAction().empty()) {
        if (action != nullptr)
            *action = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    return GiveText(element->AccDefaultAction(), action);
}

HRESULT AccessibleWindow::accSelect(long flags, VARIANT child)
{
    Element* element = nullptr;
    const HRESULT hr = Resolve(child, element);
    if (FAILED(hr))
        return hr;
    if (element == nullptr || flags != SELFLAG_TAKEFOCUS || !element->TakesFocus() ||
        !element->IsVisible() || !element->IsEnabled())
        return E_INVALIDARG;
    m_window->Input().SetFocus(element, true);
    return S_OK;
}

HRESULT AccessibleWindow::accLocation(long* left, long* top, long* width, long* height,
                                      VARIANT child)
{
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
        return E_POINTER;
    Element* element = nullptr;
    const HRESULT hr = Resolve(child, element);
    if (FAILED(hr))
        return hr;
    RECT box{};
    if (element != nullptr)
        box = element->Bounds();
    else
        GetClientRect(m_window->Hwnd(), &box);
    POINT origin{box.left, box.top};
    ClientToScreen(m_window->Hwnd(), &origin);
    *left = origin.x;
    *top = origin.y;
    *width = box.right - box.left;
    *height = box.bottom - box.top;
    return S_OK;
}

HRESULT AccessibleWindow::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    if (end == nullptr)
        return E_POINTER;
    VariantInit(end);
    Element* element = nullptr;
    const HRESULT hr = Resolve(start, element);
    if (FAILED(hr))
        return hr;
    const long count = static_cast<long>(m_window->Elements().size());
    const long from = start.lVal;
    long to = 0;
    switch (direction) {
    case NAVDIR_FIRSTCHILD: to = element == nullptr && count > 0 ? 1 : 0; break;
    case NAVDIR_LASTCHILD: to = element == nullptr ? count : 0; break;
    case NAVDIR_NEXT: to = element != nullptr && from < count ? from + 1 : 0; break;
    case NAVDIR_PREVIOUS: to = element != nullptr && from > 1 ? from - 1 : 0; break;
    default: return DISP_E_MEMBERNOTFOUND;
    }
    if (to == 0)
        return S_FALSE;
    GiveChild(to, end);
    return S_OK;
}

HRESULT AccessibleWindow::accHitTest(long x, long y, VARIANT* child)
{
    if (child == nullptr)
        return E_POINTER;
    VariantInit(child);
    if (m_window == nullptr)
        return RPC_E_DISCONNECTED;
    POINT point{x, y};
    ScreenToClient(m_window->Hwnd(), &point);
    RECT client;
    GetClientRect(m_window->Hwnd(), &client);
    if (!PtInRect(&client, point))
        return S_FALSE;
    // The last element in document order that holds the point lies on top.
    const auto& elements = m_window->Elements();
    for (size_t i = elements.size(); i-- > 0;)
        if (elements[i]->IsVisible() && PtInRect(&elements[i]->Bounds(), point)) {
            GiveChild(static_cast<long>(i) + 1, child);
            return S_OK;
        }
    GiveChild(CHILDID_SELF, child);
    return S_OK;
}

HRESULT AccessibleWindow::accDoDefaultAction(VARIANT child)
{
    Element* element = nullptr;
    const HRESULT hr = Resolve(child, element);
    if (FAILED(hr))
        return hr;
    if (element == nullptr || element->AccDefaultAction().empty())
        return DISP_E_MEMBERNOTFOUND;
    if (!element->IsVisible() || !element->IsEnabled())
        return E_FAIL;
    // Posted: the caller may be another program waiting on this thread, and
    // the click's handlers may run for long or close the window.
    m_window->ActivateLater(*element);
    return S_OK;
}

HRESULT AccessibleWindow::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
HRESULT AccessibleWindow::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

}  // namespace kit
