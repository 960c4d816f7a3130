#include "support/ScriptedDialogs.h"
#include "windows/main/MainWindowFixture.h"
#include "windows/options/frmJPEG.h"

#include <QFile>
#include <tuple>

namespace {
// Opens "保存オプション" from the main window's "ｵﾌﾟｼｮﾝ" button, lets `act` work the controls
// and clicks button `button` (-1: the close box). Returns what the dialog showed on opening:
// the JPEG bar and its read-out, the box (0 clear, 2 ticked), the PNG bar and its read-out.
class SaveOptions : public MainWindowTest {
protected:
    QStringList Open(int button, const std::function<void(frmJPEG&)>& act = {})
    {
        QStringList shown;
        dialogs->modalScripts.push_back([&](QDialog& dialog) {
            auto* options = qobject_cast<frmJPEG*>(&dialog);
            ASSERT_NE(nullptr, options);
            options->show();
            shown = QStringList{QString::number(options->ASCR[0]->Value()), options->DSP[0]->text(),
                                QString::number(options->CHK->checkState()),
                                QString::number(options->ASCR[1]->Value()), options->DSP[1]->text()};
            if (act)
                act(*options);
            if (button < 0)
                options->close();
            else
                QTest::mouseClick(options->BTN[button], Qt::LeftButton);
        });
        QTest::mouseClick(form.BTN[1], Qt::LeftButton);
        EXPECT_TRUE(dialogs->modalScripts.empty());
        return shown;
    }

    static void Press(ScrollBar* bar, Qt::Key key, int times)
    {
        bar->setFocus();
        for (int i = 0; i < times; ++i)
            QTest::keyClick(bar, key);
    }

    ScriptedDialogsScope dialogs;
};
} // namespace

// The PNG rate shows as a bar position and "保存" stores the position's rate: position 0
// is rate 1 (the default), 1 is 0, 2 is 2; a rate outside the table leaves the bar at 1. A
// JPEG rate outside the bar's 1 to 100 is clamped into it.
TEST_F(SaveOptions, StoredRatesShowAndAreSavedBackThroughTheBars)
{
    const struct { std::int16_t jpegStored, pngStored; int jpegShown, pngPosition; std::int16_t pngSaved; } rows[] = {
        {50, 1, 50, 0, 1}, {0, 1, 1, 0, 1}, {-5, 0, 1, 1, 0}, {300, 2, 100, 2, 2}, {100, 7, 100, 1, 0}, {1, -1, 1, 1, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "JPEG " << row.jpegStored << ", PNG " << row.pngStored);
        Settings.JpegRate = row.jpegStored;
        Settings.PngRate = row.pngStored;
        const QString jpeg = QString::number(row.jpegShown), png = QString::number(row.pngPosition);
        EXPECT_EQ(Open(0), (QStringList{jpeg, jpeg, "0", png, png}));
        EXPECT_EQ(row.jpegShown, Settings.JpegRate);
        EXPECT_EQ(row.pngSaved, Settings.PngRate);
    }
}

// Moved bars and the box are stored in the file and shown again; a non-zero value counts as
// ticked, and the box stores -1 or 0.
TEST_F(SaveOptions, MovedBarsAndTheBoxAreStoredInTheFileAndShownAgain)
{
    Settings.JpegPrgrs = 1;
    const QStringList shown = Open(0, [](frmJPEG& options) {
        Press(options.ASCR[0], Qt::Key_Right, 3);
        EXPECT_EQ(QStringLiteral("53"), options.DSP[0]->text());
        Press(options.ASCR[1], Qt::Key_Right, 2);
        QTest::mouseClick(options.CHK, Qt::LeftButton);
    });
    EXPECT_EQ(QStringLiteral("2"), shown[2]);
    EXPECT_EQ(std::tuple(53, 0, 2), std::tuple(Settings.JpegRate, Settings.JpegPrgrs, Settings.PngRate));
    QFile ini(Settings.IniPath);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("[PNG]\nRate=2"));
    EXPECT_EQ(Open(0, [](frmJPEG& options) { QTest::mouseClick(options.CHK, Qt::LeftButton); }),
              (QStringList{"53", "53", "0", "2", "2"}));
    EXPECT_EQ(-1, Settings.JpegPrgrs);
}

TEST_F(SaveOptions, CloseButtonAndCloseBoxStoreNothing)
{
    for (const int button : {1, -1}) {
        SCOPED_TRACE(button < 0 ? "close box" : "閉じる");
        const SettingsRecord before = Settings;
        Open(button, [](frmJPEG& options) {
            Press(options.ASCR[0], Qt::Key_Right, 5);
            Press(options.ASCR[1], Qt::Key_Right, 2);
            QTest::mouseClick(options.CHK, Qt::LeftButton);
        });
        EXPECT_EQ(std::tuple(before.JpegRate, before.JpegPrgrs, before.PngRate),
                  std::tuple(Settings.JpegRate, Settings.JpegPrgrs, Settings.PngRate));
        EXPECT_FALSE(QFile::exists(Settings.IniPath));
    }
}
