#pragma once
// File times of an entry: its DOS date and time, which is local time, and the
// "UT" extended timestamp block of its local extra field, which overrides
// the times it carries.
#include <windows.h>

#include <cstddef>
#include <cstdint>

struct EntryTimes {
    FILETIME access;
    FILETIME creation;
    FILETIME modification;
};

// d holds the date in its upper and the time in its lower half. False when
// it is no valid calendar date and time.
bool DosTimeToFileTime(uint32_t dosDateTime, FILETIME& utc);

// Signed seconds since 1970-01-01 UTC as a file time.
FILETIME UnixSecondsToFileTime(int32_t seconds);

// Takes the times of the first "UT" block of a local extra field over those
// given; a time is taken only when its four bytes lie inside the block.
void ApplyExtendedTimestamps(const unsigned char* extra, size_t length, EntryTimes& times);
