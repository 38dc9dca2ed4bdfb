#pragma once
// A small HTTP/1.1 server for tests, on 127.0.0.1, running on threads of its
// own inside the test process. It records every request byte for byte and
// answers with what the test configured, well-formed or not.
//
//   HttpTestServer server;
//   ASSERT_TRUE(server.Start());                       // any free port; Start(18931) for a given one
//   server.SetAnswer("/form", HttpAnswer{200, "ok"});   // per path (the target up to "?")
//   server.ServeBytes("/update.zip", zipBytes);         // 200 with these bytes
//   ... the code under test talks to server.Url("/form") ...
//   ASSERT_TRUE(server.WaitForRequests(1, 5000));
//   HttpRequest request = server.Requests()[0];         // raw bytes, request line, headers, body
//
// Each connection carries one request: the server reads the request line and
// the header, then the body as long as its Content-Length says, records the
// request, answers, and closes the connection ("Connection: close" is added
// to every answer unless the answer names a Connection header itself).
// Paths without an answer of their own get the default answer (200, empty).
//
// Every wait is bounded: a connection that sends nothing for 10 s is closed,
// a stall lasts at most its stallMs, and Stop() (which the destructor calls)
// ends every connection and joins every thread within a fraction of a second.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

enum class HttpFault {
    None,             // a well-formed answer
    CutShort,         // only the first cutAfterBytes bytes of the answer (head and body), then close
    CloseMidRequest,  // close as soon as the request's header has arrived, before its body; no answer
    Stall,            // read the request, send nothing, close after stallMs (or at Stop)
    Drip,             // the answer one byte at a time, intervalMs apart
    Reset,            // read the request, then reset the connection (RST); no answer
    RedirectToSelf,   // 301 with Location: the URL that was asked for
};

struct HttpAnswer {
    HttpAnswer() = default;
    HttpAnswer(int status_, std::string body_) : status(status_), body(std::move(body_)) {}

    int status = 200;
    std::string body;
    std::vector<std::string> headers;  // extra header lines, without CR LF: "X-Name: value"
    bool contentLength = true;         // false: no Content-Length, the close ends the body
    long long announcedLength = -1;    // 0 or more: this Content-Length instead of the body's size
    std::string statusLine;            // not empty: sent instead of "HTTP/1.1 <status> <reason>"
    HttpFault fault = HttpFault::None;
    size_t cutAfterBytes = 0;          // CutShort
    DWORD intervalMs = 100;            // Drip
    DWORD stallMs = 30000;             // Stall
};

struct HttpRequest {
    std::string raw;      // every byte that arrived for this request, as it arrived
    std::string method;   // from the request line
    std::string target;
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers;  // in order, values without leading blanks
    std::string body;     // as far as Content-Length announced it
    bool complete = false;  // the header and the whole announced body arrived

    // The value of the first header of that name (any case); empty when absent.
    std::string Header(const std::string& name) const;
    bool HasHeader(const std::string& name) const;
};

class HttpTestServer {
public:
    HttpTestServer();
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    // Listens on 127.0.0.1; port 0 takes any free port. False when the port
    // cannot be had or the server already runs.
    bool Start(unsigned short port = 0);
    void Stop();

    unsigned short Port() const { return m_port; }
    std::string Url(const std::string& path) const;  // "http://127.0.0.1:<port><path>"
    std::wstring WideUrl(const std::string& path) const;

    // Answers may be changed while the server runs; a connection takes the
    // answer in force when its request has arrived.
    void SetDefaultAnswer(const HttpAnswer& answer);
    void SetAnswer(const std::string& path, const HttpAnswer& answer);
    // 200 with exactly these bytes, announced by Content-Length or not.
    void ServeBytes(const std::string& path, std::string bytes, bool contentLength = true);

    std::vector<HttpRequest> Requests() const;
    size_t RequestCount() const;
    bool WaitForRequests(size_t count, DWORD timeoutMs) const;
    size_t ConnectionCount() const { return m_connectionCount; }

private:
    void AcceptLoop();
    void Serve(uintptr_t connection);
    std::shared_ptr<const HttpAnswer> AnswerFor(const std::string& target) const;
    void Record(HttpRequest request);

    uintptr_t m_listener = ~uintptr_t(0);  // a SOCKET; winsock2.h stays out of this header
    unsigned short m_port = 0;
    bool m_winsockReady = false;
    std::atomic<bool> m_stopping{false};
    std::atomic<size_t> m_connectionCount{0};
    std::thread m_acceptor;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_requestArrived;
    std::vector<std::thread> m_connections;
    std::vector<HttpRequest> m_requests;
    std::shared_ptr<const HttpAnswer> m_defaultAnswer;
    std::map<std::string, std::shared_ptr<const HttpAnswer>> m_answers;
};
