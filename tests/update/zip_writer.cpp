#include "zip_writer.h"

#include <zlib.h>

#include <stdexcept>

namespace {

void Put16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::string Deflate(const std::string& data)
{
    z_stream stream = {};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())) + 16, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    int result = deflate(&stream, Z_FINISH);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("deflate");
    out.resize(stream.total_out);
    return out;
}

// Traditional PKWARE encryption (APPNOTE 6.1).
class ZipCrypto {
public:
    explicit ZipCrypto(const std::string& password)
    {
        for (char c : password)
            Update(static_cast<uint8_t>(c));
    }
    std::string Encrypt(const std::string& plain)
    {
        std::string out;
        for (char c : plain) {
            uint8_t p = static_cast<uint8_t>(c);
            out += static_cast<char>(p ^ KeyByte());
            Update(p);
        }
        return out;
    }

private:
    static uint32_t Crc(uint32_t crc, uint8_t b)
    {
        const z_crc_t* table = get_crc_table();
        return table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    }
    void Update(uint8_t b)
    {
        m_k0 = Crc(m_k0, b);
        m_k1 = (m_k1 + (m_k0 & 0xFF)) * 134775813u + 1u;
        m_k2 = Crc(m_k2, static_cast<uint8_t>(m_k1 >> 24));
    }
    uint8_t KeyByte() const
    {
        uint32_t t = (m_k2 | 2u) & 0xFFFF;
        return static_cast<uint8_t>((t * (t ^ 1u)) >> 8);
    }
    uint32_t m_k0 = 0x12345678u, m_k1 = 0x23456789u, m_k2 = 0x34567890u;
};

}  // namespace

std::string BuildZip(const std::vector<ZipEntryPlan>& entries)
{
    std::string archive;
    std::string central;
    for (const ZipEntryPlan& e : entries) {
        uint32_t crc = static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size())));
        std::string stored = e.deflate ? Deflate(e.data) : e.data;
        uint16_t flags = 0;
        if (!e.password.empty()) {
            flags |= 0x1;
            std::string header = NoiseBytes(11, crc);
            header += static_cast<char>(crc >> 24);  // the check byte
            stored = ZipCrypto(e.password).Encrypt(header + stored);
        }
        if (e.corruptDataByte >= 0 && static_cast<size_t>(e.corruptDataByte) < stored.size())
            stored[static_cast<size_t>(e.corruptDataByte)] ^= 0x5A;
        uint16_t method = e.methodOverride >= 0 ? static_cast<uint16_t>(e.methodOverride)
                                                : (e.deflate ? 8 : 0);
        uint32_t writtenCrc = crc ^ e.crcXor;
        uint32_t offset = static_cast<uint32_t>(archive.size());

        Put32(archive, e.badLocalSignature ? 0x04034b51u : 0x04034b50u);
        Put16(archive, 20);
        Put16(archive, flags);
        Put16(archive, method);
        Put32(archive, e.dosDateTime);
        Put32(archive, writtenCrc);
        Put32(archive, static_cast<uint32_t>(stored.size()));
        Put32(archive, static_cast<uint32_t>(e.data.size()));
        Put16(archive, static_cast<uint32_t>(e.name.size()));
        Put16(archive, static_cast<uint32_t>(e.localExtra.size()));
        archive += e.name;
        archive += e.localExtra;
        archive += stored;

        Put32(central, 0x02014b50u);
        Put16(central, static_cast<uint32_t>(e.host) << 8 | 20u);
        Put16(central, 20);
        Put16(central, flags);
        Put16(central, method);
        Put32(central, e.dosDateTime);
        Put32(central, writtenCrc);
        Put32(central, static_cast<uint32_t>(stored.size()));
        Put32(central, static_cast<uint32_t>(e.data.size()));
        Put16(central, static_cast<uint32_t>(e.name.size()));
        Put16(central, static_cast<uint32_t>(e.centralExtra.size()));
        Put16(central, 0);  // comment
        Put16(central, 0);  // disk
        Put16(central, 0);  // internal attributes
        Put32(central, e.externalAttributes);
        Put32(central, offset);
        central += e.name;
        central += e.centralExtra;
    }
    uint32_t centralOffset = static_cast<uint32_t>(archive.size());
    archive += central;
    Put32(archive, 0x06054b50u);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put32(archive, static_cast<uint32_t>(central.size()));
    Put32(archive, centralOffset);
    Put16(archive, 0);
    return archive;
}

std::string TimestampBlock(uint8_t flags, const std::vector<int32_t>& seconds)
{
    std::string data(1, static_cast<char>(flags));
    for (int32_t s : seconds)
        Put32(data, static_cast<uint32_t>(s));
    return ExtraBlock(0x5455, data);  // "UT"
}

std::string ExtraBlock(uint16_t tag, const std::string& data)
{
    std::string block;
    Put16(block, tag);
    Put16(block, static_cast<uint32_t>(data.size()));
    return block + data;
}

std::string NoiseBytes(size_t size, uint32_t seed)
{
    std::string bytes(size, '\0');
    uint32_t x = seed * 2654435761u + 1u;
    for (char& c : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x >> 24);
    }
    return bytes;
}
