#include "core/compose/PixelArray.h"
#include "core/surfaces/BitmapMemory.h"
#include "core/surfaces/Gdi.h"
#include "core/surfaces/Surface.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

namespace {
// A 4-pixel-wide picture read as letters, one a pixel (its blue byte), rows separated by "/".
std::string LettersOf(const QImage& image)
{
    std::string rows;
    for (int i = 0; i < image.height() * 5 - 1; ++i)
        rows += i % 5 < 4 ? char(qBlue(image.pixel(i % 5, i / 5))) : '/';
    return rows;
}

// Block copies from "abcd/efgh/ijkl" onto "....": a source width of -1 is a BitBlt, any other a
// StretchBlt.
TEST(BlockCopies, CopyOrScaleByNearestNeighbourTheOverlapOfBothBitmapsAndLeaveTheRest)
{
    QImage source(4, 3, QImage::Format_RGB32);
    for (int i = 0; i < 12; ++i)
        source.setPixel(i % 4, i / 4, qRgb(0, 0, 'a' + i));
    const struct { const char* name; int x, y, w, h, sx, sy, sw, sh; const char* result; } rows[] = {
        {"past the destination's corner", 3, 3, 3, 3, 0, 0, -1, -1, "..../..../..../...a"},
        {"from before the destination's corner", -1, -1, 4, 3, 0, 0, -1, -1, "fgh./jkl./..../...."},
        {"source partly outside", 0, 0, 4, 3, 2, 1, -1, -1, "gh../kl../..../...."},
        {"source before its corner", 0, 0, 4, 3, -1, 0, -1, -1, ".abc/.efg/.ijk/...."},
        {"enlarged twice", 0, 0, 4, 4, 0, 0, 2, 2, "aabb/aabb/eeff/eeff"},
        {"stretched past the destination's corner", 2, 2, 4, 4, 0, 0, 2, 2, "..../..../..aa/..aa"},
        {"stretched from before the destination's corner", -2, 0, 4, 1, 0, 0, 2, 1, "bb../..../..../...."},
        {"stretched from a source partly outside", 0, 0, 4, 1, 3, 0, 2, 1, "dd../..../..../...."},
        {"empty source", 0, 0, 4, 4, 0, 0, 0, 2, "..../..../..../...."}};
    for (const auto& r : rows) {
        QImage dst(4, 4, QImage::Format_RGB32);
        dst.fill(qRgb(0, 0, '.'));
        EXPECT_TRUE(r.sw < 0 ? BitBlt(dst, r.x, r.y, r.w, r.h, source, r.sx, r.sy, SRCCOPY)
                             : StretchBlt(dst, r.x, r.y, r.w, r.h, source, r.sx, r.sy, r.sw, r.sh, SRCCOPY));
        EXPECT_EQ(LettersOf(dst), r.result) << r.name;
    }
}

// Pixels written into a holder's bitmap leave its picture as it was; clearing shows it again.
TEST(Surface, WritingPixelsLeavesThePictureAndClearingShowsItAgain)
{
    const QImage picture = NoisePicture(37, 21, 3);
    auto holder = SurfaceHolding(picture);
    ASSERT_EQ(WritePixels(*holder, PixelArray(37 * 21, PixelElement{1, 2, 3, 0})), 0);
    EXPECT_TRUE(SamePixels(picture, *holder->Picture()));
    holder->Cls();
    EXPECT_TRUE(SamePixels(picture, holder->Image()));
}

// Mapping a camera-sized bitmap's pages ahead changes no byte written before or meanwhile.
TEST(BitmapMemory, MappingPagesAheadKeepsWhatIsWrittenBeforeAndMeanwhile)
{
    QImage bitmap = NewBitmap(2051, 1537);   // 12.6 MB, rows not a whole number of pages
    ASSERT_FALSE(bitmap.isNull());
    std::uint8_t* bytes = bitmap.bits();
    const auto size = std::size_t(bitmap.sizeInBytes());
    const auto pattern = [](std::size_t i) { return std::uint8_t(i * 7 + (i >> 12)); };
    std::optional<BitmapPagesAhead> pagesAhead;
    for (std::size_t i = 0; i < size; ++i) {
        if (i == size / 2)
            pagesAhead.emplace(bitmap);
        bytes[i] = pattern(i);
    }
    pagesAhead.reset();
    for (std::size_t i = 0; i < size; ++i)
        ASSERT_EQ(bytes[i], pattern(i)) << "byte " << i;
}
} // namespace
