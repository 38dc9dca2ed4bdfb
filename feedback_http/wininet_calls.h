#pragma once
// Every WinINet entry point of the client goes through this one table. The
// program never changes it; a test build puts wrappers in its place to count
// the handles that are opened and closed, to see the port and flags a
// connection gets, or to make a call misbehave in ways Wine's WinINet never
// does (a write that reports success without writing).
#include <windows.h>
#include <wininet.h>

namespace Kesto {

struct WinInetCalls {
    decltype(&::InternetOpenW) InternetOpenW;
    decltype(&::InternetConnectW) InternetConnectW;
    decltype(&::InternetSetOptionW) InternetSetOptionW;
    decltype(&::HttpOpenRequestA) HttpOpenRequestA;
    decltype(&::HttpAddRequestHeadersA) HttpAddRequestHeadersA;
    decltype(&::HttpSendRequestExW) HttpSendRequestExW;
    decltype(&::InternetWriteFile) InternetWriteFile;
    decltype(&::HttpEndRequestW) HttpEndRequestW;
    decltype(&::HttpQueryInfoW) HttpQueryInfoW;
    decltype(&::InternetReadFile) InternetReadFile;
    decltype(&::InternetCloseHandle) InternetCloseHandle;
};

// The table in use.
const WinInetCalls& WinInet();

// The platform's own functions.
const WinInetCalls& PlatformWinInetCalls();

// Puts `calls` in place of the table in use and returns the one it replaced.
WinInetCalls ReplaceWinInetCalls(const WinInetCalls& calls);

}  // namespace Kesto
