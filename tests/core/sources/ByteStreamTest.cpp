// Skipping to a byte through the stream's growing buffer: the count passed and where the
// stream stands after, for a byte at each buffer edge and for none.
#include "core/sources/ByteStream.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {
TEST(ByteStream, SkipToStopsAtTheByteAndCountsWhatItPassed)
{
    // The buffer holds 4096 bytes, then 8192, 16384...: the first refill is at 4096, the
    // second at 12288.
    for (const qsizetype at : {qsizetype(0), qsizetype(1), qsizetype(4095), qsizetype(4096),
                               qsizetype(12287), qsizetype(12288), qsizetype(99999)}) {
        SCOPED_TRACE(at);
        QByteArray bytes(100000, 'x');
        bytes[at] = '\xFF';
        QBuffer file(&bytes);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        ByteStream stream(file);
        std::int64_t passed = 7;
        ASSERT_TRUE(stream.SkipTo(0xFF, passed));
        EXPECT_EQ(passed, 7 + at);
        EXPECT_EQ(stream.Position(), at);
        EXPECT_EQ(stream.Next(), 0xFF);
        EXPECT_FALSE(stream.SkipTo(0xFF, passed));
        EXPECT_EQ(passed, 7 + bytes.size() - 1);
        EXPECT_EQ(stream.Next(), -1);
    }
}
} // namespace
