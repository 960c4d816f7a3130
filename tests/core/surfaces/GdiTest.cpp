// Block copies between bitmaps, with pictures written as letters: one letter a pixel, rows
// separated by "/", "." for the destination's own pixels.
#include "core/surfaces/Gdi.h"

#include <gtest/gtest.h>

namespace {
QImage Letters(const std::string& rows)
{
    const std::size_t width = rows.find('/') == std::string::npos ? rows.size() : rows.find('/');
    QImage image(int(width), int((rows.size() + 1) / (width + 1)), QImage::Format_RGB32);
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i] != '/')
            image.setPixel(int(i % (width + 1)), int(i / (width + 1)), qRgb(0, 0, rows[i]));
    return image;
}

std::string LettersOf(const QImage& image)
{
    std::string rows;
    for (int y = 0; y < image.height(); ++y) {
        if (y > 0)
            rows += '/';
        for (int x = 0; x < image.width(); ++x)
            rows += char(qBlue(image.pixel(x, y)));
    }
    return rows;
}

const QImage kSource = Letters("abcd/efgh/ijkl");

// A source size of -1 is a BitBlt, any other a StretchBlt.
TEST(BlockCopies, CopyOrScaleByNearestNeighbourTheOverlapOfBothBitmapsAndLeaveTheRest)
{
    const struct {
        const char* name;
        int x, y, w, h, sx, sy, sw, sh;
        const char* result;
    } rows[] = {
        {"whole", 0, 0, 4, 3, 0, 0, -1, -1, "abcd/efgh/ijkl/...."},
        {"a block inside", 1, 1, 2, 2, 0, 0, -1, -1, "..../.ab./.ef./...."},
        {"past the destination's corner", 3, 3, 3, 3, 0, 0, -1, -1, "..../..../..../...a"},
        {"from before the destination's corner", -1, -1, 4, 3, 0, 0, -1, -1, "fgh./jkl./..../...."},
        {"source partly outside", 0, 0, 4, 3, 2, 1, -1, -1, "gh../kl../..../...."},
        {"source before its corner", 0, 0, 4, 3, -1, 0, -1, -1, ".abc/.efg/.ijk/...."},
        {"empty block", 0, 0, 0, 3, 0, 0, -1, -1, "..../..../..../...."},
        {"wholly outside", 4, 0, 2, 2, 0, 0, -1, -1, "..../..../..../...."},
        {"enlarged twice", 0, 0, 4, 4, 0, 0, 2, 2, "aabb/aabb/eeff/eeff"},
        {"halved", 0, 0, 2, 1, 0, 0, 4, 2, "ac../..../..../...."},
        {"stretched past the destination's corner", 2, 2, 4, 4, 0, 0, 2, 2, "..../..../..aa/..aa"},
        {"stretched from before the destination's corner", -2, 0, 4, 1, 0, 0, 2, 1, "bb../..../..../...."},
        {"stretched from a source partly outside", 0, 0, 4, 1, 3, 0, 2, 1, "dd../..../..../...."},
        {"empty source", 0, 0, 4, 4, 0, 0, 0, 2, "..../..../..../...."},
        {"empty destination", 0, 0, 4, 0, 0, 0, 2, 2, "..../..../..../...."},
    };
    for (const auto& row : rows) {
        QImage dst = Letters("..../..../..../....");
        EXPECT_TRUE(row.sw < 0 ? BitBlt(dst, row.x, row.y, row.w, row.h, kSource, row.sx, row.sy, SRCCOPY)
                               : StretchBlt(dst, row.x, row.y, row.w, row.h, kSource, row.sx, row.sy, row.sw,
                                            row.sh, SRCCOPY));
        EXPECT_EQ(LettersOf(dst), row.result) << row.name;
    }
}

TEST(BlockCopies, WithinOneBitmapCopyFromTheBitmapAsItWasAndRefuseOtherOperationsAndFormats)
{
    QImage image = kSource;
    BitBlt(image, 1, 0, 3, 3, image, 0, 0, SRCCOPY);
    EXPECT_EQ(LettersOf(image), "aabc/eefg/iijk");

    QImage dst = Letters("..../..../....");
    const QImage other = kSource.convertToFormat(QImage::Format_RGB16);
    EXPECT_FALSE(BitBlt(dst, 0, 0, 4, 3, kSource, 0, 0, 0x00330008));
    EXPECT_FALSE(BitBlt(dst, 0, 0, 4, 3, other, 0, 0, SRCCOPY));
    EXPECT_FALSE(StretchBlt(dst, 0, 0, 4, 3, kSource, 0, 0, 4, 3, 0x00330008));
    EXPECT_FALSE(StretchBlt(dst, 0, 0, 4, 3, other, 0, 0, 4, 3, SRCCOPY));
    EXPECT_EQ(LettersOf(dst), "..../..../....");
}
} // namespace
