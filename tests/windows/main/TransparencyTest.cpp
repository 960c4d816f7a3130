// Picking the key colour and taking it back, the swatch, the loupe and the rate.
#include "base/ColorRef.h"
#include "windows/WindowFixture.h"
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

class Transparency : public WindowTest {
protected:
    const QImage& Loupe() { return Find<PictureBox>(form, "Loupe").surface().Image(); }
    // Pane point `p` of AREA(slot) in the widget's own pixels, inside its border.
    QPoint Inside(int slot, QPoint p) { return p + QPoint(1, 1) * At("AREA", slot).borderWidth(); }
};

// Either button picks, whatever the key's top byte; off the picture, on the pane's border
// (where a scrolled picture lies under it) or on the background pane nothing is picked. The
// loupe shows the pixel picked; with no button held it follows the pointer over the
// foreground pane only (which blocks it shows, the clip's own test says).
TEST_F(Transparency, AClickRepaintsTheClickedColourInTheKeyColourAndTheLoupeFollows)
{
    const struct { int pane; QPoint click, scroll; ColorRef key = RGB(0, 255, 0); QRgb from = 0, to = 0;
                   QSize picture{300, 200}; Qt::MouseButton button = Qt::LeftButton; } rows[] = {
        {0, {0, 0}, {}, RGB(255, 0, 255), kWhite, kMagenta}, {0, {7, 5}, {10, 4}, RGB(0, 255, 0), kBlue, 0xFF00FF00},
        {0, {6, 4}, {}, RGB(255, 0, 255), kRed, kMagenta, {300, 200}, Qt::RightButton},
        {0, {0, 0}, {}, ColorRef(0xFF0000FFu), kWhite, kRed}, {0, {30, 0}, {}, RGB(0, 255, 0), 0, 0, {30, 12}},
        {0, {0, 12}, {}, RGB(0, 255, 0), 0, 0, {30, 12}}, {0, {-1, -1}, {10, 4}}, {0, {205, 173}, {10, 4}},
        {1, {0, 0}, {}}};
    Holder(1).SetPicture(Logo());
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "pane " << row.pane << " at " << row.click.x() << ", " << row.click.y());
        settings.TransColor = row.key;
        Holder(0).SetPicture(Logo(row.picture));
        Scroll(0, row.scroll);
        QTest::mouseClick(&At("AREA", row.pane), row.button, {}, Inside(row.pane, row.click));
        EXPECT_TRUE(SamePixels(Logo(row.picture, row.from, row.to), Holder(0).Image()));
        EXPECT_EQ(row.key, settings.TransColor);
        EXPECT_TRUE(row.from == row.to || PixelIs(Loupe(), 36, 36, row.to));
        EXPECT_TRUE(SamePixels(Logo(), Holder(1).Image()));
    }
    Holder(0).SetPicture(front);
    Scroll(0, {30, 10});
    for (const auto& [slot, at] : {std::pair{0, QPoint(5, 5)}, {1, QPoint(2, 2)}}) {
        QTest::mouseMove(form.windowHandle(), QPoint(0, 0));   // Qt drops a move to where the pointer is
        QTest::mouseMove(form.windowHandle(), At("AREA", slot).mapTo(&form, Inside(slot, at)));
        EXPECT_TRUE(SamePixels(front.copy(31, 11, 9, 9).scaled(72, 72), Loupe())) << "over pane " << slot;
    }
}

// The path field keeps its own Ctrl+Z; a composite uses the pane's picture; a failed open
// keeps the clicks, another picture forgets them.
TEST_F(Transparency, CtrlZTakesTheClicksBackAndCtrlYDoesThemAgain)
{
    const auto key = [this](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(&At<PushButton>("BTN", 0), key, modifiers);
    };
    form.OpenSourcePicture(Write("front.png", Logo()), 0);
    std::vector<QImage> states{Holder(0).Image().copy()};
    for (const auto& [at, colour] : {std::pair{QPoint(0, 0), RGB(255, 0, 255)}, {QPoint(6, 4), RGB(0, 255, 0)},
                                     {QPoint(20, 2), RGB(0, 255, 0)}}) {
        settings.TransColor = colour;
        form.AREA_MouseDown(0, 1, 0, float(at.x()), float(at.y()));
        states.push_back(Holder(0).Image().copy());
    }
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        key(Qt::Key_Z);
        EXPECT_TRUE(SamePixels(states[i - 1], Holder(0).Image())) << "undo to state " << i - 1;
        EXPECT_TRUE(SamePixels(states[i - 1].copy(0, 0, 205, 173), Pane(0)));
        EXPECT_TRUE(PixelIs(Loupe(), 36, 36, states[i - 1].pixel(20, 2)));
    }
    key(Qt::Key_Y);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    // A path field with typing to take back keeps Ctrl+Z; without, the window takes it.
    const QString path = Fld(0).text();
    QTest::keyClicks(&Fld(0), QStringLiteral("x"));
    for (const QImage* expected : {&states[2], &states[1]}) {
        QTest::keyClick(&Fld(0), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(SamePixels(*expected, Holder(0).Image()));
    }
    EXPECT_EQ(Fld(0).text(), path);
    // A click on a pane takes the caret from the field.
    QTest::mouseClick(&At("AREA", 1), Qt::LeftButton);
    EXPECT_TRUE(At("AREA", 1).hasFocus());
    key(Qt::Key_Y);

    Holder(1).SetPicture(GradientPicture(300, 200));
    settings.TransColor = RGB(1, 2, 3);
    Click("BTN", 0);
    ASSERT_NE(form.View(), nullptr);
    EXPECT_TRUE(SamePixels(states[2], Find<PictureBox>(*form.View(), "Board").surface().Image()));
    form.OpenSourcePicture(folder.filePath("missing.png"), 0);
    key(Qt::Key_Z);
    EXPECT_TRUE(SamePixels(states[1], Holder(0).Image()));
    form.OpenSourcePicture(Write("other.png", Logo()), 0);
    key(Qt::Key_Y);
    EXPECT_TRUE(SamePixels(Logo(), Holder(0).Image()));
}

// The swatch chooses the key in the colour dialog; the rate read-out beside it opens nothing.
// The 17 x 17 spinner's upper arrow (rows 0 to 7) lowers the rate; the read-out shows 100
// minus it.
TEST_F(Transparency, TheSwatchChoosesTheKeyAndTheSpinnerTheRate)
{
    dialogs->colourAnswers = {{false, RGB(255, 0, 0)}, {true, RGB(255, 0, 0)}};
    QTest::mouseClick(&At<Label>("DSP", 1), Qt::LeftButton);
    EXPECT_TRUE(dialogs->colourRequests.empty());
    settings.TransColor = RGB(0, 0, 255);
    for (const auto& [key, swatch] : {std::pair{RGB(0, 0, 255), Qt::black}, {RGB(255, 0, 0), Qt::red}}) {
        QTest::mouseClick(&At<Label>("DSP", 0), Qt::LeftButton);
        EXPECT_EQ(std::pair(settings.TransColor, At<Label>("DSP", 0).BackColour()), std::pair(key, QColor(swatch)));
    }
    // The dialog opened at the key of the moment, so that confirming it out of habit keeps it.
    EXPECT_EQ(std::pair(dialogs->colourRequests.at(0).colour, dialogs->colourRequests.at(1).colour),
              std::pair(RGB(0, 0, 255), RGB(0, 0, 255)));
    const struct { std::int32_t from; int row; Qt::Key key; std::int32_t to; } steps[] = {   // row -1: `key`
        {100, 7, {}, 99}, {0, 0, {}, 0}, {50, 8, {}, 51}, {100, 16, {}, 100}, {50, -1, Qt::Key_PageDown, 51}};
    auto& spinner = Find<ScrollBar>(form, "Trans");
    for (const auto& [from, row, key, to] : steps) {
        settings.TransRate = from;
        form.Form_Load();
        row >= 0 ? QTest::mouseClick(&spinner, Qt::LeftButton, {}, QPoint(8, row)) : QTest::keyClick(&spinner, key);
        EXPECT_EQ(std::pair(settings.TransRate, At<Label>("DSP", 1).text()), std::pair(to, QString::number(100 - to)))
            << "from " << from << " row " << row;
    }
}
} // namespace
