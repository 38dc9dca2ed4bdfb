#pragma once
// The description of one archive entry, as GetEntry hands it out.
#include <windows.h>

#include <cstdint>

constexpr int kArchivePathUnits = 260;  // path buffers, terminator included

struct ArchiveEntry {
    int32_t index;                   // central-directory position; the count for index -1
    wchar_t name[kArchivePathUnits]; // after the entry-name safety rules
    uint32_t attributes;             // FILE_ATTRIBUTE_* bits
    FILETIME accessTime;             // UTC
    FILETIME creationTime;           // UTC
    FILETIME modificationTime;       // UTC
    int32_t compressedSize;
    int32_t uncompressedSize;
};
