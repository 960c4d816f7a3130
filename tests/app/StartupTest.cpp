// Start-up and shutdown through the real main window and a real settings file.
#include "app/Main.h"
#include "support/Controls.h"
#include "support/FolderSnapshot.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPictures.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
class Startup : public testing::Test {
protected:
    QByteArray Ini() const { return QByteArray::fromStdString(ReadBytes(ini.toStdString())); }
    void WriteIni(const QByteArray& bytes) const
    {
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    QTemporaryDir program;
    const QString ini = program.filePath("Layerpix.ini");
    ScriptedDialogsScope dialogs;
};

// The settings' own message (what it names, their test shows); no window, and the file stays
// for the user to mend.
TEST_F(Startup, ANumberThatCannotBeReadStopsTheStartAndLeavesTheFile)
{
    const QByteArray text = "[Param]\r\nTransColor=\r\n[JPEG]\r\nRate=fifty\r\n";
    WriteIni(text);
    dialogs->messageAnswers.push_back(IDOK);
    EXPECT_FALSE(StartUp(program.path()));
    EXPECT_EQ(dialogs->messages.at(0).text, QString::fromStdString(LoadSettings(program.path()).failure().japanese));
    EXPECT_EQ(Ini(), text);
}

// Pictures named at the start replace the restored ones, as if typed into the path fields; a
// restored one that is replaced is never opened (the pictures differ in width). The settings
// are written straight back (the rate clamped) and keep the restored paths until the window
// closes; closing asks nothing and stores what the fields then hold, opened or only typed ("x").
TEST_F(Startup, RestoredValuesAndPicturesNamedAtTheStartReachTheWindow)
{
    const auto picture = [this](int width) {
        const QString path = program.filePath(QStringLiteral("%1.bmp").arg(width));
        return NoisePicture(width, 20, 1).save(path) ? path : QString();
    };
    const QString savedBack = picture(12), front = picture(21), back = picture(22), missing = "/nowhere/front.png";
    const QByteArray restored = "[Image]\nFront=" + missing.toUtf8() + "\nBack=" + savedBack.toUtf8()
                                + "\n[Param]\nTransColor=255\nTransRate=";
    using Named = std::optional<QString>;
    const std::pair<Named, Named> rows[] = {{}, {{}, back}, {front, back}, {QString(), missing}};
    for (const auto& [namedFront, namedBack] : rows) {
        WriteIni(restored + "-40\n");
        const auto session = StartUp(program.path(), {.Front = namedFront, .Back = namedBack, .Text = {}});
        ASSERT_TRUE(session);
        const QWidget& form = session->form;
        const Surface* held = session->document.PicImg;
        const QString shownFront = namedFront.value_or(missing), shownBack = namedBack.value_or(savedBack);
        EXPECT_EQ(std::tuple(Find<TextField>(form, "FLD(0)").text(), Find<TextField>(form, "FLD(1)").text(),
                             held[0].HasPicture() ? held[0].Width() : 0, held[1].HasPicture() ? held[1].Width() : 0,
                             Find<Label>(form, "DSP(0)").BackColour(), Find<Label>(form, "DSP(1)").text()),
                  std::tuple(shownFront, shownBack, QImage(shownFront).width(), QImage(shownBack).width(),
                             QColor(Qt::red), QStringLiteral("100")));
        EXPECT_TRUE(Ini().startsWith(restored + "0\n"));
        QTest::keyClicks(&Find<TextField>(form, "FLD(1)"), "x");
        session->form.close();
        const QString stored = "[Image]\nFront=" + shownFront + "\nBack=" + shownBack + "x\n";
        EXPECT_TRUE(Ini().startsWith(stored.toUtf8())) << Ini().toStdString();
    }
}
} // namespace
