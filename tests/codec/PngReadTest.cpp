// PNG reading: representative files against their reference decodes, corrupt, forged and
// truncated files, bad arguments.
#include "CodecTestSupport.h"

#include "support/PixelAssert.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

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

TEST(CodecRead, OneFileOfEachKindMatchesItsReferenceOverTheBackground)
{
    // Every colour type, depths 1 to 16, both interlacings, tRNS, odd and narrow sizes;
    // the whole suite runs through the picture sources.
    const struct {
        QString name;
        int width, height;
    } files[] = {{"basn0g01.png", 32, 32}, {"basi0g16.png", 32, 32}, {"basn2c08.png", 32, 32},
                 {"basi3p04.png", 32, 32}, {"tbbn3p08.png", 32, 32}, {"tbrn2c08.png", 32, 32},
                 {"basn4a08.png", 32, 32}, {"basi6a16.png", 32, 32}, {"s07i3p02.png", 7, 7},
                 {"cdfn2c08.png", 8, 32}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.name.toStdString());
        // Rows carry 12 marker bytes past the picture, which the decoder must not touch.
        const int stride = file.width * 4 + 12;
        std::vector<uchar> storage(std::size_t(stride) * file.height, 0xA5);
        QImage picture(storage.data(), file.width, file.height, stride, QImage::Format_RGB32);
        for (int y = 0; y < file.height; ++y)
            std::fill_n(picture.scanLine(y), file.width * 4, 0);
        CodecSurface dc = SurfaceOf(picture, kBackground);
        ASSERT_EQ(DCReadPNG((kSuite + file.name).toUtf8().constData(), &dc), 0) << CodecLastError();
        EXPECT_STREQ(CodecLastError(), "");
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
    // Signature, CRC, colour type, bit depth, IHDR checksum, IDAT checksum, missing IDAT.
    for (const char* name : {"xs1n0g01.png", "xcrn0g04.png", "xc1n0g08.png", "xd3n2c08.png",
                             "xhdn0g08.png", "xcsn0g01.png", "xdtn0g01.png"}) {
        QImage picture(32, 32, QImage::Format_RGB32);
        CodecSurface dc = SurfaceOf(picture, kBackground);
        EXPECT_NE(DCReadPNG((kSuite + name).toUtf8().constData(), &dc), 0) << name;
        EXPECT_STRNE(CodecLastError(), "") << name;
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
        const char* reason;
    } rows[] = {
        {nullptr, &exactDc, "no file name"},
        {"", &exactDc, "no file name"},
        {kRgb8x32.constData(), nullptr, "no surface"},
        {missing.constData(), &exactDc, "cannot open file: No such file or directory"},
        {directory.constData(), &exactDc, "cannot read file: Is a directory"},
        {kRgb8x32.constData(), &narrowDc, "the picture is 8 x 32 pixels, its surface 7 x 32"},
        {kRgb8x32.constData(), &tallDc, "the picture is 8 x 32 pixels, its surface 8 x 33"},
    };
    for (const auto& row : rows) {
        EXPECT_NE(DCReadPNG(row.path, row.dc), 0) << row.reason;
        EXPECT_TRUE(ReasonContains(row.reason));
    }
    EXPECT_EQ(DCReadPNG(kRgb8x32.constData(), &exactDc), 0) << CodecLastError();
}

TEST(CodecRead, RefusesForgedHugeSizesBeforeTouchingTheSurface)
{
    // Beyond the side limit, beyond 2^28 pixels, and sizes whose low 16 bits look small.
    for (auto [width, height] : {std::pair<quint32, quint32>{1'000'001, 1}, {1, 1'000'001},
                                 {16384, 16385}, {65536 + 100, 65536 + 100}, {0x7FFFFFFF, 2}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        QByteArray png = FileBytes(QString::fromUtf8(kRgb8x32));
        qToBigEndian(width, png.data() + 16);
        qToBigEndian(height, png.data() + 20);
        qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17)),
                     png.data() + 29);
        QImage picture(1, 1, QImage::Format_RGB32);
        picture.fill(0u);
        CodecSurface dc = SurfaceOf(picture);
        EXPECT_NE(DecodePngBytes(reinterpret_cast<const std::uint8_t*>(png.constData()),
                                 png.size(), &dc), 0);
        EXPECT_TRUE(ReasonContains("too large"));
        EXPECT_EQ(picture.pixel(0, 0), 0xFF000000u);
    }
}

TEST(CodecRead, FailsOnEveryTruncation)
{
    const QByteArray whole = FileBytes(QString::fromUtf8(kRgb8x32));
    ASSERT_GT(whole.size(), 100);
    // Inside the signature, inside IHDR, inside the pixel data, and without IEND.
    for (qsizetype length : {qsizetype{0}, qsizetype{7}, qsizetype{20}, whole.size() / 2,
                             whole.size() - 12, whole.size() - 1}) {
        SCOPED_TRACE(testing::Message() << "first " << length << " bytes");
        const QByteArray cut = whole.left(length);
        QImage picture(8, 32, QImage::Format_RGB32);
        CodecSurface dc = SurfaceOf(picture);
        EXPECT_NE(DecodePngBytes(reinterpret_cast<const std::uint8_t*>(cut.constData()),
                                 cut.size(), &dc), 0);
        EXPECT_STRNE(CodecLastError(), "");
    }
}

} // namespace
