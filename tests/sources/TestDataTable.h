#pragma once
// The public test pictures of LAYERPIX_TESTDATA as its README describes them: what a
// loader is expected to do with each file, and the reference decodes.
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>
#include <ostream>
#include <vector>

enum class Expectation {
    Decode, // must decode to `size` and match the reference
    Reject, // must fail
    Either, // may fail; a decode must have `size` and match a reference where one exists
};

struct TestPicture {
    QString file;        // relative to the test data folder, e.g. "bmpsuite/g/pal1.bmp"
    QString expectation; // the README's words
    Expectation expect = Expectation::Either;
    QSize size;          // the size the README names; invalid when it names none
};

void PrintTo(const TestPicture& picture, std::ostream* out);

QString TestDataPath(const QString& file);

// Every row of the README's file tables. A row whose words fit no rule is returned with
// an invalid `size` and Expectation::Either and `expectation` prefixed by "unclassified: ".
std::vector<TestPicture> ReadTestPictures();

// The reference decode of `file` (RGBA, straight alpha) from reference/MANIFEST.tsv, or
// std::nullopt when the test data has none.
std::optional<QImage> ReferenceDecode(const QString& file);

// What a loader that draws alpha over `background` shows: each channel
// (a * reference + (255 - a) * background + 127) / 255, as RGB32.
QImage OverBackground(const QImage& rgba, QColor background);

// The picture turned a quarter clockwise, as EXIF orientation 6 asks.
QImage TurnedClockwise(const QImage& picture);

// The channel tolerance for comparing a decode of `file` with its reference.
int ReferenceTolerance(const QString& file);
