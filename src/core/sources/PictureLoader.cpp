#include "core/sources/PictureLoader.h"

#include "base/Failure.h"
#include "codec/AlphaOver.h"
#include "codec/PictureLimit.h"
#include "core/surfaces/BitmapMemory.h"
#include "core/sources/IconMask.h"
#include "core/sources/PictureChecks.h"
#include "core/sources/PngPicture.h"
#include "core/sources/ReadOnlyFile.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace {
// Qt refuses to allocate more than this many MB for one picture. It must not be the
// tighter limit: every picture within ours has to fit, even in the 8-byte pixels that
// Qt's readers use for 16-bit samples.
constexpr int kReaderAllocationLimitMB =
    static_cast<int>(kMaxPicturePixels * 8 / (1024 * 1024));

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
Result<void> CheckReaderSize(QSize size)
{
    if (size == QSize(-1, -1))
        return {};
    return CheckStatedSize(std::abs(size.width()), std::abs(size.height()));
}

// Qt's readers word their reasons in English alone.
Failure ReaderFailure(const QImageReader& reader)
{
    return {reader.errorString().toStdString(), "画像を読み取れません"};
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

QImage OverBackground(QImage picture, PictureBackground keptOrOver)
{
    if (!picture.hasAlphaChannel())
        return picture.convertToFormat(QImage::Format_RGB32);
    picture.convertTo(QImage::Format_ARGB32);
    if (!keptOrOver)
        return KeepingTransparency(std::move(picture));
    const QColor background = *keptOrOver;
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

QImage KeepingTransparency(QImage picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        if (!std::all_of(row, row + picture.width(), [](QRgb pixel) { return qAlpha(pixel) == 255; })) {
            picture.reinterpretAsFormat(QImage::Format_ARGB32);
            return picture;
        }
    }
    picture.reinterpretAsFormat(QImage::Format_RGB32);
    return picture;
}

LoadedPicture LoadPicture(const QString& path, PictureBackground background)
{
    if (path.isEmpty())
        return LoadedPicture(std::nullopt);
    QFile file;
    if (Result<void> opened = OpenToRead(path, file); !opened)
        return opened.failure();
    const Result<PictureFormat> format = CheckPictureFile(file);
    if (!format)
        return format.failure();
    if (!file.seek(0))
        return UnreadableFile();
    if (*format == PictureFormat::Png)
        return DecodePngPicture(path, file, background);
    // Qt's limit is one process-wide value: set once, so loaders on several threads never
    // race on it.
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(kReaderAllocationLimitMB); });
    // Only the reader of the format the checks found, never another that Qt happens to have.
    QImageReader reader(&file, ReaderFormat(*format));
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return ReaderFailure(reader);
    const int image = *format == PictureFormat::Ico ? ChooseLargestImage(reader) : 0;
    if (Result<void> size = CheckReaderSize(reader.size()); !size)
        return size.failure();
    QImage picture = DecodeTarget(reader.format(), reader.size());
    if (!reader.read(&picture))
        return ReaderFailure(reader);
    if (Result<void> size = CheckStatedSize(picture.width(), picture.height()); !size)
        return size.failure();
    if (*format == PictureFormat::Ico)
        ApplyIconMask(file, image, picture);
    QImage opaque = OverBackground(std::move(picture), background);
    if (opaque.isNull())
        return OutOfMemory();
    return LoadedPicture(std::move(opaque));
}
