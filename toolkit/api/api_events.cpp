// Registration of binders. A binder the toolkit takes is the toolkit's from
// then on; a refused one stays the caller's.
#include "core/toolkit_state.h"
#include "elements/element.h"
#include "events/event_binders.h"
#include "toolkit/xcgui.h"
#include "window/window.h"

BOOL XEle_RegEventTest(int eventCode, const unsigned char paramDesc[4])
{
    return kit::ElementEventAccepts(eventCode, paramDesc) ? TRUE : FALSE;
}

BOOL XEle_RegEventEx(HELE element, CEventBase* binder)
{
    kit::Element* e = kit::Toolkit::Get().Handles().FindElement(element);
    if (e == nullptr || binder == nullptr ||
        !kit::ElementEventAccepts(binder->m_nEventCode, binder->m_paramDesc))
        return FALSE;
    e->Events().Add(binder);
    return TRUE;
}

BOOL XWnd_RegEventTest(int message, const unsigned char paramDesc[4])
{
    return kit::WindowMessageAccepts(message, paramDesc) ? TRUE : FALSE;
}

BOOL XWnd_RegEventEx(HWINDOW window, CEventBase* binder)
{
    kit::Window* w = kit::Toolkit::Get().Handles().FindWindow(window);
    if (w == nullptr || binder == nullptr ||
        !kit::WindowMessageAccepts(binder->m_nEventCode, binder->m_paramDesc))
        return FALSE;
    w->Events().Add(binder);
    return TRUE;
}
