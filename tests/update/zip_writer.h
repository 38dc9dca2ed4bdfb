#pragma once
// Builds ZIP archives byte by byte for the archive tests: stored and deflated
// entries, any name bytes, hosts and attributes, extra fields, traditional
// PKWARE encryption, and the faults a damaged download carries.
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t kHostDos = 0;
constexpr uint16_t kHostUnix = 3;

// 20 December 2016, 09:52:34 as a DOS date (upper half) and time (lower half).
constexpr uint32_t kDosStamp2016 = ((2016u - 1980u) << 25) | (12u << 21) | (20u << 16) |
                                   (9u << 11) | (52u << 5) | (34u / 2u);

struct ZipEntryPlan {
    std::string name;            // stored name bytes
    std::string data;            // uncompressed content
    bool deflate = false;
    uint16_t host = kHostDos;
    uint32_t externalAttributes = 0x20;
    uint32_t dosDateTime = kDosStamp2016;
    std::string localExtra;
    std::string centralExtra;
    std::string password;        // non-empty: traditional PKWARE encryption
    // Faults.
    uint32_t crcXor = 0;              // stored CRC differs from the data's
    int corruptDataByte = -1;         // flips this byte of the stored data
    int methodOverride = -1;          // e.g. 14 (LZMA), which the reader cannot read
    bool badLocalSignature = false;   // local header no longer agrees
};

std::string BuildZip(const std::vector<ZipEntryPlan>& entries);

// A "UT" extended timestamp block with the given flags and times.
std::string TimestampBlock(uint8_t flags, const std::vector<int32_t>& seconds);
// Any other extra block, for walking past it.
std::string ExtraBlock(uint16_t tag, const std::string& data);

// Bytes that are not easy to compress, reproducible from the seed.
std::string NoiseBytes(size_t size, uint32_t seed);
