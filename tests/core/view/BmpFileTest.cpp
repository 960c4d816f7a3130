// Bitmap files as every viewer expects them, read back by Qt's own reader.
#include "core/view/BmpFile.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

namespace {
TEST(BmpFile, HeadersDescribeA24BitBottomUpPictureAndEveryRowPaddingReadsBack)
{
    // 54 header bytes, then 3 rows of 15 pixel bytes padded to 16: a positive height (bottom
    // up), 24 bits, no compression, 96 dpi, no colour table.
    const BmpBytes file = EncodeBmp(NoisePicture(5, 3, 1));
    ASSERT_EQ(file.size(), 102u);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(file.data()), 54).toHex(),
              "424d660000000000000036000000280000000500000003000000010018000000"
              "000030000000c40e0000c40e00000000000000000000");
    for (const int width : {1, 2, 3, 4, 127}) {
        const QImage picture = NoisePicture(width, 3, std::uint32_t(width));
        const BmpBytes bytes = EncodeBmp(picture);
        const QImage decoded = QImage::fromData(bytes.data(), int(bytes.size()), "BMP");
        EXPECT_TRUE(SamePixels(picture, decoded.convertToFormat(QImage::Format_RGB32))) << "width " << width;
    }
}
} // namespace
