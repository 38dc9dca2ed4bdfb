#pragma once
// The WinINet calls of the client. CHttpToolA makes the narrow calls;
// CHttpToolW converts its UTF-16 texts to a code page and calls them, and
// holds the code-page conversions. Each failing call raises its error code
// with the last error; absent or empty arguments are argument errors (code 0).
#include "internet_handle.h"

#include <windows.h>
#include <wininet.h>

#include <memory>

namespace Kesto {

class CHttpToolA {
public:
    // HttpOpenRequestA for HTTP/1.1 accepting "*/*"; error 404.
    static InternetHandle OpenRequest(HINTERNET hConnection, const char* szObjectName,
                                      const char* szVerb, DWORD dwFlags, const char* szReferer);
    // Adds the line name + ": " + value + CR LF; error 405.
    static void AddHeader(HINTERNET hRequest, const char* szName, const char* szValue);
};

class CHttpToolW {
public:
    // New buffers, or nullptr for an absent text. Errors 600, 601 and 102.
    static std::unique_ptr<char[]> Unicode2Ansi(UINT CodePage, const wchar_t* szText);
    static std::unique_ptr<wchar_t[]> Ansi2Unicode(const char* szText);

    static InternetHandle OpenConnection(HINTERNET hInternet, const wchar_t* szServerAddr,
                                         INTERNET_PORT nPort);                        // 403
    static InternetHandle OpenRequest(HINTERNET hConnection, const wchar_t* szObjectName,
                                      UINT CodePage, DWORD dwFlags);                   // 404
    static void AddHeader(HINTERNET hRequest, const wchar_t* szName, const wchar_t* szValue,
                          UINT CodePage);                                              // 405
    static void SendRequestEx(HINTERNET hRequest, DWORD dwTotal);                      // 407
    // Writes all cbyBuff bytes, calling the platform again for the rest; a
    // call that reports success without writing anything ends it with 408.
    static void InternetWriteFile(HINTERNET hRequest, const BYTE* pbyBuff, DWORD cbyBuff);
    static void EndRequest(HINTERNET hRequest);                                        // 409
};

}  // namespace Kesto
