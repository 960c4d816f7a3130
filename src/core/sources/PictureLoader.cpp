#include "core/sources/PictureLoader.h"

#include "codec/AlphaOver.h"
#include "codec/PictureLimit.h"
#include "core/surfaces/BitmapMemory.h"
#include "core/sources/IconMask.h"
#include "core/sources/PictureChecks.h"
#include "core/sources/PngPicture.h"

#include <QFile>
#include <QImageReader>
#include <cstdlib>
#include <mutex>

namespace {
// Qt refuses to allocate more than this many MB for one picture. It must not be the
// tighter limit: every picture within ours has to fit, even in the 8-byte pixels that
// Qt's readers use for 16-bit samples.
constexpr int kReaderAllocationLimitMB =
    static_cast<int>(kMaxPicturePixels * 8 / (1024 * 1024));

LoadedPicture Failure(const QString& reason)
{
    return {LoadedPicture::Outcome::Failed, QImage(), reason};
}

// An icon file holds the same picture in several sizes; the largest shows best. Returns
// the index of the image chosen.
int ChooseLargestImage(QImageReader& reader)
{
    int best = 0;
    qint64 bestArea = -1;
    for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
        const QSize size = reader.size();
        const qint64 area = qint64(size.width()) * size.height();
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    reader.jumpToImage(best);
    return best;
}

// Qt reports (-1, -1) when a format cannot tell the size without decoding, and a negative
// height for a BMP stored top-down.
bool StatedSizeAllowed(QSize size)
{
    if (size == QSize(-1, -1))
        return true;
    return PictureSizeAllowed(std::abs(size.width()), std::abs(size.height()));
}

// Qt's JPEG and bitmap decoders write every pixel of a bitmap of the picture's size and
// format that they are handed, so a camera photo is decoded straight into pixel memory
// that maps in large pages. Other decoders (GIF draws frames over what it is handed) get
// nothing and allocate their own.
QImage DecodeTarget(const QByteArray& format, QSize stated)
{
    if ((format != "jpeg" && format != "bmp") || stated.width() <= 0 || stated.height() <= 0)
        return QImage();
    return NewBitmap(stated.width(), stated.height());
}

QImage OverBackground(QImage picture, QColor background)
{
    if (!picture.hasAlphaChannel())
        return picture.convertToFormat(QImage::Format_RGB32);
    picture.convertTo(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int a = qAlpha(row[x]);
            if (a == 255)
                continue;
            row[x] = qRgb(AlphaOver(qRed(row[x]), background.red(), a),
                          AlphaOver(qGreen(row[x]), background.green(), a),
                          AlphaOver(qBlue(row[x]), background.blue(), a));
        }
    }
    // Every pixel is opaque now, and the two formats share their layout.
    picture.reinterpretAsFormat(QImage::Format_RGB32);
    return picture;
}

const char* ReaderFormat(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bmp: return "bmp";
    case PictureFormat::Gif: return "gif";
    case PictureFormat::Ico: return "ico";
    case PictureFormat::Jpeg: return "jpeg";
    case PictureFormat::Png: return "png";
    }
    return "";
}
} // namespace

LoadedPicture LoadPicture(const QString& path, QColor background)
{
    if (path.isEmpty())
        return {LoadedPicture::Outcome::NoPicture, QImage(), QString()};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure(file.errorString());
    const PictureCheck check = CheckPictureFile(file);
    if (!check.format)
        return Failure(check.refusal);
    if (!file.seek(0))
        return Failure(file.errorString());
    if (*check.format == PictureFormat::Png) {
        const QByteArray head = file.read(kPngHeaderBytes);
        const auto stated = ReadPngHeader(reinterpret_cast<const std::uint8_t*>(head.constData()), head.size());
        return DecodePngPicture(path, *stated, file.size(), background);
    }
    // Qt's limit is one process-wide value: set once, so loaders on several threads never
    // race on it.
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(kReaderAllocationLimitMB); });
    // Only the reader of the format the checks found, never another that Qt happens to have.
    QImageReader reader(&file, ReaderFormat(*check.format));
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return Failure(reader.errorString());
    const int image = *check.format == PictureFormat::Ico ? ChooseLargestImage(reader) : 0;
    if (const QSize stated = reader.size(); !StatedSizeAllowed(stated))
        return Failure(QStringLiteral("the stated size %1 x %2 is beyond the picture limit")
                           .arg(stated.width())
                           .arg(stated.height()));
    QImage picture = DecodeTarget(reader.format(), reader.size());
    bool decoded = false;
    {
        const BitmapPagesAhead pagesAhead(picture);
        decoded = reader.read(&picture);
    }
    if (!decoded)
        return Failure(reader.errorString());
    if (!PictureSizeAllowed(picture.width(), picture.height()))
        return Failure(QStringLiteral("the decoded picture is beyond the picture limit"));
    if (*check.format == PictureFormat::Ico)
        ApplyIconMask(file, image, picture);
    QImage opaque = OverBackground(std::move(picture), background);
    if (opaque.isNull())
        return Failure(QStringLiteral("out of memory"));
    return {LoadedPicture::Outcome::Picture, std::move(opaque), QString()};
}
