#pragma once
// ANSI (the system code page) and UTF-16 texts, and the decimal text of an int.
#include <cstdint>
#include <string>

// Both leave `out` untouched and return false when Windows cannot convert.
bool AnsiToWide(const std::string& in, std::wstring& out);
bool WideToAnsi(const std::wstring& in, std::string& out);

std::wstring IntToWide(int32_t value);
