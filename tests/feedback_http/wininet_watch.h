#pragma once
// For one scope, puts wrappers in place of the client's WinINet calls: they
// call the platform and note every handle opened and closed, the port of each
// connection, the object and flags of each request, each header line and
// the size of each write. A test may also stand in for the write or the send.
#include "feedback_http/wininet_calls.h"

#include <set>
#include <string>
#include <vector>

struct WinInetLog {
    std::set<HINTERNET> open;          // opened and not closed yet
    size_t opened = 0;                 // every handle handed out
    size_t unknownCloses = 0;          // closes of handles nobody opened here
    std::vector<INTERNET_PORT> connectPorts;
    std::vector<std::string> connectHosts;
    std::vector<std::string> requestObjects;
    std::vector<std::string> requestVerbs;
    std::vector<DWORD> requestFlags;
    std::vector<std::string> headerLines;  // as handed over, with the length given
    std::vector<DWORD> headerLengths;
    std::vector<DWORD> writeSizes;         // the count asked of each InternetWriteFile call
};

class WinInetWatch {
public:
    WinInetWatch();
    ~WinInetWatch();
    WinInetWatch(const WinInetWatch&) = delete;
    WinInetWatch& operator=(const WinInetWatch&) = delete;

    const WinInetLog& Log() const;
    size_t OpenHandles() const { return Log().open.size(); }
    void ClearWrites();

    // In place of the platform's write (the wrapper still notes the size).
    void ReplaceWrite(decltype(&::InternetWriteFile) write);
    // In place of the platform's send.
    void ReplaceSend(decltype(&::HttpSendRequestExW) send);

private:
    Kesto::WinInetCalls m_previous;
};

// Stand-ins: a write that reports success without writing, a write that
// takes at most three bytes a call, and a send that fails as a refused
// connection does.
BOOL WINAPI WriteNothingButSucceed(HINTERNET, LPCVOID, DWORD, LPDWORD written);
BOOL WINAPI WriteThreeBytesAtMost(HINTERNET request, LPCVOID bytes, DWORD count, LPDWORD written);
BOOL WINAPI SendFailsToConnect(HINTERNET, LPINTERNET_BUFFERSW, LPINTERNET_BUFFERSW, DWORD, DWORD_PTR);
