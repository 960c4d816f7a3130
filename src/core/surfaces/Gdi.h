#pragma once
#include <QImage>
#include <cstdint>

// Block copies between backing bitmaps (QImage::Format_RGB32). Both rectangles are
// clipped: destination pixels outside the destination bitmap are not drawn, and
// destination pixels whose source lies outside the source bitmap keep what they held.
// A source that keeps its transparency (Format_ARGB32, not premultiplied) is drawn over a
// checkerboard of 4-pixel squares, #CCCCCC and white, fixed to the destination's pixels.
constexpr std::uint32_t SRCCOPY = 0x00CC0020;

// Copies the w x h block at (sx, sy) of src to (x, y) of dst. False for a raster
// operation other than SRCCOPY or a bitmap of another format.
bool BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy,
            std::uint32_t rop);

// Copies the sw x sh block at (sx, sy) of src to the w x h block at (x, y) of dst,
// enlarging or shrinking by nearest neighbour (no smoothing).
bool StretchBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy,
                int sw, int sh, std::uint32_t rop);
