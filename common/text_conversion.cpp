#include "text_conversion.h"

#include <windows.h>

#include <cstdio>
#include <vector>

bool AnsiToWide(const std::string& in, std::wstring& out)
{
    int n = MultiByteToWideChar(CP_ACP, 0, in.c_str(), -1, nullptr, 0);
    if (n == 0)
        return false;
    std::vector<wchar_t> buffer(static_cast<size_t>(n) + 1, L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, in.c_str(), -1, buffer.data(), n) == 0)
        return false;
    out = buffer.data();
    return true;
}

bool WideToAnsi(const std::wstring& in, std::string& out)
{
    int n = WideCharToMultiByte(CP_ACP, 0, in.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n == 0)
        return false;
    std::vector<char> buffer(static_cast<size_t>(n) + 1, '\0');
    if (WideCharToMultiByte(CP_ACP, 0, in.c_str(), -1, buffer.data(), n, nullptr, nullptr) == 0)
        return false;
    out = buffer.data();
    return true;
}

std::wstring IntToWide(int32_t value)
{
    char digits[32] = {};
    std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
    std::wstring text;
    AnsiToWide(digits, text);
    return text;
}
