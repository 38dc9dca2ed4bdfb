#include "feedback_http/http_client.h"
#include "feedback_http/http_errors.h"

#include "http_test_server.h"
#include "wininet_watch.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

using namespace Kesto;

namespace {

const DWORD kWaitMs = 10000;
const int kMostSteps = 100;

// Runs the post to its response, noting the write sizes of every step.
std::unique_ptr<CHttpResponseT> PostAll(CHttpClient& client, WinInetWatch& watch,
                                        std::vector<std::vector<DWORD>>* steps = nullptr)
{
    for (int step = 0; step < kMostSteps; ++step) {
        watch.ClearWrites();
        std::unique_ptr<CHttpResponseT> response = client.ContinuePost();
        if (steps != nullptr)
            steps->push_back(watch.Log().writeSizes);
        if (response)
            return response;
    }
    ADD_FAILURE() << "no response after " << kMostSteps << " steps";
    return nullptr;
}

DWORD CodeOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const httpclientexceptionW& error) {
        return error.GetCode();
    }
    ADD_FAILURE() << "not raised";
    return MAXDWORD;
}

class HttpClientTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.Start());
        server.SetDefaultAnswer(HttpAnswer{200, "done"});
    }

    HttpTestServer server;
};

}  // namespace

TEST_F(HttpClientTest, WritesLongValuesIn1024BytePiecesAfterTheStepThatWritesTheName)
{
    WinInetWatch watch;
    {
        CHttpClient client;
        client.AddParam(L"a", std::wstring(2500, L'x').c_str());
        client.AddParam(L"b", L"1");
        client.StartPostContext(server.WideUrl("/form").c_str(), 0);
        EXPECT_EQ(client.PostStat().ActualTotalByte(), 2506u);
        EXPECT_EQ(client.PostStat().TotalCount(), 2u);

        std::vector<std::vector<DWORD>> steps;
        std::unique_ptr<CHttpResponseT> response = PostAll(client, watch, &steps);
        ASSERT_TRUE(response);
        EXPECT_EQ(steps, (std::vector<std::vector<DWORD>>{
                             {1, 1}, {1024}, {1024}, {452}, {1, 1, 1}, {1}, {}}));
        EXPECT_EQ(response->GetStatus(), 200u);
        EXPECT_FALSE(client.PostStat().IsActive());
    }
    EXPECT_EQ(watch.OpenHandles(), 0u);

    ASSERT_TRUE(server.WaitForRequests(1, kWaitMs));
    HttpRequest request = server.Requests()[0];
    EXPECT_EQ(request.Header("Content-Length"), "2506");
    EXPECT_EQ(request.body, "a=" + std::string(2500, 'x') + "&b=1");
}

TEST_F(HttpClientTest, CountsThePostAsItGoes)
{
    WinInetWatch watch;
    CHttpClient client;
    client.AddParam(L"v", std::wstring(1500, L'y').c_str());
    client.StartPostContext(server.WideUrl("/").c_str(), 0);
    const CHttpPostStatT& stat = client.PostStat();
    EXPECT_EQ(client.ContinuePost(), nullptr);
    EXPECT_EQ(stat.PostedCount(), 1u);
    EXPECT_EQ(stat.ActualPostedByte(), 2u);
    EXPECT_EQ(stat.CurrParamRemainByte(), 1500u);
    EXPECT_EQ(client.ContinuePost(), nullptr);
    EXPECT_EQ(stat.CurrParamPostedByte(), 1024u);
    EXPECT_FALSE(stat.CurrParamIsComplete());
    EXPECT_EQ(client.ContinuePost(), nullptr);
    EXPECT_TRUE(stat.CurrParamIsComplete());
    EXPECT_EQ(stat.ActualPostedByte(), stat.ActualTotalByte());
    EXPECT_NE(client.ContinuePost(), nullptr);
}

TEST_F(HttpClientTest, NoParametersGiveAnEmptyBodyAndAResponseAtTheFirstStep)
{
    WinInetWatch watch;
    CHttpClient client;
    client.StartPostContext(server.WideUrl("/empty").c_str(), 0);
    std::unique_ptr<CHttpResponseT> response = client.ContinuePost();
    ASSERT_TRUE(response);
    EXPECT_TRUE(watch.Log().writeSizes.empty());
    EXPECT_EQ(response->GetStatus(), 200u);
    BYTE buffer[16] = {};
    EXPECT_EQ(response->ReadContent(buffer, sizeof buffer), 4u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer)), "done");
    EXPECT_EQ(response->ReadContent(buffer, sizeof buffer), 0u);

    ASSERT_TRUE(server.WaitForRequests(1, kWaitMs));
    EXPECT_EQ(server.Requests()[0].Header("Content-Length"), "0");
    EXPECT_EQ(server.Requests()[0].body, "");
}

TEST_F(HttpClientTest, EmptyAndAbsentValuesGoOutAsTheNameAndAnEqualsSign)
{
    WinInetWatch watch;
    CHttpClient client;
    client.AddParam(L"empty", L"");
    client.AddParam(L"absent", nullptr);
    client.StartPostContext(server.WideUrl("/").c_str(), 0);
    ASSERT_TRUE(PostAll(client, watch));
    ASSERT_TRUE(server.WaitForRequests(1, kWaitMs));
    EXPECT_EQ(server.Requests()[0].body, "absent=&empty=");
}

TEST_F(HttpClientTest, TheCodePageOrUtf8EncodesNamesAndValues)
{
    WinInetWatch watch;
    CHttpClient client;
    client.AddParam(L"caf\u00E9", L"\u00E9 \u00E9");
    client.StartPostContext(server.WideUrl("/").c_str(), 0);
    ASSERT_TRUE(PostAll(client, watch));
    EXPECT_FALSE(client.SetUseUtf8(true));
    client.StartPostContext(server.WideUrl("/").c_str(), 0);
    ASSERT_TRUE(PostAll(client, watch));
    EXPECT_TRUE(client.SetUseUtf8(false));

    ASSERT_TRUE(server.WaitForRequests(2, kWaitMs));
    EXPECT_EQ(server.Requests()[0].body, "caf%E9=%E9+%E9");  // the ANSI code page, 1252 here
    EXPECT_EQ(server.Requests()[1].body, "caf%C3%A9=%C3%A9+%C3%A9");
}

TEST_F(HttpClientTest, ParametersAndTheUtf8FlagCannotChangeDuringAPost)
{
    WinInetWatch watch;
    CHttpClient client;
    client.AddParam(L"kept", L"1");
    client.StartPostContext(server.WideUrl("/").c_str(), 0);
    try {
        client.AddParam(L"added", L"2");
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_STREQ(error.GetMessageText(),
                     L"CHttpClientT::AddParam: It is not allowed to call this method if the POST "
                     L"context is active.");
    }
    try {
        client.SetUseUtf8(true);
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_STREQ(error.GetMessageText(),
                     L"CHttpClientT::SetUseUtf8: It is not allowed to call this method if the POST "
                     L"context is active.");
    }
    EXPECT_TRUE(client.PostStat().IsActive());
    ASSERT_TRUE(PostAll(client, watch));

    // Idle again: the parameters are kept and may grow.
    client.AddParam(L"added", L"2");
    client.StartPostContext(server.WideUrl("/").c_str(), 0);
    ASSERT_TRUE(PostAll(client, watch));
    ASSERT_TRUE(server.WaitForRequests(2, kWaitMs));
    EXPECT_EQ(server.Requests()[0].body, "kept=1");
    EXPECT_EQ(server.Requests()[1].body, "added=2&kept=1");
}

TEST_F(HttpClientTest, ASecondStartClosesTheFirstPostsHandles)
{
    WinInetWatch watch;
    CHttpClient client;
    client.AddParam(L"n", L"v");
    client.StartPostContext(server.WideUrl("/first").c_str(), 0);
    ASSERT_EQ(watch.OpenHandles(), 3u);
    client.StartPostContext(server.WideUrl("/second").c_str(), 0);
    EXPECT_EQ(watch.OpenHandles(), 3u);
    EXPECT_EQ(watch.Log().opened, 6u);
    std::unique_ptr<CHttpResponseT> response = PostAll(client, watch);
    ASSERT_TRUE(response);
    response.reset();
    EXPECT_EQ(watch.OpenHandles(), 0u);
}

TEST_F(HttpClientTest, DestroyingTheClientMidPostClosesItsHandles)
{
    WinInetWatch watch;
    {
        CHttpClient client;
        client.AddParam(L"n", std::wstring(3000, L'z').c_str());
        client.StartPostContext(server.WideUrl("/").c_str(), 0);
        client.ContinuePost();
        client.ContinuePost();
        EXPECT_EQ(watch.OpenHandles(), 3u);
    }
    EXPECT_EQ(watch.OpenHandles(), 0u);
}

TEST_F(HttpClientTest, StepsWithoutAPostAreRefused)
{
    CHttpClient client;
    EXPECT_EQ(CodeOf([&] { client.ContinuePost(); }), 104u);
    try {
        client.PostStat().TotalCount();
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_STREQ(error.GetMessageText(),
                     L"CHttpPostStatT::TotalCount: The post context is not active.");
    }
}

TEST_F(HttpClientTest, TheObjectNameIsThePathQueryAndFragmentOrASlash)
{
    struct Case {
        std::string suffix;
        std::string object;
    } cases[] = {
        {"", "/"},
        {"/", "/"},
        {"?q=1", "/?q=1"},
        {"/a/b?c=d", "/a/b?c=d"},
    };
    WinInetWatch watch;
    for (const Case& c : cases) {
        CHttpClient client;
        client.StartPostContext(server.WideUrl(c.suffix).c_str(), 0);
        ASSERT_TRUE(PostAll(client, watch));
        EXPECT_EQ(watch.Log().requestObjects.back(), c.object);
        EXPECT_EQ(watch.Log().requestVerbs.back(), "POST");
    }
    ASSERT_TRUE(server.WaitForRequests(4, kWaitMs));
    EXPECT_EQ(server.Requests()[2].target, "/?q=1");
    EXPECT_EQ(server.Requests()[3].target, "/a/b?c=d");
}

TEST_F(HttpClientTest, CacheControlGoesOutOnlyWithThePragmaNoCacheFlag)
{
    WinInetWatch watch;
    CHttpClient client;
    client.StartPostContext(server.WideUrl("/").c_str(), 0);
    ASSERT_TRUE(PostAll(client, watch));
    EXPECT_EQ(watch.Log().headerLines,
              (std::vector<std::string>{"Content-Type: application/x-www-form-urlencoded\r\n"}));

    client.StartPostContext(server.WideUrl("/").c_str(), INTERNET_FLAG_PRAGMA_NOCACHE);
    ASSERT_TRUE(PostAll(client, watch));
    ASSERT_EQ(watch.Log().headerLines.size(), 3u);
    EXPECT_EQ(watch.Log().headerLines[1], "Cache-Control: no-cache\r\n");
    EXPECT_EQ(watch.Log().headerLengths[1], 25u);

    ASSERT_TRUE(server.WaitForRequests(2, kWaitMs));
    EXPECT_FALSE(server.Requests()[0].HasHeader("Cache-Control"));
    EXPECT_EQ(server.Requests()[1].Header("Cache-Control"), "no-cache");
}

// What the connection attempt is given, without a connection being made.
TEST(HttpClientUrl, HttpsInAnyCaseUsesPort443AndTheSecureFlag)
{
    struct Case {
        const wchar_t* url;
        INTERNET_PORT port;
        bool secure;
    } cases[] = {
        {L"https://127.0.0.1/x", 443, true},
        {L"HTTPS://127.0.0.1/x", 443, true},
        {L"hTtPs://127.0.0.1/x", 443, true},
        {L"https://127.0.0.1:8443/x", 8443, true},
        {L"http://127.0.0.1/x", 80, false},
        {L"httpsx://127.0.0.1/x", 80, false},
        {L"ftp://127.0.0.1/x", 80, false},
        {L"http://127.0.0.1:8080/x", 8080, false},
        {L"http://127.0.0.1:65535/x", 65535, false},
        {L"http://127.0.0.1:/x", 80, false},
    };
    WinInetWatch watch;
    watch.ReplaceSend(&SendFailsToConnect);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(c.url).c_str());
        CHttpClient client;
        try {
            client.StartPostContext(c.url, 0);
            ADD_FAILURE() << "the send was refused: StartPostContext must raise";
        } catch (const httpclientexceptionW& error) {
            EXPECT_EQ(error.GetCode(), 407u);
            EXPECT_EQ(error.GetSystemError(), static_cast<DWORD>(ERROR_INTERNET_CANNOT_CONNECT));
        }
        ASSERT_FALSE(watch.Log().connectPorts.empty());
        EXPECT_EQ(watch.Log().connectPorts.back(), c.port);
        EXPECT_EQ(watch.Log().connectHosts.back(), "127.0.0.1");
        EXPECT_EQ((watch.Log().requestFlags.back() & INTERNET_FLAG_SECURE) != 0, c.secure);
        EXPECT_EQ(watch.OpenHandles(), 0u);
    }
}

TEST(HttpClientUrl, BadPortsAndEmptyHostsAreRefusedBeforeAnyConnection)
{
    struct Case {
        const wchar_t* url;
        DWORD code;
    } cases[] = {
        {L"http://127.0.0.1:123456/x", 107},
        {L"http://127.0.0.1:80a/x", 107},
        {L"http://127.0.0.1:65536/x", 107},
        {L"http://127.0.0.1:-1/x", 107},
        {L"http://127.0.0.1: 80/x", 107},
        {L"http:///index.php", 103},
        {L"http://", 103},
        {L"", 103},
        {nullptr, 103},
    };
    WinInetWatch watch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        CHttpClient client;
        EXPECT_EQ(CodeOf([&] { client.StartPostContext(c.url, 0); }), c.code);
        EXPECT_TRUE(watch.Log().connectPorts.empty());
        EXPECT_EQ(watch.OpenHandles(), 0u);
        EXPECT_FALSE(client.PostStat().IsActive());
    }
    EXPECT_EQ(watch.Log().opened, std::size(cases));  // one Internet handle each, closed again
}

TEST_F(HttpClientTest, AWriteThatReportsSuccessWithoutWritingEndsThePostWith408)
{
    WinInetWatch watch;
    CHttpClient client;
    client.AddParam(L"n", L"value");
    client.StartPostContext(server.WideUrl("/").c_str(), 0);
    watch.ReplaceWrite(&WriteNothingButSucceed);
    try {
        client.ContinuePost();
        FAIL() << "not raised";
    } catch (const httpclientexceptionW& error) {
        EXPECT_EQ(error.GetCode(), 408u);
        EXPECT_STREQ(error.GetMessageText(), L"::InternetWriteFile failed.");
    }
    EXPECT_EQ(watch.Log().writeSizes, std::vector<DWORD>{1});  // one call, not a loop
    EXPECT_FALSE(client.PostStat().IsActive());
    EXPECT_EQ(watch.OpenHandles(), 0u);
}

TEST_F(HttpClientTest, AShortWriteIsContinuedWithTheRest)
{
    WinInetWatch watch;
    CHttpClient client;
    client.AddParam(L"name", L"value-1234");
    client.StartPostContext(server.WideUrl("/").c_str(), 0);
    watch.ReplaceWrite(&WriteThreeBytesAtMost);
    std::vector<std::vector<DWORD>> steps;
    ASSERT_TRUE(PostAll(client, watch, &steps));
    EXPECT_EQ(steps, (std::vector<std::vector<DWORD>>{{4, 1, 1}, {12, 9, 6, 3}, {}}));
    ASSERT_TRUE(server.WaitForRequests(1, kWaitMs));
    EXPECT_EQ(server.Requests()[0].body, "name=value%2D1234");
}
