#include "uninstall/day_count.h"

#include <gtest/gtest.h>

namespace {

struct DayCountCase {
    const char* name;
    double installTime;
    double currentTime;
    const wchar_t* text;
};

const DayCountCase kDayCounts[] = {
    {"SameUtcDay", 1700000000, 1700006399, L"0"},
    {"SameInstant", 1700000000, 1700000000, L"0"},
    {"OneSecondAcrossMidnight", 1700006399, 1700006400, L"1"},
    {"MoreThan25HoursStillOneMidnight", 1700000000, 1700092799, L"1"},
    {"ThirtyDays", 1700000000, 1700000000 + 30 * 86400.0, L"30"},
    {"ClockSetBack", 1700006400, 1700006399, L"-1"},
    {"ClockSetBackTenDays", 1700000000 + 10 * 86400.0, 1700000000, L"-10"},
    {"EpochStart", 0, 86399, L"0"},
    // Times before 1970 truncate toward zero, as the record allows them.
    {"NegativeInstallTimeTruncatesTowardZero", -86399, 86400, L"1"},
    {"WrappedRecordAfter2038", -2147483648.0, 2147483647.0, L"49710"},
};

void PrintTo(const DayCountCase& c, std::ostream* out)
{
    *out << c.name;
}

class FormatDayCountTable : public testing::TestWithParam<DayCountCase> {};

TEST_P(FormatDayCountTable, CountsUtcMidnights)
{
    const DayCountCase& c = GetParam();
    EXPECT_EQ(FormatDayCount(c.installTime, c.currentTime), c.text);
}

INSTANTIATE_TEST_SUITE_P(DayCount, FormatDayCountTable, testing::ValuesIn(kDayCounts),
                         [](const testing::TestParamInfo<DayCountCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
