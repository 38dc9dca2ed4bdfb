// The uninstaller's feedback post against local servers that misbehave:
// they stall, drip, send garbage, reset, lie about lengths or redirect to
// themselves. The post must come back, empty unless a 200 arrived whose
// framing the platform accepts, without raising and within a bounded time.
#include "feedback_http/feedback_submission.h"
#include "http_test_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>

namespace {

const char kPath[] = "/index.php/ip/client/feedback";

bool FullRun()
{
    const char* full = std::getenv("KIT_HOSTILE_FULL");
    return full != nullptr && *full != '\0' && *full != '0';
}

struct ServerCase {
    std::string what;
    HttpAnswer answer;
    const char* result;  // nullptr: whatever the platform made of the bytes
    DWORD boundMs;       // the post must have returned by then
};

HttpAnswer Faulty(HttpFault fault, int status = 200, std::string body = "ok")
{
    HttpAnswer answer{status, std::move(body)};
    answer.fault = fault;
    return answer;
}

HttpAnswer Stalling(DWORD stallMs)
{
    HttpAnswer answer = Faulty(HttpFault::Stall);
    answer.stallMs = stallMs;
    return answer;
}

HttpAnswer Dripping(DWORD intervalMs)
{
    HttpAnswer answer = Faulty(HttpFault::Drip);
    answer.intervalMs = intervalMs;
    return answer;
}

HttpAnswer WithStatusLine(std::string line)
{
    HttpAnswer answer{200, "body"};
    answer.statusLine = std::move(line);
    return answer;
}

HttpAnswer WithHeaders(std::vector<std::string> headers, std::string body, bool contentLength = false)
{
    HttpAnswer answer{200, std::move(body)};
    answer.contentLength = contentLength;
    answer.headers = std::move(headers);
    return answer;
}

std::vector<ServerCase> Cases()
{
    const bool full = FullRun();
    // The full run waits as long as a user would: a stall of 35 s outlasts
    // the usual 30 s receive time-out, and the answer arrives one byte a second.
    const DWORD stall = full ? 35000 : 2000;
    const DWORD drip = full ? 1000 : 20;
    HttpAnswer longer{200, "short"};
    longer.announcedLength = 100;
    HttpAnswer shorter{200, "much longer than announced"};
    shorter.announcedLength = 4;
    HttpAnswer cutInBody = Faulty(HttpFault::CutShort, 200, std::string(500, 'b'));
    cutInBody.cutAfterBytes = 100;
    HttpAnswer cutInHead = Faulty(HttpFault::CutShort);
    cutInHead.cutAfterBytes = 12;
    HttpAnswer redirect = Faulty(HttpFault::RedirectToSelf, 301, "moved");
    HttpAnswer temporary = WithHeaders({"Location: " + std::string(kPath)}, "see other", true);
    temporary.status = 307;
    std::vector<ServerCase> cases = {
        {"stall of " + std::to_string(stall) + " ms, then close", Stalling(stall), "", stall + 30000},
        {"drip, one byte every " + std::to_string(drip) + " ms", Dripping(drip), "ok", 100 * drip + 30000},
        {"reset after the request", Faulty(HttpFault::Reset), "", 30000},
        {"close before reading the body", Faulty(HttpFault::CloseMidRequest), "", 30000},
        {"cut in the status line", cutInHead, "", 30000},
        {"cut in the body", cutInBody, nullptr, 30000},
        {"Content-Length longer than the body", longer, nullptr, 30000},
        {"Content-Length shorter than the body", shorter, nullptr, 30000},
        {"Content-Length not a number", WithHeaders({"Content-Length: abc"}, "abc body"), nullptr, 30000},
        {"Content-Length negative", WithHeaders({"Content-Length: -5"}, "negative"), nullptr, 30000},
        {"Content-Length beyond 32 bits", WithHeaders({"Content-Length: 99999999999"}, "huge"), nullptr, 30000},
        {"two Content-Lengths", WithHeaders({"Content-Length: 2", "Content-Length: 7"}, "1234567"), nullptr, 30000},
        {"301 to itself", redirect, "", 30000},
        {"307 to itself", temporary, "", 30000},
        {"garbage status line", WithStatusLine("HTPT/9 abc garbage"), nullptr, 30000},
        {"empty status line", WithStatusLine(""), nullptr, 30000},
        {"status not a number", WithStatusLine("HTTP/1.1 abc OK"), nullptr, 30000},
        {"status beyond 32 bits", WithStatusLine("HTTP/1.1 99999999999 OK"), nullptr, 30000},
        {"status line of 20000 bytes", WithStatusLine("HTTP/1.1 200 " + std::string(20000, 'K')), nullptr, 30000},
        {"binary status line", WithStatusLine(std::string("\x00\xff\x01HTTP/1.1 200\x00", 15)), nullptr, 30000},
        {"header line of 100000 bytes", WithHeaders({"X-Long: " + std::string(100000, 'h')}, "long head", true), nullptr, 30000},
        {"6000-byte answer", HttpAnswer{200, std::string(6000, 'a')}, nullptr, 30000},
        {"answer with NUL bytes", HttpAnswer{200, std::string("ab\0cd", 5)}, "ab", 30000},
        {"500 with a body", HttpAnswer{500, "error page"}, "", 30000},
    };
    if (full) {
        // No close at all: Wine's WinINet waited for ever here, and the
        // uninstaller's window with it; the client's 30 s time-outs end it.
        cases.push_back({"stall without end", Stalling(600000), "", 60000});
    }
    return cases;
}

}  // namespace

TEST(HostileServers, FeedbackPostComesBackFromEveryMisbehavingServer)
{
    for (const ServerCase& c : Cases()) {
        SCOPED_TRACE(c.what);
        HttpTestServer server;
        ASSERT_TRUE(server.Start());
        server.SetAnswer(kPath, c.answer);
        const std::wstring url = server.WideUrl(kPath);

        const auto start = std::chrono::steady_clock::now();
        std::future<std::string> post = std::async(std::launch::async, [url] {
            return Kesto::PostFeedbackTo(url, L"切换IP失败", L"abc 123", L"");
        });
        if (post.wait_for(std::chrono::milliseconds(c.boundMs)) != std::future_status::ready) {
            ADD_FAILURE() << "the post had not returned after " << c.boundMs << " ms";
            server.Stop();  // closes the connection, which ends the wait
            ASSERT_EQ(post.wait_for(std::chrono::seconds(30)), std::future_status::ready);
        }
        std::string result = "unset";
        EXPECT_NO_THROW(result = post.get());
        const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start).count();
        if (c.result != nullptr) {
            EXPECT_EQ(result, c.result);
        }
        EXPECT_LE(result.size(), 5119u);
        EXPECT_GE(server.RequestCount(), 1u);
        EXPECT_LE(server.RequestCount(), 1u) << "the post was sent again or a redirect followed";
        std::printf("  %-40s %7lld ms  %zu bytes back\n", c.what.c_str(), ms, result.size());
    }
}
