// PNG encoding of a surface rectangle as 8-bit RGB.
#include "base/Failure.h"
#include "codec/CodecInternal.h"
#include "codec/PngCommon.h"
#include "codec/Rows.h"

#include <algorithm>
#include <csetjmp>
#include <memory>
#include <new>
#include <zlib.h>

namespace {

// The PNG rate as the save options store it: 0 normal, 1 fast (the default), 2 small.
int ZlibLevelForRate(std::uint8_t rate)
{
    switch (rate) {
    case 0: return 6;
    case 1: return 1;
    case 2: return 9;
    default: return -1;
    }
}

// libpng's bytes go to the writer's function; after a failed write the rest are dropped
// and the writer reports it at the end.
struct PngSink {
    const WriteBytes* write;
    bool failed = false;
};

void HandToSink(png_structp png, png_bytep data, std::size_t count)
{
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    if (!sink->failed && !(*sink->write)(data, count))
        sink->failed = true;
}

void FlushNothing(png_structp) {}

// A profile libpng finds fault with is left out with a warning, not the whole file. Nor does
// libpng add gAMA and cHRM chunks of its own when it knows the profile: the file carries the
// profile alone.
void SetMetadata(png_structp png, png_infop info, const PictureMetadata& metadata)
{
    if (!metadata.icc.empty()) {
        png_set_benign_errors(png, 1);
        png_set_option(png, PNG_SKIP_sRGB_CHECK_PROFILE, PNG_OPTION_ON);
        png_set_iCCP(png, info, metadata.iccName.empty() ? "ICC profile" : metadata.iccName.c_str(),
                     PNG_COMPRESSION_TYPE_BASE, metadata.icc.data(), png_uint_32(metadata.icc.size()));
    }
    if (!metadata.exif.empty())
        png_set_eXIf_1(png, info, png_uint_32(metadata.exif.size()),
                       const_cast<png_bytep>(metadata.exif.data()));
    if (!metadata.xmp.empty()) {
        png_text xmp{};
        xmp.compression = PNG_ITXT_COMPRESSION_NONE;
        xmp.key = const_cast<char*>("XML:com.adobe.xmp");
        xmp.text = const_cast<char*>(metadata.xmp.c_str());
        xmp.itxt_length = metadata.xmp.size();
        png_set_text(png, info, &xmp, 1);
    }
}

// Holds no object with a destructor, so libpng's longjmp on an error skips nothing.
bool WriteHeader(png_structp png, png_infop info, std::int32_t width, std::int32_t height, int level,
                 const PictureMetadata& metadata)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level);
    // The fastest rate is for speed. One filter and run-length matching deflate a camera
    // photograph three times as fast as trying every filter on every row, into a file no
    // larger; a flat drawing may come out a few percent larger.
    if (level == 1) {
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
        png_set_compression_strategy(png, Z_RLE);
    }
    SetMetadata(png, info, metadata);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER); // the surface's fourth byte is dropped
    return true;
}

bool WriteRows(png_structp png, const CodecSurface& dc, std::int32_t rows, bool last)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    for (std::int32_t y = 0; y < rows; ++y)
        png_write_row(png, dc.bits + std::ptrdiff_t{y} * dc.stride);
    if (last)
        png_write_end(png, nullptr);
    return true;
}

class PngRowWriter final : public RowWriter {
public:
    PngRowWriter(const WriteBytes& write, std::int32_t height)
        : structs_(PngStructs::Mode::Write, errors_), sink_{&write}, height_(height)
    {
    }

    std::int16_t Start(std::int32_t width, int level, const PictureMetadata& metadata)
    {
        if (!structs_)
            return CodecFailure(OutOfMemory());
        png_set_write_fn(structs_.png(), &sink_, HandToSink, FlushNothing);
        if (!WriteHeader(structs_.png(), structs_.info(), width, height_, level, metadata))
            return Failed();
        return kCodecOk;
    }

    std::int16_t Write(const CodecSurface& band, std::int32_t rows) override
    {
        rows = std::clamp(rows, 0, height_ - written_);
        written_ += rows;
        if (!WriteRows(structs_.png(), band, rows, written_ == height_))
            return Failed();
        return kCodecOk;
    }

    std::int16_t Finish() override
    {
        if (written_ != height_)
            return CodecFailure({"the PNG picture lacks rows", "PNG の画像の行が足りません"});
        if (sink_.failed)
            return CodecFailure({"cannot write the PNG file", "PNG ファイルを書き込めません"});
        return kCodecOk;
    }

private:
    std::int16_t Failed() { return PngFailure({"cannot encode PNG", "PNG に符号化できません"}, errors_); }

    PngErrorSink errors_;
    PngStructs structs_;
    PngSink sink_;
    std::int32_t height_ = 0, written_ = 0;
};

std::unique_ptr<PngRowWriter> StartWriter(std::int32_t width, std::int32_t height, std::uint8_t rate,
                                          const PictureMetadata& metadata, const WriteBytes& write)
{
    const int level = ZlibLevelForRate(rate);
    if (level < 0) {
        CodecFailure({"the PNG rate must be 0, 1 or 2", "PNG の圧縮率は 0、1、2 のいずれかです"});
        return nullptr;
    }
    try {
        auto writer = std::make_unique<PngRowWriter>(write, height);
        if (writer->Start(width, level, metadata) == kCodecOk)
            return writer;
    } catch (const std::bad_alloc&) {
        CodecFailure(OutOfMemory());
    }
    return nullptr;
}

} // namespace

std::int16_t EncodePngBytes(HDC dc, std::int32_t width, std::int32_t height, std::uint8_t rate,
                            std::vector<std::uint8_t>& out, const PictureMetadata& metadata)
{
    ClearCodecFailure();
    out.clear();
    if (CheckSourceRect(dc, width, height) != kCodecOk)
        return kCodecFailed;
    // A camera-sized file runs to tens of megabytes. Room for the raw rows is set aside at
    // once, of which the system maps only the pages written, so the bytes are never moved
    // to a larger buffer as they grow.
    try {
        out.reserve(std::size_t(width) * std::size_t(height) * 3 + std::size_t(height) + 4096);
    } catch (const std::bad_alloc&) {
    }
    bool outOfMemory = false;
    const WriteBytes append = [&](const void* data, std::size_t size) {
        try {
            const auto* bytes = static_cast<const std::uint8_t*>(data);
            out.insert(out.end(), bytes, bytes + size);
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
        }
        return !outOfMemory;
    };
    const std::unique_ptr<PngRowWriter> writer = StartWriter(width, height, rate, metadata, append);
    const bool written = writer && writer->Write(*dc, height) == kCodecOk && writer->Finish() == kCodecOk;
    if (written)
        return kCodecOk;
    out.clear();
    return outOfMemory ? CodecFailure(OutOfMemory()) : kCodecFailed;
}

std::int16_t SavePngFile(HDC dc, std::int32_t width, std::int32_t height, const char* path,
                         std::uint8_t rate, const PictureMetadata& metadata, Existing existing)
{
    ClearCodecFailure();
    if (path == nullptr || *path == '\0')
        return CodecFailure(NoFileName());
    std::vector<std::uint8_t> bytes;
    if (EncodePngBytes(dc, width, height, rate, bytes, metadata) != kCodecOk)
        return kCodecFailed;
    const ByteRange file{bytes.data(), bytes.size()};
    return WriteFileWith(path, {&file, 1}, existing);
}

std::int16_t DCSavetoPNG(HDC dc, std::int32_t width, std::int32_t height, const char* path,
                         std::uint8_t rate)
{
    return SavePngFile(dc, width, height, path, rate, {}, Existing::Replace);
}

std::unique_ptr<RowWriter> StartPngRows(std::int32_t width, std::int32_t height, std::uint8_t rate,
                                        const PictureMetadata& metadata, const WriteBytes& write)
{
    ClearCodecFailure();
    if (width <= 0 || height <= 0)
        return nullptr;
    return StartWriter(width, height, rate, metadata, write);
}
