// Measures the updater's unpacking of a package, and the two limits it
// works between, each in a process that does nothing else:
//   unpack_bench unpack  <update.zip> <folder>   CUpdateMain::UnzipPackage
//   unpack_bench inflate <update.zip>            every entry inflated into one
//                                                16 KB buffer, nothing written
//   unpack_bench write   <update.zip> <folder>   the same folders and files
//                                                with as many bytes, written
//                                                in 16 KB pieces, no inflating
// Prints "RESULT <name> <value>" lines for benchmarks/run.sh.
#include "update/archive/file_handle.h"
#include "update/update_window.h"

#include <windows.h>
#include <psapi.h>

#include <unzip.h>
// After unzip.h, which brings the OF macro iowin32.h uses.
#include <iowin32.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPieceBytes = 16384;

struct Entry {
    std::wstring name;
    bool folder;
    uint32_t bytes;
};

std::vector<Entry> ListEntries(const wchar_t* path)
{
    std::vector<Entry> entries;
    HARCHIVE archive = OpenArchive(path);
    if (archive == nullptr)
        return entries;
    ArchiveEntry entry;
    int32_t count = GetEntry(archive, -1, entry) == ArcOk ? entry.index : 0;
    for (int32_t i = 0; i < count && GetEntry(archive, i, entry) == ArcOk; ++i)
        entries.push_back({entry.name, (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           static_cast<uint32_t>(entry.uncompressedSize)});
    CloseArchive(archive);
    return entries;
}

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&m_start); }
    double Seconds() const
    {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(now.QuadPart - m_start.QuadPart) /
               static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_start;
};

PROCESS_MEMORY_COUNTERS Memory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

double MiB(SIZE_T bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

void Result(const char* name, double value)
{
    std::printf("RESULT %s %.6f\n", name, value);
}

int Unpack(const wchar_t* zip, const wchar_t* folder)
{
    // The footprint of a process that has loaded everything and is about to
    // unpack; the peak afterwards bounds what the unpacking added.
    PROCESS_MEMORY_COUNTERS idle = Memory();
    CUpdateMain updater;
    Stopwatch watch;
    bool unpacked = updater.UnzipPackage(folder, zip);
    double seconds = watch.Seconds();
    PROCESS_MEMORY_COUNTERS after = Memory();
    Result("seconds", seconds);
    Result("idle_mib", MiB(idle.WorkingSetSize));
    Result("peak_mib", MiB(after.PeakWorkingSetSize));
    Result("idle_private_mib", MiB(idle.PagefileUsage));
    Result("peak_private_mib", MiB(after.PeakPagefileUsage));
    if (!unpacked)
        std::fprintf(stderr, "unpack_bench: UnzipPackage failed (0x%X)\n",
                     static_cast<unsigned>(updater.m_nArchiveResult));
    return unpacked ? 0 : 1;
}

int InflateOnly(const wchar_t* zip)
{
    zlib_filefunc64_def functions;
    fill_win32_filefunc64W(&functions);
    unzFile archive = unzOpen2_64(zip, &functions);
    if (archive == nullptr)
        return 1;
    std::vector<char> buffer(kPieceBytes);
    unsigned long long bytes = 0;
    bool ok = true;
    Stopwatch watch;
    for (int step = unzGoToFirstFile(archive); ok && step == UNZ_OK; step = unzGoToNextFile(archive)) {
        ok = unzOpenCurrentFile(archive) == UNZ_OK;
        int got = 0;
        while (ok && (got = unzReadCurrentFile(archive, buffer.data(), kPieceBytes)) > 0)
            bytes += static_cast<unsigned>(got);
        ok = ok && got == 0 && unzCloseCurrentFile(archive) == UNZ_OK;
    }
    double seconds = watch.Seconds();
    unzClose(archive);
    Result("seconds", seconds);
    Result("bytes", static_cast<double>(bytes));
    return ok ? 0 : 1;
}

int WriteOnly(const wchar_t* zip, const wchar_t* folder)
{
    std::vector<Entry> entries = ListEntries(zip);
    std::wstring base = std::wstring(folder) + L"/";
    std::vector<char> piece(kPieceBytes, 'w');
    bool ok = !entries.empty();
    Stopwatch watch;
    EnsureFolder(base.c_str(), L"");
    for (const Entry& entry : entries) {
        if (entry.folder) {
            EnsureFolder(base.c_str(), entry.name.c_str());
            continue;
        }
        size_t split = entry.name.find_last_of(L"/\\");
        EnsureFolder(base.c_str(), split == std::wstring::npos ? L"" : entry.name.substr(0, split + 1).c_str());
        ScopedFileHandle file(CreateFileW((base + entry.name).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
        ok = ok && file.IsValid();
        for (uint32_t left = entry.bytes; ok && left > 0;) {
            DWORD size = left < kPieceBytes ? left : kPieceBytes;
            DWORD written = 0;
            ok = WriteFile(file.Get(), piece.data(), size, &written, nullptr) && written == size;
            left -= size;
        }
    }
    Result("seconds", watch.Seconds());
    return ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"unpack" && argc == 4)
        return Unpack(argv[2], argv[3]);
    if (mode == L"inflate" && argc == 3)
        return InflateOnly(argv[2]);
    if (mode == L"write" && argc == 4)
        return WriteOnly(argv[2], argv[3]);
    std::fprintf(stderr, "usage: unpack_bench unpack|write <update.zip> <folder>\n"
                         "       unpack_bench inflate <update.zip>\n");
    return 2;
}
