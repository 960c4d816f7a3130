// The general picture loader on real files written to a temporary folder.
#include "platform/PictureLoader.h"
#include "support/PixelAssert.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>

namespace {
class PictureLoader : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }
    static QByteArray Encoded(const QImage& picture, const char* format)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(picture.save(&buffer, format));
        return bytes;
    }
    QTemporaryDir dir;
};

TEST_F(PictureLoader, AnEmptyPathIsNoPictureAndNoFailure)
{
    const LoadedPicture loaded = LoadPicture(QString(), Qt::white);
    EXPECT_EQ(loaded.outcome, LoadedPicture::Outcome::NoPicture);
    EXPECT_TRUE(loaded.picture.isNull());
}

TEST_F(PictureLoader, MissingUnrecognisedAndCorruptFilesFailWithAReason)
{
    const QByteArray bmp = Encoded(QImage(8, 8, QImage::Format_RGB32), "BMP");
    const QString paths[] = {
        dir.filePath(QStringLiteral("missing.bmp")),
        dir.path(),
        Write(QStringLiteral("empty.bmp"), QByteArray()),
        Write(QStringLiteral("words.bmp"), "no picture here"),
        Write(QStringLiteral("cut.bmp"), bmp.left(20)),
    };
    for (const QString& path : paths) {
        const LoadedPicture loaded = LoadPicture(path, Qt::white);
        EXPECT_EQ(loaded.outcome, LoadedPicture::Outcome::Failed) << path.toStdString();
        EXPECT_FALSE(loaded.reason.isEmpty()) << path.toStdString();
        EXPECT_TRUE(loaded.picture.isNull()) << path.toStdString();
    }
}

TEST_F(PictureLoader, AlphaIsDrawnOverTheBackgroundAndRoundedToNearest)
{
    const QRgb pixels[] = {qRgba(255, 0, 0, 128), qRgba(0, 255, 0, 0), qRgba(10, 20, 30, 255),
                           qRgba(200, 100, 50, 1), qRgba(90, 250, 3, 254)};
    QImage picture(int(std::size(pixels)), 1, QImage::Format_ARGB32);
    for (int x = 0; x < picture.width(); ++x)
        picture.setPixel(x, 0, pixels[x]);
    // PNG content under another name: the general loader goes by content.
    const QString path = Write(QStringLiteral("alpha.dat"), Encoded(picture, "PNG"));
    for (const QColor background : {QColor(0, 0, 255), QColor(60, 120, 180), QColor(Qt::white)}) {
        const LoadedPicture loaded = LoadPicture(path, background);
        ASSERT_EQ(loaded.outcome, LoadedPicture::Outcome::Picture);
        EXPECT_EQ(loaded.picture.format(), QImage::Format_RGB32);
        for (int x = 0; x < picture.width(); ++x) {
            const double a = qAlpha(pixels[x]) / 255.0;
            const auto over = [a](int fg, int bg) { return int(std::lround(a * fg + (1 - a) * bg)); };
            const QRgb expected = qRgb(over(qRed(pixels[x]), background.red()),
                                       over(qGreen(pixels[x]), background.green()),
                                       over(qBlue(pixels[x]), background.blue()));
            EXPECT_TRUE(PixelIs(loaded.picture, x, 0, expected));
            EXPECT_EQ(qAlpha(loaded.picture.pixel(x, 0)), 255);
        }
    }
}

// An icon file of PNG-coded entries, in the given order.
QByteArray IconFile(const std::vector<QImage>& entries)
{
    QByteArray directory(6 + 16 * int(entries.size()), '\0');
    QByteArray images;
    qToLittleEndian<quint16>(1, directory.data() + 2);
    qToLittleEndian<quint16>(quint16(entries.size()), directory.data() + 4);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        entries[i].save(&buffer, "PNG");
        char* entry = directory.data() + 6 + 16 * i;
        entry[0] = char(entries[i].width());
        entry[1] = char(entries[i].height());
        qToLittleEndian<quint16>(1, entry + 4);
        qToLittleEndian<quint16>(32, entry + 6);
        qToLittleEndian<quint32>(quint32(png.size()), entry + 8);
        qToLittleEndian<quint32>(quint32(6 + 16 * entries.size() + images.size()), entry + 12);
        images += png;
    }
    return directory + images;
}

TEST_F(PictureLoader, AnIconFileGivesItsLargestImage)
{
    QImage small(16, 16, QImage::Format_ARGB32), large(48, 48, QImage::Format_ARGB32),
        middle(32, 32, QImage::Format_ARGB32);
    small.fill(Qt::red);
    large.fill(Qt::blue);
    middle.fill(Qt::green);
    const QString path = Write(QStringLiteral("sizes.ico"), IconFile({small, large, middle}));
    const LoadedPicture loaded = LoadPicture(path, Qt::white);
    ASSERT_EQ(loaded.outcome, LoadedPicture::Outcome::Picture);
    EXPECT_EQ(loaded.picture.size(), QSize(48, 48));
    EXPECT_TRUE(PixelIs(loaded.picture, 47, 47, qRgb(0, 0, 255)));
}

// A JPEG whose frame header states width x height over the data of an 8 x 8 picture: Qt
// reports the stated size without decoding.
QByteArray JpegStating(quint16 width, quint16 height)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG");
    const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (frame < 0)
        return QByteArray();
    qToBigEndian(height, bytes.data() + frame + 5);
    qToBigEndian(width, bytes.data() + frame + 7);
    return bytes;
}

TEST_F(PictureLoader, StatedSizesBeyondThePictureLimitAreRefusedBeforeDecoding)
{
    const struct {
        quint16 width, height;
    } refused[] = {
        {16384, 16385}, // one row beyond 2^28 pixels
        {20000, 15000}, // 300 megapixels, within what Qt alone would allocate
        {65500, 65500}, // the largest a JPEG may state
    };
    for (const auto& size : refused) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        const QByteArray jpeg = JpegStating(size.width, size.height);
        ASSERT_FALSE(jpeg.isEmpty());
        const LoadedPicture loaded = LoadPicture(Write(QStringLiteral("stated.jpg"), jpeg), Qt::white);
        EXPECT_EQ(loaded.outcome, LoadedPicture::Outcome::Failed);
        EXPECT_TRUE(loaded.reason.contains(QLatin1String("stated size"))) << loaded.reason.toStdString();
    }
    // Within the limit, the same forgery gets as far as decoding.
    const LoadedPicture decoded =
        LoadPicture(Write(QStringLiteral("stated.jpg"), JpegStating(64, 48)), Qt::white);
    EXPECT_FALSE(decoded.reason.contains(QLatin1String("limit"))) << decoded.reason.toStdString();
}

} // namespace
