#pragma once
// The answer to a finished post. It owns the request's three WinINet handles
// and closes them (request, connection, Internet) when it is deleted.
#include "http_client_map.h"
#include "internet_handle.h"

namespace Kesto {

class CHttpResponseT {
public:
    CHttpResponseT(InternetHandle hInternet, InternetHandle hConnection,
                   InternetHandle hRequest);
    virtual ~CHttpResponseT();
    CHttpResponseT(const CHttpResponseT&) = delete;
    CHttpResponseT& operator=(const CHttpResponseT&) = delete;

    // The status code; the platform is asked once (error 400).
    DWORD GetStatus();
    // One read of at most cbyBuff bytes; 0 at the end of the content (error
    // 401). Nothing is appended to the bytes.
    DWORD ReadContent(BYTE* pbyBuff, DWORD cbyBuff);

private:
    CHttpClientMapT m_mapHeader;
    InternetHandle m_hInternet;
    InternetHandle m_hConnection;
    InternetHandle m_hRequest;
    DWORD m_dwStatus = 0;
};

}  // namespace Kesto
