#pragma once
// The exceptions of the HTTP form client: a message, an error code and the
// platform's last error. Narrow classes carry byte texts, wide ones UTF-16.
#include <windows.h>

#include <exception>
#include <memory>

namespace Kesto {

// Texts of the error codes; nullptr for a code whose entry lies outside its block.
const char* ErrorTextA(DWORD code) noexcept;
const wchar_t* ErrorTextW(DWORD code) noexcept;

class errmsg_exceptionA : public std::exception {
public:
    errmsg_exceptionA() noexcept = default;
    explicit errmsg_exceptionA(const char* szMessage) noexcept;
    errmsg_exceptionA(const errmsg_exceptionA& other) noexcept;
    errmsg_exceptionA& operator=(const errmsg_exceptionA& other) noexcept;
    ~errmsg_exceptionA() override;

    const char* what() const noexcept override;  // the message, or "NULL"
    virtual const char* GetMessageText() const noexcept;
    // An absent text, or a copy that cannot be made, leaves the message absent.
    virtual void SetMessageText(const char* szMessage) noexcept;

private:
    std::unique_ptr<char[]> m_szMessage;
};

class errmsg_exceptionW : public std::exception {
public:
    errmsg_exceptionW() noexcept = default;
    explicit errmsg_exceptionW(const wchar_t* szMessage) noexcept;
    errmsg_exceptionW(const errmsg_exceptionW& other) noexcept;
    errmsg_exceptionW& operator=(const errmsg_exceptionW& other) noexcept;
    ~errmsg_exceptionW() override;

    const char* what() const noexcept override;  // "errmsg_exceptionW"
    virtual const wchar_t* GetMessageText() const noexcept;  // the message, or L"NULL"
    virtual void SetMessageText(const wchar_t* szMessage) noexcept;

private:
    std::unique_ptr<wchar_t[]> m_szMessage;
};

class httpclientexceptionA : public errmsg_exceptionA {
public:
    httpclientexceptionA(const char* szMessage, DWORD dwErrorCode, DWORD dwLastError) noexcept;

    DWORD GetCode() const noexcept { return m_dwErrorCode; }
    DWORD GetSystemError() const noexcept { return m_dwLastError; }

    [[noreturn]] static void RaiseCode(DWORD dwErrorCode, DWORD dwLastError = 0);
    [[noreturn]] static void RaiseMessage(const char* szMessage);
    // 534 (overflow) gives 112, 0xC0000094 (division by zero) 113, any other status 111.
    [[noreturn]] static void RaiseArithmetic(DWORD dwStatus);

private:
    DWORD m_dwErrorCode;
    DWORD m_dwLastError;
};

class httpclientexceptionW : public errmsg_exceptionW {
public:
    httpclientexceptionW(const wchar_t* szMessage, DWORD dwErrorCode, DWORD dwLastError) noexcept;

    const char* what() const noexcept override;  // "httpclientexceptionW"
    DWORD GetCode() const noexcept { return m_dwErrorCode; }
    DWORD GetSystemError() const noexcept { return m_dwLastError; }

    [[noreturn]] static void RaiseCode(DWORD dwErrorCode, DWORD dwLastError = 0);
    [[noreturn]] static void RaiseMessage(const wchar_t* szMessage);
    // The message is converted from the ANSI code page; when that fails the
    // exception is raised without a message.
    [[noreturn]] static void RaiseNarrowMessage(const char* szMessage, DWORD dwErrorCode = 0,
                                                DWORD dwLastError = 0);
    [[noreturn]] static void RaiseArithmetic(DWORD dwStatus);

private:
    DWORD m_dwErrorCode;
    DWORD m_dwLastError;
};

}  // namespace Kesto
