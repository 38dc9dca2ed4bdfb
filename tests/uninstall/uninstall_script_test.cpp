// The kit's removal script "Uninstall.bat", run as the uninstaller runs it
// (the quoted script path alone, hidden, in a new console) in folders made like
// an installation: the kit's product folder copied to a route, the record the
// installer adds, files and folders of the user's, the desktop shortcut, the
// running product and a running uninstaller.
#include "child_process.h"
#include "kit_fixture.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Sets an environment variable of the test process (and so of the script and
// the tools it starts) for one scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value) : m_name(name)
    {
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedEnvironment() { SetEnvironmentVariableW(m_name, nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const wchar_t* m_name;
};

// The script started the way the uninstaller starts it, but with its process
// handle kept so the test can wait for its end.
class ScriptRun {
public:
    ScriptRun(const std::wstring& productFolder, const std::wstring& workingFolder)
    {
        std::wstring commandLine = L"\"" + productFolder + L"/Uninstall.bat\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION process = {};
        if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                           nullptr, workingFolder.empty() ? nullptr : workingFolder.c_str(),
                           &startup, &process)) {
            CloseHandle(process.hThread);
            m_process = process.hProcess;
            m_id = process.dwProcessId;
        }
    }
    ~ScriptRun()
    {
        if (m_process == nullptr)
            return;
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
            KillProcessTree(m_id);
        CloseHandle(m_process);
    }
    ScriptRun(const ScriptRun&) = delete;
    ScriptRun& operator=(const ScriptRun&) = delete;

    bool Started() const { return m_process != nullptr; }
    bool WaitForEnd(DWORD timeoutMs) const
    {
        return m_process && WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0;
    }

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

ULONGLONG ExitTime(HANDLE process)
{
    FILETIME creation, exit, kernel, user;
    if (!GetProcessTimes(process, &creation, &exit, &kernel, &user))
        return 0;
    return (static_cast<ULONGLONG>(exit.dwHighDateTime) << 32) | exit.dwLowDateTime;
}

std::wstring SystemRoot()
{
    wchar_t root[MAX_PATH] = {};
    GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH);
    return root;
}

std::wstring TrimRight(std::wstring text)
{
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.pop_back();
    return text;
}

// Folders below a folder, relative to it, sorted.
std::vector<std::wstring> FoldersBelow(const std::wstring& folder, const std::wstring& prefix = L"")
{
    std::vector<std::wstring> folders;
    for (const std::wstring& name : FolderEntries(folder)) {
        if (!FolderExists(folder + L"\\" + name))
            continue;
        folders.push_back(prefix + name);
        for (const auto& inner : FoldersBelow(folder + L"\\" + name, prefix + name + L"\\"))
            folders.push_back(inner);
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

// A product folder as the installer leaves it: the kit's "Vemora" copied to
// the route, plus the install-time record the installer writes into it.
struct Installation {
    explicit Installation(const std::wstring& routeName)
        : route(temp / routeName), product(route + L"\\Vemora")
    {
        CreateFolders(product);
        CopyTree(BuiltKitFolder() + L"\\Vemora", product);
        WriteFileBytes(product + L"\\InstallTime.txt", "installtime 1700000000\r\n");
        kitFiles = FilesBelow(product);
        kitFolders = FoldersBelow(product);
    }

    void AddUserFile(const std::wstring& relativePath, const std::string& content)
    {
        std::wstring path = product + L"\\" + relativePath;
        CreateFolders(path.substr(0, path.find_last_of(L'\\')));
        ASSERT_TRUE(WriteFileBytes(path, content)) << ToUtf8(path);
    }

    ScopedTempFolder temp{L"uninstall-script"};
    std::wstring route;
    std::wstring product;
    std::vector<std::wstring> kitFiles;    // relative to product, the script included
    std::vector<std::wstring> kitFolders;  // relative to product
};

// The shortcut the installer puts on the desktop; removed again after the test
// whatever the script did.
class DesktopShortcut {
public:
    DesktopShortcut() : m_path(DesktopFolder() + L"\\Morvane.lnk")
    {
        WriteFileBytes(m_path, "shortcut to the product");
    }
    ~DesktopShortcut() { DeleteFileW(m_path.c_str()); }
    DesktopShortcut(const DesktopShortcut&) = delete;
    DesktopShortcut& operator=(const DesktopShortcut&) = delete;
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

// A kit file directly in the product folder that the script has no special
// steps for.
std::wstring OrdinaryTopLevelFile(const std::vector<std::wstring>& kitFiles)
{
    for (const auto& file : kitFiles) {
        bool special = lstrcmpiW(file.c_str(), L"uninstall.exe") == 0 ||
                       lstrcmpiW(file.c_str(), L"Morvane.exe") == 0 ||
                       file == L"Uninstall.bat" || file == L"InstallTime.txt";
        if (!special && file.find(L'\\') == std::wstring::npos)
            return file;
    }
    return std::wstring();
}

struct RouteCase {
    const char* name;
    const wchar_t* route;
    bool startedInProductFolder;  // as when the user opened uninstall.exe from its folder
};

const RouteCase kRoutes[] = {
    {"DefaultRoute", L"Program Files (x86)", false},
    {"RouteWithBlanksAmpersandCaretParenthesesAndChinese", L"R o&u^t (x86) 中文 路径", false},
    {"RouteWithPercentToo", L"50% R o&u^t (x86) 中文", true},
};

void PrintTo(const RouteCase& c, std::ostream* out)
{
    *out << c.name;
}

class UninstallScriptRun : public testing::TestWithParam<RouteCase> {};

TEST_P(UninstallScriptRun, RemovesExactlyTheKitsFilesAfterTheUninstallerAndProductHaveEnded)
{
    const RouteCase& c = GetParam();
    Installation install(c.route);
    ASSERT_FALSE(install.kitFolders.empty()) << "the kit has no subfolder (skins missing?)";
    const std::wstring kitSubfolder = install.kitFolders.front();

    // What the user added: files in the product folder, in a folder of their
    // own, inside a kit folder, and a folder where a kit file was.
    const std::wstring notes = L"我的笔记 & notes (1).txt";
    const std::wstring ownFolderFile = L"My Data\\keep.txt";
    const std::wstring inKitFolder = kitSubfolder + L"\\my-theme.png";
    install.AddUserFile(notes, "mine");
    install.AddUserFile(ownFolderFile, "mine too");
    install.AddUserFile(inKitFolder, "a picture");
    const std::wstring replacedKitFile = OrdinaryTopLevelFile(install.kitFiles);
    ASSERT_FALSE(replacedKitFile.empty());
    DeleteFileW((install.product + L"\\" + replacedKitFile).c_str());
    const std::wstring inReplacedFile = replacedKitFile + L"\\inside.txt";
    install.AddUserFile(inReplacedFile, "a folder of the user's with a kit file's name");

    DesktopShortcut shortcut;
    ScopedEnvironment spy(L"KIT_SPY_LOG", install.temp / L"spy.log");

    ChildProcess product;
    ASSERT_TRUE(product.Start(install.product + L"\\Morvane.exe", L""));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(install.product + L"\\Morvane.log"); }, 15000));

    // An uninstaller that is still busy for three seconds after starting the script.
    ASSERT_TRUE(CopyFileTo(BinFile(L"record_command.exe"), install.product + L"\\uninstall.exe"));
    ChildProcess uninstaller;
    ChildProcess::Options busy;
    busy.environment = {L"KIT_RECORD_SLEEP_MS=3000"};
    ASSERT_TRUE(uninstaller.Start(install.product + L"\\uninstall.exe", L"", busy));

    ScriptRun script(install.product, c.startedInProductFolder ? install.product : std::wstring());
    ASSERT_TRUE(script.Started());

    // Nothing is touched while the uninstaller runs.
    int checks = 0;
    while (uninstaller.IsRunning()) {
        bool allThere = std::all_of(install.kitFiles.begin(), install.kitFiles.end(),
                                    [&](const std::wstring& file) {
                                        return file == replacedKitFile ||
                                               FileExists(install.product + L"\\" + file);
                                    });
        if (!uninstaller.IsRunning())
            break;
        ASSERT_TRUE(allThere) << "a kit file went while the uninstaller still ran";
        ASSERT_TRUE(product.IsRunning()) << "the product was stopped while the uninstaller still ran";
        ++checks;
        Sleep(100);
    }
    EXPECT_GT(checks, 0);

    ASSERT_TRUE(script.WaitForEnd(45000)) << "the script did not end";

    // The product was stopped by the script, after the uninstaller had ended.
    ASSERT_TRUE(product.WaitForExit(5000));
    EXPECT_GE(ExitTime(product.Handle()), ExitTime(uninstaller.Handle()));
    std::vector<std::wstring> spyLines = LogLines(install.temp / L"spy.log");
    ASSERT_EQ(spyLines.size(), 1u);
    EXPECT_EQ(TrimRight(spyLines[0]),
              L"taskkill|\"" + SystemRoot() + L"\\System32\\taskkill.exe\" /f /im Morvane.exe");

    EXPECT_FALSE(FileExists(shortcut.Path()));

    // Exactly the user's files are left, and the product's own log.
    std::vector<std::wstring> expected = {notes, ownFolderFile, inKitFolder, inReplacedFile,
                                          L"Morvane.log"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesBelow(install.product), expected);
    // Kit folders that still hold something of the user's stay; the others go.
    for (const auto& folder : install.kitFolders) {
        bool holdsUserFile = (inKitFolder.rfind(folder + L"\\", 0) == 0);
        EXPECT_EQ(FolderExists(install.product + L"\\" + folder), holdsUserFile) << ToUtf8(folder);
    }
    EXPECT_TRUE(FolderExists(install.product + L"\\My Data"));
    EXPECT_TRUE(FolderExists(install.route));
}

INSTANTIATE_TEST_SUITE_P(Routes, UninstallScriptRun, testing::ValuesIn(kRoutes),
                         [](const testing::TestParamInfo<RouteCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(UninstallScript, WithNothingOfTheUsersNoKitFileOrFolderRemains)
{
    Installation install(L"Program Files (x86)");
    DesktopShortcut shortcut;
    ScriptRun script(install.product, std::wstring());
    ASSERT_TRUE(script.Started());
    ASSERT_TRUE(script.WaitForEnd(45000));

    EXPECT_FALSE(FileExists(shortcut.Path()));
    EXPECT_TRUE(FilesBelow(install.product).empty());
    EXPECT_TRUE(FoldersBelow(install.product).empty());
    // The script takes the product folder last, once it is empty; under Wine,
    // whose cmd keeps the running script open until it ends, the empty folder
    // stays. The route is the user's and always stays.
    EXPECT_TRUE(FolderExists(install.route));
}

TEST(UninstallScript, ListsEveryFileOfTheKitsProductFolderAndTheInstallRecord)
{
    std::wstring kitProduct = BuiltKitFolder() + L"\\Vemora";
    std::string script = ReadFileBytes(kitProduct + L"\\Uninstall.bat");
    ASSERT_FALSE(script.empty());
    std::vector<std::wstring> listed;
    const std::string call = "call :remove_file \"";
    for (size_t at = script.find(call); at != std::string::npos; at = script.find(call, at + 1)) {
        size_t start = at + call.size();
        std::string name = script.substr(start, script.find('"', start) - start);
        if (name != "%~1")  // the retrying subroutine's own call
            listed.push_back(FromUtf8(name));
    }
    std::vector<std::wstring> expected = FilesBelow(kitProduct);
    expected.erase(std::remove(expected.begin(), expected.end(), L"Uninstall.bat"), expected.end());
    expected.push_back(L"InstallTime.txt");
    std::sort(expected.begin(), expected.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, expected);
    // Every line ends in CR LF, as cmd needs to find its labels.
    size_t bareLineFeeds = 0;
    for (size_t i = 0; i < script.size(); ++i)
        bareLineFeeds += (script[i] == '\n' && (i == 0 || script[i - 1] != '\r'));
    EXPECT_EQ(bareLineFeeds, 0u);
    // No recursive delete anywhere.
    EXPECT_EQ(script.find("/s"), std::string::npos);
    EXPECT_EQ(script.find("/S"), std::string::npos);
}

}  // namespace
