#include "BareCodecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <unistd.h>
#include <turbojpeg.h>

namespace {
// Saving means the file is on the disk: flushed and synced before it is closed.
bool CloseSynced(std::FILE* file, bool written)
{
    written = written && std::fflush(file) == 0 && ::fsync(fileno(file)) == 0;
    return std::fclose(file) == 0 && written;
}

bool WriteWholeFile(const std::string& path, const std::uint8_t* bytes, std::size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    return CloseSynced(file, std::fwrite(bytes, 1, size, file) == size);
}

// The bitmap file's header: 14 + 40 bytes, then rows padded to 4 bytes.
constexpr std::size_t kBmpHeader = 54;

std::size_t BmpRowBytes(int width)
{
    return (std::size_t(width) * 3 + 3) / 4 * 4;
}

bool PngRows(png_structp png, png_infop info, const std::uint8_t* pixels, int width, int height,
             int stride, int level)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < height; ++y)
        png_write_row(png, pixels + std::size_t(y) * std::size_t(stride));
    png_write_end(png, nullptr);
    return true;
}
} // namespace

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    bytes.resize(std::size_t(size > 0 ? size : 0));
    const bool read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    return read;
}

bool BareJpegDecode(const std::vector<std::uint8_t>& file, std::uint8_t* pixels, int width,
                    int height, int stride)
{
    tjhandle decoder = tjInitDecompress();
    const bool decoded = decoder != nullptr &&
                         tjDecompress2(decoder, file.data(), static_cast<unsigned long>(file.size()),
                                       pixels, width, stride, height, TJPF_BGRX, 0) == 0;
    tjDestroy(decoder);
    return decoded;
}

bool BarePngDecode(const std::string& path, std::uint8_t* pixels, int width, int height,
                   int stride)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_BGRA;
    const bool fits = int(image.width) == width && int(image.height) == height;
    const bool decoded = fits && png_image_finish_read(&image, nullptr, pixels, stride, nullptr);
    png_image_free(&image);
    return decoded;
}

bool BareBmpDecode(const std::vector<std::uint8_t>& file, std::uint8_t* pixels, int width,
                   int height, int stride)
{
    const std::size_t rowBytes = BmpRowBytes(width);
    if (file.size() < kBmpHeader + rowBytes * std::size_t(height))
        return false;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = file.data() + kBmpHeader + std::size_t(height - 1 - y) * rowBytes;
        std::uint8_t* out = pixels + std::size_t(y) * std::size_t(stride);
        for (int x = 0; x < width; ++x, in += 3, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 0xFF;
        }
    }
    return true;
}

bool BareJpegSave(const std::uint8_t* pixels, int width, int height, int stride, int quality,
                  bool progressive, std::vector<std::uint8_t>& scratch, const std::string& path)
{
    tjhandle encoder = tjInitCompress();
    scratch.resize(tjBufSize(width, height, TJSAMP_420));
    unsigned char* out = scratch.data();
    unsigned long size = static_cast<unsigned long>(scratch.size());
    const int flags = TJFLAG_NOREALLOC | (progressive ? TJFLAG_PROGRESSIVE : 0);
    const bool encoded = encoder != nullptr &&
                         tjCompress2(encoder, pixels, width, stride, height, TJPF_BGRX, &out,
                                     &size, TJSAMP_420, quality, flags) == 0;
    tjDestroy(encoder);
    return encoded && WriteWholeFile(path, scratch.data(), size);
}

bool BarePngSave(const std::uint8_t* pixels, int width, int height, int stride, int level,
                 const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool written = info != nullptr;
    if (written) {
        png_init_io(png, file);
        written = PngRows(png, info, pixels, width, height, stride, level);
    }
    png_destroy_write_struct(&png, &info);
    return CloseSynced(file, written);
}

bool BareBmpSave(const std::uint8_t* pixels, int width, int height, int stride,
                 std::vector<std::uint8_t>& scratch, const std::string& path)
{
    const std::size_t rowBytes = BmpRowBytes(width);
    scratch.resize(kBmpHeader + rowBytes * std::size_t(height));
    std::memset(scratch.data(), 0, kBmpHeader);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = pixels + std::size_t(height - 1 - y) * std::size_t(stride);
        std::uint8_t* out = scratch.data() + kBmpHeader + std::size_t(y) * rowBytes;
        for (int x = 0; x < width; ++x, in += 4, out += 3)
            std::memcpy(out, in, 3);
    }
    return WriteWholeFile(path, scratch.data(), scratch.size());
}
