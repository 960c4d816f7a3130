#include "MainWindowFixture.h"
#include "support/PixelAssert.h"

namespace {
constexpr int kWidth = 12, kHeight = 10;   // the foreground, far smaller than the pane

// What the loupe must show with the pointer over picture pixel (px, py), written out
// plainly: each 8 x 8 block shows one of the 9 x 9 picture pixels around the pointer,
// the pointer's own in the centre block, and blocks off the picture the background.
QImage ExpectedLoupe(const QImage& picture, int px, int py, QColor background)
{
    QImage loupe(72, 72, QImage::Format_RGB32);
    for (int y = 0; y < 72; ++y) {
        for (int x = 0; x < 72; ++x) {
            const QPoint source(px + x / 8 - 4, py + y / 8 - 4);
            loupe.setPixel(x, y, picture.rect().contains(source) ? picture.pixel(source)
                                                                 : background.rgb());
        }
    }
    return loupe;
}

class Magnifier : public MainWindowTest {
protected:
    QRgb Background() { return form.Loupe->surface().BackColor().rgb(); }
    // Moves the pointer with no button held, through the window as the platform does.
    void Hover(int paneX, int paneY)
    {
        QTest::mouseMove(form.windowHandle(),
                         form.AREA[0]->mapTo(&form, PanePoint(0, paneX, paneY)));
    }
};
} // namespace

TEST_F(Magnifier, FollowsThePointerOverThePicture)
{
    struct Row {
        const char* name;
        int px, py;
    };
    const Row rows[] = {
        {"middle", 6, 5},
        {"top-left pixel", 0, 0},
        {"bottom-right pixel", kWidth - 1, kHeight - 1},
        {"three right of the picture", kWidth + 3, 5},
        {"four right of the picture", kWidth + 4, 5},
        {"four below the picture", 5, kHeight + 4},
    };
    const QImage picture = DistinctPicture(kWidth, kHeight);
    SetForeground(picture);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Hover(row.px, row.py);
        EXPECT_TRUE(SamePixels(ExpectedLoupe(picture, row.px, row.py, Background()),
                               LoupeImage()));
    }
}

// With the pane scrolled, the loupe shows the picture pixels under the pointer, not
// those at the pane point.
TEST_F(Magnifier, ScrolledPane)
{
    const QImage picture = DistinctPicture(60, 40);
    SetForeground(picture);
    form.HSCR[0]->SetValue(30);
    form.VSCR[0]->SetValue(10);
    Hover(5, 5);
    EXPECT_TRUE(SamePixels(ExpectedLoupe(picture, 35, 15, Background()), LoupeImage()));
}

TEST_F(Magnifier, EmptyHolderShowsItsBackground)
{
    Hover(3, 3);
    const QImage& holder = Holder();
    EXPECT_TRUE(SamePixels(ExpectedLoupe(holder, 3, 3, Background()), LoupeImage()));
}

TEST_F(Magnifier, BackgroundPaneLeavesTheLoupeAlone)
{
    SetForeground(DistinctPicture(kWidth, kHeight));
    form.PicImg[1]->surface().SetPicture(DistinctPicture(kWidth, kHeight).mirrored());
    Hover(6, 5);
    const QImage before = LoupeImage().copy();
    form.AREA_MouseMove(1, 0, 0, 2, 2);
    EXPECT_TRUE(SamePixels(before, LoupeImage()));
}
