#include "support/FolderSnapshot.h"
#include "support/PixelAssert.h"
#include "windows/view/ViewFixture.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

namespace {
using Strings = std::vector<std::string>;

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

    // Answers the save dialog as it does, with the folder and the typed text, and `filter`.
    void Save(const QString& typed, std::int32_t filter)
    {
        dialogs->saveAnswers.push_back(FileDialogAnswer{true, Path(typed), filter});
        QTest::mouseRelease(view->Board, Qt::RightButton, {}, QPoint(5, 5));
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    std::string Bytes(const QString& name) const { return ReadBytes(Path(name).toStdString()); }
    void Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    ::testing::AssertionResult Shows(const QString& name, int tolerance = 0)
    {
        const QImage decoded = QImage(Path(name)).convertToFormat(QImage::Format_RGB32);
        return SamePixels(view->Board->surface().Image(), decoded, tolerance);
    }

    QTemporaryDir dir;
};

// The format goes by the name (its own table holds the rules); each file reads back with
// Qt's own readers, JPEG within a few levels. A name of spaces only saves nothing.
TEST_F(SaveComposite, TrimsTheTypedNameAndWritesItsFormat)
{
    const struct { const char* typed; std::int32_t filter; const char* written; QByteArray format; } cases[] = {
        {"  sp  ", 1, "sp.BMP", "bmp"}, {"  my photo.png  ", 1, "my photo.png", "png"},
        {"写真", 3, "写真.JPG", "jpeg"}, {"   ", 1, nullptr, {}}, {"   ", 3, nullptr, {}}};
    Strings written;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.typed << "\" with filter " << c.filter);
        Save(QString::fromUtf8(c.typed), c.filter);
        if (c.written) {
            written.push_back(c.written);
            EXPECT_EQ(QImageReader(Path(QString::fromUtf8(c.written))).format(), c.format);
            EXPECT_TRUE(Shows(QString::fromUtf8(c.written), c.format == "jpeg" ? 3 : 0));
        }
        std::sort(written.begin(), written.end());
        EXPECT_EQ(Names(dir.path().toStdString()), written);
    }
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(SaveComposite, AnExistingFileIsReplacedOnlyAfterYesAnEmptyOneWithoutAQuestion)
{
    Write("empty.BMP", {});
    Save("empty", 2);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(Shows("empty.BMP"));

    Write("kept.PNG", "old");
    dialogs->messageAnswers = {IDNO, IDYES};
    Save("kept", 4);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("上書きしますか？\r\n") + Path("kept.PNG"));
    EXPECT_EQ(dialogs->messages[0].title, QStringLiteral("上書き確認"));
    EXPECT_EQ(dialogs->messages[0].type, 0x24u);
    EXPECT_EQ(Bytes("kept.PNG"), "old");
    Save("kept", 4);
    EXPECT_EQ(dialogs->messages.size(), 2u);
    EXPECT_TRUE(Shows("kept.PNG"));
    EXPECT_EQ(Names(dir.path().toStdString()), (Strings{"empty.BMP", "kept.PNG"}));
}

// Any failure after the name was confirmed is reported in Japanese; a file already there is kept.
TEST_F(SaveComposite, FailuresAreReportedAndKeepTheExistingFile)
{
    const struct { std::int16_t jpegRate, pngRate; const char *typed, *reasonPart; std::int32_t filter; bool exists; } cases[] = {{300, 1, "over.JPG", "300", 3, true}, {50, -1, "under.PNG", "-1", 4, true},
                 {50, 7, "seven.PNG", "圧縮率", 4, true}, {50, 1, "missing/pic.BMP", "", 2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Settings.JpegRate = c.jpegRate;
        Settings.PngRate = c.pngRate;
        dialogs->messages.clear();
        if (c.exists) {
            Write(c.typed, "old");
            dialogs->messageAnswers.push_back(IDYES);
        }
        dialogs->messageAnswers.push_back(IDOK);
        Save(c.typed, c.filter);
        ASSERT_EQ(dialogs->messages.size(), c.exists ? 2u : 1u);
        const MessageBoxRequest& report = dialogs->messages.back();
        EXPECT_EQ(report.title, QStringLiteral("保存エラー"));
        EXPECT_TRUE(report.text.startsWith(Path(c.typed) + QStringLiteral("\r\n")));
        EXPECT_TRUE(report.text.contains(QString::fromUtf8(c.reasonPart))) << report.text.toStdString();
        EXPECT_EQ(Bytes(c.typed), c.exists ? "old" : "<unreadable>");
    }
    EXPECT_EQ(Names(dir.path().toStdString()), (Strings{"over.JPG", "seven.PNG", "under.PNG"}));

    // A file used as a folder: the system says "not a directory", and only the save ends.
    Write("plain", "x");
    dialogs->messages.clear();
    dialogs->messageAnswers.push_back(IDOK);
    Save("plain/inner", 2);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].title, QStringLiteral("システムエラー"));
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("20:Not a directory"));
    EXPECT_EQ(dialogs->messages[0].type, MB_OK | MB_ICONSTOP);
}
} // namespace
