#pragma once
// Surfaces, pictures and files for the codec's tests.
#include "codec/Codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

inline const std::filesystem::path kTestData = LAYERPIX_TESTDATA;

// A surface over its own storage. Each row carries `padding` bytes past the picture, filled
// with a marker so a test can tell whether anything wrote outside the picture.
class TestSurface {
public:
    TestSurface(std::int32_t width, std::int32_t height, std::uint32_t background = 0,
                std::int32_t padding = 0);
    HDC dc() { return &surface_; }
    std::int32_t width() const { return surface_.width; }
    std::int32_t height() const { return surface_.height; }
    // 0xRRGGBB of the pixel at (x, y); set with the same value.
    std::uint32_t Rgb(std::int32_t x, std::int32_t y) const;
    void SetRgb(std::int32_t x, std::int32_t y, std::uint32_t rgb);
    // Every pixel's fourth byte is 0xFF and every padding byte still holds its marker.
    ::testing::AssertionResult LayoutIntact() const;

private:
    std::vector<std::uint8_t> storage_;
    CodecSurface surface_;
    std::int32_t padding_;
};

// Pictures for the writers: noise that no encoder shortcut can fake, and smooth colour
// gradients that a lossy encoder keeps within a few levels.
void FillNoise(TestSurface& surface, std::uint32_t seed);
void FillGradient(TestSurface& surface);

// 0xRRGGBB of the top-left width x height pixels, row by row, top first.
std::vector<std::uint32_t> PixelsOf(const TestSurface& surface, std::int32_t width,
                                    std::int32_t height);
// "#RRGGBB" for 0xRRGGBB.
std::string RgbText(std::uint32_t rgb);
// Compares the surface with expected 0xRRGGBB values (row by row, top first), each channel
// within `tolerance`; a failure names the first differing pixels and their colours.
::testing::AssertionResult PixelsMatch(const TestSurface& surface,
                                       const std::vector<std::uint32_t>& expected,
                                       int tolerance, const std::string& what);
::testing::AssertionResult Contains(const std::string& text, const std::string& part);

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const;

private:
    std::filesystem::path path_;
};
