#include "core/sources/PngPicture.h"

#include "base/Failure.h"
#include "codec/Codec.h"
#include "codec/PictureLimit.h"
#include "core/surfaces/BitmapMemory.h"
#include "core/surfaces/CodecBridge.h"

#include <QFile>

LoadedPicture DecodePngPicture(const QString& path, const PngStatedPicture& stated,
                               qint64 fileSize, QColor background)
{
    if (!PictureSizeAllowed(stated.width, stated.height))
        return SizeBeyondLimit(stated.width, stated.height);
    if (fileSize < 0 || std::uint64_t(fileSize) < PngLeastFileSize(stated))
        return TooShortForSize(stated.width, stated.height);
    // The codec writes every pixel of a picture it decodes, so nothing is cleared first.
    QImage decoded = NewBitmap(int(stated.width), int(stated.height));
    if (decoded.isNull())
        return OutOfMemory();
    CodecSurface view = CodecView(decoded, background);
    int status = 0;
    {
        const BitmapPagesAhead pagesAhead(decoded);
        status = DCReadPNG(QFile::encodeName(path).constData(), &view);
    }
    if (status != 0)
        return CodecLastFailure();
    return LoadedPicture(std::move(decoded));
}
