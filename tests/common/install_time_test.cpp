#include "common/install_time.h"

#include "test_files.h"

#include <gtest/gtest.h>

namespace {

std::string AnsiPath(const std::wstring& path)
{
    char buffer[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

}  // namespace

TEST(WriteInstallTimeFile, WritesTheTwentyFourByteRecord)
{
    ScopedTempFolder temp;
    std::wstring path = temp / L"InstallTime.txt";
    ASSERT_TRUE(WriteInstallTimeFile(AnsiPath(path), 1700000000));
    EXPECT_EQ(ReadFileBytes(path), std::string("installtime 1700000000\r\n"));
    EXPECT_EQ(ReadFileBytes(path).size(), 24u);

    ASSERT_TRUE(WriteInstallTimeFile(AnsiPath(path), -5));  // replaces, never appends
    EXPECT_EQ(ReadFileBytes(path), std::string("installtime -5\r\n"));
}

TEST(WriteInstallTimeFile, MissingFolderWritesNothing)
{
    ScopedTempFolder temp;
    EXPECT_FALSE(WriteInstallTimeFile(AnsiPath(temp / L"Vemora\\InstallTime.txt"), 1));
    EXPECT_FALSE(FolderExists(temp / L"Vemora"));
}

TEST(ReadInstallTimeFile, TableOfRecords)
{
    const std::string longLine(1500, 'x');
    struct Case {
        const char* name;
        std::string content;
        int32_t expected;  // 7 stands for "left untouched"
    } cases[] = {
        {"record as written", "installtime 1700000000\r\n", 1700000000},
        {"last line without line end", "installtime 1700000000", 1700000000},
        {"leading blanks and tabs", " \t installtime     42\r\n", 42},
        {"wrong case", "InstallTime 42\r\n", 7},
        {"trailing letters end the number", "installtime 17000abc\r\n", 17000},
        {"no digits", "installtime abc\r\n", 7},
        {"eleven digits", "installtime 17000000000\r\n", 7},
        {"beyond int32 by one", "installtime 2147483648\r\n", 7},
        {"int32 minimum", "installtime -2147483648\r\n", INT32_MIN},
        {"negative", "installtime -5\r\n", -5},
        {"second line wins", "installtime 1\r\ninstalltime 2\r\n", 2},
        {"other keys skipped", "\r\nversion 3\r\ninstalltime 9\r\n", 9},
        {"key joined to value", "installtime=5\r\n", 7},
        {"empty file", "", 7},
        {"first line over 1023 characters", longLine + "\r\ninstalltime 5\r\n", 7},
        {"line of exactly 1023 characters", std::string(1023, 'y') + "\ninstalltime 5\n", 5},
        {"earlier value survives a long line", "installtime 3\r\n" + longLine + "\r\ninstalltime 5\r\n", 3},
        {"NUL bytes", std::string("installtime 4\0 9\r\n", 17), 4},
        {"NUL inside a line too long", std::string("installtime 4\0", 14) + longLine + "\ninstalltime 9\n", 7},
        {"CR only line ends", "installtime 6\rinstalltime 8\r", 6},
    };
    ScopedTempFolder temp;
    std::wstring path = temp / L"InstallTime.txt";
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileBytes(path, c.content));
        int32_t target = 7;
        ReadInstallTimeFile(AnsiPath(path), target);
        EXPECT_EQ(target, c.expected) << c.name;
    }
}

TEST(ReadInstallTimeFile, MissingFileLeavesTargetUntouched)
{
    ScopedTempFolder temp;
    int32_t target = 123;
    ReadInstallTimeFile(AnsiPath(temp / L"none.txt"), target);
    EXPECT_EQ(target, 123);
}
