#include "MainWindowFixture.h"
#include "support/PixelAssert.h"
#include "support/ScriptedDialogs.h"

#include "platform/ColorRef.h"
#include "support/TestPictures.h"

namespace {
constexpr QRgb kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kMagenta = 0xFFFF00FF;

// A logo on a white backdrop: a red square, one blue pixel and three pixels a level off
// white in one channel each.
QImage Logo()
{
    QImage logo(20, 12, QImage::Format_RGB32);
    logo.fill(kWhite);
    for (int y = 3; y < 7; ++y)
        for (int x = 5; x < 9; ++x)
            logo.setPixel(x, y, kRed);
    logo.setPixel(17, 9, kBlue);
    logo.setPixel(0, 11, 0xFFFEFFFF);
    logo.setPixel(1, 11, 0xFFFFFEFF);
    logo.setPixel(2, 11, 0xFFFFFFFE);
    return logo;
}

// The picture with every pixel of colour `from` turned into `to`.
QImage Recoloured(QImage picture, QRgb from, QRgb to)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == from)
                picture.setPixel(x, y, to);
    return picture;
}

using ColourPicking = MainWindowTest;
} // namespace

// Either button repaints the clicked pixel's colour in the key's colour wherever it occurs,
// whatever the key's top byte holds, and the loupe shows the result at once.
TEST_F(ColourPicking, AClickRepaintsTheClickedColourInTheKeyColour)
{
    const struct {
        const char* name; Qt::MouseButton button; ColorRef key; QPoint click; QRgb clicked, painted;
    } rows[] = {
        {"white backdrop", Qt::LeftButton, RGB(255, 0, 255), {0, 0}, kWhite, kMagenta},
        {"right button", Qt::RightButton, RGB(255, 0, 255), {6, 4}, kRed, kMagenta},
        {"blue pixel, green key", Qt::LeftButton, RGB(0, 255, 0), {17, 9}, kBlue, 0xFF00FF00},
        {"negative key", Qt::LeftButton, ColorRef(0xFF0000FFu), {0, 0}, kWhite, kRed}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Settings.TransColor = row.key;
        SetForeground(Logo());
        QTest::mouseClick(form.AREA[0], row.button, {}, PanePoint(0, row.click.x(), row.click.y()));
        EXPECT_TRUE(SamePixels(Recoloured(Logo(), row.clicked, row.painted), Holder()));
        EXPECT_EQ(row.key, Settings.TransColor) << "picking must not change the key";
        EXPECT_TRUE(PixelIs(LoupeImage(), 36, 36, row.painted));
    }
}

// With the pane scrolled by (30, 10), pane point (5, 5) shows picture pixel (35, 15).
TEST_F(ColourPicking, ScrolledPaneRecoloursThePixelUnderThePointer)
{
    constexpr QRgb kPicked = 0xFF123456;
    QImage picture = NoisePicture(60, 40, 3);
    for (const QPoint p : {QPoint(35, 15), QPoint(0, 0), QPoint(59, 39)})
        picture.setPixel(p, kPicked);
    Settings.TransColor = RGB(255, 0, 255);
    SetForeground(picture);
    form.HSCR[0]->SetValue(30);
    form.VSCR[0]->SetValue(10);
    QTest::mouseClick(form.AREA[0], Qt::LeftButton, {}, PanePoint(0, 5, 5));
    EXPECT_TRUE(SamePixels(Recoloured(picture, kPicked, kMagenta), Holder()));
}

TEST_F(ColourPicking, ClicksThatPickNothing)
{
    // The logo is 20 x 12, far smaller than the pane; an empty holder still has a bitmap.
    const struct { const char* name; bool loaded; int pane; QPoint at; } rows[] = {
        {"no foreground picture", false, 0, {3, 3}}, {"right of the picture", true, 0, {20, 0}},
        {"below the picture", true, 0, {0, 12}}, {"on the background pane", true, 1, {0, 0}}};
    Settings.TransColor = RGB(255, 0, 255);
    form.PicImg[1]->surface().SetPicture(Logo());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.loaded)
            SetForeground(Logo());
        const QImage before = Holder().copy();
        QTest::mouseClick(form.AREA[row.pane], Qt::LeftButton, {}, PanePoint(row.pane, row.at.x(), row.at.y()));
        EXPECT_TRUE(SamePixels(before, Holder()));
        EXPECT_TRUE(SamePixels(Logo(), form.PicImg[1]->surface().Image()));
    }
}

// The sunken border frames the pane: a click on it picks nothing, though the scrolled
// picture goes on under it.
TEST_F(ColourPicking, AClickOnThePanesBorderPicksNothing)
{
    Settings.TransColor = RGB(255, 0, 255);
    SetForeground(NoisePicture(300, 200, 3));
    form.HSCR[0]->SetValue(10);
    form.VSCR[0]->SetValue(10);
    const QImage before = Holder().copy();
    for (const QPoint pane : {QPoint(-2, 50), QPoint(205, 50), QPoint(50, 174)}) {
        QTest::mouseClick(form.AREA[0], Qt::LeftButton, {}, PanePoint(0, pane.x(), pane.y()));
        EXPECT_TRUE(SamePixels(before, Holder())) << pane.x() << ", " << pane.y();
    }
}

TEST_F(ColourPicking, UnreadableBitmapIsLeftAsItWas)
{
    Settings.TransColor = RGB(255, 0, 255);
    SetForeground(Logo());
    // A bitmap in a layout the pixel transfer cannot read.
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
