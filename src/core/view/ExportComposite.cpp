#include "core/text/FileNames.h"
#include "core/view/ExportComposite.h"

#include "codec/Codec.h"
#include "core/view/BmpFile.h"
#include "core/surfaces/CodecBridge.h"
#include "core/surfaces/Surface.h"

#include <QFile>
#include <optional>
#include <string>

namespace {
std::optional<std::uint8_t> ByteOf(std::int16_t value)
{
    if (value < 0 || value > 255)
        return std::nullopt;
    return std::uint8_t(value);
}

Failure RateBeyondByte(const std::string& which, std::int16_t rate)
{
    const std::string value = std::to_string(rate);
    return {"the " + which + " rate " + value + " does not fit a byte (0 to 255)",
            which + " の圧縮率 " + value + " は 1 バイト (0 から 255) に収まりません"};
}

Result<void> CodecResult(std::int16_t status)
{
    if (status != 0)
        return CodecLastFailure();
    return {};
}
} // namespace

Result<void> WriteComposite(Surface& board, const QString& name, SaveFormat format,
                            const SaveOptions& options, const PictureMetadata& metadata,
                            Existing existing)
{
    if (format == SaveFormat::Bmp)
        return SaveBmp(board.Image(), name, existing);
    CodecSurface dc = CodecView(board);
    const QByteArray path = EncodeFileName(name);
    // A plain save is the codec's fixed call; metadata or a file to keep take the fuller one.
    const bool plain = existing == Existing::Replace && metadata.empty();
    if (format == SaveFormat::Jpeg) {
        const auto rate = ByteOf(options.jpegRate);
        if (!rate)
            return RateBeyondByte("JPEG", options.jpegRate);
        const std::int32_t progressive = options.jpegPrgrs != 0 ? -1 : 0;
        return CodecResult(
            plain ? DCSavetoJPEG(&dc, dc.width, dc.height, path.constData(), *rate, progressive)
                  : SaveJpegFile(&dc, dc.width, dc.height, path.constData(), *rate, progressive,
                                 metadata, existing));
    }
    const auto rate = ByteOf(options.pngRate);
    if (!rate)
        return RateBeyondByte("PNG", options.pngRate);
    return CodecResult(
        plain ? DCSavetoPNG(&dc, dc.width, dc.height, path.constData(), *rate)
              : SavePngFile(&dc, dc.width, dc.height, path.constData(), *rate, metadata, existing));
}

Result<bool> WriteStreamedComposite(RowReader& rows, const ComposeBand& compose, const QString& name,
                                    SaveFormat format, const SaveOptions& options,
                                    const PictureMetadata& metadata, Existing existing)
{
    const std::optional<std::uint8_t> rate =
        ByteOf(format == SaveFormat::Jpeg ? options.jpegRate : options.pngRate);
    if (format == SaveFormat::Bmp || (format == SaveFormat::Jpeg && options.jpegPrgrs != 0) || !rate)
        return false;
    bool whole = false;   // the composite is for the caller to write whole
    const Result<void> written = WriteFileSafely(
        EncodeFileName(name).constData(),
        [&](const WriteBytes& write) -> Result<void> {
            const std::unique_ptr<RowWriter> writer =
                format == SaveFormat::Jpeg
                    ? StartJpegRows(rows.Width(), rows.Height(), *rate, 0, metadata, write)
                    : StartPngRows(rows.Width(), rows.Height(), *rate, metadata, write);
            const PipedRows piped = writer ? PipeRows(rows, compose, *writer)
                                           : PipedRows{PipedRows::End::ReadFailed, CodecLastFailure()};
            whole = piped.end == PipedRows::End::ReadFailed;
            if (piped.end != PipedRows::End::Done)
                return piped.failure;
            return {};
        },
        existing);
    if (whole)
        return false;
    if (!written)
        return written.failure();
    return true;
}
