#include "core/compose/PixelArray.h"
#include "core/surfaces/Gdi.h"
#include "core/surfaces/Surface.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
bool SharesPixels(const Surface& holder)
{
    return holder.Picture() && holder.Image().constBits() == holder.Picture()->constBits();
}

TEST(Surface, TheWorkingBitmapSharesThePictureUntilDrawnOnAndClearingRestoresIt)
{
    const QImage picture = NoisePicture(37, 21, 3), block = GradientPicture(10, 10);
    const std::pair<std::function<void(Surface&)>, QRgb> drawings[] = { // and the pixel at (4, 5) after it
        {[](Surface& s) {
             PixelArray pixels;
             ReadPixels(s, pixels);
             for (PixelElement& e : pixels)
                 e = PixelElement{1, 2, 3, 0};
             ASSERT_EQ(WritePixels(s, pixels), 0);
         },
         qRgb(3, 2, 1)},
        {[&block](Surface& s) { BitBlt(s.hDC(), 0, 0, 10, 10, block, 0, 0, SRCCOPY); }, block.pixel(4, 5)},
    };
    for (const auto& [draw, drawnAt45] : drawings) {
        SCOPED_TRACE(PixelText(drawnAt45).toStdString());
        auto holder = SurfaceHolding(picture);
        EXPECT_TRUE(SharesPixels(*holder));
        draw(*holder);
        EXPECT_FALSE(SharesPixels(*holder));
        EXPECT_TRUE(PixelIs(holder->Image(), 4, 5, drawnAt45));
        ASSERT_TRUE(holder->Picture());
        EXPECT_TRUE(SamePixels(picture, *holder->Picture())) << "the assigned picture changed";
        holder->Cls();
        EXPECT_TRUE(SamePixels(picture, holder->Image()));
        EXPECT_TRUE(SharesPixels(*holder));
    }
}

TEST(Surface, APictureSmallerThanTheBitmapLiesOnTheBackground)
{
    const QImage picture = NoisePicture(5, 4, 8);
    Surface fixed(9, 7, Qt::blue);
    fixed.SetPicture(picture);
    EXPECT_TRUE(SamePixels(picture, fixed.Image().copy(0, 0, 5, 4)));
    EXPECT_TRUE(PixelIs(fixed.Image(), 5, 0, qRgb(0, 0, 255)));
    EXPECT_TRUE(PixelIs(fixed.Image(), 0, 4, qRgb(0, 0, 255)));

    auto holder = SurfaceHolding(picture);
    holder->SetPicture(std::nullopt);
    EXPECT_EQ(holder->Image().size(), picture.size());
    EXPECT_TRUE(PixelIs(holder->Image(), 2, 2, qRgb(255, 255, 255)));
}
} // namespace
