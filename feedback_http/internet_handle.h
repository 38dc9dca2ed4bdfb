#pragma once
// One WinINet handle, closed when its owner goes away.
#include "wininet_calls.h"

#include <utility>

namespace Kesto {

class InternetHandle {
public:
    InternetHandle() noexcept = default;
    explicit InternetHandle(HINTERNET handle) noexcept : m_handle(handle) {}
    ~InternetHandle() { Close(); }

    InternetHandle(InternetHandle&& other) noexcept : m_handle(other.Release()) {}
    InternetHandle& operator=(InternetHandle&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_handle = other.Release();
        }
        return *this;
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    HINTERNET Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != nullptr; }

    HINTERNET Release() noexcept { return std::exchange(m_handle, nullptr); }

    void Close() noexcept
    {
        if (m_handle != nullptr)
            WinInet().InternetCloseHandle(Release());
    }

private:
    HINTERNET m_handle = nullptr;
};

}  // namespace Kesto
