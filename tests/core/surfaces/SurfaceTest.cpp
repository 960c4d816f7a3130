#include "core/compose/PixelArray.h"
#include "core/surfaces/BitmapMemory.h"
#include "core/surfaces/Gdi.h"
#include "core/surfaces/Surface.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <sys/mman.h>
#include <thread>
#include <vector>

namespace {
// A 4-pixel-wide picture read as letters, one a pixel (its blue byte), rows separated by "/".
std::string LettersOf(const QImage& image)
{
    std::string rows;
    for (int i = 0; i < image.height() * 5 - 1; ++i)
        rows += i % 5 < 4 ? char(qBlue(image.pixel(i % 5, i / 5))) : '/';
    return rows;
}

// Block copies from "abcd/efgh/ijkl" onto "....", past either bitmap's corners: a source width of
// -1 is a BitBlt, any other a StretchBlt, enlarging twice or from an empty source.
TEST(BlockCopies, CopyOrScaleByNearestNeighbourTheOverlapOfBothBitmapsAndLeaveTheRest)
{
    QImage source(4, 3, QImage::Format_RGB32);
    for (int i = 0; i < 12; ++i)
        source.setPixel(i % 4, i / 4, qRgb(0, 0, 'a' + i));
    const struct { int x, y, w, h, sx, sy, sw, sh; const char* result; } rows[] = {
        {3, 3, 3, 3, 0, 0, -1, -1, "..../..../..../...a"}, {-1, -1, 4, 3, 0, 0, -1, -1, "fgh./jkl./..../...."},
        {0, 0, 4, 3, 2, 1, -1, -1, "gh../kl../..../...."}, {0, 0, 4, 3, -1, 0, -1, -1, ".abc/.efg/.ijk/...."},
        {0, 0, 4, 4, 0, 0, 2, 2, "aabb/aabb/eeff/eeff"}, {2, 2, 4, 4, 0, 0, 2, 2, "..../..../..aa/..aa"},
        {-2, 0, 4, 1, 0, 0, 2, 1, "bb../..../..../...."}, {0, 0, 4, 1, 3, 0, 2, 1, "dd../..../..../...."},
        {0, 0, 4, 4, 0, 0, 0, 2, "..../..../..../...."}};
    for (const auto& r : rows) {
        QImage dst(4, 4, QImage::Format_RGB32);
        dst.fill(qRgb(0, 0, '.'));
        EXPECT_TRUE(r.sw < 0 ? BitBlt(dst, r.x, r.y, r.w, r.h, source, r.sx, r.sy, SRCCOPY)
                             : StretchBlt(dst, r.x, r.y, r.w, r.h, source, r.sx, r.sy, r.sw, r.sh, SRCCOPY));
        EXPECT_EQ(LettersOf(dst), r.result) << "row " << &r - rows;
    }
}

// Element 0 is the bottom-left pixel, its reserved byte 0; written back, odd and even widths alike
// come back unchanged. An array too short for the bitmap is refused and changes nothing. Pixels
// written into a holder's bitmap leave its picture as it was; clearing shows it again.
TEST(PixelArray, RowsRunFromTheBottomUpAndWritingLeavesTheHoldersPicture)
{
    for (const QSize size : {QSize(1, 1), QSize(2, 3), QSize(5, 2), QSize(127, 3)}) {
        const int w = size.width(), h = size.height();
        const QImage picture = NoisePicture(w, h, std::uint32_t(w * 31 + h));
        auto holder = SurfaceHolding(picture);
        PixelArray pixels(2, PixelElement{9, 9, 9, 9});
        ASSERT_EQ(ReadPixels(*holder, pixels), w * h);
        std::vector<QRgb> expected, read(pixels.size());
        for (int y = h - 1; y >= 0; --y)
            for (int x = 0; x < w; ++x)
                expected.push_back(picture.pixel(x, y) & 0xFFFFFF);
        std::memcpy(read.data(), pixels.data(), read.size() * 4);   // 0xSSRRGGBB, as the engine reads them
        EXPECT_EQ(read, expected) << w << "x" << h;
        ASSERT_EQ(WritePixels(*holder, PixelArray(pixels.size(), PixelElement{1, 2, 3, 0})), 0);
        const QImage written = holder->Image().copy();
        EXPECT_EQ(WritePixels(*holder, PixelArray(pixels.begin(), pixels.end() - 1)), -1);
        EXPECT_TRUE(SamePixels(written, holder->Image()) && SamePixels(picture, *holder->Picture()));
        ASSERT_EQ(WritePixels(*holder, pixels), 0);
        EXPECT_TRUE(SamePixels(picture, holder->Image()));
        holder->hDC().fill(Qt::black);
        holder->Cls();
        EXPECT_TRUE(SamePixels(picture, holder->Image()));
    }
}

// Mapping a camera-sized bitmap's pages ahead changes no byte written before or meanwhile.
TEST(BitmapMemory, MappingPagesAheadKeepsWhatIsWrittenBeforeAndMeanwhile)
{
    QImage bitmap = NewBitmap(2051, 1537);   // 12.6 MB, rows not a whole number of pages
    ASSERT_FALSE(bitmap.isNull());
    std::vector<std::uint8_t> pattern(std::size_t(bitmap.sizeInBytes()));
    for (std::size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = std::uint8_t(i * 7 + (i >> 12));
    const std::size_t half = pattern.size() / 2;
    std::memcpy(bitmap.bits(), pattern.data(), half);
    {
        const BitmapPagesAhead pagesAhead(bitmap, kLargePixelBlock);
        std::memcpy(bitmap.bits() + half, pattern.data() + half, pattern.size() - half);
    }
    EXPECT_EQ(std::memcmp(bitmap.constBits(), pattern.data(), pattern.size()), 0);
}

// Whether every whole page of the bitmap's pixels is in memory.
bool Mapped(const QImage& bitmap)
{
    const std::uintptr_t page = 4096, at = std::uintptr_t(bitmap.constBits());
    const std::uintptr_t start = (at + page - 1) & ~(page - 1), end = (at + bitmap.sizeInBytes()) & ~(page - 1);
    std::vector<unsigned char> pages((end - start) / page);
    return mincore(reinterpret_cast<void*>(start), end - start, pages.data()) == 0
           && std::all_of(pages.begin(), pages.end(), [](unsigned char p) { return (p & 1) != 0; });
}

// A prepared bitmap is taken only at its own size and once; its pages get mapped with
// nothing written. A bitmap kept back is held only while no copy shares its pixels.
TEST(PreparedBitmap, TakenOnceAtItsSizeItsPagesMappedAhead)
{
    PreparedBitmap prepared;
    prepared.Prepare(2051, 1537);   // 12.6 MB
    EXPECT_TRUE(prepared.Take(2051, 1536).isNull());
    QImage taken = prepared.Take(2051, 1537);
    ASSERT_EQ(taken.size(), QSize(2051, 1537));
    EXPECT_TRUE(prepared.Take(2051, 1537).isNull());
    for (int wait = 0; wait < 2000 && !Mapped(taken); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(Mapped(taken));

    QImage copy = taken;
    prepared.Keep(taken);
    EXPECT_TRUE(prepared.Take(2051, 1537).isNull());
    copy = QImage();
    const uchar* pixels = taken.constBits();
    prepared.Keep(std::move(taken));
    prepared.Prepare(2051, 1537);
    EXPECT_EQ(prepared.Take(2051, 1537).constBits(), pixels);
}
} // namespace
