#include "core/text/FileNames.h"
#include "core/sources/PngPicture.h"

#include "base/Failure.h"
#include "codec/Codec.h"
#include "codec/PictureLimit.h"
#include "codec/PngSize.h"
#include "core/surfaces/BitmapMemory.h"
#include "core/surfaces/CodecBridge.h"

#include <QFile>

namespace {
// The bytes a PNG file's header takes, up to its colour type.
constexpr int kPngHeaderBytes = 26;
} // namespace

LoadedPicture DecodePngPicture(const QString& path, QFile& file, PictureBackground background)
{
    const QByteArray head = file.read(kPngHeaderBytes);
    const std::optional<PngStatedPicture> stated =
        ReadPngHeader(reinterpret_cast<const std::uint8_t*>(head.constData()), head.size());
    if (!stated)
        return NotAPngFile();
    if (!PictureSizeAllowed(stated->width, stated->height))
        return SizeBeyondLimit(stated->width, stated->height);
    if (PngImageDataBytes(file.handle()) < PngLeastDataBytes(*stated))
        return TooShortForSize(stated->width, stated->height);
    // The codec writes every pixel of a picture it decodes, so nothing is cleared first.
    QImage decoded = NewBitmap(int(stated->width), int(stated->height));
    if (decoded.isNull())
        return OutOfMemory();
    CodecSurface view = CodecView(decoded, background.value_or(Qt::black));
    view.keepAlpha = !background;
    if (DCReadPNG(EncodeFileName(path).constData(), &view) != 0)
        return CodecLastFailure();
    if (!background)
        return LoadedPicture(KeepingTransparency(std::move(decoded)));
    return LoadedPicture(std::move(decoded));
}
