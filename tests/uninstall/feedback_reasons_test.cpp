#include "uninstall/feedback_reasons.h"

#include <gtest/gtest.h>

namespace {

struct ReasonCase {
    const char* name;
    bool changeError, repeatMore, unchangedIP;
    const wchar_t* other;
    const wchar_t* reason;
};

const ReasonCase kReasons[] = {
    {"NothingGivenIsEmpty", false, false, false, L"", L""},
    {"OnlySecond", false, true, false, L"", L"重复IP太多"},
    {"FirstAndThird", true, false, true, L"", L"切换IP失败,不能自动换IP"},
    {"OnlyOther", false, false, false, L"abc", L"abc"},
    {"AllAndOther", true, true, true, L"abc", L"切换IP失败,重复IP太多,不能自动换IP,abc"},
    {"FirstAndChineseOther", true, false, false, L"太慢了", L"切换IP失败,太慢了"},
    {"OtherWithCommasAndLinesUnchanged", false, true, false, L"a,b\r\nc ", L"重复IP太多,a,b\r\nc "},
    {"OtherOfBlanksIsKept", false, false, true, L"  ", L"不能自动换IP,  "},
};

void PrintTo(const ReasonCase& c, std::ostream* out)
{
    *out << c.name;
}

class JoinReasonsTable : public testing::TestWithParam<ReasonCase> {};

TEST_P(JoinReasonsTable, JoinsTickedPhrasesAndTheOtherReasonWithCommas)
{
    const ReasonCase& c = GetParam();
    EXPECT_EQ(JoinReasons(c.changeError, c.repeatMore, c.unchangedIP, c.other), c.reason);
}

INSTANTIATE_TEST_SUITE_P(Reasons, JoinReasonsTable, testing::ValuesIn(kReasons),
                         [](const testing::TestParamInfo<ReasonCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(ReasonPhrases, AreTheFixedTexts)
{
    EXPECT_STREQ(kReasonChangeError, L"\x5207\x6362IP\x5931\x8D25");
    EXPECT_STREQ(kReasonRepeatMore, L"\x91CD\x590DIP\x592A\x591A");
    EXPECT_STREQ(kReasonUnchangedIP, L"\x4E0D\x80FD\x81EA\x52A8\x6362IP");
}

}  // namespace
