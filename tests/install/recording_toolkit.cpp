#include "recording_toolkit.h"

#include <algorithm>
#include <memory>

namespace {

struct Object {
    std::wstring idName;
    std::wstring text;
    bool shown = true;
    bool enabled = true;
    bool checked = false;
    std::vector<CEventBase*> binders;
};

struct Toolkit {
    bool layoutLoads = true;
    Object window;
    std::vector<std::unique_ptr<Object>> elements;  // resource ID = index + 1
    std::vector<std::wstring> calls;
    HWND native = nullptr;

    ~Toolkit() { ReleaseBinders(); }
    void ReleaseBinders()
    {
        for (CEventBase* binder : window.binders)
            binder->Release();
        window.binders.clear();
        for (auto& element : elements) {
            for (CEventBase* binder : element->binders)
                binder->Release();
        }
        elements.clear();
    }
};

Toolkit& State()
{
    static Toolkit toolkit;
    return toolkit;
}

Object* Find(HXCGUI handle)
{
    for (auto& element : State().elements) {
        if (handle == reinterpret_cast<HXCGUI>(element.get()))
            return element.get();
    }
    return nullptr;
}

Object* Named(const wchar_t* idName)
{
    for (auto& element : State().elements) {
        if (element->idName == idName)
            return element.get();
    }
    return nullptr;
}

bool IsWindow(HXCGUI handle)
{
    return handle != nullptr && handle == reinterpret_cast<HXCGUI>(&State().window);
}

std::wstring NameOf(HXCGUI handle)
{
    if (IsWindow(handle))
        return L"window";
    Object* element = Find(handle);
    return element != nullptr ? element->idName : L"(null)";
}

void Record(const std::wstring& call)
{
    State().calls.push_back(call);
}

std::wstring Flag(BOOL value)
{
    return value ? L"1" : L"0";
}

BOOL Dispatch(Object& target, HELE element, int code, WPARAM wParam, LPARAM lParam, bool window)
{
    BOOL handled = FALSE;
    std::vector<CEventBase*> binders = target.binders;
    for (CEventBase* binder : binders) {
        if (binder->m_nEventCode != code)
            continue;
        binder->m_params = XC_EVENT_PARAMS{element, code, wParam, lParam};
        if (window)
            binder->WndEventProc(&handled);
        else
            binder->EleEventProc(&handled);
    }
    return handled;
}

LRESULT CALLBACK NativeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER && !State().window.binders.empty()) {
        Dispatch(State().window, nullptr, static_cast<int>(message), wParam, lParam, true);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND CreateNative()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = NativeProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"RecordingToolkitWindow";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
}

}  // namespace

namespace recording_toolkit {

void Reset(const std::vector<std::wstring>& idNames, bool layoutLoads)
{
    Toolkit& toolkit = State();
    toolkit.ReleaseBinders();
    toolkit.calls.clear();
    toolkit.layoutLoads = layoutLoads;
    for (const auto& idName : idNames) {
        toolkit.elements.push_back(std::make_unique<Object>());
        toolkit.elements.back()->idName = idName;
    }
    if (toolkit.native == nullptr)
        toolkit.native = CreateNative();
    SetWindowTextW(toolkit.native, L"");
}

const std::vector<std::wstring>& Calls()
{
    return State().calls;
}

void ClearCalls()
{
    State().calls.clear();
}

std::wstring TextOf(const wchar_t* idName)
{
    Object* element = Named(idName);
    return element != nullptr ? element->text : L"(no such element)";
}

bool IsShown(const wchar_t* idName)
{
    Object* element = Named(idName);
    return element != nullptr && element->shown;
}

bool IsEnabled(const wchar_t* idName)
{
    Object* element = Named(idName);
    return element != nullptr && element->enabled;
}

void SetText(const wchar_t* idName, const std::wstring& text)
{
    if (Object* element = Named(idName))
        element->text = text;
}

void SetChecked(const wchar_t* idName, bool checked)
{
    if (Object* element = Named(idName))
        element->checked = checked;
}

BOOL Raise(const wchar_t* idName, int eventCode, WPARAM wParam)
{
    Object* element = Named(idName);
    if (element == nullptr)
        return FALSE;
    return Dispatch(*element, reinterpret_cast<HELE>(element), eventCode, wParam, 0, false);
}

HWND NativeWindow()
{
    return State().native;
}

}  // namespace recording_toolkit

BOOL XInitXCGUI(int)
{
    return TRUE;
}

void XRunXCGUI() {}

void XExitXCGUI() {}

BOOL XC_LoadResource(const wchar_t* resourceFile, const wchar_t* skinFolder)
{
    Record(std::wstring(L"XC_LoadResource ") + resourceFile + L" " + skinFolder);
    return TRUE;
}

HWINDOW XC_LoadLayout(const wchar_t* layoutFile, HXCGUI)
{
    Record(std::wstring(L"XC_LoadLayout ") + layoutFile);
    return State().layoutLoads ? reinterpret_cast<HWINDOW>(&State().window) : nullptr;
}

int XC_GetResIDValue(const wchar_t* idName)
{
    auto& elements = State().elements;
    for (size_t i = 0; i < elements.size(); ++i) {
        if (elements[i]->idName == idName)
            return static_cast<int>(i + 1);
    }
    return 0;
}

HXCGUI XC_GetObjectByID(HWINDOW window, int id)
{
    auto& elements = State().elements;
    if (!IsWindow(window) || id < 1 || id > static_cast<int>(elements.size()))
        return nullptr;
    return reinterpret_cast<HXCGUI>(elements[static_cast<size_t>(id - 1)].get());
}

HWND XWnd_GetHWND(HWINDOW window)
{
    return IsWindow(window) ? State().native : nullptr;
}

void XWnd_AdjustLayout(HWINDOW window)
{
    Record(L"XWnd_AdjustLayout " + NameOf(window));
}

void XWnd_AdjustLayoutObject(HWINDOW window)
{
    Record(L"XWnd_AdjustLayoutObject " + NameOf(window));
}

BOOL XWnd_ShowWindow(HWINDOW window, int showCommand)
{
    Record(L"XWnd_ShowWindow " + NameOf(window) + L" " + std::to_wstring(showCommand));
    return TRUE;
}

void XWnd_RedrawWnd(HWINDOW window, BOOL immediate)
{
    Record(L"XWnd_RedrawWnd " + NameOf(window) + L" " + Flag(immediate));
}

void XWnd_CloseWindow(HWINDOW window)
{
    Record(L"XWnd_CloseWindow " + NameOf(window));
}

void XEle_ShowEle(HELE element, BOOL show)
{
    Record(L"XEle_ShowEle " + NameOf(element) + L" " + Flag(show));
    if (Object* object = Find(element))
        object->shown = show != FALSE;
}

BOOL XEle_IsShow(HELE element)
{
    Object* object = Find(element);
    return object != nullptr && object->shown;
}

void XEle_Enable(HELE element, BOOL enable)
{
    Record(L"XEle_Enable " + NameOf(element) + L" " + Flag(enable));
    if (Object* object = Find(element))
        object->enabled = enable != FALSE;
}

void XEle_RedrawEle(HELE element, BOOL immediate)
{
    Record(L"XEle_RedrawEle " + NameOf(element) + L" " + Flag(immediate));
}

BOOL XBtn_IsCheck(HELE button)
{
    Object* object = Find(button);
    return object != nullptr && object->checked;
}

void XBtn_SetText(HELE button, const wchar_t* text)
{
    Record(L"XBtn_SetText " + NameOf(button) + L" " + text);
    if (Object* object = Find(button))
        object->text = text;
}

void XShapeText_SetText(HXCGUI shapeText, const wchar_t* text)
{
    Record(L"XShapeText_SetText " + NameOf(shapeText) + L" " + text);
    if (Object* object = Find(shapeText))
        object->text = text;
}

void XRichEdit_SetText(HELE edit, const wchar_t* text)
{
    Record(L"XRichEdit_SetText " + NameOf(edit) + L" " + text);
    if (Object* object = Find(edit))
        object->text = text;
}

int XRichEdit_GetText(HELE edit, wchar_t* buffer, int sizeInUnits)
{
    Object* object = Find(edit);
    if (object == nullptr || buffer == nullptr || sizeInUnits <= 0)
        return 0;
    size_t n = std::min(object->text.size(), static_cast<size_t>(sizeInUnits - 1));
    std::copy(object->text.begin(), object->text.begin() + static_cast<ptrdiff_t>(n), buffer);
    buffer[n] = L'\0';
    return static_cast<int>(n);
}

void XRichEdit_EnableEvent_XE_RICHEDIT_CHANGE(HELE edit, BOOL enable)
{
    Record(L"XRichEdit_EnableEvent_XE_RICHEDIT_CHANGE " + NameOf(edit) + L" " + Flag(enable));
}

void XRichEdit_SetDefaultText(HELE, const wchar_t*) {}
void XRichEdit_SetDefaultTextColor(HELE, COLORREF, BYTE) {}
void XRichEdit_EnableMultiLine(HELE, BOOL) {}
void XRichEdit_EnableAutoWrap(HELE, BOOL) {}
void XSView_ShowSBarV(HELE, BOOL) {}
void XProgBar_SetRange(HELE, int) {}
void XProgBar_SetSpaceTwo(HELE, int, int) {}
void XProgBar_SetPos(HELE, int) {}

BOOL XEle_RegEventTest(int eventCode, const unsigned char paramDesc[4])
{
    static const unsigned char none[4] = {0, 0, 0, 0};
    static const unsigned char oneInt[4] = {1, 0, 0, 0};
    switch (eventCode) {
    case XE_BNCLICK:
    case XE_RICHEDIT_CHANGE:
        return std::equal(none, none + 4, paramDesc);
    case XE_BUTTON_CHECK:
    case XE_PROGRESSBAR_CHANGE:
        return std::equal(oneInt, oneInt + 4, paramDesc);
    default:
        return FALSE;
    }
}

BOOL XEle_RegEventEx(HELE element, CEventBase* binder)
{
    Object* object = Find(element);
    if (object == nullptr)
        return FALSE;
    const char* name = binder->GetFunName();
    Record(L"XEle_RegEventEx " + object->idName + L" " + std::to_wstring(binder->m_nEventCode) +
           L" " + std::wstring(name, name + std::char_traits<char>::length(name)));
    object->binders.push_back(binder);
    return TRUE;
}

BOOL XWnd_RegEventTest(int, const unsigned char paramDesc[4])
{
    static const unsigned char messageParams[4] = {2, 2, 0, 0};
    return std::equal(messageParams, messageParams + 4, paramDesc);
}

BOOL XWnd_RegEventEx(HWINDOW window, CEventBase* binder)
{
    if (!IsWindow(window))
        return FALSE;
    const char* name = binder->GetFunName();
    Record(L"XWnd_RegEventEx " + std::to_wstring(binder->m_nEventCode) + L" " +
           std::wstring(name, name + std::char_traits<char>::length(name)));
    State().window.binders.push_back(binder);
    return TRUE;
}
