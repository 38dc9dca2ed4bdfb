#include "entry_times.h"

namespace {

uint32_t ReadLittleEndian16(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}

int32_t ReadLittleEndian32(const unsigned char* p)
{
    uint32_t value = ReadLittleEndian16(p) | (ReadLittleEndian16(p + 2) << 16);
    return static_cast<int32_t>(value);
}

constexpr unsigned char kTimestampTag[2] = {'U', 'T'};
constexpr uint32_t kTimestampModified = 0x1;
constexpr uint32_t kTimestampAccessed = 0x2;
constexpr uint32_t kTimestampCreated = 0x4;

}  // namespace

bool DosTimeToFileTime(uint32_t d, FILETIME& utc)
{
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>((d >> 25) + 1980);
    local.wMonth = static_cast<WORD>((d >> 21) & 15);
    local.wDay = static_cast<WORD>((d >> 16) & 31);
    local.wHour = static_cast<WORD>((d >> 11) & 31);
    local.wMinute = static_cast<WORD>((d >> 5) & 63);
    local.wSecond = static_cast<WORD>((d & 31) * 2);
    FILETIME localTime;
    return SystemTimeToFileTime(&local, &localTime) && LocalFileTimeToFileTime(&localTime, &utc);
}

FILETIME UnixSecondsToFileTime(int32_t seconds)
{
    ULONGLONG ticks = static_cast<ULONGLONG>(static_cast<LONGLONG>(seconds) + 11644473600LL) *
                      10000000ULL;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

void ApplyExtendedTimestamps(const unsigned char* extra, size_t length, EntryTimes& times)
{
    if (length <= 4)
        return;
    size_t offset = 0;
    while (offset + 4 < length) {
        const unsigned char* block = extra + offset;
        size_t dataLength = ReadLittleEndian16(block + 2);
        if (block[0] != kTimestampTag[0] || block[1] != kTimestampTag[1]) {
            offset += 4 + dataLength;
            continue;
        }
        size_t at = offset + 4;
        size_t end = at + dataLength < length ? at + dataLength : length;
        uint32_t flags = extra[at++];
        // In this order: modification, access, creation, each present only
        // when its flag is set.
        FILETIME* targets[] = {&times.modification, &times.access, &times.creation};
        uint32_t bits[] = {kTimestampModified, kTimestampAccessed, kTimestampCreated};
        for (int i = 0; i < 3; ++i) {
            if ((flags & bits[i]) == 0)
                continue;
            if (at + 4 > end)
                break;
            *targets[i] = UnixSecondsToFileTime(ReadLittleEndian32(extra + at));
            at += 4;
        }
        return;
    }
}
