#include "MainWindowFixture.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

namespace {
// What the loupe must show with the pointer over picture pixel `p`, written out plainly:
// each 8 x 8 block shows one of the 9 x 9 picture pixels around the pointer, the pointer's
// own in the centre block, and blocks off the picture the background.
QImage ExpectedLoupe(const QImage& picture, QPoint p, QRgb background)
{
    QImage loupe(72, 72, QImage::Format_RGB32);
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 72; ++x) {
            const QPoint source = p + QPoint(x / 8 - 4, y / 8 - 4);
            loupe.setPixel(x, y, picture.rect().contains(source) ? picture.pixel(source) : background);
        }
    return loupe;
}

class Magnifier : public MainWindowTest {
protected:
    // Moves the pointer with no button held, through the window as the platform does. Qt
    // drops a move to where the pointer already is, and an earlier window at the same place
    // may have left it there, so the pointer first goes to the window's corner, off the pane.
    void Hover(QPoint pane)
    {
        QTest::mouseMove(form.windowHandle(), QPoint(0, 0));
        QTest::mouseMove(form.windowHandle(), form.AREA[0]->mapTo(&form, PanePoint(0, pane)));
    }
};
} // namespace

// The loupe shows the picture around the pixel last under the pointer over the pane's inner
// area: the pane's border leaves it as it was, and so does the background pane. The clipping
// at the picture's edges has its own table; here the loupe is drawn from it.
TEST_F(Magnifier, FollowsThePointerOverThePicture)
{
    const struct { const char* name; QSize picture; QPoint scroll, inner, last; } rows[] = {
        {"middle", {12, 10}, {}, {6, 5}, {6, 5}}, {"top-left pixel", {12, 10}, {}, {0, 0}, {0, 0}},
        {"right of the picture", {12, 10}, {}, {15, 5}, {15, 5}}, {"scrolled pane", {60, 40}, {30, 10}, {5, 5}, {5, 5}},
        {"left border", {300, 200}, {10, 10}, {100, 100}, {-1, 50}},
        {"right border", {300, 200}, {10, 10}, {100, 100}, {206, 50}},
        {"top border", {300, 200}, {10, 10}, {100, 100}, {50, -2}}};
    form.PicImg[1]->surface().SetPicture(NoisePicture(12, 10, 5));
    const QRgb background = form.Loupe->surface().BackColor().rgb();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QImage picture = NoisePicture(row.picture.width(), row.picture.height(), 4);
        SetForeground(picture);
        Scroll(row.scroll);
        Hover(row.inner);
        Hover(row.last);
        const QImage expected = ExpectedLoupe(picture, row.inner + row.scroll, background);
        EXPECT_TRUE(SamePixels(expected, LoupeImage()));
        form.AREA_MouseMove(1, 0, 0, 2, 2);
        EXPECT_TRUE(SamePixels(expected, LoupeImage())) << "the background pane";
    }
}
