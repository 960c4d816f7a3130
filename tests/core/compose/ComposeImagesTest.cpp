#include "core/compose/ComposeImages.h"
#include "core/compose/ExpectedComposite.h"
#include "core/surfaces/Surface.h"
#include "support/PixelAssert.h"
#include "support/RecordingView.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <random>

namespace {
struct Stores {
    Surface front{1, 1, Qt::white}, back{1, 1, Qt::white}, work{73, 65, Qt::white};
    Stores(const QImage& frontPicture, const QImage& backPicture)
    {
        front.AutoSize = back.AutoSize = true;
        front.SetPicture(frontPicture);
        back.SetPicture(backPicture);
    }
    CompositionStores refs() { return {front, back, &work}; }
};

// A key with distinct bytes, so a swap of red and blue shows, and a top byte to ignore.
constexpr QRgb KeyPixel = 0xFF123456;
constexpr ColorRef Key = ColorRef(0x7F563412);

// Noise with key pixels both in long runs (a cut-out's backdrop) and scattered one by
// one, from a fixed seed.
QImage KeyedForeground(int width, int height, std::uint32_t seed = 5)
{
    QImage picture = NoisePicture(width, height, seed);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const int runStart = int(random() % std::uint32_t(width)), runLength = int(random() % 40);
        for (int x = 0; x < width; ++x)
            if ((x >= runStart && x < runStart + runLength) || random() % 5 == 0)
                row[x] = KeyPixel;
    }
    return picture;
}

// Most widths are odd, so rows end part-way through the blocks the engine tests for the key.
// The work surface holds the blended patch: the composite's pixels over the background.
// Composing with no work surface gives the same board.
TEST(ComposeImages, BoardIsTheReferenceCompositeAndTheWorkSurfaceItsPatchAtEveryPlacement)
{
    const struct { const char* what; QSize front, back; QPoint at; int rate; } placements[] = {
        {"inside", {33, 17}, {127, 65}, {30, 20}, 30}, {"left edge", {41, 23}, {127, 65}, {-13, 20}, 50},
        {"right edge", {41, 23}, {127, 65}, {100, 20}, 37}, {"top edge", {41, 23}, {127, 65}, {40, -9}, 99},
        {"bottom edge", {41, 23}, {127, 65}, {40, 55}, 1},
        {"top-left corner", {50, 50}, {100, 100}, {-10, -10}, 40},
        {"bottom-right corner", {41, 41}, {100, 100}, {80, 90}, 75},
        {"bottom-left corner", {40, 40}, {100, 100}, {-39, 99}, 50},
        {"top-right corner", {43, 29}, {100, 100}, {99, -28}, 63},
        {"larger, over every edge", {151, 121}, {100, 80}, {-17, -11}, 60},
        {"larger, at the origin", {150, 120}, {100, 80}, {0, 0}, 60},
        {"the same size", {100, 80}, {100, 80}, {0, 0}, 45}, {"wholly left", {50, 50}, {100, 100}, {-50, 10}, 40},
        {"wholly right", {50, 50}, {100, 100}, {200, 0}, 40}, {"wholly above", {50, 50}, {100, 100}, {10, -50}, 40},
        {"wholly below", {50, 50}, {100, 100}, {10, 100}, 40},
        {"far off both ways", {50, 50}, {100, 100}, {1000000, -1000000}, 40},
        {"rate 0: the background alone", {50, 50}, {100, 100}, {17, 5}, 0},
        {"rate 100: the foreground itself", {50, 50}, {100, 100}, {60, 40}, 100}};
    for (const auto& c : placements) {
        SCOPED_TRACE(c.what);
        const QImage front = KeyedForeground(c.front.width(), c.front.height());
        const QImage back = NoisePicture(c.back.width(), c.back.height(), 9);
        Stores stores(front, back);
        RecordingView view;
        ComposeImages(Key, c.rate, c.at.x(), c.at.y(), stores.refs(), view);
        const QImage& composite = view.board.Image();
        EXPECT_TRUE(SamePixels(ExpectedComposite(front, back, c.at, c.rate, KeyPixel), composite));
        EXPECT_EQ(stores.work.Image().size(), c.front);
        const QRect overlap = QRect(c.at, c.front) & composite.rect();
        if (!overlap.isEmpty()) {
            EXPECT_TRUE(SamePixels(composite.copy(overlap),
                                   stores.work.Image().copy(overlap.translated(-c.at))));
        }
        EXPECT_EQ(view.marker, QRect(c.at, c.front));
        EXPECT_EQ(view.refreshes, 1);

        RecordingView unkept;
        ComposeImages(Key, c.rate, c.at.x(), c.at.y(), {stores.front, stores.back, nullptr}, unkept);
        EXPECT_TRUE(SamePixels(composite, unkept.board.Image()));
    }
}

// Reused surfaces hold the last run's pixels, and the clipboard may still hold the last
// composite: neither changes the next run, and the next run leaves that copy alone.
TEST(ComposeImages, ARunDependsOnlyOnItsPicturesAndLeavesTheLastCompositeAlone)
{
    const QImage front = KeyedForeground(50, 50), back = NoisePicture(100, 100, 21);
    Stores stores(front, back);
    RecordingView view;
    ComposeImages(Key, 45, -10, 70, stores.refs(), view);
    const QImage kept = view.board.Image(), first = kept.copy();
    ComposeImages(Key, 45, 25, 15, stores.refs(), view);
    EXPECT_TRUE(SamePixels(first, kept));
    EXPECT_TRUE(SamePixels(ExpectedComposite(front, back, {25, 15}, 45, KeyPixel), view.board.Image()));

    stores.work.hDC().fill(qRgb(1, 2, 3));
    view.board.SetSize(300, 20);
    view.board.hDC().fill(qRgb(250, 0, 0));
    ComposeImages(Key, 45, -10, 70, stores.refs(), view);
    EXPECT_TRUE(SamePixels(first, view.board.Image()));
}

} // namespace
