#include "feedback_http/http_errors.h"
#include "feedback_http/http_tool.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace Kesto;

namespace {

// Never handed to WinINet: each check must refuse before any platform call.
HINTERNET const kSomeHandle = reinterpret_cast<HINTERNET>(static_cast<uintptr_t>(0x1234));
const BYTE kByte = 'x';

struct CheckCase {
    const wchar_t* message;
    std::function<void()> call;
};

}  // namespace

TEST(HttpToolW, ArgumentChecksRefuseInArgumentOrder)
{
    const CheckCase cases[] = {
        {L"CHttpToolW::OpenConnection: hInternet can not be NULL.",
         [] { CHttpToolW::OpenConnection(nullptr, nullptr, 80); }},
        {L"CHttpToolW::OpenConnection: szServerAddr can not be NULL.",
         [] { CHttpToolW::OpenConnection(kSomeHandle, nullptr, 80); }},
        {L"CHttpToolW::OpenConnection: szServerAddr can not be an empty string.",
         [] { CHttpToolW::OpenConnection(kSomeHandle, L"", 80); }},
        {L"CHttpToolW::OpenRequest: hConnection can not be NULL.",
         [] { CHttpToolW::OpenRequest(nullptr, nullptr, CP_UTF8, 0); }},
        {L"CHttpToolW::OpenRequest: szObjectName can not be NULL.",
         [] { CHttpToolW::OpenRequest(kSomeHandle, nullptr, CP_UTF8, 0); }},
        {L"CHttpToolW::OpenRequest: szObjectName can not be an empty string.",
         [] { CHttpToolW::OpenRequest(kSomeHandle, L"", CP_UTF8, 0); }},
        {L"CHttpToolW::OpenRequest: CP_UTF8 and CP_UTF7 can not be used for the CodePage parameter.",
         [] { CHttpToolW::OpenRequest(kSomeHandle, L"/", CP_UTF8, 0); }},
        {L"CHttpToolW::OpenRequest: CP_UTF8 and CP_UTF7 can not be used for the CodePage parameter.",
         [] { CHttpToolW::OpenRequest(kSomeHandle, L"/", 65000, 0); }},
        {L"CHttpToolW::AddHeader: hRequest can not be NULL.",
         [] { CHttpToolW::AddHeader(nullptr, nullptr, nullptr, CP_UTF8); }},
        {L"CHttpToolW::AddHeader: szName can not be NULL.",
         [] { CHttpToolW::AddHeader(kSomeHandle, nullptr, nullptr, CP_UTF8); }},
        {L"CHttpToolW::AddHeader: CP_UTF8 and CP_UTF7 can not be used for the CodePage parameter.",
         [] { CHttpToolW::AddHeader(kSomeHandle, L"A", L"b", CP_UTF8); }},
        {L"CHttpToolW::SendRequestEx: hRequest can not be NULL.",
         [] { CHttpToolW::SendRequestEx(nullptr, 0); }},
        {L"CHttpToolW::InternetWriteFile: hRequest can not be NULL.",
         [] { CHttpToolW::InternetWriteFile(nullptr, nullptr, 0); }},
        {L"CHttpToolW::InternetWriteFile: pbyBuff can not be NULL.",
         [] { CHttpToolW::InternetWriteFile(kSomeHandle, nullptr, 0); }},
        {L"CHttpToolW::InternetWriteFile: cbyBuff can not be zero.",
         [] { CHttpToolW::InternetWriteFile(kSomeHandle, &kByte, 0); }},
        {L"CHttpToolW::EndRequest: hRequest can not be NULL.", [] { CHttpToolW::EndRequest(nullptr); }},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(c.message).c_str());
        try {
            c.call();
            ADD_FAILURE() << "not raised";
        } catch (const httpclientexceptionW& error) {
            EXPECT_STREQ(error.GetMessageText(), c.message);
            EXPECT_EQ(error.GetCode(), 0u);
            EXPECT_EQ(error.GetSystemError(), 0u);
        }
    }
}

TEST(HttpToolA, ArgumentChecksRaiseTheNarrowClass)
{
    struct NarrowCase {
        const char* message;
        std::function<void()> call;
    } cases[] = {
        {"CHttpToolA::OpenRequest: hConnection can not be NULL.",
         [] { CHttpToolA::OpenRequest(nullptr, nullptr, "POST", 0, nullptr); }},
        {"CHttpToolA::OpenRequest: szObjectName can not be NULL.",
         [] { CHttpToolA::OpenRequest(kSomeHandle, nullptr, "POST", 0, nullptr); }},
        {"CHttpToolA::OpenRequest: szObjectName can not be an empty string.",
         [] { CHttpToolA::OpenRequest(kSomeHandle, "", "POST", 0, nullptr); }},
        {"CHttpToolA::AddHeader: hRequest can not be NULL.",
         [] { CHttpToolA::AddHeader(nullptr, nullptr, nullptr); }},
        {"CHttpToolA::AddHeader: szName can not be NULL.",
         [] { CHttpToolA::AddHeader(kSomeHandle, nullptr, nullptr); }},
    };
    for (const NarrowCase& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            c.call();
            ADD_FAILURE() << "not raised";
        } catch (const httpclientexceptionA& error) {
            EXPECT_STREQ(error.GetMessageText(), c.message);
            EXPECT_EQ(error.GetCode(), 0u);
        }
    }
}

TEST(HttpToolW, APlatformFailureCarriesItsCodeAndLastError)
{
    // A handle WinINet never gave out: the platform refuses the call.
    try {
        CHttpToolW::EndRequest(kSomeHandle);
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_EQ(error.GetCode(), 409u);
        EXPECT_STREQ(error.GetMessageText(), L"::HttpEndRequest failed.");
        EXPECT_NE(error.GetSystemError(), 0u);
    }
}
