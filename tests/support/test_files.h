#pragma once
// Files and folders for tests: a temporary folder removed afterwards, and
// whole-file reads and writes.
#include <windows.h>

#include <string>
#include <vector>

class ScopedTempFolder {
public:
    explicit ScopedTempFolder(const std::wstring& nameHint = L"kit");
    ~ScopedTempFolder();
    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

std::string ReadFileBytes(const std::wstring& path);  // empty when missing
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
bool CopyFileTo(const std::wstring& from, const std::wstring& to);
void CreateFolders(const std::wstring& path);  // every level
void RemoveTree(const std::wstring& path);
// Names of the files and folders directly in a folder, without "." and "..".
std::vector<std::wstring> FolderEntries(const std::wstring& folder);

// Folder of the running test program: build/bin, where every program of the
// kit and every test tool lies.
std::wstring BinFolder();
std::wstring BinFile(const std::wstring& name);

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
