// The real uninstaller under Wine, operated through its accessibility tree
// like a screen reader would: the days shown, keep, go on with the bar's
// animation, close on each page, and say-goodbye with the form arriving at a
// local server. The build used posts to 127.0.0.1 on the tests' port; the
// script is one that only writes down how it was started.
#include "uninstaller_session.h"

#include "day_count.h"
#include "http_test_server.h"
#include "msaa_client.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <thread>

namespace {

const wchar_t kTitle[] = L"卸载程序";
const unsigned short kFeedbackPort = KIT_TEST_FEEDBACK_PORT;
const char kFeedbackPath[] = "/index.php/ip/client/feedback";
const DWORD kWindowTimeoutMs = 15000;

bool IsVisible(HWND window, const wchar_t* idName, DWORD timeoutMs = 8000)
{
    return msaa::WaitForElement(window, idName, [](const msaa::Element& e) { return e.Visible(); },
                                timeoutMs);
}

std::wstring ElementValue(HWND window, const wchar_t* idName, std::wstring msaa::Element::*field)
{
    msaa::Tree tree;
    if (!msaa::Snapshot(window, tree))
        return L"(no tree)";
    const msaa::Element* element = tree.Find(idName);
    return element != nullptr ? element->*field : L"(no element)";
}

double MillisecondsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// A key press as the keyboard delivers it: posted to the focused window.
void PostKeyPress(HWND window, WORD virtualKey)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HWND target = GetGUIThreadInfo(thread, &info) && info.hwndFocus ? info.hwndFocus : window;
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | scan);
    PostMessageW(target, WM_KEYUP, virtualKey, 1 | scan | static_cast<LPARAM>(0xC0000000u));
}

// Presses a button from a thread of its own: the window answers an
// accessibility call only once the click's handler has returned, and
// say-goodbye's handler runs for as long as the post does.
class PressInBackground {
public:
    PressInBackground(HWND window, const wchar_t* idName)
        : m_thread([this, window, idName] { m_done = msaa::DoDefaultAction(window, idName, 60000); })
    {
    }
    ~PressInBackground() { m_thread.join(); }
    PressInBackground(const PressInBackground&) = delete;
    PressInBackground& operator=(const PressInBackground&) = delete;

private:
    bool m_done = false;
    std::thread m_thread;
};

// The uninstaller started in a product folder with the recording script,
// its window found.
class UninstallerWindow : public testing::Test {
protected:
    void SetUp() override { m_session.UseRecordingScript(); }

    void StartAndFindWindow()
    {
        ASSERT_TRUE(m_session.Start());
        m_window = m_session.WaitForWindow(kWindowTimeoutMs);
        ASSERT_NE(m_window, nullptr) << "the uninstaller's window did not appear";
        ASSERT_TRUE(IsVisible(m_window, L"ID_EleUninstallPage1"));
    }

    void GoToPage3()
    {
        ASSERT_TRUE(msaa::DoDefaultAction(m_window, L"ID_BtnGiveup"));
        ASSERT_TRUE(IsVisible(m_window, L"ID_EleUninstallPage3"));
    }

    bool WaitForExit() { return m_session.Process().WaitForExit(kWindowTimeoutMs); }

    // Room for a script or a post that should not happen to show up anyway.
    void GiveStraysTime() { Sleep(1500); }

    std::wstring QuotedScriptPath() const
    {
        return L"\"" + m_session.Product() + L"/Uninstall.bat\"";
    }

    UninstallerSession m_session;
    HttpTestServer m_server;
    HWND m_window = nullptr;
};

struct DaysCase {
    const char* name;
    bool record;
    int daysAgo;  // of the record, at noon UTC of that day
};

void PrintTo(const DaysCase& c, std::ostream* out)
{
    *out << c.name;
}

const DaysCase kDays[] = {
    {"NoRecordKeepsTheWord", false, 0},
    {"InstalledTodayShows0", true, 0},
    {"InstalledThreeDaysAgoShows3", true, 3},
    {"InstalledOneYearAgoShows365", true, 365},
    {"ClockSetBackShowsMinus1", true, -1},
};

class UninstallerDays : public UninstallerWindow, public testing::WithParamInterface<DaysCase> {};

TEST_P(UninstallerDays, ShowsTheUtcMidnightsSinceTheRecordedInstall)
{
    const DaysCase& c = GetParam();
    int32_t now = CurrentTime32();
    int32_t installTime = (now / 86400) * 86400 + 43200 - c.daysAgo * 86400;
    if (c.record)
        m_session.WriteInstallRecord(installTime);
    StartAndFindWindow();
    std::wstring expected = c.record ? FormatDayCount(installTime, CurrentTime32()) : L"很多";
    EXPECT_EQ(expected, c.record ? std::to_wstring(c.daysAgo) : L"很多");
    EXPECT_EQ(ElementValue(m_window, L"ID_TextShowDay", &msaa::Element::name), expected);
}

INSTANTIATE_TEST_SUITE_P(Records, UninstallerDays, testing::ValuesIn(kDays),
                         [](const testing::TestParamInfo<DaysCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(UninstallerWindow, ShowsItsTitleTheHintsAndTheBarAtItsStart)
{
    StartAndFindWindow();
    msaa::Tree tree;
    ASSERT_TRUE(msaa::Snapshot(m_window, tree));
    EXPECT_EQ(tree.windowName, kTitle);
    ASSERT_NE(tree.Find(L"ID_EditOtherReason"), nullptr);
    EXPECT_EQ(tree.Find(L"ID_EditOtherReason")->name, L"其他理由");
    ASSERT_NE(tree.Find(L"ID_EditConectedWay"), nullptr);
    EXPECT_EQ(tree.Find(L"ID_EditConectedWay")->name, L"QQ/手机/邮箱/我们会帮您解决问题");
    ASSERT_NE(tree.Find(L"ID_UninstallProgress"), nullptr);
    EXPECT_EQ(tree.Find(L"ID_UninstallProgress")->value, L"5");
    for (const wchar_t* hidden : {L"ID_EleUninstallPage2", L"ID_EleUninstallPage3"}) {
        ASSERT_NE(tree.Find(hidden), nullptr);
        EXPECT_FALSE(tree.Find(hidden)->Visible()) << ToUtf8(hidden);
    }
    EXPECT_TRUE(tree.Find(L"ID_BtnClose")->Visible());
}

TEST_F(UninstallerWindow, KeepClosesAtOnceAndRunsNothing)
{
    ASSERT_TRUE(m_server.Start(kFeedbackPort));
    StartAndFindWindow();
    ASSERT_TRUE(msaa::DoDefaultAction(m_window, L"ID_BtnGiveChance"));
    EXPECT_TRUE(WaitForExit());
    GiveStraysTime();
    EXPECT_TRUE(m_session.ScriptRuns().empty());
    EXPECT_EQ(m_server.ConnectionCount(), 0u);
}

TEST_F(UninstallerWindow, GoOnAnimatesTheBarFrom5To100ThenShowsTheForm)
{
    StartAndFindWindow();
    {
        msaa::Tree before;
        ASSERT_TRUE(msaa::Snapshot(m_window, before));
        const msaa::Element* bar = before.Find(L"ID_UninstallProgress");
        ASSERT_TRUE(bar != nullptr);
        EXPECT_EQ(bar->value, L"5");  // set up before the first tick
    }
    ASSERT_TRUE(msaa::DoDefaultAction(m_window, L"ID_BtnGiveup"));
    ASSERT_TRUE(IsVisible(m_window, L"ID_EleUninstallPage2"));

    // Sampled from another process: how many of the 20 positions are seen
    // depends on the machine's load, their order and step do not.
    std::vector<int> positions;
    bool formShown = false;
    DWORD start = GetTickCount();
    while (!formShown && GetTickCount() - start < 10000) {
        msaa::Tree tree;
        ASSERT_TRUE(msaa::Snapshot(m_window, tree));
        const msaa::Element* bar = tree.Find(L"ID_UninstallProgress");
        const msaa::Element* page3 = tree.Find(L"ID_EleUninstallPage3");
        ASSERT_TRUE(bar != nullptr && page3 != nullptr);
        formShown = page3->Visible();
        int position = std::stoi(bar->value);
        if (positions.empty() || positions.back() != position)
            positions.push_back(position);
    }
    ASSERT_TRUE(formShown) << "page 3 did not appear";
    ASSERT_GE(positions.size(), 5u) << "too few positions seen to call it an animation";
    EXPECT_EQ(positions.back(), 100);
    for (size_t i = 0; i < positions.size(); ++i) {
        EXPECT_EQ(positions[i] % 5, 0) << positions[i];
        if (i > 0) {
            EXPECT_GT(positions[i], positions[i - 1]);
        }
    }

    msaa::Tree tree;
    ASSERT_TRUE(msaa::Snapshot(m_window, tree));
    EXPECT_FALSE(tree.Find(L"ID_EleUninstallPage1")->Visible());
    EXPECT_FALSE(tree.Find(L"ID_EleUninstallPage2")->Visible());
    for (const wchar_t* id : {L"ID_CekChangeError", L"ID_CekRepeatMore", L"ID_CekUnchangedIP",
                              L"ID_EditOtherReason", L"ID_EditConectedWay", L"ID_BtnSayGoodbye",
                              L"ID_BtnClose"}) {
        EXPECT_TRUE(tree.Find(id) != nullptr && tree.Find(id)->Visible()) << ToUtf8(id);
    }
}

TEST_F(UninstallerWindow, CloseOnPage1RunsNothing)
{
    ASSERT_TRUE(m_server.Start(kFeedbackPort));
    StartAndFindWindow();
    ASSERT_TRUE(msaa::DoDefaultAction(m_window, L"ID_BtnClose"));
    EXPECT_TRUE(WaitForExit());
    GiveStraysTime();
    EXPECT_TRUE(m_session.ScriptRuns().empty());
    EXPECT_EQ(m_server.ConnectionCount(), 0u);
}

TEST_F(UninstallerWindow, CloseOnPage2RunsNothing)
{
    ASSERT_TRUE(m_server.Start(kFeedbackPort));
    StartAndFindWindow();
    ASSERT_TRUE(msaa::DoDefaultAction(m_window, L"ID_BtnGiveup"));
    ASSERT_TRUE(IsVisible(m_window, L"ID_EleUninstallPage2"));
    ASSERT_TRUE(msaa::DoDefaultAction(m_window, L"ID_BtnClose"));
    EXPECT_TRUE(WaitForExit());
    GiveStraysTime();
    EXPECT_TRUE(m_session.ScriptRuns().empty());
    EXPECT_EQ(m_server.ConnectionCount(), 0u);
}

TEST_F(UninstallerWindow, CloseOnPage3StartsTheQuotedScriptAndPostsNothing)
{
    ASSERT_TRUE(m_server.Start(kFeedbackPort));
    StartAndFindWindow();
    GoToPage3();
    ASSERT_TRUE(msaa::DoDefaultAction(m_window, L"ID_BtnClose"));
    EXPECT_TRUE(WaitForExit());
    ASSERT_TRUE(WaitUntil([&] { return !m_session.ScriptRuns().empty(); }, 10000));
    GiveStraysTime();
    EXPECT_EQ(m_session.ScriptRuns(), std::vector<std::wstring>{QuotedScriptPath()});
    EXPECT_EQ(m_server.ConnectionCount(), 0u);
}

// Ticks the first and third reasons, types a Chinese other reason and a
// contact.
void FillInTheForm(HWND window, const std::wstring& other, const std::wstring& contact)
{
    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_CekChangeError"));
    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_CekUnchangedIP"));
    ASSERT_TRUE(msaa::WaitForElement(window, L"ID_CekUnchangedIP",
                                     [](const msaa::Element& e) { return e.Checked(); }, 5000));
    ASSERT_TRUE(msaa::TypeText(window, L"ID_EditOtherReason", other));
    ASSERT_TRUE(msaa::TypeText(window, L"ID_EditConectedWay", contact));
    ASSERT_TRUE(msaa::WaitForElement(window, L"ID_EditConectedWay",
                                     [&](const msaa::Element& e) { return e.value == contact; },
                                     5000));
    msaa::Tree tree;
    ASSERT_TRUE(msaa::Snapshot(window, tree));
    ASSERT_TRUE(tree.Find(L"ID_CekChangeError")->Checked());
    ASSERT_FALSE(tree.Find(L"ID_CekRepeatMore")->Checked());
    ASSERT_EQ(tree.Find(L"ID_EditOtherReason")->value, other);
}

TEST_F(UninstallerWindow, SayGoodbyeStartsTheScriptThenPostsTheFormOnceThenCloses)
{
    // The answer trickles out over about three seconds, so the post is seen
    // to be under way while the script already runs and the window is open.
    HttpAnswer slow;
    slow.body = "ok";
    slow.fault = HttpFault::Drip;
    slow.intervalMs = 40;
    ASSERT_TRUE(m_server.Start(kFeedbackPort));
    m_server.SetAnswer(kFeedbackPath, slow);
    StartAndFindWindow();
    GoToPage3();
    const std::wstring other = L"速度太慢, 经常掉线";
    const std::wstring contact = L"QQ 12345 / a.b@example.com";
    FillInTheForm(m_window, other, contact);
    PressInBackground sayGoodbye(m_window, L"ID_BtnSayGoodbye");

    ASSERT_TRUE(m_server.WaitForRequests(1, 15000));
    LARGE_INTEGER arrived;
    QueryPerformanceCounter(&arrived);
    // The script has started before the post: it shows up while the answer
    // is still on its way and the window still open.
    ASSERT_TRUE(WaitUntil([&] { return !m_session.ScriptRuns().empty(); }, 1500));
    EXPECT_TRUE(m_session.HasWindow());
    EXPECT_LT(MillisecondsSince(arrived), 2000.0);
    EXPECT_EQ(m_session.ScriptRuns(), std::vector<std::wstring>{QuotedScriptPath()});

    // The window closes only once the post has returned: it stays on screen
    // while the answer trickles in.
    ASSERT_TRUE(WaitUntil([&] { return !m_session.HasWindow(); }, 15000));
    EXPECT_GE(MillisecondsSince(arrived), 2000.0);
    ASSERT_TRUE(WaitForExit());

    GiveStraysTime();
    std::vector<HttpRequest> requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const HttpRequest& post = requests[0];
    EXPECT_EQ(post.method, "POST");
    EXPECT_EQ(post.target, kFeedbackPath);
    EXPECT_EQ(post.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_TRUE(post.complete);
    const std::wstring reason = L"切换IP失败,不能自动换IP," + other;
    EXPECT_EQ(post.body, "contact=" + FormEncode(contact) + "&reason=" + FormEncode(reason) +
                             "&sys_info=" + FormEncode(ExpectedSystemDescription()));
}

TEST_F(UninstallerWindow, SayGoodbyeWithTheServerDownStillCloses)
{
    StartAndFindWindow();
    GoToPage3();
    FillInTheForm(m_window, L"没有服务器", L"x");
    ASSERT_TRUE(msaa::DoDefaultAction(m_window, L"ID_BtnSayGoodbye", 30000));
    EXPECT_TRUE(WaitForExit());
    ASSERT_TRUE(WaitUntil([&] { return !m_session.ScriptRuns().empty(); }, 10000));
    EXPECT_EQ(m_session.ScriptRuns(), std::vector<std::wstring>{QuotedScriptPath()});
}

TEST_F(UninstallerWindow, SayGoodbyePressedTwiceStartsAndPostsOnce)
{
    HttpAnswer slow;
    slow.fault = HttpFault::Drip;
    slow.intervalMs = 20;
    ASSERT_TRUE(m_server.Start(kFeedbackPort));
    m_server.SetAnswer(kFeedbackPath, slow);
    StartAndFindWindow();
    GoToPage3();
    ASSERT_TRUE(msaa::Focus(m_window, L"ID_BtnSayGoodbye"));
    ASSERT_TRUE(msaa::WaitForElement(m_window, L"ID_BtnSayGoodbye",
                                     [](const msaa::Element& e) { return e.Focused(); }, 5000));
    // The second press waits in the queue while the first one's post runs.
    PostKeyPress(m_window, VK_SPACE);
    PostKeyPress(m_window, VK_SPACE);
    EXPECT_TRUE(WaitForExit());
    GiveStraysTime();
    EXPECT_EQ(m_server.RequestCount(), 1u);
    EXPECT_EQ(m_session.ScriptRuns().size(), 1u);
}

// Not a check of speed: the figures are printed for the record. The button
// is pressed with the keyboard, so the time starts at the key press; "hidden"
// is when the window leaves the screen, "destroyed" when its native window is
// gone.
TEST_F(UninstallerWindow, TimeFromSayGoodbyeToTheWindowClosing)
{
    struct Measure {
        const char* against;
        bool serverUp;
    };
    for (Measure measure : {Measure{"local server", true}, Measure{"refused port", false}}) {
        UninstallerSession session;
        session.UseRecordingScript();
        HttpTestServer server;
        if (measure.serverUp) {
            ASSERT_TRUE(server.Start(kFeedbackPort));
        }
        ASSERT_TRUE(session.Start());
        HWND window = session.WaitForWindow(kWindowTimeoutMs);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_BtnGiveup"));
        ASSERT_TRUE(IsVisible(window, L"ID_EleUninstallPage3"));
        ASSERT_TRUE(msaa::Focus(window, L"ID_BtnSayGoodbye"));
        ASSERT_TRUE(msaa::WaitForElement(window, L"ID_BtnSayGoodbye",
                                         [](const msaa::Element& e) { return e.Focused(); }, 5000));
        LARGE_INTEGER pressed;
        QueryPerformanceCounter(&pressed);
        PostKeyPress(window, VK_SPACE);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, kWindowTimeoutMs, 1));
        double hiddenMs = MillisecondsSince(pressed);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, kWindowTimeoutMs, 1));
        double goneMs = MillisecondsSince(pressed);
        std::printf("say-goodbye key to window hidden / destroyed, %s: %.0f ms / %.0f ms\n",
                    measure.against, hiddenMs, goneMs);
        RecordProperty(measure.serverUp ? "hidden_ms_local_server" : "hidden_ms_refused_port",
                       static_cast<int>(hiddenMs));
        EXPECT_TRUE(session.Process().WaitForExit(kWindowTimeoutMs));
        EXPECT_EQ(server.RequestCount(), measure.serverUp ? 1u : 0u);
    }
}

}  // namespace
