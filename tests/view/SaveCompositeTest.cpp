#include "support/PixelAssert.h"
#include "support/QtPrinters.h"
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
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name); }
    QImage Decoded(const QString& name) const { return QImage(Path(name)).convertToFormat(QImage::Format_RGB32); }
    const QImage& Board() { return view->Board->surface().Image(); }

    QTemporaryDir dir;
};

// Every file is decoded back by Qt's own readers: bitmaps and PNG files exactly, JPEG
// files within a few levels.
TEST_F(SaveComposite, WritesTheFinalNameInItsFormatAndItReadsBack)
{
    const struct {
        const char* typed;   // %1 stands for the folder: the dialog joins it to the typed name
        std::int32_t filter;
        const char* written;
        QByteArray format;
    } cases[] = {{"%1/photo", 1, "photo.BMP", "bmp"}, {"%1/photo", 3, "photo.JPG", "jpeg"},
                 {"%1/photo", 4, "photo.PNG", "png"}, {"%1/  sp  ", 1, "sp.BMP", "bmp"},
                 {"%1/  my photo.png  ", 1, "my photo.png", "png"}, {"%1/写真", 3, "写真.JPG", "jpeg"}};
    QStringList written;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.typed << "\" with filter " << c.filter);
        Save(QString::fromUtf8(c.typed).arg(dir.path()), c.filter);
        written << QString::fromUtf8(c.written);
        QImageReader reader(Path(written.last()));
        EXPECT_EQ(reader.format(), c.format);
        const QImage decoded = reader.read().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(SamePixels(Board(), decoded, c.format == "jpeg" ? 3 : 0));
    }
    written.sort();
    EXPECT_EQ(Files(), written);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(SaveComposite, ANameOfSpacesOnlySavesNothing)
{
    for (const int filter : {1, 3}) {
        Save(dir.path() + QStringLiteral("/   "), filter);
        EXPECT_TRUE(Files().isEmpty());
        EXPECT_TRUE(dialogs->messages.empty());
    }
}

TEST_F(SaveComposite, AnExistingFileIsReplacedOnlyAfterYesAnEmptyOneWithoutAQuestion)
{
    WriteAll(Path("empty.BMP"), {});
    Save(Path("empty"), 2);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(SamePixels(Board(), Decoded("empty.BMP")));

    WriteAll(Path("kept.PNG"), "old");
    dialogs->messageAnswers.push_back(IDNO);
    Save(Path("kept"), 4);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("上書きしますか？\r\n") + Path("kept.PNG"));
    EXPECT_EQ(dialogs->messages[0].title, QStringLiteral("上書き確認"));
    EXPECT_EQ(dialogs->messages[0].type, 0x24u);
    EXPECT_EQ(ReadAll(Path("kept.PNG")), QByteArray("old"));

    dialogs->messageAnswers.push_back(IDYES);
    Save(Path("kept"), 4);
    EXPECT_EQ(dialogs->messages.size(), 2u);
    EXPECT_TRUE(SamePixels(Board(), Decoded("kept.PNG")));
    EXPECT_EQ(Files(), (QStringList{"empty.BMP", "kept.PNG"}));
}

// Any failure after the name was confirmed is reported, and a file already there is kept.
TEST_F(SaveComposite, FailuresAreReportedAndKeepTheExistingFile)
{
    const struct {
        std::int16_t jpegRate, pngRate;
        const char *typed, *reasonPart;
        std::int32_t filter;
        bool exists;   // then it is replaced after "Yes"
    } cases[] = {{300, 1, "over.JPG", "300", 3, true}, {50, -1, "under.PNG", "-1", 4, true},
                 {50, 7, "seven.PNG", "rate", 4, true}, {50, 1, "missing/pic.BMP", "", 2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Settings.JpegRate = c.jpegRate;
        Settings.PngRate = c.pngRate;
        dialogs->messages.clear();
        if (c.exists) {
            WriteAll(Path(c.typed), "old");
            dialogs->messageAnswers.push_back(IDYES);
        }
        dialogs->messageAnswers.push_back(IDOK);
        Save(Path(c.typed), c.filter);
        ASSERT_EQ(dialogs->messages.size(), c.exists ? 2u : 1u);
        const MessageBoxRequest& report = dialogs->messages.back();
        EXPECT_EQ(report.title, QStringLiteral("保存エラー"));
        EXPECT_TRUE(report.text.startsWith(Path(c.typed) + QStringLiteral("\r\n")));
        EXPECT_TRUE(report.text.contains(QLatin1String(c.reasonPart))) << report.text.toStdString();
        EXPECT_EQ(ReadAll(Path(c.typed)), QByteArray(c.exists ? "old" : ""));
    }
    EXPECT_EQ(Files(), (QStringList{"over.JPG", "seven.PNG", "under.PNG"}));
}

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
}
} // namespace
