#pragma once
// The assembled kit (build/kit) copied into a temporary folder, for tests that
// run the real programs the way a user does.
#include "test_files.h"

#include <string>
#include <vector>

class KitCopy {
public:
    // folderName may hold blanks, "&", non-ASCII letters and the like.
    explicit KitCopy(const std::wstring& folderName = L"kit");
    const std::wstring& Root() const { return m_root; }  // holds install.exe
    std::wstring Product() const { return m_root + L"\\Vemora"; }
    std::wstring operator/(const std::wstring& name) const { return m_root + L"\\" + name; }

private:
    ScopedTempFolder m_temp;
    std::wstring m_root;
};

std::wstring BuiltKitFolder();  // build/kit, assembled by the build
void CopyTree(const std::wstring& from, const std::wstring& to);

// Every file below a folder, as paths relative to it ("a\b.txt"), sorted.
std::vector<std::wstring> FilesBelow(const std::wstring& folder);

std::wstring DesktopFolder();  // the current user's desktop
void StopProcessesNamed(const std::wstring& imageName);

// Lines of a UTF-8 log such as the one KIT_SPY_LOG names ("tool|command line").
std::vector<std::wstring> LogLines(const std::wstring& path);
// A text's lines, without their "\n" or "\r\n".
std::vector<std::wstring> SplitLines(const std::wstring& text);
