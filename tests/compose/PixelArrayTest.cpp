#include "compose/PixelArray.h"
#include "platform/Surface.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

namespace {
// A surface holding exactly `picture`.
std::unique_ptr<Surface> SurfaceOf(const QImage& picture)
{
    auto surface = std::make_unique<Surface>(1, 1, Qt::white);
    surface->AutoSize = true;
    surface->SetPicture(picture);
    return surface;
}

QRgb ColourOf(const PixelElement& e)
{
    return qRgb(e.Red, e.Green, e.Blue);
}

TEST(ReadPixels, OnePixelGivesBlueGreenRedAndAZeroByte)
{
    QImage picture(1, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(0x10, 0x20, 0x30));
    auto surface = SurfaceOf(picture);
    PixelArray pixels{PixelElement{9, 9, 9, 9}, PixelElement{9, 9, 9, 9}};
    ASSERT_EQ(ReadPixels(*surface, pixels), 1);
    ASSERT_EQ(pixels.size(), 1u);
    EXPECT_EQ(pixels[0].Blue, 0x30);
    EXPECT_EQ(pixels[0].Green, 0x20);
    EXPECT_EQ(pixels[0].Red, 0x10);
    EXPECT_EQ(pixels[0].Reserved, 0);
}

TEST(ReadPixels, RowsRunFromTheBottomUp)
{
    const QImage picture = NoisePicture(3, 2, 7);
    auto surface = SurfaceOf(picture);
    PixelArray pixels;
    ASSERT_EQ(ReadPixels(*surface, pixels), 6);
    ASSERT_EQ(pixels.size(), 6u);
    // Element 0 is the bottom-left pixel, 2 the bottom-right, 3 the top-left.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            SCOPED_TRACE(::testing::Message() << "(" << x << ", " << y << ")");
            EXPECT_EQ(PixelText(ColourOf(pixels[(1 - y) * 3 + x])),
                      PixelText(picture.pixel(x, y)));
        }
}

TEST(PixelArrayRoundTrip, OddAndEvenWidthsComeBackUnchanged)
{
    for (const int width : {1, 2, 3, 5, 7, 127}) {
        for (const int height : {1, 2, 3}) {
            SCOPED_TRACE(::testing::Message() << width << "x" << height);
            const QImage picture = NoisePicture(width, height, std::uint32_t(width * 31 + height));
            auto surface = SurfaceOf(picture);
            PixelArray pixels;
            ASSERT_EQ(ReadPixels(*surface, pixels), width * height);
            surface->hDC().fill(Qt::black);
            ASSERT_EQ(WritePixels(*surface, pixels), 0);
            EXPECT_TRUE(SamePixels(picture, surface->Image()));
        }
    }
}

TEST(WritePixels, AShortArrayFailsAndLeavesTheBitmap)
{
    const QImage picture = NoisePicture(3, 3, 11);
    auto surface = SurfaceOf(picture);
    const PixelArray pixels(8, PixelElement{0, 0, 0, 0});
    EXPECT_EQ(WritePixels(*surface, pixels), -1);
    EXPECT_TRUE(SamePixels(picture, surface->Image()));
}
} // namespace
