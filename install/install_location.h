#pragma once
// The install route's drive, as the custom page shows it: the drive letter
// with "盘可用空间：" and the space the user can still use there in whole GiB.
#include <cstdint>
#include <string>

// The route up to its first "\" (the whole route when it has none).
std::wstring DrivePartOf(const std::wstring& route);

// The drive part up to its first ":" (the whole drive part when it has none).
std::wstring DriveLetterOf(const std::wstring& drivePart);

// Whole gibibytes, cut toward zero, followed by "G"; "0G" when the space is
// not known.
std::wstring FreeSpaceText(bool known, uint64_t freeBytes);

// The free-space text of the volume that holds path (passed as given, for
// instance "C:" without a backslash).
std::wstring FormatFreeSpace(const std::wstring& path);
