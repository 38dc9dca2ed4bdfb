// The test server itself, driven by a plain socket client, so the suites that
// rely on it can trust what it records and sends.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "http_test_server.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const DWORD kWaitMs = 10000;

class RawClient {
public:
    explicit RawClient(unsigned short port)
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        DWORD timeout = kWaitMs;
        setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                   sizeof timeout);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient()
    {
        closesocket(m_socket);
        WSACleanup();
    }

    bool Connected() const { return m_connected; }
    void Send(const std::string& bytes) { send(m_socket, bytes.data(), static_cast<int>(bytes.size()), 0); }

    void SetReceiveTimeout(DWORD ms)
    {
        setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
    }

    // Everything until the server closes; lastResult is recv's last return.
    std::string ReceiveAll()
    {
        std::string received;
        char buffer[4096];
        while ((lastResult = recv(m_socket, buffer, sizeof buffer, 0)) > 0)
            received.append(buffer, static_cast<size_t>(lastResult));
        lastError = lastResult < 0 ? WSAGetLastError() : 0;
        return received;
    }

    int lastResult = 0;
    int lastError = 0;

private:
    SOCKET m_socket = INVALID_SOCKET;
    bool m_connected = false;
};

const std::string kPost =
    "POST /form?x=1 HTTP/1.1\r\nHost: here\r\nContent-Length: 5\r\nX-Blank:   padded\r\n\r\nhello";

std::string Exchange(HttpTestServer& server, const std::string& request, int* lastError = nullptr)
{
    RawClient client(server.Port());
    EXPECT_TRUE(client.Connected());
    client.Send(request);
    std::string answer = client.ReceiveAll();
    if (lastError != nullptr)
        *lastError = client.lastError;
    return answer;
}

}  // namespace

TEST(HttpTestServer, RecordsTheRequestByteForByteAndParsesIt)
{
    HttpTestServer server;
    ASSERT_TRUE(server.Start());
    std::string answer = Exchange(server, kPost);
    EXPECT_EQ(answer, "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");

    ASSERT_TRUE(server.WaitForRequests(1, kWaitMs));
    HttpRequest request = server.Requests()[0];
    EXPECT_EQ(request.raw, kPost);
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/form?x=1");
    EXPECT_EQ(request.version, "HTTP/1.1");
    EXPECT_EQ(request.Header("host"), "here");
    EXPECT_EQ(request.Header("X-BLANK"), "padded");
    EXPECT_FALSE(request.HasHeader("Missing"));
    EXPECT_EQ(request.body, "hello");
    EXPECT_TRUE(request.complete);
    EXPECT_EQ(server.ConnectionCount(), 1u);
}

TEST(HttpTestServer, AnswersAsConfiguredPerPath)
{
    HttpTestServer server;
    ASSERT_TRUE(server.Start());
    HttpAnswer answer{404, "gone"};
    answer.headers = {"X-Test: 1", "Connection: keep-alive"};
    server.SetAnswer("/form", answer);
    server.ServeBytes("/file.bin", std::string("\0\1\2", 3), false);
    server.SetDefaultAnswer(HttpAnswer{500, "default"});

    EXPECT_EQ(Exchange(server, kPost),
              "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\nX-Test: 1\r\nConnection: keep-alive\r\n\r\ngone");
    EXPECT_EQ(Exchange(server, "GET /file.bin HTTP/1.1\r\n\r\n"),
              "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + std::string("\0\1\2", 3));
    EXPECT_EQ(Exchange(server, "GET /other HTTP/1.1\r\n\r\n"),
              "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 7\r\nConnection: close\r\n\r\ndefault");
}

TEST(HttpTestServer, MisbehavesOnRequest)
{
    HttpTestServer server;
    ASSERT_TRUE(server.Start());

    HttpAnswer cut{200, "0123456789"};
    cut.fault = HttpFault::CutShort;
    cut.cutAfterBytes = 20;
    server.SetAnswer("/cut", cut);
    EXPECT_EQ(Exchange(server, "GET /cut HTTP/1.1\r\n\r\n"), "HTTP/1.1 200 OK\r\nCon");

    HttpAnswer garbage{200, "x"};
    garbage.statusLine = "HTPT/9 abc garbage";
    server.SetAnswer("/garbage", garbage);
    EXPECT_EQ(Exchange(server, "GET /garbage HTTP/1.1\r\n\r\n"),
              "HTPT/9 abc garbage\r\nContent-Length: 1\r\nConnection: close\r\n\r\nx");

    HttpAnswer wrongLength{200, "short"};
    wrongLength.announcedLength = 100;
    server.SetAnswer("/wrong", wrongLength);
    EXPECT_EQ(Exchange(server, "GET /wrong HTTP/1.1\r\n\r\n"),
              "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\nshort");

    HttpAnswer redirect;
    redirect.fault = HttpFault::RedirectToSelf;
    server.SetAnswer("/loop", redirect);
    EXPECT_EQ(Exchange(server, "GET /loop?a=b HTTP/1.1\r\n\r\n"),
              "HTTP/1.1 301 Moved Permanently\r\nLocation: " + server.Url("/loop?a=b") +
                  "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");

    HttpAnswer drip{200, "drops"};
    drip.fault = HttpFault::Drip;
    drip.intervalMs = 5;
    server.SetAnswer("/drip", drip);
    EXPECT_EQ(Exchange(server, "GET /drip HTTP/1.1\r\n\r\n"),
              "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\n\r\ndrops");

    HttpAnswer reset{200, "never sent"};
    reset.fault = HttpFault::Reset;
    server.SetAnswer("/reset", reset);
    int error = 0;
    EXPECT_EQ(Exchange(server, "GET /reset HTTP/1.1\r\n\r\n", &error), "");
    EXPECT_EQ(error, WSAECONNRESET);
}

TEST(HttpTestServer, ClosingMidRequestRecordsWhatArrived)
{
    HttpTestServer server;
    ASSERT_TRUE(server.Start());
    HttpAnswer closing;
    closing.fault = HttpFault::CloseMidRequest;
    server.SetDefaultAnswer(closing);

    RawClient client(server.Port());
    ASSERT_TRUE(client.Connected());
    client.Send("POST / HTTP/1.1\r\nContent-Length: 10\r\n\r\n");
    ASSERT_TRUE(server.WaitForRequests(1, kWaitMs));
    client.ReceiveAll();
    EXPECT_LE(client.lastResult, 0);

    HttpRequest request = server.Requests()[0];
    EXPECT_FALSE(request.complete);
    EXPECT_EQ(request.body, "");
    EXPECT_EQ(request.raw, "POST / HTTP/1.1\r\nContent-Length: 10\r\n\r\n");
}

TEST(HttpTestServer, AStallSendsNothingAndStopEndsIt)
{
    HttpTestServer server;
    ASSERT_TRUE(server.Start());
    HttpAnswer stall;
    stall.fault = HttpFault::Stall;
    stall.stallMs = 60000;
    server.SetDefaultAnswer(stall);

    RawClient client(server.Port());
    ASSERT_TRUE(client.Connected());
    client.Send("GET / HTTP/1.1\r\n\r\n");
    ASSERT_TRUE(server.WaitForRequests(1, kWaitMs));
    client.SetReceiveTimeout(300);
    EXPECT_EQ(client.ReceiveAll(), "");
    EXPECT_EQ(client.lastError, WSAETIMEDOUT);

    server.Stop();  // returns although the stall had a minute to go
    client.SetReceiveTimeout(kWaitMs);
    EXPECT_EQ(client.ReceiveAll(), "");
    EXPECT_EQ(client.lastResult, 0);
}

TEST(HttpTestServer, AGivenPortIsExclusiveAndCanBeTakenAgainAfterStop)
{
    HttpTestServer first;
    ASSERT_TRUE(first.Start());
    const unsigned short port = first.Port();
    Exchange(first, "GET / HTTP/1.1\r\n\r\n");

    HttpTestServer second;
    EXPECT_FALSE(second.Start(port));
    first.Stop();
    ASSERT_TRUE(second.Start(port));
    EXPECT_EQ(second.Port(), port);
    EXPECT_FALSE(second.Start(port)) << "already running";
}

TEST(HttpTestServer, WaitingForRequestsIsBounded)
{
    HttpTestServer server;
    ASSERT_TRUE(server.Start());
    EXPECT_FALSE(server.WaitForRequests(1, 200));
    EXPECT_EQ(server.RequestCount(), 0u);
}
