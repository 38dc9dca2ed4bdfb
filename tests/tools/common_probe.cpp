// Runs one common helper in a process of its own, for what a test cannot do
// inside its own process (its own folder, code page or standard output):
//   common_probe folder          prints GetProgramFolder() as UTF-8
//   common_probe run <line>      RunCommand(<line>), then prints "=<result>"
//   common_probe kill <name>     KillProcessByName(<name>)
//   common_probe acp             prints the ANSI code page
#include "common/command_runner.h"
#include "common/program_folder.h"
#include "common/text_conversion.h"
#include "command_log.h"

#include <cstdio>
#include <string>

namespace {

std::string Utf8FromAnsi(const std::string& ansi)
{
    std::wstring wide;
    AnsiToWide(ansi, wide);
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    std::wstring verb = argv[1];
    std::string rest;
    WideToAnsi(ArgumentTail(ArgumentTail(GetCommandLineW())), rest);
    if (verb == L"folder") {
        std::fputs(Utf8FromAnsi(GetProgramFolder()).c_str(), stdout);
    } else if (verb == L"run") {
        int result = RunCommand(rest);
        std::printf("=%d", result);
    } else if (verb == L"kill") {
        KillProcessByName(rest);
    } else if (verb == L"acp") {
        std::printf("%u", GetACP());
    } else {
        return 2;
    }
    std::fflush(stdout);
    return 0;
}
