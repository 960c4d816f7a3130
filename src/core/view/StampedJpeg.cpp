#include "core/view/StampedJpeg.h"

#include "core/compose/ComposeImages.h"
#include "core/sources/PictureChecks.h"
#include "core/sources/ReadOnlyFile.h"
#include "core/surfaces/Surface.h"
#include "core/text/FileNames.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <cstring>

namespace {
// The background's bytes when the loader would read it as an upright JPEG file of `size`.
std::optional<QByteArray> UprightJpeg(const QString& background, std::optional<QSize> size)
{
    // A name ending in ".png" goes to the PNG decoder whatever the file holds.
    if (background.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        return std::nullopt;
    QFile file;
    if (!OpenToRead(background, file))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const Result<PictureFormat> format = CheckPictureFile(buffer);
    if (!format || *format != PictureFormat::Jpeg)
        return std::nullopt;
    buffer.seek(0);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoTransform(true);
    if (reader.transformation() != QImageIOHandler::TransformationNone || (size && reader.size() != *size))
        return std::nullopt;
    return bytes;
}
} // namespace

Result<bool> WriteStampedJpeg(const QString& background, std::optional<QSize> size,
                              const PixelRect& foreground, const ComposeRegion& compose,
                              const QString& name, Existing existing)
{
    const std::optional<QByteArray> bytes = UprightJpeg(background, size);
    if (!bytes)
        return false;
    std::optional<Failure> composeFailure;
    const Result<std::vector<std::uint8_t>> stamped = StampJpegBlocks(
        {reinterpret_cast<const std::uint8_t*>(bytes->data()), std::size_t(bytes->size())}, foreground,
        [&](const PixelRect& region, CodecSurface& pixels) {
            Result<void> composed = compose(region, pixels);
            if (!composed)
                composeFailure = composed.failure();
            return composed;
        });
    if (composeFailure)
        return *composeFailure;
    if (!stamped)
        return false;
    const Result<void> written =
        WriteFileSafely(EncodeFileName(name).constData(), stamped->data(), stamped->size(), existing);
    if (!written)
        return written.failure();
    return true;
}

Result<void> ComposeOverRegion(ColorRef key, std::int32_t keyTolerance, std::int32_t rate, std::int32_t frontX,
                               std::int32_t frontY, Surface& front, Surface& back, CompositeTarget& view,
                               const PixelRect& region, CodecSurface& pixels)
{
    back.SetPicture(QImage(pixels.bits, pixels.width, pixels.height, pixels.stride, QImage::Format_RGB32).copy());
    ComposeImages(key, keyTolerance, rate, frontX - std::int32_t(region.x), frontY - std::int32_t(region.y),
                  {front, back, nullptr}, view);
    back.SetPicture(std::nullopt);
    const QImage& composed = view.Board().hDC();
    for (int y = 0; y < pixels.height; ++y)
        std::memcpy(pixels.bits + std::ptrdiff_t(y) * pixels.stride, composed.constScanLine(y),
                    std::size_t(pixels.width) * 4);
    return {};
}
