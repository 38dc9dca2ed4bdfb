// Unpacking the downloaded package into the staging folder.
#include "update/update_window.h"


#include <windows.h>

namespace {

// The whole package must fit the drive before its first byte is written: a
// disk that fills halfway would leave a half-unpacked folder to be copied
// over the product.
int32_t CheckFreeSpace(HARCHIVE archive, const std::wstring& folder)
{
    uint64_t declared = 0;
    int32_t result = GetDeclaredSize(archive, declared);
    ULARGE_INTEGER available = {};
    if (result == ArcOk && GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr) &&
        declared > available.QuadPart)
        result = ArcNoSpace;
    return result;
}

}  // namespace

bool CUpdateMain::UnzipPackage(const std::wstring& folder, const std::wstring& archive)
{
    if (folder.empty() || archive.empty())
        return false;
    if (!FolderExists(folder) && !CreateFolderTree(folder))
        return false;
    m_hArchive = OpenArchive(archive.c_str());
    if (m_hArchive == nullptr) {
        m_nArchiveResult = ArcCannotOpen;
        return false;
    }
    m_nArchiveResult = SetBaseFolder(m_hArchive, folder.c_str());
    if (m_nArchiveResult == ArcOk)
        m_nArchiveResult = GetEntry(m_hArchive, -1, m_archiveEntry);
    if (m_nArchiveResult == ArcOk)
        m_nArchiveResult = CheckFreeSpace(m_hArchive, folder);
    const int32_t count = m_archiveEntry.index;
    // The first failure ends the unpacking; what was written stays.
    for (int32_t index = 0; m_nArchiveResult == ArcOk && index < count; ++index) {
        m_nArchiveResult = GetEntry(m_hArchive, index, m_archiveEntry);
        if (m_nArchiveResult == ArcOk)
            m_nArchiveResult = ExtractEntry(m_hArchive, index, m_archiveEntry.name);
    }
    CloseArchive(m_hArchive);
    m_hArchive = nullptr;
    return m_nArchiveResult == ArcOk;
}

bool CUpdateMain::FolderExists(const std::wstring& path)
{
    std::wstring pattern = path;
    if (pattern.empty() || pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L"*.*";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE)) != 0;
}

bool CUpdateMain::CreateFolderTree(const std::wstring& path)
{
    std::wstring full = path;
    if (full.empty() || full.back() != L'\\')
        full += L'\\';
    // Every level from the drive down; levels that exist simply fail.
    BOOL created = FALSE;
    for (size_t at = full.find(L'\\'); at != std::wstring::npos; at = full.find(L'\\', at + 1))
        created = CreateDirectoryW(full.substr(0, at).c_str(), nullptr);
    return created != FALSE;
}
