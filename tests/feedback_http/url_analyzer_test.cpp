#include "feedback_http/http_errors.h"
#include "feedback_http/url_analyzer.h"

#include <gtest/gtest.h>

using namespace Kesto;

namespace {

struct AnalyzeCase {
    const wchar_t* url;
    UrlAnalysis expected;
};

// Fields: scheme start, scheme length, host start, host length, port start,
// port length, path start, path length, query start, query length,
// fragment start, fragment length.
const AnalyzeCase kCases[] = {
    {L"scheme://h/p?q#f", {0, 6, 9, 1, 10, 0, 10, 2, 12, 2, 14, 2}},
    {L"host:81/p", {0, 0, 0, 4, 5, 2, 7, 2, 9, 0, 9, 0}},
    {L"http://127.0.0.1:18931/index.php/ip/client/feedback",
     {0, 4, 7, 9, 17, 5, 22, 29, 51, 0, 51, 0}},
    {L"http://feedback.invalid/index.php/ip/client/feedback",
     {0, 4, 7, 16, 23, 0, 23, 29, 52, 0, 52, 0}},
    // A "?" inside the fragment is no query; a "#" ends the query.
    {L"http://h#f?x", {0, 4, 7, 1, 8, 0, 8, 0, 8, 0, 8, 4}},
    {L"http://h?a#b", {0, 4, 7, 1, 8, 0, 8, 0, 8, 2, 10, 2}},
    {L"http://h?a?b", {0, 4, 7, 1, 8, 0, 8, 0, 8, 4, 12, 0}},
    // Nothing after the host, an empty host, an empty port text.
    {L"http://h", {0, 4, 7, 1, 8, 0, 8, 0, 8, 0, 8, 0}},
    {L"http:///p", {0, 4, 7, 0, 7, 0, 7, 2, 9, 0, 9, 0}},
    {L"http://h:/p", {0, 4, 7, 1, 9, 0, 9, 2, 11, 0, 11, 0}},
    // After the first ":" everything counts to the port.
    {L"http://h:1:2/", {0, 4, 7, 1, 9, 3, 12, 1, 13, 0, 13, 0}},
    {L"HTTPS://h:8080", {0, 5, 8, 1, 10, 4, 14, 0, 14, 0, 14, 0}},
    // A ":" as the first unit gives a scheme of length 0.
    {L"://x/", {0, 0, 3, 1, 4, 0, 4, 1, 5, 0, 5, 0}},
    // No "://": the URL starts with its authority.
    {L"a:b", {0, 0, 0, 1, 2, 1, 3, 0, 3, 0, 3, 0}},
    {L"/p?q", {0, 0, 0, 0, 0, 0, 0, 2, 2, 2, 4, 0}},
    {L"", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
};

void ExpectSame(const UrlAnalysis& actual, const UrlAnalysis& expected)
{
    EXPECT_EQ(actual.schemeStart, expected.schemeStart);
    EXPECT_EQ(actual.schemeLength, expected.schemeLength);
    EXPECT_EQ(actual.hostStart, expected.hostStart);
    EXPECT_EQ(actual.hostLength, expected.hostLength);
    EXPECT_EQ(actual.portStart, expected.portStart);
    EXPECT_EQ(actual.portLength, expected.portLength);
    EXPECT_EQ(actual.pathStart, expected.pathStart);
    EXPECT_EQ(actual.pathLength, expected.pathLength);
    EXPECT_EQ(actual.queryStart, expected.queryStart);
    EXPECT_EQ(actual.queryLength, expected.queryLength);
    EXPECT_EQ(actual.fragmentStart, expected.fragmentStart);
    EXPECT_EQ(actual.fragmentLength, expected.fragmentLength);
}

}  // namespace

TEST(UrlAnalyzer, SplitsEachUrlAsItsTableSays)
{
    for (const AnalyzeCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "URL " << std::wstring(c.url).c_str());
        ExpectSame(CHttpUrlAnalyzerT::Analyze(c.url, CP_ACP), c.expected);
    }
}

TEST(UrlAnalyzer, RefusesUtf8AndUtf7CodePages)
{
    for (UINT refused : {65001u, 65000u}) {
        try {
            CHttpUrlAnalyzerT::Analyze(L"http://h/", refused);
            FAIL() << "not raised";
        } catch (const httpclientexceptionW& error) {
            EXPECT_STREQ(error.GetMessageText(),
                         L"CHttpUrlAnalyzerT::Analyze: CP_UTF8 and CP_UTF7 can not be used for the "
                         L"CodePage parameter.");
            EXPECT_EQ(error.GetCode(), 0u);
        }
    }
}
