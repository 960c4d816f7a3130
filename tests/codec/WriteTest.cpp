// JPEG and PNG writing, read back by Qt's readers. How the files are saved, under faults too,
// is tested with every writer in tests/platform.
#include "CodecTestSupport.h"

#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <QDir>
#include <QTemporaryDir>

#include <functional>

namespace {

class CodecWrite : public ::testing::Test {
protected:
    QByteArray Path(const QString& name) const { return folder.filePath(name).toUtf8(); }
    QStringList Entries() const
    {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
    // The file as Qt's own readers decode it.
    QImage Decoded(const QString& name) const
    {
        return QImage(folder.filePath(name)).convertToFormat(QImage::Format_RGB32);
    }

    QImage noise = NoisePicture(41, 25, 7);
    CodecSurface dc = SurfaceOf(noise);
    QTemporaryDir folder;
};

TEST_F(CodecWrite, EachPngRateRoundTripsTheTopLeftRectangleAtItsZlibLevel)
{
    // zlib writes its level class into the stream header: 0 fastest, 2 default, 3 best.
    for (auto [rate, levelClass] : {std::pair<std::uint8_t, int>{0, 2}, {1, 0}, {2, 3}}) {
        SCOPED_TRACE(testing::Message() << "rate " << int(rate));
        ASSERT_EQ(DCSavetoPNG(&dc, 37, 23, Path("out.png"), rate), 0) << CodecLastError();
        const QByteArray png = FileBytes(Path("out.png"));
        ASSERT_GT(png.size(), 40);
        EXPECT_EQ(png[24], 8) << "bit depth";
        EXPECT_EQ(png[25], 2) << "colour type RGB";
        const qsizetype data = png.indexOf("IDAT") + 4;
        ASSERT_LT(data + 1, png.size());
        EXPECT_EQ(std::uint8_t(png[data + 1]) >> 6, levelClass);
        EXPECT_TRUE(SamePixels(noise.copy(0, 0, 37, 23), Decoded("out.png")));
    }
}

TEST_F(CodecWrite, BaselineAndProgressiveJpegsDecodeCloseToTheOriginal)
{
    QImage gradient = GradientPicture(123, 77);
    CodecSurface smooth = SurfaceOf(gradient);
    // The frame marker before the first scan: SOF0 baseline, SOF2 for any non-zero flag.
    for (auto [progressive, frame] :
         {std::pair{0, "\xFF\xC0"}, {-1, "\xFF\xC2"}, {1, "\xFF\xC2"}}) {
        SCOPED_TRACE(testing::Message() << "progressive " << progressive);
        ASSERT_EQ(DCSavetoJPEG(&smooth, 123, 77, Path("out.jpg"), 10, progressive), 0)
            << CodecLastError();
        const QByteArray jpeg = FileBytes(Path("out.jpg"));
        const QByteArray header = jpeg.left(jpeg.indexOf("\xFF\xDA"));
        EXPECT_TRUE(header.contains(frame));
        EXPECT_FALSE(header.contains(progressive ? "\xFF\xC0" : "\xFF\xC2"));
        EXPECT_TRUE(SamePixels(gradient, Decoded("out.jpg"), 8));
    }
}

TEST_F(CodecWrite, RefusesBadRatesAndRectanglesWithoutCreatingAFile)
{
    const QByteArray out = Path("out");
    const char* path = out.constData();
    const std::pair<std::function<std::int16_t()>, const char*> rows[] = {
        {[&] { return DCSavetoJPEG(&dc, 41, 25, path, 0, 0); }, "1 to 100"},
        {[&] { return DCSavetoJPEG(&dc, 41, 25, path, 101, -1); }, "1 to 100"},
        {[&] { return DCSavetoPNG(&dc, 41, 25, path, 3); }, "0, 1 or 2"},
        {[&] { return DCSavetoPNG(&dc, 42, 25, path, 1); }, "larger than its surface"},
        {[&] { return DCSavetoJPEG(&dc, 41, 26, path, 50, 0); }, "larger than its surface"},
        {[&] { return DCSavetoPNG(&dc, 0, 25, path, 1); }, "empty"},
        {[&] { return DCSavetoJPEG(&dc, 41, -1, path, 50, 0); }, "empty"},
        {[&] { return DCSavetoPNG(nullptr, 41, 25, path, 1); }, "no surface"},
        {[&] { return DCSavetoJPEG(&dc, 41, 25, "", 50, 0); }, "no file name"},
    };
    for (const auto& [save, reason] : rows) {
        EXPECT_NE(save(), 0) << reason;
        EXPECT_TRUE(ReasonContains(reason));
    }
    EXPECT_TRUE(Entries().isEmpty());
}

} // namespace
