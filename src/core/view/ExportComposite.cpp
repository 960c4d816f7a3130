#include "core/view/ExportComposite.h"

#include "codec/Codec.h"
#include "core/view/BmpFile.h"
#include "core/surfaces/CodecBridge.h"
#include "core/surfaces/Surface.h"

#include <QFile>
#include <optional>

namespace {
std::optional<std::uint8_t> ByteOf(std::int16_t value)
{
    if (value < 0 || value > 255)
        return std::nullopt;
    return std::uint8_t(value);
}

QString RateReason(const char* which, std::int16_t rate)
{
    return QStringLiteral("the %1 rate %2 does not fit a byte (0 to 255)")
        .arg(QLatin1String(which))
        .arg(rate);
}

QString CodecResult(std::int16_t status)
{
    return status == 0 ? QString() : QString::fromStdString(CodecLastFailure().english);
}
} // namespace

QString WriteComposite(Surface& board, const QString& name, SaveFormat format,
                       const SaveOptions& options)
{
    if (format == SaveFormat::Bmp)
        return SaveBmp(board.Image(), name);
    CodecSurface dc = CodecView(board);
    const QByteArray path = QFile::encodeName(name);
    if (format == SaveFormat::Jpeg) {
        const auto rate = ByteOf(options.jpegRate);
        if (!rate)
            return RateReason("JPEG", options.jpegRate);
        const std::int32_t progressive = options.jpegPrgrs != 0 ? -1 : 0;
        return CodecResult(
            DCSavetoJPEG(&dc, dc.width, dc.height, path.constData(), *rate, progressive));
    }
    const auto rate = ByteOf(options.pngRate);
    if (!rate)
        return RateReason("PNG", options.pngRate);
    return CodecResult(DCSavetoPNG(&dc, dc.width, dc.height, path.constData(), *rate));
}
