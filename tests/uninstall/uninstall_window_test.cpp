// CMainDlg on a stand-in toolkit that writes down every call: the set-up of
// each element with its values, the bindings with their handler names, the
// page flow, the progress ticks and what say-goodbye hands to the feedback post.
#include "toolkit_recorder.h"

#include "uninstall_window.h"

#include "child_process.h"
#include "system_description.h"
#include "test_files.h"

#include "common/program_folder.h"
#include "common/text_conversion.h"
#include "common/window_frame.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

namespace recorder = toolkit_recorder;

const std::vector<std::wstring> kIdNames = {
    L"ID_BtnSayGoodbye",     L"ID_BtnGiveup",         L"ID_BtnGiveChance",
    L"ID_BtnClose",          L"ID_CekChangeError",    L"ID_CekRepeatMore",
    L"ID_CekUnchangedIP",    L"ID_EditOtherReason",   L"ID_EditConectedWay",
    L"ID_EleUninstallPage1", L"ID_EleUninstallPage2", L"ID_EleUninstallPage3",
    L"ID_UninstallProgress", L"ID_TextShowDay",
};

std::wstring ProgramFolderWide()
{
    std::wstring folder;
    AnsiToWide(GetProgramFolder(), folder);
    return folder;
}

std::wstring NativeTitle()
{
    wchar_t title[64] = {};
    GetWindowTextW(recorder::NativeWindow(), title, 64);
    return title;
}

class UninstallWindow : public testing::Test {
protected:
    void SetUp() override
    {
        // The day count of a record is the end-to-end tests' business: here
        // the program folder (build/bin) holds none.
        ASSERT_FALSE(FileExists(BinFile(L"InstallTime.txt")));
        recorder::Reset(kIdNames);
        m_dialog.InitWindow();
        recorder::ClearCalls();
    }

    BOOL Click(const wchar_t* idName) { return recorder::Raise(idName, XE_BNCLICK); }
    void Tick() { SendMessageW(recorder::NativeWindow(), kTimerTickMessage, 0, 0); }
    void ShowPage3()
    {
        Click(L"ID_BtnGiveup");
        KillTimer(recorder::NativeWindow(), 10);
        for (int tick = 1; tick <= 21; ++tick)
            Tick();
        ASSERT_TRUE(recorder::IsShown(L"ID_EleUninstallPage3"));
        recorder::ClearCalls();
    }

    CMainDlg m_dialog;
};

TEST(UninstallWindowStart, SetsUpEveryElementBindsEveryHandlerAndShowsTheWindow)
{
    ASSERT_FALSE(FileExists(BinFile(L"InstallTime.txt")));
    recorder::Reset(kIdNames);
    CMainDlg dialog;
    dialog.InitWindow();

    std::wstring skin = ProgramFolderWide() + L"//InstallSkin";
    std::vector<std::wstring> expected = {
        L"XC_LoadResource " + skin + L"\\resource.xml " + skin,
        L"XC_LoadLayout " + skin + L"\\ClickUninstall.xml",
        L"XEle_RegEventEx ID_BtnSayGoodbye 34 &CMainDlg::OnBtnClick",
        L"XEle_RegEventEx ID_BtnGiveup 34 &CMainDlg::OnBtnClick",
        L"XEle_RegEventEx ID_BtnGiveChance 34 &CMainDlg::OnBtnClick",
        L"XEle_RegEventEx ID_BtnClose 34 &CMainDlg::OnBtnClick",
        L"XEle_RegEventEx ID_CekChangeError 35 &CMainDlg::OnCekClick",
        L"XEle_RegEventEx ID_CekRepeatMore 35 &CMainDlg::OnCekClick",
        L"XEle_RegEventEx ID_CekUnchangedIP 35 &CMainDlg::OnCekClick",
        L"XRichEdit_SetDefaultText ID_EditOtherReason 其他理由",
        L"XRichEdit_SetDefaultTextColor ID_EditOtherReason 0xDB8A4A 255",
        L"XRichEdit_EnableMultiLine ID_EditOtherReason 1",
        L"XRichEdit_EnableAutoWrap ID_EditOtherReason 1",
        L"XSView_ShowSBarV ID_EditOtherReason 0",
        L"XRichEdit_SetDefaultText ID_EditConectedWay QQ/手机/邮箱/我们会帮您解决问题",
        L"XRichEdit_SetDefaultTextColor ID_EditConectedWay 0xFDD698 255",
        L"XProgBar_SetPos ID_UninstallProgress 5",
        L"XProgBar_SetSpaceTwo ID_UninstallProgress 19 19",
        L"XProgBar_SetRange ID_UninstallProgress 100",
        L"XShapeText_SetText ID_TextShowDay 很多",
        L"XWnd_RegEventEx 2124 &CMainDlg::OnTimeBegin",
        L"XWnd_AdjustLayout window",
        L"XWnd_AdjustLayoutObject window",
        L"XWnd_ShowWindow window 5",
    };
    EXPECT_EQ(recorder::Calls(), expected);
    EXPECT_EQ(NativeTitle(), L"卸载程序");
}

TEST(UninstallWindowStart, WithoutALayoutLooksUpNothingAndShowsNothing)
{
    recorder::Reset(kIdNames, false);
    CMainDlg dialog;
    dialog.InitWindow();
    ASSERT_EQ(recorder::Calls().size(), 2u);
    EXPECT_EQ(recorder::Calls()[1].rfind(L"XC_LoadLayout ", 0), 0u);
    EXPECT_EQ(NativeTitle(), L"");
}

TEST_F(UninstallWindow, KeepClosesAtOnceAndDoesNothingElse)
{
    EXPECT_TRUE(Click(L"ID_BtnGiveChance"));
    EXPECT_EQ(recorder::Calls(), std::vector<std::wstring>{L"XWnd_CloseWindow window"});
}

TEST_F(UninstallWindow, CheckBoxesOnlySetTheHandledFlag)
{
    for (const wchar_t* box : {L"ID_CekChangeError", L"ID_CekRepeatMore", L"ID_CekUnchangedIP"})
        EXPECT_TRUE(recorder::Raise(box, XE_BUTTON_CHECK, 1));
    EXPECT_TRUE(recorder::Calls().empty());
    EXPECT_FALSE(recorder::Closed());
}

TEST_F(UninstallWindow, GoOnShowsPage2AndStartsTimer10)
{
    EXPECT_TRUE(Click(L"ID_BtnGiveup"));
    std::vector<std::wstring> expected = {
        L"XEle_ShowEle ID_EleUninstallPage1 0",
        L"XEle_ShowEle ID_EleUninstallPage2 1",
        L"XWnd_RedrawWnd window 0",
    };
    EXPECT_EQ(recorder::Calls(), expected);
    // The system timer's ticks come back as message 2124 and move the bar.
    MSG message;
    ASSERT_TRUE(WaitUntil([&] {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        return recorder::Position(L"ID_UninstallProgress") >= 10;
    }, 5000));
    EXPECT_TRUE(KillTimer(recorder::NativeWindow(), 10));
}

TEST_F(UninstallWindow, TicksShow5To100ThenPage3AndStartOverAt5)
{
    Click(L"ID_BtnGiveup");
    KillTimer(recorder::NativeWindow(), 10);
    recorder::ClearCalls();
    std::vector<std::wstring> expected;
    for (int position = 5; position <= 100; position += 5) {
        expected.push_back(L"XProgBar_SetPos ID_UninstallProgress " + std::to_wstring(position));
        expected.push_back(L"XWnd_RedrawWnd window 0");
    }
    for (int tick = 1; tick <= 20; ++tick)
        Tick();
    EXPECT_EQ(recorder::Calls(), expected);
    EXPECT_TRUE(recorder::IsShown(L"ID_EleUninstallPage2"));

    recorder::ClearCalls();
    Tick();  // the 21st
    expected = {L"XEle_ShowEle ID_EleUninstallPage2 0", L"XEle_ShowEle ID_EleUninstallPage3 1",
                L"XWnd_RedrawWnd window 0"};
    EXPECT_EQ(recorder::Calls(), expected);

    recorder::ClearCalls();
    Tick();
    ASSERT_FALSE(recorder::Calls().empty());
    EXPECT_EQ(recorder::Calls()[0], L"XProgBar_SetPos ID_UninstallProgress 5");
}

TEST_F(UninstallWindow, CloseOnPage1Or2OnlyCloses)
{
    EXPECT_TRUE(Click(L"ID_BtnClose"));
    EXPECT_EQ(recorder::Calls(), std::vector<std::wstring>{L"XWnd_CloseWindow window"});

    recorder::Reset(kIdNames);
    CMainDlg onPage2;
    onPage2.InitWindow();
    recorder::Raise(L"ID_BtnGiveup", XE_BNCLICK);
    KillTimer(recorder::NativeWindow(), 10);
    recorder::ClearCalls();
    EXPECT_TRUE(recorder::Raise(L"ID_BtnClose", XE_BNCLICK));
    EXPECT_EQ(recorder::Calls(), std::vector<std::wstring>{L"XWnd_CloseWindow window"});
}

TEST_F(UninstallWindow, CloseOnPage3SendsNoFeedback)
{
    ShowPage3();
    EXPECT_TRUE(Click(L"ID_BtnClose"));
    EXPECT_EQ(recorder::Calls(), std::vector<std::wstring>{L"XWnd_CloseWindow window"});
}

TEST_F(UninstallWindow, SayGoodbyeReadsTheFormOncePostsItThenCloses)
{
    ShowPage3();
    recorder::SetChecked(L"ID_CekChangeError", true);
    recorder::SetChecked(L"ID_CekUnchangedIP", true);
    recorder::SetEditText(L"ID_EditOtherReason", L"速度太慢");
    recorder::SetEditText(L"ID_EditConectedWay", L"QQ 12345");
    EXPECT_TRUE(Click(L"ID_BtnSayGoodbye"));
    std::vector<std::wstring> expected = {
        L"XBtn_IsCheck ID_CekChangeError",
        L"XBtn_IsCheck ID_CekRepeatMore",
        L"XBtn_IsCheck ID_CekUnchangedIP",
        L"XRichEdit_GetText ID_EditOtherReason 1024",
        L"XRichEdit_GetText ID_EditConectedWay 1024",
        L"PostFeedback reason=切换IP失败,不能自动换IP,速度太慢 contact=QQ 12345 sys_info=" +
            SystemDescription(),
        L"XWnd_CloseWindow window",
    };
    EXPECT_EQ(recorder::Calls(), expected);
}

TEST_F(UninstallWindow, SayGoodbyeWithAnEmptyFormStillPosts)
{
    ShowPage3();
    Click(L"ID_BtnSayGoodbye");
    auto post = std::find_if(recorder::Calls().begin(), recorder::Calls().end(),
                             [](const std::wstring& call) { return call.rfind(L"PostFeedback", 0) == 0; });
    ASSERT_NE(post, recorder::Calls().end());
    EXPECT_EQ(*post, L"PostFeedback reason= contact= sys_info=" + SystemDescription());
    EXPECT_EQ(recorder::Calls().back(), L"XWnd_CloseWindow window");
}

TEST_F(UninstallWindow, AnOtherReasonLongerThanTheBufferArrivesCutTo1023Units)
{
    ShowPage3();
    recorder::SetEditText(L"ID_EditOtherReason", std::wstring(3000, L'长'));
    Click(L"ID_BtnSayGoodbye");
    auto post = std::find_if(recorder::Calls().begin(), recorder::Calls().end(),
                             [](const std::wstring& call) { return call.rfind(L"PostFeedback", 0) == 0; });
    ASSERT_NE(post, recorder::Calls().end());
    EXPECT_EQ(*post, L"PostFeedback reason=" + std::wstring(1023, L'长') + L" contact= sys_info=" +
                         SystemDescription());
}

}  // namespace
