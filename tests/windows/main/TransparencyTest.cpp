// Picking the key colour and taking it back, the swatch, the loupe and the rate.
#include "base/ColorRef.h"
#include "support/PixelAssert.h"
#include "support/ScriptedDialogs.h"
#include "windows/main/MainWindowFixture.h"
#include "windows/view/frmView.h"

#include <QPainter>
#include <algorithm>

namespace {
constexpr QRgb kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kMagenta = 0xFFFF00FF;

// A backdrop larger than the pane with a few colours; `from` repainted as `to`.
QImage Logo(QSize size = {300, 200}, QRgb from = 0, QRgb to = 0)
{
    QImage logo(size, QImage::Format_RGB32);
    logo.fill(kWhite);
    QPainter(&logo).fillRect(5, 3, 4, 4, QColor(kRed));
    QPainter(&logo).fillRect(15, 2, 10, 1, QColor(kMagenta));
    logo.setPixel(17, 9, kBlue);
    auto* pixels = reinterpret_cast<QRgb*>(logo.bits());
    std::replace(pixels, pixels + logo.width() * logo.height(), from, to);
    return logo;
}

using Transparency = MainWindowTest;

// Either button picks, whatever the key's top byte; off the picture or on the background
// pane nothing is picked.
TEST_F(Transparency, AClickRepaintsTheClickedColourInTheKeyColour)
{
    const struct { int pane; Qt::MouseButton button; ColorRef key; QSize picture; QPoint scroll, click; QRgb from, to; }
        rows[] = {
        {0, Qt::LeftButton, RGB(255, 0, 255), {300, 200}, {}, {0, 0}, kWhite, kMagenta},
        {0, Qt::RightButton, RGB(255, 0, 255), {300, 200}, {}, {6, 4}, kRed, kMagenta},
        {0, Qt::LeftButton, RGB(0, 255, 0), {300, 200}, {10, 4}, {7, 5}, kBlue, 0xFF00FF00},
        {0, Qt::LeftButton, ColorRef(0xFF0000FFu), {300, 200}, {}, {0, 0}, kWhite, kRed},
        {0, Qt::LeftButton, RGB(0, 255, 0), {30, 12}, {}, {30, 0}, 0, 0},
        {0, Qt::LeftButton, RGB(0, 255, 0), {30, 12}, {}, {0, 12}, 0, 0},
        {1, Qt::LeftButton, RGB(0, 255, 0), {300, 200}, {}, {0, 0}, 0, 0}};
    Holder(1).SetPicture(Logo());
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "pane " << row.pane << " at " << row.click.x() << ", " << row.click.y());
        settings.TransColor = row.key;
        Holder(0).SetPicture(Logo(row.picture));
        Scroll(0, row.scroll);
        Click(row.pane, row.click, row.button);
        EXPECT_TRUE(SamePixels(Logo(row.picture, row.from, row.to), Holder(0).Image()));
        EXPECT_EQ(row.key, settings.TransColor);
        EXPECT_TRUE(row.from == row.to || PixelIs(Loupe(), 36, 36, row.to));
        EXPECT_TRUE(SamePixels(Logo(), Holder(1).Image()));
    }
}

// The path field keeps its own Ctrl+Z; a failed open keeps the clicks, another picture
// forgets them.
TEST_F(Transparency, CtrlZTakesTheClicksBackAndCtrlYDoesThemAgain)
{
    const auto key = [this](Qt::Key key, Qt::KeyboardModifiers modifiers) { QTest::keyClick(&Btn(0), key, modifiers); };
    form.OpenSourcePicture(Write("front.png", Logo()), 0);
    std::vector<QImage> states{Holder(0).Image().copy()};
    for (const auto& [at, colour] : {std::pair{QPoint(0, 0), RGB(255, 0, 255)}, {QPoint(20, 2), RGB(255, 0, 255)},
                                     {QPoint(6, 4), RGB(0, 255, 0)}, {QPoint(20, 2), RGB(0, 255, 0)}}) {
        settings.TransColor = colour;
        Click(0, at);
        if (Holder(0).Image() != states.back())   // a click on the key's colour changes nothing
            states.push_back(Holder(0).Image().copy());
    }
    ASSERT_EQ(states.size(), 4u);
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(SamePixels(states[i - 1], Holder(0).Image())) << "undo to state " << i - 1;
        EXPECT_TRUE(SamePixels(states[i - 1].copy(0, 0, 205, 173), Pane(0)));
        EXPECT_TRUE(PixelIs(Loupe(), 36, 36, states[i - 1].pixel(20, 2)));
    }
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(SamePixels(states[0], Holder(0).Image())) << "nothing before the loaded picture";
    key(Qt::Key_Y, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&Fld(0), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(SamePixels(states[2], Holder(0).Image()));

    Holder(1).SetPicture(GradientPicture(300, 200));
    settings.TransColor = RGB(1, 2, 3);
    form.BTN_Click(0);
    ASSERT_NE(form.View(), nullptr);
    EXPECT_TRUE(SamePixels(states[2], Find<PictureBox>(*form.View(), "Board").surface().Image()));
    form.OpenSourcePicture(folder.filePath("missing.png"), 0);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(SamePixels(states[1], Holder(0).Image()));
    form.OpenSourcePicture(Write("other.png", Logo()), 0);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(SamePixels(Logo(), Holder(0).Image()));
}

// The rate read-out beside the swatch opens nothing.
TEST_F(Transparency, TheSwatchChoosesTheKeyInAColourDialog)
{
    ScriptedDialogsScope dialogs;
    dialogs->colourAnswers = {{false, RGB(255, 0, 0)}, {true, RGB(255, 0, 0)}};
    QTest::mouseClick(&Dsp(1), Qt::LeftButton);
    EXPECT_TRUE(dialogs->colourRequests.empty());
    settings.TransColor = RGB(0, 0, 255);
    for (const auto& [key, swatch] : {std::pair{RGB(0, 0, 255), QColor(Qt::black)}, {RGB(255, 0, 0), QColor(Qt::red)}}) {
        QTest::mouseClick(&Dsp(0), Qt::LeftButton);
        EXPECT_EQ(std::pair(settings.TransColor, Dsp(0).BackColour()), std::pair(key, swatch));
    }
}

// 9 x 9 blocks of 8 x 8 around the pointer (the clip has its own test).
TEST_F(Transparency, TheLoupeFollowsThePointerOverTheForeground)
{
    const auto hover = [this](int slot, QPoint p) {   // Qt drops a move to where the pointer is
        QTest::mouseMove(form.windowHandle(), QPoint(0, 0));
        QTest::mouseMove(form.windowHandle(), Area(slot).mapTo(&form, Inside(slot, p)));
    };
    // The pointer over picture pixel (35, 15) of a scrolled 40 x 30 picture: the blocks right
    // of the picture show the loupe's background.
    const QImage picture = NoisePicture(40, 30, 4);
    const QRgb background = Find<PictureBox>(form, "Loupe").surface().BackColour().rgb();
    Holder(0).SetPicture(picture);
    Scroll(0, {30, 10});
    hover(0, {5, 5});
    QImage expected(72, 72, QImage::Format_RGB32);
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 72; ++x) {
            const QPoint source(35 + x / 8 - 4, 15 + y / 8 - 4);
            expected.setPixel(x, y, picture.rect().contains(source) ? picture.pixel(source) : background);
        }
    EXPECT_TRUE(SamePixels(expected, Loupe()));
    hover(1, {2, 2});
    EXPECT_TRUE(SamePixels(expected, Loupe())) << "the background pane";
}

// The 17 x 17 spinner's upper arrow (rows 0 to 7) lowers the rate; the read-out shows 100
// minus it.
TEST_F(Transparency, TheSpinnerStepsTheRateWithinItsRangeAndTheReadOutFollows)
{
    const struct { std::int32_t from; int row; Qt::Key key; std::int32_t to; } steps[] = {   // row -1: `key`
        {100, 7, {}, 99}, {0, 0, {}, 0}, {50, 8, {}, 51}, {100, 16, {}, 100}, {50, -1, Qt::Key_PageDown, 51},
        {-40, -1, Qt::Key_Down, 1}};
    auto& spinner = Find<ScrollBar>(form, "Trans");
    for (const auto& s : steps) {
        settings.TransRate = s.from;
        form.Form_Load();
        EXPECT_EQ(QString::number(100 - std::clamp(s.from, 0, 100)), Dsp(1).text());
        s.row >= 0 ? QTest::mouseClick(&spinner, Qt::LeftButton, {}, QPoint(8, s.row)) : QTest::keyClick(&spinner, s.key);
        EXPECT_EQ(s.to, settings.TransRate) << "from " << s.from << " row " << s.row << " key " << s.key;
        EXPECT_EQ(QString::number(100 - s.to), Dsp(1).text());
    }
}
} // namespace
