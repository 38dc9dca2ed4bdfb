#include "msaa_client.h"

#include <oleacc.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace msaa {

namespace {

const wchar_t kToolkitWindowClass[] = L"KitToolkitWindow";

// Runs `work` on a thread of its own with COM, and waits at most timeoutMs.
// The result lives in shared state, so a worker that outlives the wait
// writes into nothing of the caller's.
template <class Result>
bool RunGuarded(std::function<bool(Result&)> work, Result& out, DWORD timeoutMs)
{
    struct State {
        std::promise<bool> done;
        Result result;
    };
    auto state = std::make_shared<State>();
    std::future<bool> finished = state->done.get_future();
    std::thread([state, work]() {
        const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        const bool ok = work(state->result);
        if (SUCCEEDED(com))
            CoUninitialize();
        state->done.set_value(ok);
    }).detach();
    if (finished.wait_for(std::chrono::milliseconds(timeoutMs)) != std::future_status::ready)
        return false;
    if (!finished.get())
        return false;
    out = state->result;
    return true;
}

class ComRef {
public:
    explicit ComRef(IAccessible* p = nullptr) : m_p(p) {}
    ~ComRef()
    {
        if (m_p != nullptr)
            m_p->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    IAccessible** Out() { return &m_p; }
    IAccessible* operator->() const { return m_p; }
    IAccessible* Get() const { return m_p; }

private:
    IAccessible* m_p;
};

std::wstring TakeText(BSTR text)
{
    std::wstring out = text != nullptr ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return out;
}

VARIANT ChildVariant(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

Element ReadElement(IAccessible* acc, long childId)
{
    Element e;
    const VARIANT child = ChildVariant(childId);
    BSTR text = nullptr;
    if (SUCCEEDED(acc->get_accHelp(child, &text)))
        e.idName = TakeText(text);
    text = nullptr;
    if (SUCCEEDED(acc->get_accName(child, &text)))
        e.name = TakeText(text);
    text = nullptr;
    if (SUCCEEDED(acc->get_accValue(child, &text)))
        e.value = TakeText(text);
    text = nullptr;
    if (SUCCEEDED(acc->get_accDefaultAction(child, &text)))
        e.defaultAction = TakeText(text);
    VARIANT v;
    VariantInit(&v);
    if (SUCCEEDED(acc->get_accRole(child, &v)) && v.vt == VT_I4)
        e.role = v.lVal;
    VariantClear(&v);
    if (SUCCEEDED(acc->get_accState(child, &v)) && v.vt == VT_I4)
        e.state = v.lVal;
    VariantClear(&v);
    long left = 0, top = 0, width = 0, height = 0;
    if (SUCCEEDED(acc->accLocation(&left, &top, &width, &height, child)))
        e.location = {left, top, left + width, top + height};
    return e;
}

// Simple children are read through their parent; children that are objects
// of their own are walked into (the kit's windows have only simple ones).
void ReadChildren(IAccessible* acc, std::vector<Element>& out, int depth)
{
    long count = 0;
    if (depth > 32 || FAILED(acc->get_accChildCount(&count)) || count <= 0)
        return;
    std::vector<VARIANT> children(static_cast<size_t>(count));
    long got = 0;
    if (FAILED(AccessibleChildren(acc, 0, count, children.data(), &got)))
        return;
    for (long i = 0; i < got; ++i) {
        VARIANT& child = children[static_cast<size_t>(i)];
        if (child.vt == VT_I4) {
            out.push_back(ReadElement(acc, child.lVal));
        } else if (child.vt == VT_DISPATCH && child.pdispVal != nullptr) {
            ComRef sub;
            if (SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible),
                                                         reinterpret_cast<void**>(sub.Out())))) {
                out.push_back(ReadElement(sub.Get(), CHILDID_SELF));
                ReadChildren(sub.Get(), out, depth + 1);
            }
        }
        VariantClear(&child);
    }
}

bool OpenClient(HWND window, ComRef& acc)
{
    return SUCCEEDED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                                __uuidof(IAccessible), reinterpret_cast<void**>(acc.Out())));
}

bool ReadTree(HWND window, Tree& tree)
{
    ComRef acc;
    if (!OpenClient(window, acc))
        return false;
    BSTR name = nullptr;
    if (SUCCEEDED(acc->get_accName(ChildVariant(CHILDID_SELF), &name)))
        tree.windowName = TakeText(name);
    ReadChildren(acc.Get(), tree.elements, 0);
    return true;
}

// Runs `act` on the simple child whose help text is the ID name.
bool OnElement(HWND window, const std::wstring& idName,
               const std::function<HRESULT(IAccessible*, const VARIANT&)>& act)
{
    ComRef acc;
    if (!OpenClient(window, acc))
        return false;
    long count = 0;
    if (FAILED(acc->get_accChildCount(&count)))
        return false;
    for (long id = 1; id <= count; ++id) {
        const VARIANT child = ChildVariant(id);
        BSTR help = nullptr;
        if (SUCCEEDED(acc->get_accHelp(child, &help)) && TakeText(help) == idName)
            return SUCCEEDED(act(acc.Get(), child));
    }
    return false;
}

struct FindState {
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param)
{
    auto* state = reinterpret_cast<FindState*>(param);
    if (!IsWindowVisible(hwnd))
        return TRUE;
    if (*state->title == L"*") {
        wchar_t className[64] = {};
        GetClassNameW(hwnd, className, 64);
        if (std::wstring(className) != kToolkitWindowClass)
            return TRUE;
    } else {
        const int length = GetWindowTextLengthW(hwnd);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(hwnd, &text[0], length + 1)));
        if (text != *state->title)
            return TRUE;
    }
    state->found = hwnd;
    return FALSE;
}

HWND EditControlAt(HWND window, const RECT& location)
{
    POINT centre{(location.left + location.right) / 2, (location.top + location.bottom) / 2};
    ScreenToClient(window, &centre);
    HWND child = ChildWindowFromPointEx(window, centre, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    return child != nullptr && child != window ? child : nullptr;
}

}  // namespace

bool Element::Visible() const { return (state & STATE_SYSTEM_INVISIBLE) == 0; }
bool Element::Enabled() const { return (state & STATE_SYSTEM_UNAVAILABLE) == 0; }
bool Element::Checked() const { return (state & STATE_SYSTEM_CHECKED) != 0; }
bool Element::Focused() const { return (state & STATE_SYSTEM_FOCUSED) != 0; }

const Element* Tree::Find(const std::wstring& idName) const
{
    for (const Element& e : elements)
        if (e.idName == idName)
            return &e;
    return nullptr;
}

HWND FindWindowByTitle(const std::wstring& title, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        FindState state{&title, nullptr};
        EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&state));
        if (state.found != nullptr)
            return state.found;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(50);
    }
}

bool Snapshot(HWND window, Tree& tree, DWORD timeoutMs)
{
    return RunGuarded<Tree>([window](Tree& t) { return ReadTree(window, t); }, tree, timeoutMs);
}

bool DoDefaultAction(HWND window, const std::wstring& idName, DWORD timeoutMs)
{
    int unused = 0;
    return RunGuarded<int>(
        [window, idName](int&) {
            return OnElement(window, idName, [](IAccessible* acc, const VARIANT& child) {
                return acc->accDoDefaultAction(child);
            });
        },
        unused, timeoutMs);
}

bool Focus(HWND window, const std::wstring& idName, DWORD timeoutMs)
{
    int unused = 0;
    return RunGuarded<int>(
        [window, idName](int&) {
            return OnElement(window, idName, [](IAccessible* acc, const VARIANT& child) {
                return acc->accSelect(SELFLAG_TAKEFOCUS, child);
            });
        },
        unused, timeoutMs);
}

bool WaitForElement(HWND window, const std::wstring& idName,
                    const std::function<bool(const Element&)>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs)
            return false;
        Tree tree;
        if (Snapshot(window, tree, timeoutMs - spent)) {
            const Element* e = tree.Find(idName);
            if (e != nullptr && condition(*e))
                return true;
        }
        Sleep(50);
    }
}

bool TypeText(HWND window, const std::wstring& idName, const std::wstring& text, DWORD timeoutMs)
{
    Tree tree;
    if (!Snapshot(window, tree, timeoutMs))
        return false;
    const Element* e = tree.Find(idName);
    if (e == nullptr || !Focus(window, idName, timeoutMs))
        return false;
    HWND edit = EditControlAt(window, e->location);
    if (edit == nullptr)
        return false;
    for (wchar_t unit : text) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(edit, WM_CHAR, unit, 1, SMTO_ABORTIFHUNG, timeoutMs, &result))
            return false;
    }
    return true;
}

bool PressKey(HWND window, WORD virtualKey, DWORD timeoutMs)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HWND target = GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr ? info.hwndFocus : window;
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16), SMTO_ABORTIFHUNG,
                               timeoutMs, &result) &&
           SendMessageTimeoutW(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u,
                               SMTO_ABORTIFHUNG, timeoutMs, &result);
}

std::wstring RoleText(long role)
{
    wchar_t text[128] = {};
    return GetRoleTextW(static_cast<DWORD>(role), text, 128) > 0 ? text : std::to_wstring(role);
}

std::wstring StateText(long state)
{
    static const struct {
        long bit;
        const wchar_t* name;
    } kStates[] = {{STATE_SYSTEM_CHECKED, L"checked"},     {STATE_SYSTEM_UNAVAILABLE, L"unavailable"},
                   {STATE_SYSTEM_INVISIBLE, L"invisible"}, {STATE_SYSTEM_FOCUSED, L"focused"},
                   {STATE_SYSTEM_FOCUSABLE, L"focusable"}, {STATE_SYSTEM_HOTTRACKED, L"hot"}};
    std::wstring text;
    for (const auto& s : kStates)
        if ((state & s.bit) != 0)
            text += (text.empty() ? L"" : L",") + std::wstring(s.name);
    return text.empty() ? L"normal" : text;
}

}  // namespace msaa
