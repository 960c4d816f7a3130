// "保存オプション", opened from the main window's "ｵﾌﾟｼｮﾝ".
#include "support/FolderSnapshot.h"
#include "windows/WindowFixture.h"

#include <QCheckBox>

namespace {
using SaveOptions = WindowTest;

// What the dialog shows on opening: JPEG bar and read-out, box (2 ticked), PNG bar and read-out.
// PNG bar positions 0, 1, 2 are rates 1, 0, 2; a rate off that table shows as 1, a JPEG rate
// off 1 to 100 is clamped. `steps` moves both bars and ticks the box, then `button` ("" the
// close box) closes: "保存" stores and writes at once; "閉じる" and the close box do not.
TEST_F(SaveOptions, ShowsTheStoredOptionsAndOnlySaveStoresThem)
{
    const struct { std::int16_t jpeg, prgrs, png; int steps; QString button, shown; std::array<int, 3> stored; }
        rows[] = {
        {-5, 0, 0, 0, "BTN(0)", "1 1 0 1 1", {1, 0, 0}}, {300, 1, 7, 0, "BTN(0)", "100 100 2 1 1", {100, -1, 0}},
        {50, 1, 1, 2, "BTN(0)", "50 50 2 0 0", {52, 0, 2}}, {50, 0, 1, 2, "BTN(1)", "50 50 0 0 0", {50, 0, 1}},
        {50, 0, 1, 2, "", "50 50 0 0 0", {50, 0, 1}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.jpeg << ", " << row.png << ", " << row.button.toStdString());
        settings.JpegRate = row.jpeg, settings.JpegPrgrs = row.prgrs, settings.PngRate = row.png;
        const std::string before = ReadBytes(settings.IniPath.toStdString());
        QString shown;
        dialogs->modalScripts.push_back([&](QDialog& options) {
            auto &jpeg = Find<ScrollBar>(options, "ASCR(0)"), &png = Find<ScrollBar>(options, "ASCR(1)");
            auto& box = Find<QCheckBox>(options, "CHK");
            options.show();
            shown = QStringLiteral("%1 %2 %3 %4 %5").arg(jpeg.Value()).arg(Find<Label>(options, "DSP(0)").text())
                        .arg(box.checkState()).arg(png.Value()).arg(Find<Label>(options, "DSP(1)").text());
            for (int n = 0; n < row.steps; ++n)
                QTest::keyClick(&jpeg, Qt::Key_Right), QTest::keyClick(&png, Qt::Key_Right);
            if (row.steps > 0)
                QTest::mouseClick(&box, Qt::LeftButton);
            row.button.isEmpty() ? void(options.close())
                                 : QTest::mouseClick(&Find<PushButton>(options, row.button), Qt::LeftButton);
        });
        Click("BTN", 1);
        EXPECT_EQ(shown, row.shown);
        EXPECT_EQ((std::array<int, 3>{settings.JpegRate, settings.JpegPrgrs, settings.PngRate}), row.stored);
        const std::string saved = QStringLiteral("[JPEG]\nRate=%1\nPrgrs=%2\n[PNG]\nRate=%3")
                                      .arg(row.stored[0]).arg(row.stored[1]).arg(row.stored[2]).toStdString();
        const std::string after = ReadBytes(settings.IniPath.toStdString());
        EXPECT_TRUE(row.button == "BTN(0)" ? after.find(saved) != std::string::npos : after == before) << after;
    }
}
} // namespace
