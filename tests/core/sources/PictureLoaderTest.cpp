// The general picture loader on real files written to a temporary folder.
#include "base/Failure.h"
#include "codec/Codec.h"
#include "core/sources/PictureLoader.h"
#include "core/sources/PngRoute.h"
#include "support/HandMadePictures.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdlib>

namespace {
class PictureLoader : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }
    // The loaded picture, or a null one when the load failed or gave none.
    static QImage Picture(const LoadedPicture& loaded)
    {
        EXPECT_TRUE(loaded && *loaded) << (loaded ? "no picture" : loaded.failure().english);
        return loaded && *loaded ? **loaded : QImage();
    }
    QTemporaryDir dir;
};

TEST_F(PictureLoader, AnIconFileGivesItsLargestImageWhereverItStands)
{
    // A directory of PNG-coded entries: 16 x 16 red, 48 x 48 blue, 32 x 32 green.
    QByteArray directory, images;
    LittleEndian(&directory) << quint16(0) << quint16(1) << quint16(3);
    for (const auto& [side, colour] : {std::pair{16, Qt::red}, {48, Qt::blue}, {32, Qt::green}}) {
        QImage entry(side, side, QImage::Format_ARGB32);
        entry.fill(colour);
        const QByteArray png = EncodedPicture(entry, "PNG");
        LittleEndian(&directory) << quint8(side) << quint8(side) << quint16(0) << quint16(1) << quint16(32)
                                 << quint32(png.size()) << quint32(6 + 16 * 3 + images.size());
        images += png;
    }
    const QImage loaded = Picture(LoadPicture(Write("sizes.ico", directory + images), Qt::white));
    EXPECT_EQ(loaded.size(), QSize(48, 48));
    EXPECT_TRUE(PixelIs(loaded, 47, 47, qRgb(0, 0, 255)));
}

TEST_F(PictureLoader, AnIconsAndMaskMakesItsHolesShowTheBackground)
{
    // Two colours, so that every depth holds them; the mask's holes are a ring and a corner.
    const QColor background(10, 200, 30);
    QImage picture(19, 13, QImage::Format_RGB32), holes = picture, expected = picture;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            picture.setPixel(x, y, (x + y) % 3 == 0 ? qRgb(200, 30, 60) : qRgb(20, 90, 250));
            const int distance = (x - 9) * (x - 9) + (y - 6) * (y - 6);
            const bool hole = (distance >= 9 && distance <= 25) || (x == 0 && y == 0);
            holes.setPixel(x, y, hole ? qRgb(255, 0, 0) : 0);
            expected.setPixel(x, y, hole ? background.rgb() : picture.pixel(x, y));
        }
    for (const int bitCount : {1, 8, 24, 32}) {
        const LoadedPicture loaded = LoadPicture(Write("masked.ico", IconFile(picture, bitCount, holes)), background);
        EXPECT_TRUE(SamePixels(expected, Picture(loaded))) << bitCount << " bits a pixel";
    }
}

// A blank picture compresses as far as each format allows: the checks that refuse files too
// short for their stated size must still let it through.
TEST_F(PictureLoader, BlankPicturesAtTheirSmallestStillOpen)
{
    constexpr int width = 2400, height = 1600;
    QImage white(width, height, QImage::Format_RGB32);
    white.fill(Qt::white);
    CodecSurface dc{white.bits(), width, height, std::int32_t(white.bytesPerLine()), 0};
    // PNG at zlib's best level.
    std::vector<std::uint8_t> png;
    ASSERT_EQ(EncodePngBytes(&dc, width, height, 2, png), 0) << CodecLastFailure().english;
    const QByteArray pngBytes(reinterpret_cast<const char*>(png.data()), qsizetype(png.size()));
    EXPECT_EQ(Picture(ReadPngFile(Write("blank.png", pngBytes), Qt::black)).size(), QSize(width, height));
    EXPECT_EQ(Picture(LoadPicture(Write("blank png.dat", pngBytes), Qt::black)).size(), QSize(width, height));
    // JPEG at the highest quality with Huffman tables fitted to the picture, baseline,
    // progressive, and arithmetic-coded.
    for (const char* coding : {"TJ_OPTIMIZE", "TJ_ARITHMETIC"})
        for (const std::int32_t progressive : {0, -1}) {
            ::setenv(coding, "1", 1);
            std::vector<std::uint8_t> jpeg;
            const std::int16_t status = EncodeJpegBytes(&dc, width, height, 1, progressive, jpeg);
            ::unsetenv(coding);
            ASSERT_EQ(status, 0) << CodecLastFailure().english;
            const QString path = Write("blank.jpg", QByteArray(reinterpret_cast<const char*>(jpeg.data()), qsizetype(jpeg.size())));
            EXPECT_EQ(Picture(LoadPicture(path, Qt::black)).size(), QSize(width, height)) << coding << " " << progressive;
        }
}

TEST_F(PictureLoader, StatedSizesBeyondThePictureLimitAreRefusedBeforeDecoding)
{
    // A JPEG frame header stating the size over an 8 x 8 picture's data, which Qt reports unread.
    QImage grey(8, 8, QImage::Format_RGB32);
    grey.fill(Qt::gray);
    const QByteArray jpeg = EncodedPicture(grey, "JPG");
    const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(frame, 0);
    // One row beyond 2^28 pixels, the largest a JPEG may state, and within the limit, where the
    // same forgery gets as far as decoding.
    for (const auto& [width, height, refused] : {std::tuple<quint16, quint16, bool>{16384, 16385, true},
                                                 {65500, 65500, true}, {64, 48, false}}) {
        QByteArray stated = jpeg;
        qToBigEndian(height, stated.data() + frame + 5);
        qToBigEndian(width, stated.data() + frame + 7);
        const LoadedPicture loaded = LoadPicture(Write("stated.jpg", stated), Qt::white);
        const std::string reason = loaded ? "" : loaded.failure().english;
        EXPECT_EQ(reason == SizeBeyondLimit(width, height).english, refused) << reason;
    }
}
} // namespace
