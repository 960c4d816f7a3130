// Start-up and shutdown through the real main window and a real settings file.
#include "core/settings/SettingsFolder.h"
#include "app/Main.h"
#include "support/ScriptedDialogs.h"
#include "windows/main/frmMain.h"

#include <QDir>
#include <QImage>
#include <QTest>

#include <random>

namespace {
class Startup : public SettingsFolder {
protected:
    // A green picture `width` pixels wide and 20 high, written to `name` in the program folder.
    QString Picture(const QString& name, int width = 30) const
    {
        const QString path = program.filePath(name);
        QImage picture(width, 20, QImage::Format_RGB32);
        picture.fill(Qt::green);
        EXPECT_TRUE(picture.save(path));
        return path;
    }

    ScriptedDialogsScope dialogs;
};

// The saved foreground no longer exists; the background, in Shift-JIS as the earlier program
// wrote it, opens and keeps its bytes; the rate lies beyond the spinner's range.
TEST_F(Startup, RestoredValuesReachTheControlsAndAShiftJisPathKeepsItsBytes)
{
    ASSERT_TRUE(QDir(program.path()).mkdir(QStringLiteral("写真 フォルダ")));
    const QString back = Picture(QStringLiteral("写真 フォルダ/背景 1.bmp"));
    const QByteArray line = "Back=" + program.path().toUtf8()
                            + "/\x8e\xca\x90^ \x83t\x83H\x83\x8b\x83_/\x94w\x8ci 1.bmp\r\n";
    WriteIni("[Image]\r\nFront=/nowhere/front.png\r\n" + line +
             "[Param]\r\nTransColor=255\r\nTransRate=-40\r\n");
    auto form = StartUp(program.path());
    ASSERT_TRUE(form);
    EXPECT_EQ(form->FLD[0]->text(), QStringLiteral("/nowhere/front.png"));
    EXPECT_FALSE(form->PicImg[0]->surface().HasPicture());
    EXPECT_EQ(form->FLD[1]->text(), back);
    EXPECT_EQ(form->PicImg[1]->surface().Image().size(), QSize(30, 20));
    EXPECT_EQ(form->AREA[1]->surface().Image().pixelColor(5, 5), QColor(Qt::green));
    EXPECT_EQ(form->DSP[0]->BackColor(), QColor(255, 0, 0));
    EXPECT_EQ(form->Trans->Value(), 0);
    EXPECT_EQ(form->DSP[1]->text(), QStringLiteral("100"));
    EXPECT_EQ(Settings.TransRate, 0);
    EXPECT_TRUE(ReadIni().contains(line)) << "after the start-up save";
    form->close();
    EXPECT_TRUE(ReadIni().contains(line)) << "after closing";
    EXPECT_TRUE(ReadIni().contains("Front=/nowhere/front.png"));
}

// Settings files that no program writes: start-up neither crashes nor hangs, and what it
// cannot improve on stays as it was.
TEST_F(Startup, SurvivesSettingsFilesOfEveryShape)
{
    const QByteArray keys = "[Image]\nFront=\nBack=\n[Param]\nTransColor=255\nTransRate=100\n"
                            "[JPEG]\nRate=50\nPrgrs=0\n[PNG]\nRate=1\n";
    QByteArray garbage(256 * 1024, Qt::Uninitialized);
    std::mt19937 random(11);
    for (char& byte : garbage)
        byte = char(random());
    const QByteArray tenMegabytes = QByteArray("; " + QByteArray(98, 'x') + "\n").repeated(100'000);
    const QString longPath = u'/' + QString(100 * 1024, u'p');
    const struct {
        const char* what;
        QByteArray file;
        QColor swatch;
        QString front;
        bool everyKey;   // then saving changes nothing
    } rows[] = {
        {"binary garbage", garbage, Qt::black, {}, false},
        {"10 MB long", tenMegabytes + keys, Qt::red, {}, true},
        {"a 100 KB value", "[Image]\nFront=" + longPath.toUtf8() + "\n" + keys.sliced(15), Qt::red,
         longPath, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Settings = SettingsRecord{};
        WriteIni(row.file);
        auto form = StartUp(program.path());
        ASSERT_TRUE(form);
        EXPECT_EQ(form->DSP[0]->BackColor(), row.swatch);
        EXPECT_TRUE(form->FLD[0]->text() == row.front)
            << form->FLD[0]->text().size() << " characters instead of " << row.front.size();
        form->close();
        // What the program did not change is still there byte for byte, the rest follows it.
        EXPECT_TRUE(ReadIni().startsWith(row.file));
        EXPECT_EQ(ReadIni() == row.file, row.everyKey);
    }
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(Startup, ANumberThatCannotBeReadStopsTheStartNamingItAndLeavesTheFile)
{
    const std::pair<QByteArray, QStringList> rows[] = {
        {"[Param]\r\nTransColor=\r\n[JPEG]\r\nRate=fifty\r\n",
         {Ini(), "[Param]", "TransColor", "型が一致しません"}},
        {"[Param]\nTransRate=32768\n", {"32768", "オーバーフロー"}},
    };
    for (const auto& [text, parts] : rows) {
        SCOPED_TRACE(text.toStdString());
        WriteIni(text);
        dialogs->messages.clear();
        dialogs->messageAnswers.push_back(IDOK);
        EXPECT_FALSE(StartUp(program.path()));
        ASSERT_EQ(dialogs->messages.size(), 1u);
        for (const QString& part : parts)
            EXPECT_TRUE(dialogs->messages[0].text.contains(part))
                << dialogs->messages[0].text.toStdString() << " lacks " << part.toStdString();
        EXPECT_EQ(ReadIni(), text);
    }
}

// Closing stores what the path fields hold, typed but never opened, and the rate, without a
// question; the next start shows them again. (The X server test closes with the button.)
TEST_F(Startup, ClosingStoresTypedPathsWithoutAskingAnything)
{
    const QString typed = QStringLiteral("/typed/but/never/opened.png");
    for (int start = 0; start < 2; ++start) {
        Settings = SettingsRecord{};
        auto form = StartUp(program.path());
        ASSERT_TRUE(form);
        EXPECT_EQ(form->FLD[0]->text(), start == 0 ? QString() : typed);
        form->FLD[0]->clear();
        QTest::keyClicks(form->FLD[0], typed);
        form->Trans->triggerAction(QAbstractSlider::SliderSingleStepSub);
        EXPECT_TRUE(form->close());
        EXPECT_TRUE(dialogs->messages.empty());
        const QByteArray saved = ReadIni();
        EXPECT_TRUE(saved.contains("Front=" + typed.toUtf8() + '\n')) << saved.toStdString();
        EXPECT_TRUE(saved.contains("TransRate=" + QByteArray::number(99 - start) + '\n'))
            << saved.toStdString();
    }
}

TEST_F(Startup, PicturesNamedAtTheStartReplaceTheRestoredOnesUntilClosing)
{
    const QString savedFront = Picture(QStringLiteral("saved-front.bmp"), 11);
    const QString savedBack = Picture(QStringLiteral("saved-back.bmp"), 12);
    const QString namedFront = Picture(QStringLiteral("named-front.png"), 21);
    const QString namedBack = Picture(QStringLiteral("named-back.png"), 22);
    const QString missing = program.filePath(QStringLiteral("missing.png"));
    const struct {
        std::optional<QString> front, back;
        QString expectFront, expectBack;
        int frontWidth, backWidth;   // each picture is known by its width; 0: none
    } rows[] = {
        {{}, {}, savedFront, savedBack, 11, 12},
        {{}, namedBack, savedFront, namedBack, 11, 22},
        {namedFront, namedBack, namedFront, namedBack, 21, 22},
        {QString(), namedBack, QString(), namedBack, 0, 22},
        {{}, missing, savedFront, missing, 11, 0},
    };
    const QByteArray restored =
        "[Image]\nFront=" + savedFront.toUtf8() + "\nBack=" + savedBack.toUtf8() + "\n";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expectFront.toStdString() + " / " + row.expectBack.toStdString());
        WriteIni(restored);
        Settings = SettingsRecord{};
        auto form = StartUp(program.path(), {.Front = row.front, .Back = row.back, .Text = {}});
        ASSERT_TRUE(form);
        EXPECT_EQ(form->FLD[0]->text(), row.expectFront);
        EXPECT_EQ(form->FLD[1]->text(), row.expectBack);
        const auto width = [&form](int slot) {
            const Surface& held = form->PicImg[slot]->surface();
            return held.HasPicture() ? held.Width() : 0;
        };
        EXPECT_EQ(width(0), row.frontWidth);
        EXPECT_EQ(width(1), row.backWidth);
        EXPECT_TRUE(ReadIni().startsWith(restored));
        form->close();
        const QByteArray closed = ReadIni();
        EXPECT_TRUE(closed.contains("Front=" + row.expectFront.toUtf8() + "\n"));
        EXPECT_TRUE(closed.contains("Back=" + row.expectBack.toUtf8() + "\n"));
    }
}
} // namespace
