#include "support/PixelAssert.h"
#include "view/ViewFixture.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

namespace {
QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The marker of the first frame of a JPEG file: 0xC0 baseline, 0xC2 progressive; 0 if
// none comes before the scan.
int FrameMarker(const QByteArray& jpeg)
{
    int at = 2;
    while (at + 4 <= jpeg.size() && std::uint8_t(jpeg[at]) == 0xFF) {
        const int marker = std::uint8_t(jpeg[at + 1]);
        if (marker == 0xDA)
            return 0;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return marker;
        at += 2 + (std::uint8_t(jpeg[at + 2]) << 8 | std::uint8_t(jpeg[at + 3]));
    }
    return 0;
}

class SaveComposite : public ViewFixture {
protected:
    void SetUp() override
    {
        ViewFixture::SetUp();
        // A smooth composite (the background alone), which JPEG keeps within a few levels.
        Settings.TransRate = 0;
        main.BTN_Click(0);
        Settings.JpegRate = 1;
        Settings.JpegPrgrs = 0;
        Settings.PngRate = 1;
    }

    // Answers the save dialog with `typed` and `filter` and releases the right button.
    void Save(const QString& typed, std::int32_t filter)
    {
        dialogs->saveAnswers.push_back(FileDialogAnswer{true, typed, filter});
        QTest::mouseRelease(view->Board, Qt::RightButton, {}, QPoint(5, 5));
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }
    const QImage& Board() { return view->Board->surface().Image(); }

    QTemporaryDir dir;
};

struct SaveCase {
    QString typed;
    std::int32_t filter;
    QString written;
    QByteArray format;
};

void PrintTo(const SaveCase& c, std::ostream* os)
{
    *os << "\"" << c.typed.toStdString() << "\" with filter " << c.filter;
}

class SaveAs : public SaveComposite, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveAs, WritesTheFinalNameInItsFormatAndItReadsBack)
{
    const SaveCase& c = GetParam();
    Save(c.typed.arg(dir.path()), c.filter);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(Files(), QStringList{c.written});
    QImageReader reader(Path(c.written));
    EXPECT_EQ(reader.format(), c.format);
    const QImage decoded = reader.read().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(decoded.isNull()) << reader.errorString().toStdString();
    EXPECT_TRUE(SamePixels(Board(), decoded, c.format == "jpeg" ? 3 : 0));
}

INSTANTIATE_TEST_SUITE_P(
    Export, SaveAs,
    ::testing::Values(SaveCase{"%1/photo", 3, "photo.JPG", "jpeg"},
                      SaveCase{"%1/photo", 1, "photo.BMP", "bmp"},
                      SaveCase{"%1/photo.png", 2, "photo.png.BMP", "bmp"},
                      SaveCase{"%1/photo.jpeg", 1, "photo.jpeg.BMP", "bmp"},
                      SaveCase{"%1/photo.Jpg", 1, "photo.Jpg", "jpeg"},
                      SaveCase{"%1/photo.png", 1, "photo.png", "png"},
                      SaveCase{"%1/p", 4, "p.PNG", "png"},
                      SaveCase{"%1/p", 2, "p.BMP", "bmp"},
                      SaveCase{"  %1/spaced.png  ", 4, "spaced.png", "png"},
                      SaveCase{"%1/写真", 3, "写真.JPG", "jpeg"}));

TEST_F(SaveComposite, CancelOrANameOfSpacesWritesNothing)
{
    dialogs->saveAnswers.push_back(FileDialogAnswer{});
    QTest::mouseRelease(view->Board, Qt::RightButton, {}, QPoint(5, 5));
    Save(QStringLiteral("    "), 1);
    EXPECT_TRUE(Files().isEmpty());
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(SaveComposite, AZeroByteFileIsReplacedWithoutAQuestion)
{
    WriteAll(Path("empty.BMP"), {});
    Save(Path("empty"), 2);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(SamePixels(Board(), QImage(Path("empty.BMP")).convertToFormat(QImage::Format_RGB32)));
}

TEST_F(SaveComposite, AnExistingFileIsReplacedOnlyAfterYes)
{
    WriteAll(Path("kept.PNG"), "old");
    dialogs->messageAnswers.push_back(IDNO);
    Save(Path("kept"), 4);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("上書きしますか？\r\n") + Path("kept.PNG"));
    EXPECT_EQ(dialogs->messages[0].title, QStringLiteral("上書き確認"));
    EXPECT_EQ(dialogs->messages[0].type, 0x24u);
    EXPECT_EQ(ReadAll(Path("kept.PNG")), QByteArray("old"));
    EXPECT_EQ(Files(), QStringList{"kept.PNG"});

    dialogs->messageAnswers.push_back(IDYES);
    Save(Path("kept"), 4);
    EXPECT_EQ(dialogs->messages.size(), 2u);
    EXPECT_TRUE(SamePixels(Board(), QImage(Path("kept.PNG")).convertToFormat(QImage::Format_RGB32)));
}

TEST_F(SaveComposite, TheProgressiveFlagWritesAProgressiveFrame)
{
    Save(Path("baseline"), 3);
    Settings.JpegPrgrs = -1;
    Save(Path("progressive"), 3);
    EXPECT_EQ(FrameMarker(ReadAll(Path("baseline.JPG"))), 0xC0);
    EXPECT_EQ(FrameMarker(ReadAll(Path("progressive.JPG"))), 0xC2);
    EXPECT_TRUE(SamePixels(Board(), QImage(Path("progressive.JPG")).convertToFormat(QImage::Format_RGB32), 3));
}

TEST_F(SaveComposite, TheRatesAreReadAtEachSave)
{
    Save(Path("fine"), 3);
    Settings.JpegRate = 95;
    Save(Path("coarse"), 3);
    EXPECT_LT(ReadAll(Path("coarse.JPG")).size(), ReadAll(Path("fine.JPG")).size());
}

struct FailureCase {
    const char* what;
    std::int16_t jpegRate, pngRate;
    const char* existing;   // a file there before, or nullptr
    const char* typed;      // relative to the folder
    std::int32_t filter;
    const char* reasonPart;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.what;
}

class SaveFailure : public SaveComposite, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SaveFailure, IsReportedAndKeepsTheExistingFile)
{
    const FailureCase& c = GetParam();
    Settings.JpegRate = c.jpegRate;
    Settings.PngRate = c.pngRate;
    QString final = Path(c.typed);
    if (c.existing) {
        final = Path(c.existing);
        WriteAll(final, "old");
        dialogs->messageAnswers.push_back(IDYES);
    }
    dialogs->messageAnswers.push_back(IDOK);
    Save(Path(c.typed), c.filter);
    ASSERT_FALSE(dialogs->messages.empty());
    const MessageBoxRequest& report = dialogs->messages.back();
    EXPECT_EQ(report.title, QStringLiteral("保存エラー"));
    EXPECT_TRUE(report.text.startsWith(final + QStringLiteral("\r\n"))) << report.text.toStdString();
    EXPECT_TRUE(report.text.contains(QLatin1String(c.reasonPart))) << report.text.toStdString();
    EXPECT_EQ(dialogs->messages.size(), c.existing ? 2u : 1u);
    if (c.existing) {
        EXPECT_EQ(ReadAll(final), QByteArray("old"));
        EXPECT_EQ(Files(), QStringList{QString::fromUtf8(c.existing)});
    } else {
        EXPECT_TRUE(Files().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Export, SaveFailure,
    ::testing::Values(
        FailureCase{"JPEG rate beyond a byte", 300, 1, "over.JPG", "over", 3, "300"},
        FailureCase{"PNG rate below zero", 50, -1, "under.PNG", "under", 4, "-1"},
        FailureCase{"JPEG rate the codec refuses", 0, 1, "zero.JPG", "zero", 3, "rate"},
        FailureCase{"PNG rate the codec refuses", 50, 7, "seven.PNG", "seven", 4, "rate"},
        FailureCase{"bitmap into a missing folder", 50, 1, nullptr, "missing/pic.BMP", 2, ""},
        FailureCase{"JPEG into a missing folder", 50, 1, nullptr, "missing/pic.JPG", 3, ""}));

TEST_F(SaveComposite, AnUnexpectedFileErrorEndsOnlyTheSave)
{
    WriteAll(Path("plain"), "x");
    dialogs->messageAnswers.push_back(IDOK);
    Save(Path("plain/inner"), 2);
    // A file used as a folder: the system says "not a directory", not "missing".
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].title, QStringLiteral("システムエラー"));
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("20:Not a directory"));
    EXPECT_EQ(dialogs->messages[0].type, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(Files(), QStringList{"plain"});
    // The program goes on: the next save works.
    Save(Path("after"), 2);
    EXPECT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(QFile::exists(Path("after.BMP")));
}
} // namespace
