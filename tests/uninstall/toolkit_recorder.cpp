#include "toolkit_recorder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct Object {
    std::wstring idName;
    bool shown = true;
    bool checked = false;
    int position = 0;
    std::wstring editText;
    std::vector<CEventBase*> binders;
};

struct Recorder {
    ~Recorder() { ReleaseBinders(); }
    void ReleaseBinders()
    {
        for (auto& element : elements) {
            for (CEventBase* binder : element->binders)
                binder->Release();
        }
        for (CEventBase* binder : window.binders)
            binder->Release();
        elements.clear();
        window.binders.clear();
    }

    std::vector<std::unique_ptr<Object>> elements;
    Object window;
    std::vector<std::wstring> calls;
    bool layoutLoads = true;
    bool closed = false;
    HWND native = nullptr;
};

Recorder& State()
{
    static Recorder recorder;
    return recorder;
}

bool IsTheWindow(HXCGUI handle)
{
    return handle != nullptr && handle == reinterpret_cast<HXCGUI>(&State().window);
}

Object* Find(HXCGUI handle)
{
    for (auto& element : State().elements) {
        if (reinterpret_cast<HXCGUI>(element.get()) == handle)
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

std::wstring NameOf(HXCGUI handle)
{
    if (IsTheWindow(handle))
        return L"window";
    Object* element = Find(handle);
    return element != nullptr ? element->idName : L"(null)";
}

std::wstring Hex(unsigned long value)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%06lX", value);
    return text;
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
    if (message >= WM_USER) {
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
    windowClass.lpszClassName = L"UninstallToolkitRecorder";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
}

// The parameter descriptions the toolkit accepts for each event code.
bool Accepts(int code, const unsigned char paramDesc[4])
{
    static const unsigned char none[4] = {0, 0, 0, 0};
    static const unsigned char oneInt[4] = {1, 0, 0, 0};
    static const unsigned char message[4] = {2, 2, 0, 0};
    const unsigned char* wanted = code == XE_BNCLICK || code == XE_RICHEDIT_CHANGE ? none
                                  : code == XE_BUTTON_CHECK || code == XE_PROGRESSBAR_CHANGE
                                      ? oneInt
                                      : message;
    return std::equal(wanted, wanted + 4, paramDesc);
}

}  // namespace

namespace toolkit_recorder {

void Reset(const std::vector<std::wstring>& idNames, bool layoutLoads)
{
    Recorder& recorder = State();
    recorder.ReleaseBinders();
    recorder.calls.clear();
    recorder.layoutLoads = layoutLoads;
    recorder.closed = false;
    for (const auto& idName : idNames) {
        recorder.elements.push_back(std::make_unique<Object>());
        recorder.elements.back()->idName = idName;
    }
    if (recorder.native == nullptr)
        recorder.native = CreateNative();
    SetWindowTextW(recorder.native, L"");
}

const std::vector<std::wstring>& Calls()
{
    return State().calls;
}

void ClearCalls()
{
    State().calls.clear();
}

void Record(const std::wstring& call)
{
    State().calls.push_back(call);
}

void SetChecked(const wchar_t* idName, bool checked)
{
    if (Object* element = Named(idName))
        element->checked = checked;
}

void SetEditText(const wchar_t* idName, const std::wstring& text)
{
    if (Object* element = Named(idName))
        element->editText = text;
}

bool IsShown(const wchar_t* idName)
{
    Object* element = Named(idName);
    return element != nullptr && element->shown;
}

int Position(const wchar_t* idName)
{
    Object* element = Named(idName);
    return element != nullptr ? element->position : -1;
}

bool Closed()
{
    return State().closed;
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

}  // namespace toolkit_recorder

using toolkit_recorder::Record;

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
    const auto& elements = State().elements;
    for (size_t i = 0; i < elements.size(); ++i) {
        if (elements[i]->idName == idName)
            return static_cast<int>(2001 + i);
    }
    return 0;
}

HXCGUI XC_GetObjectByID(HWINDOW window, int id)
{
    const auto& elements = State().elements;
    if (!IsTheWindow(window) || id < 2001 || id >= 2001 + static_cast<int>(elements.size()))
        return nullptr;
    return reinterpret_cast<HXCGUI>(elements[static_cast<size_t>(id - 2001)].get());
}

HWND XWnd_GetHWND(HWINDOW window)
{
    return IsTheWindow(window) ? State().native : nullptr;
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
    Record(L"XWnd_RedrawWnd " + NameOf(window) + L" " + std::to_wstring(immediate));
}

void XWnd_CloseWindow(HWINDOW window)
{
    Record(L"XWnd_CloseWindow " + NameOf(window));
    if (IsTheWindow(window))
        State().closed = true;
}

void XEle_ShowEle(HELE element, BOOL show)
{
    Record(L"XEle_ShowEle " + NameOf(element) + L" " + std::to_wstring(show));
    if (Object* object = Find(element))
        object->shown = show != FALSE;
}

BOOL XEle_IsShow(HELE element)
{
    Object* object = Find(element);
    return object != nullptr && object->shown;
}

BOOL XBtn_IsCheck(HELE button)
{
    Record(L"XBtn_IsCheck " + NameOf(button));
    Object* object = Find(button);
    return object != nullptr && object->checked;
}

void XShapeText_SetText(HXCGUI shapeText, const wchar_t* text)
{
    Record(L"XShapeText_SetText " + NameOf(shapeText) + L" " + text);
}

int XRichEdit_GetText(HELE edit, wchar_t* buffer, int sizeInUnits)
{
    Record(L"XRichEdit_GetText " + NameOf(edit) + L" " + std::to_wstring(sizeInUnits));
    Object* object = Find(edit);
    if (object == nullptr || buffer == nullptr || sizeInUnits <= 0)
        return 0;
    int units = static_cast<int>(object->editText.size());
    if (units > sizeInUnits - 1)
        units = sizeInUnits - 1;
    std::copy(object->editText.begin(), object->editText.begin() + units, buffer);
    buffer[units] = L'\0';
    return units;
}

void XRichEdit_SetDefaultText(HELE edit, const wchar_t* hint)
{
    Record(L"XRichEdit_SetDefaultText " + NameOf(edit) + L" " + hint);
}

void XRichEdit_SetDefaultTextColor(HELE edit, COLORREF color, BYTE alpha)
{
    Record(L"XRichEdit_SetDefaultTextColor " + NameOf(edit) + L" " + Hex(color) + L" " +
           std::to_wstring(alpha));
}

void XRichEdit_EnableMultiLine(HELE edit, BOOL enable)
{
    Record(L"XRichEdit_EnableMultiLine " + NameOf(edit) + L" " + std::to_wstring(enable));
}

void XRichEdit_EnableAutoWrap(HELE edit, BOOL enable)
{
    Record(L"XRichEdit_EnableAutoWrap " + NameOf(edit) + L" " + std::to_wstring(enable));
}

void XSView_ShowSBarV(HELE scrollView, BOOL show)
{
    Record(L"XSView_ShowSBarV " + NameOf(scrollView) + L" " + std::to_wstring(show));
}

void XProgBar_SetRange(HELE bar, int range)
{
    Record(L"XProgBar_SetRange " + NameOf(bar) + L" " + std::to_wstring(range));
}

void XProgBar_SetSpaceTwo(HELE bar, int leftSpace, int rightSpace)
{
    Record(L"XProgBar_SetSpaceTwo " + NameOf(bar) + L" " + std::to_wstring(leftSpace) + L" " +
           std::to_wstring(rightSpace));
}

void XProgBar_SetPos(HELE bar, int position)
{
    Record(L"XProgBar_SetPos " + NameOf(bar) + L" " + std::to_wstring(position));
    if (Object* object = Find(bar))
        object->position = position;
}

BOOL XEle_RegEventTest(int eventCode, const unsigned char paramDesc[4])
{
    return Accepts(eventCode, paramDesc);
}

BOOL XEle_RegEventEx(HELE element, CEventBase* binder)
{
    Object* object = Find(element);
    if (object == nullptr)
        return FALSE;
    Record(L"XEle_RegEventEx " + object->idName + L" " + std::to_wstring(binder->m_nEventCode) +
           L" " + std::wstring(binder->GetFunName(), binder->GetFunName() + std::strlen(binder->GetFunName())));
    object->binders.push_back(binder);
    return TRUE;
}

BOOL XWnd_RegEventTest(int message, const unsigned char paramDesc[4])
{
    return Accepts(message, paramDesc);
}

BOOL XWnd_RegEventEx(HWINDOW window, CEventBase* binder)
{
    if (!IsTheWindow(window))
        return FALSE;
    Record(L"XWnd_RegEventEx " + std::to_wstring(binder->m_nEventCode) + L" " +
           std::wstring(binder->GetFunName(), binder->GetFunName() + std::strlen(binder->GetFunName())));
    State().window.binders.push_back(binder);
    return TRUE;
}
