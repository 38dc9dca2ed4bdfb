#include "feedback_http/guarded_arithmetic.h"
#include "feedback_http/http_errors.h"
#include "feedback_http/http_tool.h"

#include <gtest/gtest.h>

#include <string>

using namespace Kesto;

namespace {

struct CodeText {
    DWORD code;
    const char* text;  // nullptr: the code has no text
};

const CodeText kCodeTexts[] = {
    {0, "Not specified"},
    {100, "Unexpected error occurred."},
    {101, "The index is out of range."},
    {102, "Out of memory."},
    {103, "The requested URL is not a valid URL."},
    {104, "The post context is not started yet."},
    {105, "Couldn't read expected bytes from a file."},
    {106, "The post context has not been finished yet."},
    {107, "The port number is not valid."},
    {108, "std::exception occurred."},
    {109, "The encoded URL is not valid."},
    {110, "The UTF8 string contains an invalid character."},
    {111, "An unexpected arithmetic error has been occurred."},
    {112, "An arithmetic overflow error has been occurred."},
    {113, "An interger divide by zero exception has been occurred."},
    {114, "The file (%s) aleady exists."},
    {200, ""},
    {300, ""},
    {400, "::HttpQueryInfo failed."},
    {401, "::InternetReadFile failed."},
    {402, "::InternetOpen failed."},
    {403, "::InternetConnect failed."},
    {404, "::HttpOpenRequest failed."},
    {405, "::HttpAddRequestHeaders failed."},
    {406, "::HttpSendRequest failed."},
    {407, "::HttpSendRequestEx failed."},
    {408, "::InternetWriteFile failed."},
    {409, "::HttpEndRequest failed."},
    {410, "::InternetSetOption failed."},
    {600, "::WideCharToMultiByte failed."},
    {601, "::MultiByteToWideChar failed."},
    {602, "::ReadFile failed."},
    {603, "OpenFile (::CreateFile) failed (\"%s\")."},
    {604, "::SetFilePointer failed."},
    {605, "::GetFileSize failed (\"%s\")."},
    {606, "::WriteFile failed (\"%s\")."},
    {1000, "user-defined error message"},
    {4000000000u, "user-defined error message"},
    // Each block is indexed by the last two digits of the code.
    {500, "::HttpQueryInfo failed."},
    {510, "::InternetSetOption failed."},
    {700, "::WideCharToMultiByte failed."},
    {906, "::WriteFile failed (\"%s\")."},
    // Entries outside their block have no text.
    {1, nullptr},
    {99, nullptr},
    {115, nullptr},
    {199, nullptr},
    {201, nullptr},
    {399, nullptr},
    {411, nullptr},
    {599, nullptr},
    {607, nullptr},
    {999, nullptr},
};

std::wstring Wide(const char* text)
{
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

}  // namespace

TEST(ErrorTexts, EveryCodeHasItsTextInBothWidths)
{
    for (const CodeText& entry : kCodeTexts) {
        SCOPED_TRACE(entry.code);
        if (entry.text == nullptr) {
            EXPECT_EQ(ErrorTextA(entry.code), nullptr);
            EXPECT_EQ(ErrorTextW(entry.code), nullptr);
            continue;
        }
        ASSERT_NE(ErrorTextA(entry.code), nullptr);
        ASSERT_NE(ErrorTextW(entry.code), nullptr);
        EXPECT_STREQ(ErrorTextA(entry.code), entry.text);
        EXPECT_EQ(std::wstring(ErrorTextW(entry.code)), Wide(entry.text));
    }
}

TEST(HttpClientException, RaisedByCodeCarriesTheTextCodeAndLastError)
{
    try {
        httpclientexceptionW::RaiseCode(402, ERROR_INTERNET_NAME_NOT_RESOLVED);
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_STREQ(error.GetMessageText(), L"::InternetOpen failed.");
        EXPECT_EQ(error.GetCode(), 402u);
        EXPECT_EQ(error.GetSystemError(), static_cast<DWORD>(ERROR_INTERNET_NAME_NOT_RESOLVED));
        EXPECT_STREQ(error.what(), "httpclientexceptionW");
    }
}

TEST(HttpClientException, AnArgumentCheckHasCodeZeroAndItsOwnMessage)
{
    try {
        CHttpToolW::EndRequest(nullptr);
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_STREQ(error.GetMessageText(), L"CHttpToolW::EndRequest: hRequest can not be NULL.");
        EXPECT_EQ(error.GetCode(), 0u);
        EXPECT_EQ(error.GetSystemError(), 0u);
    }
}

TEST(HttpClientException, NarrowClassReportsItsMessageThroughWhat)
{
    try {
        httpclientexceptionA::RaiseCode(404, 12);
        FAIL() << "not raised";
    } catch (const httpclientexceptionA& error) {
        EXPECT_STREQ(error.what(), "::HttpOpenRequest failed.");
        EXPECT_STREQ(error.GetMessageText(), "::HttpOpenRequest failed.");
        EXPECT_EQ(error.GetCode(), 404u);
        EXPECT_EQ(error.GetSystemError(), 12u);
    }
    try {
        httpclientexceptionA::RaiseMessage("CHttpToolA::AddHeader: szName can not be NULL.");
        FAIL() << "not raised";
    } catch (const httpclientexceptionA& error) {
        EXPECT_STREQ(error.what(), "CHttpToolA::AddHeader: szName can not be NULL.");
        EXPECT_EQ(error.GetCode(), 0u);
    }
}

TEST(HttpClientException, NarrowMessageIsConvertedForTheWideClass)
{
    try {
        httpclientexceptionW::RaiseNarrowMessage("CHttpToolW::AddHeader: szName can not be NULL.",
                                                 405, 7);
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_STREQ(error.GetMessageText(), L"CHttpToolW::AddHeader: szName can not be NULL.");
        EXPECT_EQ(error.GetCode(), 405u);
        EXPECT_EQ(error.GetSystemError(), 7u);
    }
}

TEST(HttpClientException, CopiesKeepAnAbsentMessageAbsent)
{
    httpclientexceptionW wide(nullptr, 403, 5);
    httpclientexceptionW wideCopy(wide);
    EXPECT_STREQ(wideCopy.GetMessageText(), L"NULL");
    EXPECT_EQ(wideCopy.GetCode(), 403u);
    EXPECT_EQ(wideCopy.GetSystemError(), 5u);

    httpclientexceptionA narrow(nullptr, 404, 6);
    httpclientexceptionA narrowCopy(narrow);
    EXPECT_STREQ(narrowCopy.GetMessageText(), "NULL");
    EXPECT_STREQ(narrowCopy.what(), "NULL");
    EXPECT_EQ(narrowCopy.GetCode(), 404u);
    EXPECT_EQ(narrowCopy.GetSystemError(), 6u);
}

TEST(HttpClientException, CopiesOwnTheirMessage)
{
    httpclientexceptionW original(L"first", 1, 2);
    httpclientexceptionW copy(original);
    original.SetMessageText(L"changed");
    EXPECT_STREQ(copy.GetMessageText(), L"first");

    copy = httpclientexceptionW(nullptr, 3, 4);
    EXPECT_STREQ(copy.GetMessageText(), L"NULL");

    errmsg_exceptionW plain(L"text");
    EXPECT_STREQ(plain.what(), "errmsg_exceptionW");
    plain.SetMessageText(nullptr);
    EXPECT_STREQ(plain.GetMessageText(), L"NULL");
}

TEST(HttpClientException, ArithmeticFailuresMapToTheirCodes)
{
    struct Case {
        DWORD status;
        DWORD code;
        const wchar_t* text;
    } cases[] = {
        {ERROR_ARITHMETIC_OVERFLOW, 112, L"An arithmetic overflow error has been occurred."},
        {0xC0000094, 113, L"An interger divide by zero exception has been occurred."},
        {ERROR_ACCESS_DENIED, 111, L"An unexpected arithmetic error has been occurred."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        try {
            httpclientexceptionW::RaiseArithmetic(c.status);
            FAIL() << "not raised";
        } catch (const httpclientexceptionW& error) {
            EXPECT_EQ(error.GetCode(), c.code);
            EXPECT_STREQ(error.GetMessageText(), c.text);
            EXPECT_EQ(error.GetSystemError(), 0u);
        }
        try {
            httpclientexceptionA::RaiseArithmetic(c.status);
            FAIL() << "not raised";
        } catch (const httpclientexceptionA& error) {
            EXPECT_EQ(error.GetCode(), c.code);
        }
    }
}

TEST(GuardedArithmetic, SumsPastThirtyTwoBitsRaiseOverflow)
{
    EXPECT_EQ(GuardedAdd(MAXDWORD - 1, 1), MAXDWORD);
    try {
        GuardedAdd(MAXDWORD, 1);
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_EQ(error.GetCode(), 112u);
    }
    EXPECT_THROW(GuardedAddA(0x80000000u, 0x80000000u), httpclientexceptionA);
}
