#include "install_location.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

struct DriveCase {
    const char* name;
    const wchar_t* route;
    const wchar_t* drivePart;
    const wchar_t* letter;
};
void PrintTo(const DriveCase& c, std::ostream* os) { *os << c.name; }


class DriveOfRoute : public testing::TestWithParam<DriveCase> {};

TEST_P(DriveOfRoute, PartBeforeFirstBackslashLetterBeforeFirstColon)
{
    std::wstring drive = DrivePartOf(GetParam().route);
    EXPECT_EQ(drive, GetParam().drivePart);
    EXPECT_EQ(DriveLetterOf(drive), GetParam().letter);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, DriveOfRoute,
    testing::Values(DriveCase{"DefaultRoute", L"C:\\Program Files (x86)", L"C:", L"C"},
                    DriveCase{"DriveOnly", L"E:", L"E:", L"E"},
                    DriveCase{"NoColonNoBackslash", L"abc", L"abc", L"abc"},
                    DriveCase{"Empty", L"", L"", L""},
                    DriveCase{"DriveRoot", L"D:\\", L"D:", L"D"},
                    DriveCase{"FilePicked", L"D:\\setup.txt", L"D:", L"D"},
                    DriveCase{"LaterColon", L"Z:\\a\\b:c\\d", L"Z:", L"Z"},
                    DriveCase{"UncPath", L"\\\\server\\share", L"", L""},
                    DriveCase{"NonAsciiDrive", L"中文盘:\\路径", L"中文盘:", L"中文盘"}),
    [](const testing::TestParamInfo<DriveCase>& info) { return info.param.name; });

constexpr uint64_t kMiB = 1024ull * 1024;
constexpr uint64_t kGiB = 1024ull * kMiB;

struct SpaceCase {
    const char* name;
    bool known;
    uint64_t bytes;
    const wchar_t* text;
};
void PrintTo(const SpaceCase& c, std::ostream* os) { *os << c.name; }


class FreeSpace : public testing::TestWithParam<SpaceCase> {};

TEST_P(FreeSpace, WholeGibibytesCutTowardZero)
{
    EXPECT_EQ(FreeSpaceText(GetParam().known, GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, FreeSpace,
    testing::Values(SpaceCase{"Fraction123_9GiB", true, 123 * kGiB + 9 * kGiB / 10, L"123G"},
                    SpaceCase{"Mib1023", true, 1023 * kMiB, L"0G"},
                    SpaceCase{"OneByteShortOfGiB", true, kGiB - 1, L"0G"},
                    SpaceCase{"ExactlyOneGiB", true, kGiB, L"1G"},
                    SpaceCase{"Nothing", true, 0, L"0G"},
                    SpaceCase{"Above4TiB", true, 4096 * kGiB + 1, L"4096G"},
                    SpaceCase{"QueryFailed", false, 50 * kGiB, L"0G"},
                    // Beyond what the label's integer holds: the largest it can show.
                    SpaceCase{"BeyondInt32", true, UINT64_MAX, L"2147483647G"}),
    [](const testing::TestParamInfo<SpaceCase>& info) { return info.param.name; });

TEST(FormatFreeSpace, ShowsTheSpaceTheUserCanUseOnTheDrive)
{
    ULARGE_INTEGER before = {}, after = {};
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:", &before, nullptr, nullptr));
    std::wstring text = FormatFreeSpace(L"C:");
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:", &after, nullptr, nullptr));
    // Other processes may write meanwhile: one of the two readings.
    EXPECT_TRUE(text == FreeSpaceText(true, before.QuadPart) ||
                text == FreeSpaceText(true, after.QuadPart))
        << testing::PrintToString(text);
    EXPECT_NE(text, L"0G");
}

TEST(FormatFreeSpace, UnknownVolumeGivesZero)
{
    EXPECT_EQ(FormatFreeSpace(L"Q:"), L"0G");
    EXPECT_EQ(FormatFreeSpace(L"no such folder"), L"0G");
}

}  // namespace
