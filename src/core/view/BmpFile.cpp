#include "core/text/FileNames.h"
#include "core/view/BmpFile.h"

#include "files/SafeFile.h"

#include <QFile>
#include <QtEndian>
#include <limits>

namespace {
constexpr std::uint32_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::int32_t PixelsPerMeter = 3780;   // 96 dpi

void Put16(std::uint8_t*& out, std::uint16_t v)
{
    *out++ = std::uint8_t(v);
    *out++ = std::uint8_t(v >> 8);
}

void Put32(std::uint8_t*& out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        *out++ = std::uint8_t(v >> shift);
}

// Packs a row of pixels as blue, green, red bytes, four pixels at a time as three 32-bit
// little-endian words.
void PackRow(const QRgb* in, std::uint8_t* out, std::uint64_t width)
{
    std::uint64_t x = 0;
    for (; x + 4 <= width; x += 4, out += 12) {
        const std::uint32_t a = in[x] & 0xFFFFFFu, b = in[x + 1] & 0xFFFFFFu,
                            c = in[x + 2] & 0xFFFFFFu, d = in[x + 3] & 0xFFFFFFu;
        qToLittleEndian<std::uint32_t>(a | b << 24, out);
        qToLittleEndian<std::uint32_t>(b >> 8 | c << 16, out + 4);
        qToLittleEndian<std::uint32_t>(c >> 16 | d << 8, out + 8);
    }
    for (; x < width; ++x) {
        *out++ = std::uint8_t(qBlue(in[x]));
        *out++ = std::uint8_t(qGreen(in[x]));
        *out++ = std::uint8_t(qRed(in[x]));
    }
}
} // namespace

BmpBytes EncodeBmp(const QImage& bitmap)
{
    if (bitmap.format() != QImage::Format_RGB32)
        return {};
    const std::uint64_t w = std::uint64_t(bitmap.width()), h = std::uint64_t(bitmap.height());
    const std::uint64_t rowBytes = (w * 3 + 3) / 4 * 4;
    const std::uint64_t pixelBytes = rowBytes * h;
    const std::uint64_t fileBytes = FileHeaderSize + InfoHeaderSize + pixelBytes;
    if (fileBytes > std::numeric_limits<std::uint32_t>::max())
        return {};

    BmpBytes file(fileBytes, 0);
    std::uint8_t* out = file.data();
    *out++ = 'B';
    *out++ = 'M';
    Put32(out, std::uint32_t(fileBytes));
    Put32(out, 0);   // reserved
    Put32(out, FileHeaderSize + InfoHeaderSize);
    Put32(out, InfoHeaderSize);
    Put32(out, std::uint32_t(w));
    Put32(out, std::uint32_t(h));   // positive: rows bottom-up
    Put16(out, 1);                  // planes
    Put16(out, 24);                 // bits per pixel
    Put32(out, 0);                  // BI_RGB
    Put32(out, std::uint32_t(pixelBytes));
    Put32(out, PixelsPerMeter);
    Put32(out, PixelsPerMeter);
    Put32(out, 0);   // colours used
    Put32(out, 0);   // important colours
    for (std::uint64_t row = 0; row < h; ++row)
        PackRow(reinterpret_cast<const QRgb*>(bitmap.constScanLine(int(h - 1 - row))),
                out + row * rowBytes, w);
    return file;
}

Result<void> SaveBmp(const QImage& bitmap, const QString& path, Existing existing)
{
    const BmpBytes bytes = EncodeBmp(bitmap);
    if (bytes.empty())
        return Failure{"the picture cannot be written as a bitmap file",
                       "この画像はビットマップファイルに書き出せません"};
    return WriteFileSafely(EncodeFileName(path).constData(), bytes.data(), bytes.size(),
                           existing);
}
