// PNG decoding into a surface: any colour type and bit depth, interlaced or not, drawn as
// 8-bit blue, green, red with alpha blended over the surface's background colour.
#include "codec/AlphaOver.h"
#include "codec/CodecInternal.h"
#include "codec/PictureLimit.h"
#include "codec/PngCommon.h"

#include <csetjmp>
#include <cstring>
#include <new>
#include <string>

namespace {

struct ByteCursor {
    const std::uint8_t* next;
    std::size_t left;
};

void ReadFromCursor(png_structp png, png_bytep out, std::size_t count)
{
    auto* cursor = static_cast<ByteCursor*>(png_get_io_ptr(png));
    if (count > cursor->left)
        png_error(png, "the file is truncated");
    std::memcpy(out, cursor->next, count);
    cursor->next += count;
    cursor->left -= count;
}

// Each libpng phase below sets its own jump point and holds no object with a destructor,
// so an error's longjmp skips nothing that needs cleaning up.

bool ReadHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    *width = png_get_image_width(png, info);
    *height = png_get_image_height(png, info);
    return true;
}

// Every picture arrives as 8-bit B, G, R, A rows. No gamma function is called, so the
// samples are the stored ones; 16-bit samples keep their high byte.
bool SetUpTransforms(png_structp png, png_infop info, int* passes)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_expand(png); // palette to RGB, grey below 8 bits to 8, tRNS to alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    const bool hasAlpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0
                          || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (!hasAlpha)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    *passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

// Rows go straight into the surface; an interlaced picture's passes each fill in their
// own pixels of the same rows.
bool ReadRows(png_structp png, const CodecSurface& dc, int passes)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    for (int pass = 0; pass < passes; ++pass)
        for (std::int32_t y = 0; y < dc.height; ++y)
            png_read_row(png, dc.bits + std::ptrdiff_t{y} * dc.stride, nullptr);
    png_read_end(png, nullptr); // reads on to IEND, so a damaged tail is noticed too
    return true;
}

void DrawOverBackground(const CodecSurface& dc)
{
    const unsigned background[3] = {(dc.background >> 16) & 0xFFu, (dc.background >> 8) & 0xFFu,
                                    dc.background & 0xFFu};
    for (std::int32_t y = 0; y < dc.height; ++y) {
        std::uint8_t* pixel = dc.bits + std::ptrdiff_t{y} * dc.stride;
        for (std::int32_t x = 0; x < dc.width; ++x, pixel += 4) {
            const unsigned alpha = pixel[3];
            if (alpha == 0xFF)
                continue;
            for (int c = 0; c < 3; ++c)
                pixel[c] = AlphaOver(pixel[c], background[c], alpha);
            pixel[3] = 0xFF;
        }
    }
}

// IHDR is the first chunk of every PNG file, so the picture's size stands at fixed places
// and a forged size is refused before libpng reads or allocates anything. A file without
// IHDR there is left to libpng, which refuses it.
bool HeaderSizeAllowed(const std::uint8_t* data, std::size_t size)
{
    if (size < 24 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return true;
    const auto bigEndian = [data](std::size_t at) {
        return std::int64_t{data[at]} << 24 | data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3];
    };
    return PictureSizeAllowed(bigEndian(16), bigEndian(20));
}

std::string SizeMismatch(png_uint_32 width, png_uint_32 height, const CodecSurface& dc)
{
    return "the picture is " + std::to_string(width) + " x " + std::to_string(height)
           + " pixels, its surface " + std::to_string(dc.width) + " x "
           + std::to_string(dc.height);
}

} // namespace

std::int16_t DecodePngBytes(const std::uint8_t* data, std::size_t size, HDC dc)
{
    ClearCodecError();
    if (dc == nullptr || dc->bits == nullptr)
        return CodecFailure("no surface to draw into");
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return CodecFailure("not a PNG file");
    if (!HeaderSizeAllowed(data, size))
        return CodecFailure("the picture is too large");

    PngErrorSink sink;
    const PngStructs read(PngStructs::Mode::Read, sink);
    if (!read)
        return CodecFailure("out of memory");
    ByteCursor cursor{data, size};
    png_set_read_fn(read.png(), &cursor, ReadFromCursor);
    // The picture limit is the one that counts; libpng's own is lifted so that every
    // oversized picture is refused the same way.
    png_set_user_limits(read.png(), PNG_UINT_31_MAX, PNG_UINT_31_MAX);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    if (!ReadHeader(read.png(), read.info(), &width, &height))
        return PngFailure("bad PNG file", sink);
    if (width != static_cast<png_uint_32>(dc->width)
        || height != static_cast<png_uint_32>(dc->height))
        return CodecFailure(SizeMismatch(width, height, *dc));
    if (dc->stride < std::int64_t{dc->width} * 4)
        return CodecFailure("the surface's rows are too short");

    int passes = 1;
    if (!SetUpTransforms(read.png(), read.info(), &passes))
        return PngFailure("bad PNG file", sink);
    if (png_get_rowbytes(read.png(), read.info()) != std::size_t{width} * 4)
        return CodecFailure("unsupported PNG pixel layout");
    if (!ReadRows(read.png(), *dc, passes))
        return PngFailure("bad PNG file", sink);
    DrawOverBackground(*dc);
    return kCodecOk;
}

std::int16_t DCReadPNG(const char* path, HDC dc)
{
    ClearCodecError();
    if (path == nullptr || *path == '\0')
        return CodecFailure("no file name");
    try {
        std::vector<std::uint8_t> bytes;
        if (ReadFileBytes(path, bytes) != kCodecOk)
            return kCodecFailed;
        return DecodePngBytes(bytes.data(), bytes.size(), dc);
    } catch (const std::bad_alloc&) {
        return CodecFailure("out of memory");
    }
}
