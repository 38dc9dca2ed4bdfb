#include "http_response.h"

#include "http_errors.h"

namespace Kesto {

CHttpResponseT::CHttpResponseT(InternetHandle hInternet, InternetHandle hConnection,
                               InternetHandle hRequest)
    : m_hInternet(std::move(hInternet)),
      m_hConnection(std::move(hConnection)),
      m_hRequest(std::move(hRequest))
{
}

CHttpResponseT::~CHttpResponseT()
{
    m_hRequest.Close();
    m_hConnection.Close();
    m_hInternet.Close();
    m_mapHeader.Clear();
}

DWORD CHttpResponseT::GetStatus()
{
    if (!m_hRequest)
        httpclientexceptionW::RaiseMessage(L"CHttpResponseT::GetStatus: m_hRequest can not be NULL.");
    if (m_dwStatus != 0)
        return m_dwStatus;

    DWORD status = 0;
    DWORD size = sizeof status;
    BOOL ok = WinInet().HttpQueryInfoW(m_hRequest.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                                       &status, &size, nullptr);
    DWORD lastError = GetLastError();
    if (!ok)
        httpclientexceptionW::RaiseCode(400, lastError);
    m_dwStatus = status;
    return m_dwStatus;
}

DWORD CHttpResponseT::ReadContent(BYTE* pbyBuff, DWORD cbyBuff)
{
    if (!m_hRequest)
        httpclientexceptionW::RaiseMessage(
            L"CHttpResponseT::ReadContent: m_hRequest can not be NULL.");
    if (pbyBuff == nullptr)
        httpclientexceptionW::RaiseMessage(L"CHttpResponseT::ReadContent: pbyBuff can not be NULL.");

    DWORD read = 0;
    BOOL ok = WinInet().InternetReadFile(m_hRequest.Get(), pbyBuff, cbyBuff, &read);
    DWORD lastError = GetLastError();
    if (!ok)
        httpclientexceptionW::RaiseCode(401, lastError);
    return read;
}

}  // namespace Kesto
