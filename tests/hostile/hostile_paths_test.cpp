// Kit folders and install routes holding what breaks command lines: blanks,
// "&", "^", "%", parentheses and letters outside ASCII. The real install.exe
// installs from such a kit to such a route through its custom page. Every
// command line a process receives is checked, and programs planted where a
// badly quoted or expanded line would lead must never run. A name the
// system's ANSI code page cannot hold makes the install fail, and then it
// fails without running anything else and without writing anywhere.
#include "installer_session.h"

#include "common/text_conversion.h"
#include "msaa_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

const wchar_t kStopCommand[] = L"taskkill|taskkill /f /t /im Morvane.exe";
const DWORD kStepTimeoutMs = 30000;

struct PathCase {
    const char* name;
    const wchar_t* kitFolder;
    const wchar_t* routeFolder;  // a folder at the top of drive C:
    bool setupRuns = true;
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

// What text survives the installer's trip through the ANSI code page.
std::wstring ThroughAnsi(const std::wstring& text)
{
    std::string ansi;
    std::wstring back;
    return WideToAnsi(text, ansi) && AnsiToWide(ansi, back) ? back : std::wstring();
}

bool FitsAnsi(const std::wstring& text) { return ThroughAnsi(text) == text; }

std::wstring ThroughOem(const std::wstring& text)
{
    std::string oem(text.size() * 2 + 1, '\0');
    oem.resize(static_cast<size_t>(WideCharToMultiByte(CP_OEMCP, 0, text.c_str(), static_cast<int>(text.size()),
                                                       &oem[0], static_cast<int>(oem.size()), nullptr, nullptr)));
    std::wstring back(oem.size(), L'\0');
    back.resize(static_cast<size_t>(MultiByteToWideChar(CP_OEMCP, 0, oem.data(), static_cast<int>(oem.size()),
                                                        &back[0], static_cast<int>(back.size()))));
    return back;
}

std::wstring CopyLine(const std::wstring& kitRoot, const std::wstring& route)
{
    return L"xcopy|Xcopy \"" + kitRoot + L"\\Vemora\"  \"" + route + L"\\Vemora\"  /e /i /h /y";
}

// The setup script's own record of how it was started: cmd writes it in the
// OEM code page.
std::vector<std::wstring> SetupLines(const InstallerSession& session)
{
    const std::string bytes = ReadFileBytes(session.SetupLog());
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(MultiByteToWideChar(
        CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], static_cast<int>(text.size()))));
    return SplitLines(text);
}

std::set<std::wstring> EntriesOf(const std::wstring& folder)
{
    const std::vector<std::wstring> names = FolderEntries(folder);
    return std::set<std::wstring>(names.begin(), names.end());
}

// Recording programs and scripts where a broken line would lead: each
// prefix of a path that ends before a blank or one of & ^ % ( ), and, for
// the word after an "&", a program of that name in the folder the commands
// run in and in a folder put first on the installer's PATH. Removed again.
class Hijackers {
public:
    explicit Hijackers(const std::wstring& searchFolder) : m_searchFolder(searchFolder) {}
    ~Hijackers()
    {
        for (const std::wstring& path : m_planted)
            DeleteFileW(path.c_str());
    }
    Hijackers(const Hijackers&) = delete;
    Hijackers& operator=(const Hijackers&) = delete;

    void PlantAlong(const std::wstring& path, const std::wstring& workingFolder)
    {
        const std::wstring breaks = L" &^%()";
        for (size_t i = 3; i < path.size(); ++i) {
            if (breaks.find(path[i]) == std::wstring::npos)
                continue;
            std::wstring prefix = path.substr(0, i);
            while (!prefix.empty() && prefix.back() == L' ')
                prefix.pop_back();
            if (prefix.size() > 3 && prefix.back() != L'\\')
                Plant(prefix);
            if (path[i] == L'&') {
                const std::wstring word = WordAfter(path, i + 1);
                if (!word.empty()) {
                    Plant(m_searchFolder + L"\\" + word);
                    Plant(workingFolder + L"\\" + word);
                }
            }
        }
    }

private:
    static std::wstring WordAfter(const std::wstring& path, size_t from)
    {
        while (from < path.size() && path[from] == L' ')
            ++from;
        size_t end = path.find_first_of(L" &^%()\\", from);
        return path.substr(from, end == std::wstring::npos ? std::wstring::npos : end - from);
    }

    void Plant(const std::wstring& pathWithoutExtension)
    {
        const std::wstring program = pathWithoutExtension + L".exe";
        const std::wstring script = pathWithoutExtension + L".bat";
        if (FileExists(program) || FolderExists(program))
            return;
        if (CopyFileTo(BinFile(L"record_command.exe"), program))
            m_planted.push_back(program);
        if (WriteFileBytes(script, "@echo %0 %*>>\"%KIT_RECORD_FILE%\"\r\n"))
            m_planted.push_back(script);
    }

    std::wstring m_searchFolder;
    std::vector<std::wstring> m_planted;
};

bool WaitVisible(HWND window, const wchar_t* idName)
{
    return msaa::WaitForElement(window, idName, [](const msaa::Element& e) { return e.Visible(); },
                                kStepTimeoutMs);
}

class HostilePaths : public testing::TestWithParam<PathCase> {};

}  // namespace

TEST_P(HostilePaths, InstallWorksOrFailsRunningOnlyTheIntendedCommands)
{
    const std::wstring route = std::wstring(L"C:\\") + GetParam().routeFolder;
    InstallLeftovers leftovers(route);
    InstallerSession session(GetParam().kitFolder);
    session.RecordSetupScript();
    session.PlantHijackers();
    ScopedTempFolder searchFolder(L"path-hijackers");
    Hijackers hijackers(searchFolder.Path());
    hijackers.PlantAlong(session.Kit().Root(), session.Kit().Root());
    hijackers.PlantAlong(route, session.Kit().Root());
    session.AddEnvironment(L"PATH=" + searchFolder.Path() + L";C:\\windows\\system32;C:\\windows");
    const std::set<std::wstring> driveBefore = EntriesOf(L"C:");

    ASSERT_TRUE(session.Start());
    if (!FitsAnsi(session.Kit().Root())) {
        // The program folder comes out with default characters: the skin is
        // not found, and the installer ends without a window.
        EXPECT_TRUE(session.Process().WaitForExit(kStepTimeoutMs)) << "the installer kept running";
        EXPECT_TRUE(session.WaitForSpyLine(kStopCommand, kStepTimeoutMs));
        EXPECT_EQ(session.SpyLines(), std::vector<std::wstring>{kStopCommand});
    } else {
        double seconds = 0;
        HWND window = session.WaitForWindow(kStepTimeoutMs, seconds);
        ASSERT_NE(window, nullptr) << "no installer window";
        ASSERT_TRUE(AcceptLicence(window));
        ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_UserInstall"));
        ASSERT_TRUE(WaitVisible(window, L"ID_ElePage2"));
        ASSERT_TRUE(TypeRoute(window, route));
        ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_BtnQuick2"));
        ASSERT_TRUE(WaitVisible(window, L"ID_BtnTryRightnow"));

        const std::wstring installed = route + L"\\Vemora";
        const std::vector<std::wstring> kitFiles = FilesBelow(session.Kit().Product());
        const std::wstring copyLine = CopyLine(session.Kit().Root(), ThroughAnsi(route));
        EXPECT_TRUE(session.WaitForSpyLine(copyLine, kStepTimeoutMs));
        if (GetParam().setupRuns) {
            EXPECT_TRUE(WaitUntil([&] { return !SetupLines(session).empty(); }, kStepTimeoutMs));
            const std::wstring expected = L"\"" + ThroughOem(session.Kit().Root()) + L"/Install/setup.bat\"";
            const std::vector<std::wstring> lines = SetupLines(session);
            ASSERT_EQ(lines.size(), 1u);
            if (session.Kit().Root().find(L'%') == std::wstring::npos) {
                EXPECT_EQ(lines[0], expected);
            } else {
                // Wine's cmd drops "%...%" pieces from the %0 it reports
                // (Windows keeps them): the script ran once, quoted.
                EXPECT_EQ(lines[0].front(), L'"');
                EXPECT_EQ(lines[0].substr(lines[0].size() - 19), L"/Install/setup.bat\"") << ToUtf8(lines[0]);
            }
        } else {
            EXPECT_TRUE(SetupLines(session).empty());
        }
        if (FitsAnsi(route)) {
            EXPECT_TRUE(WaitUntil([&] { return FilesBelow(installed) == kitFiles; }, kStepTimeoutMs))
                << FilesBelow(installed).size() << " of " << kitFiles.size() << " files copied";
            ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_BtnTryRightnow"));
            EXPECT_TRUE(session.Process().WaitForExit(kStepTimeoutMs));
            const std::vector<std::wstring> started = {L"version=1.0.0 args=-a a"};
            EXPECT_TRUE(WaitUntil([&] { return LogLines(installed + L"\\Morvane.log") == started; },
                                  kStepTimeoutMs))
                << "the product did not start from the route";
        } else {
            // The route reached Xcopy with default characters, which no
            // folder name may hold: nothing is copied anywhere.
            EXPECT_TRUE(WaitUntil([] { return ProcessIdsNamed(L"xcopy.exe").empty(); }, kStepTimeoutMs));
            EXPECT_FALSE(FolderExists(route));
            PostMessageW(window, WM_CLOSE, 0, 0);
            EXPECT_TRUE(session.Process().WaitForExit(kStepTimeoutMs));
        }
        EXPECT_EQ(session.SpyLines(), (std::vector<std::wstring>{kStopCommand, copyLine}));
    }

    std::set<std::wstring> added;
    for (const std::wstring& name : EntriesOf(L"C:")) {
        if (driveBefore.count(name) == 0)
            added.insert(name);
    }
    std::set<std::wstring> expected;
    if (FitsAnsi(session.Kit().Root()) && FitsAnsi(route))
        expected.insert(GetParam().routeFolder);
    EXPECT_EQ(added, expected) << "something was written at the top of drive C:";
    EXPECT_FALSE(FileExists(session.PlantedLog())) << ReadFileBytes(session.PlantedLog());
}

// "spy" after each "&" names the program a line broken at the "&" would run.
INSTANTIATE_TEST_SUITE_P(
    Paths, HostilePaths,
    testing::Values(PathCase{"AmpersandsAndParentheses", L"kit & spy (x86)", L"Route & spy (x86)"},
                    PathCase{"PercentAndCaret", L"50% ^kit 100% spy", L"100% ^route %TEMP% & spy"},
                    // cmd expands the line a script is started with, on
                    // Windows too: a defined variable in the folder name
                    // moves the script's path, and the setup step is lost;
                    // nothing else runs and the copy still happens.
                    PathCase{"DefinedVariableInTheKitFolder", L"kit %PATH% & spy", L"Route (x86)", false},
                    PathCase{"EscapesThatAreNone", L"kit ^& spy (a)", L"r (b) ^^& spy"},
                    // é, ü and à are in code page 1252 and in 936 alike.
                    PathCase{"LatinLetters", L"Kit é ü & spy", L"Route à ü & spy"},
                    PathCase{"ChineseRoute", L"kit & spy", L"路径 中文 & spy (x86)"},
                    PathCase{"ChineseKit", L"安装 套件 & spy", L"Route (x86) & spy"}),
    [](const testing::TestParamInfo<PathCase>& info) { return info.param.name; });
