// JPEG and PNG writing: files read back by libpng through the codec and by TurboJPEG.
#include "CodecTestSupport.h"

#include <turbojpeg.h>

#include <cmath>
#include <functional>

namespace {

std::uint32_t BigEndian(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8
           | bytes[at + 3];
}

// The data of the first chunk of `type` in a PNG file; empty when there is none.
std::vector<std::uint8_t> FirstChunk(const std::vector<std::uint8_t>& png, const char* type)
{
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = BigEndian(png, at);
        if (at + 12 + length > png.size())
            break;
        if (std::equal(type, type + 4, png.begin() + at + 4))
            return {png.begin() + at + 8, png.begin() + at + 8 + length};
        at += 12 + length;
    }
    return {};
}

// The frame markers (SOF0 to SOF15, without DHT, JPG and DAC) met before the first scan.
std::vector<int> JpegFrameMarkers(const std::vector<std::uint8_t>& jpeg)
{
    std::vector<int> frames;
    for (std::size_t at = 2; at + 4 <= jpeg.size() && jpeg[at] == 0xFF;) {
        const int marker = jpeg[at + 1];
        if (marker == 0xDA)
            break;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8
            && marker != 0xCC)
            frames.push_back(marker);
        at += 2 + (jpeg[at + 2] << 8 | jpeg[at + 3]);
    }
    return frames;
}

struct JpegError {
    double mean = 0;
    int largest = 0;
};

// Decodes `jpeg` with TurboJPEG and measures it against the surface, channel by channel.
JpegError CompareJpeg(const std::vector<std::uint8_t>& jpeg, const TestSurface& original)
{
    tjhandle decoder = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    tjDecompressHeader3(decoder, jpeg.data(), jpeg.size(), &width, &height, &subsampling,
                        &colourspace);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    EXPECT_EQ(tjDecompress2(decoder, jpeg.data(), jpeg.size(), rgb.data(), width, 0, height,
                            TJPF_RGB, 0), 0) << tjGetErrorStr2(decoder);
    tjDestroy(decoder);

    JpegError error;
    EXPECT_EQ(width, original.width());
    EXPECT_EQ(height, original.height());
    if (width != original.width() || height != original.height())
        return {255, 255};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t want = original.Rgb(x, y);
            for (int c = 0; c < 3; ++c) {
                const int got = rgb[(static_cast<std::size_t>(y) * width + x) * 3 + c];
                const int diff = std::abs(got - int((want >> (16 - 8 * c)) & 0xFF));
                error.mean += diff;
                error.largest = std::max(error.largest, diff);
            }
        }
    error.mean /= 3.0 * width * height;
    return error;
}

TEST(PngWrite, EachRateRoundTripsTheTopLeftRectangleExactlyAtItsZlibLevel)
{
    TestSurface original(41, 25, 0, 8);
    FillNoise(original, 7);
    // zlib writes its level class into the stream header: 0 fastest, 2 default, 3 best.
    const struct {
        std::uint8_t rate;
        int levelClass;
    } rows[] = {{0, 2}, {1, 0}, {2, 3}};
    TempFolder folder;
    for (const auto& row : rows) {
        SCOPED_TRACE("rate " + std::to_string(row.rate));
        const auto path = folder / ("rate" + std::to_string(row.rate) + ".png");
        ASSERT_EQ(DCSavetoPNG(original.dc(), 37, 23, path.c_str(), row.rate), 0)
            << CodecLastError();
        EXPECT_STREQ(CodecLastError(), "");

        const auto png = ReadBytes(path);
        const auto header = FirstChunk(png, "IHDR");
        ASSERT_EQ(header.size(), 13u);
        EXPECT_EQ(header[8], 8) << "bit depth";
        EXPECT_EQ(header[9], 2) << "colour type RGB";
        const auto data = FirstChunk(png, "IDAT");
        ASSERT_GE(data.size(), 2u);
        EXPECT_EQ(data[1] >> 6, row.levelClass);

        TestSurface decoded(37, 23, 0x00FFFFFF);
        ASSERT_EQ(DCReadPNG(path.c_str(), decoded.dc()), 0) << CodecLastError();
        EXPECT_TRUE(PixelsMatch(decoded, PixelsOf(original, 37, 23), 0, path.filename()));
    }
}

TEST(Write, RefusesBadRatesAndRectanglesWithoutCreatingAFile)
{
    TestSurface surface(6, 4);
    FillNoise(surface, 1);
    TempFolder folder;
    const std::string name = (folder / "out").string();
    const char* path = name.c_str();
    HDC dc = surface.dc();
    const struct {
        const char* what;
        std::function<std::int16_t()> save;
        const char* reason;
    } rows[] = {
        {"JPEG rate 0", [&] { return DCSavetoJPEG(dc, 6, 4, path, 0, 0); }, "1 to 100"},
        {"JPEG rate 101", [&] { return DCSavetoJPEG(dc, 6, 4, path, 101, 0); }, "1 to 100"},
        {"JPEG rate 255", [&] { return DCSavetoJPEG(dc, 6, 4, path, 255, -1); }, "1 to 100"},
        {"PNG rate 3", [&] { return DCSavetoPNG(dc, 6, 4, path, 3); }, "0, 1 or 2"},
        {"PNG rate 255", [&] { return DCSavetoPNG(dc, 6, 4, path, 255); }, "0, 1 or 2"},
        {"too wide", [&] { return DCSavetoPNG(dc, 7, 4, path, 1); }, "larger than its surface"},
        {"too high", [&] { return DCSavetoJPEG(dc, 6, 5, path, 50, 0); }, "larger than its"},
        {"no width", [&] { return DCSavetoPNG(dc, 0, 4, path, 1); }, "empty"},
        {"negative height", [&] { return DCSavetoJPEG(dc, 6, -1, path, 50, 0); }, "empty"},
        {"no surface", [&] { return DCSavetoPNG(nullptr, 6, 4, path, 1); }, "no surface"},
        {"no file name", [&] { return DCSavetoJPEG(dc, 6, 4, "", 50, 0); }, "no file name"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_NE(row.save(), 0);
        EXPECT_TRUE(Contains(CodecLastError(), row.reason));
    }
    EXPECT_TRUE(folder.Entries().empty());
}

TEST(JpegWrite, BaselineAndProgressiveDecodeCloseToTheOriginal)
{
    TestSurface original(123, 77, 0, 4);
    FillGradient(original);
    TempFolder folder;
    const struct {
        const char* name;
        std::int32_t progressive;
        int frameMarker;
    } rows[] = {{"baseline.jpg", 0, 0xC0}, {"progressive.jpg", -1, 0xC2}, {"one.jpg", 1, 0xC2}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto path = folder / row.name;
        ASSERT_EQ(DCSavetoJPEG(original.dc(), 123, 77, path.c_str(), 10, row.progressive), 0)
            << CodecLastError();
        const auto jpeg = ReadBytes(path);
        EXPECT_EQ(JpegFrameMarkers(jpeg), std::vector<int>{row.frameMarker});
        const JpegError error = CompareJpeg(jpeg, original);
        EXPECT_LT(error.mean, 1.5);
        EXPECT_LE(error.largest, 8);
    }
}

TEST(JpegWrite, AHigherRateCompressesMore)
{
    TestSurface original(96, 64);
    FillNoise(original, 11);
    std::vector<std::size_t> sizes;
    std::vector<double> errors;
    for (std::uint8_t rate : {1, 50, 100}) {
        std::vector<std::uint8_t> jpeg;
        ASSERT_EQ(EncodeJpegBytes(original.dc(), 96, 64, rate, 0, jpeg), 0) << CodecLastError();
        sizes.push_back(jpeg.size());
        errors.push_back(CompareJpeg(jpeg, original).mean);
    }
    EXPECT_GT(sizes[0], sizes[1]);
    EXPECT_GT(sizes[1], sizes[2]);
    EXPECT_LT(errors[0], errors[1]);
    EXPECT_LT(errors[1], errors[2]);
}

} // namespace
