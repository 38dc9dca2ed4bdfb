// The updater's window class on the fake toolkit: start-up order, the texts
// of every step, the install animation, and the commands and processes the
// steps start for real.
#include "common/program_folder.h"
#include "common/text_conversion.h"
#include "common/window_frame.h"
#include "child_process.h"
#include "fake_toolkit.h"
#include "kit_fixture.h"
#include "test_files.h"
#include "update/bind_status_callback.h"
#include "update/update_install.h"
#include "update/update_window.h"
#include "update_package.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kBar[] = L"ID_ProgressBar";
const wchar_t kStatus[] = L"ID_TextDownLoadShow";
const wchar_t kButton[] = L"ID_BtnInstallUpdate";

std::string Ansi(const std::wstring& text)
{
    std::string ansi;
    EXPECT_TRUE(WideToAnsi(text, ansi));
    return ansi;
}

std::wstring Wide(const std::string& text)
{
    std::wstring wide;
    EXPECT_TRUE(AnsiToWide(text, wide));
    return wide;
}

// The updater with its elements looked up and bound, working in a product
// folder of its own; xcopy reports its command lines to the spy log.
class UpdaterSteps : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake_toolkit::Reset();
        g_hWindow = XC_LoadLayout(L"Update.xml", nullptr);
        m_updater.InitElements();
        m_updater.m_strAppDir = Ansi(m_product.Path());
        ASSERT_TRUE(CopyFileTo(BinFile(L"Morvane.exe"), m_product / L"Morvane.exe"));
        ASSERT_TRUE(CopyFileTo(BinFile(L"record_command.exe"), m_product / L"record_command.exe"));
        SetEnvironmentVariableW(L"KIT_SPY_LOG", m_spyLog.c_str());
        SetEnvironmentVariableW(L"KIT_RECORD_FILE", m_delskinLog.c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableW(L"KIT_SPY_LOG", nullptr);
        SetEnvironmentVariableW(L"KIT_RECORD_FILE", nullptr);
        StopProcessesNamed(L"Morvane.exe");
        StopProcessesNamed(L"xcopy.exe");
        g_hWindow = nullptr;
        fake_toolkit::Reset();
    }

    std::vector<std::wstring> XcopyLines() { return LogLines(m_spyLog); }
    void Tick(int times)
    {
        for (int i = 0; i < times; ++i)
            EXPECT_TRUE(fake_toolkit::SendWindowMessage(kTimerTickMessage));
    }
    void BindTick()
    {
        BindWindowEvent(g_hWindow, kTimerTickMessage, &m_updater, &CUpdateMain::OnProgress,
                        "&CUpdateMain::OnProgress");
    }

    ScopedTempFolder m_product{L"product"};
    ScopedTempFolder m_logs{L"logs"};
    std::wstring m_spyLog = m_logs / L"spy.log";
    std::wstring m_delskinLog = m_logs / L"delskin.log";  // record_command's lines
    CUpdateMain m_updater;
};

}  // namespace

TEST(UpdaterStart, FreshObjectStartsInTheDownloadStep)
{
    CUpdateMain updater;
    EXPECT_EQ(updater.m_strStep, "download");
    EXPECT_EQ(updater.m_nInstallPos, 0);
    EXPECT_EQ(updater.m_strDownloadPath, "");
    EXPECT_EQ(updater.m_strAppDir, "");
    EXPECT_EQ(updater.m_hArchive, nullptr);
    EXPECT_EQ(updater.m_hProgressBar, nullptr);
    EXPECT_EQ(updater.m_hTextDownLoadShow, nullptr);
    EXPECT_EQ(updater.m_hBtnInstallUpdate, nullptr);
    EXPECT_EQ(updater.m_hEleUpdateMain, nullptr);
}

TEST(UpdaterStart, InitWindowBuildsBindsAndShowsBeforeTheFirstDownload)
{
    fake_toolkit::Reset();
    CUpdateMain updater;
    updater.InitWindow();
    const std::wstring skin = Wide(GetProgramFolder()) + L"//mainSkin";
    const std::vector<std::wstring> expected = {
        L"XC_LoadResource " + skin + L"\\resource.xml " + skin,
        L"XC_LoadLayout " + skin + L"\\Update.xml",
        L"XWnd_RegEventEx 2124 &CUpdateMain::OnProgress",
        L"XC_GetObjectByID ID_ProgressBar",
        L"XEle_RegEventEx ID_ProgressBar 64 &CUpdateMain::OnProgressBarChange",
        L"XProgBar_SetPos ID_ProgressBar 0",
        L"XProgBar_SetSpaceTwo ID_ProgressBar 19 19",
        L"XProgBar_SetRange ID_ProgressBar 100",
        L"XC_GetObjectByID ID_TextDownLoadShow",
        L"XC_GetObjectByID ID_EleUpdateMain",
        L"XC_GetObjectByID ID_BtnInstallUpdate",
        L"XEle_RegEventEx ID_BtnInstallUpdate 34 &CUpdateMain::OnBtnInstallUpdate",
        L"XWnd_AdjustLayout window",
        L"XWnd_AdjustLayoutObject window",
        L"XWnd_ShowWindow window 5",
        // The download, with the button taking no clicks while it runs. No
        // configuration lies beside the test program, so it fails and
        // changes nothing else.
        L"XEle_Enable ID_BtnInstallUpdate 0",
        L"XEle_Enable ID_BtnInstallUpdate 1",
    };
    EXPECT_EQ(fake_toolkit::Calls(), expected);
    wchar_t title[64] = {};
    GetWindowTextW(fake_toolkit::NativeWindow(), title, 64);
    EXPECT_STREQ(title, L"更新程序");
    EXPECT_EQ(updater.m_strAppDir, GetProgramFolder());
    EXPECT_EQ(updater.m_strStep, "download");
    g_hWindow = nullptr;
    fake_toolkit::Reset();
}

TEST(UpdaterStart, LayoutThatDoesNotLoadStopsEverything)
{
    fake_toolkit::Reset(false);
    CUpdateMain updater;
    updater.InitWindow();
    EXPECT_EQ(fake_toolkit::Calls().size(), 2u);  // the resource and the layout
    EXPECT_EQ(updater.m_strAppDir, "");           // nothing downloaded
    g_hWindow = nullptr;
    fake_toolkit::Reset();
}

TEST(ProgressPosition, IsTheTruncatedPercentNeverAbove100)
{
    struct Case {
        ULONG transferred, total;
        int position;
    } cases[] = {
        {50, 200, 25}, {199, 200, 99}, {200, 200, 100}, {0, 200, 0},
        {3000000000u, 4000000000u, 75}, {4294967295u, 4294967295u, 100},
        {8192, 0, 0}, {0, 0, 0}, {300, 200, 100}, {1, 3, 33},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgressPosition(c.transferred, c.total), c.position)
            << c.transferred << "/" << c.total;
}

TEST(BindStatusCallback, MovesTheBarAndAnswersOnlyAt100WithSOk)
{
    fake_toolkit::Reset();
    g_hWindow = XC_LoadLayout(L"Update.xml", nullptr);
    CUpdateMain updater;
    updater.InitElements();
    CBindStatusBack callback(updater.m_hProgressBar);
    EXPECT_EQ(callback.OnProgress(50, 200, 0, nullptr), E_NOTIMPL);
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 25);
    EXPECT_EQ(callback.OnProgress(199, 200, 0, nullptr), E_NOTIMPL);
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 99);
    EXPECT_EQ(fake_toolkit::TextOf(kStatus), L"");
    EXPECT_EQ(callback.OnProgress(200, 200, 0, nullptr), S_OK);
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 100);
    EXPECT_EQ(fake_toolkit::TextOf(kStatus), L"下载完成！");
    EXPECT_EQ(callback.OnProgress(3000000000u, 4000000000u, 0, nullptr), E_NOTIMPL);
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 75);
    EXPECT_EQ(callback.OnProgress(8192, 0, 0, nullptr), E_NOTIMPL);
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 0);

    void* object = &callback;
    EXPECT_EQ(callback.QueryInterface(IID_IUnknown, &object), E_NOTIMPL);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(callback.AddRef(), 0u);
    EXPECT_EQ(callback.Release(), 0u);
    LONG priority = 0;
    EXPECT_EQ(callback.OnStartBinding(0, nullptr), E_NOTIMPL);
    EXPECT_EQ(callback.GetPriority(&priority), E_NOTIMPL);
    EXPECT_EQ(callback.OnLowResource(0), E_NOTIMPL);
    EXPECT_EQ(callback.OnStopBinding(S_OK, nullptr), E_NOTIMPL);
    EXPECT_EQ(callback.GetBindInfo(nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(callback.OnDataAvailable(0, 0, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(callback.OnObjectAvailable(IID_IUnknown, nullptr), E_NOTIMPL);
    g_hWindow = nullptr;
    fake_toolkit::Reset();
}

TEST(XcopyCommand, QuotesBothFoldersWithTwoBlanksBetweenThePieces)
{
    EXPECT_EQ(BuildXcopyCommand("C:\\P\\skin", "C:\\P"),
              "Xcopy \"C:\\P\\skin\"  \"C:\\P\"  /e /i /h /y");
    EXPECT_EQ(BuildXcopyCommand("D:\\a b&c\\skin", "D:\\a b&c"),
              "Xcopy \"D:\\a b&c\\skin\"  \"D:\\a b&c\"  /e /i /h /y");
}

TEST_F(UpdaterSteps, ProgressChangeShowsDownloadCompleteOnlyAt100)
{
    BOOL handled = FALSE;
    EXPECT_EQ(m_updater.OnProgressBarChange(99, &handled), 0);
    EXPECT_TRUE(handled);
    EXPECT_EQ(fake_toolkit::TextOf(kStatus), L"");
    EXPECT_EQ(m_updater.OnProgressBarChange(100, &handled), 0);
    EXPECT_EQ(fake_toolkit::TextOf(kStatus), L"下载完成！");
}

TEST_F(UpdaterSteps, InstallWithoutPackageOffersANewDownload)
{
    EXPECT_TRUE(fake_toolkit::Click(kButton));
    EXPECT_EQ(fake_toolkit::TextOf(kStatus), L"安装包加载失败，请重新下载....");
    EXPECT_EQ(fake_toolkit::TextOf(kButton), L"下载安装包");
    EXPECT_EQ(m_updater.m_strStep, "downloadzip");
    EXPECT_EQ(fake_toolkit::CallsStartingWith(L"XEle_RedrawEle ID_EleUpdateMain").size(), 1u);
    EXPECT_TRUE(XcopyLines().empty());
}

TEST_F(UpdaterSteps, CorruptedPackageIsNeverCopiedOverTheProduct)
{
    ASSERT_TRUE(WriteFileBytes(m_product / L"update.zip", CorruptedPackage()));
    std::string before = ReadFileBytes(m_product / L"Morvane.exe");
    EXPECT_TRUE(fake_toolkit::Click(kButton));
    EXPECT_EQ(m_updater.m_strStep, "downloadzip");
    EXPECT_EQ(fake_toolkit::TextOf(kStatus), L"安装包加载失败，请重新下载....");
    EXPECT_EQ(m_updater.m_nArchiveResult, ArcInflateFailed);
    Sleep(500);  // an Xcopy, were one started, would have logged by now
    EXPECT_TRUE(XcopyLines().empty());
    EXPECT_EQ(ReadFileBytes(m_product / L"Morvane.exe"), before);
}

TEST_F(UpdaterSteps, InstallAnimationAndRelaunchOfTheNewVersion)
{
    BindTick();
    ASSERT_TRUE(WriteFileBytes(m_product / L"update.zip", NewVersionPackage()));
    EXPECT_TRUE(fake_toolkit::Click(kButton));

    // Unpacked into "skin", then exactly one Xcopy of the folder over the product.
    EXPECT_EQ(ReadFileBytes(m_product / L"skin\\data\\notes.txt"), "version 2\r\n");
    ASSERT_TRUE(WaitUntil([&] { return !XcopyLines().empty(); }, 10000));
    const std::wstring P = m_product.Path();
    EXPECT_EQ(XcopyLines(), std::vector<std::wstring>{L"xcopy|Xcopy \"" + P + L"\\skin\"  \"" + P +
                                                      L"\"  /e /i /h /y"});
    const std::string v2 = ReadFileBytes(BinFile(L"Morvane_v2.exe"));
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(m_product / L"Morvane.exe") == v2; }, 15000));
    EXPECT_EQ(fake_toolkit::TextOf(kStatus), L"正在安装更新....");
    EXPECT_EQ(fake_toolkit::TextOf(kButton), L"安装更新中...");
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 0);
    EXPECT_EQ(m_updater.m_strStep, "download");

    // +5 per tick: 100 on the 20th, the finish on the 21st.
    Tick(19);
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 95);
    EXPECT_EQ(fake_toolkit::TextOf(kStatus), L"正在安装更新....");
    Tick(1);
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 100);
    EXPECT_EQ(fake_toolkit::TextOf(kStatus), L"下载完成！");
    EXPECT_EQ(m_updater.m_strStep, "download");
    Tick(1);
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 100);
    EXPECT_EQ(fake_toolkit::TextOf(kStatus), L"安装完成");
    EXPECT_EQ(fake_toolkit::TextOf(kButton), L"运行新版本");
    EXPECT_EQ(m_updater.m_strStep, "runnewvision");
    EXPECT_EQ(m_updater.m_nInstallPos, 100);

    // delskin.bat by its quoted full path (the bare name finds no file beside
    // the test program), then the new version from the product folder.
    EXPECT_TRUE(fake_toolkit::Click(kButton));
    EXPECT_EQ(fake_toolkit::CallsStartingWith(L"XWnd_CloseWindow").size(), 1u);
    ASSERT_TRUE(WaitUntil([&] { return !LogLines(m_product / L"Morvane.log").empty(); }, 15000));
    EXPECT_EQ(LogLines(m_product / L"Morvane.log"), std::vector<std::wstring>{L"version=2.0.0 args="});
    ASSERT_TRUE(WaitUntil([&] { return !FolderExists(m_product / L"skin"); }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(m_product / L"update.zip"); }, 10000));
    ASSERT_TRUE(WaitUntil([&] { return !LogLines(m_delskinLog).empty(); }, 10000));
    const std::vector<std::wstring> runs = LogLines(m_delskinLog);
    ASSERT_EQ(runs.size(), 1u);
    const std::wstring quotedPath = L"\"" + P + L"\\delskin.bat\"";
    EXPECT_EQ(runs[0].substr(runs[0].size() - quotedPath.size()), quotedPath);
}

TEST_F(UpdaterSteps, SecondClickDuringTheAnimationCopiesAgainAndEndsSooner)
{
    BindTick();
    ASSERT_TRUE(WriteFileBytes(m_product / L"update.zip", NewVersionPackage()));
    EXPECT_TRUE(fake_toolkit::Click(kButton));
    Tick(10);
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 50);
    EXPECT_TRUE(fake_toolkit::Click(kButton));
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 0);
    ASSERT_TRUE(WaitUntil([&] { return XcopyLines().size() == 2; }, 10000));
    Tick(1);
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 55);  // the counter goes on
    Tick(9);
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 100);
    ASSERT_TRUE(WaitUntil([] { return ProcessIdsNamed(L"xcopy.exe").empty(); }, 15000));
    Tick(1);
    EXPECT_EQ(m_updater.m_strStep, "runnewvision");
}

// "delskin.bat" removes the folder Xcopy copies from: a copy that outlasts
// the animation holds the bar at 100, and the new version is offered only
// once the copy has ended.
TEST_F(UpdaterSteps, ASlowCopyHoldsTheFinishUntilItEnds)
{
    BindTick();
    ASSERT_TRUE(WriteFileBytes(m_product / L"update.zip", NewVersionPackage()));
    SetEnvironmentVariableW(L"KIT_XCOPY_DELAY_MS", L"3000");
    EXPECT_TRUE(fake_toolkit::Click(kButton));
    SetEnvironmentVariableW(L"KIT_XCOPY_DELAY_MS", nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !XcopyLines().empty(); }, 10000));

    Tick(25);
    EXPECT_EQ(fake_toolkit::PositionOf(kBar), 100);
    EXPECT_EQ(m_updater.m_nInstallPos, 100);
    EXPECT_EQ(fake_toolkit::TextOf(kButton), L"安装更新中...");
    EXPECT_EQ(m_updater.m_strStep, "download");
    EXPECT_FALSE(ProcessIdsNamed(L"xcopy.exe").empty()) << "the copy ended too soon to show anything";

    ASSERT_TRUE(WaitUntil([] { return ProcessIdsNamed(L"xcopy.exe").empty(); }, 20000));
    EXPECT_EQ(ReadFileBytes(m_product / L"Morvane.exe"), ReadFileBytes(BinFile(L"Morvane_v2.exe")));
    Tick(1);
    EXPECT_EQ(fake_toolkit::TextOf(kStatus), L"安装完成");
    EXPECT_EQ(fake_toolkit::TextOf(kButton), L"运行新版本");
    EXPECT_EQ(m_updater.m_strStep, "runnewvision");
}

TEST_F(UpdaterSteps, UnknownStepWordDoesNothing)
{
    for (const char* step : {"Download", "downloadZip", "", "runnewversion"}) {
        m_updater.m_strStep = step;
        size_t calls = fake_toolkit::Calls().size();
        EXPECT_TRUE(fake_toolkit::Click(kButton));
        EXPECT_EQ(fake_toolkit::Calls().size(), calls) << step;
        EXPECT_EQ(m_updater.m_strStep, step);
    }
}

TEST_F(UpdaterSteps, DownloadShowsItsTextsOnlyWhenTheWholeFileArrived)
{
    // The download lands beside the running program, here the test's.
    const std::wstring target = Wide(GetProgramFolder()) + L"\\update.zip";
    DeleteFileW(target.c_str());
    m_updater.m_strStep = "downloadzip";
    m_updater.DownloadPackage("http://127.0.0.1:1/update.zip");  // nobody listens there
    EXPECT_EQ(m_updater.m_strStep, "downloadzip");
    EXPECT_TRUE(fake_toolkit::CallsStartingWith(L"XShapeText_SetText").empty());
    EXPECT_TRUE(fake_toolkit::CallsStartingWith(L"XBtn_SetText").empty());
    m_updater.DownloadPackage("");
    EXPECT_EQ(m_updater.m_strStep, "downloadzip");
    EXPECT_EQ(m_updater.m_strAppDir, GetProgramFolder());

    const std::string package = NewVersionPackage();
    const std::wstring source = m_logs / L"published.zip";
    ASSERT_TRUE(WriteFileBytes(source, package));
    std::string url = "file:///" + Ansi(source);
    for (int run = 0; run < 2; ++run) {  // a second download overwrites the first
        SCOPED_TRACE(run);
        m_updater.m_strStep = "downloadzip";
        m_updater.DownloadPackage(url);
        EXPECT_EQ(ReadFileBytes(target), package);
        EXPECT_EQ(m_updater.m_strStep, "download");
        EXPECT_EQ(fake_toolkit::TextOf(kStatus), L"等待安装...");
        EXPECT_EQ(fake_toolkit::TextOf(kButton), L"安装更新");
        EXPECT_EQ(fake_toolkit::PositionOf(kBar), 100);
        std::vector<std::wstring> texts = fake_toolkit::CallsStartingWith(L"XShapeText_SetText");
        ASSERT_GE(texts.size(), 2u);
        EXPECT_EQ(texts[texts.size() - 2], L"XShapeText_SetText ID_TextDownLoadShow 下载完成！");
        EXPECT_EQ(texts.back(), L"XShapeText_SetText ID_TextDownLoadShow 等待安装...");
    }
    DeleteFileW(target.c_str());
}

TEST_F(UpdaterSteps, ClicksWhileADownloadRunsAreNotTaken)
{
    const std::wstring target = Wide(GetProgramFolder()) + L"\\update.zip";
    const std::wstring source = m_logs / L"published.zip";
    ASSERT_TRUE(WriteFileBytes(source, NewVersionPackage()));
    m_updater.m_strStep = "downloadzip";
    m_updater.m_strDownloadPath = "file:///" + Ansi(source);
    int clicksTaken = 0;
    fake_toolkit::OnPositionSet([&] {
        EXPECT_FALSE(fake_toolkit::IsEnabled(kButton));
        clicksTaken += fake_toolkit::Click(kButton);
    });
    // The click starts the download again; clicks during it start nothing.
    EXPECT_TRUE(fake_toolkit::Click(kButton));
    fake_toolkit::OnPositionSet(nullptr);
    EXPECT_EQ(clicksTaken, 0);
    EXPECT_TRUE(fake_toolkit::IsEnabled(kButton));
    EXPECT_EQ(m_updater.m_strStep, "download");
    EXPECT_EQ(fake_toolkit::CallsStartingWith(L"XEle_Enable ID_BtnInstallUpdate").size(), 2u);
    EXPECT_EQ(fake_toolkit::CallsStartingWith(L"XShapeText_SetText ID_TextDownLoadShow 等待安装").size(), 1u);
    DeleteFileW(target.c_str());
}
