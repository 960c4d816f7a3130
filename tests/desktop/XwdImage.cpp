#include "XwdImage.h"

#include <QtEndian>
#include <array>
#include <bit>
#include <cstdint>

namespace {

// The header's fields in their order; each is a 32-bit big-endian number.
enum Field {
    HeaderSize, FileVersion, PixmapFormat, PixmapDepth, PixmapWidth, PixmapHeight, XOffset,
    ByteOrder, BitmapUnit, BitmapBitOrder, BitmapPad, BitsPerPixel, BytesPerLine, VisualClass,
    RedMask, GreenMask, BlueMask, BitsPerRgb, ColormapEntries, ColourCount, FieldCount
};
constexpr std::uint32_t ZPixmap = 2;
constexpr std::uint32_t TrueColour = 4;
constexpr std::uint32_t DirectColour = 5;
// A colour map entry: pixel (32 bits), red, green, blue (16 bits each), flags, padding.
constexpr qint64 ColourEntrySize = 12;

std::uint32_t Field32(const QByteArray& dump, qint64 offset)
{
    return qFromBigEndian<std::uint32_t>(dump.constData() + offset);
}

} // namespace

QImage ReadXwd(const QByteArray& dump)
{
    if (dump.size() < FieldCount * 4)
        return {};
    const auto field = [&dump](Field f) { return Field32(dump, f * 4); };
    const std::uint32_t width = field(PixmapWidth), height = field(PixmapHeight);
    const std::uint32_t stride = field(BytesPerLine), visual = field(VisualClass);
    const std::array<std::uint32_t, 3> masks{field(RedMask), field(GreenMask), field(BlueMask)};
    const std::uint32_t bits = field(BitsPerPixel);
    const std::uint32_t pixelBytes = bits == 32 ? 4 : bits == 24 ? 3 : 0;
    const qint64 colours = field(ColourCount);
    if (field(PixmapFormat) != ZPixmap || (visual != TrueColour && visual != DirectColour) ||
        pixelBytes == 0 || width == 0 || height == 0 || stride < width * pixelBytes ||
        masks[0] == 0 || masks[1] == 0 || masks[2] == 0)
        return {};
    const qint64 colourMap = field(HeaderSize);
    const qint64 pixels = colourMap + colours * ColourEntrySize;
    if (pixels + qint64(stride) * height > dump.size())
        return {};

    // A direct-colour channel value picks the entry of that number in the colour map.
    const auto channel = [&](std::uint32_t pixel, int c) -> int {
        const std::uint32_t value = (pixel & masks[c]) >> std::countr_zero(masks[c]);
        if (visual == DirectColour) {
            if (value >= colours)
                return 0;
            const qint64 entry = colourMap + qint64(value) * ColourEntrySize + 4 + 2 * c;
            return qFromBigEndian<std::uint16_t>(dump.constData() + entry) >> 8;
        }
        const int depth = std::popcount(masks[c]);
        return int(depth >= 8 ? value >> (depth - 8) : value * 255 / ((1u << depth) - 1));
    };
    const bool littleEndian = field(ByteOrder) == 0;
    QImage image(int(width), int(height), QImage::Format_RGB32);
    for (std::uint32_t y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint8_t*>(dump.constData() + pixels +
                                                                qint64(y) * stride);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint32_t pixel = 0;
            for (std::uint32_t b = 0; b < pixelBytes; ++b) {
                const std::uint32_t byte = row[x * pixelBytes + b];
                pixel |= littleEndian ? byte << (8 * b) : byte << (8 * (pixelBytes - 1 - b));
            }
            out[x] = qRgb(channel(pixel, 0), channel(pixel, 1), channel(pixel, 2));
        }
    }
    return image;
}
