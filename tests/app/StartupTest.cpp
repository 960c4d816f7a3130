// Start-up and shutdown through the real main window and a real settings file.
#include "app/Main.h"
#include "support/Controls.h"
#include "support/FolderSnapshot.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
class Startup : public testing::Test {
protected:
    void WriteIni(const QByteArray& bytes) const
    {
        QFile file(program.filePath("Layerpix.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QByteArray ReadIni() const
    {
        return QByteArray::fromStdString(ReadBytes(program.filePath("Layerpix.ini").toStdString()));
    }
    // A green picture `width` pixels wide, written to `name` in the program folder.
    QString Picture(const QString& name, int width) const
    {
        QImage picture(width, 20, QImage::Format_RGB32);
        picture.fill(Qt::green);
        EXPECT_TRUE(picture.save(program.filePath(name)));
        return program.filePath(name);
    }
    static TextField& Field(const Session& session, int slot)
    {
        return Find<TextField>(session.form, QStringLiteral("FLD(%1)").arg(slot));
    }

    QTemporaryDir program;
    ScriptedDialogsScope dialogs;
};

TEST_F(Startup, ANumberThatCannotBeReadStopsTheStartNamingItAndLeavesTheFile)
{
    const std::pair<QByteArray, QStringList> rows[] = {
        {"[Param]\r\nTransColor=\r\n[JPEG]\r\nRate=fifty\r\n",
         {program.filePath("Layerpix.ini"), "[Param]", "TransColor", "型が一致しません"}},
        {"[Param]\nTransRate=32768\n", {"32768", "オーバーフロー"}}};
    for (const auto& [text, parts] : rows) {
        WriteIni(text);
        dialogs->messages.clear();
        dialogs->messageAnswers.push_back(IDOK);
        EXPECT_FALSE(StartUp(program.path()));
        ASSERT_EQ(dialogs->messages.size(), 1u);
        for (const QString& part : parts)
            EXPECT_TRUE(dialogs->messages[0].text.contains(part)) << dialogs->messages[0].text.toStdString();
        EXPECT_EQ(ReadIni(), text);
    }
}

// Closing asks nothing and stores what the fields hold, typed but never opened (the next
// start's restoring has its own test).
TEST_F(Startup, ClosingStoresTypedPathsAndTheRateWithoutAskingAnything)
{
    const QString typed = QStringLiteral("/typed/but/never/opened.png");
    const auto session = StartUp(program.path());
    ASSERT_TRUE(session);
    QTest::keyClicks(&Field(*session, 0), typed);
    Find<ScrollBar>(session->form, "Trans").triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_TRUE(session->form.close());
    EXPECT_TRUE(ReadIni().contains("Front=" + typed.toUtf8() + "\n")) << ReadIni().toStdString();
    EXPECT_TRUE(ReadIni().contains("TransRate=99\n")) << ReadIni().toStdString();
    EXPECT_TRUE(dialogs->messages.empty());
}

// Each picture is known by its width, 0 for none; the file keeps the restored paths until
// the window closes.
TEST_F(Startup, RestoredValuesAndPicturesNamedAtTheStartReachTheWindow)
{
    const QString savedBack = Picture("saved-back.bmp", 12), front = Picture("front.png", 21), back = Picture("back.png", 22);
    const QString missing = QStringLiteral("/nowhere/front.png");
    const struct { std::optional<QString> front, back; QString shownFront, shownBack; int frontWidth, backWidth; } rows[] = {
        {{}, {}, missing, savedBack, 0, 12}, {{}, back, missing, back, 0, 22}, {front, back, front, back, 21, 22},
        {QString(), missing, {}, missing, 0, 0}};
    const QByteArray restored = "[Image]\nFront=" + missing.toUtf8() + "\nBack=" + savedBack.toUtf8() + "\n";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shownFront.toStdString() + " / " + row.shownBack.toStdString());
        WriteIni(restored + "[Param]\nTransColor=255\nTransRate=-40\n");
        const auto session = StartUp(program.path(), {.Front = row.front, .Back = row.back, .Text = {}});
        ASSERT_TRUE(session);
        EXPECT_EQ(std::pair(Field(*session, 0).text(), Field(*session, 1).text()), std::pair(row.shownFront, row.shownBack));
        const Surface* held = session->document.PicImg;
        EXPECT_EQ(std::pair(held[0].HasPicture() ? held[0].Width() : 0, held[1].HasPicture() ? held[1].Width() : 0),
                  std::pair(row.frontWidth, row.backWidth));
        EXPECT_EQ(Find<Label>(session->form, "DSP(0)").BackColour(), QColor(Qt::red));
        EXPECT_EQ(Find<Label>(session->form, "DSP(1)").text(), QStringLiteral("100"));
        EXPECT_TRUE(ReadIni().startsWith(restored));
        session->form.close();
        EXPECT_TRUE(ReadIni().startsWith("[Image]\nFront=" + row.shownFront.toUtf8() + "\nBack=" + row.shownBack.toUtf8()));
    }
}
} // namespace
