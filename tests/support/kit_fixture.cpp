#include "kit_fixture.h"

#include "child_process.h"

#include <shlobj.h>

#include <algorithm>

KitCopy::KitCopy(const std::wstring& folderName) : m_temp(L"kitcopy")
{
    m_root = m_temp / folderName;
    CopyTree(BuiltKitFolder(), m_root);
}

std::wstring BuiltKitFolder()
{
    std::wstring bin = BinFolder();
    return bin.substr(0, bin.find_last_of(L'\\')) + L"\\kit";
}

void CopyTree(const std::wstring& from, const std::wstring& to)
{
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((from + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + L"\\" + name, to + L"\\" + name);
        else
            CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

namespace {

void CollectFiles(const std::wstring& folder, const std::wstring& prefix,
                  std::vector<std::wstring>& files)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CollectFiles(folder + L"\\" + name, prefix + name + L"\\", files);
        else
            files.push_back(prefix + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

std::vector<std::wstring> FilesBelow(const std::wstring& folder)
{
    std::vector<std::wstring> files;
    CollectFiles(folder, L"", files);
    std::sort(files.begin(), files.end());
    return files;
}

std::wstring DesktopFolder()
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path);
    return path;
}

void StopProcessesNamed(const std::wstring& imageName)
{
    for (DWORD id : ProcessIdsNamed(imageName))
        KillProcessTree(id);
    WaitUntil([&] { return ProcessIdsNamed(imageName).empty(); }, 5000);
}

std::vector<std::wstring> LogLines(const std::wstring& path)
{
    return SplitLines(FromUtf8(ReadFileBytes(path)));
}

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}
