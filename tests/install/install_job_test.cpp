#include "install_job.h"

#include <gtest/gtest.h>

namespace {

struct CopyCase {
    const char* name;
    const char* route;
    const char* command;
};
void PrintTo(const CopyCase& c, std::ostream* os) { *os << c.name; }


class CopyCommand : public testing::TestWithParam<CopyCase> {};

TEST_P(CopyCommand, QuotesSourceAndDestinationWithTwoBlanksAround)
{
    EXPECT_EQ(BuildCopyCommand("D:\\kit", GetParam().route), GetParam().command);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, CopyCommand,
    testing::Values(
        CopyCase{"DefaultRoute", "C:\\Program Files (x86)",
                 "Xcopy \"D:\\kit\\Vemora\"  \"C:\\Program Files (x86)\\Vemora\"  /e /i /h /y"},
        // A drive root keeps its backslash: the destination gets two.
        CopyCase{"DriveRoot", "D:\\", "Xcopy \"D:\\kit\\Vemora\"  \"D:\\\\Vemora\"  /e /i /h /y"},
        CopyCase{"EmptyRoute", "", "Xcopy \"D:\\kit\\Vemora\"  \"\\Vemora\"  /e /i /h /y"},
        CopyCase{"Blanks", "E:\\my apps\\with  two blanks",
                 "Xcopy \"D:\\kit\\Vemora\"  \"E:\\my apps\\with  two blanks\\Vemora\"  /e /i /h /y"},
        // Longer than the 31 characters a fixed buffer would keep: all of it.
        CopyCase{"LongerThan31", "C:\\Users\\Public\\Applications\\Proxy Clients\\Morvane Desktop",
                 "Xcopy \"D:\\kit\\Vemora\"  "
                 "\"C:\\Users\\Public\\Applications\\Proxy Clients\\Morvane Desktop\\Vemora\"  "
                 "/e /i /h /y"}),
    [](const testing::TestParamInfo<CopyCase>& info) { return info.param.name; });

TEST(CopyCommand, ProgramFolderWithBlanksStaysOneQuotedSource)
{
    EXPECT_EQ(BuildCopyCommand("C:\\Users\\me\\Downloads\\Morvane kit", "C:\\Apps"),
              "Xcopy \"C:\\Users\\me\\Downloads\\Morvane kit\\Vemora\"  \"C:\\Apps\\Vemora\"  "
              "/e /i /h /y");
}

TEST(SetupCommand, IsTheQuotedScriptPathAlone)
{
    EXPECT_EQ(BuildSetupCommand("D:\\kit"), "\"D:\\kit/Install/setup.bat\"");
    EXPECT_EQ(BuildSetupCommand("C:\\Program Files\\kit"),
              "\"C:\\Program Files\\kit/Install/setup.bat\"");
}

}  // namespace
