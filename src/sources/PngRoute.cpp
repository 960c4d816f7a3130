#include "sources/PngRoute.h"

#include "codec/Codec.h"
#include "codec/PictureLimit.h"
#include "platform/CodecBridge.h"
#include "platform/Surface.h"

#include <QFile>
#include <array>

namespace {
constexpr std::array<std::uint8_t, 8> kPngSignature = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr int kHeaderBytes = 24;

LoadedPicture Failure(const QString& reason)
{
    return {LoadedPicture::Outcome::Failed, QImage(), reason};
}
} // namespace

std::optional<PngDimensions> ReadPngHeader(const QByteArray& head)
{
    const auto byte = [&head](int at) -> std::uint32_t {
        return at < head.size() ? static_cast<std::uint8_t>(head[at]) : 0u;
    };
    for (int i = 0; i < int(kPngSignature.size()); ++i) {
        if (byte(i) != kPngSignature[i])
            return std::nullopt;
    }
    const auto bigEndian = [&byte](int at) {
        return byte(at) << 24 | byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
    };
    return PngDimensions{bigEndian(16), bigEndian(20)};
}

LoadedPicture ReadPngFile(const QString& path, QColor background)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure(file.errorString());
    const QByteArray head = file.read(kHeaderBytes);
    file.close();
    const auto size = ReadPngHeader(head);
    if (!size)
        return Failure(QStringLiteral("not a PNG file"));
    // The stated size is checked before the picture is allocated, so a forged header
    // cannot make the program reserve gigabytes.
    if (!PictureSizeAllowed(size->width, size->height))
        return Failure(QStringLiteral("the picture's size %1 x %2 is refused")
                           .arg(size->width)
                           .arg(size->height));
    Surface decoded(int(size->width), int(size->height), background);
    if (decoded.hDC().isNull())
        return Failure(QStringLiteral("out of memory"));
    CodecSurface view = CodecView(decoded);
    if (DCReadPNG(QFile::encodeName(path).constData(), &view) != 0)
        return Failure(QString::fromUtf8(CodecLastError()));
    return {LoadedPicture::Outcome::Picture, decoded.hDC(), QString()};
}
