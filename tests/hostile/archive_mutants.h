#pragma once
// The seeded generator of hostile update packages: well-formed archives of a
// few entries, then damaged or bent in one of several ways. Each case says
// whether the damage is one a reader must refuse, and which contents a file
// written from it may hold.
#include <cstdint>
#include <string>
#include <vector>

enum class MutationFamily {
    BitFlip,      // one bit anywhere
    ByteNoise,    // a few bytes anywhere overwritten with random ones
    Truncation,   // cut at, just before and just after every field of every structure
    LyingField,   // a size, offset or count in a local header, the central directory or the end record
    HostileName,  // "..", drives, UNC and device paths, long names, NULs
    Structure,    // symlinks, duplicates, overlapping entries, an inflate bomb, odd folders
    Framing,      // bytes before or after the archive
};

struct ArchiveCase {
    std::string description;
    std::string bytes;
    // A reader must refuse it: the data, or a field that decides how the data
    // is read, no longer agrees with what was packed or with its other copy.
    bool damaged = false;
    // Every byte string a file written from this archive may hold: the
    // packed contents (and, for a bomb whose header lies, the part its
    // header still vouches for).
    std::vector<std::string> contents;
};

ArchiveCase MakeArchiveCase(MutationFamily family, uint32_t seed, uint32_t index);

const char* FamilyName(MutationFamily family);
bool FamilyFromName(const std::string& name, MutationFamily& family);

// True when a single change of the archive from original to mutated touches
// something a reader must not let stand (positions as in the original).
bool IsDamagingChange(const std::string& original, const std::string& mutated);
