#include "MainWindowFixture.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

namespace {
// What the loupe must show with the pointer over picture pixel (px, py), written out
// plainly: each 8 x 8 block shows one of the 9 x 9 picture pixels around the pointer,
// the pointer's own in the centre block, and blocks off the picture the background.
QImage ExpectedLoupe(const QImage& picture, int px, int py, QColor background)
{
    QImage loupe(72, 72, QImage::Format_RGB32);
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 72; ++x) {
            const QPoint source(px + x / 8 - 4, py + y / 8 - 4);
            loupe.setPixel(x, y, picture.rect().contains(source) ? picture.pixel(source) : background.rgb());
        }
    return loupe;
}

class Magnifier : public MainWindowTest {
protected:
    QRgb Background() { return form.Loupe->surface().BackColor().rgb(); }
    // Moves the pointer with no button held, through the window as the platform does. Qt
    // drops a move to where the pointer already is, and an earlier window at the same place
    // may have left it there, so the pointer first goes to the window's corner, off the pane.
    void Hover(int paneX, int paneY)
    {
        QTest::mouseMove(form.windowHandle(), QPoint(0, 0));
        QTest::mouseMove(form.windowHandle(), form.AREA[0]->mapTo(&form, PanePoint(0, paneX, paneY)));
    }
};
} // namespace

// A 12 x 10 picture, far smaller than the pane; with the pane scrolled by (30, 10) a
// 60 x 40 one, where pane point (5, 5) is picture pixel (35, 15). The clipping at the
// picture's edges has its own table; here the loupe is drawn from it.
TEST_F(Magnifier, FollowsThePointerOverThePicture)
{
    const struct {
        const char* name;
        QSize picture;
        QPoint scroll, pane;
    } rows[] = {{"middle", {12, 10}, {}, {6, 5}},
                {"top-left pixel", {12, 10}, {}, {0, 0}},
                {"right of the picture", {12, 10}, {}, {15, 5}},
                {"scrolled pane", {60, 40}, {30, 10}, {5, 5}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QImage picture = NoisePicture(row.picture.width(), row.picture.height(), 4);
        SetForeground(picture);
        form.HSCR[0]->SetValue(row.scroll.x());
        form.VSCR[0]->SetValue(row.scroll.y());
        Hover(row.pane.x(), row.pane.y());
        const QPoint at = row.pane + row.scroll;
        EXPECT_TRUE(SamePixels(ExpectedLoupe(picture, at.x(), at.y(), Background()), LoupeImage()));
    }
}

// The loupe keeps showing the last pixel under the pointer over the foreground pane while
// the pointer is over the pane's border or the background pane.
TEST_F(Magnifier, TheBorderAndTheBackgroundPaneLeaveTheLoupeAlone)
{
    SetForeground(NoisePicture(300, 200, 4));
    form.PicImg[1]->surface().SetPicture(NoisePicture(12, 10, 5));
    form.HSCR[0]->SetValue(10);
    form.VSCR[0]->SetValue(10);
    Hover(100, 100);
    const QImage before = LoupeImage().copy();
    for (const QPoint pane : {QPoint(-1, 50), QPoint(206, 50), QPoint(50, -2)}) {
        Hover(pane.x(), pane.y());
        EXPECT_TRUE(SamePixels(before, LoupeImage())) << pane.x() << ", " << pane.y();
    }
    form.AREA_MouseMove(1, 0, 0, 2, 2);
    EXPECT_TRUE(SamePixels(before, LoupeImage()));
}
