#include "core/compose/PixelArray.h"
#include "core/surfaces/Surface.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

namespace {
// Element 0 is the bottom-left pixel; each holds blue, green, red and a zero byte. Written
// back, odd and even widths alike come back unchanged.
TEST(PixelArray, RowsRunFromTheBottomUpAndComeBackUnchanged)
{
    for (const int width : {1, 2, 3, 5, 7, 127})
        for (const int height : {1, 2, 3}) {
            SCOPED_TRACE(::testing::Message() << width << "x" << height);
            const QImage picture = NoisePicture(width, height, std::uint32_t(width * 31 + height));
            auto surface = SurfaceHolding(picture);
            PixelArray pixels{PixelElement{9, 9, 9, 9}, PixelElement{9, 9, 9, 9}};
            ASSERT_EQ(ReadPixels(*surface, pixels), width * height);
            ASSERT_EQ(pixels.size(), std::size_t(width * height));
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const PixelElement& e = pixels[(height - 1 - y) * width + x];
                    ASSERT_EQ(PixelText(qRgb(e.Red, e.Green, e.Blue)), PixelText(picture.pixel(x, y)))
                        << "at (" << x << ", " << y << ")";
                    ASSERT_EQ(e.Reserved, 0);
                }
            surface->hDC().fill(Qt::black);
            ASSERT_EQ(WritePixels(*surface, pixels), 0);
            EXPECT_TRUE(SamePixels(picture, surface->Image()));
        }
}

TEST(WritePixels, AShortArrayFailsAndLeavesTheBitmap)
{
    const QImage picture = NoisePicture(3, 3, 11);
    auto surface = SurfaceHolding(picture);
    EXPECT_EQ(WritePixels(*surface, PixelArray(8, PixelElement{0, 0, 0, 0})), -1);
    EXPECT_TRUE(SamePixels(picture, surface->Image()));
}
} // namespace
