#include "core/view/StampedJpeg.h"

#include "codec/JpegMetadata.h"
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
struct UprightJpegFile {
    QByteArray bytes;
    QSize size;
};

// The background's bytes when the loader would read it as an upright JPEG file of `size`.
std::optional<UprightJpegFile> UprightJpeg(const QString& background, std::optional<QSize> size)
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
    return UprightJpegFile{bytes, reader.size()};
}
} // namespace

Result<bool> WriteStampedJpeg(const QString& background, std::optional<QSize> size,
                              const std::function<PixelRect(QSize)>& place, const ComposeRegion& compose,
                              const PictureMetadata& metadata, const QString& name, Existing existing)
{
    const std::optional<UprightJpegFile> file = UprightJpeg(background, size);
    if (!file)
        return false;
    const QByteArray& bytes = file->bytes;
    std::optional<Failure> composeFailure;
    Result<std::vector<std::uint8_t>> stamped = StampJpegBlocks(
        {reinterpret_cast<const std::uint8_t*>(bytes.data()), std::size_t(bytes.size())}, place(file->size),
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
    ReplaceJpegMetadata(*stamped, metadata);
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
