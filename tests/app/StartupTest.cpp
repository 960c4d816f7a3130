// Start-up and shutdown through the real main window and a real settings file in a
// temporary program folder.
#include "app/Main.h"
#include "app/Settings.h"
#include "support/ScriptedDialogs.h"
#include "ui/frmMain.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <random>

namespace {
class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        Settings = SettingsRecord{};
        // Where the settings go when the program's folder cannot hold them.
        qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }
    QString IniPath() const { return folder.filePath(QStringLiteral("Layerpix.ini")); }
    void WriteIni(const QByteArray& text)
    {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray ReadIni() const
    {
        QFile file(IniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder, configHome;
    ScriptedDialogsScope dialogs;
};

TEST_F(Startup, FirstStartShowsTheDefaultsAndCreatesTheFile)
{
    const auto form = StartUp(folder.path());
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->FLD[0]->text().isEmpty());
    EXPECT_TRUE(form->FLD[1]->text().isEmpty());
    EXPECT_FALSE(form->PicImg[0]->surface().HasPicture());
    EXPECT_EQ(form->DSP[0]->BackColor(), QColor(Qt::black));
    EXPECT_EQ(form->Trans->Value(), 100);
    EXPECT_EQ(form->DSP[1]->text(), QStringLiteral("0"));
    EXPECT_TRUE(ReadIni().contains("[Param]"));
}

TEST_F(Startup, RestoredValuesReachTheControls)
{
    // The saved foreground no longer exists; the background still opens.
    const QString back = folder.filePath(QStringLiteral("back.bmp"));
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(back));
    WriteIni("[Image]\nFront=/nowhere/front.png\nBack=" + back.toUtf8() +
             "\n[Param]\nTransColor=255\nTransRate=0\n");
    auto form = StartUp(folder.path());
    ASSERT_TRUE(form);
    EXPECT_EQ(form->FLD[0]->text(), QStringLiteral("/nowhere/front.png"));
    EXPECT_FALSE(form->PicImg[0]->surface().HasPicture());
    EXPECT_EQ(form->PicImg[1]->surface().Image().size(), QSize(30, 20));
    EXPECT_EQ(form->AREA[1]->surface().Image().pixelColor(5, 5), QColor(Qt::green));
    EXPECT_EQ(form->DSP[0]->BackColor(), QColor(255, 0, 0));
    EXPECT_EQ(form->Trans->Value(), 0);
    EXPECT_EQ(form->DSP[1]->text(), QStringLiteral("100"));
    EXPECT_EQ(Settings.TransRate, 0);
    form->close();
    EXPECT_TRUE(ReadIni().contains("Front=/nowhere/front.png"));
}

TEST_F(Startup, AShiftJisPathOfTheEarlierProgramOpensAndKeepsItsBytes)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("写真 フォルダ")));
    const QString back = folder.filePath(QStringLiteral("写真 フォルダ/背景 1.bmp"));
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(back, "BMP"));
    // The same path in Shift-JIS, as the earlier program wrote it.
    const QByteArray line = "Back=" + folder.path().toUtf8()
                            + "/\x8e\xca\x90^ \x83t\x83H\x83\x8b\x83_/\x94w\x8ci 1.bmp\r\n";
    WriteIni("[Image]\r\n" + line + "[Param]\r\nTransColor=255\r\n");

    auto form = StartUp(folder.path());
    ASSERT_TRUE(form);
    EXPECT_EQ(form->FLD[1]->text(), back);
    EXPECT_EQ(form->PicImg[1]->surface().Image().size(), QSize(30, 20));
    EXPECT_TRUE(ReadIni().contains(line)) << "after the start-up save";
    form->close();
    EXPECT_TRUE(ReadIni().contains(line)) << "after closing";
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
        auto form = StartUp(folder.path());
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

    // A folder where the file should be: the settings live in the user's configuration folder.
    ASSERT_TRUE(QFile::remove(IniPath()));
    ASSERT_TRUE(QDir().mkpath(IniPath() + "/kept"));
    auto form = StartUp(folder.path());
    ASSERT_TRUE(form);
    form->close();
    EXPECT_TRUE(QFileInfo(IniPath() + "/kept").isDir());
    EXPECT_TRUE(QFileInfo(configHome.filePath(qAppName() + "/Layerpix.ini")).isFile());
}

TEST_F(Startup, ARateOutsideTheSpinnersRangeIsClamped)
{
    WriteIni("[Param]\nTransRate=-40\n");
    const auto form = StartUp(folder.path());
    ASSERT_TRUE(form);
    EXPECT_EQ(form->Trans->Value(), 0);
    EXPECT_EQ(form->DSP[1]->text(), QStringLiteral("100"));
    EXPECT_EQ(Settings.TransRate, 0);
}

TEST_F(Startup, AMalformedNumberStopsTheStartNamingTheValueAndLeavesTheFile)
{
    const QByteArray text = "[Param]\r\nTransColor=\r\n[JPEG]\r\nRate=fifty\r\n";
    WriteIni(text);
    dialogs->messageAnswers.push_back(IDOK);
    EXPECT_FALSE(StartUp(folder.path()));
    ASSERT_EQ(dialogs->messages.size(), 1u);
    const QString message = dialogs->messages[0].text;
    EXPECT_TRUE(message.contains(IniPath())) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("[Param]"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("TransColor"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("型が一致しません"))) << message.toStdString();
    EXPECT_EQ(ReadIni(), text);
}

TEST_F(Startup, AnOverflowNamesItself)
{
    WriteIni("[Param]\nTransRate=32768\n");
    dialogs->messageAnswers.push_back(IDOK);
    EXPECT_FALSE(StartUp(folder.path()));
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(dialogs->messages[0].text.contains(QStringLiteral("32768")));
    EXPECT_TRUE(dialogs->messages[0].text.contains(QStringLiteral("オーバーフロー")));
}

TEST_F(Startup, ClosingSavesTypedPathsWithoutAskingAnything)
{
    auto form = StartUp(folder.path());
    ASSERT_TRUE(form);
    QTest::keyClicks(form->FLD[0], QStringLiteral("/typed/but/never/opened.png"));
    form->Trans->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QTest::mouseClick(form->BTN[2], Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(dialogs->messages.empty());
    const QByteArray saved = ReadIni();
    EXPECT_TRUE(saved.contains("Front=/typed/but/never/opened.png")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("TransRate=99")) << saved.toStdString();

    Settings = SettingsRecord{};
    const auto again = StartUp(folder.path());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->FLD[0]->text(), QStringLiteral("/typed/but/never/opened.png"));
}

TEST_F(Startup, PicturesNamedAtTheStartReplaceTheRestoredOnesUntilClosing)
{
    // Each picture is known by its width.
    const auto picture = [this](const char* name, int width) {
        const QString path = folder.filePath(QString::fromUtf8(name));
        QImage image(width, 8, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        EXPECT_TRUE(image.save(path));
        return path;
    };
    const QString savedFront = picture("saved-front.bmp", 11);
    const QString savedBack = picture("saved-back.bmp", 12);
    const QString namedFront = picture("named-front.png", 21);
    const QString namedBack = picture("named-back.png", 22);
    const QString missing = folder.filePath(QStringLiteral("missing.png"));
    struct Row {
        std::optional<QString> front, back;
        QString expectFront, expectBack;
        int frontWidth, backWidth;   // 0: the slot holds no picture
    };
    const Row rows[] = {
        {{}, {}, savedFront, savedBack, 11, 12},
        {{}, namedBack, savedFront, namedBack, 11, 22},
        {namedFront, namedBack, namedFront, namedBack, 21, 22},
        {QString(), namedBack, QString(), namedBack, 0, 22},
        {{}, missing, savedFront, missing, 11, 0},
    };
    for (const Row& row : rows) {
        const QByteArray restored = "[Image]\nFront=" + savedFront.toUtf8() + "\nBack=" +
                                    savedBack.toUtf8() + "\n";
        WriteIni(restored);
        Settings = SettingsRecord{};
        StartArguments arguments;
        arguments.Front = row.front;
        arguments.Back = row.back;
        auto form = StartUp(folder.path(), arguments);
        ASSERT_TRUE(form);
        const std::string where =
            row.expectFront.toStdString() + " / " + row.expectBack.toStdString();
        EXPECT_EQ(form->FLD[0]->text(), row.expectFront) << where;
        EXPECT_EQ(form->FLD[1]->text(), row.expectBack) << where;
        const auto width = [&form](int slot) {
            const Surface& held = form->PicImg[slot]->surface();
            return held.HasPicture() ? held.Width() : 0;
        };
        EXPECT_EQ(width(0), row.frontWidth) << where;
        EXPECT_EQ(width(1), row.backWidth) << where;
        EXPECT_TRUE(ReadIni().startsWith(restored)) << where;
        form->close();
        const QByteArray closed = ReadIni();
        EXPECT_TRUE(closed.contains("Front=" + row.expectFront.toUtf8() + "\n")) << where;
        EXPECT_TRUE(closed.contains("Back=" + row.expectBack.toUtf8() + "\n")) << where;
    }
}

TEST_F(Startup, TheWindowsCloseBoxClosesTheSameWay)
{
    auto form = StartUp(folder.path());
    ASSERT_TRUE(form);
    form->FLD[1]->setText(QStringLiteral("/back.bmp"));
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(ReadIni().contains("Back=/back.bmp"));
}
} // namespace
