#include "MainWindowFixture.h"
#include "base/ColorRef.h"
#include "support/PixelAssert.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPictures.h"

#include <QPainter>
#include <algorithm>

namespace {
constexpr QRgb kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kMagenta = 0xFFFF00FF;

// A logo on a white backdrop larger than the pane: a red square, one blue pixel and three
// pixels a level off white in one channel each.
QImage Logo()
{
    QImage logo(300, 200, QImage::Format_RGB32);
    logo.fill(kWhite);
    QPainter(&logo).fillRect(5, 3, 4, 4, QColor(kRed));
    logo.setPixel(17, 9, kBlue);
    logo.setPixel(0, 11, 0xFFFEFFFF);
    logo.setPixel(1, 11, 0xFFFFFEFF);
    logo.setPixel(2, 11, 0xFFFFFFFE);
    return logo;
}

// The picture with every pixel of colour `from` turned into `to`.
QImage Recoloured(QImage picture, QRgb from, QRgb to)
{
    auto* pixels = reinterpret_cast<QRgb*>(picture.bits());
    std::replace(pixels, pixels + picture.sizeInBytes() / 4, from, to);
    return picture;
}

using ColourPicking = MainWindowTest;
} // namespace

// Either button repaints the colour of the pixel under the pointer in the key's colour
// wherever it occurs, whatever the key's top byte holds, and the loupe shows it at once.
TEST_F(ColourPicking, AClickRepaintsTheClickedColourInTheKeyColour)
{
    const struct {
        const char* name; Qt::MouseButton button; ColorRef key; QPoint scroll, click; QRgb clicked, painted;
    } rows[] = {
        {"white backdrop", Qt::LeftButton, RGB(255, 0, 255), {}, {0, 0}, kWhite, kMagenta},
        {"right button", Qt::RightButton, RGB(255, 0, 255), {}, {6, 4}, kRed, kMagenta},
        {"scrolled pane, green key", Qt::LeftButton, RGB(0, 255, 0), {10, 4}, {7, 5}, kBlue, 0xFF00FF00},
        {"negative key", Qt::LeftButton, ColorRef(0xFF0000FFu), {}, {0, 0}, kWhite, kRed}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Settings.TransColor = row.key;
        SetForeground(Logo());
        Scroll(row.scroll);
        QTest::mouseClick(form.AREA[0], row.button, {}, PanePoint(0, row.click));
        EXPECT_TRUE(SamePixels(Recoloured(Logo(), row.clicked, row.painted), Holder()));
        EXPECT_EQ(row.key, Settings.TransColor) << "picking must not change the key";
        EXPECT_TRUE(PixelIs(LoupeImage(), 36, 36, row.painted));
    }
}

// Off the picture, on the pane's sunken border (though the scrolled picture goes on under
// it), on the background pane or with no foreground picture, a click picks nothing.
TEST_F(ColourPicking, ClicksThatPickNothing)
{
    const struct { const char* name; QSize picture; int pane; QPoint scroll, at; } rows[] = {
        {"no foreground picture", {}, 0, {}, {3, 3}}, {"right of the picture", {20, 12}, 0, {}, {20, 0}},
        {"below the picture", {20, 12}, 0, {}, {0, 12}}, {"on the background pane", {20, 12}, 1, {}, {0, 0}},
        {"left border", {300, 200}, 0, {10, 10}, {-2, 50}}, {"right border", {300, 200}, 0, {10, 10}, {205, 50}},
        {"bottom border", {300, 200}, 0, {10, 10}, {50, 174}}};
    Settings.TransColor = RGB(255, 0, 255);
    form.PicImg[1]->surface().SetPicture(Logo());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (!row.picture.isEmpty())
            SetForeground(NoisePicture(row.picture.width(), row.picture.height(), 3));
        Scroll(row.scroll);
        const QImage before = Holder().copy();
        QTest::mouseClick(form.AREA[row.pane], Qt::LeftButton, {}, PanePoint(row.pane, row.at));
        EXPECT_TRUE(SamePixels(before, Holder()));
        EXPECT_TRUE(SamePixels(Logo(), form.PicImg[1]->surface().Image()));
    }
}

TEST_F(ColourPicking, ABitmapInALayoutThePixelTransferCannotReadIsLeftAsItWas)
{
    SetForeground(Logo());
    form.PicImg[0]->surface().hDC() = Holder().convertToFormat(QImage::Format_RGB16);
    const QImage before = Holder().copy();
    form.AREA_MouseDown(0, 1, 0, 0, 0);
    EXPECT_EQ(QImage::Format_RGB16, Holder().format());
    EXPECT_TRUE(SamePixels(before, Holder()));
}

// Cancelling changes nothing; confirming pure red makes it the key and paints the swatch.
// The rate read-out beside the swatch opens nothing.
TEST_F(ColourPicking, TheSwatchChoosesTheKeyInAColourDialog)
{
    ScriptedDialogsScope dialogs;
    Settings.TransColor = RGB(0, 0, 255);
    form.DSP[0]->SetBackColor(QColor(0, 0, 255));
    dialogs->colorAnswers = {{false, RGB(255, 0, 0)}, {true, RGB(255, 0, 0)}};
    QTest::mouseClick(form.DSP[1], Qt::LeftButton);
    EXPECT_TRUE(dialogs->colorRequests.empty());
    QTest::mouseClick(form.DSP[0], Qt::LeftButton);
    EXPECT_EQ(RGB(0, 0, 255), Settings.TransColor);
    EXPECT_EQ(QColor(0, 0, 255), form.DSP[0]->BackColor());
    QTest::mouseClick(form.DSP[0], Qt::LeftButton);
    EXPECT_EQ(2u, dialogs->colorRequests.size());
    EXPECT_EQ(255, Settings.TransColor);
    EXPECT_EQ(QColor(255, 0, 0), form.DSP[0]->BackColor());
}
