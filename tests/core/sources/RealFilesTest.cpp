// Every picture of tests/data through the loader its name picks, against the
// reference decodes: the whole PngSuite through the codec, the others through the general loader.
#include "core/surfaces/SystemColors.h"
#include "core/sources/SourcePicture.h"
#include "support/PixelAssert.h"

#include <QFile>
#include <QRegularExpression>
#include <QTransform>
#include <map>
#include <optional>

namespace {
enum class Expect { Decode, Reject, Either, Unclassified };

struct TestPicture {
    QString file; // relative to the test data folder, e.g. "bmpsuite/g/pal1.bmp"
    Expect expect = Expect::Unclassified;
    QSize size;   // invalid when the README names none
};

QStringList Lines(const QString& file)
{
    QFile in(QStringLiteral(LAYERPIX_TESTDATA "/") + file);
    return in.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(in.readAll()).split('\n') : QStringList();
}

// The rows "| `file` | expected | ... |" of the README's tables under "## <folder>/". Words
// such as "decode 127x64 or reject" and "questionable: ..." allow either outcome.
std::vector<TestPicture> ReadTestPictures()
{
    static const QRegularExpression heading(QStringLiteral("^## ([a-z]+)/\\s*$")),
        row(QStringLiteral("^\\| `([^`]+)` \\| ([^|]+) \\|")), size(QStringLiteral("(\\d+)x(\\d+)")),
        alternative(QStringLiteral("\\bor (decode|a |partial|reject)"));
    std::vector<TestPicture> pictures;
    QString folder;
    for (const QString& line : Lines(QStringLiteral("README.md"))) {
        if (const auto match = heading.match(line); match.hasMatch())
            folder = match.captured(1);
        const auto match = row.match(line);
        if (folder.isEmpty() || !match.hasMatch())
            continue;
        TestPicture picture{folder + '/' + match.captured(1), Expect::Unclassified, QSize()};
        const QString words = match.captured(2).remove(QStringLiteral("**"));
        if (const auto dimensions = size.match(words); dimensions.hasMatch())
            picture.size = QSize(dimensions.captured(1).toInt(), dimensions.captured(2).toInt());
        if (words.startsWith(QLatin1String("questionable")) || alternative.match(words).hasMatch())
            picture.expect = Expect::Either;
        else if (words.startsWith(QLatin1String("reject")))
            picture.expect = Expect::Reject;
        else if (words.startsWith(QLatin1String("decode")) && picture.size.isValid())
            picture.expect = Expect::Decode;
        pictures.push_back(picture);
    }
    return pictures;
}

// The reference decode (straight RGBA) drawn over `background` as the loaders do, each channel
// rounded to nearest; std::nullopt when the test data has none.
std::optional<QImage> ReferenceOver(const QString& file, QColor background)
{
    for (const QString& line : Lines(QStringLiteral("reference/MANIFEST.tsv"))) {
        const QStringList fields = line.split('\t');
        if (fields.size() < 3 || fields[0] != file)
            continue;
        QFile raw(QStringLiteral(LAYERPIX_TESTDATA "/reference/") + file + QStringLiteral(".rgba"));
        const QByteArray rgba = raw.open(QIODevice::ReadOnly) ? raw.readAll() : QByteArray();
        QImage out(fields[1].toInt(), fields[2].toInt(), QImage::Format_RGB32);
        if (rgba.size() != out.sizeInBytes())
            return std::nullopt;
        const int back[] = {background.red(), background.green(), background.blue()};
        for (int at = 0; at < rgba.size(); at += 4) {
            int channels[3];
            for (int c = 0; c < 3; ++c)
                channels[c] = (uchar(rgba[at + 3]) * uchar(rgba[at + c]) + (255 - uchar(rgba[at + 3])) * back[c] + 127) / 255;
            out.setPixel(at / 4 % out.width(), at / 4 / out.width(), qRgb(channels[0], channels[1], channels[2]));
        }
        return out;
    }
    return std::nullopt;
}

// 16-bit PNG: the reference rounds to 8 bits, the codec keeps the high byte; with alpha, the
// alpha's lost level adds one more. Qt widens 5- and 6-bit BMP channels by shifting, so full
// intensity reads 248 where the reference has 255.
int ReferenceTolerance(const QString& file)
{
    for (const auto& [pattern, tolerance] : {std::pair{"pngsuite/.*a16\\.png$", 2}, {"pngsuite/.*16\\.png$", 1},
                                             {"bmpsuite/.*rgb16", 7}, {"^jpeg/", 2}})
        if (QRegularExpression(QString::fromLatin1(pattern)).match(file).hasMatch())
            return tolerance;
    return 0;
}

TEST(RealFiles, EveryPictureLoadsAsTheTestDataExpects)
{
    const std::vector<TestPicture> rows = ReadTestPictures();
    // The README's own tally: 175 PNG (161 decode, 14 reject), 59 BMP, 8 GIF, 7 ICO, 10 JPEG.
    ASSERT_EQ(rows.size(), 175u + 59u + 8u + 7u + 10u);
    std::map<Expect, int> counts;
    for (const TestPicture& expected : rows) {
        SCOPED_TRACE(expected.file.toStdString());
        ++counts[expected.expect];
        const LoadedPicture loaded = LoadSourcePicture(QStringLiteral(LAYERPIX_TESTDATA "/") + expected.file, HolderBackColour);
        const bool opened = loaded && *loaded;
        if (expected.expect == Expect::Decode || expected.expect == Expect::Reject) {
            EXPECT_EQ(opened, expected.expect == Expect::Decode) << (loaded ? "" : loaded.failure().english);
        }
        if (!opened) {
            EXPECT_FALSE(loaded);
            continue;
        }
        EXPECT_TRUE(!expected.size.isValid() || (*loaded)->size() == expected.size);
        // Questionable files may decode to other colours than the reference (Qt's readers give
        // pixels that RLE codes skip any colour, for one): the size is all they must match.
        if (expected.expect != Expect::Decode)
            continue;
        std::optional<QImage> reference = ReferenceOver(expected.file, HolderBackColour);
        ASSERT_TRUE(reference) << "no reference decode";
        // The references keep EXIF orientation unapplied; the loader shows photos upright.
        if (expected.file == QLatin1String("jpeg/hopper_orientation_6.jpg"))
            reference = reference->transformed(QTransform().rotate(90));
        EXPECT_TRUE(SamePixels(*reference, **loaded, ReferenceTolerance(expected.file)));
    }
    EXPECT_GE(counts[Expect::Decode], 161 + 23);
    EXPECT_GE(counts[Expect::Reject], 14);
    EXPECT_EQ(counts[Expect::Unclassified], 0);
}
} // namespace
