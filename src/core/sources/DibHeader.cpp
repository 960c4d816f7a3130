#include "core/sources/DibHeader.h"

std::optional<DibHeader> ReadDibHeader(ByteStream& stream)
{
    std::uint8_t bytes[40] = {};
    if (!stream.Read(bytes, 4))
        return std::nullopt;
    DibHeader header;
    header.headerSize = LittleEndian32(bytes);
    if (header.headerSize < 12)
        return std::nullopt;
    if (header.headerSize == 12) {
        if (!stream.Read(bytes + 4, 8))
            return std::nullopt;
        header.width = LittleEndian16(bytes + 4);
        header.height = static_cast<std::int16_t>(LittleEndian16(bytes + 6));
        header.bitCount = LittleEndian16(bytes + 10);
        return header;
    }
    const qint64 fields = std::min<qint64>(header.headerSize, sizeof bytes) - 4;
    if (!stream.Read(bytes + 4, fields) || !stream.Skip(header.headerSize - 4 - fields))
        return std::nullopt;
    header.width = static_cast<std::int32_t>(LittleEndian32(bytes + 4));
    header.height = static_cast<std::int32_t>(LittleEndian32(bytes + 8));
    header.bitCount = LittleEndian16(bytes + 14);
    header.compression = LittleEndian32(bytes + 16);
    header.coloursUsed = LittleEndian32(bytes + 32);
    return header;
}

bool DibUncompressed(const DibHeader& header)
{
    return header.compression == 0 || header.compression == 3 || header.compression == 6;
}

std::int64_t DibRowBytes(std::int64_t width, std::uint16_t bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

std::int64_t DibTableBytes(const DibHeader& header)
{
    const std::int64_t entryBytes = header.headerSize == 12 ? 3 : 4;
    std::int64_t bytes = 0;
    if (header.bitCount <= 8)
        bytes = (header.coloursUsed != 0 ? std::min<std::int64_t>(header.coloursUsed, 256)
                                         : std::int64_t{1} << header.bitCount)
                * entryBytes;
    if (header.headerSize == 40 && (header.compression == 3 || header.compression == 6))
        bytes += header.compression == 3 ? 12 : 16;
    return bytes;
}
