#pragma once
// The picture codec: PNG reading, JPEG and PNG writing. It knows nothing of windows;
// a "device context" is a plain view of a 32-bit surface bitmap.
#include <cstdint>

// A surface bitmap as the codec sees it: rows top-down, `stride` bytes apart, each pixel
// four bytes blue, green, red, 0xFF (the layout of a QImage::Format_RGB32).
// `background` is the surface's background colour as a ColorRef (0x00BBGGRR); pixels of
// a decoded picture that carry alpha are drawn over it.
struct CodecSurface {
    std::uint8_t* bits = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t stride = 0;
    std::uint32_t background = 0;
};
using HDC = CodecSurface*;

// Decodes the PNG file `path` (UTF-8) into `dc`, which the caller has sized to the
// picture. 0 on success; any other value is a failure and what was drawn must not be used.
std::int16_t DCReadPNG(const char* path, HDC dc);

// Write the rectangle (0, 0, width, height) of `dc` to `path`, replacing an existing file
// only once the new one is complete. 0 on success; on failure the old file is untouched
// and CodecLastError() says why.
//
// JPEG `rate` is the "圧縮率", 1 to 100: higher compresses more (quality = 101 - rate).
// `progressive` non-zero writes a progressive JPEG.
std::int16_t DCSavetoJPEG(HDC dc, std::int32_t width, std::int32_t height, const char* path,
                          std::uint8_t rate, std::int32_t progressive);
// PNG `rate` 0, 1 or 2 picks the zlib level 6, 1 or 9 (1, the default, saves fastest).
std::int16_t DCSavetoPNG(HDC dc, std::int32_t width, std::int32_t height, const char* path,
                         std::uint8_t rate);

// A short reason for the last failure of a codec call on this thread, in English.
const char* CodecLastError();
