#pragma once
// The picture codec: PNG reading, JPEG and PNG writing. It knows nothing of windows;
// a "device context" is a plain view of a 32-bit surface bitmap.
#include "base/Result.h"
#include "files/SafeFile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A surface bitmap as the codec sees it: rows top-down, `stride` bytes apart, each pixel
// four bytes blue, green, red, 0xFF (the layout of a QImage::Format_RGB32).
// `background` is the surface's background colour as a ColorRef (0x00BBGGRR); pixels of
// a decoded picture that carry alpha are drawn over it, unless `keepAlpha` is set: each
// pixel's fourth byte then holds its alpha (not premultiplied), 0xFF where it is opaque.
struct CodecSurface {
    std::uint8_t* bits = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t stride = 0;
    std::uint32_t background = 0;
    bool keepAlpha = false;
};
using HDC = CodecSurface*;

// Every call returns 0 on success and a non-zero value on failure; it never throws.

// Decodes the PNG file `path` (UTF-8) into `dc`, which the caller has sized to the
// picture. 0 on success; any other value is a failure and what was drawn must not be used.
// Fails when the picture is not exactly dc->width x dc->height, exceeds the picture limit
// of PictureLimit.h, or is stated in a file too short to hold it (PngSize.h); a file that
// ends before IEND fails too. The file is read a block at a time. On success every pixel
// of the rectangle has been written, so the caller need not clear the surface. Samples are taken as stored (no gamma correction); 16-bit
// samples keep their high byte; a pixel with alpha a is drawn over the background colour
// bg as (a * fg + (255 - a) * bg + 127) / 255 per channel, unless dc->keepAlpha.
std::int16_t DCReadPNG(const char* path, HDC dc);
// The same from the `size` bytes of a PNG file at `data`.
std::int16_t DecodePngBytes(const std::uint8_t* data, std::size_t size, HDC dc);

// Write the rectangle (0, 0, width, height) of `dc` to `path` (UTF-8), replacing an
// existing file only once the new one is complete and flushed to disk, as WriteFileSafely
// (files/SafeFile.h) does: through a symbolic link onto its target, keeping the file's
// permissions, refusing a read-only file. 0 on success; on failure the old file is untouched,
// no temporary file is left, and CodecLastFailure() says why. The rectangle must be non-empty
// and lie within the surface.
//
// JPEG `rate` is the "圧縮率", 1 to 100: higher compresses more (quality = 101 - rate);
// other values fail. `progressive` non-zero writes a progressive JPEG. Chroma is
// subsampled 4:2:0.
std::int16_t DCSavetoJPEG(HDC dc, std::int32_t width, std::int32_t height, const char* path,
                          std::uint8_t rate, std::int32_t progressive);
// PNG `rate` 0, 1 or 2 picks the zlib level 6, 1 or 9 (1, the default, saves fastest);
// other values fail. The file is 8-bit RGB without alpha.
std::int16_t DCSavetoPNG(HDC dc, std::int32_t width, std::int32_t height, const char* path,
                         std::uint8_t rate);

// The same two writers for a caller that says what happens to a file already there:
// Existing::Keep never replaces one, not even one made while the new file is written.
std::int16_t SaveJpegFile(HDC dc, std::int32_t width, std::int32_t height, const char* path,
                          std::uint8_t rate, std::int32_t progressive, Existing existing);
std::int16_t SavePngFile(HDC dc, std::int32_t width, std::int32_t height, const char* path,
                         std::uint8_t rate, Existing existing);

// The same encoders writing the file's bytes to `out` (replaced) instead of a file.
std::int16_t EncodeJpegBytes(HDC dc, std::int32_t width, std::int32_t height, std::uint8_t rate,
                             std::int32_t progressive, std::vector<std::uint8_t>& out);
std::int16_t EncodePngBytes(HDC dc, std::int32_t width, std::int32_t height, std::uint8_t rate,
                            std::vector<std::uint8_t>& out);

// Why the last codec call on this thread failed, in both languages, with the system's reason
// for file errors; a write names its file ("cannot write /a/b.png: No space left on device"),
// a read leaves the name to its caller ("cannot open the file: ..."). Both texts are empty
// after a call that succeeded. Valid until the next codec call on this thread.
const Failure& CodecLastFailure();
