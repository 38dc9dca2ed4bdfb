#include "config_reader.h"

#include "archive/file_handle.h"
#include "common/program_folder.h"
#include "update_window.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr size_t kLongestLine = 1023;  // a 1024-byte line buffer with its terminator
const char kWhiteSpace[] = " \t\v\f\r\n";

std::string NextToken(const std::string& line, size_t& at)
{
    size_t start = line.find_first_not_of(kWhiteSpace, at);
    if (start == std::string::npos) {
        at = line.size();
        return std::string();
    }
    size_t end = line.find_first_of(kWhiteSpace, start);
    if (end == std::string::npos)
        end = line.size();
    at = end;
    return line.substr(start, end - start);
}

// False when the line is too long, which ends the reading.
bool TakeLine(std::string line, std::string& downloadPath)
{
    if (line.size() > kLongestLine)
        return false;
    // The line is held in a character buffer, whose text ends at a NUL: a
    // value must not carry one into the address.
    line.resize(std::min(line.find('\0'), line.size()));
    size_t at = 0;
    if (NextToken(line, at) != "download_path")
        return true;
    std::string value = NextToken(line, at);
    if (!value.empty())
        downloadPath = value;
    return true;
}

}  // namespace

void ReadDownloadPath(const std::string& path, std::string& downloadPath)
{
    ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return;
    std::string line;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
        for (DWORD i = 0; i < got; ++i) {
            if (chunk[i] == '\n') {
                // CR LF is one line end; a CR anywhere else is a character
                // of the line, also at the end of the file.
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                if (!TakeLine(line, downloadPath))
                    return;
                line.clear();
            } else if (line.size() > kLongestLine + 1) {
                return;  // longer than any line the buffer holds, CR included
            } else {
                line += chunk[i];
            }
        }
    }
    if (!line.empty())
        TakeLine(line, downloadPath);  // a last line without line end
}

void CUpdateMain::ReadConfig()
{
    ReadDownloadPath(GetProgramFolder() + "//" + "tallmere.cnf", m_strDownloadPath);
}
