// The codec's own calls. Reading: what the picture sources cannot see (the background's
// channels, rows wider than the picture, bad arguments, checks the sources make first); the
// whole PngSuite runs through the sources. Writing: files read back by Qt's readers; saving
// under faults is tested with every writer in tests/platform.
#include "codec/Codec.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <turbojpeg.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

// The codec's surface over a Format_RGB32 picture, which must outlive it.
CodecSurface SurfaceOf(QImage& picture, std::uint32_t background = 0)
{
    return {picture.bits(), picture.width(), picture.height(),
            static_cast<std::int32_t>(picture.bytesPerLine()), background};
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The reason the last codec call gave contains `part` in English, and has Japanese words too.
::testing::AssertionResult ReasonContains(const std::string& part)
{
    const Failure& failure = CodecLastFailure();
    if (failure.english.find(part) != std::string::npos && !failure.japanese.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << failure.english << "\" lacks " << part;
}

const QString kSuite = QStringLiteral(LAYERPIX_TESTDATA "/pngsuite/");
const QByteArray kRgb8x32 = (kSuite + "cdfn2c08.png").toUtf8();
// Channels that differ, so a swapped channel shows. ColorRef 0x00BBGGRR.
constexpr std::uint32_t kBackground = 0x00C08040;

// The reference decode's RGBA drawn over kBackground, rounded to nearest.
QImage ReferenceOverBackground(const QString& name, int width, int height)
{
    const QByteArray rgba =
        FileBytes(QStringLiteral(LAYERPIX_TESTDATA "/reference/pngsuite/") + name + ".rgba");
    QImage expected(width, height, QImage::Format_RGB32);
    for (int i = 0; i + 3 < rgba.size() && i / 4 < width * height; i += 4) {
        const double alpha = std::uint8_t(rgba[i + 3]) / 255.0;
        const auto channel = [&](int c) {
            return int(std::lround(alpha * std::uint8_t(rgba[i + c])
                                   + (1 - alpha) * ((kBackground >> 8 * c) & 0xFF)));
        };
        expected.setPixel(i / 4 % width, i / 4 / width, qRgb(channel(0), channel(1), channel(2)));
    }
    return expected;
}

TEST(CodecRead, PicturesWithAlphaLieOverTheBackgroundAndRowsEndWhereThePictureDoes)
{
    // tRNS, gray and colour alpha (16 bits, interlaced), odd and narrow sizes.
    const struct {
        QString name;
        int width, height;
    } files[] = {{"tbrn2c08.png", 32, 32}, {"basn4a08.png", 32, 32}, {"basi6a16.png", 32, 32},
                 {"s07i3p02.png", 7, 7}, {"cdfn2c08.png", 8, 32}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.name.toStdString());
        // Rows carry 12 marker bytes past the picture, which the decoder must not touch.
        const int stride = file.width * 4 + 12;
        std::vector<uchar> storage(std::size_t(stride) * file.height, 0xA5);
        QImage picture(storage.data(), file.width, file.height, stride, QImage::Format_RGB32);
        for (int y = 0; y < file.height; ++y)
            std::fill_n(picture.scanLine(y), file.width * 4, 0);
        CodecSurface dc = SurfaceOf(picture, kBackground);
        ASSERT_EQ(DCReadPNG((kSuite + file.name).toUtf8().constData(), &dc), 0) << CodecLastFailure().english;
        EXPECT_EQ(CodecLastFailure().english + CodecLastFailure().japanese, "");
        for (int y = 0; y < file.height; ++y) {
            const uchar* row = picture.constScanLine(y);
            for (int x = 0; x < file.width; ++x)
                ASSERT_EQ(row[x * 4 + 3], 0xFF) << "fourth byte of " << x << "," << y;
            ASSERT_EQ(std::count(row + file.width * 4, row + stride, 0xA5), 12) << "row " << y;
        }
        // The reference rounds 16-bit samples to 8 bits, the codec keeps the high byte.
        const int tolerance = file.name.contains("16") ? 1 : 0;
        EXPECT_TRUE(SamePixels(ReferenceOverBackground(file.name, file.width, file.height),
                               picture, tolerance));
    }
}

TEST(CodecRead, RefusesMissingArgumentsUnreadableFilesAndSurfacesOfAnotherSize)
{
    QTemporaryDir folder;
    const QByteArray missing = folder.filePath("missing.png").toUtf8();
    const QByteArray directory = folder.path().toUtf8();
    QImage exact(8, 32, QImage::Format_RGB32), narrow(7, 32, QImage::Format_RGB32),
        tall(8, 33, QImage::Format_RGB32);
    CodecSurface exactDc = SurfaceOf(exact), narrowDc = SurfaceOf(narrow), tallDc = SurfaceOf(tall);
    const struct {
        const char* path;
        HDC dc;
        std::string reason;
    } rows[] = {
        {nullptr, &exactDc, "no file name"},
        {"", &exactDc, "no file name"},
        {kRgb8x32.constData(), nullptr, "no surface"},
        {missing.constData(), &exactDc, std::string("cannot open the file: ") + std::strerror(ENOENT)},
        {directory.constData(), &exactDc, std::string("cannot read the file: ") + std::strerror(EISDIR)},
        {kRgb8x32.constData(), &narrowDc, "the picture is 8 x 32 pixels, its surface 7 x 32"},
        {kRgb8x32.constData(), &tallDc, "the picture is 8 x 32 pixels, its surface 8 x 33"},
    };
    for (const auto& row : rows) {
        EXPECT_NE(DCReadPNG(row.path, row.dc), 0) << row.reason;
        EXPECT_TRUE(ReasonContains(row.reason));
    }
    EXPECT_EQ(DCReadPNG(kRgb8x32.constData(), &exactDc), 0) << CodecLastFailure().english;
}

// The codec's own checks, which the picture sources' checks before it hide: bytes as a fuzzer
// or another caller hands them over.
TEST(CodecRead, RefusesForgedHugeSizesBeforeTouchingTheSurfaceAndEveryCutFile)
{
    const QByteArray whole = FileBytes(QString::fromUtf8(kRgb8x32));
    ASSERT_GT(whole.size(), 100);
    const auto stating = [&whole](quint32 width, quint32 height) {
        QByteArray png = whole;
        qToBigEndian(width, png.data() + 16);
        qToBigEndian(height, png.data() + 20);
        qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17)),
                     png.data() + 29);
        return png;
    };
    const std::pair<QByteArray, const char*> rows[] = {
        // Beyond the side limit, beyond 2^28 pixels, and sizes whose low 16 bits look small.
        {stating(1'000'001, 1), "1000001 x 1 is beyond"}, {stating(1, 1'000'001), "1 x 1000001 is beyond"},
        {stating(16384, 16385), "16384 x 16385 is beyond"}, {stating(65536 + 100, 65536 + 100), "65636 x 65636 is beyond"},
        {stating(0x7FFFFFFF, 2), "2147483647 x 2 is beyond"},
        // Inside the signature, inside IHDR, inside the pixel data, and without IEND.
        {whole.left(0), ""}, {whole.left(7), ""}, {whole.left(20), ""},
        {whole.left(whole.size() / 2), ""}, {whole.chopped(12), ""}, {whole.chopped(1), ""}};
    for (const auto& [bytes, reason] : rows) {
        SCOPED_TRACE(testing::Message() << bytes.size() << " bytes, " << reason);
        QImage picture(8, 32, QImage::Format_RGB32);
        picture.fill(0u);
        CodecSurface dc = SurfaceOf(picture);
        EXPECT_NE(DecodePngBytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                 std::size_t(bytes.size()), &dc), 0);
        EXPECT_NE(CodecLastFailure().english, "");
        EXPECT_TRUE(ReasonContains(reason));
        if (*reason) {
            EXPECT_EQ(picture.pixel(0, 0), 0xFF000000u);
        }
    }
}

class CodecWrite : public ::testing::Test {
protected:
    QByteArray Path(const QString& name) const { return folder.filePath(name).toUtf8(); }
    // The file as Qt's own readers decode it.
    QImage Decoded(const QString& name) const
    {
        return QImage(folder.filePath(name)).convertToFormat(QImage::Format_RGB32);
    }

    QImage noise = NoisePicture(41, 25, 7);
    CodecSurface dc = SurfaceOf(noise);
    QTemporaryDir folder;
};

TEST_F(CodecWrite, EachPngRateRoundTripsTheTopLeftRectangleAtItsZlibLevel)
{
    // zlib writes its level class into the stream header: 0 fastest, 2 default, 3 best.
    for (auto [rate, levelClass] : {std::pair<std::uint8_t, int>{0, 2}, {1, 0}, {2, 3}}) {
        SCOPED_TRACE(testing::Message() << "rate " << int(rate));
        ASSERT_EQ(DCSavetoPNG(&dc, 37, 23, Path("out.png"), rate), 0) << CodecLastFailure().english;
        const QByteArray png = FileBytes(Path("out.png"));
        ASSERT_GT(png.size(), 40);
        EXPECT_EQ(png[24], 8) << "bit depth";
        EXPECT_EQ(png[25], 2) << "colour type RGB";
        const qsizetype data = png.indexOf("IDAT") + 4;
        ASSERT_LT(data + 1, png.size());
        EXPECT_EQ(std::uint8_t(png[data + 1]) >> 6, levelClass);
        EXPECT_TRUE(SamePixels(noise.copy(0, 0, 37, 23), Decoded("out.png")));
    }
}

// The file is what bare TurboJPEG makes of the rectangle's own pixels, at the rate's quality,
// baseline or progressive; noise at rate 1 (quality 100) is the largest file a picture gives.
TEST_F(CodecWrite, JpegFilesAreWhatTurboJpegMakesOfTheTopLeftRectangle)
{
    QImage large = NoisePicture(243, 161, 9);
    CodecSurface surface = SurfaceOf(large);
    const int width = 241, height = 157;
    const QImage rectangle = large.copy(0, 0, width, height);
    for (const std::uint8_t rate : {1, 50, 100})
        for (const std::int32_t progressive : {0, -1}) {
            SCOPED_TRACE(testing::Message() << "rate " << int(rate) << ", progressive " << progressive);
            ASSERT_EQ(DCSavetoJPEG(&surface, width, height, Path("out.jpg"), rate, progressive), 0)
                << CodecLastFailure().english;
            // A fresh encoder each time: one that has made a progressive file keeps some of it.
            const std::unique_ptr<void, int (*)(tjhandle)> encoder(tjInitCompress(), tjDestroy);
            unsigned char* bare = nullptr;
            unsigned long size = 0;
            ASSERT_EQ(tjCompress2(encoder.get(), rectangle.constBits(), width, int(rectangle.bytesPerLine()),
                                  height, TJPF_BGRX, &bare, &size, TJSAMP_420, 101 - rate,
                                  progressive != 0 ? TJFLAG_PROGRESSIVE : 0), 0);
            EXPECT_EQ(FileBytes(Path("out.jpg")), QByteArray(reinterpret_cast<const char*>(bare), qsizetype(size)));
            tjFree(bare);
        }
}

TEST_F(CodecWrite, RefusesBadRatesAndRectanglesWithoutCreatingAFile)
{
    const QByteArray out = Path("out");
    const char* path = out.constData();
    const std::pair<std::function<std::int16_t()>, const char*> rows[] = {
        {[&] { return DCSavetoJPEG(&dc, 41, 25, path, 0, 0); }, "1 to 100"},
        {[&] { return DCSavetoJPEG(&dc, 41, 25, path, 101, -1); }, "1 to 100"},
        {[&] { return DCSavetoPNG(&dc, 41, 25, path, 3); }, "0, 1 or 2"},
        {[&] { return DCSavetoPNG(&dc, 42, 25, path, 1); }, "larger than its surface"},
        {[&] { return DCSavetoJPEG(&dc, 41, 26, path, 50, 0); }, "larger than its surface"},
        {[&] { return DCSavetoPNG(&dc, 0, 25, path, 1); }, "empty"},
        {[&] { return DCSavetoJPEG(&dc, 41, -1, path, 50, 0); }, "empty"},
        {[&] { return DCSavetoPNG(nullptr, 41, 25, path, 1); }, "no surface"},
        {[&] { return DCSavetoJPEG(&dc, 41, 25, "", 50, 0); }, "no file name"},
    };
    for (const auto& [save, reason] : rows) {
        EXPECT_NE(save(), 0) << reason;
        EXPECT_TRUE(ReasonContains(reason));
    }
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

} // namespace
