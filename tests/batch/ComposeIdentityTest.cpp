// The same composite saved through the real main window and composite view and by
// layerpix-compose, its values typed or read from the settings file, gives the same file.
#include "batch/CommandFolder.h"

#include "core/document/FrontPosition.h"
#include "core/settings/Settings.h"
#include "support/ScriptedDialogs.h"
#include "windows/main/frmMain.h"
#include "windows/view/frmView.h"

#include <QTest>

namespace {

struct Case {
    const char *front, *back;
    const char* format;   // the command's --format
    ColorRef key;
    std::int32_t rate, x, y;
    std::int16_t jpegRate, jpegPrgrs, pngRate;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.front << " on " << c.back << " as " << c.format << " at " << c.x << ',' << c.y
         << " rate " << c.rate;
}

class ComposeIdentity : public testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.IsValid());
        Settings = SettingsRecord{};
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        // The logo's half-transparent band lets the holders' background show through.
        QImage logo = KeyedLogo(48, 36).convertToFormat(QImage::Format_ARGB32);
        QPainter painter(&logo);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(0, 30, 48, 6, QColor(10, 200, 90, 100));
        folder.SavePicture(logo, QStringLiteral("in/logo.png"));
        folder.SavePicture(KeyedLogo(30, 30), QStringLiteral("in/logo.bmp"));
        for (const char* name : {"in/photo.jpg", "in/photo.png", "in/photo.bmp"})
            folder.SavePicture(GradientPicture(120, 90), QString::fromUtf8(name));
    }

    CommandFolder folder;
    ScriptedDialogsScope dialogs;
    frmMain main;
};

TEST_P(ComposeIdentity, TheWindowAndTheCommandWriteTheSameFile)
{
    const Case& c = GetParam();
    Settings.TransColor = c.key;
    Settings.TransRate = c.rate;
    Settings.JpegRate = c.jpegRate;
    Settings.JpegPrgrs = c.jpegPrgrs;
    Settings.PngRate = c.pngRate;
    ASSERT_EQ(main.LoadSourceImage(folder.Path(c.front), 0), 0);
    ASSERT_EQ(main.LoadSourceImage(folder.Path(c.back), 1), 0);
    FrontX = c.x;
    FrontY = c.y;
    main.BTN_Click(0);
    ASSERT_FALSE(main.View.isNull());
    // The save dialog's filter for the format, and the extension the window appends.
    const QString format = QString::fromUtf8(c.format);
    const int filter = format == "bmp" ? 2 : format == "jpg" ? 3 : 4;
    dialogs->saveAnswers.push_back({true, folder.Path("window/composite"), filter});
    QTest::mouseRelease(main.View->Board, Qt::RightButton, {}, QPoint(5, 5));
    const QByteArray window = folder.ReadFile("window/composite." + format.toUpper());

    const int rgb = RedOf(c.key) << 16 | GreenOf(c.key) << 8 | BlueOf(c.key);
    QStringList typed{"--key", QStringLiteral("%1").arg(rgb, 6, 16, QLatin1Char('0')), "--rate", QString::number(c.rate),
                      "--jpeg-rate", QString::number(c.jpegRate), "--png-rate", QString::number(c.pngRate)};
    if (c.jpegPrgrs != 0)
        typed << "--progressive";
    const QString name = "/" + QFileInfo(QString::fromUtf8(c.back)).completeBaseName() + "." + format;
    const auto sameAsWindow = [&](const QString& out, const QStringList& options) {
        const auto result = folder.Run(QStringList{"--foreground", folder.Path(c.front), "-o", folder.Path(out), "--at",
                                                   QStringLiteral("%1,%2").arg(c.x).arg(c.y), "--format", format,
                                                   folder.Path(c.back)} + options);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QByteArray command = folder.ReadFile(out + name);
        EXPECT_TRUE(window == command) << out.toStdString() << ": window " << window.size() << " bytes, command "
                                       << command.size() << " bytes";
    };
    EXPECT_GT(window.size(), 100);
    sameAsWindow("typed", typed);
    // The same values read from the settings file beside the program, which it never writes.
    const QByteArray settings = QStringLiteral("[Param]\nTransColor=%1\nTransRate=%2\n[JPEG]\nRate=%3\nPrgrs=%4\n"
                                               "[PNG]\nRate=%5\n")
                                    .arg(c.key).arg(c.rate).arg(c.jpegRate).arg(c.jpegPrgrs).arg(c.pngRate).toUtf8();
    folder.WriteFile("program/Layerpix.ini", settings);
    sameAsWindow("stored", {});
    EXPECT_EQ(folder.ReadFile("program/Layerpix.ini"), settings);
    if (format == "jpg") {   // the frame marker SOF2 of a progressive JPEG
        EXPECT_EQ(window.contains("\xFF\xC2"), c.jpegPrgrs != 0);
    }
    EXPECT_TRUE(dialogs->messages.empty());
}

constexpr ColorRef kMagenta = RGB(255, 0, 255);

INSTANTIATE_TEST_SUITE_P(
    EveryFormat, ComposeIdentity,
    testing::Values(Case{"in/logo.png", "in/photo.jpg", "jpg", kMagenta, 70, -7, 13, 50, 0, 1},
                    Case{"in/logo.png", "in/photo.jpg", "jpg", kMagenta, 0, 0, 0, 1, -1, 1},
                    Case{"in/logo.png", "in/photo.png", "png", kMagenta, 100, 100, 80, 50, 0, 2},
                    Case{"in/logo.bmp", "in/photo.png", "png", RGB(1, 2, 3), 45, 3, 4, 50, 0, 0},
                    Case{"in/logo.bmp", "in/photo.bmp", "bmp", kMagenta, 35, 10, 5, 50, 0, 1},
                    Case{"in/logo.png", "in/photo.bmp", "bmp", kMagenta, 100, -20, -20, 50, 0, 1}));

} // namespace
