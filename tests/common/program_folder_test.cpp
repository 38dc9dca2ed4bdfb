#include "common/program_folder.h"

#include "child_process.h"
#include "test_files.h"

#include <gtest/gtest.h>

TEST(FolderOfPath, CutsBeforeTheLastBackslash)
{
    struct Case {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\kit\\install.exe", "C:\\kit"},
        {"install.exe", "install.exe"},
        {"C:\\install.exe", "C:"},
        {"D:\\a b\\c\\update.exe", "D:\\a b\\c"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
}

namespace {

// Runs common_probe copied into the given folder and returns what it prints.
std::string ProbeFrom(const std::wstring& folder, const std::wstring& verb,
                      const std::vector<std::wstring>& environment = {})
{
    std::wstring probe = folder + L"\\common_probe.exe";
    EXPECT_TRUE(CopyFileTo(BinFile(L"common_probe.exe"), probe));
    ChildProcess child;
    ChildProcess::Options options;
    options.captureOutput = true;
    options.environment = environment;
    EXPECT_TRUE(child.Start(probe, verb, options));
    EXPECT_TRUE(child.WaitForExit(20000));
    return child.Output();
}

}  // namespace

TEST(GetProgramFolder, IsTheRunningProgramsFolderWithoutTrailingSeparator)
{
    ScopedTempFolder temp;
    std::wstring folder = temp / L"kit folder";
    CreateFolders(folder);
    EXPECT_EQ(FromUtf8(ProbeFrom(folder, L"folder")), folder);
}

TEST(GetProgramFolder, PathLongerThan256BytesIsNotCut)
{
    // 258 characters in all: past the old 256-byte buffer, within what
    // Windows starts a program from.
    ScopedTempFolder temp;
    std::wstring folder = temp.Path();
    while (folder.size() < 220)
        folder += L"\\long-folder-name";
    folder += L"\\" + std::wstring(240 - folder.size() - 1, L'z');
    ASSERT_EQ((folder + L"\\common_probe.exe").size(), 257u);
    CreateFolders(folder);
    EXPECT_EQ(FromUtf8(ProbeFrom(folder, L"folder")), folder);
}

// Run by CTest a second time under a Chinese locale (see CMakeLists.txt):
// Wine gives a process the code page of the locale it was started in.
TEST(CodePage936, DoubleByteCharacterEndingIn0x5CIsNoSeparator)
{
    if (GetACP() != 936)
        GTEST_SKIP() << "needs code page 936";
    // 癨 is B0 5C and 淺 is 9C 5C in code page 936: a byte-wise search would
    // cut the folder inside them.
    ScopedTempFolder temp;
    std::wstring folder = temp / L"产品\x7668\x6DFA";
    CreateFolders(folder);
    EXPECT_EQ(FromUtf8(ProbeFrom(folder, L"folder")), folder);

    std::string ansi = "C:\\\xB0\x5C\\x.exe";  // C:\癨\x.exe
    EXPECT_EQ(FolderOfPath(ansi), "C:\\\xB0\x5C");
}
