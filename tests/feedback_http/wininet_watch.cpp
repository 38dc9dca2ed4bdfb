#include "wininet_watch.h"

#include <gtest/gtest.h>

namespace {

WinInetLog g_log;
decltype(&::InternetWriteFile) g_write = nullptr;
decltype(&::HttpSendRequestExW) g_send = nullptr;

const Kesto::WinInetCalls& Platform()
{
    return Kesto::PlatformWinInetCalls();
}

HINTERNET Opened(HINTERNET handle)
{
    if (handle != nullptr) {
        g_log.open.insert(handle);
        ++g_log.opened;
    }
    return handle;
}

std::string Narrow(const wchar_t* text)
{
    std::string narrow;
    for (; text != nullptr && *text != L'\0'; ++text)
        narrow += static_cast<char>(*text);
    return narrow;
}

HINTERNET WINAPI OpenInternet(LPCWSTR agent, DWORD access, LPCWSTR proxy, LPCWSTR bypass, DWORD flags)
{
    HINTERNET handle = Platform().InternetOpenW(agent, access, proxy, bypass, flags);
    DWORD error = GetLastError();
    Opened(handle);
    SetLastError(error);
    return handle;
}

HINTERNET WINAPI Connect(HINTERNET internet, LPCWSTR host, INTERNET_PORT port, LPCWSTR user,
                         LPCWSTR password, DWORD service, DWORD flags, DWORD_PTR context)
{
    g_log.connectPorts.push_back(port);
    g_log.connectHosts.push_back(Narrow(host));
    HINTERNET handle =
        Platform().InternetConnectW(internet, host, port, user, password, service, flags, context);
    DWORD error = GetLastError();
    Opened(handle);
    SetLastError(error);
    return handle;
}

HINTERNET WINAPI OpenRequest(HINTERNET connection, LPCSTR verb, LPCSTR object, LPCSTR version,
                             LPCSTR referrer, LPCSTR* accept, DWORD flags, DWORD_PTR context)
{
    g_log.requestVerbs.push_back(verb != nullptr ? verb : "");
    g_log.requestObjects.push_back(object != nullptr ? object : "");
    g_log.requestFlags.push_back(flags);
    HINTERNET handle = Platform().HttpOpenRequestA(connection, verb, object, version, referrer,
                                                   accept, flags, context);
    DWORD error = GetLastError();
    Opened(handle);
    SetLastError(error);
    return handle;
}

BOOL WINAPI AddHeaders(HINTERNET request, LPCSTR headers, DWORD length, DWORD modifiers)
{
    g_log.headerLines.push_back(std::string(headers, length));
    g_log.headerLengths.push_back(length);
    return Platform().HttpAddRequestHeadersA(request, headers, length, modifiers);
}

BOOL WINAPI Send(HINTERNET request, LPINTERNET_BUFFERSW in, LPINTERNET_BUFFERSW out, DWORD flags,
                 DWORD_PTR context)
{
    return (g_send != nullptr ? g_send : Platform().HttpSendRequestExW)(request, in, out, flags, context);
}

BOOL WINAPI Write(HINTERNET request, LPCVOID bytes, DWORD count, LPDWORD written)
{
    g_log.writeSizes.push_back(count);
    return (g_write != nullptr ? g_write : Platform().InternetWriteFile)(request, bytes, count, written);
}

BOOL WINAPI Close(HINTERNET handle)
{
    if (g_log.open.erase(handle) == 0)
        ++g_log.unknownCloses;
    return Platform().InternetCloseHandle(handle);
}

}  // namespace

WinInetWatch::WinInetWatch()
{
    g_log = WinInetLog();
    g_write = nullptr;
    g_send = nullptr;
    Kesto::WinInetCalls calls = Platform();
    calls.InternetOpenW = &OpenInternet;
    calls.InternetConnectW = &Connect;
    calls.HttpOpenRequestA = &OpenRequest;
    calls.HttpAddRequestHeadersA = &AddHeaders;
    calls.HttpSendRequestExW = &Send;
    calls.InternetWriteFile = &Write;
    calls.InternetCloseHandle = &Close;
    m_previous = Kesto::ReplaceWinInetCalls(calls);
}

WinInetWatch::~WinInetWatch()
{
    EXPECT_EQ(g_log.unknownCloses, 0u) << "a handle was closed twice or was never opened";
    Kesto::ReplaceWinInetCalls(m_previous);
    g_write = nullptr;
    g_send = nullptr;
}

const WinInetLog& WinInetWatch::Log() const
{
    return g_log;
}

void WinInetWatch::ClearWrites()
{
    g_log.writeSizes.clear();
}

void WinInetWatch::ReplaceWrite(decltype(&::InternetWriteFile) write)
{
    g_write = write;
}

void WinInetWatch::ReplaceSend(decltype(&::HttpSendRequestExW) send)
{
    g_send = send;
}

BOOL WINAPI WriteNothingButSucceed(HINTERNET, LPCVOID, DWORD, LPDWORD written)
{
    *written = 0;
    return TRUE;
}

BOOL WINAPI WriteThreeBytesAtMost(HINTERNET request, LPCVOID bytes, DWORD count, LPDWORD written)
{
    return Kesto::PlatformWinInetCalls().InternetWriteFile(request, bytes, count < 3 ? count : 3,
                                                           written);
}

BOOL WINAPI SendFailsToConnect(HINTERNET, LPINTERNET_BUFFERSW, LPINTERNET_BUFFERSW, DWORD, DWORD_PTR)
{
    SetLastError(ERROR_INTERNET_CANNOT_CONNECT);
    return FALSE;
}
