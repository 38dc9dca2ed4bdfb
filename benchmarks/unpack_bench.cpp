// Measures the updater's unpacking of a package: throughput and peak memory
// of CUpdateMain::UnzipPackage in a process that does nothing else.
//   unpack_bench <update.zip> <folder>
#include "update/update_window.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

namespace {

struct Package {
    int32_t entries = 0;
    unsigned long long bytes = 0;  // uncompressed
    unsigned long long packed = 0;
};

Package Describe(const wchar_t* path)
{
    Package package;
    HARCHIVE archive = OpenArchive(path);
    if (archive == nullptr)
        return package;
    ArchiveEntry entry;
    if (GetEntry(archive, -1, entry) == ArcOk)
        package.entries = entry.index;
    for (int32_t i = 0; i < package.entries; ++i) {
        if (GetEntry(archive, i, entry) != ArcOk)
            break;
        package.bytes += static_cast<uint32_t>(entry.uncompressedSize);
        package.packed += static_cast<uint32_t>(entry.compressedSize);
    }
    CloseArchive(archive);
    return package;
}

double MiB(SIZE_T bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: unpack_bench <update.zip> <folder>\n");
        return 2;
    }
    Package package = Describe(argv[1]);
    PROCESS_MEMORY_COUNTERS before = {};
    before.cb = sizeof before;
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);

    CUpdateMain updater;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    bool unpacked = updater.UnzipPackage(argv[2], argv[1]);
    QueryPerformanceCounter(&end);

    PROCESS_MEMORY_COUNTERS after = {};
    after.cb = sizeof after;
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    double seconds = static_cast<double>(end.QuadPart - start.QuadPart) /
                     static_cast<double>(frequency.QuadPart);
    double megabytes = static_cast<double>(package.bytes) / 1e6;
    std::printf("entries            %d\n", package.entries);
    std::printf("unpacked           %.1f MB (packed %.1f MB)\n", megabytes,
                static_cast<double>(package.packed) / 1e6);
    std::printf("result             %s (0x%X)\n", unpacked ? "true" : "false",
                static_cast<unsigned>(updater.m_nArchiveResult));
    std::printf("time               %.2f s\n", seconds);
    std::printf("throughput         %.1f MB/s\n", seconds > 0 ? megabytes / seconds : 0.0);
    std::printf("working set        %.1f MiB before (peak %.1f), %.1f MiB after, peak %.1f MiB\n",
                MiB(before.WorkingSetSize), MiB(before.PeakWorkingSetSize),
                MiB(after.WorkingSetSize), MiB(after.PeakWorkingSetSize));
    std::printf("pagefile usage     %.1f MiB before (peak %.1f), %.1f MiB after, peak %.1f MiB\n",
                MiB(before.PagefileUsage), MiB(before.PeakPagefileUsage),
                MiB(after.PagefileUsage), MiB(after.PeakPagefileUsage));
    return unpacked ? 0 : 1;
}
