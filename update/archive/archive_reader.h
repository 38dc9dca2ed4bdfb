#pragma once
// The archive reader: walks a ZIP archive (through minizip's unzip reader)
// and writes its entries below a base folder with their folders, attributes
// and times.
#include "archive_entry.h"
#include "archive_result.h"

#include <cstdint>

class ArchiveReader;
typedef ArchiveReader* HARCHIVE;  // opaque to the reader's users

// Null when the file cannot be opened or is no readable archive
// (ArcCannotOpen).
HARCHIVE OpenArchive(const wchar_t* path);

// Entries are written below this folder; a "/" is added unless it ends in a
// separator. A folder that does not fit the path buffer is refused.
int32_t SetBaseFolder(HARCHIVE archive, const wchar_t* folder);

// Index -1 gives the number of entries in entry.index.
int32_t GetEntry(HARCHIVE archive, int32_t index, ArchiveEntry& entry);

// The sum of the uncompressed sizes the central directory declares, read
// from the directory alone (no entry data); saturates instead of wrapping.
int32_t GetDeclaredSize(HARCHIVE archive, uint64_t& total);

// Writes the entry with that index to base folder + name.
int32_t ExtractEntry(HARCHIVE archive, int32_t index, const wchar_t* name);

// Closes entry data, minizip's reader and the file; frees the handle.
void CloseArchive(HARCHIVE archive);

// Creates the base folder and every level of the relative folder below it.
void EnsureFolder(const wchar_t* base, const wchar_t* folder);
