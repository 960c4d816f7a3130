// The picture sources: every picture of tests/data against its reference decode, files that
// must not open, the checks before a reader sees a file, and which files the panes take.
#include "codec/Codec.h"
#include "core/sources/PictureChecks.h"
#include "core/sources/PictureLoader.h"
#include "core/sources/SourceNames.h"
#include "core/sources/SourcePicture.h"
#include "support/BadPictureFiles.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTransform>
#include <QtEndian>

namespace {
// Channels that differ, so that a background drawn with two of them swapped shows.
const QColor kBackground(0x40, 0x80, 0xC0);

// A stream appending little-endian numbers to `bytes`, as BMP and ICO files hold them.
struct LittleEndian : QDataStream {
    explicit LittleEndian(QByteArray* b) : QDataStream(b, QIODevice::Append) { setByteOrder(ByteOrder::LittleEndian); }
};

class PictureLoader : public ::testing::Test {
protected:
    QString Write(const QString& name, QByteArrayView bytes) const { return WriteFile(folder.filePath(name), bytes); }
    // The loaded picture, or a null one when the load failed or gave none.
    static QImage Picture(const LoadedPicture& loaded)
    {
        EXPECT_TRUE(loaded && *loaded) << (loaded ? "no picture" : loaded.failure().english);
        return loaded && *loaded ? **loaded : QImage();
    }
    QTemporaryDir folder;
};

// The reference decode (straight RGBA) drawn over kBackground, each channel rounded to nearest.
QImage ReferenceOver(const QString& file, QSize size)
{
    const QByteArray rgba = TestDataFile("reference/" + file + ".rgba");
    QImage out(size, QImage::Format_RGB32);
    const auto* p = reinterpret_cast<const uchar*>(rgba.constData());
    const auto over = [&p](int c, int back) { return (p[3] * p[c] + (255 - p[3]) * back + 127) / 255; };
    for (int i = 0; rgba.size() == out.sizeInBytes() && i < size.width() * size.height(); ++i, p += 4)
        out.setPixel(i % size.width(), i / size.width(),
                     qRgb(over(0, kBackground.red()), over(1, kBackground.green()), over(2, kBackground.blue())));
    return rgba.size() == out.sizeInBytes() ? out : QImage();
}

// A picture that kept its transparency drawn over kBackground as the loaders draw it; whether it
// had any to keep.
std::pair<QImage, bool> KeptOver(QImage kept)
{
    const bool transparent = kept.format() == QImage::Format_ARGB32;
    kept.convertTo(QImage::Format_ARGB32);
    const auto over = [](int c, int a, int back) { return (a * c + (255 - a) * back + 127) / 255; };
    for (int y = 0; y < kept.height(); ++y)
        for (int x = 0; x < kept.width(); ++x) {
            const QRgb p = kept.pixel(x, y);
            kept.setPixel(x, y, qRgb(over(qRed(p), qAlpha(p), kBackground.red()), over(qGreen(p), qAlpha(p), kBackground.green()),
                                     over(qBlue(p), qAlpha(p), kBackground.blue())));
        }
    return {kept, transparent};
}

// The README's rows "| `file` | expected | ... |" under "## <folder>/": "decode WxH" opens so,
// "reject" fails; "questionable" and "... or ..." allow either, an opened picture of the size.
// Tolerances: a 16-bit PNG's reference is rounded where the codec keeps the high byte (with
// alpha, one more); Qt widens 5- and 6-bit BMP channels by shifting (255 reads 248). Asked to
// keep the transparency, a loader gives the same picture once drawn, with an alpha channel
// exactly when the picture has some pixel short of opaque.
TEST(RealFiles, EveryPictureLoadsAsTheTestDataExpects)
{
    const QRegularExpression heading("^## ([a-z]+)/\\s*$"), row("^\\| `([^`]+)` \\| ([^|]+) \\|"),
        size("(\\d+)x(\\d+)"), either("^questionable|\\bor (decode|a |partial|reject)");
    QString folder;
    int rows = 0, decode = 0, reject = 0;
    for (const QString& line : QString::fromUtf8(TestDataFile("README.md")).split('\n')) {
        if (const auto match = heading.match(line); match.hasMatch())
            folder = match.captured(1);
        const auto match = row.match(line);
        if (folder.isEmpty() || !match.hasMatch())
            continue;
        const QString file = folder + '/' + match.captured(1), words = match.captured(2).remove("**");
        const auto stated = size.match(words);
        const QSize expected = stated.hasMatch() ? QSize(stated.captured(1).toInt(), stated.captured(2).toInt()) : QSize();
        const bool anyway = either.match(words).hasMatch(), rejects = !anyway && words.startsWith("reject"),
                   decodes = !anyway && words.startsWith("decode") && expected.isValid();
        ++rows, decode += decodes, reject += rejects;
        SCOPED_TRACE(file.toStdString());
        ASSERT_TRUE(anyway || rejects || decodes) << "unclassified";
        const LoadedPicture loaded = LoadSourcePicture(LAYERPIX_TESTDATA "/" + file, kBackground);
        EXPECT_TRUE(anyway || (loaded && *loaded) == decodes) << (loaded ? "" : loaded.failure().english);
        if (!loaded || !*loaded)
            continue;
        EXPECT_TRUE(!expected.isValid() || (*loaded)->size() == expected);
        // The references keep EXIF orientation unapplied; the loader shows photos upright.
        const int tolerance = file.contains(QRegularExpression("pngsuite/.*a16")) ? 2 : file.endsWith("16.png") ? 1
                              : file.contains("rgb16") ? 7 : file.startsWith("jpeg/") ? 2 : 0;
        if (!decodes)
            continue;
        EXPECT_TRUE(SamePixels(ReferenceOver(file, expected).transformed(QTransform().rotate(
                                   file.endsWith("orientation_6.jpg") ? 90 : 0)), **loaded, tolerance));
        const QByteArray rgba = TestDataFile("reference/" + file + ".rgba");
        bool transparent = false;
        for (qsizetype i = 3; i < rgba.size(); i += 4)
            transparent |= uchar(rgba[i]) != 255;
        const LoadedPicture kept = LoadSourcePicture(LAYERPIX_TESTDATA "/" + file, std::nullopt);
        ASSERT_TRUE(kept && *kept);
        const auto [drawn, keptTransparency] = KeptOver(**kept);
        EXPECT_TRUE(SamePixels(**loaded, drawn, tolerance));
        EXPECT_EQ(keptTransparency, transparent);
    }
    // The README's own tally: 175 PNG (161 decode, 14 reject), 59 BMP, 8 GIF, 7 ICO, 10 JPEG.
    EXPECT_TRUE(rows == 175 + 59 + 8 + 7 + 10 && decode >= 161 + 23 && reject >= 14) << rows << decode << reject;
}

// Whatever a bad file states, and after it a good file still opens; a file named .PNG goes to the codec.
TEST_F(PictureLoader, EveryBadFileAndPathFailsInBothLanguagesAndTheNextGoodFileOpens)
{
    QStringList bad = BadPicturePaths(folder);
    for (const BadPictureFile& file : BadPictureFiles())
        bad << Write(file.name, file.bytes);
    bad << Write("bitmap.PNG", EncodedPicture(NoisePicture(4, 4, 1), "BMP"));
    const std::vector<BadPictureFile> good = GoodPictureFiles();
    for (qsizetype i = 0; i < bad.size(); ++i) {
        SCOPED_TRACE(bad[i].toStdString());
        const LoadedPicture loaded = LoadSourcePicture(bad[i], Qt::white);
        EXPECT_TRUE(!loaded && !loaded.failure().english.empty() && !loaded.failure().japanese.empty());
        // Padding is no image data: the file is refused before its picture is allocated.
        if (bad[i].endsWith("padded with text.png"))
            EXPECT_EQ(loaded.failure().english, "the file is too short for a picture of 16384 x 16384 pixels");
        const BadPictureFile& next = good[std::size_t(i) % good.size()];
        Picture(LoadSourcePicture(Write(next.name, next.bytes), Qt::white));
    }
}

// An 8-bit RLE bitmap stating `width` x `height` whose codes are `codes`.
QByteArray RleBitmap(qint32 width, qint32 height, const QByteArray& codes)
{
    QByteArray file("BM");
    LittleEndian(&file) << quint32(0) << quint32(0) << quint32(14 + 40 + 8) << quint32(40) << width << height
                        << quint16(1) << quint16(8) << quint32(1) << quint32(0) << quint32(0) << quint32(0)
                        << quint32(2) << quint32(0) << quint64(0);
    return file + codes;
}

QByteArray Patched16(QByteArray bytes, qsizetype at, quint16 value, bool bigEndian = false)
{
    bigEndian ? qToBigEndian(value, bytes.data() + at) : qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

TEST(PictureChecks, EachRuleLetsThroughItsEdgeAndRefusesBeyondIt)
{
    const QByteArray bmp = EncodedPicture(NoisePicture(41, 3, 1), "BMP"); // rows of 123 bytes, 1 of padding
    const QByteArray gif = TestDataFile("gif/hopper.gif"), ico = TestDataFile("ico/hopper.ico");
    const qsizetype descriptor = gif.indexOf(',', 13 + 768);   // 128 x 128, after the colour table and extensions
    const QByteArray jpeg = EncodedPicture(GradientPicture(40, 30), "JPG");
    const qsizetype scan = jpeg.indexOf("\xFF\xDA"), frame = jpeg.indexOf("\xFF\xC0");
    const QByteArray scanAndData = jpeg.mid(scan, jpeg.size() - 2 - scan);
    const QByteArray runToEnd = QByteArray("\xFF\x01\x00\x01", 4); // 255 pixels, end of bitmap
    const auto stating = [&](quint16 w, quint16 h) { return Patched16(Patched16(jpeg, frame + 5, h, true), frame + 7, w, true); };
    const std::tuple<const char*, QByteArray, const char*> rows[] = {   // an empty refusal: passes
        {"BMP without the last row's padding", bmp.chopped(1), ""},
        {"BMP without the last pixel's last byte", bmp.chopped(2), "ends before its pixel data"},
        {"RLE leaving 2^22 pixels uncoded", RleBitmap(2048, 2048, runToEnd), ""},
        {"RLE leaving more uncoded", RleBitmap(2049, 2048, runToEnd), "uncoded"},
        {"RLE without end-of-bitmap", RleBitmap(16, 16, "\x10\x01"), "ends before its pixel data"},
        {"GIF image one row short of its codes", Patched16(gif, descriptor + 7, 129), "before its last pixel"},
        {"GIF without its trailer", gif.chopped(1), "before its trailer"},
        {"GIF screen 2^22 pixels beyond its image", Patched16(Patched16(gif, 6, 2048), 8, 2057), "far larger"},
        {"GIF screen within the allowance", Patched16(Patched16(gif, 6, 2048), 8, 2056), ""},
        {"JPEG with stray bytes before a marker", jpeg.left(scan) + QByteArray(2, '\0') + jpeg.mid(scan), ""},
        {"JPEG of 100 scans", jpeg.left(scan) + scanAndData.repeated(100) + "\xFF\xD9", ""},
        {"JPEG of 101 scans", jpeg.left(scan) + scanAndData.repeated(101) + "\xFF\xD9", "more than 100 scans"},
        {"JPEG without EOI", jpeg.chopped(2), "before its EOI"},
        {"JPEG stating 2^28 pixels", stating(16384, 16384), "too short for a picture of 16384 x 16384"},
        {"JPEG stating a row more", stating(16384, 16385), "16384 x 16385 is beyond the picture limit"},
        {"ICO without its mask's last byte", ico.chopped(1), "ends before its last image"},
        {"PPM", EncodedPicture(GradientPicture(20, 10), "PPM"), "not a BMP, GIF, ICO, JPEG or PNG file"},
    };
    for (auto [what, bytes, refusal] : rows) {
        QBuffer file(&bytes);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const Result<PictureFormat> check = CheckPictureFile(file);
        const std::string reason = check ? "" : check.failure().english;
        EXPECT_TRUE(bool(check) == !*refusal && reason.find(refusal) != std::string::npos) << what << ": " << reason;
    }
}
// The largest image, a bitmap of 32 bits a pixel whose alpha is all 0, stands between two smaller
// PNG-coded ones; the holes of its AND mask, a ring and a corner, show the background. (Qt's reader
// applies the masks of fewer bits itself, as the icons of RealFiles show.)
TEST_F(PictureLoader, AnIconGivesItsLargestImageWithTheHolesOfItsMaskShowingTheBackground)
{
    const int w = 40, h = 30, maskRow = 8;   // 40 bits padded to 4 bytes
    const QImage picture = NoisePicture(w, h, 3);
    QImage expected = picture;
    QByteArray bitmap, mask(maskRow * h, '\0');
    LittleEndian(&bitmap) << quint32(40) << quint32(w) << quint32(2 * h) << quint16(1) << quint16(32) << quint32(0)
                          << quint32(0) << quint64(0) << quint64(0);
    for (int i = 0; i < w * h; ++i) {
        const int x = i % w, y = h - 1 - i / w;   // rows from the bottom up
        LittleEndian(&bitmap) << quint32(picture.pixel(x, y) & 0xFFFFFF);
        if (std::abs((x - 20) * (x - 20) + (y - 15) * (y - 15) - 17) <= 8 || (x == 0 && y == 0)) {
            mask[i / w * maskRow + x / 8] |= char(0x80 >> x % 8);
            expected.setPixel(x, y, kBackground.rgb());
        }
    }
    bitmap += mask;
    const QByteArray png = EncodedPicture(NoisePicture(32, 32, 1), "PNG");
    QByteArray file;
    LittleEndian(&file) << quint16(0) << quint16(1) << quint16(3);
    for (const qsizetype at : {qsizetype(0), png.size(), png.size() + bitmap.size()}) {   // width, height ... offset
        const bool isBitmap = at == png.size();
        LittleEndian(&file) << quint8(isBitmap ? w : 32) << quint8(isBitmap ? h : 32) << quint16(0) << quint16(1)
                            << quint16(32) << quint32((isBitmap ? bitmap : png).size()) << quint32(6 + 48 + at);
    }
    EXPECT_TRUE(SamePixels(expected, Picture(LoadPicture(Write("sizes.ico", file + png + bitmap + png), kBackground))));
}

// A blank picture compressed as far as each format allows passes the checks of files too short
// for their size: PNG at zlib's best level, as wide as its header's 32 bits say; JPEG at the
// highest quality with Huffman tables fitted to it (baseline, progressive) or arithmetic-coded.
TEST_F(PictureLoader, BlankPicturesAtTheirSmallestStillOpen)
{
    QImage wide(65536 + 100, 24, QImage::Format_RGB32), white(2400, 1600, QImage::Format_RGB32);
    wide.fill(Qt::white), white.fill(Qt::white);
    CodecSurface wideDc{wide.bits(), wide.width(), wide.height(), std::int32_t(wide.bytesPerLine()), 0},
        dc{white.bits(), white.width(), white.height(), std::int32_t(white.bytesPerLine()), 0};
    std::vector<std::uint8_t> png, jpeg;
    ASSERT_EQ(EncodePngBytes(&wideDc, wide.width(), wide.height(), 2, png), 0) << CodecLastFailure().english;
    EXPECT_EQ(Picture(LoadSourcePicture(Write("blank.Png", png), Qt::black)).size(), wide.size());
    EXPECT_EQ(Picture(LoadSourcePicture(Write("blank png.dat", png), Qt::black)).size(), wide.size());
    for (const auto& [coding, progressive] : {std::pair{"TJ_OPTIMIZE", 0}, {"TJ_OPTIMIZE", -1}, {"TJ_ARITHMETIC", 0}}) {
        ::setenv(coding, "1", 1);
        const std::int16_t status = EncodeJpegBytes(&dc, white.width(), white.height(), 1, progressive, jpeg);
        ::unsetenv(coding);
        ASSERT_EQ(status, 0) << CodecLastFailure().english;
        EXPECT_TRUE(SamePixels(white, Picture(LoadSourcePicture(Write("blank.jpeg", jpeg), Qt::black))))
            << coding << " " << progressive;
    }
}

TEST(SourceNames, TheExtensionInAnyCaseDecidesWhatIsDroppedAndGifsNeedOptionOne)
{
    const std::tuple<const char*, std::int16_t, bool> rows[] = {
        {"/p/a.BMP", 0, true}, {"/p/a.Jpg", 0, true}, {"/p/a.ico", 0, true}, {"/p/写真.pNg", 0, true}, {".bmp", 0, true},
        {"/p/a.JPEG", 0, true}, {"/p/a.jpe", 0, true}, {"/p/a.bmp ", 0, false}, {"/p/a.png/x", 0, false},
        {"/p/a.jpg.txt", 0, false}, {"/p/bmp", 0, false}, {"/p/a.GIF", 1, true},
        {"/p/a.gif", 0, false}, {"/p/a.gif", 2, false}};
    for (const auto& [path, gifOption, accepted] : rows)
        EXPECT_EQ(DropAccepted(QString::fromUtf8(path), gifOption), accepted) << path << " " << gifOption;
    for (const std::int16_t gifOption : {0, 1, 2})
        EXPECT_EQ(BrowseFilterPattern(gifOption).contains("*.gif;"), gifOption != 0) << gifOption;
    EXPECT_TRUE(BrowseFilterPattern(0).contains("*.jpg;*.jpeg;*.jpe;"));
}
} // namespace
