// Checks a skin the way the programs load it and prints why it fails:
//   skin_check <resource.xml> <layout.xml>
// Exit code 0 when both load, 1 when one does not, 2 on wrong arguments.
#include "toolkit/xcgui.h"

#include <cstdio>
#include <string>

namespace {

void PrintLine(const std::wstring& text)
{
    // UTF-8, so Chinese names in messages read right in a terminal.
    const std::wstring line = text + L"\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    std::fputs(out.c_str(), stdout);
}

std::wstring FolderOf(const std::wstring& file)
{
    const size_t cut = file.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring(L".") : file.substr(0, cut);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        PrintLine(L"usage: skin_check <resource.xml> <layout.xml>");
        return 2;
    }
    XInitXCGUI(0);
    int status = 0;
    if (!XC_LoadResource(argv[1], FolderOf(argv[1]).c_str())) {
        PrintLine(XC_GetLastLoadError());
        status = 1;
    } else if (XC_LoadLayout(argv[2], nullptr) == nullptr) {
        PrintLine(XC_GetLastLoadError());
        status = 1;
    } else {
        PrintLine(L"ok");
    }
    XExitXCGUI();
    return status;
}
