#include "feedback_http/feedback_submission.h"

#include "http_test_server.h"
#include "wininet_watch.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

using namespace Kesto;

namespace {

const DWORD kWaitMs = 10000;
const char kPath[] = "/index.php/ip/client/feedback";

class FeedbackSubmission : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Start()); }

    std::string Post(const std::wstring& reason, const std::wstring& contact,
                     const std::wstring& sysInfo = L"")
    {
        return PostFeedbackTo(server.WideUrl(kPath), reason, contact, sysInfo);
    }

    HttpRequest OnlyRequest()
    {
        EXPECT_TRUE(server.WaitForRequests(1, kWaitMs));
        std::vector<HttpRequest> requests = server.Requests();
        EXPECT_EQ(requests.size(), 1u);
        return requests.empty() ? HttpRequest() : requests[0];
    }

    HttpTestServer server;
};

}  // namespace

TEST_F(FeedbackSubmission, SendsOnePostWithTheFormHeaders)
{
    server.SetDefaultAnswer(HttpAnswer{200, "ok"});
    EXPECT_EQ(Post(L"", L""), "ok");

    HttpRequest request = OnlyRequest();
    EXPECT_EQ(request.raw.substr(0, request.raw.find("\r\n")),
              "POST /index.php/ip/client/feedback HTTP/1.1");
    EXPECT_EQ(request.Header("User-Agent"), "Kesto HTTP Client Class");
    EXPECT_EQ(request.Header("Accept"), "*/*");
    EXPECT_EQ(request.Header("Cache-Control"), "no-cache");
    EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request.Header("Host"), "127.0.0.1:" + std::to_string(server.Port()));
    EXPECT_NE(request.raw.find("\r\nCache-Control: no-cache\r\n"), std::string::npos);
    EXPECT_NE(request.raw.find("\r\nContent-Type: application/x-www-form-urlencoded\r\n"),
              std::string::npos);
    EXPECT_EQ(request.Header("Content-Length"), "26");
    EXPECT_EQ(request.body, "contact=&reason=&sys_info=");
    EXPECT_TRUE(request.complete);
    // Nothing after the announced body.
    EXPECT_EQ(request.raw.size(), request.raw.find("\r\n\r\n") + 4 + 26);
}

TEST_F(FeedbackSubmission, BodiesAreTheFieldsInNameOrderUrlEncodedAsUtf8)
{
    struct Case {
        std::wstring reason;
        std::wstring contact;
        std::wstring sysInfo;
        std::string body;
    } cases[] = {
        {L"", L"", L"", "contact=&reason=&sys_info="},
        {L"切换IP失败", L"abc 123", L"",
         "contact=abc+123&reason=%E5%88%87%E6%8D%A2IP%E5%A4%B1%E8%B4%A5&sys_info="},
        {L"切换IP失败,重复IP太多,不能自动换IP,软件 太卡", L"QQ 12345", L"Windows 6.1",
         "contact=QQ+12345&reason=%E5%88%87%E6%8D%A2IP%E5%A4%B1%E8%B4%A5%2C%E9%87%8D%E5%A4%8DIP%E5"
         "%A4%AA%E5%A4%9A%2C%E4%B8%8D%E8%83%BD%E8%87%AA%E5%8A%A8%E6%8D%A2IP%2C%E8%BD%AF%E4%BB%B6+%E5"
         "%A4%AA%E5%8D%A1&sys_info=Windows+6%2E1"},
    };
    server.SetDefaultAnswer(HttpAnswer{200, "ok"});
    for (const Case& c : cases)
        EXPECT_EQ(Post(c.reason, c.contact, c.sysInfo), "ok");

    ASSERT_TRUE(server.WaitForRequests(std::size(cases), kWaitMs));
    std::vector<HttpRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), std::size(cases));
    for (size_t i = 0; i < requests.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(requests[i].body, cases[i].body);
        EXPECT_EQ(requests[i].Header("Content-Length"), std::to_string(cases[i].body.size()));
    }
    EXPECT_EQ(cases[1].body.size(), 71u);
    EXPECT_EQ(cases[2].body.size(), 216u);
}

TEST_F(FeedbackSubmission, AnswersBy200AreReturnedAndEveryOtherStatusGivesEmpty)
{
    const std::string kLong = [] {
        std::string text;
        for (int i = 0; text.size() < 6000; ++i)
            text += static_cast<char>('a' + i % 26);
        return text;
    }();
    struct Case {
        HttpAnswer answer;
        std::string result;  // for the long answer: checked as a prefix
    } cases[] = {
        {HttpAnswer{200, "{\"code\":0}"}, "{\"code\":0}"},
        {HttpAnswer{200, ""}, ""},
        {HttpAnswer{200, std::string("abc\0def", 7)}, "abc"},
        {HttpAnswer{404, "not here"}, ""},
        {HttpAnswer{500, "broken"}, ""},
        {HttpAnswer{201, "created"}, ""},
        {HttpAnswer{200, kLong}, kLong},
    };
    WinInetWatch watch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer.status);
        server.SetDefaultAnswer(c.answer);
        std::string result = Post(L"r", L"c");
        if (c.answer.body.size() > 5119) {
            EXPECT_FALSE(result.empty());
            EXPECT_LE(result.size(), 5119u);
            EXPECT_EQ(result, kLong.substr(0, result.size()));
        } else {
            EXPECT_EQ(result, c.result);
        }
        EXPECT_EQ(watch.OpenHandles(), 0u);
    }
    EXPECT_EQ(watch.Log().opened, 3 * std::size(cases));
}

TEST_F(FeedbackSubmission, FailuresGiveEmptyWithoutRaisingAndLeaveNoHandleOpen)
{
    HttpTestServer stopped;
    ASSERT_TRUE(stopped.Start());
    const std::wstring refused = stopped.WideUrl(kPath);
    stopped.Stop();

    HttpAnswer closing;
    closing.fault = HttpFault::CloseMidRequest;
    server.SetAnswer("/closing", closing);

    struct Case {
        const char* what;
        std::wstring url;
    } cases[] = {
        {"refused port", refused},
        {"unresolvable host", L"http://nonexistent.invalid/index.php/ip/client/feedback"},
        {"server closes mid-request", server.WideUrl("/closing")},
        {"bad port", L"http://127.0.0.1:99999/index.php/ip/client/feedback"},
        {"no host", L"http:///index.php/ip/client/feedback"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WinInetWatch watch;
        std::string result = "unset";
        EXPECT_NO_THROW(result = PostFeedbackTo(c.url, L"切换IP失败", L"abc 123", L""));
        EXPECT_EQ(result, "");
        EXPECT_GE(watch.Log().opened, 1u);
        EXPECT_EQ(watch.OpenHandles(), 0u);
    }
    EXPECT_EQ(server.Requests().size(), 1u);  // the one that was cut off
}

TEST_F(FeedbackSubmission, AWriteWithoutProgressEndsThePostEmpty)
{
    server.SetDefaultAnswer(HttpAnswer{200, "ok"});
    WinInetWatch watch;
    watch.ReplaceWrite(&WriteNothingButSucceed);
    EXPECT_EQ(Post(L"r", L"c"), "");
    EXPECT_EQ(watch.Log().writeSizes, std::vector<DWORD>{7});  // "contact", once
    EXPECT_EQ(watch.OpenHandles(), 0u);
}

TEST_F(FeedbackSubmission, UsesTheFeedbackRequestFlagsAndFollowsNoRedirect)
{
    server.SetDefaultAnswer(HttpAnswer{200, "ok"});
    WinInetWatch watch;
    EXPECT_EQ(Post(L"", L""), "ok");
    ASSERT_EQ(watch.Log().requestFlags.size(), 1u);
    EXPECT_EQ(watch.Log().requestFlags[0], 0x84400F00u | INTERNET_FLAG_NO_AUTO_REDIRECT);
    EXPECT_EQ(watch.Log().connectPorts, std::vector<INTERNET_PORT>{server.Port()});
}

TEST_F(FeedbackSubmission, MisbehavingServersEndThePostWithoutRaisingOrLeavingHandles)
{
    auto withFault = [](HttpFault fault) {
        HttpAnswer answer{200, "partial answer"};
        answer.fault = fault;
        answer.stallMs = 1000;
        answer.intervalMs = 5;
        answer.cutAfterBytes = 30;
        return answer;
    };
    HttpAnswer garbage{200, "garbage"};
    garbage.statusLine = "HTPT/9 abc garbage";
    HttpAnswer wrongLength{200, "short"};
    wrongLength.announcedLength = 100;

    struct Case {
        const char* what;
        HttpAnswer answer;
        const char* result;  // nullptr: whatever the platform made of it
    } cases[] = {
        {"reset", withFault(HttpFault::Reset), ""},
        {"stall", withFault(HttpFault::Stall), ""},
        {"cut short in the head", withFault(HttpFault::CutShort), ""},
        {"301 to itself", withFault(HttpFault::RedirectToSelf), ""},
        {"drip", withFault(HttpFault::Drip), "partial answer"},
        // WinINet reads a response without a status line as HTTP/0.9 with
        // status 200; its bytes are only handed back, never looked at.
        {"garbage status line", garbage, nullptr},
        {"wrong Content-Length", wrongLength, "short"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server.SetAnswer(kPath, c.answer);
        WinInetWatch watch;
        std::string result = "unset";
        EXPECT_NO_THROW(result = Post(L"r", L"c"));
        if (c.result != nullptr) {
            EXPECT_EQ(result, c.result);
        }
        EXPECT_LE(result.size(), 5119u);
        EXPECT_EQ(watch.OpenHandles(), 0u);
    }
    // The redirect to itself was not followed: one request each.
    EXPECT_EQ(server.RequestCount(), std::size(cases));
}
