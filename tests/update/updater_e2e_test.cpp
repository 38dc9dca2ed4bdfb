// The real update.exe under Wine, operated through its accessibility tree:
// download from a local HTTP server, unpack, Xcopy over the product folder,
// the install animation, delskin.bat and the start of the new version; and
// the ways a download goes wrong.
#include "http_test_server.h"
#include "msaa_client.h"
#include "screen_recorder.h"
#include "update_package.h"
#include "updater_session.h"
#include "updater_window.h"
#include "zip_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

namespace {

const wchar_t kStatus[] = L"ID_TextDownLoadShow";
const wchar_t kButton[] = L"ID_BtnInstallUpdate";
const wchar_t kBar[] = L"ID_ProgressBar";
constexpr DWORD kWait = 20000;

ZipEntryPlan ZipFile(const std::string& name, const std::string& data)
{
    ZipEntryPlan entry;
    entry.name = name;
    entry.data = data;
    return entry;
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

class UpdaterEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_server.Start()); }

    bool StartUpdater()
    {
        if (!m_session.Start())
            return false;
        m_window = std::make_unique<UpdaterWindow>(m_session.Window());
        return true;
    }
    UpdaterWindow& Window() { return *m_window; }

    // After a good download: install, animation, relaunch, and the exit.
    void InstallAndRelaunch()
    {
        const std::wstring P = m_session.Product();
        ASSERT_TRUE(Window().WaitForText(kButton, L"安装更新", kWait));
        ASSERT_TRUE(Window().Click(kButton));
        ASSERT_TRUE(Window().WaitForText(kButton, L"安装更新中...", kWait));
        EXPECT_TRUE(FolderExists(m_session.InProduct(L"skin")));

        // The animation, 5 % a tick, to the finish. ("下载完成！" shows for one
        // tick at 100; the step tests pin that down, a poll across processes
        // may miss it.)
        std::set<int> positions;
        EXPECT_TRUE(WaitUntil(
            [&] {
                positions.insert(Window().Position(kBar));
                return Window().Text(kButton) == L"运行新版本";
            },
            kWait, 10));
        EXPECT_EQ(Window().Text(kStatus), L"安装完成");
        EXPECT_EQ(Window().Position(kBar), 100);
        EXPECT_GE(positions.size(), 5u);
        for (int position : positions)
            EXPECT_EQ(position % 5, 0) << position;

        // Exactly one Xcopy, of the staging folder over the product folder.
        EXPECT_EQ(m_session.SpyLines(),
                  std::vector<std::wstring>{L"xcopy|Xcopy " + Quoted(P + L"\\skin") + L"  " +
                                            Quoted(P) + L"  /e /i /h /y"});
        const std::string v2 = ReadFileBytes(BinFile(L"Morvane_v2.exe"));
        ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(m_session.InProduct(L"Morvane.exe")) == v2; },
                              kWait));
        EXPECT_EQ(ReadFileBytes(m_session.InProduct(L"data\\notes.txt")), "version 2\r\n");

        // delskin.bat twice (quoted full path, then bare name), the new
        // version from the product folder, and the updater gone.
        ASSERT_TRUE(Window().Click(kButton));
        EXPECT_TRUE(m_session.Process().WaitForExit(kWait));
        ASSERT_TRUE(WaitUntil([&] { return !LogLines(m_session.InProduct(L"Morvane.log")).empty(); },
                              kWait));
        EXPECT_EQ(LogLines(m_session.InProduct(L"Morvane.log")),
                  std::vector<std::wstring>{L"version=2.0.0 args="});
        EXPECT_TRUE(WaitUntil([&] { return m_session.DelskinRuns().size() == 2; }, kWait));
        // Both runs are started without waiting, so they may record in
        // either order; the order they are started in is a step test's.
        std::vector<std::wstring> runs = m_session.DelskinRuns();
        std::sort(runs.begin(), runs.end());
        std::vector<std::wstring> expected{Quoted(P + L"\\delskin.bat"), L"delskin.bat"};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(runs, expected);
        EXPECT_TRUE(WaitUntil([&] { return !FolderExists(m_session.InProduct(L"skin")) &&
                                           !FileExists(m_session.InProduct(L"update.zip")); },
                              kWait));
    }

    HttpTestServer m_server;
    UpdaterSession m_session;
    std::unique_ptr<UpdaterWindow> m_window;
};

}  // namespace

TEST_F(UpdaterEndToEnd, DownloadsInstallsAndStartsTheNewVersion)
{
    const std::string package = NewVersionPackage();
    m_server.ServeBytes("/update.zip", package);
    m_session.WriteConfig(m_server.Url("/update.zip"));
    ASSERT_TRUE(StartUpdater());

    EXPECT_TRUE(Window().WaitForText(kStatus, L"等待安装...", kWait));
    EXPECT_EQ(Window().Text(kButton), L"安装更新");
    EXPECT_EQ(Window().Position(kBar), 100);
    EXPECT_EQ(ReadFileBytes(m_session.InProduct(L"update.zip")), package);
    ASSERT_EQ(m_server.RequestCount(), 1u);
    EXPECT_EQ(m_server.Requests()[0].target, "/update.zip");

    InstallAndRelaunch();
}

// No message loop runs during the transfer and the window's thread answers
// no accessibility calls then, so what the bar shows is read off the screen.
TEST_F(UpdaterEndToEnd, BarFillsOnScreenWhileTheBytesArrive)
{
    HttpAnswer slow;
    slow.body = BuildZip({ZipFile("data/noise.bin", NoiseBytes(24000, 5))});
    slow.fault = HttpFault::Drip;
    slow.intervalMs = 0;
    m_server.SetAnswer("/update.zip", slow);
    m_session.WriteConfig(m_server.Url("/update.zip"));
    ASSERT_TRUE(StartUpdater());

    ScreenRecorder recorder(m_session.Window());
    ASSERT_TRUE(Window().WaitForText(kStatus, L"等待安装...", 60000));
    std::vector<ScreenRecorder::Frame> frames = recorder.Stop();
    msaa::Tree tree;
    ASSERT_TRUE(msaa::Snapshot(m_session.Window(), tree));
    const msaa::Element* bar = tree.Find(kBar);
    ASSERT_NE(bar, nullptr);

    // The fill runs 19 pixels in from both ends of the bar.
    std::vector<double> filled;
    for (const auto& frame : frames)
        filled.push_back(FilledShare(frame, bar->location, 19));
    ASSERT_FALSE(filled.empty());
    EXPECT_TRUE(std::any_of(filled.begin(), filled.end(),
                            [](double f) { return f > 0.1 && f < 0.9; }))
        << ::testing::PrintToString(filled);
    // It only grows (give or take the anti-aliased pixel at its end).
    for (size_t i = 1; i < filled.size(); ++i)
        EXPECT_GE(filled[i], filled[i - 1] - 0.01) << ::testing::PrintToString(filled);
    EXPECT_GT(FilledShare(recorder.Capture(), bar->location, 19), 0.97);
}

// Each way a download goes wrong ends with the failure text and the offer of
// a new download; the product is untouched until a package unpacks whole,
// and the next click downloads again.
TEST_F(UpdaterEndToEnd, FailedDownloadsOfferANewDownloadAndLeaveTheProductAlone)
{
    enum class Fault { NoConfig, NotFound, CutShort, Corrupted };
    for (Fault fault : {Fault::NoConfig, Fault::NotFound, Fault::CutShort, Fault::Corrupted}) {
        SCOPED_TRACE(static_cast<int>(fault));
        HttpTestServer server;
        ASSERT_TRUE(server.Start());
        UpdaterSession session;
        const auto before = session.ProductState();
        switch (fault) {
        case Fault::NoConfig:
            session.RemoveConfig();
            break;
        case Fault::NotFound:
            server.SetAnswer("/update.zip", HttpAnswer{404, "<html>not found</html>"});
            break;
        case Fault::CutShort: {
            HttpAnswer cut;
            cut.body = NewVersionPackage();
            cut.fault = HttpFault::CutShort;
            cut.cutAfterBytes = 1000;
            server.SetAnswer("/update.zip", cut);
            break;
        }
        case Fault::Corrupted:
            server.ServeBytes("/update.zip", CorruptedPackage());
            break;
        }
        if (fault != Fault::NoConfig)
            session.WriteConfig(server.Url("/update.zip"));
        ASSERT_TRUE(session.Start());
        UpdaterWindow window(session.Window());
        if (fault != Fault::NoConfig) {
            ASSERT_TRUE(server.WaitForRequests(1, kWait));
        }

        // Wine reports a 404 and a transfer cut short as complete (S_OK), so
        // the invitation to install may come; either way the button takes
        // clicks again once the transfer has ended, and the click unpacks
        // whatever arrived, or finds nothing.
        ASSERT_TRUE(WaitUntil([&] { return window.IsEnabled(kButton); }, kWait));
        ASSERT_TRUE(window.Click(kButton));
        ASSERT_TRUE(window.WaitForText(kButton, L"下载安装包", kWait));
        EXPECT_EQ(window.Text(kStatus), L"安装包加载失败，请重新下载....");
        Sleep(300);
        EXPECT_TRUE(session.SpyLines().empty());
        EXPECT_EQ(session.ProductState(), before);

        // Put things right; the next click reads the configuration again and
        // downloads again, and the package then installs.
        server.ServeBytes("/update.zip", NewVersionPackage());
        session.WriteConfig(server.Url("/update.zip"));
        const size_t requests = server.RequestCount();
        ASSERT_TRUE(window.Click(kButton));
        ASSERT_TRUE(window.WaitForText(kStatus, L"等待安装...", kWait));
        EXPECT_EQ(window.Text(kButton), L"安装更新");
        EXPECT_EQ(server.RequestCount(), requests + 1);
        EXPECT_EQ(session.ProductState(), before);
        ASSERT_TRUE(window.Click(kButton));
        ASSERT_TRUE(window.WaitForText(kButton, L"运行新版本", kWait))
            << ToUtf8(window.Text(kStatus)) << " / " << ToUtf8(window.Text(kButton));
        const std::string v2 = ReadFileBytes(BinFile(L"Morvane_v2.exe"));
        EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(session.InProduct(L"Morvane.exe")) == v2; },
                              kWait));
    }
}
