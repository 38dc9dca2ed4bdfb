#include "install_time.h"

#include "program_folder.h"

#include <share.h>

#include <cctype>
#include <cstdio>
#include <ctime>
#include <string>

namespace {

constexpr size_t kLineBuffer = 1024;

bool IsBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Optional sign and decimal digits; false without a digit or outside int32.
bool ParseSigned32(const char* text, int32_t& value)
{
    while (IsBlank(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = (*text++ == '-');
    int64_t magnitude = 0;
    int digits = 0;
    for (; *text >= '0' && *text <= '9'; ++text, ++digits) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > 2147483648LL)
            return false;
    }
    if (digits == 0)
        return false;
    int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT32_MAX || signedValue < INT32_MIN)
        return false;
    value = static_cast<int32_t>(signedValue);
    return true;
}

void ExamineLine(const char* line, int32_t& target)
{
    while (IsBlank(*line))
        ++line;
    const char* wordEnd = line;
    while (*wordEnd != '\0' && !IsBlank(*wordEnd))
        ++wordEnd;
    static const char kKey[] = "installtime";
    if (static_cast<size_t>(wordEnd - line) != sizeof kKey - 1)
        return;
    if (std::char_traits<char>::compare(line, kKey, sizeof kKey - 1) != 0)
        return;
    int32_t value = 0;
    if (ParseSigned32(wordEnd, value))
        target = value;
}

// One line without its line break; false at the end of the file, or when a
// line does not fit the buffer (the rest of the file is then not read). A NUL
// byte is stored like any other character and ends the text examined.
bool ReadLine(FILE* file, char (&line)[kLineBuffer])
{
    size_t stored = 0;
    int c = std::fgetc(file);
    if (c == EOF)
        return false;
    for (; c != EOF && c != '\n'; c = std::fgetc(file)) {
        if (stored == kLineBuffer - 1)
            return false;
        line[stored++] = static_cast<char>(c);
    }
    line[stored] = '\0';
    return true;
}

}  // namespace

bool WriteInstallTimeFile(const std::string& path, int32_t seconds)
{
    FILE* file = _fsopen(path.c_str(), "w", _SH_DENYNO);
    if (file == nullptr)
        return false;
    // Text mode turns the line break into CR LF.
    bool written = std::fprintf(file, "installtime %d\n", static_cast<int>(seconds)) > 0;
    written = std::fflush(file) == 0 && written;
    return std::fclose(file) == 0 && written;
}

void WriteInstallTime()
{
    // Low 32 bits of the 64-bit time, read as signed: wraps after 2038.
    int64_t now = static_cast<int64_t>(std::time(nullptr));
    int32_t seconds = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(now)));
    WriteInstallTimeFile(GetProgramFolder() + "\\Vemora\\InstallTime.txt", seconds);
}

void ReadInstallTimeFile(const std::string& path, int32_t& target)
{
    FILE* file = _fsopen(path.c_str(), "r", _SH_DENYNO);
    if (file == nullptr)
        return;
    char line[kLineBuffer];
    while (ReadLine(file, line))
        ExamineLine(line, target);
    std::fclose(file);
}

void ReadInstallTime(int32_t& target)
{
    ReadInstallTimeFile(GetProgramFolder() + "/InstallTime.txt", target);
}
