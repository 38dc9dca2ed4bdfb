#include <winsock2.h>
#include <ws2tcpip.h>

#include "http_test_server.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>

namespace {

const DWORD kPollMs = 50;         // how often a waiting thread looks at the stop flag
const DWORD kIdleLimitMs = 10000;  // a connection that sends nothing this long is closed
const DWORD kLingerMs = 2000;      // time given to the client to close first after an answer
const size_t kLongestHeader = 64 * 1024;
const size_t kSendPiece = 64 * 1024;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const char* ReasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

// Waits until the socket can be read; false when the stop flag was raised or
// the time ran out.
bool WaitReadable(SOCKET socket, DWORD timeoutMs, const std::atomic<bool>& stopping)
{
    for (DWORD waited = 0; waited < timeoutMs && !stopping; waited += kPollMs) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(socket, &set);
        timeval slice = {0, static_cast<long>(kPollMs) * 1000};
        int ready = select(0, &set, nullptr, nullptr, &slice);
        if (ready != 0)
            return ready > 0;
    }
    return false;
}

// Sleeps in short slices; false when the stop flag was raised.
bool Pause(DWORD ms, const std::atomic<bool>& stopping)
{
    for (DWORD slept = 0; slept < ms; slept += kPollMs) {
        if (stopping)
            return false;
        Sleep(std::min(kPollMs, ms - slept));
    }
    return !stopping;
}

bool SendAll(SOCKET socket, const char* bytes, size_t count, const std::atomic<bool>& stopping)
{
    while (count > 0 && !stopping) {
        int piece = static_cast<int>(std::min(count, kSendPiece));
        int sent = send(socket, bytes, piece, 0);
        if (sent <= 0)
            return false;
        bytes += sent;
        count -= static_cast<size_t>(sent);
    }
    return count == 0;
}

// The request line and the header lines of `head` (without its blank line).
void ParseHead(const std::string& head, HttpRequest& request)
{
    size_t lineEnd = head.find("\r\n");
    std::string requestLine = head.substr(0, lineEnd);
    size_t firstBlank = requestLine.find(' ');
    size_t secondBlank = requestLine.find(' ', firstBlank == std::string::npos ? 0 : firstBlank + 1);
    request.method = requestLine.substr(0, firstBlank);
    if (firstBlank != std::string::npos)
        request.target = requestLine.substr(firstBlank + 1, secondBlank - firstBlank - 1);
    if (secondBlank != std::string::npos)
        request.version = requestLine.substr(secondBlank + 1);

    while (lineEnd != std::string::npos && lineEnd + 2 < head.size()) {
        size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        std::string line = head.substr(start, lineEnd == std::string::npos ? std::string::npos
                                                                           : lineEnd - start);
        size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        size_t valueStart = line.find_first_not_of(" \t", colon + 1);
        request.headers.emplace_back(line.substr(0, colon),
                                     valueStart == std::string::npos ? std::string()
                                                                     : line.substr(valueStart));
    }
}

size_t AnnouncedBodyLength(const HttpRequest& request)
{
    std::string length = request.Header("Content-Length");
    return length.empty() ? 0 : static_cast<size_t>(std::strtoull(length.c_str(), nullptr, 10));
}

bool NamesHeader(const HttpAnswer& answer, const std::string& name)
{
    std::string prefix = Lower(name) + ":";
    for (const std::string& line : answer.headers) {
        if (Lower(line).compare(0, prefix.size(), prefix) == 0)
            return true;
    }
    return false;
}

std::string AnswerBytes(const HttpAnswer& answer, const std::string& location)
{
    int status = answer.fault == HttpFault::RedirectToSelf ? 301 : answer.status;
    std::string bytes = answer.statusLine.empty()
                            ? "HTTP/1.1 " + std::to_string(status) + " " + ReasonPhrase(status)
                            : answer.statusLine;
    bytes += "\r\n";
    if (answer.fault == HttpFault::RedirectToSelf)
        bytes += "Location: " + location + "\r\n";
    if (answer.announcedLength >= 0)
        bytes += "Content-Length: " + std::to_string(answer.announcedLength) + "\r\n";
    else if (answer.contentLength)
        bytes += "Content-Length: " + std::to_string(answer.body.size()) + "\r\n";
    for (const std::string& line : answer.headers)
        bytes += line + "\r\n";
    if (!NamesHeader(answer, "Connection"))
        bytes += "Connection: close\r\n";
    bytes += "\r\n";
    bytes += answer.body;
    return bytes;
}

void ResetConnection(SOCKET socket)
{
    linger abort = {1, 0};
    setsockopt(socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    closesocket(socket);
}

// Lets the client close first, so the server's port is not left waiting.
void CloseGracefully(SOCKET socket, const std::atomic<bool>& stopping)
{
    shutdown(socket, SD_SEND);
    char sink[4096];
    const ULONGLONG deadline = GetTickCount64() + kLingerMs;
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        if (!WaitReadable(socket, static_cast<DWORD>(deadline - now), stopping) ||
            recv(socket, sink, sizeof sink, 0) <= 0)
            break;
    }
    closesocket(socket);
}

}  // namespace

std::string HttpRequest::Header(const std::string& name) const
{
    std::string wanted = Lower(name);
    for (const auto& header : headers) {
        if (Lower(header.first) == wanted)
            return header.second;
    }
    return std::string();
}

bool HttpRequest::HasHeader(const std::string& name) const
{
    std::string wanted = Lower(name);
    return std::any_of(headers.begin(), headers.end(),
                       [&](const auto& header) { return Lower(header.first) == wanted; });
}

HttpTestServer::HttpTestServer() : m_defaultAnswer(std::make_shared<HttpAnswer>())
{
    WSADATA data;
    m_winsockReady = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

HttpTestServer::~HttpTestServer()
{
    Stop();
    if (m_winsockReady)
        WSACleanup();
}

bool HttpTestServer::Start(unsigned short port)
{
    if (!m_winsockReady || m_listener != INVALID_SOCKET)
        return false;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET)
        return false;
    // One listener per port: never share it with another server by accident.
    BOOL exclusive = TRUE;
    setsockopt(listener, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
               sizeof exclusive);

    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, SOMAXCONN) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener);
        return false;
    }
    m_listener = listener;
    m_port = ntohs(address.sin_port);
    m_stopping = false;
    m_acceptor = std::thread(&HttpTestServer::AcceptLoop, this);
    return true;
}

void HttpTestServer::Stop()
{
    if (m_listener == INVALID_SOCKET)
        return;
    m_stopping = true;
    if (m_acceptor.joinable())
        m_acceptor.join();
    closesocket(static_cast<SOCKET>(m_listener));
    m_listener = INVALID_SOCKET;

    std::vector<std::thread> connections;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        connections.swap(m_connections);
    }
    for (std::thread& connection : connections)
        connection.join();
}

std::string HttpTestServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

std::wstring HttpTestServer::WideUrl(const std::string& path) const
{
    std::string url = Url(path);
    return std::wstring(url.begin(), url.end());
}

void HttpTestServer::SetDefaultAnswer(const HttpAnswer& answer)
{
    auto shared = std::make_shared<const HttpAnswer>(answer);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_defaultAnswer = shared;
}

void HttpTestServer::SetAnswer(const std::string& path, const HttpAnswer& answer)
{
    auto shared = std::make_shared<const HttpAnswer>(answer);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_answers[path] = shared;
}

void HttpTestServer::ServeBytes(const std::string& path, std::string bytes, bool contentLength)
{
    HttpAnswer answer;
    answer.body = std::move(bytes);
    answer.contentLength = contentLength;
    SetAnswer(path, answer);
}

std::vector<HttpRequest> HttpTestServer::Requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

size_t HttpTestServer::RequestCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests.size();
}

bool HttpTestServer::WaitForRequests(size_t count, DWORD timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_requestArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [&] { return m_requests.size() >= count; });
}

void HttpTestServer::AcceptLoop()
{
    while (!m_stopping) {
        if (!WaitReadable(static_cast<SOCKET>(m_listener), kPollMs, m_stopping))
            continue;
        SOCKET connection = accept(static_cast<SOCKET>(m_listener), nullptr, nullptr);
        if (connection == INVALID_SOCKET)
            continue;
        ++m_connectionCount;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_connections.emplace_back(&HttpTestServer::Serve, this, connection);
    }
}

std::shared_ptr<const HttpAnswer> HttpTestServer::AnswerFor(const std::string& target) const
{
    std::string path = target.substr(0, target.find('?'));
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_answers.find(path);
    return found != m_answers.end() ? found->second : m_defaultAnswer;
}

void HttpTestServer::Record(HttpRequest request)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(std::move(request));
    }
    m_requestArrived.notify_all();
}

void HttpTestServer::Serve(uintptr_t socket)
{
    const SOCKET connection = static_cast<SOCKET>(socket);
    HttpRequest request;
    char buffer[16384];
    auto receive = [&]() {
        if (!WaitReadable(connection, kIdleLimitMs, m_stopping))
            return false;
        int n = recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        request.raw.append(buffer, static_cast<size_t>(n));
        return true;
    };

    // The request line and the header.
    size_t headEnd = std::string::npos;
    while ((headEnd = request.raw.find("\r\n\r\n")) == std::string::npos) {
        if (request.raw.size() > kLongestHeader || !receive()) {
            if (!request.raw.empty())
                Record(request);
            closesocket(connection);
            return;
        }
    }
    ParseHead(request.raw.substr(0, headEnd), request);
    std::shared_ptr<const HttpAnswer> answer = AnswerFor(request.target);

    const size_t bodyStart = headEnd + 4;
    const size_t bodyLength = AnnouncedBodyLength(request);
    if (answer->fault != HttpFault::CloseMidRequest) {
        while (request.raw.size() - bodyStart < bodyLength && receive()) {
        }
    }
    request.body = request.raw.substr(bodyStart, bodyLength);
    request.complete = request.raw.size() - bodyStart >= bodyLength;
    const std::string location = Url(request.target);
    Record(request);

    const std::string bytes = AnswerBytes(*answer, location);
    switch (answer->fault) {
    case HttpFault::CloseMidRequest:
        closesocket(connection);
        return;
    case HttpFault::Reset:
        ResetConnection(connection);
        return;
    case HttpFault::Stall:
        Pause(answer->stallMs, m_stopping);
        closesocket(connection);
        return;
    case HttpFault::CutShort:
        SendAll(connection, bytes.data(), std::min(bytes.size(), answer->cutAfterBytes), m_stopping);
        closesocket(connection);
        return;
    case HttpFault::Drip:
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (!SendAll(connection, &bytes[i], 1, m_stopping) ||
                !Pause(answer->intervalMs, m_stopping))
                break;
        }
        break;
    case HttpFault::None:
    case HttpFault::RedirectToSelf:
        SendAll(connection, bytes.data(), bytes.size(), m_stopping);
        break;
    }
    CloseGracefully(connection, m_stopping);
}
