#include "archive_mutants.h"

#include "seeded_random.h"
#include "zip_layout.h"
#include "zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <utility>

namespace {

uint64_t CaseSeed(uint32_t seed, MutationFamily family, uint32_t index)
{
    return (static_cast<uint64_t>(seed) << 40) ^ (static_cast<uint64_t>(family) << 32) ^ index;
}

constexpr uint32_t kUnixFile = 0100644u << 16;
constexpr uint32_t kUnixFolder = (040755u << 16) | 0x10;
constexpr uint32_t kUnixSymlink = 0120777u << 16;

struct Package {
    std::vector<ZipEntryPlan> entries;
    std::string bytes;
};

std::vector<std::string> ContentsOf(const std::vector<ZipEntryPlan>& entries)
{
    std::vector<std::string> contents;
    for (const ZipEntryPlan& entry : entries)
        contents.push_back(entry.data);
    return contents;
}

size_t CountOf(const std::string& haystack, const std::string& needle)
{
    size_t count = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1))
        ++count;
    return count;
}

// An end-record signature inside the data would let a cut archive still
// look whole; such packages are made again with other data.
bool HasOneEndRecord(const std::string& bytes)
{
    return CountOf(bytes, std::string("PK\x05\x06", 4)) == 1;
}

std::string TextBytes(size_t size, Random& random)
{
    static const char* const words[] = {"update", "skin", "Morvane", "proxy", "window",
                                        "\xc7\xd0\xbb\xbb", "line", "0x1F", "\t", "\r\n"};
    std::string text;
    while (text.size() < size) {
        text += random.Pick(words);
        text += ' ';
    }
    text.resize(size);
    return text;
}

std::string EntryData(size_t entry, uint64_t caseSeed, Random& random)
{
    uint32_t band = random.Below(100);
    size_t size = band < 5 ? 0 : band < 60 ? random.Below(600) : band < 90 ? 600 + random.Below(4400)
                                                                              : 16000 + random.Below(24000);
    if (size == 0)
        return std::string();
    std::string data = "entry " + std::to_string(entry) + " of " + std::to_string(caseSeed) + "\n";
    data += random.Chance(50) ? TextBytes(size, random)
                              : NoiseBytes(size, static_cast<uint32_t>(random.Next()));
    return data;
}

ZipEntryPlan PlainEntry(size_t entry, uint64_t caseSeed, Random& random)
{
    static const char* const folders[] = {"", "", "skin/", "skin/res/", "bin/x/y/", "data dir/",
                                          "\xd6\xd0\xce\xc4/", "a&b^c%d(e)/"};
    static const char* const extensions[] = {".txt", ".exe", ".bin", ".xml", ""};
    ZipEntryPlan plan;
    plan.name = std::string(random.Pick(folders)) + "file" + std::to_string(entry) +
                random.Pick(extensions);
    plan.data = EntryData(entry, caseSeed, random);
    plan.deflate = random.Chance(60);
    if (random.Chance(30)) {
        plan.host = kHostUnix;
        plan.externalAttributes = kUnixFile;
    } else {
        plan.externalAttributes = random.Chance(10) ? 0x21 : 0x20;
    }
    if (random.Chance(30))
        plan.localExtra = TimestampBlock(0x03, {1600000000, 1600000100});
    if (random.Chance(20))
        plan.centralExtra = TimestampBlock(0x01, {1600000000});
    if (random.Chance(10))
        plan.localExtra = ExtraBlock(0xCAFE, "odd") + plan.localExtra;
    return plan;
}

ZipEntryPlan FolderEntry(const std::string& name, bool unix)
{
    ZipEntryPlan plan;
    plan.name = name;
    plan.host = unix ? kHostUnix : kHostDos;
    plan.externalAttributes = unix ? kUnixFolder : 0x10;
    return plan;
}

Package Build(std::vector<ZipEntryPlan> entries)
{
    Package package;
    package.entries = std::move(entries);
    package.bytes = BuildZip(package.entries);
    return package;
}

Package BasePackage(uint64_t caseSeed, Random& random)
{
    for (;;) {
        std::vector<ZipEntryPlan> entries;
        size_t count = 1 + random.Below(5);
        for (size_t i = 0; i < count; ++i)
            entries.push_back(PlainEntry(i, caseSeed, random));
        if (random.Chance(15))
            entries.insert(entries.begin() + random.Below(entries.size() + 1),
                           FolderEntry("skin/", random.Chance(50)));
        Package package = Build(std::move(entries));
        if (HasOneEndRecord(package.bytes))
            return package;
    }
}

ArchiveCase CaseOf(const Package& package, std::string description)
{
    ArchiveCase archiveCase;
    archiveCase.description = std::move(description);
    archiveCase.bytes = package.bytes;
    archiveCase.contents = ContentsOf(package.entries);
    return archiveCase;
}

const char* FieldName(ZipField field)
{
    static const char* const names[] = {
        "local signature", "local version", "local flags", "local method", "local time",
        "local CRC", "local compressed size", "local uncompressed size", "local name length",
        "local extra length", "local name", "local extra", "data",
        "central signature", "central version made by", "central version needed",
        "central flags", "central method", "central time", "central CRC",
        "central compressed size", "central uncompressed size", "central name length",
        "central extra length", "central comment length", "central disk start",
        "central internal attributes", "central external attributes", "central local offset",
        "central name", "central extra", "central comment",
        "end signature", "end disk", "end central disk", "end entries on disk", "end entries",
        "end central size", "end central offset", "end comment length", "end comment"};
    return names[static_cast<size_t>(field)];
}

std::string Where(const ZipLayout& layout, size_t offset)
{
    const ZipFieldSpan* span = layout.At(offset);
    if (span == nullptr)
        return "between structures";
    std::string where = FieldName(span->field);
    if (span->entry >= 0)
        where += " of entry " + std::to_string(span->entry);
    return where;
}

// Raw inflate of at most limit bytes; false on a stream error.
bool Inflate(const std::string& packed, size_t limit, std::string& out)
{
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    out.assign(limit + 1, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    int result = inflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    inflateEnd(&stream);
    return result == Z_STREAM_END || result == Z_BUF_ERROR || result == Z_OK;
}

std::string Slice(const std::string& bytes, const ZipFieldSpan& span)
{
    return bytes.substr(span.offset, span.size);
}

uint32_t ValueIn(const std::string& bytes, const ZipLayout& layout, ZipField field, int entry)
{
    const ZipFieldSpan* span = layout.Find(field, entry);
    return span != nullptr ? ReadLittleEndian(bytes, span->offset, span->size) : 0;
}

// A folder entry's data is never read: by the design's attribute rules
// (DOS-like hosts keep the DOS folder bit, others the Unix one) or a name
// that ends in a separator.
bool IsFolderEntry(const std::string& bytes, const ZipLayout& layout, int entry)
{
    const uint32_t host = ValueIn(bytes, layout, ZipField::CentralVersionMadeBy, entry) >> 8;
    const uint32_t attributes = ValueIn(bytes, layout, ZipField::CentralExternalAttributes, entry);
    const bool dosLike = host == 0 || host == 7 || host == 11 || host == 14;
    if (attributes & (dosLike ? 0x10u : 0x40000000u))
        return true;
    const ZipFieldSpan* name = layout.Find(ZipField::CentralName, entry);
    const char last = name != nullptr ? bytes[name->offset + name->size - 1] : '\0';
    return last == '/' || last == '\\';
}

// Whether the entry's data is read at all: not for folders, and not when it
// declares no bytes (minizip then never inflates).
bool DataIsRead(const std::string& original, const std::string& mutated, const ZipLayout& layout,
                int entry)
{
    return !IsFolderEntry(mutated, layout, entry) &&
           ValueIn(original, layout, ZipField::CentralUncompressedSize, entry) != 0;
}

// Data is damaged unless it still inflates to exactly what was packed (a
// flip in the padding bits after the last deflate block changes nothing).
bool DataDamaged(const ZipFieldSpan& span, const ZipLayout& layout, const std::string& original,
                 const std::string& mutated)
{
    if (!DataIsRead(original, mutated, layout, span.entry))
        return false;
    if (ValueIn(original, layout, ZipField::CentralMethod, span.entry) != 8)
        return true;
    size_t size = ValueIn(original, layout, ZipField::CentralUncompressedSize, span.entry);
    std::string before, after;
    if (!Inflate(Slice(original, span), size, before) || !Inflate(Slice(mutated, span), size, after))
        return true;
    return before != after;
}

bool SpanDamages(const ZipFieldSpan& span, const ZipLayout& layout, const std::string& original,
                 const std::string& mutated)
{
    // The local header's CRC and sizes are compared with the central
    // directory unless its flags announce a data descriptor; a local size of
    // 0xFFFFFFFF defers to a ZIP64 record and is not compared either.
    const bool descriptor = (ValueIn(mutated, layout, ZipField::LocalFlags, span.entry) & 8) != 0;
    const bool lastEntry = span.entry == static_cast<int>(layout.entryCount) - 1;
    const uint32_t value = ReadLittleEndian(mutated, span.offset, span.size);
    switch (span.field) {
    case ZipField::Data:
        return DataDamaged(span, layout, original, mutated);
    case ZipField::LocalSignature:
    case ZipField::LocalMethod:
    case ZipField::LocalNameLength:
    case ZipField::CentralSignature:
    case ZipField::CentralMethod:
    case ZipField::CentralNameLength:
    case ZipField::CentralLocalOffset:
    case ZipField::EndSignature:
    case ZipField::EndDisk:
    case ZipField::EndCentralDisk:
    case ZipField::EndEntriesOnDisk:
    case ZipField::EndEntries:
    case ZipField::EndCentralSize:
    case ZipField::EndCentralOffset:
        return true;
    case ZipField::LocalCrc:
    case ZipField::CentralCompressedSize:
        return !descriptor;
    case ZipField::CentralCrc:
    case ZipField::CentralUncompressedSize:
        // Checked against the local header, and against the data of a file.
        return !descriptor || !IsFolderEntry(mutated, layout, span.entry);
    case ZipField::LocalCompressedSize:
    case ZipField::LocalUncompressedSize:
        return !descriptor && value != 0xFFFFFFFFu;
    case ZipField::LocalExtraLength:
        // Moves the data, which matters only where the data is read.
        return DataIsRead(original, mutated, layout, span.entry);
    case ZipField::CentralExtraLength:
    case ZipField::CentralCommentLength:
        // Moves every central record after it.
        return !lastEntry;
    default:
        // Names, times, attributes, versions, flags, extra fields, comments:
        // they change what is written where, never the bytes of a file.
        return false;
    }
}

Package MutableBase(uint64_t caseSeed, Random& random, ZipLayout& layout)
{
    Package package = BasePackage(caseSeed, random);
    ReadZipLayout(package.bytes, layout);
    return package;
}

ArchiveCase BitFlipCase(uint64_t caseSeed, Random& random)
{
    ZipLayout layout;
    Package package = MutableBase(caseSeed, random, layout);
    size_t offset = random.Below(package.bytes.size());
    int bit = static_cast<int>(random.Below(8));
    ArchiveCase archiveCase = CaseOf(package, "bit " + std::to_string(bit) + " of byte " +
                                                  std::to_string(offset) + " (" +
                                                  Where(layout, offset) + ") flipped");
    archiveCase.bytes[offset] = static_cast<char>(archiveCase.bytes[offset] ^ (1 << bit));
    archiveCase.damaged = IsDamagingChange(package.bytes, archiveCase.bytes);
    return archiveCase;
}

ArchiveCase ByteNoiseCase(uint64_t caseSeed, Random& random)
{
    ZipLayout layout;
    Package package = MutableBase(caseSeed, random, layout);
    ArchiveCase archiveCase = CaseOf(package, "bytes overwritten at");
    size_t count = 1 + random.Below(8);
    for (size_t i = 0; i < count; ++i) {
        size_t offset = random.Below(package.bytes.size());
        archiveCase.bytes[offset] = static_cast<char>(random.Next());
        archiveCase.description += " " + std::to_string(offset) + " (" + Where(layout, offset) + ")";
    }
    archiveCase.damaged = IsDamagingChange(package.bytes, archiveCase.bytes);
    return archiveCase;
}

ArchiveCase TruncationCase(uint64_t caseSeed, Random& random)
{
    ZipLayout layout;
    Package package = MutableBase(caseSeed, random, layout);
    // The first byte, the second, the last and one inside of every field.
    std::vector<size_t> cuts = {0, 1, 21, package.bytes.size() - 1};
    for (const ZipFieldSpan& span : layout.spans) {
        cuts.push_back(span.offset);
        cuts.push_back(span.offset + 1);
        cuts.push_back(span.offset + span.size - 1);
        cuts.push_back(span.offset + random.Below(span.size));
    }
    size_t length = std::min(cuts[random.Below(cuts.size())], package.bytes.size() - 1);
    ArchiveCase archiveCase = CaseOf(package, "cut to " + std::to_string(length) + " of " +
                                                  std::to_string(package.bytes.size()) +
                                                  " bytes (in " + Where(layout, length) + ")");
    archiveCase.bytes.resize(length);
    archiveCase.damaged = true;
    return archiveCase;
}

ArchiveCase LyingFieldCase(uint64_t caseSeed, Random& random)
{
    static const ZipField fields[] = {
        ZipField::LocalCompressedSize, ZipField::LocalUncompressedSize,
        ZipField::CentralCompressedSize, ZipField::CentralUncompressedSize,
        ZipField::CentralLocalOffset, ZipField::EndCentralSize, ZipField::EndCentralOffset,
        ZipField::EndEntries, ZipField::EndEntriesOnDisk, ZipField::LocalNameLength,
        ZipField::CentralNameLength, ZipField::LocalExtraLength, ZipField::CentralExtraLength,
        ZipField::CentralCommentLength, ZipField::EndCommentLength, ZipField::LocalCrc,
        ZipField::CentralCrc};
    for (;;) {
        ZipLayout layout;
        Package package = MutableBase(caseSeed, random, layout);
        ZipField field = random.Pick(fields);
        int entry = field >= ZipField::EndSignature ? -1
                                                    : static_cast<int>(random.Below(layout.entryCount));
        const ZipFieldSpan* span = layout.Find(field, entry);
        if (span == nullptr)
            continue;
        const uint32_t old = ReadLittleEndian(package.bytes, span->offset, span->size);
        const uint32_t size = static_cast<uint32_t>(package.bytes.size());
        // Other structures to point at: every local header, the central
        // directory, the end record.
        std::vector<uint32_t> lies = {0, 1, old - 1, old + 1, old * 2, old / 2, 0x7FFF, 0xFFFF,
                                      0x7FFFFFFF, 0x80000000u, 0xFFFFFFFEu, 0xFFFFFFFFu, size,
                                      size - 1, static_cast<uint32_t>(layout.endRecord)};
        for (size_t i = 0; i < layout.entryCount; ++i)
            lies.push_back(ValueIn(package.bytes, layout, ZipField::CentralLocalOffset,
                                   static_cast<int>(i)));
        lies.push_back(ValueIn(package.bytes, layout, ZipField::EndCentralOffset, -1));
        uint32_t lie = lies[random.Below(lies.size())];
        if (span->size == 2)
            lie &= 0xFFFF;
        if (lie == old)
            continue;
        ArchiveCase archiveCase = CaseOf(package, std::string(FieldName(field)) +
                                                      (entry >= 0 ? " of entry " + std::to_string(entry) : "") +
                                                      " says " + std::to_string(lie) + " instead of " +
                                                      std::to_string(old));
        WriteLittleEndian(archiveCase.bytes, span->offset, span->size, lie);
        archiveCase.damaged = IsDamagingChange(package.bytes, archiveCase.bytes);
        return archiveCase;
    }
}

std::string HostileName(Random& random, uint32_t serial)
{
    static const char* const prefixes[] = {
        "", "/", "\\", "C:", "C:/", "C:\\", "D:\\", "c:..\\", "\\\\server\\share\\",
        "//server/share/", "\\\\?\\C:\\", "\\\\?\\UNC\\server\\share\\", "\\\\.\\", "../",
        "..\\", "../../", "a/../../", "a\\..\\..\\", "./", "sub/./../", "...\\", "..../",
        "/..\\", "\\../", "a/b/../../../", "C:/../"};
    static const char* const middles[] = {"", "", "kit/", "..", "../", "sub/../../", "%TEMP%/",
                                          "~/", "con/", "aux.txt/", "dir./", "dir /", ". /"};
    static const char* const stems[] = {"kit-escape", "..", ".", "CON", "nul.txt", "COM1",
                                        "LPT9.log", "kit-escape .", "kit-escape.",
                                        "kit-escape:stream", "kit-escape::$DATA", "kit-escape*",
                                        "kit-escape?", "kit-escape|x", "kit-escape\x01",
                                        "kit-escape\xe4\xb8\xad", "CONIN$", "COM\xb9"};
    static const char* const endings[] = {"", "", ".txt", "/", "\\", " ", ".", "/..", "\\.."};
    std::string name = std::string(random.Pick(prefixes)) + random.Pick(middles);
    if (random.Chance(15)) {
        size_t depth = 1 + random.Below(40);
        for (size_t i = 0; i < depth; ++i)
            name += "d123456/";
    }
    std::string stem = random.Pick(stems);
    if (stem.compare(0, 10, "kit-escape") == 0)
        stem.insert(10, "-" + std::to_string(serial));
    name += stem;
    if (random.Chance(10))
        name += std::string(200 + random.Below(120), 'L');
    if (random.Chance(5))
        name.insert(random.Below(name.size() + 1), std::string(1, '\0'));
    name += random.Pick(endings);
    return name;
}

ArchiveCase HostileNameCase(uint64_t caseSeed, Random& random, uint32_t index)
{
    ZipLayout layout;
    Package base = MutableBase(caseSeed, random, layout);
    std::vector<ZipEntryPlan> entries = base.entries;
    std::string description = "hostile names";
    size_t count = 1 + random.Below(3);
    for (size_t i = 0; i < count; ++i) {
        ZipEntryPlan plan;
        plan.name = HostileName(random, index * 4 + static_cast<uint32_t>(i));
        plan.data = "hostile " + std::to_string(i) + " of " + std::to_string(caseSeed);
        plan.deflate = random.Chance(50);
        if (random.Chance(20)) {
            plan.host = kHostUnix;
            plan.externalAttributes = kUnixFile;
        }
        description += " [" + plan.name + "]";
        entries.insert(entries.begin() + random.Below(entries.size() + 1), plan);
    }
    Package package = Build(std::move(entries));
    return CaseOf(package, description);
}

// Appends a central record to the directory and counts it in the end record.
void AddCentralRecord(std::string& archive, const std::string& record)
{
    ZipLayout layout;
    ReadZipLayout(archive, layout);
    const size_t end = layout.endRecord;
    uint32_t entries = ReadLittleEndian(archive, end + 10, 2) + 1;
    uint32_t size = ReadLittleEndian(archive, end + 12, 4) + static_cast<uint32_t>(record.size());
    archive.insert(end, record);
    WriteLittleEndian(archive, end + record.size() + 8, 2, entries);
    WriteLittleEndian(archive, end + record.size() + 10, 2, entries);
    WriteLittleEndian(archive, end + record.size() + 12, 4, size);
}

std::string CentralRecord(const std::string& archive, int entry)
{
    ZipLayout layout;
    ReadZipLayout(archive, layout);
    size_t start = layout.Find(ZipField::CentralSignature, entry)->offset;
    size_t next = entry + 1 < static_cast<int>(layout.entryCount)
                      ? layout.Find(ZipField::CentralSignature, entry + 1)->offset
                      : layout.endRecord;
    return archive.substr(start, next - start);
}

ZipEntryPlan Named(const std::string& name, const std::string& data, bool deflate = false)
{
    ZipEntryPlan plan;
    plan.name = name;
    plan.data = data;
    plan.deflate = deflate;
    return plan;
}

ArchiveCase StructureCase(uint64_t caseSeed, Random& random, uint32_t index)
{
    const std::string tag = std::to_string(caseSeed);
    switch (index % 12) {
    case 0: {  // a Unix symbolic link, then a file "through" it
        static const char* const targets[] = {"/etc", "../../..", "C:\\Windows", "..\\..\\kit-escape",
                                              "\\\\server\\share", "/tmp/kit-escape"};
        ZipEntryPlan link = Named("link", random.Pick(targets));
        link.host = kHostUnix;
        link.externalAttributes = kUnixSymlink;
        std::vector<ZipEntryPlan> entries = {Named("before.txt", "before " + tag), link};
        if (random.Chance(70))
            entries.push_back(Named("link/kit-escape-" + tag + ".txt", "through " + tag));
        return CaseOf(Build(entries), "symbolic link to " + link.data);
    }
    case 1: {  // duplicate names, in other cases and separators too
        static const char* const seconds[] = {"same.txt", "SAME.TXT", "Same.txt", "./same.txt"};
        std::vector<ZipEntryPlan> entries = {Named("same.txt", "first " + tag),
                                             Named(random.Pick(seconds), "second " + tag, true)};
        if (random.Chance(50)) {
            entries.push_back(Named("d/x", "third " + tag));
            entries.push_back(Named("d\\x", "fourth " + tag));
        }
        entries[0].externalAttributes = random.Chance(50) ? 0x21 : 0x20;  // read-only first
        return CaseOf(Build(entries), "duplicate names");
    }
    case 2: {  // two central records for one local header
        Package package = BasePackage(caseSeed, random);
        ZipLayout layout;
        ReadZipLayout(package.bytes, layout);
        int entry = static_cast<int>(random.Below(layout.entryCount));
        ArchiveCase archiveCase = CaseOf(package, "entry " + std::to_string(entry) + " listed twice");
        AddCentralRecord(archiveCase.bytes, CentralRecord(package.bytes, entry));
        return archiveCase;
    }
    case 3: {  // an entry whose local header and data lie inside another's data
        Package inner = Build({Named("inner.txt", "inner " + tag, random.Chance(50))});
        ZipLayout innerLayout;
        ReadZipLayout(inner.bytes, innerLayout);
        std::string innerLocal = inner.bytes.substr(0, innerLayout.Find(ZipField::CentralSignature, 0)->offset);
        Package outer = Build({Named("outer.bin", innerLocal)});
        ZipLayout outerLayout;
        ReadZipLayout(outer.bytes, outerLayout);
        std::string record = CentralRecord(inner.bytes, 0);
        WriteLittleEndian(record, 42, 4,
                          static_cast<uint32_t>(outerLayout.Find(ZipField::Data, 0)->offset));
        ArchiveCase archiveCase = CaseOf(outer, "entry inside another entry's data");
        AddCentralRecord(archiveCase.bytes, record);
        archiveCase.contents.push_back(inner.entries[0].data);
        return archiveCase;
    }
    case 4:
    case 5:
    case 6: {  // 4 MB of zeros in about 4 KB: honest, lying with its CRC, lying without
        const std::string zeros(4u << 20, '\0');
        Package package = Build({Named("before.txt", "before " + tag), Named("bomb.bin", zeros, true)});
        ArchiveCase archiveCase = CaseOf(package, "inflates to 1000 times its size");
        if (index % 12 == 4)
            return archiveCase;
        ZipLayout layout;
        ReadZipLayout(package.bytes, layout);
        const uint32_t claimed = 4096;
        uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(zeros.data()), claimed));
        for (ZipField field : {ZipField::LocalUncompressedSize, ZipField::CentralUncompressedSize}) {
            const ZipFieldSpan* span = layout.Find(field, 1);
            WriteLittleEndian(archiveCase.bytes, span->offset, span->size, claimed);
        }
        if (index % 12 == 5) {
            for (ZipField field : {ZipField::LocalCrc, ZipField::CentralCrc}) {
                const ZipFieldSpan* span = layout.Find(field, 1);
                WriteLittleEndian(archiveCase.bytes, span->offset, span->size, crc);
            }
            archiveCase.description += ", its headers claim 4096 bytes and their CRC";
            archiveCase.contents.push_back(zeros.substr(0, claimed));
        } else {
            archiveCase.description += ", its headers claim 4096 bytes, CRC of the whole";
            archiveCase.damaged = true;
        }
        return archiveCase;
    }
    case 7: {  // a file, then a folder of the same name, or the other way round
        std::vector<ZipEntryPlan> entries = {Named("x.dat", "file " + tag),
                                             Named("x.dat/inner.txt", "inner " + tag)};
        if (random.Chance(50))
            entries = {FolderEntry("d/", false), Named("d", "file named like the folder " + tag)};
        return CaseOf(Build(entries), "file and folder of one name");
    }
    case 8: {  // many small entries
        std::vector<ZipEntryPlan> entries;
        size_t count = 100 + random.Below(300);
        for (size_t i = 0; i < count; ++i)
            entries.push_back(Named("many/" + std::to_string(i % 17) + "/f" + std::to_string(i),
                                    std::to_string(i) + " " + tag, i % 2 == 0));
        return CaseOf(Build(entries), std::to_string(count) + " small entries");
    }
    case 9: {  // an encrypted entry or one of an unknown method amid good ones
        ZipEntryPlan odd = Named("odd.bin", "odd " + tag, true);
        if (random.Chance(50))
            odd.password = "secret";
        else
            odd.methodOverride = random.Chance(50) ? 14 : 12;
        return CaseOf(Build({Named("a.txt", "a " + tag), odd, Named("b.txt", "b " + tag)}),
                      odd.password.empty() ? "unknown method" : "encrypted entry");
    }
    case 10: {  // a folder entry that carries data, a folder marked only by its bit
        ZipEntryPlan folder = Named("folder-with-data/", "data of a folder " + tag);
        folder.externalAttributes = 0x10;
        ZipEntryPlan bitOnly = Named("bit-only", "");
        bitOnly.externalAttributes = 0x10;
        return CaseOf(Build({folder, bitOnly, Named("bit-only/f.txt", "f " + tag)}),
                      "odd folder entries");
    }
    default: {  // read-only, hidden and system files replaced by later entries
        ZipEntryPlan first = Named("locked.txt", "first " + tag);
        first.externalAttributes = 0x27;
        return CaseOf(Build({first, Named("locked.txt", "second " + tag, true)}),
                      "a read-only, hidden, system file replaced");
    }
    }
}

ArchiveCase FramingCase(uint64_t caseSeed, Random& random)
{
    Package package = BasePackage(caseSeed, random);
    static const size_t lengths[] = {1, 4, 22, 100, 4096, 70000};
    size_t length = random.Pick(lengths);
    std::string garbage = NoiseBytes(length, static_cast<uint32_t>(random.Next()));
    ArchiveCase archiveCase = CaseOf(package, "");
    switch (random.Below(3)) {
    case 0:
        archiveCase.bytes = garbage + archiveCase.bytes;
        archiveCase.description = std::to_string(length) + " bytes before the archive";
        break;
    case 1:
        archiveCase.bytes += garbage;
        archiveCase.description = std::to_string(length) + " bytes after the archive";
        break;
    default: {
        Package second = BasePackage(caseSeed + 1, random);
        archiveCase.bytes += second.bytes;
        archiveCase.description = "a second archive after the first";
        for (const ZipEntryPlan& entry : second.entries)
            archiveCase.contents.push_back(entry.data);
        break;
    }
    }
    return archiveCase;
}

}  // namespace

bool IsDamagingChange(const std::string& original, const std::string& mutated)
{
    if (mutated.size() < original.size())
        return true;
    ZipLayout layout;
    if (!ReadZipLayout(original, layout))
        return true;
    for (const ZipFieldSpan& span : layout.spans) {
        if (original.compare(span.offset, span.size, mutated, span.offset, span.size) != 0 &&
            SpanDamages(span, layout, original, mutated))
            return true;
    }
    return false;
}

ArchiveCase MakeArchiveCase(MutationFamily family, uint32_t seed, uint32_t index)
{
    const uint64_t caseSeed = CaseSeed(seed, family, index);
    Random random(caseSeed);
    switch (family) {
    case MutationFamily::BitFlip:
        return BitFlipCase(caseSeed, random);
    case MutationFamily::ByteNoise:
        return ByteNoiseCase(caseSeed, random);
    case MutationFamily::Truncation:
        return TruncationCase(caseSeed, random);
    case MutationFamily::LyingField:
        return LyingFieldCase(caseSeed, random);
    case MutationFamily::HostileName:
        return HostileNameCase(caseSeed, random, index);
    case MutationFamily::Structure:
        return StructureCase(caseSeed, random, index);
    case MutationFamily::Framing:
        return FramingCase(caseSeed, random);
    }
    return ArchiveCase();
}

namespace {
const std::pair<MutationFamily, const char*> kFamilyNames[] = {
    {MutationFamily::BitFlip, "bitflip"},       {MutationFamily::ByteNoise, "noise"},
    {MutationFamily::Truncation, "truncation"}, {MutationFamily::LyingField, "lying"},
    {MutationFamily::HostileName, "names"},     {MutationFamily::Structure, "structure"},
    {MutationFamily::Framing, "framing"},
};
}  // namespace

const char* FamilyName(MutationFamily family)
{
    for (const auto& item : kFamilyNames) {
        if (item.first == family)
            return item.second;
    }
    return "?";
}

bool FamilyFromName(const std::string& name, MutationFamily& family)
{
    for (const auto& item : kFamilyNames) {
        if (name == item.second) {
            family = item.first;
            return true;
        }
    }
    return false;
}
