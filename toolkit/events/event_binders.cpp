#include "events/event_binders.h"

#include <cstring>

namespace kit {

namespace {

bool SameDescription(const unsigned char a[4], const unsigned char (&b)[4])
{
    return a != nullptr && std::memcmp(a, b, 4) == 0;
}

}  // namespace

bool ElementEventAccepts(int eventCode, const unsigned char paramDesc[4])
{
    switch (eventCode) {
    case XE_BNCLICK:
    case XE_RICHEDIT_CHANGE:
        return SameDescription(paramDesc, xcgui_detail::kNoParams);
    case XE_BUTTON_CHECK:
    case XE_PROGRESSBAR_CHANGE:
        return SameDescription(paramDesc, xcgui_detail::kOneInt);
    default:
        return false;
    }
}

bool WindowMessageAccepts(int message, const unsigned char paramDesc[4])
{
    return message >= 0 && message <= 0xFFFF &&
           SameDescription(paramDesc, xcgui_detail::kMessageParams);
}

EventBinders::~EventBinders()
{
    for (CEventBase* binder : m_binders)
        binder->Release();
}

bool EventBinders::Has(int eventCode) const
{
    for (const CEventBase* binder : m_binders)
        if (binder->m_nEventCode == eventCode)
            return true;
    return false;
}

}  // namespace kit
