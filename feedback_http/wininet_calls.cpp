#include "wininet_calls.h"

namespace Kesto {

namespace {

const WinInetCalls kPlatformCalls = {
    &::InternetOpenW,      &::InternetConnectW, &::InternetSetOptionW, &::HttpOpenRequestA,
    &::HttpAddRequestHeadersA, &::HttpSendRequestExW, &::InternetWriteFile,
    &::HttpEndRequestW,    &::HttpQueryInfoW,   &::InternetReadFile,   &::InternetCloseHandle,
};

WinInetCalls g_calls = kPlatformCalls;

}  // namespace

const WinInetCalls& WinInet()
{
    return g_calls;
}

const WinInetCalls& PlatformWinInetCalls()
{
    return kPlatformCalls;
}

WinInetCalls ReplaceWinInetCalls(const WinInetCalls& calls)
{
    WinInetCalls previous = g_calls;
    g_calls = calls;
    return previous;
}

}  // namespace Kesto
