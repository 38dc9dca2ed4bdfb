#pragma once
// Appends one UTF-8 line to the file named by an environment variable; tools
// started by the programs under test use it to report what they received.
#include <windows.h>

#include <string>

inline void AppendCommandLog(const wchar_t* variable, const std::wstring& line)
{
    wchar_t path[MAX_PATH] = {};
    if (GetEnvironmentVariableW(variable, path, MAX_PATH) == 0)
        return;
    std::wstring text = line + L"\n";
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], n,
                        nullptr, nullptr);
    // Several tools may write at once: append-only access keeps lines whole.
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            CloseHandle(file);
            return;
        }
        Sleep(10);
    }
}

// The command line without the program name (the argument tail).
inline const wchar_t* ArgumentTail(const wchar_t* commandLine)
{
    const wchar_t* p = commandLine;
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"')
            ++p;
        if (*p)
            ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}
