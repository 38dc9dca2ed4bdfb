#include "feedback_http/http_encoder.h"
#include "feedback_http/http_errors.h"
#include "feedback_http/http_tool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Kesto;

namespace {

std::string Encode(const wchar_t* text, bool useUtf8, UINT codePage = CP_ACP)
{
    DWORD length = CHttpEncoderW::UrlEncodeLenA(text, useUtf8, codePage);
    std::vector<char> buffer(length + 1, '\x7F');
    CHttpEncoderW::UrlEncodeA(text, buffer.data(), useUtf8, codePage);
    EXPECT_EQ(buffer[length], '\0') << "the encoding fills exactly the length it announced";
    return std::string(buffer.data());
}

struct EncodeCase {
    const wchar_t* text;
    bool useUtf8;
    UINT codePage;
    const char* encoded;
};

const EncodeCase kCases[] = {
    {L"a b", true, CP_ACP, "a+b"},
    {L"-_.~*", true, CP_ACP, "%2D%5F%2E%7E%2A"},
    {L"\u00E9", true, CP_ACP, "%C3%A9"},
    {L"切换IP失败,不能自动换IP", true, CP_ACP,
     "%E5%88%87%E6%8D%A2IP%E5%A4%B1%E8%B4%A5%2C%E4%B8%8D%E8%83%BD%E8%87%AA%E5%8A%A8%E6%8D%A2IP"},
    {L"AZaz09", true, CP_ACP, "AZaz09"},
    {L"+%&=/?#", true, CP_ACP, "%2B%25%26%3D%2F%3F%23"},
    {L"\r\n\t", true, CP_ACP, "%0D%0A%09"},
    {L"", true, CP_ACP, ""},
    // Without UTF-8 the code page decides the bytes.
    {L"\u00E9", false, 1252, "%E9"},
    {L"切", false, 936, "%C7%D0"},
    // Each half of a surrogate pair is converted alone, never joined.
    {L"\U0001F600", true, CP_ACP, "%EF%BF%BD%EF%BF%BD"},
};

}  // namespace

TEST(UrlEncoder, EncodesEachTextAsItsTableSays)
{
    for (const EncodeCase& c : kCases) {
        SCOPED_TRACE(c.encoded);
        EXPECT_EQ(Encode(c.text, c.useUtf8, c.codePage), c.encoded);
        EXPECT_EQ(CHttpEncoderW::UrlEncodeLenA(c.text, c.useUtf8, c.codePage),
                  std::string(c.encoded).size());
    }
}

TEST(UrlEncoder, NamesKeepTheUnreservedMarks)
{
    struct NameCase {
        const wchar_t* name;
        const char* encoded;
    } cases[] = {
        {L"sys_info", "sys_info"},
        {L"-_.~*", "-_.~%2A"},
        {L"a b&c=d", "a+b%26c%3Dd"},
        {L"\u00E9", "%C3%A9"},
        {L"", ""},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.encoded);
        DWORD length = CHttpEncoderW::UrlEncodeNameLenA(c.name, true, CP_ACP);
        std::vector<char> buffer(length + 1, '\x7F');
        CHttpEncoderW::UrlEncodeNameA(c.name, buffer.data(), true, CP_ACP);
        EXPECT_EQ(std::string(buffer.data()), c.encoded);
        EXPECT_EQ(length, std::string(c.encoded).size());
    }
}

TEST(UrlEncoder, TheLongChineseExampleIs88Bytes)
{
    EXPECT_EQ(CHttpEncoderW::UrlEncodeLenA(L"切换IP失败,不能自动换IP", true, CP_ACP), 88u);
}

TEST(UrlEncoder, AnAbsentTextHasLengthZeroAndEncodesToEmpty)
{
    EXPECT_EQ(CHttpEncoderW::UrlEncodeLenA(nullptr, true, CP_ACP), 0u);
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(CHttpEncoderW::UrlEncodeA(nullptr, buffer, true, CP_ACP), buffer);
    EXPECT_EQ(buffer[0], '\0');
}

TEST(UrlEncoder, NarrowBytesEncodeTheSameWay)
{
    EXPECT_EQ(CHttpEncoderW::_UrlEncodeLen("a b-\xC3\xA9"), 12u);
    char buffer[16];
    char* end = CHttpEncoderW::_UrlEncode("a b-\xC3\xA9", buffer);
    EXPECT_STREQ(buffer, "a+b%2D%C3%A9");
    EXPECT_EQ(end, buffer + 12);
}

TEST(UrlEncoder, AbsentBuffersAreArgumentErrors)
{
    try {
        CHttpEncoderW::UrlEncodeA(L"a", nullptr, true, CP_ACP);
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_STREQ(error.GetMessageText(), L"CHttpEncoderW::UrlEncodeA: szBuff can not be NULL.");
        EXPECT_EQ(error.GetCode(), 0u);
    }
    try {
        CHttpEncoderW::_UrlEncodeLen(nullptr);
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_STREQ(error.GetMessageText(), L"_UrlEncodeLen: szStr can not be NULL.");
    }
}

TEST(CodePageConversion, ConvertsBothWaysAndRefusesUtf8AndUtf7)
{
    EXPECT_STREQ(CHttpToolW::Unicode2Ansi(936, L"切IP").get(), "\xC7\xD0IP");
    EXPECT_STREQ(CHttpToolW::Unicode2Ansi(CP_ACP, L"").get(), "");
    EXPECT_EQ(CHttpToolW::Unicode2Ansi(CP_ACP, nullptr), nullptr);
    EXPECT_STREQ(CHttpToolW::Ansi2Unicode("abc").get(), L"abc");
    EXPECT_EQ(CHttpToolW::Ansi2Unicode(nullptr), nullptr);

    for (UINT refused : {65001u, 65000u}) {
        try {
            CHttpToolW::Unicode2Ansi(refused, L"abc");
            FAIL() << "not raised";
        } catch (const httpclientexceptionW& error) {
            EXPECT_STREQ(error.GetMessageText(),
                         L"CHttpToolW::Unicode2Ansi: CP_UTF8 and CP_UTF7 can not be used for the "
                         L"CodePage parameter.");
            EXPECT_EQ(error.GetCode(), 0u);
        }
    }
}

TEST(CodePageConversion, APlatformFailureIsError600WithTheLastError)
{
    try {
        CHttpToolW::Unicode2Ansi(1200, L"abc");  // UTF-16 is no target of WideCharToMultiByte
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_EQ(error.GetCode(), 600u);
        EXPECT_STREQ(error.GetMessageText(), L"::WideCharToMultiByte failed.");
        EXPECT_NE(error.GetSystemError(), 0u);
    }
}
