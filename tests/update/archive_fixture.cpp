#include "archive_fixture.h"

unsigned long long UtcTicks(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME utc = {};
    utc.wYear = static_cast<WORD>(year);
    utc.wMonth = static_cast<WORD>(month);
    utc.wDay = static_cast<WORD>(day);
    utc.wHour = static_cast<WORD>(hour);
    utc.wMinute = static_cast<WORD>(minute);
    utc.wSecond = static_cast<WORD>(second);
    FILETIME time = {};
    SystemTimeToFileTime(&utc, &time);
    return Ticks(time);
}

unsigned long long Ticks(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FileTimes TimesOf(const std::wstring& path)
{
    FileTimes times = {};
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot open " << ToUtf8(path);
        return times;
    }
    FILETIME c, a, m;
    if (GetFileTime(file, &c, &a, &m))
        times = {Ticks(c), Ticks(a), Ticks(m)};
    CloseHandle(file);
    return times;
}
