#include "TestDataTable.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

void PrintTo(const TestPicture& picture, std::ostream* out)
{
    *out << picture.file.toStdString() << " (" << picture.expectation.toStdString() << ")";
}

QString TestDataPath(const QString& file)
{
    return QStringLiteral(LAYERPIX_TESTDATA "/") + file;
}

namespace {
QStringList Lines(const QString& file)
{
    QFile in(TestDataPath(file));
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QTextStream(&in).readAll().split('\n');
}

// "decode 127x64 or reject", "**reject**, or decode 16x16 ...", "questionable: ...".
void Classify(TestPicture& picture)
{
    QString words = picture.expectation;
    words.remove(QStringLiteral("**"));
    static const QRegularExpression size(QStringLiteral("(\\d+)x(\\d+)"));
    static const QRegularExpression alternative(QStringLiteral("\\bor (decode|a |partial|reject)"));
    if (const auto match = size.match(words); match.hasMatch())
        picture.size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
    if (words.startsWith(QLatin1String("questionable")) || alternative.match(words).hasMatch())
        picture.expect = Expectation::Either;
    else if (words.startsWith(QLatin1String("reject")))
        picture.expect = Expectation::Reject;
    else if (words.startsWith(QLatin1String("decode")) && picture.size.isValid())
        picture.expect = Expectation::Decode;
    else
        picture.expectation.prepend(QStringLiteral("unclassified: "));
}
} // namespace

std::vector<TestPicture> ReadTestPictures()
{
    // Tables follow headings "## <folder>/"; rows read "| `file` | expected | ... |".
    static const QRegularExpression heading(QStringLiteral("^## ([a-z]+)/\\s*$"));
    static const QRegularExpression row(QStringLiteral("^\\| `([^`]+)` \\| ([^|]+) \\|"));
    std::vector<TestPicture> pictures;
    QString folder;
    for (const QString& line : Lines(QStringLiteral("README.md"))) {
        if (const auto match = heading.match(line); match.hasMatch()) {
            folder = match.captured(1);
            continue;
        }
        const auto match = row.match(line);
        if (folder.isEmpty() || !match.hasMatch())
            continue;
        TestPicture picture;
        picture.file = folder + '/' + match.captured(1);
        picture.expectation = match.captured(2).trimmed();
        Classify(picture);
        pictures.push_back(picture);
    }
    return pictures;
}

std::optional<QImage> ReferenceDecode(const QString& file)
{
    for (const QString& line : Lines(QStringLiteral("reference/MANIFEST.tsv"))) {
        const QStringList fields = line.split('\t');
        if (fields.size() < 3 || fields[0] != file)
            continue;
        QFile raw(TestDataPath(QStringLiteral("reference/") + file + QStringLiteral(".rgba")));
        if (!raw.open(QIODevice::ReadOnly))
            return std::nullopt;
        const QByteArray bytes = raw.readAll();
        const int width = fields[1].toInt(), height = fields[2].toInt();
        if (bytes.size() != qsizetype(width) * height * 4)
            return std::nullopt;
        return QImage(reinterpret_cast<const uchar*>(bytes.constData()), width, height,
                      width * 4, QImage::Format_RGBA8888)
            .copy();
    }
    return std::nullopt;
}

QImage OverBackground(const QImage& rgba, QColor background)
{
    QImage out(rgba.size(), QImage::Format_RGB32);
    const QImage in = rgba.convertToFormat(QImage::Format_ARGB32);
    const auto blend = [](int a, int picture, int back) {
        return (a * picture + (255 - a) * back + 127) / 255;
    };
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x) {
            const QRgb p = in.pixel(x, y);
            const int a = qAlpha(p);
            out.setPixel(x, y, qRgb(blend(a, qRed(p), background.red()),
                                    blend(a, qGreen(p), background.green()),
                                    blend(a, qBlue(p), background.blue())));
        }
    return out;
}

QImage TurnedClockwise(const QImage& picture)
{
    QImage out(picture.height(), picture.width(), picture.format());
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y, picture.pixel(y, picture.height() - 1 - x));
    return out;
}

int ReferenceTolerance(const QString& file)
{
    // 16-bit PNG samples: the reference rounds to 8 bits, the codec keeps the high byte; with
    // alpha, the alpha's lost level adds one more after drawing over the background.
    static const QRegularExpression png16(QStringLiteral("pngsuite/.*16\\.png$"));
    static const QRegularExpression png16Alpha(QStringLiteral("pngsuite/.*a16\\.png$"));
    // Qt widens 5- and 6-bit BMP channels by shifting without filling the low bits, so
    // full intensity reads 248 where the reference has 255.
    static const QRegularExpression bmp16(QStringLiteral("bmpsuite/.*rgb16"));
    if (png16Alpha.match(file).hasMatch())
        return 2;
    if (png16.match(file).hasMatch())
        return 1;
    if (bmp16.match(file).hasMatch())
        return 7;
    if (file.startsWith(QLatin1String("jpeg/")))
        return 2;
    return 0;
}
