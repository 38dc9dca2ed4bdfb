#pragma once
// The kit's DirectUI toolkit: windowless elements painted inside one native
// window, built from XML skins. Handles are opaque; a null or unknown handle
// passed to any call is ignored (calls that answer give 0 / FALSE / null).
#include <windows.h>

#include <cstring>

typedef struct XCObject_* HXCGUI;  // any toolkit object
typedef HXCGUI HWINDOW;            // a toolkit window
typedef HXCGUI HELE;               // an element inside a window

// Element event codes.
enum XC_EVENT_CODE {
    XE_BNCLICK = 34,              // button click
    XE_BUTTON_CHECK = 35,         // check box changed
    XE_PROGRESSBAR_CHANGE = 64,   // progress bar position set
    XE_RICHEDIT_CHANGE = 161,     // rich-edit text changed
};

// ---- toolkit life cycle -------------------------------------------------
BOOL XInitXCGUI(int reserved);
void XRunXCGUI();   // message loop; returns once every toolkit window is closed
void XExitXCGUI();

// ---- skins --------------------------------------------------------------
BOOL XC_LoadResource(const wchar_t* resourceFile, const wchar_t* skinFolder);
HWINDOW XC_LoadLayout(const wchar_t* layoutFile, HXCGUI parent);  // 0 on failure
int XC_GetResIDValue(const wchar_t* idName);                      // 0 when unknown
HXCGUI XC_GetObjectByID(HWINDOW window, int id);                  // null when unknown
// Why the last XC_LoadResource / XC_LoadLayout failed ("file:line:column:
// reason"), empty after a success. For skin authors and tests.
const wchar_t* XC_GetLastLoadError();

// ---- windows ------------------------------------------------------------
HWND XWnd_GetHWND(HWINDOW window);
void XWnd_AdjustLayout(HWINDOW window);
void XWnd_AdjustLayoutObject(HWINDOW window);
BOOL XWnd_ShowWindow(HWINDOW window, int showCommand);
void XWnd_RedrawWnd(HWINDOW window, BOOL immediate);
void XWnd_CloseWindow(HWINDOW window);

// ---- elements -----------------------------------------------------------
void XEle_ShowEle(HELE element, BOOL show);
BOOL XEle_IsShow(HELE element);
void XEle_Enable(HELE element, BOOL enable);
void XEle_RedrawEle(HELE element, BOOL immediate);

BOOL XBtn_IsCheck(HELE button);
void XBtn_SetText(HELE button, const wchar_t* text);

void XShapeText_SetText(HXCGUI shapeText, const wchar_t* text);

void XRichEdit_SetText(HELE edit, const wchar_t* text);
int XRichEdit_GetText(HELE edit, wchar_t* buffer, int sizeInUnits);  // units copied
void XRichEdit_EnableEvent_XE_RICHEDIT_CHANGE(HELE edit, BOOL enable);
void XRichEdit_SetDefaultText(HELE edit, const wchar_t* hint);
void XRichEdit_SetDefaultTextColor(HELE edit, COLORREF color, BYTE alpha);
void XRichEdit_EnableMultiLine(HELE edit, BOOL enable);
void XRichEdit_EnableAutoWrap(HELE edit, BOOL enable);
void XSView_ShowSBarV(HELE scrollView, BOOL show);

void XProgBar_SetRange(HELE bar, int range);
void XProgBar_SetSpaceTwo(HELE bar, int leftSpace, int rightSpace);
void XProgBar_SetPos(HELE bar, int position);  // raises XE_PROGRESSBAR_CHANGE

// ---- event binders ------------------------------------------------------
// What the toolkit fills in before each dispatch.
struct XC_EVENT_PARAMS {
    HELE element;    // raising element (null for window events)
    int eventCode;   // element event code or window message
    WPARAM wParam;   // check state / new position / message's first parameter
    LPARAM lParam;   // message's second parameter
};

// One binding of an event to a member function. The toolkit owns a binder once
// XEle_RegEventEx / XWnd_RegEventEx accepted it, and releases it with its
// window. The virtual operations keep this slot order.
class CEventBase {
public:
    virtual int WndEventProc(BOOL* pbHandled) = 0;  // dispatch a window event
    virtual int EleEventProc(BOOL* pbHandled) = 0;  // dispatch an element event
    virtual void Release() = 0;                     // destroys the binder
    virtual void* GetThis() = 0;                    // the target object
    virtual const char* GetFunName() = 0;           // "&Class::Handler"

    int m_nEventCode;
    bool m_bElementFirst;
    unsigned char m_paramDesc[4];  // the handler's own parameters, for RegEventTest
    char m_szFunName[260];
    XC_EVENT_PARAMS m_params;

protected:
    CEventBase(int eventCode, bool elementFirst, const unsigned char (&paramDesc)[4],
               const char* funName)
        : m_nEventCode(eventCode), m_bElementFirst(elementFirst), m_paramDesc(), m_szFunName(),
          m_params()
    {
        std::memcpy(m_paramDesc, paramDesc, sizeof m_paramDesc);
        if (funName != nullptr) {
            size_t n = std::strlen(funName);
            if (n >= sizeof m_szFunName)
                n = sizeof m_szFunName - 1;
            std::memcpy(m_szFunName, funName, n);
        }
    }
    ~CEventBase() = default;  // destroyed through Release only
};

namespace xcgui_detail {
// Parameter descriptions: one byte per own parameter (1 an integer, 2 a
// message parameter); the element and the handled flag are not counted.
constexpr unsigned char kNoParams[4] = {0, 0, 0, 0};
constexpr unsigned char kOneInt[4] = {1, 0, 0, 0};
constexpr unsigned char kMessageParams[4] = {2, 2, 0, 0};

template <class Self>
class CEventCommon : public CEventBase {
public:
    using CEventBase::CEventBase;
    void Release() override { delete static_cast<Self*>(this); }
};
}  // namespace xcgui_detail

// Element binders, one per handler shape.
template <class Fn>
class CEventEle;

// click, element first: int OnBtnClick(HELE element, BOOL* pbHandled)
template <class T>
class CEventEle<int (T::*)(HELE, BOOL*)> final
    : public xcgui_detail::CEventCommon<CEventEle<int (T::*)(HELE, BOOL*)>> {
public:
    using Fn = int (T::*)(HELE, BOOL*);
    CEventEle(int eventCode, T* target, Fn handler, const char* name)
        : xcgui_detail::CEventCommon<CEventEle>(eventCode, true, xcgui_detail::kNoParams, name),
          m_pThis(target), m_fn(handler) {}
    int WndEventProc(BOOL*) override { return 0; }
    int EleEventProc(BOOL* pbHandled) override
    {
        return (m_pThis->*m_fn)(this->m_params.element, pbHandled);
    }
    void* GetThis() override { return m_pThis; }
    const char* GetFunName() override { return this->m_szFunName; }

private:
    T* m_pThis;
    Fn m_fn;
};

// click or rich-edit change, no element: int OnRichEditChange(BOOL* pbHandled)
template <class T>
class CEventEle<int (T::*)(BOOL*)> final
    : public xcgui_detail::CEventCommon<CEventEle<int (T::*)(BOOL*)>> {
public:
    using Fn = int (T::*)(BOOL*);
    CEventEle(int eventCode, T* target, Fn handler, const char* name)
        : xcgui_detail::CEventCommon<CEventEle>(eventCode, false, xcgui_detail::kNoParams, name),
          m_pThis(target), m_fn(handler) {}
    int WndEventProc(BOOL*) override { return 0; }
    int EleEventProc(BOOL* pbHandled) override { return (m_pThis->*m_fn)(pbHandled); }
    void* GetThis() override { return m_pThis; }
    const char* GetFunName() override { return this->m_szFunName; }

private:
    T* m_pThis;
    Fn m_fn;
};

// check change, element first: int OnCekClick(HELE element, BOOL bCheck, BOOL* pbHandled)
template <class T>
class CEventEle<int (T::*)(HELE, BOOL, BOOL*)> final
    : public xcgui_detail::CEventCommon<CEventEle<int (T::*)(HELE, BOOL, BOOL*)>> {
public:
    using Fn = int (T::*)(HELE, BOOL, BOOL*);
    CEventEle(int eventCode, T* target, Fn handler, const char* name)
        : xcgui_detail::CEventCommon<CEventEle>(eventCode, true, xcgui_detail::kOneInt, name),
          m_pThis(target), m_fn(handler) {}
    int WndEventProc(BOOL*) override { return 0; }
    int EleEventProc(BOOL* pbHandled) override
    {
        return (m_pThis->*m_fn)(this->m_params.element,
                                static_cast<BOOL>(this->m_params.wParam), pbHandled);
    }
    void* GetThis() override { return m_pThis; }
    const char* GetFunName() override { return this->m_szFunName; }

private:
    T* m_pThis;
    Fn m_fn;
};

// progress change: int OnProgressBarChange(int position, BOOL* pbHandled)
template <class T>
class CEventEle<int (T::*)(int, BOOL*)> final
    : public xcgui_detail::CEventCommon<CEventEle<int (T::*)(int, BOOL*)>> {
public:
    using Fn = int (T::*)(int, BOOL*);
    CEventEle(int eventCode, T* target, Fn handler, const char* name)
        : xcgui_detail::CEventCommon<CEventEle>(eventCode, false, xcgui_detail::kOneInt, name),
          m_pThis(target), m_fn(handler) {}
    int WndEventProc(BOOL*) override { return 0; }
    int EleEventProc(BOOL* pbHandled) override
    {
        return (m_pThis->*m_fn)(static_cast<int>(this->m_params.wParam), pbHandled);
    }
    void* GetThis() override { return m_pThis; }
    const char* GetFunName() override { return this->m_szFunName; }

private:
    T* m_pThis;
    Fn m_fn;
};

// Window binder: int OnTimeBegin(WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
template <class T>
class CEventWnd final : public xcgui_detail::CEventCommon<CEventWnd<T>> {
public:
    using Fn = int (T::*)(WPARAM, LPARAM, BOOL*);
    CEventWnd(int message, T* target, Fn handler, const char* name)
        : xcgui_detail::CEventCommon<CEventWnd>(message, false, xcgui_detail::kMessageParams,
                                                name),
          m_pThis(target), m_fn(handler) {}
    int WndEventProc(BOOL* pbHandled) override
    {
        return (m_pThis->*m_fn)(this->m_params.wParam, this->m_params.lParam, pbHandled);
    }
    int EleEventProc(BOOL*) override { return 0; }
    void* GetThis() override { return m_pThis; }
    const char* GetFunName() override { return this->m_szFunName; }

private:
    T* m_pThis;
    Fn m_fn;
};

// Registration: the test answers whether the event takes a handler with these
// parameters; RegEventEx hands the binder to the toolkit, which owns it from
// then on (FALSE: not taken, the caller still owns it).
BOOL XEle_RegEventTest(int eventCode, const unsigned char paramDesc[4]);
BOOL XEle_RegEventEx(HELE element, CEventBase* binder);
BOOL XWnd_RegEventTest(int message, const unsigned char paramDesc[4]);
BOOL XWnd_RegEventEx(HWINDOW window, CEventBase* binder);
