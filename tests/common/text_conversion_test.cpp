#include "common/text_conversion.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <climits>

TEST(IntToWide, DecimalTextWithoutPaddingOrGrouping)
{
    EXPECT_EQ(IntToWide(0), L"0");
    EXPECT_EQ(IntToWide(-5), L"-5");
    EXPECT_EQ(IntToWide(2147483647), L"2147483647");
    EXPECT_EQ(IntToWide(INT32_MIN), L"-2147483648");
    EXPECT_EQ(IntToWide(1234567), L"1234567");
}

TEST(AnsiToWide, EmptyTextConvertsToEmptyText)
{
    std::wstring out = L"old";
    EXPECT_TRUE(AnsiToWide("", out));
    EXPECT_EQ(out, L"");
}

TEST(AnsiToWide, RoundTripsPlainPath)
{
    std::wstring wide;
    ASSERT_TRUE(AnsiToWide("C:\\Program Files (x86)\\Vemora", wide));
    EXPECT_EQ(wide, L"C:\\Program Files (x86)\\Vemora");
    std::string ansi;
    ASSERT_TRUE(WideToAnsi(wide, ansi));
    EXPECT_EQ(ansi, "C:\\Program Files (x86)\\Vemora");
}

TEST(WideToAnsi, CharacterOutsideTheCodePageBecomesTheDefaultCharacter)
{
    // U+10348 (a surrogate pair) exists in no ANSI code page, 936 included.
    std::string out;
    ASSERT_TRUE(WideToAnsi(L"a\xD800\xDF48z", out));
    BOOL usedDefault = FALSE;
    char expected[16] = {};
    WideCharToMultiByte(CP_ACP, 0, L"a\xD800\xDF48z", -1, expected, sizeof expected, nullptr,
                        &usedDefault);
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(out, expected);
    EXPECT_EQ(out.front(), 'a');
    EXPECT_EQ(out.back(), 'z');
    EXPECT_NE(out.find('?'), std::string::npos);
}
