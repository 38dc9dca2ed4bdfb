#pragma once
// Handlers that record what reached them, bound like the programs bind theirs.
#include "toolkit/xcgui.h"

#include <vector>

struct EventRecord {
    int code;
    HELE element;  // null when the handler does not get it
    long long a;   // check state, position, or the message's first parameter
    long long b;   // the message's second parameter
};

class EventLog {
public:
    int OnClick(HELE element, BOOL* pbHandled) { return Record({XE_BNCLICK, element, 0, 0}, pbHandled); }
    int OnClickPlain(BOOL* pbHandled) { return Record({XE_BNCLICK, nullptr, 0, 0}, pbHandled); }
    int OnCheck(HELE element, BOOL check, BOOL* pbHandled)
    {
        return Record({XE_BUTTON_CHECK, element, check, 0}, pbHandled);
    }
    int OnEditChange(BOOL* pbHandled) { return Record({XE_RICHEDIT_CHANGE, nullptr, 0, 0}, pbHandled); }
    int OnProgress(int position, BOOL* pbHandled)
    {
        return Record({XE_PROGRESSBAR_CHANGE, nullptr, position, 0}, pbHandled);
    }
    int OnMessage(WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
    {
        return Record({2124, nullptr, static_cast<long long>(wParam), lParam}, pbHandled);
    }

    std::vector<EventRecord> records;
    BOOL setHandled = TRUE;  // what the handlers put into the handled flag
    int result = 0;          // and what they give back

private:
    int Record(const EventRecord& record, BOOL* pbHandled)
    {
        records.push_back(record);
        if (setHandled)
            *pbHandled = TRUE;
        return result;
    }
};

// A binder of the test's own that counts its releases.
class CountingBinder final : public CEventBase {
public:
    CountingBinder(int code, const unsigned char (&desc)[4], int& releases, int& calls, int result = 0)
        : CEventBase(code, false, desc, "&CountingBinder::Handle"), m_releases(releases),
          m_calls(calls), m_result(result) {}
    int WndEventProc(BOOL* pbHandled) override { return Handle(pbHandled); }
    int EleEventProc(BOOL* pbHandled) override { return Handle(pbHandled); }
    void Release() override
    {
        ++m_releases;
        delete this;
    }
    void* GetThis() override { return nullptr; }
    const char* GetFunName() override { return m_szFunName; }

private:
    int Handle(BOOL* pbHandled)
    {
        ++m_calls;
        *pbHandled = TRUE;
        return m_result;
    }
    int& m_releases;
    int& m_calls;
    int m_result;
};
