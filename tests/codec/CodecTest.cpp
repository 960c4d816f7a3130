// The codec's own calls; the whole PngSuite decodes to its references through the sources.
// JPEG files are exactly TurboJPEG's own, joined from strips with restart markers when large.
#include "codec/Codec.h"
#include "codec/JpegStrips.h"
#include "support/FolderSnapshot.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <turbojpeg.h>
#include <zlib.h>

namespace {
// One of TurboJPEG's options from the environment, set while a Setting of it lives:
// {"TJ_RESTART", "2"} asks for a restart marker every two rows of blocks. No name: none.
using Option = std::pair<const char*, std::string>;
struct Setting {
    explicit Setting(const Option& option) : name(option.first) { if (name) setenv(name, option.second.c_str(), 1); }
    ~Setting() { if (name) unsetenv(name); }
    const char* name;
};

CodecSurface SurfaceOf(QImage& p) { return {p.bits(), p.width(), p.height(), std::int32_t(p.bytesPerLine()), 0}; }
std::span<std::uint8_t> Span(QByteArray& bytes) { return {reinterpret_cast<std::uint8_t*>(bytes.data()), std::size_t(bytes.size())}; }

QByteArray FileBytes(const QString& path) { return QByteArray::fromStdString(ReadBytes(path.toStdString())); }

// The codec call failed with a reason containing `part` in English, and Japanese words too.
::testing::AssertionResult FailedFor(std::int16_t status, const std::string& part)
{
    const Failure& failure = CodecLastFailure();
    const bool failed = status != 0 && failure.english.find(part) != std::string::npos && !failure.japanese.empty();
    return (failed ? ::testing::AssertionSuccess() : ::testing::AssertionFailure()) << failure.english;
}

// What bare TurboJPEG makes of `rows` rows of `picture` from `top`, with `option` set.
QByteArray BareJpeg(const QImage& picture, int top, int rows, int quality, const Option& option = {}, int flags = 0)
{
    const Setting set(option);
    // A fresh encoder each time: one that has made a progressive file keeps some of it.
    const std::unique_ptr<void, int (*)(tjhandle)> encoder(tjInitCompress(), tjDestroy);
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const bool made = tjCompress2(encoder.get(), picture.constScanLine(top), picture.width(), int(picture.bytesPerLine()),
                                  rows, TJPF_BGRX, &jpeg, &size, TJSAMP_420, quality, flags) == 0;
    const QByteArray bytes(reinterpret_cast<const char*>(jpeg), made ? qsizetype(size) : 0);
    tjFree(jpeg);
    return bytes;
}

const QByteArray kRgb8x32 = LAYERPIX_TESTDATA "/pngsuite/cdfn2c08.png";

// The surface's rows are 12 marker bytes longer than the picture's, which stay as they were.
TEST(CodecRead, RefusesMissingArgumentsUnreadableFilesAndSurfacesOfAnotherSizeThenFillsTheRowsOfOne)
{
    QTemporaryDir folder;
    const QByteArray missing = folder.filePath("missing.png").toUtf8(), directory = folder.path().toUtf8();
    std::vector<uchar> storage((8 * 4 + 12) * 32, 0xA5);
    QImage exact(storage.data(), 8, 32, 8 * 4 + 12, QImage::Format_RGB32), narrow(7, 32, QImage::Format_RGB32),
        tall(8, 33, QImage::Format_RGB32);
    CodecSurface exactDc = SurfaceOf(exact), narrowDc = SurfaceOf(narrow), tallDc = SurfaceOf(tall);
    const std::tuple<const char*, HDC, std::string> rows[] = {
        {nullptr, &exactDc, "no file name"}, {kRgb8x32, nullptr, "no surface"},
        {missing, &exactDc, std::string("cannot open the file: ") + std::strerror(ENOENT)},
        {directory, &exactDc, std::string("cannot read the file: ") + std::strerror(EISDIR)},
        {kRgb8x32, &narrowDc, "the picture is 8 x 32 pixels, its surface 7 x 32"},
        {kRgb8x32, &tallDc, "the picture is 8 x 32 pixels, its surface 8 x 33"}};
    for (const auto& [path, dc, reason] : rows)
        EXPECT_TRUE(FailedFor(DCReadPNG(path, dc), reason));
    ASSERT_EQ(DCReadPNG(kRgb8x32, &exactDc), 0) << CodecLastFailure().english;
    EXPECT_TRUE(SamePixels(QImage(kRgb8x32).convertToFormat(QImage::Format_RGB32), exact));
    for (std::size_t at = 3; at < storage.size(); at += 4)
        ASSERT_EQ(storage[at], at % 44 < 32 ? 0xFF : 0xA5) << "fourth byte at " << at;
}

// Sizes beyond a side's limit, 2^28 pixels, or 16 bits are refused before the surface is
// touched; so is a file cut in the signature, IHDR, the pixels, or before IEND.
TEST(CodecRead, RefusesForgedHugeSizesBeforeTouchingTheSurfaceAndEveryCutFile)
{
    const QByteArray whole = FileBytes(kRgb8x32);
    const auto stating = [&whole](quint32 width, quint32 height) {
        QByteArray png = whole;
        qToBigEndian(width, png.data() + 16);
        qToBigEndian(height, png.data() + 20);
        qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17)), png.data() + 29);
        return png;
    };
    const std::pair<QByteArray, const char*> rows[] = {
        {stating(1'000'001, 1), "1000001 x 1 is beyond"}, {stating(1, 1'000'001), "1 x 1000001 is beyond"},
        {stating(16384, 16385), "16384 x 16385 is beyond"}, {stating(65636, 65636), "65636 x 65636 is beyond"},
        {stating(0x7FFFFFFF, 2), "2147483647 x 2 is beyond"}, {whole.left(0), ""}, {whole.left(7), ""},
        {whole.left(20), ""}, {whole.left(whole.size() / 2), ""}, {whole.chopped(12), ""}, {whole.chopped(1), ""}};
    for (auto [bytes, reason] : rows) {
        QImage picture(8, 32, QImage::Format_RGB32);
        picture.fill(0u);
        CodecSurface dc = SurfaceOf(picture);
        EXPECT_TRUE(FailedFor(DecodePngBytes(Span(bytes).data(), Span(bytes).size(), &dc), reason)) << bytes.size();
        EXPECT_TRUE(!*reason || picture.pixel(0, 0) == 0xFF000000u) << reason;
    }
}

class CodecWrite : public ::testing::Test {
protected:
    QByteArray Path(const QString& name) const { return folder.filePath(name).toUtf8(); }
    QImage noise = NoisePicture(41, 25, 7);
    CodecSurface dc = SurfaceOf(noise);
    QTemporaryDir folder;
};

// 8-bit RGB; zlib writes its level class into the stream header: 0 fastest, 2 default, 3 best.
TEST_F(CodecWrite, EachPngRateRoundTripsTheTopLeftRectangleAtItsZlibLevel)
{
    for (auto [rate, levelClass] : {std::pair<std::uint8_t, int>{0, 2}, {1, 0}, {2, 3}}) {
        ASSERT_EQ(DCSavetoPNG(&dc, 37, 23, Path("out.png"), rate), 0) << CodecLastFailure().english;
        const QByteArray png = FileBytes(Path("out.png"));
        EXPECT_EQ(png.mid(24, 2) + char(std::uint8_t(png[png.indexOf("IDAT") + 5]) >> 6),
                  QByteArray("\x08\x02") + char(levelClass)) << "rate " << int(rate);
        EXPECT_TRUE(SamePixels(noise.copy(0, 0, 37, 23), QImage(Path("out.png")).convertToFormat(QImage::Format_RGB32)));
    }
}

TEST_F(CodecWrite, RefusesBadRatesAndRectanglesWithoutCreatingAFile)
{
    const QByteArray out = Path("out");
    const struct { bool png; HDC dc; int width, height; const char* path; std::uint8_t rate; const char* reason; } rows[] = {
        {false, &dc, 41, 25, out, 0, "1 to 100"}, {false, &dc, 41, 25, out, 101, "1 to 100"},
        {true, &dc, 41, 25, out, 3, "0, 1 or 2"}, {true, &dc, 42, 25, out, 1, "larger than its surface"},
        {false, &dc, 41, 26, out, 50, "larger than its surface"}, {false, &dc, 41, -1, out, 50, "empty"},
        {true, nullptr, 41, 25, out, 1, "no surface"}, {false, &dc, 41, 25, "", 50, "no file name"}};
    for (const auto& r : rows)
        EXPECT_TRUE(FailedFor(r.png ? DCSavetoPNG(r.dc, r.width, r.height, r.path, r.rate)
                                    : DCSavetoJPEG(r.dc, r.width, r.height, r.path, r.rate, 0), r.reason));
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

// What bare TurboJPEG makes of the rectangle at the rate's quality. A camera picture, encoded in
// strips on threads and joined, gets a restart marker every strip, unless TurboJPEG's options
// from the environment make strips that cannot be joined: then the picture is encoded whole.
TEST_F(CodecWrite, JpegFilesAreTurboJpegsOwn)
{
    QImage small = NoisePicture(243, 161, 9), camera = NoisePicture(1001, 2200, 5);
    const JpegStrips plan = PlanJpegStrips(camera.width(), camera.height());
    ASSERT_GT(plan.count, 1);
    const Option everyStrip{"TJ_RESTART", std::to_string(plan.rows / 16)}, optimize{"TJ_OPTIMIZE", "1"};
    const struct { QImage* picture; QSize size; std::uint8_t rate; bool progressive; Option set, expected; } rows[] = {
        {&small, {241, 157}, 1, false, {}, {}}, {&small, {241, 157}, 100, true, {}, {}},
        {&camera, camera.size(), 50, false, {}, everyStrip}, {&camera, camera.size(), 50, false, optimize, optimize}};
    for (const auto& row : rows) {
        CodecSurface surface = SurfaceOf(*row.picture);
        {
            const Setting set(row.set);
            EXPECT_EQ(DCSavetoJPEG(&surface, row.size.width(), row.size.height(), Path("out.jpg"), row.rate,
                                   row.progressive ? -1 : 0), 0) << CodecLastFailure().english;
        }
        const QImage rectangle = row.picture->copy(QRect(QPoint(), row.size));
        EXPECT_EQ(FileBytes(Path("out.jpg")), BareJpeg(rectangle, 0, rectangle.height(), 101 - row.rate, row.expected,
                                                       row.progressive ? TJFLAG_PROGRESSIVE : 0))
            << "rate " << int(row.rate) << ", " << rectangle.width() << " x " << rectangle.height();
    }
}

// Ten strips, so the restart markers' numbers wrap after the eighth; sides that are not
// whole blocks, so the last strip and every row end part-way through one.
TEST(JpegStrips, JoinedStripsAreTurboJpegsFileWithARestartEveryStripAndDecodeAsOnePiece)
{
    const QImage picture = NoisePicture(37, 150, 3);
    const JpegStrips plan{16, 10, 3};
    std::vector<QByteArray> strips;
    for (int top = 0; top < picture.height(); top += plan.rows)
        strips.push_back(BareJpeg(picture, top, std::min(plan.rows, picture.height() - top), 100));
    std::vector<std::span<std::uint8_t>> files(strips.size());
    std::transform(strips.begin(), strips.end(), files.begin(), Span);
    QByteArray joined;
    for (const ByteRange& piece : JoinJpegStrips(files, picture.height(), plan).pieces)
        joined.append(static_cast<const char*>(piece.data), qsizetype(piece.size));
    EXPECT_EQ(joined, BareJpeg(picture, 0, picture.height(), 100, {"TJ_RESTART", "1"}));
    EXPECT_TRUE(SamePixels(QImage::fromData(BareJpeg(picture, 0, picture.height(), 100)), QImage::fromData(joined)));
}

TEST(JpegStrips, RefusesStripsItCannotJoinAndLeavesThemAsTheyWere)
{
    const QImage picture = NoisePicture(40, 32, 4);
    const QByteArray baseline = BareJpeg(picture, 0, 16, 80);
    const std::pair<QByteArray, const char*> rows[] = {
        {BareJpeg(picture, 16, 16, 80, {}, TJFLAG_PROGRESSIVE), "progressive"}, {baseline.chopped(1), "cut before its end"},
        {BareJpeg(picture, 16, 16, 80, {"TJ_RESTART", "1"}), "a restart interval of its own"},
        {BareJpeg(picture, 16, 16, 80, {"TJ_OPTIMIZE", "1"}), "Huffman tables of its own"},
        {BareJpeg(picture, 16, 16, 80, {"TJ_ARITHMETIC", "1"}), "arithmetic coding"}, {baseline.left(300), "cut in its headers"},
        {baseline.chopped(2) + QByteArray(2, '\0'), "without EOI"}, {QByteArray("\xFF\xD8\xFF\xD9"), "no frame"}};
    for (const auto& [second, what] : rows) {
        QByteArray first = baseline, other = second;
        const std::span<std::uint8_t> files[] = {Span(first), Span(other)};
        EXPECT_TRUE(JoinJpegStrips(files, 32, {16, 2, 3}).pieces.empty()) << what;
        EXPECT_EQ(first, baseline) << what;
    }
}

// Whole rows of 16 x 16 blocks, at most 65535 blocks a strip, covering the picture with the
// last strip not empty; pictures below camera size are not cut.
TEST(JpegStrips, PlansWholeBlockRowsWithinTheRestartLimitForCameraPicturesOnly)
{
    const std::tuple<int, int, bool> sizes[] = {{1920, 1080, false}, {6000, 4000, true}, {65535, 100, true},
                                                {65535, 16, false}, {100, 65535, true}, {1001, 4200, true}};
    for (const auto& [width, height, cut] : sizes) {
        const JpegStrips plan = PlanJpegStrips(width, height);
        EXPECT_TRUE(cut ? plan.count > 1 && plan.rows % 16 == 0 && plan.interval == plan.rows / 16 * ((width + 15) / 16)
                              && plan.interval <= 65535 && (plan.count - 1) * plan.rows < height
                              && plan.count * plan.rows >= height
                        : plan.count == 1 && plan.rows == height)
            << width << " x " << height << ": " << plan.count << " strips of " << plan.rows << " rows";
    }
}
} // namespace
