#include "core/view/StampedJpeg.h"

#include "codec/JpegMetadata.h"
#include "core/compose/ComposeImages.h"
#include "core/sources/PictureChecks.h"
#include "core/sources/ReadOnlyFile.h"
#include "core/surfaces/PixelMemory.h"
#include "core/surfaces/Surface.h"
#include "core/text/FileNames.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <cstring>
#include <memory>
#include <span>

namespace {
struct UprightJpegFile {
    std::unique_ptr<std::uint8_t[], void (*)(void*)> memory{nullptr, FreePixelMemory};
    std::span<const std::uint8_t> bytes;
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
    // A photo's bytes are read straight into memory that maps in large pages, not cleared
    // first: most of them are only copied to the new file, and a fault for each 4 KiB, or
    // clearing them, would cost more than the copy.
    const qint64 length = std::max<qint64>(file.size(), 1);
    UprightJpegFile upright;
    upright.memory.reset(static_cast<std::uint8_t*>(AllocatePixelMemory(std::size_t(length))));
    if (!upright.memory)
        return std::nullopt;
    const qint64 got = file.read(reinterpret_cast<char*>(upright.memory.get()), length);
    if (got < 0)
        return std::nullopt;
    upright.bytes = {upright.memory.get(), std::size_t(got)};
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(upright.memory.get()), got);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const Result<PictureFormat> format = CheckPictureFile(buffer);
    if (!format || *format != PictureFormat::Jpeg)
        return std::nullopt;
    buffer.seek(0);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoDetectImageFormat(false);   // loads the JPEG plugin alone, not every one Qt has
    reader.setAutoTransform(true);
    if (reader.transformation() != QImageIOHandler::TransformationNone || (size && reader.size() != *size))
        return std::nullopt;
    upright.size = reader.size();
    return upright;
}
} // namespace

Result<bool> WriteStampedJpeg(const QString& background, std::optional<QSize> size,
                              const std::function<PixelRect(QSize)>& place, const ComposeRegion& compose,
                              const PictureMetadata& metadata, const QString& name, Existing existing)
{
    const std::optional<UprightJpegFile> file = UprightJpeg(background, size);
    if (!file)
        return false;
    std::optional<Failure> composeFailure;
    Result<StampedJpeg> stamped = StampJpegBlocks(
        file->bytes, place(file->size),
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
    ReplaceJpegMetadata(stamped->head, metadata);
    const Result<void> written = WriteFileSafely(EncodeFileName(name).constData(), stamped->Pieces(), existing);
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
