// The real install.exe from a copy of the kit, under Wine + Xvfb, operated
// through its accessibility tree as a user would: quick install with the
// default route, custom install with a typed route, the accept box, and
// what reaches the disk, the desktop and the started product.
#include "installer_session.h"
#include "install_location.h"

#include "msaa_client.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <iostream>

namespace {

const wchar_t kDefaultRoute[] = L"C:\\Program Files (x86)";
const wchar_t kStopCommand[] = L"taskkill|taskkill /f /t /im Morvane.exe";

std::wstring CopyLine(const std::wstring& kitRoot, const std::wstring& route)
{
    return L"xcopy|Xcopy \"" + kitRoot + L"\\Vemora\"  \"" + route + L"\\Vemora\"  /e /i /h /y";
}

// Start-up times of the runs, printed once at the end.
std::vector<double>& StartupTimes()
{
    static std::vector<double> times;
    return times;
}

HWND OpenInstaller(InstallerSession& session)
{
    if (!session.Start())
        return nullptr;
    double seconds = 0;
    HWND window = session.WaitForWindow(30000, seconds);
    if (window != nullptr) {
        StartupTimes().push_back(seconds);
        std::cout << "install.exe: window on screen " << static_cast<int>(seconds * 1000)
                  << " ms after the process was started\n";
    }
    return window;
}

msaa::Element ElementOf(HWND window, const std::wstring& idName)
{
    msaa::Tree tree;
    EXPECT_TRUE(msaa::Snapshot(window, tree)) << "no accessibility tree";
    const msaa::Element* element = tree.Find(idName);
    EXPECT_NE(element, nullptr) << ToUtf8(idName) << " is not in the window";
    return element != nullptr ? *element : msaa::Element();
}

bool WaitFor(HWND window, const std::wstring& idName,
             const std::function<bool(const msaa::Element&)>& condition, DWORD timeoutMs = 10000)
{
    return msaa::WaitForElement(window, idName, condition, timeoutMs);
}

// The kit's product folder as the tests want it copied: an empty folder, a
// hidden file and a nested file besides the stand-in product.
void AddProductContent(InstallerSession& session)
{
    std::wstring product = session.Kit().Product();
    CreateFolders(product + L"\\empty folder");
    CreateFolders(product + L"\\data\\deep");
    ASSERT_TRUE(WriteFileBytes(product + L"\\data\\deep\\设置.ini", "[net]\r\n"));
    ASSERT_TRUE(WriteFileBytes(product + L"\\hidden.dat", "secret"));
    SetFileAttributesW((product + L"\\hidden.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
}

void ExpectProductCopied(InstallerSession& session, const std::wstring& installed)
{
    std::vector<std::wstring> expected = FilesBelow(session.Kit().Product());
    EXPECT_TRUE(WaitUntil([&] { return FilesBelow(installed) == expected; }, 30000))
        << FilesBelow(installed).size() << " of " << expected.size() << " files in "
        << ToUtf8(installed);
    EXPECT_TRUE(FolderExists(installed + L"\\empty folder"));
    DWORD hidden = GetFileAttributesW((installed + L"\\hidden.dat").c_str());
    EXPECT_TRUE(hidden != INVALID_FILE_ATTRIBUTES && (hidden & FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(ReadFileBytes(installed + L"\\data\\deep\\设置.ini"), "[net]\r\n");
}

// The record the installer wrote before the copy, carried to the route.
void ExpectInstallTime(const std::wstring& installed, int64_t from, int64_t to)
{
    std::string record = ReadFileBytes(installed + L"\\InstallTime.txt");
    long long seconds = 0;
    char end[3] = {};
    ASSERT_EQ(std::sscanf(record.c_str(), "installtime %lld%2c", &seconds, end), 2) << record;
    EXPECT_EQ(std::string(end), "\r\n");
    EXPECT_EQ(record, "installtime " + std::to_string(seconds) + "\r\n");
    EXPECT_GE(seconds, from);
    EXPECT_LE(seconds, to);
}

struct LinkInfo {
    std::wstring target;
    std::wstring workingFolder;
};

bool ReadShortcut(const std::wstring& path, LinkInfo& info)
{
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* file = nullptr;
    bool read = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                SUCCEEDED(file->Load(path.c_str(), STGM_READ));
    wchar_t target[MAX_PATH] = {}, folder[MAX_PATH] = {};
    read = read && SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
           SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH));
    if (file != nullptr)
        file->Release();
    link->Release();
    info = LinkInfo{target, folder};
    return read;
}

// The last page's button: the shortcut, the product started through it with
// "-a a", and the installer gone.
void FinishAndExpectProductStarted(InstallerSession& session, HWND window,
                                   const std::wstring& route)
{
    std::wstring installed = route + L"\\Vemora";
    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_BtnTryRightnow"));
    EXPECT_TRUE(session.Process().WaitForExit(20000)) << "the installer did not close";

    LinkInfo link;
    ASSERT_TRUE(ReadShortcut(InstallLeftovers::DesktopLink(), link)) << "no readable desktop link";
    EXPECT_EQ(link.target, installed + L"\\Morvane.exe");
    EXPECT_EQ(link.workingFolder, installed + L"\\");

    std::vector<std::wstring> expected = {L"version=1.0.0 args=-a a"};
    EXPECT_TRUE(WaitUntil([&] { return LogLines(installed + L"\\Morvane.log") == expected; }, 20000))
        << "the product did not log its start with -a a";
}

class InstallerFlow : public testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite()
    {
        CoUninitialize();
        for (double seconds : StartupTimes())
            std::cout << "start to window: " << static_cast<int>(seconds * 1000) << " ms\n";
    }
};

}  // namespace

TEST_F(InstallerFlow, QuickInstallWithTheDefaultRoute)
{
    InstallLeftovers leftovers(kDefaultRoute);
    InstallerSession session(L"kit with blanks");
    AddProductContent(session);
    session.RecordSetupScript();
    session.PlantHijackers();
    HWND window = OpenInstaller(session);
    ASSERT_NE(window, nullptr) << "no installer window";

    EXPECT_FALSE(ElementOf(window, L"ID_BtnQuickInstall").Enabled());
    EXPECT_FALSE(ElementOf(window, L"ID_UserInstall").Enabled());
    EXPECT_FALSE(ElementOf(window, L"ID_BtnTryRightnow").Visible());
    EXPECT_EQ(ElementOf(window, L"ID_EditRoute").value, kDefaultRoute);
    ASSERT_TRUE(AcceptLicence(window));

    int64_t before = static_cast<int64_t>(std::time(nullptr));
    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_BtnQuickInstall"));
    ASSERT_TRUE(WaitFor(window, L"ID_ElePage3", [](const msaa::Element& e) { return e.Visible(); }));
    EXPECT_FALSE(ElementOf(window, L"ID_EleFirstPage").Visible());

    // The percentage rises; the start button shows only after 100 %.
    std::vector<int> seen;
    bool finished = WaitUntil([&] {
        msaa::Tree tree;
        if (!msaa::Snapshot(window, tree))
            return false;
        const msaa::Element* percent = tree.Find(L"ID_TextPercent");
        const msaa::Element* start = tree.Find(L"ID_BtnTryRightnow");
        if (percent == nullptr || start == nullptr)
            return false;
        int value = _wtoi(percent->name.c_str());
        if (start->Visible()) {
            // A tree is read element by element, so a tick may fall between
            // two of them: the finished state is read once more, whole.
            EXPECT_EQ(ElementOf(window, L"ID_TextPercent").name, L"100%");
            EXPECT_FALSE(ElementOf(window, L"ID_EleTextPercentContent").Visible());
            return true;
        }
        EXPECT_EQ(percent->name, std::to_wstring(value) + L"%");
        if (seen.empty() || seen.back() != value)
            seen.push_back(value);
        return false;
    }, 20000, 30);
    int64_t after = static_cast<int64_t>(std::time(nullptr));
    ASSERT_TRUE(finished) << "the start button did not appear";
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    // Each look at the tree takes a while under Wine: a few steps show the rise.
    EXPECT_GE(seen.size(), 3u) << "the percentage was not seen rising";

    std::wstring installed = std::wstring(kDefaultRoute) + L"\\Vemora";
    ExpectProductCopied(session, installed);
    ExpectInstallTime(installed, before, after);
    EXPECT_EQ(session.SpyLines(),
              (std::vector<std::wstring>{kStopCommand, CopyLine(session.Kit().Root(), kDefaultRoute)}));
    EXPECT_TRUE(WaitUntil([&] { return !LogLines(session.SetupLog()).empty(); }, 15000));
    EXPECT_EQ(LogLines(session.SetupLog()),
              std::vector<std::wstring>{L"\"" + session.Kit().Root() + L"/Install/setup.bat\""});
    EXPECT_FALSE(FileExists(session.PlantedLog())) << ReadFileBytes(session.PlantedLog());

    FinishAndExpectProductStarted(session, window, kDefaultRoute);
}

namespace {

struct RouteCase {
    const char* name;
    std::wstring (*route)();
};

void PrintTo(const RouteCase& c, std::ostream* os) { *os << c.name; }

std::wstring BuildFolder()
{
    std::wstring bin = BinFolder();
    return bin.substr(0, bin.find_last_of(L'\\'));
}

class CustomInstall : public testing::TestWithParam<RouteCase> {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }
};

}  // namespace

// The drive's free space moves while other programs write, so the figure
// the window shows may differ from the test's own reading by one GiB.
void ExpectFreeSpaceShown(const std::wstring& shown, const std::wstring& drive)
{
    ASSERT_GE(shown.size(), 2u) << ToUtf8(shown);
    EXPECT_EQ(shown.back(), L'G') << ToUtf8(shown);
    long shownGib = std::wcstol(shown.c_str(), nullptr, 10);
    long ownGib = std::wcstol(FormatFreeSpace(drive).c_str(), nullptr, 10);
    EXPECT_LE(std::labs(shownGib - ownGib), 1L) << ToUtf8(shown);
}

TEST_P(CustomInstall, InstallsToTheTypedRouteAndShowsItsDrive)
{
    std::wstring route = GetParam().route();
    std::wstring letter = route.substr(0, 1);
    InstallLeftovers leftovers(route);
    InstallerSession session;
    AddProductContent(session);
    HWND window = OpenInstaller(session);
    ASSERT_NE(window, nullptr) << "no installer window";
    ASSERT_TRUE(AcceptLicence(window));

    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_UserInstall"));
    ASSERT_TRUE(WaitFor(window, L"ID_ElePage2", [](const msaa::Element& e) { return e.Visible(); }));
    EXPECT_FALSE(ElementOf(window, L"ID_EleFirstPage").Visible());
    EXPECT_FALSE(ElementOf(window, L"ID_ElePage3").Visible());
    // Before any change: drive C:'s space and the layout's label.
    ExpectFreeSpaceShown(ElementOf(window, L"ID_TextLeave").name, L"C:");

    ASSERT_TRUE(TypeRoute(window, route));
    std::wstring label = letter + L"盘可用空间：";
    EXPECT_TRUE(WaitFor(window, L"ID_TextLocation",
                        [&](const msaa::Element& e) { return e.name == label; }))
        << ToUtf8(ElementOf(window, L"ID_TextLocation").name);
    std::wstring space = ElementOf(window, L"ID_TextLeave").name;
    ExpectFreeSpaceShown(space, letter + L":");
    EXPECT_NE(space, L"0G");

    int64_t before = static_cast<int64_t>(std::time(nullptr));
    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_BtnQuick2"));
    ASSERT_TRUE(WaitFor(window, L"ID_ElePage3", [](const msaa::Element& e) { return e.Visible(); }));
    std::wstring installed = route + L"\\Vemora";
    ExpectProductCopied(session, installed);
    ExpectInstallTime(installed, before, static_cast<int64_t>(std::time(nullptr)));
    EXPECT_TRUE(session.WaitForSpyLine(CopyLine(session.Kit().Root(), route), 5000))
        << ToUtf8(session.SpyLines().back());

    ASSERT_TRUE(WaitFor(window, L"ID_BtnTryRightnow", [](const msaa::Element& e) { return e.Visible(); },
                        20000));
    FinishAndExpectProductStarted(session, window, route);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, CustomInstall,
    testing::Values(RouteCase{"WithBlanks", [] { return std::wstring(L"C:\\Morvane Test Route"); }},
                    // On another drive, and longer than 31 characters.
                    RouteCase{"LongerThan31OnAnotherDrive",
                              [] { return BuildFolder() + L"\\install e2e\\a route of more than 31 characters"; }}),
    [](const testing::TestParamInfo<RouteCase>& info) { return info.param.name; });

TEST_F(InstallerFlow, AcceptBoxSwitchesOnlyTheFirstPageButtons)
{
    InstallLeftovers leftovers(kDefaultRoute);
    InstallerSession session;
    HWND window = OpenInstaller(session);
    ASSERT_NE(window, nullptr) << "no installer window";
    auto enabled = [](bool on) {
        return [on](const msaa::Element& e) { return e.Enabled() == on; };
    };

    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_BtnCekAccept"));
    EXPECT_TRUE(WaitFor(window, L"ID_BtnCekAccept", [](const msaa::Element& e) { return e.Checked(); }));
    EXPECT_TRUE(WaitFor(window, L"ID_BtnQuickInstall", enabled(true)));
    EXPECT_TRUE(WaitFor(window, L"ID_UserInstall", enabled(true)));
    EXPECT_TRUE(ElementOf(window, L"ID_BtnQuick2").Enabled());

    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_BtnCekAccept"));
    EXPECT_TRUE(WaitFor(window, L"ID_BtnCekAccept", [](const msaa::Element& e) { return !e.Checked(); }));
    EXPECT_TRUE(WaitFor(window, L"ID_BtnQuickInstall", enabled(false)));
    EXPECT_TRUE(WaitFor(window, L"ID_UserInstall", enabled(false)));
    EXPECT_TRUE(ElementOf(window, L"ID_BtnQuick2").Enabled());

    // Closed any other way: nothing installed, no shortcut.
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(session.Process().WaitForExit(15000));
    EXPECT_EQ(session.SpyLines(), std::vector<std::wstring>{kStopCommand});
    EXPECT_FALSE(FileExists(InstallLeftovers::DesktopLink()));
    EXPECT_FALSE(FolderExists(leftovers.ProductFolder()));
}
