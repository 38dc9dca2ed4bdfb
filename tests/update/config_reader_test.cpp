// The reader of "tallmere.cnf" on files as the product may hold them.
#include "common/text_conversion.h"
#include "test_files.h"
#include "update/config_reader.h"

#include <gtest/gtest.h>

namespace {

std::string ReadFrom(const std::string& contents, const std::string& before = "")
{
    ScopedTempFolder temp(L"config");
    std::wstring path = temp / L"tallmere.cnf";
    EXPECT_TRUE(WriteFileBytes(path, contents));
    std::string ansi;
    EXPECT_TRUE(WideToAnsi(path, ansi));
    std::string value = before;
    ReadDownloadPath(ansi, value);
    return value;
}

}  // namespace

TEST(ReadDownloadPath, TakesTheValueOfTheLastDownloadPathLine)
{
    const std::string longLine(1024, 'x');
    struct Case {
        const char* what;
        std::string contents;
        std::string expected;
    } cases[] = {
        {"one line", "download_path http://a/update.zip\n", "http://a/update.zip"},
        {"last wins", "download_path http://a/1.zip\ndownload_path http://b/2.zip\n",
         "http://b/2.zip"},
        {"key in capitals", "Download_Path http://a/update.zip\n", ""},
        {"equals sign", "download_path=http://a/update.zip\n", ""},
        {"further words", "download_path   http://a/update.zip more words\n",
         "http://a/update.zip"},
        {"leading blanks and tabs", " \t  download_path http://a/x.zip\n", "http://a/x.zip"},
        {"tab between", "download_path\thttp://a/x.zip\n", "http://a/x.zip"},
        {"no line end", "other 1\ndownload_path http://a/x.zip", "http://a/x.zip"},
        {"CR LF", "download_path http://a/x.zip\r\nother 2\r\n", "http://a/x.zip"},
        {"other keys", "server http://other/\ndownload_pathx http://a/\n", ""},
        {"empty and blank lines", "\n   \n\t\ndownload_path http://a/x.zip\n\n", "http://a/x.zip"},
        {"long line hides what follows", longLine + "\ndownload_path http://a/x.zip\n", ""},
        {"long line keeps what came before",
         "download_path http://a/1.zip\n" + longLine + "\ndownload_path http://b/2.zip\n",
         "http://a/1.zip"},
        {"1023 characters still fit",
         std::string(1023, 'y') + "\ndownload_path http://a/x.zip\n", "http://a/x.zip"},
        {"1023 characters and CR LF still fit",
         std::string(1023, 'y') + "\r\ndownload_path http://a/x.zip\r\n", "http://a/x.zip"},
        {"long last line without end", "download_path http://a/1.zip\n" + longLine, "http://a/1.zip"},
        {"empty file", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadFrom(c.contents), c.expected) << c.what;
}

TEST(ReadDownloadPath, KeyWithoutValueOrNoFileLeavesTheAddress)
{
    EXPECT_EQ(ReadFrom("download_path\n", "http://before/"), "http://before/");
    EXPECT_EQ(ReadFrom("download_path   \t\r\n", "http://before/"), "http://before/");
    EXPECT_EQ(ReadFrom("download_path http://new/\ndownload_path\n", "http://before/"),
              "http://new/");
    std::string value = "http://before/";
    ReadDownloadPath("C:\\no such folder\\tallmere.cnf", value);
    EXPECT_EQ(value, "http://before/");
    value.clear();
    ReadDownloadPath("C:\\no such folder\\tallmere.cnf", value);
    EXPECT_EQ(value, "");
}

TEST(ReadDownloadPath, FileHeldOpenByAnotherWriterIsStillRead)
{
    ScopedTempFolder temp(L"config");
    std::wstring path = temp / L"tallmere.cnf";
    ASSERT_TRUE(WriteFileBytes(path, "download_path http://a/x.zip\n"));
    HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    std::string ansi;
    ASSERT_TRUE(WideToAnsi(path, ansi));
    std::string value;
    ReadDownloadPath(ansi, value);
    CloseHandle(writer);
    EXPECT_EQ(value, "http://a/x.zip");
}
