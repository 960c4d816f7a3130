// "保存オプション", opened from the main window's "ｵﾌﾟｼｮﾝ".
#include "support/FolderSnapshot.h"
#include "support/ScriptedDialogs.h"
#include "windows/main/MainWindowFixture.h"

#include <QCheckBox>

namespace {
class SaveOptions : public MainWindowTest {
protected:
    // What the dialog showed on opening: JPEG bar and read-out, box (2 ticked), PNG bar and
    // read-out. `steps` moves both bars and clicks the box; no `button` is the close box.
    QStringList Open(const QString& button, int steps)
    {
        QStringList shown;
        dialogs->modalScripts.push_back([&](QDialog& options) {
            auto &jpeg = Find<ScrollBar>(options, "ASCR(0)"), &png = Find<ScrollBar>(options, "ASCR(1)");
            auto& box = Find<QCheckBox>(options, "CHK");
            options.show();
            shown = {QString::number(jpeg.Value()), Find<Label>(options, "DSP(0)").text(), QString::number(box.checkState()),
                     QString::number(png.Value()), Find<Label>(options, "DSP(1)").text()};
            for (ScrollBar* bar : {&jpeg, &png})
                for (int n = 0; n < steps; ++n)
                    QTest::keyClick(bar, Qt::Key_Right);
            if (steps > 0)
                QTest::mouseClick(&box, Qt::LeftButton);
            button.isEmpty() ? void(options.close()) : QTest::mouseClick(&Find<PushButton>(options, button), Qt::LeftButton);
        });
        QTest::mouseClick(&Btn(1), Qt::LeftButton);
        EXPECT_TRUE(dialogs->modalScripts.empty());
        return shown;
    }

    ScriptedDialogsScope dialogs;
};

// PNG bar positions 0, 1, 2 are rates 1, 0, 2; a rate off that table shows as 1, a JPEG rate
// off 1 to 100 is clamped. "保存" stores and writes at once; "閉じる" and the close box do not.
TEST_F(SaveOptions, ShowsTheStoredOptionsAndOnlySaveStoresThem)
{
    const struct { std::int16_t jpeg, prgrs, png; QString button; int steps; QStringList shown; std::array<int, 3> stored; }
        rows[] = {
        {50, 0, 1, "BTN(0)", 0, {"50", "50", "0", "0", "0"}, {50, 0, 1}},
        {-5, 0, 0, "BTN(0)", 0, {"1", "1", "0", "1", "1"}, {1, 0, 0}},
        {300, 1, 7, "BTN(0)", 0, {"100", "100", "2", "1", "1"}, {100, -1, 0}},
        {50, 1, 1, "BTN(0)", 2, {"50", "50", "2", "0", "0"}, {52, 0, 2}},
        {50, 0, 1, "BTN(1)", 2, {"50", "50", "0", "0", "0"}, {50, 0, 1}},
        {50, 0, 1, {}, 2, {"50", "50", "0", "0", "0"}, {50, 0, 1}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "JPEG " << row.jpeg << ", PNG " << row.png << ", " << row.button.toStdString());
        settings.JpegRate = row.jpeg, settings.JpegPrgrs = row.prgrs, settings.PngRate = row.png;
        const std::string before = ReadBytes(settings.IniPath.toStdString());
        EXPECT_EQ(Open(row.button, row.steps), row.shown);
        EXPECT_EQ((std::array<int, 3>{settings.JpegRate, settings.JpegPrgrs, settings.PngRate}), row.stored);
        const std::string saved = QStringLiteral("[JPEG]\nRate=%1\nPrgrs=%2\n[PNG]\nRate=%3")
                                      .arg(row.stored[0]).arg(row.stored[1]).arg(row.stored[2]).toStdString();
        const std::string after = ReadBytes(settings.IniPath.toStdString());
        EXPECT_TRUE(row.button == "BTN(0)" ? after.find(saved) != std::string::npos : after == before) << after;
    }
}
} // namespace
