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
    QRect marker{-1, -1, 1, 1};
    int refreshes = 0;

    Surface& Board() override { return board; }
    void PlaceMarker(std::int32_t left, std::int32_t top, std::int32_t width,
                     std::int32_t height) override
    {
        marker = QRect(left, top, width, height);
    }
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

constexpr QRgb Magenta = 0xFFFF00FF;
constexpr ColorRef MagentaKey = 0x00FF00FF;

// Noise with every seventh pixel in the key colour.
QImage KeyedForeground(int width, int height)
{
    QImage picture = NoisePicture(width, height, 5);
    for (int i = 0; i < width * height; i += 7)
        picture.setPixel(i % width, i / width, Magenta);
    return picture;
}

// The composite worked out pixel by pixel from the two pictures.
QImage ExpectedComposite(const QImage& front, const QImage& back, int frontX, int frontY,
                         QRgb key, int rate)
{
    QImage expected = back.copy();
    for (int y = 0; y < back.height(); ++y)
        for (int x = 0; x < back.width(); ++x) {
            if (!front.valid(x - frontX, y - frontY))
                continue;
            const QRgb f = front.pixel(x - frontX, y - frontY), b = back.pixel(x, y);
            if ((f & 0xFFFFFF) == (key & 0xFFFFFF))
                continue;
            expected.setPixel(x, y, qRgb(BlendChannel(qRed(b), qRed(f), rate),
                                         BlendChannel(qGreen(b), qGreen(f), rate),
                                         BlendChannel(qBlue(b), qBlue(f), rate)));
        }
    return expected;
}

struct Placement {
    const char* what;
    QSize front, back;
    int frontX, frontY, rate;
};

void PrintTo(const Placement& p, std::ostream* os)
{
    *os << p.what;
}

class ComposePlacement : public ::testing::TestWithParam<Placement> {};

TEST_P(ComposePlacement, BoardHoldsTheBackgroundWithTheBlendedForegroundCutToIt)
{
    const Placement& p = GetParam();
    const QImage front = KeyedForeground(p.front.width(), p.front.height());
    const QImage back = NoisePicture(p.back.width(), p.back.height(), 9);
    Stores stores(front, back);
    RecordingView view;
    ComposeImages(MagentaKey, p.rate, p.frontX, p.frontY, stores.refs(), view);

    EXPECT_TRUE(SamePixels(ExpectedComposite(front, back, p.frontX, p.frontY, Magenta, p.rate),
                           view.board.Image()));
    EXPECT_EQ(view.marker, QRect(p.frontX, p.frontY, p.front.width(), p.front.height()));
    EXPECT_EQ(stores.work.Width(), p.front.width());
    EXPECT_EQ(stores.work.Height(), p.front.height());
    EXPECT_EQ(view.refreshes, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, ComposePlacement,
    ::testing::Values(Placement{"up-left, lower-right part shows", {50, 50}, {100, 100}, -10, -10, 40},
                      Placement{"wholly outside", {50, 50}, {100, 100}, 200, 0, 40},
                      Placement{"foreground larger than background", {150, 120}, {100, 80}, 0, 0, 60},
                      Placement{"inside, odd sizes", {33, 17}, {127, 64}, 30, 20, 30},
                      Placement{"past the bottom-right corner", {40, 40}, {100, 100}, 80, 90, 75},
                      Placement{"negative, partly in", {40, 40}, {100, 100}, -39, 99, 50}));

TEST(ComposeImages, RateZeroShowsTheBackgroundAlone)
{
    const QImage back = TestDataPicture(QStringLiteral("jpeg/testorig.jpg"));
    ASSERT_FALSE(back.isNull());
    Stores stores(TestDataPicture(QStringLiteral("jpeg/hopper.jpg")), back);
    RecordingView view;
    ComposeImages(MagentaKey, 0, 17, 5, stores.refs(), view);
    EXPECT_TRUE(SamePixels(back, view.board.Image()));
}

TEST(ComposeImages, RateHundredWithAnUnusedKeyReproducesTheForeground)
{
    const QImage front = TestDataPicture(QStringLiteral("jpeg/hopper.jpg"));
    const QImage back = TestDataPicture(QStringLiteral("jpeg/testorig.jpg"));
    ASSERT_FALSE(front.isNull());
    Stores stores(front, back);
    RecordingView view;
    // Pure magenta does not occur in the photograph.
    ComposeImages(MagentaKey, 100, 60, 40, stores.refs(), view);
    const QImage overlap = view.board.Image().copy(60, 40, 128, back.height() - 40);
    EXPECT_TRUE(SamePixels(front.copy(0, 0, 128, back.height() - 40), overlap));
}

TEST(ComposeImages, BlackKeyLetsBlackThroughButBlendsNearBlack)
{
    QImage front(2, 1, QImage::Format_RGB32);
    front.setPixel(0, 0, qRgb(0, 0, 0));
    front.setPixel(1, 0, qRgb(0, 0, 1));
    QImage back(2, 1, QImage::Format_RGB32);
    back.fill(qRgb(100, 100, 100));
    Stores stores(front, back);
    RecordingView view;
    ComposeImages(0, 100, 0, 0, stores.refs(), view);
    EXPECT_TRUE(PixelIs(view.board.Image(), 0, 0, qRgb(100, 100, 100)));
    EXPECT_TRUE(PixelIs(view.board.Image(), 1, 0, qRgb(0, 0, 1)));
}

TEST(ComposeImages, KeyTopByteIsIgnored)
{
    const QImage front = KeyedForeground(20, 20), back = NoisePicture(30, 30, 3);
    Stores stores(front, back);
    RecordingView view;
    ComposeImages(ColorRef(0x7F000000u | 0x00FF00FFu), 50, 5, 5, stores.refs(), view);
    EXPECT_TRUE(SamePixels(ExpectedComposite(front, back, 5, 5, Magenta, 50), view.board.Image()));
}

TEST(ComposeImages, TwoRunsAreIdenticalWhateverTheSurfacesHeld)
{
    const QImage front = KeyedForeground(50, 50), back = NoisePicture(100, 100, 21);
    Stores stores(front, back);
    RecordingView view;
    ComposeImages(MagentaKey, 45, -10, 70, stores.refs(), view);
    const QImage first = view.board.Image().copy();

    stores.work.hDC().fill(qRgb(1, 2, 3));
    view.board.SetSize(300, 20);
    view.board.hDC().fill(qRgb(250, 0, 0));
    ComposeImages(MagentaKey, 45, -10, 70, stores.refs(), view);
    EXPECT_TRUE(SamePixels(first, view.board.Image()));
}
} // namespace
