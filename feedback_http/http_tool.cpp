#include "http_tool.h"

#include "guarded_arithmetic.h"
#include "http_errors.h"

#include <cstring>
#include <new>

namespace Kesto {

namespace {

const UINT kUtf7 = 65000;

bool IsRefusedCodePage(UINT codePage)
{
    return codePage == CP_UTF8 || codePage == kUtf7;
}

template <typename Char>
std::unique_ptr<Char[]> NewBuffer(size_t units)
{
    std::unique_ptr<Char[]> buffer(new (std::nothrow) Char[units]);
    if (!buffer)
        httpclientexceptionW::RaiseCode(102);
    return buffer;
}

// A failure of a narrow call, raised again in the wide class with its code,
// last error and message.
[[noreturn]] void RaiseAsWide(const httpclientexceptionA& error)
{
    httpclientexceptionW::RaiseNarrowMessage(error.GetMessageText(), error.GetCode(),
                                             error.GetSystemError());
}

}  // namespace

// CHttpToolA

InternetHandle CHttpToolA::OpenRequest(HINTERNET hConnection, const char* szObjectName,
                                       const char* szVerb, DWORD dwFlags, const char* szReferer)
{
    if (hConnection == nullptr)
        httpclientexceptionA::RaiseMessage("CHttpToolA::OpenRequest: hConnection can not be NULL.");
    if (szObjectName == nullptr)
        httpclientexceptionA::RaiseMessage("CHttpToolA::OpenRequest: szObjectName can not be NULL.");
    if (szObjectName[0] == '\0')
        httpclientexceptionA::RaiseMessage(
            "CHttpToolA::OpenRequest: szObjectName can not be an empty string.");

    LPCSTR acceptTypes[] = {"*/*", nullptr};
    HINTERNET request = WinInet().HttpOpenRequestA(hConnection, szVerb, szObjectName, "HTTP/1.1",
                                                   szReferer, acceptTypes, dwFlags, 0);
    DWORD lastError = GetLastError();
    if (request == nullptr)
        httpclientexceptionA::RaiseCode(404, lastError);
    return InternetHandle(request);
}

void CHttpToolA::AddHeader(HINTERNET hRequest, const char* szName, const char* szValue)
{
    if (hRequest == nullptr)
        httpclientexceptionA::RaiseMessage("CHttpToolA::AddHeader: hRequest can not be NULL.");
    if (szName == nullptr)
        httpclientexceptionA::RaiseMessage("CHttpToolA::AddHeader: szName can not be NULL.");
    if (szValue == nullptr)
        szValue = "";

    const size_t nameLength = std::strlen(szName);
    const size_t valueLength = std::strlen(szValue);
    DWORD lineLength = GuardedAddA(GuardedAddA(static_cast<DWORD>(nameLength), 4),
                                   static_cast<DWORD>(valueLength));
    std::unique_ptr<char[]> line(new (std::nothrow) char[GuardedAddA(lineLength, 1)]);
    if (!line)
        httpclientexceptionA::RaiseCode(102);
    char* end = line.get();
    std::memcpy(end, szName, nameLength);
    end += nameLength;
    std::memcpy(end, ": ", 2);
    end += 2;
    std::memcpy(end, szValue, valueLength);
    end += valueLength;
    std::memcpy(end, "\r\n", 3);

    BOOL added = WinInet().HttpAddRequestHeadersA(hRequest, line.get(), lineLength,
                                                  HTTP_ADDREQ_FLAG_ADD);
    DWORD lastError = GetLastError();
    if (!added)
        httpclientexceptionA::RaiseCode(405, lastError);
}

// CHttpToolW

std::unique_ptr<char[]> CHttpToolW::Unicode2Ansi(UINT CodePage, const wchar_t* szText)
{
    if (IsRefusedCodePage(CodePage))
        httpclientexceptionW::RaiseNarrowMessage(
            "CHttpToolW::Unicode2Ansi: CP_UTF8 and CP_UTF7 can not be used for the CodePage "
            "parameter.");
    if (szText == nullptr)
        return nullptr;

    int size = WideCharToMultiByte(CodePage, 0, szText, -1, nullptr, 0, nullptr, nullptr);
    if (size == 0)
        httpclientexceptionW::RaiseCode(600, GetLastError());
    std::unique_ptr<char[]> text = NewBuffer<char>(static_cast<size_t>(size));
    if (WideCharToMultiByte(CodePage, 0, szText, -1, text.get(), size, nullptr, nullptr) == 0)
        httpclientexceptionW::RaiseCode(600, GetLastError());
    return text;
}

std::unique_ptr<wchar_t[]> CHttpToolW::Ansi2Unicode(const char* szText)
{
    if (szText == nullptr)
        return nullptr;

    int size = MultiByteToWideChar(CP_ACP, 0, szText, -1, nullptr, 0);
    if (size == 0)
        httpclientexceptionW::RaiseCode(601, GetLastError());
    std::unique_ptr<wchar_t[]> text = NewBuffer<wchar_t>(static_cast<size_t>(size));
    if (MultiByteToWideChar(CP_ACP, 0, szText, -1, text.get(), size) == 0)
        httpclientexceptionW::RaiseCode(601, GetLastError());
    return text;
}

InternetHandle CHttpToolW::OpenConnection(HINTERNET hInternet, const wchar_t* szServerAddr,
                                          INTERNET_PORT nPort)
{
    if (hInternet == nullptr)
        httpclientexceptionW::RaiseNarrowMessage(
            "CHttpToolW::OpenConnection: hInternet can not be NULL.");
    if (szServerAddr == nullptr)
        httpclientexceptionW::RaiseNarrowMessage(
            "CHttpToolW::OpenConnection: szServerAddr can not be NULL.");
    if (szServerAddr[0] == L'\0')
        httpclientexceptionW::RaiseNarrowMessage(
            "CHttpToolW::OpenConnection: szServerAddr can not be an empty string.");

    HINTERNET connection = WinInet().InternetConnectW(hInternet, szServerAddr, nPort, nullptr,
                                                      nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    DWORD lastError = GetLastError();
    if (connection == nullptr)
        httpclientexceptionW::RaiseCode(403, lastError);
    return InternetHandle(connection);
}

InternetHandle CHttpToolW::OpenRequest(HINTERNET hConnection, const wchar_t* szObjectName,
                                       UINT CodePage, DWORD dwFlags)
{
    if (hConnection == nullptr)
        httpclientexceptionW::RaiseNarrowMessage(
            "CHttpToolW::OpenRequest: hConnection can not be NULL.");
    if (szObjectName == nullptr)
        httpclientexceptionW::RaiseNarrowMessage(
            "CHttpToolW::OpenRequest: szObjectName can not be NULL.");
    if (szObjectName[0] == L'\0')
        httpclientexceptionW::RaiseNarrowMessage(
            "CHttpToolW::OpenRequest: szObjectName can not be an empty string.");
    if (IsRefusedCodePage(CodePage))
        httpclientexceptionW::RaiseNarrowMessage(
            "CHttpToolW::OpenRequest: CP_UTF8 and CP_UTF7 can not be used for the CodePage "
            "parameter.");

    std::unique_ptr<char[]> verb = Unicode2Ansi(CodePage, L"POST");
    std::unique_ptr<char[]> objectName = Unicode2Ansi(CodePage, szObjectName);
    try {
        return CHttpToolA::OpenRequest(hConnection, objectName.get(), verb.get(), dwFlags, nullptr);
    } catch (const httpclientexceptionA& error) {
        RaiseAsWide(error);
    }
}

void CHttpToolW::AddHeader(HINTERNET hRequest, const wchar_t* szName, const wchar_t* szValue,
                           UINT CodePage)
{
    if (hRequest == nullptr)
        httpclientexceptionW::RaiseNarrowMessage("CHttpToolW::AddHeader: hRequest can not be NULL.");
    if (szName == nullptr)
        httpclientexceptionW::RaiseNarrowMessage("CHttpToolW::AddHeader: szName can not be NULL.");
    if (IsRefusedCodePage(CodePage))
        httpclientexceptionW::RaiseNarrowMessage(
            "CHttpToolW::AddHeader: CP_UTF8 and CP_UTF7 can not be used for the CodePage "
            "parameter.");

    std::unique_ptr<char[]> name = Unicode2Ansi(CodePage, szName);
    std::unique_ptr<char[]> value = Unicode2Ansi(CodePage, szValue);
    try {
        CHttpToolA::AddHeader(hRequest, name.get(), value.get());
    } catch (const httpclientexceptionA& error) {
        RaiseAsWide(error);
    }
}

void CHttpToolW::SendRequestEx(HINTERNET hRequest, DWORD dwTotal)
{
    if (hRequest == nullptr)
        httpclientexceptionW::RaiseNarrowMessage(
            "CHttpToolW::SendRequestEx: hRequest can not be NULL.");

    INTERNET_BUFFERSW buffers = {};
    buffers.dwStructSize = sizeof buffers;
    buffers.dwBufferTotal = dwTotal;
    BOOL sent = WinInet().HttpSendRequestExW(hRequest, &buffers, nullptr, 0, 0);
    DWORD lastError = GetLastError();
    if (!sent)
        httpclientexceptionW::RaiseCode(407, lastError);
}

void CHttpToolW::InternetWriteFile(HINTERNET hRequest, const BYTE* pbyBuff, DWORD cbyBuff)
{
    if (hRequest == nullptr)
        httpclientexceptionW::RaiseNarrowMessage(
            "CHttpToolW::InternetWriteFile: hRequest can not be NULL.");
    if (pbyBuff == nullptr)
        httpclientexceptionW::RaiseNarrowMessage(
            "CHttpToolW::InternetWriteFile: pbyBuff can not be NULL.");
    if (cbyBuff == 0)
        httpclientexceptionW::RaiseNarrowMessage(
            "CHttpToolW::InternetWriteFile: cbyBuff can not be zero.");

    DWORD written = 0;
    while (written < cbyBuff) {
        DWORD now = 0;
        BOOL ok = WinInet().InternetWriteFile(hRequest, pbyBuff + written, cbyBuff - written, &now);
        DWORD lastError = GetLastError();
        if (!ok)
            httpclientexceptionW::RaiseCode(408, lastError);
        // Success without progress would make this loop spin for ever.
        if (now == 0)
            httpclientexceptionW::RaiseCode(408);
        written += now < cbyBuff - written ? now : cbyBuff - written;
    }
}

void CHttpToolW::EndRequest(HINTERNET hRequest)
{
    if (hRequest == nullptr)
        httpclientexceptionW::RaiseNarrowMessage("CHttpToolW::EndRequest: hRequest can not be NULL.");

    BOOL ended = WinInet().HttpEndRequestW(hRequest, nullptr, 0, 0);
    DWORD lastError = GetLastError();
    if (!ended)
        httpclientexceptionW::RaiseCode(409, lastError);
}

}  // namespace Kesto
