// Mapping a new camera-sized bitmap's pages ahead of a decoder must not change a byte: not
// those written before it starts, nor those written while it runs.
#include "core/surfaces/BitmapMemory.h"

#include <gtest/gtest.h>

namespace {
std::uint8_t Pattern(std::size_t i)
{
    return std::uint8_t(i * 7 + (i >> 12));
}

TEST(BitmapMemory, MappingPagesAheadKeepsWhatIsWrittenBeforeAndMeanwhile)
{
    QImage bitmap = NewBitmap(2051, 1537); // 12.6 MB, rows not a whole number of pages
    ASSERT_FALSE(bitmap.isNull());
    std::uint8_t* bytes = bitmap.bits();
    const auto size = std::size_t(bitmap.sizeInBytes()), half = size / 2;
    for (std::size_t i = 0; i < half; ++i)
        bytes[i] = Pattern(i);
    {
        const BitmapPagesAhead pagesAhead(bitmap);
        for (std::size_t i = half; i < size; ++i)
            bytes[i] = Pattern(i);
    }
    std::size_t changed = 0;
    for (std::size_t i = 0; i < size; ++i)
        changed += bytes[i] != Pattern(i) ? 1 : 0;
    EXPECT_EQ(changed, 0u);
}
} // namespace
