// Window messages bound with XWnd_RegEventEx, registration rules, who owns
// binders, and the message loop's end.
#include "common/window_frame.h"
#include "event_log.h"
#include "toolkit_test_window.h"

#include <gtest/gtest.h>

namespace {

struct TickProbe {
    EventLog* log = nullptr;
    size_t countBefore = 0;
    size_t countAfter = 0;
    LRESULT answer = 0;
    int ticks = 0;
};
TickProbe g_probe;

// Sends the tick as the programs' timer callback does, and looks at the log
// on both sides of the send.
void CALLBACK ProbeTimer(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    g_probe.countBefore = g_probe.log->records.size();
    g_probe.answer = SendMessageW(hwnd, kTimerTickMessage, 7, 8);
    g_probe.countAfter = g_probe.log->records.size();
    ++g_probe.ticks;
    KillTimer(hwnd, id);
}

}  // namespace

TEST(WindowEvents, TimerTickReachesTheHandlerBeforeSendMessageReturns)
{
    TestWindow window;
    EventLog log;
    log.result = 41;
    BindWindowEvent(window.Handle(), kTimerTickMessage, &log, &EventLog::OnMessage, "&EventLog::OnMessage");
    g_probe = TickProbe{&log};
    SetTimer(window.Hwnd(), 3, 10, ProbeTimer);
    ASSERT_TRUE(PumpUntil([] { return g_probe.ticks == 1; }, 5000));
    EXPECT_EQ(g_probe.countBefore + 1, g_probe.countAfter);
    ASSERT_EQ(1u, log.records.size());
    EXPECT_EQ(7, log.records[0].a);
    EXPECT_EQ(8, log.records[0].b);
    EXPECT_EQ(41, g_probe.answer) << "the handled handler's result is the message's";
}

TEST(WindowEvents, TheFramesTimerCallbackSendsTheTick)
{
    TestWindow window;
    EventLog log;
    g_hWindow = window.Handle();
    BindWindowEvent(window.Handle(), kTimerTickMessage, &log, &EventLog::OnMessage, "&EventLog::OnMessage");
    SetTimer(window.Hwnd(), 10, 20, ForwardTimerTick);
    EXPECT_TRUE(PumpUntil([&log] { return log.records.size() >= 3; }, 5000));
    KillTimer(window.Hwnd(), 10);
    g_hWindow = nullptr;
}

struct HandledCase {
    const char* name;
    BOOL firstHandles;
    BOOL secondHandles;
    size_t secondCalls;
    LRESULT answer;
};

class HandledFlag : public ::testing::TestWithParam<HandledCase> {};

TEST_P(HandledFlag, DecidesWhoRunsAndWhatTheMessageGives)
{
    TestWindow window;
    EventLog first, second;
    first.setHandled = GetParam().firstHandles;
    first.result = 11;
    second.setHandled = GetParam().secondHandles;
    second.result = 22;
    BindWindowEvent(window.Handle(), kTimerTickMessage, &first, &EventLog::OnMessage, "&EventLog::OnMessage");
    BindWindowEvent(window.Handle(), kTimerTickMessage, &second, &EventLog::OnMessage, "&EventLog::OnMessage");
    EXPECT_EQ(GetParam().answer, SendMessageW(window.Hwnd(), kTimerTickMessage, 0, 0));
    EXPECT_EQ(1u, first.records.size());
    EXPECT_EQ(GetParam().secondCalls, second.records.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HandledFlag,
    ::testing::Values(HandledCase{"FirstHandles", TRUE, TRUE, 0, 11},
                      HandledCase{"SecondHandles", FALSE, TRUE, 1, 22},
                      HandledCase{"NobodyHandles", FALSE, FALSE, 1, 0}),  // DefWindowProc's 0
    [](const ::testing::TestParamInfo<HandledCase>& info) { return info.param.name; });

struct DescriptionCase {
    const char* name;
    int code;
    unsigned char desc[4];
    BOOL element;
    BOOL window;
};

class ParameterDescriptions : public ::testing::TestWithParam<DescriptionCase> {};

TEST_P(ParameterDescriptions, AreAnsweredByEventCode)
{
    EXPECT_EQ(GetParam().element, XEle_RegEventTest(GetParam().code, GetParam().desc));
    EXPECT_EQ(GetParam().window, XWnd_RegEventTest(GetParam().code, GetParam().desc));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParameterDescriptions,
    ::testing::Values(DescriptionCase{"Click", 34, {0, 0, 0, 0}, TRUE, FALSE},
                      DescriptionCase{"ClickWithInt", 34, {1, 0, 0, 0}, FALSE, FALSE},
                      DescriptionCase{"Check", 35, {1, 0, 0, 0}, TRUE, FALSE},
                      DescriptionCase{"CheckWithoutInt", 35, {0, 0, 0, 0}, FALSE, FALSE},
                      DescriptionCase{"EditChange", 161, {0, 0, 0, 0}, TRUE, FALSE},
                      DescriptionCase{"Progress", 64, {1, 0, 0, 0}, TRUE, FALSE},
                      DescriptionCase{"MessageParamsForAnyMessage", 64, {2, 2, 0, 0}, FALSE, TRUE},
                      DescriptionCase{"Tick", 2124, {2, 2, 0, 0}, FALSE, TRUE},
                      DescriptionCase{"TickWithOneInt", 2124, {1, 0, 0, 0}, FALSE, FALSE},
                      DescriptionCase{"UnknownElementEvent", 99, {0, 0, 0, 0}, FALSE, FALSE}),
    [](const ::testing::TestParamInfo<DescriptionCase>& info) { return info.param.name; });

TEST(Registration, ARefusedBinderIsReleasedAndTheEventStaysUnbound)
{
    TestWindow window;
    HELE bar = window.Find(L"ID_ProgressBar");
    int releases = 0, calls = 0;
    // The frame's sequence, with a description 64 does not take.
    auto* binder = new CountingBinder(XE_PROGRESSBAR_CHANGE, xcgui_detail::kMessageParams, releases, calls);
    if (!XEle_RegEventTest(binder->m_nEventCode, binder->m_paramDesc) || !XEle_RegEventEx(bar, binder))
        binder->Release();
    EXPECT_EQ(1, releases);
    XProgBar_SetPos(bar, 30);
    EXPECT_EQ(0, calls);

    // Skipping the test does not get it in either.
    auto* sneaky = new CountingBinder(XE_PROGRESSBAR_CHANGE, xcgui_detail::kNoParams, releases, calls);
    EXPECT_FALSE(XEle_RegEventEx(bar, sneaky));
    sneaky->Release();

    // Through the frame: a click handler bound to 64 is refused the same way.
    EventLog log;
    BindElementEvent(bar, XE_PROGRESSBAR_CHANGE, &log, &EventLog::OnClick, "&EventLog::OnClick");
    XProgBar_SetPos(bar, 31);
    EXPECT_TRUE(log.records.empty());
}

TEST(Registration, TheToolkitReleasesAcceptedBindersWithTheWindow)
{
    int releases = 0, calls = 0;
    {
        TestWindow window;
        auto* onBar = new CountingBinder(XE_PROGRESSBAR_CHANGE, xcgui_detail::kOneInt, releases, calls);
        auto* onWindow = new CountingBinder(2124, xcgui_detail::kMessageParams, releases, calls, 9);
        ASSERT_TRUE(XEle_RegEventEx(window.Find(L"ID_ProgressBar"), onBar));
        ASSERT_TRUE(XWnd_RegEventEx(window.Handle(), onWindow));
        XProgBar_SetPos(window.Find(L"ID_ProgressBar"), 3);
        EXPECT_EQ(9, SendMessageW(window.Hwnd(), 2124, 0, 0));
        EXPECT_EQ(2, calls);
        EXPECT_EQ(0, releases);
    }  // closed here
    EXPECT_EQ(2, releases);
}

TEST(Registration, NullAndUnknownTargetsTakeNoBinder)
{
    int releases = 0, calls = 0;
    auto* binder = new CountingBinder(XE_BNCLICK, xcgui_detail::kNoParams, releases, calls);
    EXPECT_FALSE(XEle_RegEventEx(nullptr, binder));
    EXPECT_FALSE(XEle_RegEventEx(reinterpret_cast<HELE>(0x1234), binder));
    EXPECT_FALSE(XWnd_RegEventEx(nullptr, binder));
    EXPECT_FALSE(XEle_RegEventEx(nullptr, nullptr));
    binder->Release();
    EXPECT_EQ(1, releases);
}

TEST(MessageLoop, ReturnsAtOnceWithoutAWindow)
{
    XRunXCGUI();  // the test's watchdog would catch a hang
    SUCCEED();
}

namespace {
void CALLBACK DestroyLater(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(hwnd, id);
    DestroyWindow(hwnd);
}
void CALLBACK ClickCloseLater(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(hwnd, id);
    XWnd_CloseWindow(XC_LoadLayout(nullptr, nullptr));  // null: ignored
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
}
}  // namespace

struct CloseCase {
    const char* name;
    void (*close)(const TestWindow& window);
};

class MessageLoopEnds : public ::testing::TestWithParam<CloseCase> {};

TEST_P(MessageLoopEnds, WhenTheWindowIsClosedAnyWay)
{
    TestWindow window;
    ASSERT_TRUE(window.Loaded());
    SetTimer(window.Hwnd(), 99, 5000, DestroyLater);  // safety net: the loop must not hang the test
    GetParam().close(window);
    const DWORD start = GetTickCount();
    XRunXCGUI();
    EXPECT_LT(GetTickCount() - start, 4000u);
    EXPECT_EQ(nullptr, window.Hwnd());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageLoopEnds,
    ::testing::Values(
        CloseCase{"CloseWindowCall", [](const TestWindow& w) { XWnd_CloseWindow(w.Handle()); }},
        CloseCase{"PostedWmClose", [](const TestWindow& w) { PostMessageW(w.Hwnd(), WM_CLOSE, 0, 0); }},
        CloseCase{"DestroyWindowFromATimer",
                  [](const TestWindow& w) { SetTimer(w.Hwnd(), 1, 30, DestroyLater); }},
        CloseCase{"WmCloseFromATimer",
                  [](const TestWindow& w) { SetTimer(w.Hwnd(), 1, 30, ClickCloseLater); }},
        CloseCase{"AltF4", [](const TestWindow& w) { PostMessageW(w.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        CloseCase{"BuiltInCloseButton",
                  [](const TestWindow& w) {
                      const POINT p = w.Centre(w.Find(L"ID_BtnClose"));
                      PostMessageW(w.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
                      PostMessageW(w.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
                  }}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return info.param.name; });
