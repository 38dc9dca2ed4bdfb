// The real update.exe downloading "update.zip" from local servers that
// misbehave: it must not crash, its window must take clicks again within a
// bounded time, and a broken package must never be unpacked over the
// product: a click on the button ends with the failure text and the product
// as it was. Where the whole package did arrive (after a garbage status
// line, say), installing it is as right as refusing it.
#include "archive_mutants.h"
#include "http_test_server.h"
#include "update_package.h"
#include "updater_session.h"
#include "updater_window.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const wchar_t kStatus[] = L"ID_TextDownLoadShow";
const wchar_t kButton[] = L"ID_BtnInstallUpdate";

bool FullRun()
{
    const char* full = std::getenv("KIT_HOSTILE_FULL");
    return full != nullptr && *full != '\0' && *full != '0';
}

struct DownloadCase {
    std::string what;
    HttpAnswer answer;
    DWORD boundMs;               // the window takes clicks again by then
    bool wholePackage = false;   // every byte of the good package was sent
};

HttpAnswer PackageWith(HttpFault fault)
{
    HttpAnswer answer{200, NewVersionPackage()};
    answer.fault = fault;
    return answer;
}

std::vector<DownloadCase> Cases()
{
    const bool full = FullRun();
    const std::string package = NewVersionPackage();
    std::vector<DownloadCase> cases;
    HttpAnswer redirect = PackageWith(HttpFault::RedirectToSelf);
    redirect.status = 301;
    cases.push_back({"301 to itself", redirect, 60000});
    cases.push_back({"reset after the request", PackageWith(HttpFault::Reset), 30000});
    HttpAnswer garbage = PackageWith(HttpFault::None);
    garbage.statusLine = "HTPT/9 abc garbage";
    cases.push_back({"garbage status line", garbage, 30000, true});
    HttpAnswer longer = PackageWith(HttpFault::None);
    longer.announcedLength = static_cast<long long>(package.size()) * 2;
    cases.push_back({"Content-Length twice the package", longer, 30000, true});
    HttpAnswer noLength = PackageWith(HttpFault::CutShort);
    noLength.contentLength = false;
    noLength.cutAfterBytes = package.size() / 2;
    cases.push_back({"half the package, no Content-Length", noLength, 30000});
    HttpAnswer stall = PackageWith(HttpFault::Stall);
    stall.stallMs = full ? 35000 : 2000;
    cases.push_back({"stall, then close", stall, stall.stallMs + 30000});
    HttpAnswer drip = PackageWith(HttpFault::CutShort);
    drip.fault = HttpFault::Drip;
    drip.body = package.substr(0, 300);
    drip.announcedLength = static_cast<long long>(package.size());
    drip.intervalMs = full ? 100 : 5;
    cases.push_back({"drip of a package cut short", drip, 500 * drip.intervalMs + 30000});
    cases.push_back({"a page instead of a package", HttpAnswer{200, "<html>maintenance</html>"}, 30000});
    // Packages damaged as the generator damages them, each served whole.
    const uint32_t damaged = full ? 12 : 2;
    for (uint32_t i = 0; i < damaged; ++i) {
        ArchiveCase archiveCase = MakeArchiveCase(i % 2 ? MutationFamily::Truncation : MutationFamily::BitFlip,
                                                  20240611, i);
        if (!archiveCase.damaged)
            continue;
        cases.push_back({"damaged package: " + archiveCase.description, HttpAnswer{200, archiveCase.bytes}, 30000});
    }
    return cases;
}

}  // namespace

TEST(HostileDownloads, NothingThatArrivedBrokenIsUnpackedOverTheProduct)
{
    for (const DownloadCase& c : Cases()) {
        SCOPED_TRACE(c.what);
        HttpTestServer server;
        ASSERT_TRUE(server.Start());
        server.SetAnswer("/update.zip", c.answer);
        UpdaterSession session;
        const auto before = session.ProductState();
        session.WriteConfig(server.Url("/update.zip"));
        const DWORD start = GetTickCount();
        ASSERT_TRUE(session.Start());
        UpdaterWindow window(session.Window());
        ASSERT_TRUE(server.WaitForRequests(1, 20000));

        // The download runs before the window's message loop: the button
        // answers only once it has ended.
        const bool answered = WaitUntil([&] { return window.IsEnabled(kButton); }, c.boundMs);
        const DWORD waited = GetTickCount() - start;
        std::printf("  %-60s %6lu ms, %zu requests\n", c.what.substr(0, 60).c_str(),
                    static_cast<unsigned long>(waited), server.RequestCount());
        if (!answered) {
            ADD_FAILURE() << "the window did not take clicks within " << c.boundMs << " ms ("
                          << server.RequestCount() << " requests)";
            server.Stop();
            continue;
        }
        ASSERT_TRUE(session.Process().IsRunning()) << "update.exe ended";
        ASSERT_TRUE(window.Click(kButton));
        bool refused = false, installed = false;
        ASSERT_TRUE(WaitUntil([&] {
            const std::wstring button = window.Text(kButton);
            refused = button == L"下载安装包";
            installed = button == L"运行新版本";
            return refused || installed;
        }, 20000)) << ToUtf8(window.Text(kStatus)) << " / " << ToUtf8(window.Text(kButton));
        if (installed && c.wholePackage) {
            const std::string v2 = ReadFileBytes(BinFile(L"Morvane_v2.exe"));
            EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(session.InProduct(L"Morvane.exe")) == v2; },
                                  20000));
            continue;
        }
        ASSERT_TRUE(refused) << "a broken package was installed";
        EXPECT_EQ(window.Text(kStatus), L"安装包加载失败，请重新下载....");
        Sleep(300);
        EXPECT_TRUE(session.SpyLines().empty()) << "a command ran";
        EXPECT_EQ(session.ProductState(), before);
        EXPECT_TRUE(session.Process().IsRunning()) << "update.exe ended";
    }
}
