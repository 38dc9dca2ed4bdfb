#include "windows_version.h"

#include <gtest/gtest.h>

namespace {

struct VersionCase {
    const char* name;
    DWORD platform;
    DWORD major;
    DWORD minor;
    bool xp;
};
void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.name; }


class WindowsXP : public testing::TestWithParam<VersionCase> {};

TEST_P(WindowsXP, OnlyNtFiveOneIsRefused)
{
    EXPECT_EQ(IsWindowsXPVersion(GetParam().platform, GetParam().major, GetParam().minor),
              GetParam().xp);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, WindowsXP,
    testing::Values(VersionCase{"XP", VER_PLATFORM_WIN32_NT, 5, 1, true},
                    VersionCase{"Windows2000", VER_PLATFORM_WIN32_NT, 5, 0, false},
                    VersionCase{"XPx64AndServer2003", VER_PLATFORM_WIN32_NT, 5, 2, false},
                    VersionCase{"Vista", VER_PLATFORM_WIN32_NT, 6, 0, false},
                    VersionCase{"Windows7", VER_PLATFORM_WIN32_NT, 6, 1, false},
                    VersionCase{"Windows10", VER_PLATFORM_WIN32_NT, 10, 0, false},
                    VersionCase{"Windows9xFamily", VER_PLATFORM_WIN32_WINDOWS, 5, 1, false}),
    [](const testing::TestParamInfo<VersionCase>& info) { return info.param.name; });

TEST(WindowsXP, TheTestPrefixIsNotXP)
{
    // The prefix reports Windows 7 unless a test switches a program to XP.
    EXPECT_FALSE(IsWindowsXP());
}

}  // namespace
