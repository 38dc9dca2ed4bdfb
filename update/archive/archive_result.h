#pragma once
// Result codes of the archive reader operations; 0 is success.
#include <cstdint>

constexpr int32_t ArcOk = 0;
// The archive file cannot be opened or is no readable archive; or the target
// file of an entry cannot be created.
constexpr int32_t ArcCannotOpen = 0x200;
constexpr int32_t ArcWriteFailed = 0x400;     // writing to the target file failed
constexpr int32_t ArcBadHeader = 0x700;       // local header disagrees with the central directory
constexpr int32_t ArcReadFailed = 0x800;      // local extra field unreadable, or no seek
constexpr int32_t ArcPasswordNeeded = 0x1000; // encrypted entry, and the kit holds no password
constexpr int32_t ArcBadIndex = 0x10000;      // index outside the archive
// An entry name or path that would leave the base folder, names a device, or
// does not fit the 260-unit path buffers: refused rather than cut or bent.
constexpr int32_t ArcRefusedPath = 0x20000;
// The uncompressed sizes the central directory declares add up to more than
// the unpack folder's drive has free.
constexpr int32_t ArcNoSpace = 0x40000;
// The entry's data cannot be read or inflated, ends early, or does not match
// its CRC-32.
constexpr int32_t ArcInflateFailed = 0x5000000;
