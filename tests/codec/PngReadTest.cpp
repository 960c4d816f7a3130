// PNG reading beyond the suite: bad arguments, size mismatches, forged and truncated files.
#include "CodecTestSupport.h"

#include "codec/PictureLimit.h"

#include <zlib.h>

namespace {

const std::filesystem::path kRgb8x32 = kTestData / "pngsuite" / "cdfn2c08.png";

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendChunk(std::vector<std::uint8_t>& out, const char* type,
                 const std::vector<std::uint8_t>& data)
{
    AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    AppendBigEndian(out, static_cast<std::uint32_t>(
                             crc32(0, out.data() + typeAt, static_cast<uInt>(data.size() + 4))));
}

// A PNG that is only a signature, an RGB IHDR of the given size with a correct CRC, and
// IEND: enough for a decoder to learn the size and nothing more.
std::vector<std::uint8_t> HeaderOnlyPng(std::uint32_t width, std::uint32_t height)
{
    std::vector<std::uint8_t> png = {137, 80, 78, 71, 13, 10, 26, 10};
    std::vector<std::uint8_t> header;
    AppendBigEndian(header, width);
    AppendBigEndian(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IEND", {});
    return png;
}

TEST(PictureLimit, RefusesEmptyAndOversizedPictures)
{
    struct Row {
        std::int64_t width, height;
        bool allowed;
    } rows[] = {
        {1, 1, true},          {0, 10, false},         {10, 0, false},
        {-1, -1, false},       {16384, 16384, true},   {16384, 16385, false},
        {1'000'000, 1, true},  {1'000'001, 1, false},  {1, 1'000'001, false},
        {1'000'000, 268, true}, {65536 + 100, 100, true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(PictureSizeAllowed(row.width, row.height), row.allowed)
            << row.width << " x " << row.height;
}

TEST(PngRead, RefusesMissingArgumentsAndUnreadableFiles)
{
    TempFolder folder;
    TestSurface surface(8, 32);
    const std::string missing = (folder / "missing.png").string();
    struct Row {
        const char* path;
        HDC dc;
        const char* reason;
    } rows[] = {
        {nullptr, surface.dc(), "no file name"},
        {"", surface.dc(), "no file name"},
        {kRgb8x32.c_str(), nullptr, "no surface"},
        {missing.c_str(), surface.dc(), "cannot open file: No such file or directory"},
        {folder.path().c_str(), surface.dc(), "cannot read file: Is a directory"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reason);
        EXPECT_NE(DCReadPNG(row.path, row.dc), 0);
        EXPECT_TRUE(Contains(CodecLastError(), row.reason));
    }
}

TEST(PngRead, FailsWhenTheSurfaceIsNotThePictureSize)
{
    // The file is 8 x 32; the surface must be exactly that.
    for (auto [width, height] : {std::pair{7, 32}, {9, 32}, {8, 31}, {8, 33}, {32, 8}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        TestSurface surface(width, height);
        EXPECT_NE(DCReadPNG(kRgb8x32.c_str(), surface.dc()), 0);
        EXPECT_TRUE(Contains(CodecLastError(), "the picture is 8 x 32 pixels"));
    }
    TestSurface exact(8, 32);
    EXPECT_EQ(DCReadPNG(kRgb8x32.c_str(), exact.dc()), 0) << CodecLastError();
}

TEST(PngRead, RefusesForgedHugeSizesBeforeTouchingTheSurface)
{
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {
        {100000, 100000}, {1'000'001, 1}, {1, 1'000'001}, {65536 + 100, 65536 + 100},
        {0x7FFFFFFF, 0x7FFFFFFF}};
    for (auto [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const auto png = HeaderOnlyPng(width, height);
        TestSurface surface(1, 1);
        EXPECT_NE(DecodePngBytes(png.data(), png.size(), surface.dc()), 0);
        EXPECT_TRUE(Contains(CodecLastError(), "too large"));
        EXPECT_EQ(surface.Rgb(0, 0), 0u);
    }
}

TEST(PngRead, FailsOnEveryTruncation)
{
    const auto whole = ReadBytes(kRgb8x32);
    ASSERT_GT(whole.size(), 100u);
    // Inside the signature, inside IHDR, inside the pixel data, and without IEND.
    const std::size_t lengths[] = {0, 7, 8, 20, 32, whole.size() / 2, whole.size() - 12,
                                   whole.size() - 1};
    TempFolder folder;
    for (std::size_t length : lengths) {
        SCOPED_TRACE("first " + std::to_string(length) + " bytes");
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + length);
        TestSurface surface(8, 32);
        EXPECT_NE(DecodePngBytes(cut.data(), cut.size(), surface.dc()), 0);
        EXPECT_STRNE(CodecLastError(), "");
        WriteBytes(folder / "cut.png", cut);
        EXPECT_NE(DCReadPNG((folder / "cut.png").c_str(), surface.dc()), 0);
    }
}

} // namespace
