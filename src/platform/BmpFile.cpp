#include "platform/BmpFile.h"

#include "platform/SafeFile.h"

#include <QFile>
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
} // namespace

std::vector<std::uint8_t> EncodeBmp(const QImage& bitmap)
{
    if (bitmap.format() != QImage::Format_RGB32)
        return {};
    const std::uint64_t w = std::uint64_t(bitmap.width()), h = std::uint64_t(bitmap.height());
    const std::uint64_t rowBytes = (w * 3 + 3) / 4 * 4;
    const std::uint64_t pixelBytes = rowBytes * h;
    const std::uint64_t fileBytes = FileHeaderSize + InfoHeaderSize + pixelBytes;
    if (fileBytes > std::numeric_limits<std::uint32_t>::max())
        return {};

    std::vector<std::uint8_t> file(fileBytes, 0);
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
    for (std::uint64_t row = 0; row < h; ++row) {
        const auto* in = reinterpret_cast<const QRgb*>(bitmap.constScanLine(int(h - 1 - row)));
        std::uint8_t* pixel = out + row * rowBytes;
        for (std::uint64_t x = 0; x < w; ++x) {
            *pixel++ = std::uint8_t(qBlue(in[x]));
            *pixel++ = std::uint8_t(qGreen(in[x]));
            *pixel++ = std::uint8_t(qRed(in[x]));
        }
    }
    return file;
}

QString SaveBmp(const QImage& bitmap, const QString& path)
{
    const std::vector<std::uint8_t> bytes = EncodeBmp(bitmap);
    if (bytes.empty())
        return QStringLiteral("the picture cannot be written as a bitmap file");
    return QString::fromLocal8Bit(
        WriteFileSafely(QFile::encodeName(path).constData(), bytes.data(), bytes.size()));
}
