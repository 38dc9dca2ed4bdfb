#include "zip_layout.h"

namespace {

constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr size_t kEndRecordSize = 22;

struct FieldDef {
    ZipField field;
    size_t size;
};

const FieldDef kLocalHeader[] = {
    {ZipField::LocalSignature, 4}, {ZipField::LocalVersion, 2},
    {ZipField::LocalFlags, 2}, {ZipField::LocalMethod, 2},
    {ZipField::LocalTime, 4}, {ZipField::LocalCrc, 4},
    {ZipField::LocalCompressedSize, 4}, {ZipField::LocalUncompressedSize, 4},
    {ZipField::LocalNameLength, 2}, {ZipField::LocalExtraLength, 2},
};

const FieldDef kCentralHeader[] = {
    {ZipField::CentralSignature, 4}, {ZipField::CentralVersionMadeBy, 2},
    {ZipField::CentralVersionNeeded, 2}, {ZipField::CentralFlags, 2},
    {ZipField::CentralMethod, 2}, {ZipField::CentralTime, 4},
    {ZipField::CentralCrc, 4}, {ZipField::CentralCompressedSize, 4},
    {ZipField::CentralUncompressedSize, 4}, {ZipField::CentralNameLength, 2},
    {ZipField::CentralExtraLength, 2}, {ZipField::CentralCommentLength, 2},
    {ZipField::CentralDiskStart, 2}, {ZipField::CentralInternalAttributes, 2},
    {ZipField::CentralExternalAttributes, 4}, {ZipField::CentralLocalOffset, 4},
};

const FieldDef kEndRecord[] = {
    {ZipField::EndSignature, 4}, {ZipField::EndDisk, 2},
    {ZipField::EndCentralDisk, 2}, {ZipField::EndEntriesOnDisk, 2},
    {ZipField::EndEntries, 2}, {ZipField::EndCentralSize, 4},
    {ZipField::EndCentralOffset, 4}, {ZipField::EndCommentLength, 2},
};

// Appends the fixed fields of one header at offset; false when they do not fit.
template <size_t N>
bool AddHeader(const FieldDef (&defs)[N], int entry, size_t offset, size_t limit,
               ZipLayout& layout)
{
    for (const FieldDef& def : defs) {
        if (offset + def.size > limit)
            return false;
        layout.spans.push_back({def.field, entry, offset, def.size});
        offset += def.size;
    }
    return true;
}

void AddVariable(ZipField field, int entry, size_t offset, size_t size, ZipLayout& layout)
{
    if (size > 0)
        layout.spans.push_back({field, entry, offset, size});
}

}  // namespace

uint32_t ReadLittleEndian(const std::string& bytes, size_t offset, size_t size)
{
    uint32_t value = 0;
    for (size_t i = size; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

void WriteLittleEndian(std::string& bytes, size_t offset, size_t size, uint32_t value)
{
    for (size_t i = 0; i < size; ++i, value >>= 8)
        bytes[offset + i] = static_cast<char>(value & 0xFF);
}

const ZipFieldSpan* ZipLayout::At(size_t offset) const
{
    for (const ZipFieldSpan& span : spans) {
        if (offset >= span.offset && offset < span.offset + span.size)
            return &span;
    }
    return nullptr;
}

const ZipFieldSpan* ZipLayout::Find(ZipField field, int entry) const
{
    for (const ZipFieldSpan& span : spans) {
        if (span.field == field && span.entry == entry)
            return &span;
    }
    return nullptr;
}

bool ReadZipLayout(const std::string& archive, ZipLayout& layout)
{
    layout = ZipLayout();
    const size_t size = archive.size();
    if (size < kEndRecordSize)
        return false;
    size_t end = size - kEndRecordSize;
    if (ReadLittleEndian(archive, end, 4) != kEndSignature)
        return false;
    layout.endRecord = end;
    const size_t entries = ReadLittleEndian(archive, end + 10, 2);
    size_t central = ReadLittleEndian(archive, end + 16, 4);
    layout.entryCount = entries;

    for (size_t i = 0; i < entries; ++i) {
        const int entry = static_cast<int>(i);
        if (central + 46 > end || ReadLittleEndian(archive, central, 4) != kCentralSignature)
            return false;
        AddHeader(kCentralHeader, entry, central, end, layout);
        size_t nameLength = ReadLittleEndian(archive, central + 28, 2);
        size_t extraLength = ReadLittleEndian(archive, central + 30, 2);
        size_t commentLength = ReadLittleEndian(archive, central + 32, 2);
        size_t local = ReadLittleEndian(archive, central + 42, 4);
        size_t compressed = ReadLittleEndian(archive, central + 20, 4);
        size_t at = central + 46;
        AddVariable(ZipField::CentralName, entry, at, nameLength, layout);
        AddVariable(ZipField::CentralExtra, entry, at + nameLength, extraLength, layout);
        AddVariable(ZipField::CentralComment, entry, at + nameLength + extraLength,
                    commentLength, layout);
        central = at + nameLength + extraLength + commentLength;

        if (local + 30 > size || ReadLittleEndian(archive, local, 4) != kLocalSignature)
            return false;
        AddHeader(kLocalHeader, entry, local, size, layout);
        size_t localName = ReadLittleEndian(archive, local + 26, 2);
        size_t localExtra = ReadLittleEndian(archive, local + 28, 2);
        at = local + 30;
        AddVariable(ZipField::LocalName, entry, at, localName, layout);
        AddVariable(ZipField::LocalExtra, entry, at + localName, localExtra, layout);
        AddVariable(ZipField::Data, entry, at + localName + localExtra, compressed, layout);
    }
    AddHeader(kEndRecord, -1, end, size, layout);
    return true;
}
