#include "CodecTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace {
constexpr std::uint8_t kPaddingMarker = 0xA5;
}

TestSurface::TestSurface(std::int32_t width, std::int32_t height, std::uint32_t background,
                         std::int32_t padding)
    : storage_(static_cast<std::size_t>(width * 4 + padding) * height, kPaddingMarker),
      padding_(padding)
{
    surface_ = {storage_.data(), width, height, width * 4 + padding, background};
    for (std::int32_t y = 0; y < height; ++y)
        std::fill_n(storage_.begin() + y * surface_.stride, width * 4, std::uint8_t{0});
}

std::uint32_t TestSurface::Rgb(std::int32_t x, std::int32_t y) const
{
    const std::uint8_t* p = surface_.bits + y * surface_.stride + x * 4;
    return std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

void TestSurface::SetRgb(std::int32_t x, std::int32_t y, std::uint32_t rgb)
{
    std::uint8_t* p = surface_.bits + y * surface_.stride + x * 4;
    p[0] = rgb & 0xFF;
    p[1] = (rgb >> 8) & 0xFF;
    p[2] = (rgb >> 16) & 0xFF;
    p[3] = 0xFF;
}

::testing::AssertionResult TestSurface::LayoutIntact() const
{
    for (std::int32_t y = 0; y < height(); ++y) {
        const std::uint8_t* row = surface_.bits + y * surface_.stride;
        for (std::int32_t x = 0; x < width(); ++x)
            if (row[x * 4 + 3] != 0xFF)
                return ::testing::AssertionFailure()
                       << "fourth byte of (" << x << "," << y << ") is " << int{row[x * 4 + 3]};
        for (std::int32_t i = 0; i < padding_; ++i)
            if (row[width() * 4 + i] != kPaddingMarker)
                return ::testing::AssertionFailure() << "padding byte " << i << " of row " << y
                                                     << " was overwritten";
    }
    return ::testing::AssertionSuccess();
}

void FillNoise(TestSurface& surface, std::uint32_t seed)
{
    std::mt19937 random(seed);
    for (std::int32_t y = 0; y < surface.height(); ++y)
        for (std::int32_t x = 0; x < surface.width(); ++x)
            surface.SetRgb(x, y, random() & 0xFFFFFF);
}

void FillGradient(TestSurface& surface)
{
    const std::int32_t w = std::max(surface.width() - 1, 1);
    const std::int32_t h = std::max(surface.height() - 1, 1);
    for (std::int32_t y = 0; y < surface.height(); ++y)
        for (std::int32_t x = 0; x < surface.width(); ++x) {
            const std::uint32_t r = 255 * x / w;
            const std::uint32_t g = 255 * y / h;
            const std::uint32_t b = 255 - (r + g) / 2;
            surface.SetRgb(x, y, r << 16 | g << 8 | b);
        }
}

std::vector<std::uint32_t> PixelsOf(const TestSurface& surface, std::int32_t width,
                                    std::int32_t height)
{
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            pixels.push_back(surface.Rgb(x, y));
    return pixels;
}

std::string RgbText(std::uint32_t rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFFu);
    return text;
}

::testing::AssertionResult PixelsMatch(const TestSurface& surface,
                                       const std::vector<std::uint32_t>& expected,
                                       int tolerance, const std::string& what)
{
    const auto size = static_cast<std::size_t>(surface.width()) * surface.height();
    if (expected.size() != size)
        return ::testing::AssertionFailure()
               << what << ": " << expected.size() << " expected pixels for " << size;
    auto failure = ::testing::AssertionFailure();
    int differing = 0;
    for (std::int32_t y = 0; y < surface.height(); ++y)
        for (std::int32_t x = 0; x < surface.width(); ++x) {
            const std::uint32_t want = expected[y * surface.width() + x];
            const std::uint32_t got = surface.Rgb(x, y);
            bool close = true;
            for (int shift = 0; shift <= 16; shift += 8)
                close = close && std::abs(int((want >> shift) & 0xFF) - int((got >> shift) & 0xFF))
                                     <= tolerance;
            if (!close && ++differing <= 5)
                failure << what << " pixel (" << x << "," << y << "): expected " << RgbText(want)
                        << ", got " << RgbText(got) << "\n";
        }
    if (differing == 0)
        return ::testing::AssertionSuccess();
    return failure << differing << " pixels differ by more than " << tolerance;
}

::testing::AssertionResult Contains(const std::string& text, const std::string& part)
{
    if (text.find(part) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << text << "\" does not contain \"" << part
                                         << "\"";
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TempFolder::TempFolder()
{
    std::string name = (std::filesystem::temp_directory_path() / "layerpix-codec-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    path_ = name;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TempFolder::Entries() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
