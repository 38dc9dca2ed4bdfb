#pragma once
// The binders registered on one element or window. They are owned here from
// registration on and released when their element or window is deleted.
#include "toolkit/xcgui.h"

#include <vector>

namespace kit {

// Whether an event code takes a handler with this parameter description.
bool ElementEventAccepts(int eventCode, const unsigned char paramDesc[4]);
bool WindowMessageAccepts(int message, const unsigned char paramDesc[4]);

class EventBinders {
public:
    EventBinders() = default;
    ~EventBinders();
    EventBinders(const EventBinders&) = delete;
    EventBinders& operator=(const EventBinders&) = delete;

    void Add(CEventBase* binder) { m_binders.push_back(binder); }
    bool Has(int eventCode) const;

    struct Outcome {
        bool handled = false;
        int result = 0;
    };
    // Calls the binders of the code in registration order until one sets the
    // handled flag. `alive` is asked after each handler: a handler may close
    // the window, and then nothing more is dispatched.
    template <class Alive>
    Outcome Dispatch(bool element, const XC_EVENT_PARAMS& params, Alive alive)
    {
        Outcome outcome;
        const size_t count = m_binders.size();  // binders added by a handler wait for the next event
        for (size_t i = 0; i < count && !outcome.handled; ++i) {
            CEventBase* binder = m_binders[i];
            if (binder->m_nEventCode != params.eventCode)
                continue;
            binder->m_params = params;
            BOOL handled = FALSE;
            outcome.result = element ? binder->EleEventProc(&handled) : binder->WndEventProc(&handled);
            outcome.handled = handled != FALSE;
            if (!alive())
                break;
        }
        return outcome;
    }

private:
    std::vector<CEventBase*> m_binders;
};

}  // namespace kit
