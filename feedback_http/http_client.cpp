#include "http_client.h"

#include "guarded_arithmetic.h"
#include "http_errors.h"
#include "url_analyzer.h"

#include <iterator>
#include <new>

namespace Kesto {

namespace {

const wchar_t kDefaultAgent[] = L"Kesto HTTP Client Class";
const DWORD kValueBytesPerStep = 1024;
const DWORD kLargestPort = 65535;
// Left to its defaults, Wine's WinINet waits for ever on a server that takes
// the request and never answers, and the window that posts freezes with it:
// every send and every read gives up after this long without a byte.
const DWORD kTransferTimeoutMs = 30000;

wchar_t FoldAscii(wchar_t unit)
{
    return unit >= L'a' && unit <= L'z' ? static_cast<wchar_t>(unit - L'a' + L'A') : unit;
}

// Only a scheme of exactly five units that reads "HTTPS" in any case counts.
bool IsHttps(const wchar_t* url, const UrlAnalysis& parts)
{
    if (parts.schemeLength != 5)
        return false;
    const wchar_t kHttps[] = L"HTTPS";
    for (int i = 0; i < 5; ++i) {
        if (FoldAscii(url[i]) != kHttps[i])
            return false;
    }
    return true;
}

// The port text, wholly decimal and at most 65535 (error 107).
INTERNET_PORT ParsePort(const wchar_t* text, DWORD length)
{
    if (length > 5)
        httpclientexceptionW::RaiseCode(107);
    DWORD value = 0;
    for (DWORD i = 0; i < length; ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            httpclientexceptionW::RaiseCode(107);
        value = value * 10 + static_cast<DWORD>(text[i] - L'0');
    }
    if (value > kLargestPort)
        httpclientexceptionW::RaiseCode(107);
    return static_cast<INTERNET_PORT>(value);
}

// Path, query and fragment; "/" when nothing follows the host and port, and
// "/" before a query or fragment that follows them directly.
std::wstring ObjectName(const wchar_t* url, const UrlAnalysis& parts)
{
    const wchar_t* rest = url + parts.pathStart;
    if (parts.pathLength > 0)
        return rest;
    return std::wstring(L"/") + rest;
}

const wchar_t* OrNull(const std::wstring& text)
{
    return text.empty() ? nullptr : text.c_str();
}

}  // namespace

template <typename HttpTool, typename HttpEncoder>
CHttpClientT<HttpTool, HttpEncoder>::~CHttpClientT()
{
    _AbortPostContext();
}

template <typename HttpTool, typename HttpEncoder>
bool CHttpClientT<HttpTool, HttpEncoder>::SetUseUtf8(bool bUseUtf8)
{
    if (m_objPostStat.IsActive())
        httpclientexceptionW::RaiseMessage(
            L"CHttpClientT::SetUseUtf8: It is not allowed to call this method if the POST "
            L"context is active.");
    bool previous = m_bUseUtf8;
    m_bUseUtf8 = bUseUtf8;
    return previous;
}

template <typename HttpTool, typename HttpEncoder>
void CHttpClientT<HttpTool, HttpEncoder>::AddParam(const wchar_t* szName, const wchar_t* szValue)
{
    if (m_objPostStat.IsActive())
        httpclientexceptionW::RaiseMessage(
            L"CHttpClientT::AddParam: It is not allowed to call this method if the POST context "
            L"is active.");
    m_mapParam.Add(szName, szValue);
}

template <typename HttpTool, typename HttpEncoder>
void CHttpClientT<HttpTool, HttpEncoder>::StartPostContext(const wchar_t* szUrl, DWORD dwFlags)
{
    if (m_objPostStat.IsActive())
        _DetachPostContext();  // its handles close here

    // Handles opened below close again, request first, if a later step raises.
    DWORD dwValueBytes = 0;
    const DWORD dwBodyBytes = BodyLength(dwValueBytes);
    InternetHandle hInternet = OpenInternet();
    InternetHandle hConnection = OpenConnection(hInternet.Get(), szUrl);
    InternetHandle hRequest = OpenRequest(hConnection.Get(), szUrl, dwFlags);
    AddRequestHeader(hRequest.Get());
    HttpTool::AddHeader(hRequest.Get(), L"Content-Type", L"application/x-www-form-urlencoded",
                        m_nAnsiCodePage);
    HttpTool::SendRequestEx(hRequest.Get(), dwBodyBytes);

    m_objPostStat._MakeActive(dwBodyBytes, dwValueBytes, m_mapParam.Count());
    m_objHandles.hInternet = std::move(hInternet);
    m_objHandles.hConnection = std::move(hConnection);
    m_objHandles.hRequest = std::move(hRequest);
}

template <typename HttpTool, typename HttpEncoder>
std::unique_ptr<CHttpResponseT> CHttpClientT<HttpTool, HttpEncoder>::ContinuePost()
{
    return _ProceedPostContext();
}

// name=value pairs joined by "&", every length URL-encoded; the values alone
// go to dwValueBytes.
template <typename HttpTool, typename HttpEncoder>
DWORD CHttpClientT<HttpTool, HttpEncoder>::BodyLength(DWORD& dwValueBytes) const
{
    DWORD body = 0;
    DWORD values = 0;
    bool first = true;
    for (const auto& entry : m_mapParam) {
        if (!first)
            body = GuardedAdd(body, 1);
        first = false;
        DWORD valueLength =
            HttpEncoder::UrlEncodeLenA(entry.second.get(), m_bUseUtf8, m_nAnsiCodePage);
        body = GuardedAdd(body, HttpEncoder::UrlEncodeNameLenA(entry.first.get(), m_bUseUtf8,
                                                               m_nAnsiCodePage));
        body = GuardedAdd(body, 1);
        body = GuardedAdd(body, valueLength);
        values = GuardedAdd(values, valueLength);
    }
    dwValueBytes = values;
    return body;
}

template <typename HttpTool, typename HttpEncoder>
InternetHandle CHttpClientT<HttpTool, HttpEncoder>::OpenInternet() const
{
    const InternetOpenSettings& settings = m_objOpenSettings;
    HINTERNET handle = WinInet().InternetOpenW(
        settings.strAgent.empty() ? kDefaultAgent : settings.strAgent.c_str(), settings.dwAccessType,
        OrNull(settings.strProxyName), OrNull(settings.strProxyBypass), settings.dwFlags);
    DWORD lastError = GetLastError();
    if (handle == nullptr)
        httpclientexceptionW::RaiseCode(402, lastError);
    return InternetHandle(handle);
}

template <typename HttpTool, typename HttpEncoder>
InternetHandle CHttpClientT<HttpTool, HttpEncoder>::OpenConnection(HINTERNET hInternet,
                                                                   const wchar_t* szUrl) const
{
    if (hInternet == nullptr)
        httpclientexceptionW::RaiseMessage(L"CHttpClientT::OpenConnection: hInternet can not be NULL.");

    const UrlAnalysis parts = CHttpUrlAnalyzerT::Analyze(szUrl, m_nAnsiCodePage);
    INTERNET_PORT port = IsHttps(szUrl, parts) ? INTERNET_DEFAULT_HTTPS_PORT
                                               : INTERNET_DEFAULT_HTTP_PORT;
    if (parts.portLength > 0)
        port = ParsePort(szUrl + parts.portStart, parts.portLength);
    if (parts.hostLength == 0)
        httpclientexceptionW::RaiseCode(103);

    const std::wstring host(szUrl + parts.hostStart, parts.hostLength);
    InternetHandle hConnection = HttpTool::OpenConnection(hInternet, host.c_str(), port);
    // Inherited by the request (Wine takes them on the connection, not on
    // the Internet handle); where the platform refuses, its own times stay.
    DWORD timeout = kTransferTimeoutMs;
    WinInet().InternetSetOptionW(hConnection.Get(), INTERNET_OPTION_SEND_TIMEOUT, &timeout,
                                 sizeof timeout);
    WinInet().InternetSetOptionW(hConnection.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout,
                                 sizeof timeout);
    ApplyProxyAccount(hConnection.Get());
    return hConnection;
}

template <typename HttpTool, typename HttpEncoder>
void CHttpClientT<HttpTool, HttpEncoder>::ApplyProxyAccount(HINTERNET hConnection) const
{
    if (hConnection == nullptr)
        httpclientexceptionW::RaiseMessage(
            L"CHttpClientT::ApplyProxyAccount: hConnection can not be NULL.");

    const std::wstring& user = m_objOpenSettings.strProxyUserName;
    const std::wstring& password = m_objOpenSettings.strProxyPassword;
    if (user.empty() || password.empty())
        return;
    if (!WinInet().InternetSetOptionW(hConnection, INTERNET_OPTION_PROXY_USERNAME,
                                      const_cast<wchar_t*>(user.c_str()),
                                      GuardedLength(user.size())))
        httpclientexceptionW::RaiseCode(410, GetLastError());
    if (!WinInet().InternetSetOptionW(hConnection, INTERNET_OPTION_PROXY_PASSWORD,
                                      const_cast<wchar_t*>(password.c_str()),
                                      GuardedLength(password.size())))
        httpclientexceptionW::RaiseCode(410, GetLastError());
}

template <typename HttpTool, typename HttpEncoder>
InternetHandle CHttpClientT<HttpTool, HttpEncoder>::OpenRequest(HINTERNET hConnection,
                                                                const wchar_t* szUrl,
                                                                DWORD dwFlags) const
{
    if (hConnection == nullptr)
        httpclientexceptionW::RaiseMessage(L"CHttpClientT::OpenRequest: hConnection can not be NULL.");

    const UrlAnalysis parts = CHttpUrlAnalyzerT::Analyze(szUrl, m_nAnsiCodePage);
    if (IsHttps(szUrl, parts))
        dwFlags |= INTERNET_FLAG_SECURE;
    const std::wstring objectName = ObjectName(szUrl, parts);

    InternetHandle hRequest = HttpTool::OpenRequest(hConnection, objectName.c_str(), m_nAnsiCodePage,
                                                    dwFlags);
    if (dwFlags & INTERNET_FLAG_PRAGMA_NOCACHE)
        HttpTool::AddHeader(hRequest.Get(), L"Cache-Control", L"no-cache", m_nAnsiCodePage);
    return hRequest;
}

template <typename HttpTool, typename HttpEncoder>
void CHttpClientT<HttpTool, HttpEncoder>::AddRequestHeader(HINTERNET hRequest) const
{
    if (hRequest == nullptr)
        httpclientexceptionW::RaiseMessage(L"CHttpClientT::AddRequestHeader: hRequest can not be NULL.");
    for (const auto& entry : m_mapHeader)
        HttpTool::AddHeader(hRequest, entry.first.get(), entry.second.get(), m_nAnsiCodePage);
}

// Into a buffer of the exact size.
template <typename HttpTool, typename HttpEncoder>
typename CHttpClientT<HttpTool, HttpEncoder>::EncodedText
CHttpClientT<HttpTool, HttpEncoder>::EncodeValue(const wchar_t* szText) const
{
    EncodedText encoded;
    if (szText == nullptr)
        return encoded;
    encoded.length = HttpEncoder::UrlEncodeLenA(szText, m_bUseUtf8, m_nAnsiCodePage);
    encoded.bytes.reset(new (std::nothrow) char[GuardedAdd(encoded.length, 1)]);
    if (!encoded.bytes)
        httpclientexceptionW::RaiseCode(102);
    HttpEncoder::UrlEncodeA(szText, encoded.bytes.get(), m_bUseUtf8, m_nAnsiCodePage);
    return encoded;
}

template <typename HttpTool, typename HttpEncoder>
typename CHttpClientT<HttpTool, HttpEncoder>::EncodedText
CHttpClientT<HttpTool, HttpEncoder>::EncodeName(const wchar_t* szName) const
{
    EncodedText encoded;
    encoded.length = HttpEncoder::UrlEncodeNameLenA(szName, m_bUseUtf8, m_nAnsiCodePage);
    encoded.bytes.reset(new (std::nothrow) char[GuardedAdd(encoded.length, 1)]);
    if (!encoded.bytes)
        httpclientexceptionW::RaiseCode(102);
    HttpEncoder::UrlEncodeNameA(szName, encoded.bytes.get(), m_bUseUtf8, m_nAnsiCodePage);
    return encoded;
}

// One step: a parameter's separator, name and "=", or up to 1024 bytes of
// its value, or, after the last value byte, the end of the request.
template <typename HttpTool, typename HttpEncoder>
std::unique_ptr<CHttpResponseT> CHttpClientT<HttpTool, HttpEncoder>::_ProceedPostContext()
{
    if (!m_objPostStat.IsActive())
        httpclientexceptionW::RaiseCode(104);
    if (!m_objHandles.hInternet)
        httpclientexceptionW::RaiseMessage(
            L"CHttpClientT::_ProceedPostContext: m_hInternet can not be NULL.");
    if (!m_objHandles.hConnection)
        httpclientexceptionW::RaiseMessage(
            L"CHttpClientT::_ProceedPostContext: m_hConnection can not be NULL.");
    if (!m_objHandles.hRequest)
        httpclientexceptionW::RaiseMessage(
            L"CHttpClientT::_ProceedPostContext: m_hRequest can not be NULL.");

    try {
        if (!m_objPostStat.CurrParamIsComplete()) {
            _WriteValuePiece();
            return nullptr;
        }
        if (m_objPostStat.PostedCount() == m_objPostStat.TotalCount()) {
            HttpTool::EndRequest(m_objHandles.hRequest.Get());
            return _ReleasePostResponse();
        }
        _BeginNextParam();
        return nullptr;
    } catch (...) {
        _AbortPostContext();
        throw;
    }
}

template <typename HttpTool, typename HttpEncoder>
void CHttpClientT<HttpTool, HttpEncoder>::_BeginNextParam()
{
    const DWORD index = m_objPostStat.PostedCount();
    const auto entry = std::next(m_mapParam.begin(), static_cast<std::ptrdiff_t>(index));

    if (index > 0)
        _WritePost(reinterpret_cast<const BYTE*>("&"), 1, false);
    const EncodedText name = EncodeName(entry->first.get());
    _WritePost(reinterpret_cast<const BYTE*>(name.bytes.get()), name.length, false);
    _WritePost(reinterpret_cast<const BYTE*>("="), 1, false);

    m_objCurrValue = EncodeValue(entry->second.get());
    m_objPostStat._TestStartNewEntry();
    m_objPostStat._StartNewEntry(entry->first.get(), m_objCurrValue.length);
}

template <typename HttpTool, typename HttpEncoder>
void CHttpClientT<HttpTool, HttpEncoder>::_WriteValuePiece()
{
    const DWORD remain = m_objPostStat.CurrParamRemainByte();
    const DWORD piece = remain < kValueBytesPerStep ? remain : kValueBytesPerStep;
    const char* from = m_objCurrValue.bytes.get() + m_objPostStat.CurrParamPostedByte();
    _WritePost(reinterpret_cast<const BYTE*>(from), piece, true);
}

template <typename HttpTool, typename HttpEncoder>
void CHttpClientT<HttpTool, HttpEncoder>::_WritePost(const BYTE* pbyBuff, DWORD cbyBuff,
                                                     bool bIsContent)
{
    if (!m_objHandles.hRequest)
        httpclientexceptionW::RaiseMessage(L"CHttpClientT::_WritePost: m_hRequest can not be NULL.");
    if (pbyBuff == nullptr || cbyBuff == 0)
        return;

    if (bIsContent)
        m_objPostStat._TestAddPostedBytes(cbyBuff);
    else
        m_objPostStat._TestAddActualPostedBytes(cbyBuff);
    HttpTool::InternetWriteFile(m_objHandles.hRequest.Get(), pbyBuff, cbyBuff);
    if (bIsContent)
        m_objPostStat._AddPostedBytes(cbyBuff);
    m_objPostStat._AddActualPostedBytes(cbyBuff);
}

template <typename HttpTool, typename HttpEncoder>
std::unique_ptr<CHttpResponseT> CHttpClientT<HttpTool, HttpEncoder>::_ReleasePostResponse()
{
    if (!m_objPostStat.IsActive())
        httpclientexceptionW::RaiseMessage(
            L"CHttpClientT::_ReleasePostResponse: The post context is not active.");

    PostHandles handles = _DetachPostContext();
    try {
        return std::make_unique<CHttpResponseT>(std::move(handles.hInternet),
                                                std::move(handles.hConnection),
                                                std::move(handles.hRequest));
    } catch (const std::bad_alloc&) {
        httpclientexceptionW::RaiseCode(102);  // the handles close on the way out
    }
}

template <typename HttpTool, typename HttpEncoder>
void CHttpClientT<HttpTool, HttpEncoder>::_AbortPostContext() noexcept
{
    if (m_objPostStat.IsActive())
        _DetachPostContext().CloseAll();
}

template <typename HttpTool, typename HttpEncoder>
typename CHttpClientT<HttpTool, HttpEncoder>::PostHandles
CHttpClientT<HttpTool, HttpEncoder>::_DetachPostContext()
{
    if (!m_objPostStat.IsActive())
        httpclientexceptionW::RaiseMessage(
            L"CHttpClientT::_ReleasePostResponse: The post context is not active.");

    PostHandles handles;
    handles.hInternet = std::move(m_objHandles.hInternet);
    handles.hConnection = std::move(m_objHandles.hConnection);
    handles.hRequest = std::move(m_objHandles.hRequest);
    m_objCurrValue = EncodedText();
    m_objPostStat._ResetStatus();
    return handles;
}

template class CHttpClientT<CHttpToolW, CHttpEncoderW>;

}  // namespace Kesto
