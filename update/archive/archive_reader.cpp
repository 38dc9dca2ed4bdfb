#include "archive_reader.h"

#include "archive_file_io.h"
#include "entry_attributes.h"
#include "entry_name.h"
#include "entry_times.h"
#include "file_handle.h"

#include <unzip.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr size_t kTransferBufferBytes = 16384;
constexpr size_t kLongestPath = kArchivePathUnits - 1;  // units without the terminator
constexpr uLong kEncryptedFlag = 0x1;
constexpr uLong kStored = 0;
constexpr uLong kDeflated = 8;

bool EndsWithSeparator(const std::wstring& text)
{
    return !text.empty() && IsPathSeparator(text.back());
}

// A target left incomplete (or written from corrupt data) is removed, so a
// staging folder never holds a file the archive did not really contain.
void RemoveIncompleteFile(const std::wstring& path)
{
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

// A read-only, hidden or system file left by an earlier unpack would make
// CREATE_ALWAYS fail.
void MakeReplaceable(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    const DWORD blocking = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        (attributes & blocking) != 0)
        SetFileAttributesW(path.c_str(), attributes & ~blocking);
}

// An archive without entries is its end record alone, at offset 0, where
// minizip does not look for it.
bool IsEmptyArchive(HANDLE file)
{
    LARGE_INTEGER size = {};
    LARGE_INTEGER start = {};
    unsigned char record[22] = {};
    DWORD got = 0;
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 22 || size.QuadPart > 22 + 0xFFFF ||
        !SetFilePointerEx(file, start, nullptr, FILE_BEGIN) ||
        !ReadFile(file, record, sizeof record, &got, nullptr) || got != sizeof record)
        return false;
    static const unsigned char signature[4] = {0x50, 0x4B, 0x05, 0x06};
    for (int i = 0; i < 4; ++i) {
        if (record[i] != signature[i])
            return false;
    }
    for (int i = 4; i < 20; ++i) {  // disks, entry counts, central directory size and offset
        if (record[i] != 0)
            return false;
    }
    unsigned commentLength = record[20] | (record[21] << 8);
    return size.QuadPart == 22 + static_cast<LONGLONG>(commentLength);
}

}  // namespace

class ArchiveReader {
public:
    static ArchiveReader* Open(const wchar_t* path);
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    int32_t SetBaseFolder(const wchar_t* folder);
    int32_t GetEntry(int32_t index, ArchiveEntry& entry);
    int32_t ExtractEntry(int32_t index, const wchar_t* name);
    int32_t DeclaredSize(uint64_t& total);

private:
    ArchiveReader() = default;
    int32_t ReadEntry(int32_t index, ArchiveEntry& entry);
    bool GoToEntry(int32_t index);
    int32_t ReadLocalExtraField(std::vector<unsigned char>& extra);
    int32_t CopyEntryData(HANDLE target);
    void CloseEntryData();

    ScopedFileHandle m_file;
    unzFile m_zip = nullptr;
    int32_t m_entryCount = 0;
    int32_t m_position = -1;   // entry minizip stands on, -1 before the first
    int32_t m_openEntry = -1;  // entry whose data is open for reading
    ArchiveEntry m_cachedEntry = {};
    int32_t m_cachedIndex = -1;
    unz_file_info64 m_cachedInfo = {};  // method and flags of the cached entry
    std::unique_ptr<char[]> m_buffer;  // allocated by the first extraction
    std::wstring m_baseFolder;
    FILETIME m_archiveTime = {};  // for entries whose DOS date is no date
};

ArchiveReader* ArchiveReader::Open(const wchar_t* path)
{
    std::unique_ptr<ArchiveReader> reader(new ArchiveReader());
    reader->m_file.Reset(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!reader->m_file.IsValid())
        return nullptr;
    if (!GetFileTime(reader->m_file.Get(), nullptr, nullptr, &reader->m_archiveTime))
        GetSystemTimeAsFileTime(&reader->m_archiveTime);

    zlib_filefunc64_def functions = FileFunctionsOver(reader->m_file.Get());
    reader->m_zip = unzOpen2_64(path, &functions);
    if (reader->m_zip == nullptr)
        return IsEmptyArchive(reader->m_file.Get()) ? reader.release() : nullptr;
    unz_global_info64 info = {};
    if (unzGetGlobalInfo64(reader->m_zip, &info) != UNZ_OK || info.number_entry > 0x7FFFFFFF)
        return nullptr;
    reader->m_entryCount = static_cast<int32_t>(info.number_entry);
    return reader.release();
}

ArchiveReader::~ArchiveReader()
{
    CloseEntryData();
    if (m_zip != nullptr)
        unzClose(m_zip);
}

void ArchiveReader::CloseEntryData()
{
    if (m_openEntry != -1) {
        unzCloseCurrentFile(m_zip);
        m_openEntry = -1;
    }
}

int32_t ArchiveReader::SetBaseFolder(const wchar_t* folder)
{
    std::wstring base = folder != nullptr ? folder : L"";
    if (!EndsWithSeparator(base))
        base += L'/';
    // An empty folder would put the entries at the root of the drive.
    if (base.size() < 2 || base.size() > kLongestPath)
        return ArcRefusedPath;
    m_baseFolder = base;
    return ArcOk;
}

int32_t ArchiveReader::GetEntry(int32_t index, ArchiveEntry& entry)
{
    if (index < -1 || index >= m_entryCount)
        return ArcBadIndex;
    CloseEntryData();
    if (index == -1) {
        entry = ArchiveEntry();
        entry.index = m_entryCount;
        return ArcOk;
    }
    if (index != m_cachedIndex) {
        m_cachedIndex = -1;
        int32_t result = ReadEntry(index, m_cachedEntry);
        if (result != ArcOk)
            return result;
        m_cachedIndex = index;
    }
    entry = m_cachedEntry;
    return ArcOk;
}

bool ArchiveReader::GoToEntry(int32_t index)
{
    if (m_position == -1 || index < m_position) {
        m_position = -1;
        if (unzGoToFirstFile(m_zip) != UNZ_OK)
            return false;
        m_position = 0;
    }
    while (m_position < index) {
        if (unzGoToNextFile(m_zip) != UNZ_OK) {
            m_position = -1;
            return false;
        }
        ++m_position;
    }
    return true;
}

int32_t ArchiveReader::ReadLocalExtraField(std::vector<unsigned char>& extra)
{
    // Opening the data checks the local header against the central directory.
    if (unzOpenCurrentFile(m_zip) != UNZ_OK) {
        unzCloseCurrentFile(m_zip);
        return ArcBadHeader;
    }
    int length = unzGetLocalExtrafield(m_zip, nullptr, 0);
    int32_t result = length < 0 ? ArcReadFailed : ArcOk;
    if (length > 0) {
        extra.resize(static_cast<size_t>(length));
        if (unzGetLocalExtrafield(m_zip, extra.data(), static_cast<unsigned>(length)) != length)
            result = ArcReadFailed;
    }
    unzCloseCurrentFile(m_zip);
    return result;
}

int32_t ArchiveReader::ReadEntry(int32_t index, ArchiveEntry& entry)
{
    if (!GoToEntry(index))
        return ArcBadHeader;
    unz_file_info64 info = {};
    char storedName[kArchivePathUnits] = {};
    if (unzGetCurrentFileInfo64(m_zip, &info, storedName, sizeof storedName, nullptr, 0, nullptr,
                                0) != UNZ_OK)
        return ArcBadHeader;
    std::vector<unsigned char> extra;
    int32_t result = ReadLocalExtraField(extra);
    if (result != ArcOk)
        return result;

    // Names are refused, never cut: a cut name is another file.
    if (info.size_filename > kLongestPath)
        return ArcRefusedPath;
    wchar_t converted[kArchivePathUnits] = {};
    int units = MultiByteToWideChar(CP_ACP, 0, storedName, static_cast<int>(info.size_filename),
                                    converted, static_cast<int>(kLongestPath));
    std::wstring stored(converted, static_cast<size_t>(units));
    // A NUL inside would cut the name to another one.
    if ((units == 0 && info.size_filename != 0) || stored.find(L'\0') != std::wstring::npos)
        return ArcRefusedPath;
    std::wstring name = StripEntryName(stored);
    if (!IsSafeEntryName(name))
        return ArcRefusedPath;

    entry = ArchiveEntry();
    entry.index = index;
    name.copy(entry.name, name.size());
    entry.attributes = EntryAttributes(info.version, info.external_fa);
    // Some archivers mark folders only by the trailing separator.
    if (EndsWithSeparator(name))
        entry.attributes |= FILE_ATTRIBUTE_DIRECTORY;
    // A folder carries no data: one that does is a damaged file entry, whose
    // bytes would otherwise be dropped without a word.
    if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) && info.uncompressed_size != 0)
        return ArcBadHeader;
    entry.compressedSize = static_cast<int32_t>(info.compressed_size);
    entry.uncompressedSize = static_cast<int32_t>(info.uncompressed_size);

    EntryTimes times = {};
    if (!DosTimeToFileTime(info.dosDate, times.modification))
        times.modification = m_archiveTime;
    times.access = times.creation = times.modification;
    ApplyExtendedTimestamps(extra.data(), extra.size(), times);
    entry.accessTime = times.access;
    entry.creationTime = times.creation;
    entry.modificationTime = times.modification;
    m_cachedInfo = info;
    return ArcOk;
}

int32_t ArchiveReader::DeclaredSize(uint64_t& total)
{
    CloseEntryData();
    total = 0;
    // The walk moves minizip off the entry GoToEntry believes it stands on.
    m_position = -1;
    for (int32_t index = 0; index < m_entryCount; ++index) {
        int moved = index == 0 ? unzGoToFirstFile(m_zip) : unzGoToNextFile(m_zip);
        unz_file_info64 info = {};
        if (moved != UNZ_OK ||
            unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return ArcBadHeader;
        const uint64_t size = info.uncompressed_size;
        total = size > UINT64_MAX - total ? UINT64_MAX : total + size;
    }
    return ArcOk;
}

int32_t ArchiveReader::ExtractEntry(int32_t index, const wchar_t* name)
{
    CloseEntryData();
    if (index < 0 || index >= m_entryCount)
        return ArcBadIndex;
    ArchiveEntry entry;
    int32_t result = GetEntry(index, entry);
    if (result != ArcOk)
        return result;
    std::wstring relative = name != nullptr ? name : L"";
    if (m_baseFolder.empty() || !IsSafeEntryName(relative) ||
        m_baseFolder.size() + relative.size() > kLongestPath)
        return ArcRefusedPath;

    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
        EnsureFolder(m_baseFolder.c_str(), relative.c_str());
        return ArcOk;
    }
    size_t split = relative.find_last_of(L"/\\");
    std::wstring folder = split == std::wstring::npos ? L"" : relative.substr(0, split + 1);
    std::wstring target = m_baseFolder + relative;
    EnsureFolder(m_baseFolder.c_str(), folder.c_str());

    // The kit holds no password, so an encrypted entry cannot be read.
    if (m_cachedInfo.flag & kEncryptedFlag)
        return ArcPasswordNeeded;
    // minizip, built without bzip2, would hand out a bzip2 entry's raw bytes.
    if (m_cachedInfo.compression_method != kStored && m_cachedInfo.compression_method != kDeflated)
        return ArcInflateFailed;

    MakeReplaceable(target);
    ScopedFileHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      entry.attributes, nullptr));
    if (!file.IsValid())
        return ArcCannotOpen;
    result = CopyEntryData(file.Get());
    if (result == ArcOk) {
        SetFileTime(file.Get(), &entry.creationTime, &entry.accessTime, &entry.modificationTime);
        return ArcOk;
    }
    file.Reset();
    RemoveIncompleteFile(target);
    return result;
}

int32_t ArchiveReader::CopyEntryData(HANDLE target)
{
    if (unzOpenCurrentFile(m_zip) != UNZ_OK) {
        unzCloseCurrentFile(m_zip);
        return ArcBadHeader;
    }
    m_openEntry = m_position;
    if (!m_buffer)
        m_buffer.reset(new char[kTransferBufferBytes]);

    int32_t result = ArcOk;
    for (;;) {
        int got = unzReadCurrentFile(m_zip, m_buffer.get(), kTransferBufferBytes);
        if (got < 0) {
            result = ArcInflateFailed;
            break;
        }
        if (got == 0) {
            if (unzeof(m_zip) != 1)
                result = ArcInflateFailed;  // no bytes, yet the data has not ended
            break;
        }
        DWORD written = 0;
        if (!WriteFile(target, m_buffer.get(), static_cast<DWORD>(got), &written, nullptr) ||
            written != static_cast<DWORD>(got)) {
            result = ArcWriteFailed;
            break;
        }
    }
    // minizip compares the CRC-32 only here, and only after the whole data
    // was read: a mismatch means the file on disk is not the one packed.
    int closed = unzCloseCurrentFile(m_zip);
    m_openEntry = -1;
    if (result == ArcOk && closed != UNZ_OK)
        result = ArcInflateFailed;
    return result;
}

HARCHIVE OpenArchive(const wchar_t* path)
{
    return path != nullptr ? ArchiveReader::Open(path) : nullptr;
}

int32_t SetBaseFolder(HARCHIVE archive, const wchar_t* folder)
{
    return archive != nullptr ? archive->SetBaseFolder(folder) : ArcBadIndex;
}

int32_t GetEntry(HARCHIVE archive, int32_t index, ArchiveEntry& entry)
{
    return archive != nullptr ? archive->GetEntry(index, entry) : ArcBadIndex;
}

int32_t GetDeclaredSize(HARCHIVE archive, uint64_t& total)
{
    total = 0;
    return archive != nullptr ? archive->DeclaredSize(total) : ArcBadIndex;
}

int32_t ExtractEntry(HARCHIVE archive, int32_t index, const wchar_t* name)
{
    return archive != nullptr ? archive->ExtractEntry(index, name) : ArcBadIndex;
}

void CloseArchive(HARCHIVE archive)
{
    delete archive;
}
