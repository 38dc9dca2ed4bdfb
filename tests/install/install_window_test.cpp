// The installer's window class on the recording toolkit: set-up and bindings,
// the accept box, the pages, the percentage ticks and the route box. The
// commands it starts are real (the test prefix's spy tools record them).
#include "install_location.h"
#include "install_window.h"
#include "recording_toolkit.h"

#include "child_process.h"
#include "kit_fixture.h"
#include "test_files.h"

#include "common/window_frame.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace rt = recording_toolkit;

namespace {

const std::vector<std::wstring> kInstallerIds = {
    L"ID_EleFirstPage", L"ID_ElePage2",       L"ID_ElePage3",      L"ID_BtnCekAccept",
    L"ID_BtnQuickInstall", L"ID_UserInstall", L"ID_BtnQuickStat",  L"ID_EditRoute",
    L"ID_BtnChangeRoute",  L"ID_TextLeave",   L"ID_TextLocation",  L"ID_BtnQuick2",
    L"ID_EleTextPercentContent", L"ID_TextPercent", L"ID_BtnTryRightnow"};

std::vector<std::wstring> CallsStartingWith(const std::wstring& prefix)
{
    std::vector<std::wstring> found;
    for (const auto& call : rt::Calls()) {
        if (call.compare(0, prefix.size(), prefix) == 0)
            found.push_back(call);
    }
    return found;
}

size_t IndexOf(const std::wstring& call)
{
    const auto& calls = rt::Calls();
    return static_cast<size_t>(std::find(calls.begin(), calls.end(), call) - calls.begin());
}

std::wstring NativeTitle()
{
    wchar_t title[256] = {};
    GetWindowTextW(rt::NativeWindow(), title, 256);
    return title;
}

// One timer tick, the way the system timer delivers it.
void Tick()
{
    ForwardTimerTick(nullptr, WM_TIMER, 10, 0);
}

class InstallWindow : public testing::Test {
protected:
    void SetUp() override
    {
        rt::Reset(kInstallerIds);
        rt::SetText(L"ID_TextLocation", L"C盘可用空间：");
        m_installer.InitWindow();
    }
    void TearDown() override
    {
        KillTimer(rt::NativeWindow(), 10);
        rt::Reset({});
    }

    CInstall m_installer;
};

}  // namespace

TEST_F(InstallWindow, LoadsTheSkinBesideTheProgramAndShowsTheTitledWindow)
{
    std::wstring skin = BinFolder() + L"//InstallSkin";
    EXPECT_EQ(rt::Calls().front(), L"XC_LoadResource " + skin + L"\\resource.xml " + skin);
    EXPECT_EQ(rt::Calls()[1], L"XC_LoadLayout " + skin + L"\\ClickInstall.xml");
    EXPECT_EQ(NativeTitle(), L"安装程序");
    // Bound first, then laid out and shown.
    size_t timerBinding = IndexOf(L"XWnd_RegEventEx 2124 &CInstall::OnTimeBegin");
    size_t layout = IndexOf(L"XWnd_AdjustLayout window");
    ASSERT_LT(timerBinding, rt::Calls().size());
    EXPECT_LT(timerBinding, layout);
    EXPECT_EQ(IndexOf(L"XWnd_AdjustLayoutObject window"), layout + 1);
    EXPECT_EQ(rt::Calls().back(), L"XWnd_ShowWindow window 5");
}

TEST_F(InstallWindow, BindsEveryEventToItsNamedHandler)
{
    std::vector<std::wstring> expected = {
        L"XEle_RegEventEx ID_BtnQuickInstall 34 &CInstall::OnBtnClick",
        L"XEle_RegEventEx ID_BtnCekAccept 35 &CInstall::OnBtnCekClick",
        L"XEle_RegEventEx ID_UserInstall 34 &CInstall::OnBtnClick",
        L"XEle_RegEventEx ID_BtnChangeRoute 34 &CInstall::OnBtnClick",
        L"XEle_RegEventEx ID_BtnQuickStat 35 &CInstall::OnBtnCekClick",
        L"XEle_RegEventEx ID_BtnQuick2 34 &CInstall::OnBtnClick",
        L"XEle_RegEventEx ID_BtnTryRightnow 34 &CInstall::OnBtnClick",
        L"XEle_RegEventEx ID_EditRoute 161 &CInstall::OnRichEditChange",
        L"XWnd_RegEventEx 2124 &CInstall::OnTimeBegin"};
    std::vector<std::wstring> bindings = CallsStartingWith(L"XEle_RegEventEx ");
    for (const auto& call : CallsStartingWith(L"XWnd_RegEventEx "))
        bindings.push_back(call);
    EXPECT_EQ(bindings, expected);
}

TEST_F(InstallWindow, FillsTheRouteBoxAndShowsDriveCsSpace)
{
    EXPECT_EQ(rt::TextOf(L"ID_EditRoute"), L"C:\\Program Files (x86)");
    EXPECT_LT(IndexOf(L"XRichEdit_SetText ID_EditRoute C:\\Program Files (x86)"),
              IndexOf(L"XRichEdit_EnableEvent_XE_RICHEDIT_CHANGE ID_EditRoute 1"));
    EXPECT_EQ(rt::TextOf(L"ID_TextLeave"), FormatFreeSpace(L"C:"));
    // The drive label keeps the layout's text until the route changes.
    EXPECT_EQ(rt::TextOf(L"ID_TextLocation"), L"C盘可用空间：");
    EXPECT_TRUE(CallsStartingWith(L"XShapeText_SetText ID_TextLocation").empty());
    // The layout decides what is shown and enabled at start.
    EXPECT_TRUE(CallsStartingWith(L"XEle_ShowEle").empty());
    EXPECT_TRUE(CallsStartingWith(L"XEle_Enable").empty());
}

TEST_F(InstallWindow, AcceptBoxEnablesTheFirstPageButtonsFromItsOwnState)
{
    rt::ClearCalls();
    rt::SetChecked(L"ID_BtnCekAccept", true);
    // The state argument is not what counts: the box is asked.
    EXPECT_TRUE(rt::Raise(L"ID_BtnCekAccept", XE_BUTTON_CHECK, FALSE));
    EXPECT_EQ(rt::Calls(), (std::vector<std::wstring>{L"XEle_Enable ID_BtnQuickInstall 1",
                                                      L"XEle_Enable ID_UserInstall 1",
                                                      L"XWnd_RedrawWnd window 0"}));
    rt::ClearCalls();
    rt::SetChecked(L"ID_BtnCekAccept", false);
    EXPECT_TRUE(rt::Raise(L"ID_BtnCekAccept", XE_BUTTON_CHECK, TRUE));
    EXPECT_EQ(rt::Calls(), (std::vector<std::wstring>{L"XEle_Enable ID_BtnQuickInstall 0",
                                                      L"XEle_Enable ID_UserInstall 0",
                                                      L"XWnd_RedrawWnd window 0"}));
    EXPECT_TRUE(rt::IsEnabled(L"ID_BtnQuick2"));
}

TEST_F(InstallWindow, QuickStartBoxOnlyRedraws)
{
    rt::ClearCalls();
    rt::SetChecked(L"ID_BtnQuickStat", true);
    EXPECT_TRUE(rt::Raise(L"ID_BtnQuickStat", XE_BUTTON_CHECK, TRUE));
    EXPECT_EQ(rt::Calls(), std::vector<std::wstring>{L"XWnd_RedrawWnd window 0"});
}

TEST_F(InstallWindow, CustomInstallShowsTheSecondPageOnly)
{
    rt::ClearCalls();
    EXPECT_TRUE(rt::Raise(L"ID_UserInstall", XE_BNCLICK));
    EXPECT_EQ(rt::Calls(), (std::vector<std::wstring>{L"XEle_ShowEle ID_EleFirstPage 0",
                                                      L"XEle_ShowEle ID_ElePage2 1",
                                                      L"XEle_ShowEle ID_ElePage3 0",
                                                      L"XWnd_RedrawWnd window 0"}));
}

TEST_F(InstallWindow, TypedRouteChangesTheLabelsOnly)
{
    rt::ClearCalls();
    rt::SetText(L"ID_EditRoute", L"E:");
    EXPECT_TRUE(rt::Raise(L"ID_EditRoute", XE_RICHEDIT_CHANGE));
    EXPECT_EQ(rt::TextOf(L"ID_TextLocation"), L"E盘可用空间：");
    EXPECT_EQ(rt::TextOf(L"ID_TextLeave"), FormatFreeSpace(L"E:"));
    EXPECT_EQ(rt::Calls().back(), L"XEle_RedrawEle ID_ElePage2 1");

    rt::SetText(L"ID_EditRoute", L"");
    rt::Raise(L"ID_EditRoute", XE_RICHEDIT_CHANGE);
    EXPECT_EQ(rt::TextOf(L"ID_TextLocation"), L"盘可用空间：");
    EXPECT_EQ(rt::TextOf(L"ID_TextLeave"), L"0G");
}

TEST_F(InstallWindow, PercentageCountsToOneHundredThenOffersTheStartButton)
{
    rt::Raise(L"ID_BtnQuickInstall", XE_BNCLICK);
    EXPECT_TRUE(rt::IsShown(L"ID_ElePage3"));
    EXPECT_FALSE(rt::IsShown(L"ID_EleFirstPage"));
    EXPECT_FALSE(rt::IsShown(L"ID_ElePage2"));
    // Timer 10 runs on the native window (KillTimer tells whether it did).
    EXPECT_TRUE(KillTimer(rt::NativeWindow(), 10));
    rt::SetText(L"ID_TextPercent", L"");

    Tick();
    EXPECT_EQ(rt::TextOf(L"ID_TextPercent"), L"1%");
    Tick();
    EXPECT_EQ(rt::TextOf(L"ID_TextPercent"), L"2%");
    for (int k = 3; k <= 100; ++k)
        Tick();
    EXPECT_EQ(rt::TextOf(L"ID_TextPercent"), L"100%");
    EXPECT_TRUE(rt::IsShown(L"ID_EleTextPercentContent"));

    rt::ClearCalls();
    SetTimer(rt::NativeWindow(), 10, USER_TIMER_MAXIMUM, nullptr);
    Tick();  // tick 101 ends the counting
    EXPECT_EQ(rt::TextOf(L"ID_TextPercent"), L"100%");
    EXPECT_FALSE(rt::IsShown(L"ID_EleTextPercentContent"));
    EXPECT_TRUE(rt::IsShown(L"ID_BtnTryRightnow"));
    EXPECT_FALSE(KillTimer(rt::NativeWindow(), 10)) << "timer 10 still runs";
    EXPECT_EQ(rt::Calls().back(), L"XWnd_RedrawWnd window 0");
    Tick();  // counting starts over from 1
    EXPECT_EQ(rt::TextOf(L"ID_TextPercent"), L"1%");
}

TEST_F(InstallWindow, SecondInstallClickGoesOnCountingFromWhereItWas)
{
    rt::Raise(L"ID_BtnQuickInstall", XE_BNCLICK);
    for (int k = 1; k <= 3; ++k)
        Tick();
    rt::Raise(L"ID_BtnQuick2", XE_BNCLICK);
    EXPECT_TRUE(KillTimer(rt::NativeWindow(), 10));
    Tick();
    EXPECT_EQ(rt::TextOf(L"ID_TextPercent"), L"4%");
}

TEST(InstallWindowJob, CopiesTheWholeRouteFromTheBox)
{
    ScopedTempFolder spy(L"install-spy");
    SetEnvironmentVariableW(L"KIT_SPY_LOG", (spy / L"spy.log").c_str());
    // Longer than 31 characters, with blanks.
    ScopedTempFolder target(L"install route with blanks and more than 31 characters");
    rt::Reset(kInstallerIds);
    {
        CInstall installer;
        installer.InitWindow();
        rt::SetText(L"ID_EditRoute", target.Path());
        rt::Raise(L"ID_BtnQuickInstall", XE_BNCLICK);
        KillTimer(rt::NativeWindow(), 10);
    }
    std::wstring expected = L"xcopy|Xcopy \"" + BinFolder() + L"\\Vemora\"  \"" + target.Path() +
                            L"\\Vemora\"  /e /i /h /y";
    EXPECT_TRUE(WaitUntil([&] {
        auto lines = LogLines(spy / L"spy.log");
        return std::find(lines.begin(), lines.end(), expected) != lines.end();
    }, 15000)) << testing::PrintToString(ToUtf8(expected));
    SetEnvironmentVariableW(L"KIT_SPY_LOG", nullptr);
    rt::Reset({});
    WaitUntil([] { return ProcessIdsNamed(L"xcopy.exe").empty(); }, 15000);
}

namespace {

struct DialogSearch {
    HWND found = nullptr;
};

BOOL CALLBACK HasBrowseTitle(HWND child, LPARAM context)
{
    wchar_t text[128] = {};
    GetWindowTextW(child, text, 128);
    if (std::wstring(text) == L"从下面选择文件或文件夹:") {
        reinterpret_cast<DialogSearch*>(context)->found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindBrowseDialog(HWND window, LPARAM context)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != GetCurrentProcessId() || !IsWindowVisible(window))
        return TRUE;
    DialogSearch inner;
    EnumChildWindows(window, HasBrowseTitle, reinterpret_cast<LPARAM>(&inner));
    if (inner.found == nullptr)
        return TRUE;
    reinterpret_cast<DialogSearch*>(context)->found = window;
    return FALSE;
}

BOOL CALLBACK FindTree(HWND child, LPARAM context)
{
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (lstrcmpiW(className, WC_TREEVIEWW) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(context) = child;
    return FALSE;
}

// Selects the item below the dialog's root (the desktop) whose text is given.
bool SelectTopItem(HWND dialog, const std::wstring& text)
{
    HWND tree = nullptr;
    EnumChildWindows(dialog, FindTree, reinterpret_cast<LPARAM>(&tree));
    if (tree == nullptr)
        return false;
    auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
    for (; item != nullptr;
         item = reinterpret_cast<HTREEITEM>(
             SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        wchar_t buffer[260] = {};
        TVITEMW query = {};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = buffer;
        query.cchTextMax = 260;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
        if (text == buffer)
            return SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
    }
    return false;
}

// Answers the folder dialog from another thread, as the user would, after
// selecting an item below the desktop when one is named.
class DialogAnswer {
public:
    explicit DialogAnswer(WORD command, const std::wstring& select = std::wstring())
        : m_thread([this, command, select] {
              DialogSearch search;
              m_seen = WaitUntil([&] {
                  EnumWindows(FindBrowseDialog, reinterpret_cast<LPARAM>(&search));
                  return search.found != nullptr;
              }, 15000);
              if (m_seen && !select.empty())
                  m_selected = SelectTopItem(search.found, select);
              if (m_seen)
                  PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
          })
    {
    }
    ~DialogAnswer() { m_thread.join(); }
    bool Seen() const { return m_seen; }
    bool Selected() const { return m_selected; }

private:
    std::atomic<bool> m_seen{false};
    std::atomic<bool> m_selected{false};
    std::thread m_thread;
};

}  // namespace

TEST_F(InstallWindow, CancelledFolderDialogChangesNothing)
{
    rt::ClearCalls();
    BOOL handled = TRUE;
    {
        DialogAnswer cancel(IDCANCEL);
        handled = rt::Raise(L"ID_BtnChangeRoute", XE_BNCLICK);
        EXPECT_TRUE(cancel.Seen()) << "no folder dialog with the title text";
    }
    EXPECT_FALSE(handled);
    EXPECT_TRUE(rt::Calls().empty()) << testing::PrintToString(rt::Calls().size());
    EXPECT_EQ(rt::TextOf(L"ID_EditRoute"), L"C:\\Program Files (x86)");
}

TEST_F(InstallWindow, PickedFolderBecomesTheRouteAndItsDriveIsShown)
{
    rt::SetText(L"ID_TextLeave", L"");
    rt::SetText(L"ID_TextLocation", L"");
    rt::ClearCalls();
    BOOL handled = FALSE;
    {
        DialogAnswer ok(IDOK);  // the dialog starts on the desktop
        handled = rt::Raise(L"ID_BtnChangeRoute", XE_BNCLICK);
        EXPECT_TRUE(ok.Seen()) << "no folder dialog with the title text";
    }
    EXPECT_TRUE(handled);
    EXPECT_EQ(rt::TextOf(L"ID_EditRoute"), DesktopFolder());
    EXPECT_EQ(rt::TextOf(L"ID_TextLocation"), L"C盘可用空间：");
    EXPECT_EQ(rt::TextOf(L"ID_TextLeave"), FormatFreeSpace(L"C:"));
    EXPECT_LT(IndexOf(L"XEle_RedrawEle ID_ElePage2 1"),
              IndexOf(L"XRichEdit_SetText ID_EditRoute " + DesktopFolder()));
    EXPECT_EQ(rt::Calls().back(), L"XWnd_RedrawWnd window 0");
}

TEST_F(InstallWindow, PickedItemWithoutAFolderFallsBackToTheDefaultRoute)
{
    rt::ClearCalls();
    {
        DialogAnswer ok(IDOK, L"My Computer");
        rt::Raise(L"ID_BtnChangeRoute", XE_BNCLICK);
        ASSERT_TRUE(ok.Selected()) << "no item \"My Computer\" below the desktop";
    }
    // The labels follow the empty path; the box gets the default route.
    EXPECT_EQ(rt::TextOf(L"ID_TextLocation"), L"盘可用空间：");
    EXPECT_EQ(rt::TextOf(L"ID_EditRoute"), L"C:\\Program Files (x86)");
}
