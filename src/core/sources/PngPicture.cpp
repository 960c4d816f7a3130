#include "core/sources/PngPicture.h"

#include "codec/Codec.h"
#include "codec/PictureLimit.h"
#include "core/surfaces/BitmapMemory.h"
#include "core/surfaces/CodecBridge.h"

#include <QFile>

namespace {
LoadedPicture Failed(const QString& reason)
{
    return {LoadedPicture::Outcome::Failed, QImage(), reason};
}
} // namespace

LoadedPicture DecodePngPicture(const QString& path, const PngStatedPicture& stated,
                               qint64 fileSize, QColor background)
{
    if (!PictureSizeAllowed(stated.width, stated.height))
        return Failed(QStringLiteral("the picture's size %1 x %2 is refused")
                           .arg(stated.width)
                           .arg(stated.height));
    if (fileSize < 0 || std::uint64_t(fileSize) < PngLeastFileSize(stated))
        return Failed(QStringLiteral("the file is too short for a picture of %1 x %2 pixels")
                           .arg(stated.width)
                           .arg(stated.height));
    // The codec writes every pixel of a picture it decodes, so nothing is cleared first.
    QImage decoded = NewBitmap(int(stated.width), int(stated.height));
    if (decoded.isNull())
        return Failed(QStringLiteral("out of memory"));
    CodecSurface view = CodecView(decoded, background);
    int status = 0;
    {
        const BitmapPagesAhead pagesAhead(decoded);
        status = DCReadPNG(QFile::encodeName(path).constData(), &view);
    }
    if (status != 0)
        return Failed(QString::fromStdString(CodecLastFailure().english));
    return {LoadedPicture::Outcome::Picture, std::move(decoded), QString()};
}
