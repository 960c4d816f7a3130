#include "MainWindowFixture.h"
#include "support/PixelAssert.h"

#include "platform/ColorRef.h"

namespace {
constexpr QRgb kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000, kBlue = 0xFF0000FF;
constexpr QRgb kMagenta = 0xFFFF00FF;

// A logo on a white backdrop: a red square and one blue pixel.
QImage Logo()
{
    return MakePicture(20, 12, [](int x, int y) {
        if (x == 17 && y == 9)
            return kBlue;
        return x >= 5 && x < 9 && y >= 3 && y < 7 ? kRed : kWhite;
    });
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

class ColourPicking : public MainWindowTest {};
} // namespace

TEST_F(ColourPicking, ClickOnWhiteBackdropPaintsItInTheKeyColour)
{
    Settings.TransColor = RGB(255, 0, 255);
    SetForeground(Logo());
    QTest::mouseClick(form.AREA[0], Qt::LeftButton, {}, PanePoint(0, 0, 0));
    EXPECT_TRUE(SamePixels(Recoloured(Logo(), kWhite, kMagenta), Holder()));
    EXPECT_EQ(RGB(255, 0, 255), Settings.TransColor) << "picking must not change the key";
    // The loupe is redrawn at once and shows the new colour under the pointer.
    EXPECT_TRUE(PixelIs(LoupeImage(), 32, 32, kMagenta));
    EXPECT_TRUE(PixelIs(LoupeImage(), 39, 39, kMagenta));
}

TEST_F(ColourPicking, RightButtonAndShiftPickToo)
{
    Settings.TransColor = RGB(255, 0, 255);
    SetForeground(Logo());
    QTest::mouseClick(form.AREA[0], Qt::RightButton, Qt::ShiftModifier, PanePoint(0, 6, 4));
    EXPECT_TRUE(SamePixels(Recoloured(Logo(), kRed, kMagenta), Holder()));
}

// The key's colour bytes are used whatever its top byte holds, as the composition reads
// it; the clicked pixel's colour decides what is repainted, wherever it occurs.
TEST_F(ColourPicking, KeyColourAndClickedColourVariants)
{
    struct Row {
        const char* name;
        ColorRef key;
        QPoint click;
        QRgb clicked, painted;
    };
    const Row rows[] = {
        {"blue pixel, green key", RGB(0, 255, 0), {17, 9}, kBlue, 0xFF00FF00},
        {"negative key", std::int32_t(0xFF0000FFu), {0, 0}, kWhite, kRed},
        {"clicked pixel already the key", RGB(255, 0, 0), {6, 4}, kRed, kRed},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Settings.TransColor = row.key;
        SetForeground(Logo());
        form.AREA_MouseDown(0, 1, 0, float(row.click.x()), float(row.click.y()));
        EXPECT_TRUE(SamePixels(Recoloured(Logo(), row.clicked, row.painted), Holder()));
    }
}

// With the pane scrolled by (30, 10), pane point (5, 5) shows picture pixel (35, 15).
TEST_F(ColourPicking, ScrolledPaneRecoloursThePixelUnderThePointer)
{
    constexpr QRgb kPicked = 0xFF123456;
    QImage picture = DistinctPicture(60, 40);
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
    struct Row {
        const char* name;
        int pane;
        QPoint panePoint;
    };
    // The logo is 20 x 12, far smaller than the pane.
    const Row rows[] = {
        {"right of the picture", 0, {20, 0}},
        {"below the picture", 0, {0, 12}},
        {"far outside", 0, {150, 100}},
        {"on the background pane", 1, {0, 0}},
    };
    Settings.TransColor = RGB(255, 0, 255);
    form.PicImg[1]->surface().SetPicture(Logo());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetForeground(Logo());
        QTest::mouseClick(form.AREA[row.pane], Qt::LeftButton, {},
                          PanePoint(row.pane, row.panePoint.x(), row.panePoint.y()));
        EXPECT_TRUE(SamePixels(Logo(), Holder()));
        EXPECT_TRUE(SamePixels(Logo(), form.PicImg[1]->surface().Image()));
    }
}

TEST_F(ColourPicking, ClickWithoutForegroundPictureChangesNothing)
{
    Settings.TransColor = RGB(255, 0, 255);
    // An empty holder still has a bitmap, filled with its background.
    const QImage before = Holder().copy();
    QTest::mouseClick(form.AREA[0], Qt::LeftButton, {}, PanePoint(0, 3, 3));
    EXPECT_TRUE(SamePixels(before, Holder()));
}

TEST_F(ColourPicking, UnreadableBitmapIsLeftAsItWas)
{
    Settings.TransColor = RGB(255, 0, 255);
    SetForeground(Logo());
    // A bitmap in a layout the pixel transfer cannot read.
    form.PicImg[0]->surface().hDC() = Holder().convertToFormat(QImage::Format_RGB16);
    form.AREA_MouseDown(0, 1, 0, 0, 0);
    EXPECT_EQ(QImage::Format_RGB16, Holder().format());
    EXPECT_TRUE(SamePixels(Logo(), Holder()));
}
