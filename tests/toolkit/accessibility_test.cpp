// The window's MSAA tree in the test program itself: every element with its
// ID name as help text, role, name, state, value and location; the default
// action clicks.
#include "common/window_frame.h"
#include "event_log.h"
#include "msaa_client.h"
#include "toolkit_test_window.h"

#include <oleacc.h>

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

namespace {

// The client's calls run on worker threads that wait for this thread, so it
// pumps while they run.
msaa::Tree TreeOf(const TestWindow& window)
{
    msaa::Tree tree;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        msaa::Snapshot(window.Hwnd(), tree, 5000);
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 6000);
    reader.join();
    return tree;
}

}  // namespace

struct AccCase {
    const wchar_t* id;
    long role;
    const wchar_t* name;
    const wchar_t* value;
    long stateBits;  // these are set
    long clearBits;  // these are not
};

TEST(Accessibility, TreeListsRoleNameStateAndValue)
{
    TestWindow window;
    XEle_ShowEle(window.Find(L"ID_EleFirstPage"), TRUE);
    const msaa::Tree tree = TreeOf(window);
    EXPECT_EQ(L"工具包演示", tree.windowName);
    const AccCase cases[] = {
        {L"ID_BtnQuickInstall", ROLE_SYSTEM_PUSHBUTTON, L"快速安装", L"", STATE_SYSTEM_FOCUSABLE,
         STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE},
        {L"ID_BtnDisabled", ROLE_SYSTEM_PUSHBUTTON, L"稍后提醒", L"", STATE_SYSTEM_UNAVAILABLE, 0},
        {L"ID_BtnHidden", ROLE_SYSTEM_PUSHBUTTON, L"隐藏的按钮", L"", STATE_SYSTEM_INVISIBLE, 0},
        {L"ID_BtnClose", ROLE_SYSTEM_PUSHBUTTON, L"关闭", L"", 0, 0},
        {L"ID_BtnCekAccept", ROLE_SYSTEM_CHECKBUTTON, L"我已阅读并同意《用户协议》", L"",
         STATE_SYSTEM_CHECKED, 0},
        {L"ID_CekDisabled", ROLE_SYSTEM_CHECKBUTTON, L"开机自动启动（暂不可用）", L"",
         STATE_SYSTEM_UNAVAILABLE, STATE_SYSTEM_CHECKED},
        {L"ID_TextHeading", ROLE_SYSTEM_STATICTEXT, L"欢迎安装 Morvane", L"", 0, 0},
        {L"ID_EditRoute", ROLE_SYSTEM_TEXT, L"", L"C:\\Program Files (x86)", 0, 0},
        {L"ID_EditNote", ROLE_SYSTEM_TEXT, L"给我们留言（可选）", L"", 0, 0},
        {L"ID_ProgressBar", ROLE_SYSTEM_PROGRESSBAR, L"", L"40", 0, 0},
        {L"ID_EleFirstPage", ROLE_SYSTEM_GROUPING, L"", L"", 0, STATE_SYSTEM_INVISIBLE},
        {L"ID_TextDone", ROLE_SYSTEM_STATICTEXT, L"安装完成", L"", STATE_SYSTEM_INVISIBLE, 0},
    };
    for (const AccCase& c : cases) {
        SCOPED_TRACE(c.id);
        const msaa::Element* e = tree.Find(c.id);
        ASSERT_NE(nullptr, e);
        EXPECT_EQ(c.role, e->role);
        EXPECT_EQ(c.name, e->name);
        EXPECT_EQ(c.value, e->value);
        EXPECT_EQ(c.stateBits, e->state & c.stateBits);
        EXPECT_EQ(0, e->state & c.clearBits);
    }
    const msaa::Element* quick = tree.Find(L"ID_BtnQuickInstall");
    RECT client = window.Rect(window.Find(L"ID_BtnQuickInstall"));
    MapWindowPoints(window.Hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(client.left, quick->location.left);
    EXPECT_EQ(client.top, quick->location.top);
    EXPECT_EQ(client.right, quick->location.right);
    EXPECT_EQ(client.bottom, quick->location.bottom);
    EXPECT_EQ(L"Press", quick->defaultAction);
}

TEST(Accessibility, StateFollowsTheProgram)
{
    TestWindow window;
    XEle_Enable(window.Find(L"ID_BtnQuickInstall"), FALSE);
    XProgBar_SetPos(window.Find(L"ID_ProgressBar"), 77);
    XShapeText_SetText(window.Find(L"ID_TextStatus"), L"正在安装");
    XRichEdit_SetText(window.Find(L"ID_EditRoute"), L"D:\\游戏");
    const msaa::Tree tree = TreeOf(window);
    EXPECT_FALSE(tree.Find(L"ID_BtnQuickInstall")->Enabled());
    EXPECT_EQ(L"77", tree.Find(L"ID_ProgressBar")->value);
    EXPECT_EQ(L"正在安装", tree.Find(L"ID_TextStatus")->name);
    EXPECT_EQ(L"D:\\游戏", tree.Find(L"ID_EditRoute")->value);
}

TEST(Accessibility, DefaultActionClicksAfterTheCallReturns)
{
    TestWindow window;
    EventLog log;
    HELE box = window.Find(L"ID_BtnCekAccept");
    BindElementEvent(box, XE_BUTTON_CHECK, &log, &EventLog::OnCheck, "&EventLog::OnCheck");
    std::atomic<bool> acted{false};
    std::thread tool([&] { acted = msaa::DoDefaultAction(window.Hwnd(), L"ID_BtnCekAccept", 5000); });
    PumpUntil([&] { return acted.load() && !log.records.empty(); }, 5000);
    tool.join();
    EXPECT_TRUE(acted);
    ASSERT_EQ(1u, log.records.size());
    EXPECT_EQ(FALSE, log.records[0].a);
    EXPECT_FALSE(XBtn_IsCheck(box));

    std::atomic<bool> finished{false}, refused{false};
    std::thread disabled([&] {
        refused = !msaa::DoDefaultAction(window.Hwnd(), L"ID_BtnDisabled", 5000);
        finished = true;
    });
    PumpUntil([&] { return finished.load(); }, 6000);
    PumpMessages();
    disabled.join();
    EXPECT_TRUE(refused) << "a disabled button has no action to do";
}
