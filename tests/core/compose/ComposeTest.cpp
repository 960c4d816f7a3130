// The blend against its plain formula over every value, and the composite against a composite
// worked out pixel by pixel.
#include "core/compose/BlendPixels.h"
#include "core/compose/ComposeImages.h"
#include "core/compose/SoftKey.h"
#include "core/surfaces/Surface.h"
#include "support/ExpectedComposite.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <algorithm>

namespace {
// Every (background, foreground) byte pair at every rate, each channel fed a different pairing so
// a mix-up shows, into another run as a composite row is; a rate out of range takes the nearer
// end. The reference is checked on channels worked by hand, lest it share a fault with the engine.
TEST(BlendRun, EveryBytePairAtEveryRateIsTheReferenceBlend)
{
    const int byHand[][4] = {{0, 200, 50, 100}, {110, 10, 30, 80}, {255, 0, 75, 64}, {0, 255, 75, 191},
                             {0, 5, 50, 2}, {0, 7, 50, 4}, {0, 255, 50, 127}};   // 127.49999999999999: no half
    for (const auto& [back, front, rate, result] : byHand)
        EXPECT_EQ(ReferenceChannel(back, front, rate), result) << back << " " << front << " " << rate;
    QImage front(256, 256, QImage::Format_RGB32), patch = front, out = front;
    for (int high = 0; high < 256; ++high)
        for (int low = 0; low < 256; ++low) {
            patch.setPixel(low, high, qRgb(high, low, high ^ 0x5A));
            front.setPixel(low, high, qRgb(low, high, low));   // red equals blue: the key (1, 2, 3) matches none
        }
    for (int rate = -1; rate <= 101; ++rate) {
        BlendRun(front.constBits(), patch.constBits(), out.bits(), 65536, {3, 2, 1, 0}, BlendTableFor(rate), 0);
        ASSERT_TRUE(SamePixels(ExpectedComposite(front, patch, {}, std::clamp(rate, 0, 100), 0), out)) << rate;
    }
}

// Every alpha at every rate: the ends of the byte, a pair whose value falls on halves and a pair
// one apart. At alpha 255 this is the plain blend above, so the ends must meet.
TEST(BlendChannelAlpha, EveryAlphaAtEveryRateIsTheReferenceBlend)
{
    const int byHand[][5] = {{0, 255, 100, 128, 128}, {200, 0, 50, 255, 100}, {100, 200, 40, 51, 108}};
    for (const auto& [back, front, rate, alpha, result] : byHand)
        EXPECT_EQ(ReferenceChannel(back, front, rate, alpha), result) << back << " " << front << " " << rate;
    for (const auto& [back, front] : {std::pair{0, 255}, {255, 0}, {1, 2}, {77, 200}, {255, 255}})
        for (int rate = 0; rate <= 100; ++rate)
            for (int alpha = 0; alpha <= 255; ++alpha)
                ASSERT_EQ(BlendChannelAlpha(back, front, rate, alpha), ReferenceChannel(back, front, rate, alpha))
                    << back << " " << front << " " << rate << " " << alpha;
}

// A logo colour anti-aliased onto a plain key backdrop at every coverage, composed onto grey and
// onto the key. A pixel is keyed exactly when its largest channel difference from the key is
// within the tolerance's share of 255, and then, over the key, still shows as it was. A tolerance
// that reaches the logo's own colour gives every edge pixel back the logo and its coverage: over
// grey the composite is the logo's own edge within the rounding, with no trace of the key.
TEST(SoftKey, AnAntiAliasedEdgeLosesItsFringeAndTheToleranceBoundsWhatIsKeyed)
{
    const std::tuple<QRgb, QRgb, int> logoOnKey[] = {   // the logo's reach in percent, rounded down
        {0x14A028, 0xFF00FF, 92}, {0x000000, 0xFFFFFF, 100}, {0x333333, 0xFFFFFF, 80}, {0xFFFFFF, 0x0000FF, 100}};
    const auto mix = [](int f, int k, int a) { return ReferenceChannel(k, f, 100, a); };
    for (const auto& [logo, key, reach] : logoOnKey) {
        QImage edge(256, 1, QImage::Format_RGB32), grey = edge, keyRow = edge, out = edge;
        grey.fill(qRgb(128, 128, 128)), keyRow.fill(key);
        for (int a = 0; a < 256; ++a)
            edge.setPixel(a, 0, qRgb(mix(qRed(logo), qRed(key), a), mix(qGreen(logo), qGreen(key), a),
                                     mix(qBlue(logo), qBlue(key), a)));
        const PixelElement k = PixelOf(ColorRef(qRed(key) | qGreen(key) << 8 | qBlue(key) << 16));
        for (const int tolerance : {reach, 20, 1}) {
            for (const QImage* under : {&grey, &keyRow}) {
                BlendRunCovered(edge.constBits(), under->constBits(), out.bits(), 256, {k, tolerance, false, 100}, 0);
                for (int a = 0; a < 256; ++a) {
                    const QRgb e = edge.pixel(a, 0), o = out.pixel(a, 0);
                    const int distance = std::max({std::abs(qRed(e) - qRed(key)), std::abs(qGreen(e) - qGreen(key)),
                                                   std::abs(qBlue(e) - qBlue(key))});
                    const bool keyed = distance * 100 <= tolerance * 255;
                    for (const int shift : {16, 8, 0}) {
                        const auto channel = [shift](QRgb c) { return int(c >> shift & 0xFF); };
                        const int off = std::abs(channel(o) - (under == &grey ? mix(channel(logo), 128, a) : channel(e)));
                        if (!keyed)
                            EXPECT_EQ(channel(o), channel(e)) << std::hex << logo << std::dec << " " << a;
                        else if (under == &keyRow || tolerance == reach)
                            EXPECT_LE(off, 1) << std::hex << logo << std::dec << " " << a << " " << tolerance;
                    }
                }
            }
        }
    }
}

// A key with distinct bytes, so a swap of red and blue shows, and a top byte to ignore.
constexpr QRgb KeyPixel = 0xFF123456;
constexpr ColorRef Key = ColorRef(0x7F563412);

// Noise with key pixels in runs (a cut-out's backdrop) and one by one, and near misses.
QImage KeyedForeground(QSize size)
{
    QImage picture = NoisePicture(size.width(), size.height(), 5);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if ((x + 3 * y) % 37 < 20 || (x * y) % 7 == 3)
                picture.setPixel(x, y, KeyPixel);
            else if ((x * y) % 7 == 5)
                picture.setPixel(x, y, KeyPixel ^ (1u << 8 * (x % 3)));
    return picture;
}

// The view as the engine sees it: a real board, the marker's rectangle and the repaints asked for.
struct RecordingView final : CompositeTarget {
    Surface board{200, 200, Qt::gray};
    QRect marker;
    int refreshes = 0;
    Surface& Board() override { return board; }
    void PlaceMarker(int x, int y, int w, int h) override { marker = QRect(x, y, w, h); }
    void Refresh() override { ++refreshes; }
};

// The foreground with an alpha channel, every alpha present, 0 and 255 among them.
QImage WithAlpha(QImage picture)
{
    picture.convertTo(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, (picture.pixel(x, y) & 0xFFFFFF) | QRgb((x * 37 + y * 11) % 256) << 24);
    return picture;
}

// Odd widths end rows inside the engine's blocks; the key and its near misses are in the fronts. One
// board and work surface serve every row: a run must not depend on the last one's pixels, nor change
// its composite, which the clipboard may share; a foreground with alpha covers by it, its key
// pixels covering nothing whatever their alpha. (Without a work surface: the ComposeCommand test.)
TEST(ComposeImages, BoardIsTheReferenceCompositeAndTheWorkSurfaceItsPatchAtEveryPlacement)
{
    const struct { const char* what; QSize front, back; QPoint at; int rate; } placements[] = {
        {"inside", {33, 17}, {127, 65}, {30, 20}, 30}, {"left edge", {41, 23}, {127, 65}, {-13, 20}, 50},
        {"right edge", {41, 23}, {127, 65}, {100, 20}, 37}, {"top-left corner", {50, 50}, {100, 100}, {-10, -10}, 40},
        {"bottom-right corner", {41, 41}, {100, 100}, {80, 90}, 75}, {"same size", {100, 80}, {100, 80}, {0, 0}, 45},
        {"over every edge", {151, 121}, {100, 80}, {-17, -11}, 60}, {"beyond it", {50, 50}, {100, 100}, {100, 0}, 40},
        {"far off both ways", {50, 50}, {100, 100}, {1000000, -1000000}, 40}};
    Surface work(73, 65, Qt::white);
    RecordingView view;
    for (const auto& c : placements)
    for (const bool alpha : {false, true}) {
        SCOPED_TRACE(testing::Message() << c.what << (alpha ? " with alpha" : ""));
        const auto front = SurfaceHolding(alpha ? WithAlpha(KeyedForeground(c.front)) : KeyedForeground(c.front));
        const auto back = SurfaceHolding(NoisePicture(c.back.width(), c.back.height(), 9));
        const QImage previous = view.board.Image(), previousCopy = previous.copy();
        view.refreshes = 0;
        ComposeImages(Key, 0, c.rate, c.at.x(), c.at.y(), {*front, *back, &work}, view);
        const QImage composite = view.board.Image();
        EXPECT_TRUE(SamePixels(ExpectedComposite(front->Image(), back->Image(), c.at, c.rate, KeyPixel), composite));
        EXPECT_TRUE(SamePixels(previousCopy, previous));
        EXPECT_EQ(std::pair(view.marker, view.refreshes), std::pair(QRect(c.at, c.front), 1));
        const QRect overlap = QRect(c.at, c.front) & composite.rect();
        EXPECT_EQ(work.Image().size(), c.front);
        if (!overlap.isEmpty()) // an empty rectangle would copy the whole image
            EXPECT_TRUE(SamePixels(composite.copy(overlap), work.Image().copy(overlap.translated(-c.at))));
    }
}
} // namespace
