// The demo window program driven from this process through its
// accessibility tree, as the end-to-end tests drive the kit's programs, and
// through ui_driver as the scripts do.
#include "child_process.h"
#include "msaa_client.h"
#include "test_files.h"

#include <oleacc.h>

#include <gtest/gtest.h>

namespace {

constexpr DWORD kWaitMs = 10000;
const wchar_t kTitle[] = L"工具包演示";

bool NameIs(HWND window, const wchar_t* id, const std::wstring& name)
{
    return msaa::WaitForElement(window, id, [&name](const msaa::Element& e) { return e.name == name; },
                                kWaitMs);
}

class DemoProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(nullptr, msaa::FindWindowByTitle(kTitle, 0)) << "a demo window is left over";
        ASSERT_TRUE(m_demo.Start(BinFile(L"toolkit_demo.exe"), L""));
        m_window = msaa::FindWindowByTitle(kTitle, kWaitMs);
        ASSERT_NE(nullptr, m_window);
    }
    void TearDown() override
    {
        if (m_window != nullptr)
            PostMessageW(m_window, WM_CLOSE, 0, 0);
        m_demo.WaitForExit(5000);
    }

    int Driver(const std::wstring& arguments)
    {
        ChildProcess driver;
        if (!driver.Start(BinFile(L"ui_driver.exe"), arguments) || !driver.WaitForExit(kWaitMs * 2))
            return -1;
        return static_cast<int>(driver.ExitCode());
    }

    ChildProcess m_demo;
    HWND m_window = nullptr;
};

}  // namespace

TEST_F(DemoProcess, TreeOfAnotherProcessListsTheElements)
{
    msaa::Tree tree;
    ASSERT_TRUE(msaa::Snapshot(m_window, tree));
    EXPECT_EQ(kTitle, tree.windowName);
    const msaa::Element* quick = tree.Find(L"ID_BtnQuickInstall");
    ASSERT_NE(nullptr, quick);
    EXPECT_EQ(L"快速安装", quick->name);
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, quick->role);
    EXPECT_TRUE(tree.Find(L"ID_BtnCekAccept")->Checked());
    EXPECT_FALSE(tree.Find(L"ID_BtnDisabled")->Enabled());
    EXPECT_FALSE(tree.Find(L"ID_ElePage2")->Visible());
    EXPECT_EQ(L"40", tree.Find(L"ID_ProgressBar")->value);
    RECT window{};
    GetWindowRect(m_window, &window);
    EXPECT_GE(quick->location.left, window.left);
    EXPECT_LE(quick->location.bottom, window.bottom);
}

TEST_F(DemoProcess, DefaultActionsClickAndTheProgramReacts)
{
    ASSERT_TRUE(msaa::DoDefaultAction(m_window, L"ID_BtnCustom"));
    EXPECT_TRUE(NameIs(m_window, L"ID_TextStatus", L"点击：自定义安装"));

    ASSERT_TRUE(msaa::DoDefaultAction(m_window, L"ID_BtnCekAccept"));
    EXPECT_TRUE(NameIs(m_window, L"ID_TextStatus", L"勾选：0"));
    EXPECT_TRUE(msaa::WaitForElement(m_window, L"ID_BtnQuickInstall",
                                     [](const msaa::Element& e) { return !e.Enabled(); }, kWaitMs));
    EXPECT_FALSE(msaa::DoDefaultAction(m_window, L"ID_BtnQuickInstall")) << "disabled now";
}

TEST_F(DemoProcess, TypingReachesTheEditAndItsChangeHandler)
{
    ASSERT_TRUE(msaa::TypeText(m_window, L"ID_EditRoute", L"D:\\应用"));
    EXPECT_TRUE(NameIs(m_window, L"ID_TextStatus", L"输入：D:\\应用"));
    EXPECT_TRUE(msaa::WaitForElement(m_window, L"ID_EditRoute",
                                     [](const msaa::Element& e) { return e.value == L"D:\\应用"; }, kWaitMs));
}

TEST_F(DemoProcess, QuickInstallRunsTheTimerToTheSecondPage)
{
    ASSERT_TRUE(msaa::DoDefaultAction(m_window, L"ID_BtnQuickInstall"));
    EXPECT_TRUE(msaa::WaitForElement(m_window, L"ID_BtnTryRightnow",
                                     [](const msaa::Element& e) { return e.Visible(); }, kWaitMs));
    msaa::Tree tree;
    ASSERT_TRUE(msaa::Snapshot(m_window, tree));
    EXPECT_EQ(L"100", tree.Find(L"ID_ProgressBar")->value);
    EXPECT_EQ(L"100%", tree.Find(L"ID_TextProgress")->name) << "64 reached the program each step";
    ASSERT_TRUE(msaa::DoDefaultAction(m_window, L"ID_BtnTryRightnow"));
    EXPECT_TRUE(m_demo.WaitForExit(kWaitMs)) << "its handler closed the window, the loop ended";
    m_window = nullptr;
}

TEST_F(DemoProcess, KeyboardFromAnotherProcess)
{
    ASSERT_TRUE(msaa::PressKey(m_window, VK_TAB));
    EXPECT_TRUE(msaa::WaitForElement(m_window, L"ID_BtnMin",
                                     [](const msaa::Element& e) { return e.Focused(); }, kWaitMs));
}

TEST_F(DemoProcess, UiDriverExitCodes)
{
    const std::wstring title = QuoteArgument(kTitle);
    EXPECT_EQ(0, Driver(L"wait " + title + L" 3000"));
    EXPECT_EQ(0, Driver(L"click " + title + L" ID_BtnChangeRoute"));
    EXPECT_EQ(0, Driver(L"waitfor " + title + L" ID_TextStatus " +
                        QuoteArgument(L"name=点击：更改目录") + L" 5000"));
    EXPECT_EQ(0, Driver(L"type " + title + L" ID_EditNote " + QuoteArgument(L"你好")));
    EXPECT_EQ(0, Driver(L"waitfor " + title + L" ID_EditNote value=你好 5000"));
    EXPECT_EQ(1, Driver(L"waitfor " + title + L" ID_ElePage2 visible 300"));
    EXPECT_EQ(1, Driver(L"click " + title + L" ID_NoSuchElement"));
    EXPECT_EQ(1, Driver(L"wait " + QuoteArgument(L"没有这个窗口") + L" 200"));
    EXPECT_EQ(2, Driver(L"frobnicate " + title));
    EXPECT_EQ(0, Driver(L"close " + title));
    EXPECT_TRUE(m_demo.WaitForExit(kWaitMs));
    m_window = nullptr;
}
