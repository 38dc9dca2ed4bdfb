#include "fake_toolkit.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {

struct FakeObject {
    std::wstring idName;
    std::wstring text;
    int position = 0;
    std::vector<CEventBase*> binders;
    bool enabled = true;
};

const wchar_t* const kKnownIds[] = {L"ID_EleUpdateMain", L"ID_ProgressBar",
                                    L"ID_TextDownLoadShow", L"ID_BtnInstallUpdate"};

struct State {
    bool layoutLoads = true;
    FakeObject window{L"window", L"", 0, {}, true};
    std::map<int, std::unique_ptr<FakeObject>> elements;  // by resource ID
    std::vector<std::wstring> calls;
    HWND native = nullptr;
    std::function<void()> positionHook;

    ~State() { ReleaseBinders(); }
    void ReleaseBinders()
    {
        for (CEventBase* binder : window.binders)
            binder->Release();
        window.binders.clear();
        for (auto& item : elements) {
            for (CEventBase* binder : item.second->binders)
                binder->Release();
            item.second->binders.clear();
        }
    }
};

State& Fake()
{
    static State state;
    return state;
}

FakeObject* Object(HXCGUI handle)
{
    State& s = Fake();
    if (handle == reinterpret_cast<HXCGUI>(&s.window))
        return &s.window;
    for (auto& item : s.elements) {
        if (handle == reinterpret_cast<HXCGUI>(item.second.get()))
            return item.second.get();
    }
    return nullptr;
}

FakeObject* ElementNamed(const wchar_t* idName)
{
    for (auto& item : Fake().elements) {
        if (item.second->idName == idName)
            return item.second.get();
    }
    return nullptr;
}

void Log(const std::wstring& line)
{
    Fake().calls.push_back(line);
}

std::wstring NameOf(HXCGUI handle)
{
    FakeObject* object = Object(handle);
    return object != nullptr ? object->idName : L"(null)";
}

std::wstring Narrow(const char* text)
{
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

BOOL Raise(FakeObject* object, int code, WPARAM wParam, LPARAM lParam, bool window)
{
    BOOL handled = FALSE;
    if (object == nullptr)
        return handled;
    std::vector<CEventBase*> binders = object->binders;  // a handler may register more
    for (CEventBase* binder : binders) {
        if (binder->m_nEventCode != code)
            continue;
        binder->m_params.element = window ? nullptr : reinterpret_cast<HELE>(object);
        binder->m_params.eventCode = code;
        binder->m_params.wParam = wParam;
        binder->m_params.lParam = lParam;
        if (window)
            binder->WndEventProc(&handled);
        else
            binder->EleEventProc(&handled);
    }
    return handled;
}

}  // namespace

namespace fake_toolkit {

void Reset(bool layoutLoads)
{
    State& s = Fake();
    s.ReleaseBinders();
    s.elements.clear();
    s.calls.clear();
    s.layoutLoads = layoutLoads;
    s.positionHook = nullptr;
    s.window.text.clear();
    for (int i = 0; i < 4; ++i) {
        auto element = std::make_unique<FakeObject>();
        element->idName = kKnownIds[i];
        s.elements[100 + i] = std::move(element);
    }
    if (s.native == nullptr)
        s.native = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
    SetWindowTextW(s.native, L"");
}

const std::vector<std::wstring>& Calls()
{
    return Fake().calls;
}

std::vector<std::wstring> CallsStartingWith(const std::wstring& prefix)
{
    std::vector<std::wstring> found;
    for (const std::wstring& call : Fake().calls) {
        if (call.compare(0, prefix.size(), prefix) == 0)
            found.push_back(call);
    }
    return found;
}

std::wstring TextOf(const wchar_t* idName)
{
    FakeObject* element = ElementNamed(idName);
    return element != nullptr ? element->text : L"";
}

int PositionOf(const wchar_t* idName)
{
    FakeObject* element = ElementNamed(idName);
    return element != nullptr ? element->position : -1;
}

BOOL Click(const wchar_t* idName)
{
    FakeObject* element = ElementNamed(idName);
    if (element == nullptr || !element->enabled)
        return FALSE;
    return Raise(element, XE_BNCLICK, 0, 0, false);
}

bool IsEnabled(const wchar_t* idName)
{
    FakeObject* element = ElementNamed(idName);
    return element != nullptr && element->enabled;
}

void OnPositionSet(std::function<void()> hook)
{
    Fake().positionHook = std::move(hook);
}

BOOL SendWindowMessage(UINT message)
{
    return Raise(&Fake().window, static_cast<int>(message), 0, 0, true);
}

HWND NativeWindow()
{
    return Fake().native;
}

}  // namespace fake_toolkit

BOOL XInitXCGUI(int)
{
    return TRUE;
}

void XRunXCGUI() {}

void XExitXCGUI() {}

BOOL XC_LoadResource(const wchar_t* resourceFile, const wchar_t* skinFolder)
{
    Log(std::wstring(L"XC_LoadResource ") + resourceFile + L" " + skinFolder);
    return TRUE;
}

HWINDOW XC_LoadLayout(const wchar_t* layoutFile, HXCGUI)
{
    Log(std::wstring(L"XC_LoadLayout ") + layoutFile);
    return Fake().layoutLoads ? reinterpret_cast<HWINDOW>(&Fake().window) : nullptr;
}

int XC_GetResIDValue(const wchar_t* idName)
{
    for (auto& item : Fake().elements) {
        if (item.second->idName == idName)
            return item.first;
    }
    return 0;
}

HXCGUI XC_GetObjectByID(HWINDOW window, int id)
{
    auto found = Fake().elements.find(id);
    if (Object(window) != &Fake().window || found == Fake().elements.end()) {
        Log(L"XC_GetObjectByID (unknown)");
        return nullptr;
    }
    Log(L"XC_GetObjectByID " + found->second->idName);
    return reinterpret_cast<HXCGUI>(found->second.get());
}

HWND XWnd_GetHWND(HWINDOW window)
{
    return Object(window) == &Fake().window ? Fake().native : nullptr;
}

void XWnd_AdjustLayout(HWINDOW window)
{
    Log(L"XWnd_AdjustLayout " + NameOf(window));
}

void XWnd_AdjustLayoutObject(HWINDOW window)
{
    Log(L"XWnd_AdjustLayoutObject " + NameOf(window));
}

BOOL XWnd_ShowWindow(HWINDOW window, int showCommand)
{
    Log(L"XWnd_ShowWindow " + NameOf(window) + L" " + std::to_wstring(showCommand));
    return TRUE;
}

void XWnd_CloseWindow(HWINDOW window)
{
    Log(L"XWnd_CloseWindow " + NameOf(window));
}

void XEle_RedrawEle(HELE element, BOOL)
{
    Log(L"XEle_RedrawEle " + NameOf(element));
}

void XBtn_SetText(HELE button, const wchar_t* text)
{
    Log(L"XBtn_SetText " + NameOf(button) + L" " + text);
    if (FakeObject* object = Object(button))
        object->text = text;
}

void XShapeText_SetText(HXCGUI shapeText, const wchar_t* text)
{
    Log(L"XShapeText_SetText " + NameOf(shapeText) + L" " + text);
    if (FakeObject* object = Object(shapeText))
        object->text = text;
}

void XProgBar_SetRange(HELE bar, int range)
{
    Log(L"XProgBar_SetRange " + NameOf(bar) + L" " + std::to_wstring(range));
}

void XProgBar_SetSpaceTwo(HELE bar, int leftSpace, int rightSpace)
{
    Log(L"XProgBar_SetSpaceTwo " + NameOf(bar) + L" " + std::to_wstring(leftSpace) + L" " +
        std::to_wstring(rightSpace));
}

void XProgBar_SetPos(HELE bar, int position)
{
    Log(L"XProgBar_SetPos " + NameOf(bar) + L" " + std::to_wstring(position));
    FakeObject* object = Object(bar);
    if (object == nullptr || object == &Fake().window)
        return;
    object->position = position;
    Raise(object, XE_PROGRESSBAR_CHANGE, static_cast<WPARAM>(position), 0, false);
    if (Fake().positionHook)
        Fake().positionHook();
}

void XEle_Enable(HELE element, BOOL enable)
{
    Log(L"XEle_Enable " + NameOf(element) + L" " + std::to_wstring(enable));
    if (FakeObject* object = Object(element))
        object->enabled = enable != FALSE;
}

BOOL XEle_RegEventTest(int eventCode, const unsigned char paramDesc[4])
{
    static const unsigned char none[4] = {0, 0, 0, 0};
    static const unsigned char oneInt[4] = {1, 0, 0, 0};
    const unsigned char* expected = eventCode == XE_PROGRESSBAR_CHANGE ? oneInt : none;
    return (eventCode == XE_BNCLICK || eventCode == XE_PROGRESSBAR_CHANGE) &&
           std::equal(expected, expected + 4, paramDesc);
}

BOOL XEle_RegEventEx(HELE element, CEventBase* binder)
{
    FakeObject* object = Object(element);
    if (object == nullptr || object == &Fake().window)
        return FALSE;
    Log(L"XEle_RegEventEx " + object->idName + L" " + std::to_wstring(binder->m_nEventCode) +
        L" " + Narrow(binder->GetFunName()));
    object->binders.push_back(binder);
    return TRUE;
}

BOOL XWnd_RegEventTest(int, const unsigned char paramDesc[4])
{
    return paramDesc[0] == 2 && paramDesc[1] == 2 && paramDesc[2] == 0 && paramDesc[3] == 0;
}

BOOL XWnd_RegEventEx(HWINDOW window, CEventBase* binder)
{
    if (Object(window) != &Fake().window)
        return FALSE;
    Log(L"XWnd_RegEventEx " + std::to_wstring(binder->m_nEventCode) + L" " +
        Narrow(binder->GetFunName()));
    Fake().window.binders.push_back(binder);
    return TRUE;
}
