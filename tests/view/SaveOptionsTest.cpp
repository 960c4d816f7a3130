#include "support/ScriptedDialogs.h"

#include "app/Settings.h"
#include "ui/frmJPEG.h"
#include "ui/frmMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// What the dialog showed when it opened.
struct Shown {
    int jpegRate = -1;
    QString jpegText;
    Qt::CheckState progressive = Qt::PartiallyChecked;
    int pngPosition = -1;
    QString pngText;
};

// Opens "保存オプション" from the main window's "ｵﾌﾟｼｮﾝ" button, records what it shows,
// lets `act` work the controls and finally clicks button `button` (-1: the close box).
class SaveOptions : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        Settings = SettingsRecord{};
        Settings.IniPath = folder.filePath(QStringLiteral("Layerpix.ini"));
        main.TMC->stop();
        main.show();
    }

    Shown Open(int button, const std::function<void(frmJPEG&)>& act = {})
    {
        Shown shown;
        dialogs->modalScripts.push_back([&](QDialog& dialog) {
            auto* options = qobject_cast<frmJPEG*>(&dialog);
            ASSERT_NE(nullptr, options);
            options->show();
            shown = {options->ASCR[0]->Value(), options->DSP[0]->text(),
                     options->CHK->checkState(), options->ASCR[1]->Value(),
                     options->DSP[1]->text()};
            if (act)
                act(*options);
            if (button < 0)
                options->close();
            else
                QTest::mouseClick(options->BTN[button], Qt::LeftButton);
            EXPECT_FALSE(options->isVisible());
        });
        QTest::mouseClick(main.BTN[1], Qt::LeftButton);
        EXPECT_EQ(1, dialogs->modalCount);
        dialogs->modalCount = 0;
        return shown;
    }

    static void Press(ScrollBar* bar, Qt::Key key, int times)
    {
        bar->setFocus();
        for (int i = 0; i < times; ++i)
            QTest::keyClick(bar, key);
    }

    QByteArray IniText() const
    {
        QFile file(Settings.IniPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    frmMain main;
    ScriptedDialogsScope dialogs;
};

void ExpectSettingsEqual(const SettingsRecord& expected)
{
    EXPECT_EQ(expected.JpegRate, Settings.JpegRate);
    EXPECT_EQ(expected.JpegPrgrs, Settings.JpegPrgrs);
    EXPECT_EQ(expected.PngRate, Settings.PngRate);
}
} // namespace

TEST_F(SaveOptions, DefaultsShowFiftyClearBoxAndPngPositionZero)
{
    const Shown shown = Open(1);
    EXPECT_EQ(50, shown.jpegRate);
    EXPECT_EQ(QStringLiteral("50"), shown.jpegText);
    EXPECT_EQ(Qt::Unchecked, shown.progressive);
    EXPECT_EQ(0, shown.pngPosition);
    EXPECT_EQ(QStringLiteral("0"), shown.pngText);
}

TEST_F(SaveOptions, StoredPngRateShowsItsPosition)
{
    struct Row {
        std::int16_t rate;
        int position;
    };
    // 7 and -1 are outside the table: the bar stays at its design position.
    for (const Row row : {Row{1, 0}, Row{0, 1}, Row{2, 2}, Row{7, 1}, Row{-1, 1}}) {
        SCOPED_TRACE(testing::Message() << "PNG rate " << row.rate);
        Settings.PngRate = row.rate;
        const Shown shown = Open(1);
        EXPECT_EQ(row.position, shown.pngPosition);
        EXPECT_EQ(QString::number(row.position), shown.pngText);
    }
}

TEST_F(SaveOptions, SavedPngPositionStoresItsRate)
{
    struct Row {
        int position;
        std::int16_t rate;
    };
    for (const Row row : {Row{0, 1}, Row{1, 0}, Row{2, 2}}) {
        SCOPED_TRACE(testing::Message() << "position " << row.position);
        Settings.PngRate = 7;
        Open(0, [&](frmJPEG& options) { Press(options.ASCR[1], Qt::Key_Left, 1);
                                        Press(options.ASCR[1], Qt::Key_Right, row.position); });
        EXPECT_EQ(row.rate, Settings.PngRate);
    }
}

TEST_F(SaveOptions, PngPositionTwoIsStoredAndShownAgain)
{
    Open(0, [](frmJPEG& options) { Press(options.ASCR[1], Qt::Key_Right, 2); });
    EXPECT_EQ(2, Settings.PngRate);
    // "保存" writes the settings file at once.
    EXPECT_TRUE(IniText().contains("[PNG]\nRate=2")) << IniText().toStdString();
    const Shown shown = Open(1);
    EXPECT_EQ(2, shown.pngPosition);
    EXPECT_EQ(QStringLiteral("2"), shown.pngText);
}

TEST_F(SaveOptions, PngRateOutsideTableIsStoredAsZero)
{
    Settings.PngRate = 7;
    Open(0);
    EXPECT_EQ(0, Settings.PngRate);
}

TEST_F(SaveOptions, JpegRateFollowsTheBar)
{
    Open(0, [](frmJPEG& options) {
        Press(options.ASCR[0], Qt::Key_Right, 3);
        EXPECT_EQ(QStringLiteral("53"), options.DSP[0]->text());
    });
    EXPECT_EQ(53, Settings.JpegRate);
}

TEST_F(SaveOptions, JpegRateOutsideTheBarsRangeIsClamped)
{
    struct Row {
        std::int16_t stored, shown;
    };
    for (const Row row : {Row{0, 1}, Row{-5, 1}, Row{300, 100}, Row{1, 1}, Row{100, 100}}) {
        SCOPED_TRACE(testing::Message() << "JPEG rate " << row.stored);
        Settings.JpegRate = row.stored;
        const Shown shown = Open(0);
        EXPECT_EQ(row.shown, shown.jpegRate);
        EXPECT_EQ(QString::number(row.shown), shown.jpegText);
        EXPECT_EQ(row.shown, Settings.JpegRate);
    }
}

TEST_F(SaveOptions, ProgressiveBox)
{
    Open(0, [](frmJPEG& options) { QTest::mouseClick(options.CHK, Qt::LeftButton); });
    EXPECT_EQ(-1, Settings.JpegPrgrs);

    // Any non-zero value counts as ticked and is stored back as -1.
    Settings.JpegPrgrs = 1;
    EXPECT_EQ(Qt::Checked, Open(0).progressive);
    EXPECT_EQ(-1, Settings.JpegPrgrs);

    Open(0, [](frmJPEG& options) { QTest::mouseClick(options.CHK, Qt::LeftButton); });
    EXPECT_EQ(0, Settings.JpegPrgrs);
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
        ExpectSettingsEqual(before);
        EXPECT_FALSE(QFile::exists(Settings.IniPath));
    }
}
