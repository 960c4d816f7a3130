#include "compose/BlendPixels.h"
#include "compose/ComposeImages.h"
#include "platform/Surface.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

namespace {
// The view as the engine sees it: a real board surface, the marker's rectangle and the
// number of repaints asked for.
class RecordingView final : public CompositeTarget {
public:
    Surface board{200, 200, Qt::gray};
    QRect marker;
    int refreshes = 0;

    Surface& Board() override { return board; }
    void PlaceMarker(int x, int y, int w, int h) override { marker = QRect(x, y, w, h); }
    void Refresh() override { ++refreshes; }
};

struct Stores {
    Surface front{1, 1, Qt::white}, back{1, 1, Qt::white}, work{73, 65, Qt::white};
    Stores(const QImage& frontPicture, const QImage& backPicture)
    {
        front.AutoSize = back.AutoSize = true;
        front.SetPicture(frontPicture);
        back.SetPicture(backPicture);
    }
    CompositionStores refs() { return {front, back, work}; }
};

// A key with distinct bytes, so a swap of red and blue shows, and a top byte to ignore.
constexpr QRgb KeyPixel = 0xFF123456;
constexpr ColorRef Key = ColorRef(0x7F563412);

// Noise with every seventh pixel in the key colour.
QImage KeyedForeground(int width, int height)
{
    QImage picture = NoisePicture(width, height, 5);
    for (int i = 0; i < width * height; i += 7)
        picture.setPixel(i % width, i / width, KeyPixel);
    return picture;
}

// The composite worked out pixel by pixel from the two pictures.
QImage ExpectedComposite(const QImage& front, const QImage& back, QPoint at, int rate)
{
    QImage expected = back.copy();
    for (int y = 0; y < back.height(); ++y)
        for (int x = 0; x < back.width(); ++x) {
            if (!front.valid(x - at.x(), y - at.y()))
                continue;
            const QRgb f = front.pixel(x - at.x(), y - at.y()), b = back.pixel(x, y);
            if (f != KeyPixel)
                expected.setPixel(x, y, qRgb(BlendChannel(qRed(b), qRed(f), rate),
                                             BlendChannel(qGreen(b), qGreen(f), rate),
                                             BlendChannel(qBlue(b), qBlue(f), rate)));
        }
    return expected;
}

TEST(ComposeImages, BoardHoldsTheBackgroundWithTheBlendedForegroundCutToIt)
{
    const struct {
        const char* what;
        QSize front, back;
        QPoint at;
        int rate;
    } cases[] = {{"up-left, lower-right part shows", {50, 50}, {100, 100}, {-10, -10}, 40},
                 {"wholly outside", {50, 50}, {100, 100}, {200, 0}, 40},
                 {"foreground larger than background", {150, 120}, {100, 80}, {0, 0}, 60},
                 {"inside, odd sizes", {33, 17}, {127, 64}, {30, 20}, 30},
                 {"past the bottom-right corner", {40, 40}, {100, 100}, {80, 90}, 75},
                 {"negative, partly in", {40, 40}, {100, 100}, {-39, 99}, 50},
                 {"rate 0: the background alone", {50, 50}, {100, 100}, {17, 5}, 0},
                 {"rate 100: the foreground itself", {50, 50}, {100, 100}, {60, 40}, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage front = KeyedForeground(c.front.width(), c.front.height());
        const QImage back = NoisePicture(c.back.width(), c.back.height(), 9);
        Stores stores(front, back);
        RecordingView view;
        ComposeImages(Key, c.rate, c.at.x(), c.at.y(), stores.refs(), view);
        EXPECT_TRUE(SamePixels(ExpectedComposite(front, back, c.at, c.rate), view.board.Image()));
        EXPECT_EQ(view.marker, QRect(c.at, c.front));
        EXPECT_EQ(view.refreshes, 1);
    }
}

TEST(ComposeImages, TwoRunsAreIdenticalWhateverTheSurfacesHeld)
{
    const QImage front = KeyedForeground(50, 50), back = NoisePicture(100, 100, 21);
    Stores stores(front, back);
    RecordingView view;
    ComposeImages(Key, 45, -10, 70, stores.refs(), view);
    const QImage first = view.board.Image().copy();

    stores.work.hDC().fill(qRgb(1, 2, 3));
    view.board.SetSize(300, 20);
    view.board.hDC().fill(qRgb(250, 0, 0));
    ComposeImages(Key, 45, -10, 70, stores.refs(), view);
    EXPECT_TRUE(SamePixels(first, view.board.Image()));
}
} // namespace
