#include "program_folder.h"

#include <windows.h>

#include <vector>

namespace {

// Grows until the whole path fits: a cut path would name another folder.
std::string ModulePath()
{
    std::vector<char> buffer(256, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return std::string();
        if (n < buffer.size() - 1)
            return std::string(buffer.data(), n);
        if (buffer.size() >= 32768)
            return std::string();
        buffer.assign(buffer.size() * 2, '\0');
    }
}

}  // namespace

std::string FolderOfPath(const std::string& path)
{
    size_t lastSeparator = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char byte = static_cast<unsigned char>(path[i]);
        if (IsDBCSLeadByte(byte) && i + 1 < path.size()) {
            ++i;  // the trail byte may be 0x5C without being a separator
            continue;
        }
        if (byte == '\\')
            lastSeparator = i;
    }
    return lastSeparator == std::string::npos ? path : path.substr(0, lastSeparator);
}

std::string GetProgramFolder()
{
    return FolderOfPath(ModulePath());
}
