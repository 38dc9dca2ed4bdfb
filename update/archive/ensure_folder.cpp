#include "archive_reader.h"
#include "entry_name.h"

#include <windows.h>

#include <string>

namespace {

void CreateFolderIfMissing(const std::wstring& path)
{
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryW(path.c_str(), nullptr);
}

void EnsureFolder(const std::wstring& base, const std::wstring& folder)
{
    std::wstring bare = base;
    if (!bare.empty() && IsPathSeparator(bare.back()))
        bare.pop_back();
    CreateFolderIfMissing(bare);

    // Upper levels first, so that each level has its parent.
    if (!folder.empty()) {
        size_t last = folder.find_last_of(L"/\\");
        if (last != std::wstring::npos && last > 0)
            EnsureFolder(base, folder.substr(0, last));
    }
    CreateFolderIfMissing(base + folder);
}

}  // namespace

void EnsureFolder(const wchar_t* base, const wchar_t* folder)
{
    EnsureFolder(std::wstring(base), std::wstring(folder));
}
