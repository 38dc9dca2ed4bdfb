#include "http_errors.h"

#include "http_tool.h"

#include <cstring>
#include <cwchar>
#include <new>

namespace Kesto {

namespace {

struct ErrorText {
    const char* narrow;
    const wchar_t* wide;
};

#define KESTO_ERROR_TEXT(text) { text, L"" text }

const ErrorText kBlock0[] = {
    KESTO_ERROR_TEXT("Not specified"),
};

const ErrorText kBlock100[] = {
    KESTO_ERROR_TEXT("Unexpected error occurred."),
    KESTO_ERROR_TEXT("The index is out of range."),
    KESTO_ERROR_TEXT("Out of memory."),
    KESTO_ERROR_TEXT("The requested URL is not a valid URL."),
    KESTO_ERROR_TEXT("The post context is not started yet."),
    KESTO_ERROR_TEXT("Couldn't read expected bytes from a file."),
    KESTO_ERROR_TEXT("The post context has not been finished yet."),
    KESTO_ERROR_TEXT("The port number is not valid."),
    KESTO_ERROR_TEXT("std::exception occurred."),
    KESTO_ERROR_TEXT("The encoded URL is not valid."),
    KESTO_ERROR_TEXT("The UTF8 string contains an invalid character."),
    KESTO_ERROR_TEXT("An unexpected arithmetic error has been occurred."),
    KESTO_ERROR_TEXT("An arithmetic overflow error has been occurred."),
    KESTO_ERROR_TEXT("An interger divide by zero exception has been occurred."),
    KESTO_ERROR_TEXT("The file (%s) aleady exists."),
};

const ErrorText kBlock200[] = {
    KESTO_ERROR_TEXT(""),
};

const ErrorText kBlock400[] = {
    KESTO_ERROR_TEXT("::HttpQueryInfo failed."),
    KESTO_ERROR_TEXT("::InternetReadFile failed."),
    KESTO_ERROR_TEXT("::InternetOpen failed."),
    KESTO_ERROR_TEXT("::InternetConnect failed."),
    KESTO_ERROR_TEXT("::HttpOpenRequest failed."),
    KESTO_ERROR_TEXT("::HttpAddRequestHeaders failed."),
    KESTO_ERROR_TEXT("::HttpSendRequest failed."),
    KESTO_ERROR_TEXT("::HttpSendRequestEx failed."),
    KESTO_ERROR_TEXT("::InternetWriteFile failed."),
    KESTO_ERROR_TEXT("::HttpEndRequest failed."),
    KESTO_ERROR_TEXT("::InternetSetOption failed."),
};

const ErrorText kBlock600[] = {
    KESTO_ERROR_TEXT("::WideCharToMultiByte failed."),
    KESTO_ERROR_TEXT("::MultiByteToWideChar failed."),
    KESTO_ERROR_TEXT("::ReadFile failed."),
    KESTO_ERROR_TEXT("OpenFile (::CreateFile) failed (\"%s\")."),
    KESTO_ERROR_TEXT("::SetFilePointer failed."),
    KESTO_ERROR_TEXT("::GetFileSize failed (\"%s\")."),
    KESTO_ERROR_TEXT("::WriteFile failed (\"%s\")."),
};

const ErrorText kUserDefined = KESTO_ERROR_TEXT("user-defined error message");

#undef KESTO_ERROR_TEXT

template <size_t N>
const ErrorText* EntryOf(const ErrorText (&block)[N], DWORD code)
{
    DWORD entry = code % 100;
    return entry < N ? &block[entry] : nullptr;
}

// Codes of 1000 and more share one text; below, each block of codes has its
// own table, indexed by the code's last two digits.
const ErrorText* LookUp(DWORD code)
{
    if (code >= 1000)
        return &kUserDefined;
    if (code >= 600)
        return EntryOf(kBlock600, code);
    if (code >= 400)
        return EntryOf(kBlock400, code);
    if (code >= 200)
        return EntryOf(kBlock200, code);
    if (code >= 100)
        return EntryOf(kBlock100, code);
    return EntryOf(kBlock0, code);
}

DWORD ArithmeticErrorCode(DWORD status)
{
    const DWORD kIntegerDivideByZero = 0xC0000094;
    if (status == ERROR_ARITHMETIC_OVERFLOW)
        return 112;
    if (status == kIntegerDivideByZero)
        return 113;
    return 111;
}

template <typename Char>
std::unique_ptr<Char[]> CopyText(const Char* text, size_t length) noexcept
{
    std::unique_ptr<Char[]> copy(new (std::nothrow) Char[length + 1]);
    if (copy)
        std::memcpy(copy.get(), text, (length + 1) * sizeof(Char));
    return copy;
}

}  // namespace

const char* ErrorTextA(DWORD code) noexcept
{
    const ErrorText* text = LookUp(code);
    return text ? text->narrow : nullptr;
}

const wchar_t* ErrorTextW(DWORD code) noexcept
{
    const ErrorText* text = LookUp(code);
    return text ? text->wide : nullptr;
}

// errmsg_exceptionA

errmsg_exceptionA::errmsg_exceptionA(const char* szMessage) noexcept
{
    SetMessageText(szMessage);
}

errmsg_exceptionA::errmsg_exceptionA(const errmsg_exceptionA& other) noexcept : std::exception(other)
{
    SetMessageText(other.m_szMessage.get());
}

errmsg_exceptionA& errmsg_exceptionA::operator=(const errmsg_exceptionA& other) noexcept
{
    if (this != &other)
        SetMessageText(other.m_szMessage.get());
    return *this;
}

errmsg_exceptionA::~errmsg_exceptionA() = default;

const char* errmsg_exceptionA::what() const noexcept
{
    return GetMessageText();
}

const char* errmsg_exceptionA::GetMessageText() const noexcept
{
    return m_szMessage ? m_szMessage.get() : "NULL";
}

void errmsg_exceptionA::SetMessageText(const char* szMessage) noexcept
{
    m_szMessage.reset();
    if (szMessage != nullptr)
        m_szMessage = CopyText(szMessage, std::strlen(szMessage));
}

// errmsg_exceptionW

errmsg_exceptionW::errmsg_exceptionW(const wchar_t* szMessage) noexcept
{
    SetMessageText(szMessage);
}

errmsg_exceptionW::errmsg_exceptionW(const errmsg_exceptionW& other) noexcept : std::exception(other)
{
    SetMessageText(other.m_szMessage.get());
}

errmsg_exceptionW& errmsg_exceptionW::operator=(const errmsg_exceptionW& other) noexcept
{
    if (this != &other)
        SetMessageText(other.m_szMessage.get());
    return *this;
}

errmsg_exceptionW::~errmsg_exceptionW() = default;

const char* errmsg_exceptionW::what() const noexcept
{
    return "errmsg_exceptionW";
}

const wchar_t* errmsg_exceptionW::GetMessageText() const noexcept
{
    return m_szMessage ? m_szMessage.get() : L"NULL";
}

void errmsg_exceptionW::SetMessageText(const wchar_t* szMessage) noexcept
{
    m_szMessage.reset();
    if (szMessage != nullptr)
        m_szMessage = CopyText(szMessage, std::wcslen(szMessage));
}

// httpclientexceptionA

httpclientexceptionA::httpclientexceptionA(const char* szMessage, DWORD dwErrorCode,
                                           DWORD dwLastError) noexcept
    : errmsg_exceptionA(szMessage), m_dwErrorCode(dwErrorCode), m_dwLastError(dwLastError)
{
}

void httpclientexceptionA::RaiseCode(DWORD dwErrorCode, DWORD dwLastError)
{
    throw httpclientexceptionA(ErrorTextA(dwErrorCode), dwErrorCode, dwLastError);
}

void httpclientexceptionA::RaiseMessage(const char* szMessage)
{
    throw httpclientexceptionA(szMessage, 0, 0);
}

void httpclientexceptionA::RaiseArithmetic(DWORD dwStatus)
{
    RaiseCode(ArithmeticErrorCode(dwStatus));
}

// httpclientexceptionW

httpclientexceptionW::httpclientexceptionW(const wchar_t* szMessage, DWORD dwErrorCode,
                                           DWORD dwLastError) noexcept
    : errmsg_exceptionW(szMessage), m_dwErrorCode(dwErrorCode), m_dwLastError(dwLastError)
{
}

const char* httpclientexceptionW::what() const noexcept
{
    return "httpclientexceptionW";
}

void httpclientexceptionW::RaiseCode(DWORD dwErrorCode, DWORD dwLastError)
{
    throw httpclientexceptionW(ErrorTextW(dwErrorCode), dwErrorCode, dwLastError);
}

void httpclientexceptionW::RaiseMessage(const wchar_t* szMessage)
{
    throw httpclientexceptionW(szMessage, 0, 0);
}

void httpclientexceptionW::RaiseNarrowMessage(const char* szMessage, DWORD dwErrorCode,
                                              DWORD dwLastError)
{
    std::unique_ptr<wchar_t[]> wide;
    try {
        wide = CHttpToolW::Ansi2Unicode(szMessage);
    } catch (const std::exception&) {
        // Raised without a message rather than not at all.
    }
    throw httpclientexceptionW(wide.get(), dwErrorCode, dwLastError);
}

void httpclientexceptionW::RaiseArithmetic(DWORD dwStatus)
{
    RaiseCode(ArithmeticErrorCode(dwStatus));
}

}  // namespace Kesto
