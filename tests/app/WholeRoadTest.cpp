// The whole road a user takes, through the real windows and real files: start, open both
// pictures by typing their paths, click the white backdrop away, set 30 percent
// transparency, compose, drag the foreground into a corner, choose a progressive JPEG in
// the options and save it, then close everything.
#include "app/FrontPosition.h"
#include "app/Main.h"
#include "app/Settings.h"
#include "support/ScriptedDialogs.h"
#include "ui/frmJPEG.h"
#include "ui/frmMain.h"
#include "ui/frmView.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kLogo = 0xFF2040C0;

// A 40 x 40 logo, a blue square on a white backdrop.
QImage Logo()
{
    QImage logo(40, 40, QImage::Format_RGB32);
    logo.fill(kWhite);
    QPainter(&logo).fillRect(10, 10, 20, 20, QColor::fromRgb(kLogo));
    return logo;
}

QImage Photo()
{
    QImage photo(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x * 255 / 299, y * 255 / 199, 128));
    return photo;
}

bool IsProgressiveJpeg(const QByteArray& bytes)
{
    // The frame header follows the tables; a progressive frame is marked SOF2.
    return bytes.startsWith("\xFF\xD8") && bytes.contains("\xFF\xC2");
}

void TypePathAndEnter(TextField* field, const QString& path)
{
    field->clear();
    QTest::keyClicks(field, path);
    QTest::keyClick(field, Qt::Key_Return);
}

TEST(WholeRoad, LogoOverPhotoSavedAsProgressiveJpeg)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString logoPath = folder.filePath(QStringLiteral("logo.png"));
    const QString photoPath = folder.filePath(QStringLiteral("photo.jpg"));
    ASSERT_TRUE(Logo().save(logoPath));
    ASSERT_TRUE(Photo().save(photoPath, "JPEG", 95));
    const QImage photo(photoPath);   // as decoded, JPEG losses included
    ScriptedDialogsScope dialogs;
    Settings = SettingsRecord{};

    auto main = StartUp(folder.path());
    ASSERT_TRUE(main);
    // Magenta, a colour the photo does not use, becomes the transparent colour.
    dialogs->colorAnswers.push_back({true, 0x00FF00FF});
    QTest::mouseClick(main->DSP[0], Qt::LeftButton);
    EXPECT_EQ(Settings.TransColor, 0x00FF00FF);
    TypePathAndEnter(main->FLD[0], logoPath);
    TypePathAndEnter(main->FLD[1], photoPath);
    ASSERT_TRUE(main->PicImg[0]->surface().HasPicture());
    ASSERT_TRUE(main->PicImg[1]->surface().HasPicture());

    // Click the white backdrop away: every white pixel takes the key colour.
    QTest::mouseClick(main->AREA[0], Qt::LeftButton, {}, QPoint(2 + 3, 2 + 3));
    EXPECT_EQ(main->PicImg[0]->surface().Image().pixel(0, 0), 0xFFFF00FFu);

    // 30 percent transparency: the read-out shows 30, the foreground weighs 70.
    main->Trans->SetValue(70);
    EXPECT_EQ(main->DSP[1]->text(), QStringLiteral("30"));

    QTest::mouseClick(main->BTN[0], Qt::LeftButton);
    ASSERT_FALSE(main->View.isNull());
    frmView& view = *main->View;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    // Drag the frame by a point near its corner to the lower-right corner of the photo.
    // (QTest takes the point (0, 0) for "the middle of the widget".)
    QTest::mousePress(view.Board, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseMove(view.Board, QPoint(261, 161));
    QTest::mouseRelease(view.Board, Qt::LeftButton, {}, QPoint(261, 161));
    EXPECT_EQ(FrontX, 260);
    EXPECT_EQ(FrontY, 160);
    const QImage& board = view.Board->surface().Image();
    // Where the logo was white the photo shows unchanged; the square is blended 70:30.
    EXPECT_EQ(board.pixel(262, 162), photo.pixel(262, 162));
    const QRgb mixed = board.pixel(280, 180), under = photo.pixel(280, 180);
    EXPECT_NEAR(qRed(mixed), 0.7 * qRed(kLogo) + 0.3 * qRed(under), 1.0);
    EXPECT_NEAR(qBlue(mixed), 0.7 * qBlue(kLogo) + 0.3 * qBlue(under), 1.0);

    // Tick progressive JPEG in the options and store it.
    dialogs->modalScripts.push_back([](QDialog& dialog) {
        auto& options = static_cast<frmJPEG&>(dialog);
        QTest::mouseClick(options.CHK, Qt::LeftButton);
        QTest::mouseClick(options.BTN[0], Qt::LeftButton);
    });
    QTest::mouseClick(main->BTN[1], Qt::LeftButton);
    EXPECT_EQ(Settings.JpegPrgrs, -1);

    // Release the right button to save; the JPEG filter adds the extension.
    const QString typed = folder.filePath(QStringLiteral("result"));
    dialogs->saveAnswers.push_back({true, typed, 3});
    QTest::mouseClick(view.Board, Qt::RightButton, {}, QPoint(10, 10));
    QFile saved(typed + QStringLiteral(".JPG"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(IsProgressiveJpeg(saved.readAll()));
    EXPECT_EQ(QImageReader(saved.fileName()).size(), QSize(300, 200));
    EXPECT_TRUE(dialogs->messages.empty());

    // "閉じる" closes both windows and keeps the paths and options for the next start.
    QTest::mouseClick(main->BTN[2], Qt::LeftButton);
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(main->View.isNull() || !main->View->isVisible());
    QFile ini(Settings.IniPath);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray text = ini.readAll();
    EXPECT_TRUE(text.contains("Front=" + logoPath.toUtf8())) << text.toStdString();
    EXPECT_TRUE(text.contains("TransRate=70")) << text.toStdString();
    EXPECT_TRUE(text.contains("Prgrs=-1")) << text.toStdString();
}
} // namespace
