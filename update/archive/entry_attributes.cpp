#include "entry_attributes.h"

#include <windows.h>

namespace {

// Hosts whose external attributes hold DOS attribute bits: MS-DOS and OS/2
// FAT, Macintosh, Windows NTFS, VFAT.
bool HasDosAttributes(uint32_t host)
{
    return host == 0 || host == 7 || host == 11 || host == 14;
}

}  // namespace

uint32_t EntryAttributes(uint32_t versionMadeBy, uint32_t externalAttributes)
{
    const uint32_t x = externalAttributes;
    // Otherwise the upper half holds a Unix mode: S_IFDIR and the owner's
    // write permission.
    bool directory = (x & 0x40000000) != 0;
    bool readOnly = (x & 0x00800000) == 0;
    bool hidden = false;
    bool system = false;
    bool archive = true;
    if (HasDosAttributes((versionMadeBy >> 8) & 0xFF)) {
        readOnly = (x & 0x01) != 0;
        hidden = (x & 0x02) != 0;
        system = (x & 0x04) != 0;
        directory = (x & 0x10) != 0;
        archive = (x & 0x20) != 0;
    }
    uint32_t attributes = 0;
    if (directory)
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (archive)
        attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (hidden)
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (readOnly)
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (system)
        attributes |= FILE_ATTRIBUTE_SYSTEM;
    return attributes;
}
