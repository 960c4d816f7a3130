#include "core/sources/IconMask.h"

#include "core/sources/DibHeader.h"

#include <cstdlib>
#include <vector>

namespace {
bool AlphaAllZero(const QImage& picture)
{
    if (!picture.hasAlphaChannel())
        return false;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(row[x]) != 0)
                return false;
    }
    return true;
}
} // namespace

void ApplyIconMask(QIODevice& file, int image, QImage& picture)
{
    ByteStream stream(file);
    std::uint8_t entry[16];
    if (image < 0 || !stream.Seek(6 + 16 * qint64{image}) || !stream.Read(entry, sizeof entry))
        return;
    const qint64 bytes = LittleEndian32(entry + 8), offset = LittleEndian32(entry + 12);
    if (!stream.Seek(offset))
        return;
    const std::optional<DibHeader> header = ReadDibHeader(stream);
    if (!header || !DibUncompressed(*header) || header->bitCount < 1 || header->bitCount > 32)
        return;
    const qint64 width = header->width, height = std::abs(header->height) / 2;
    if (picture.size() != QSize(int(width), int(height)))
        return;
    // Qt's decode of a 32-bit image whose alpha is all zero has lost its colours too
    // (premultiplied to black), so its rows are read again from the file.
    const bool ownAlphaUnused = header->bitCount == 32;
    if (ownAlphaUnused && !AlphaAllZero(picture))
        return;
    const qint64 rowsStart = offset + header->headerSize + DibTableBytes(*header);
    const qint64 maskStart = rowsStart + DibRowBytes(width, header->bitCount) * height;
    const qint64 maskRowBytes = DibRowBytes(width, 1);
    if (maskStart + maskRowBytes * height > offset + bytes)
        return;
    // Rows are stored from the bottom up unless the stated height is negative.
    const auto rowAt = [&header, height](qint64 stored) {
        return int(header->height < 0 ? stored : height - 1 - stored);
    };
    if (ownAlphaUnused) {
        QImage colours(int(width), int(height), QImage::Format_ARGB32);
        std::vector<std::uint8_t> row(static_cast<std::size_t>(width * 4));
        if (colours.isNull() || !stream.Seek(rowsStart))
            return;
        for (qint64 stored = 0; stored < height; ++stored) {
            if (!stream.Read(row.data(), width * 4))
                return;
            auto* out = reinterpret_cast<QRgb*>(colours.scanLine(rowAt(stored)));
            for (qint64 x = 0; x < width; ++x)
                out[x] = qRgb(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
        }
        picture = std::move(colours);
    }
    if (!stream.Seek(maskStart))
        return;
    picture.convertTo(QImage::Format_ARGB32);
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(maskRowBytes));
    for (qint64 stored = 0; stored < height; ++stored) {
        if (!stream.Read(mask.data(), maskRowBytes))
            return;
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(rowAt(stored)));
        for (int x = 0; x < width; ++x) {
            if ((mask[std::size_t(x) >> 3] >> (7 - (x & 7))) & 1)
                row[x] &= 0x00FFFFFFu;
        }
    }
}
