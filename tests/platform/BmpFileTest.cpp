#include "platform/BmpFile.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}

std::uint16_t Read16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return std::uint16_t(b[at] | b[at + 1] << 8);
}

QImage Decode(const std::vector<std::uint8_t>& bytes)
{
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    QImageReader reader(&buffer, "bmp");
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

TEST(EncodeBmp, HeadersDescribeA24BitBottomUpPicture)
{
    const std::vector<std::uint8_t> file = EncodeBmp(NoisePicture(5, 3, 1));
    const std::uint32_t rowBytes = 16;   // 15 bytes of pixels, padded
    ASSERT_EQ(file.size(), 54u + rowBytes * 3);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Read32(file, 2), file.size());
    EXPECT_EQ(Read32(file, 10), 54u);   // pixels right after the headers
    EXPECT_EQ(Read32(file, 14), 40u);
    EXPECT_EQ(std::int32_t(Read32(file, 18)), 5);
    EXPECT_EQ(std::int32_t(Read32(file, 22)), 3);   // positive: bottom-up
    EXPECT_EQ(Read16(file, 26), 1);
    EXPECT_EQ(Read16(file, 28), 24);
    EXPECT_EQ(Read32(file, 30), 0u);
    EXPECT_EQ(Read32(file, 34), rowBytes * 3);
    EXPECT_EQ(Read32(file, 46), 0u);   // no colour table
}

TEST(EncodeBmp, EveryRowPaddingDecodesBackExactly)
{
    for (const int width : {1, 2, 3, 4, 5, 6, 7, 8, 127}) {
        SCOPED_TRACE(::testing::Message() << "width " << width);
        const QImage picture = NoisePicture(width, 3, std::uint32_t(width));
        const QImage decoded = Decode(EncodeBmp(picture));
        EXPECT_TRUE(SamePixels(picture, decoded));
    }
}

TEST(SaveBmp, AFailureGivesAReasonAndLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.bmp");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    EXPECT_FALSE(SaveBmp(QImage(4, 4, QImage::Format_ARGB32), path).isEmpty());
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));

    EXPECT_FALSE(SaveBmp(NoisePicture(2, 2, 1), dir.filePath("missing/new.bmp")).isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"old.bmp"});
}
} // namespace
