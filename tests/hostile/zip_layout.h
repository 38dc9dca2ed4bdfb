#pragma once
// Where every header field of a ZIP archive lies, read back from its bytes:
// the map the mutation generator uses to aim at one field and to tell a
// damaging change from one a reader may let stand.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class ZipField {
    LocalSignature, LocalVersion, LocalFlags, LocalMethod, LocalTime, LocalCrc,
    LocalCompressedSize, LocalUncompressedSize, LocalNameLength, LocalExtraLength,
    LocalName, LocalExtra, Data,
    CentralSignature, CentralVersionMadeBy, CentralVersionNeeded, CentralFlags, CentralMethod,
    CentralTime, CentralCrc, CentralCompressedSize, CentralUncompressedSize, CentralNameLength,
    CentralExtraLength, CentralCommentLength, CentralDiskStart, CentralInternalAttributes,
    CentralExternalAttributes, CentralLocalOffset, CentralName, CentralExtra, CentralComment,
    EndSignature, EndDisk, EndCentralDisk, EndEntriesOnDisk, EndEntries, EndCentralSize,
    EndCentralOffset, EndCommentLength, EndComment,
};

struct ZipFieldSpan {
    ZipField field;
    int entry;      // -1 for the end record
    size_t offset;
    size_t size;
};

struct ZipLayout {
    std::vector<ZipFieldSpan> spans;  // in file order for each structure
    size_t entryCount = 0;
    size_t endRecord = 0;  // offset of the end record

    // The span that holds this byte, or null (bytes between structures).
    const ZipFieldSpan* At(size_t offset) const;
    const ZipFieldSpan* Find(ZipField field, int entry) const;
};

// False when the bytes are no archive the layout can follow (the generator
// only ever reads back archives it built whole).
bool ReadZipLayout(const std::string& archive, ZipLayout& layout);

uint32_t ReadLittleEndian(const std::string& bytes, size_t offset, size_t size);
void WriteLittleEndian(std::string& bytes, size_t offset, size_t size, uint32_t value);
