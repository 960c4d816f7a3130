#pragma once
#include <QImage>
#include <gtest/gtest.h>

// Compares two pictures on red, green and blue, allowing `tolerance` per channel. A failure
// names the size mismatch or the first differing pixels with their coordinates and colours.
::testing::AssertionResult SamePixels(const QImage& expected, const QImage& actual, int tolerance = 0);

// Checks one pixel of a picture against an expected colour.
::testing::AssertionResult PixelIs(const QImage& image, int x, int y, QRgb expected);
