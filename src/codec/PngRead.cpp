// PNG decoding into a surface: any colour type and bit depth, interlaced or not, drawn as
// 8-bit blue, green, red with alpha blended over the surface's background colour, or kept.
#include "base/Failure.h"
#include "codec/AlphaOver.h"
#include "codec/CodecInternal.h"
#include "codec/PictureLimit.h"
#include "codec/PngCommon.h"
#include "codec/PngSize.h"
#include "codec/Rows.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where libpng's bytes come from: a buffer in memory, or a file read a block at a time so
// that a large file never has to fit in memory whole.
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

struct FileCursor {
    int fd = -1;
    int error = 0; // errno of a failed read
    std::uint8_t block[65536];
    std::size_t at = 0;
    std::size_t end = 0;

    FileCursor() = default;
    FileCursor(const FileCursor&) = delete;
    FileCursor& operator=(const FileCursor&) = delete;
    ~FileCursor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// The plain file `path` open for reading a block at a time; null, with the reason, when it
// cannot be opened or is not a plain file. The caller names the file; the reason leaves it
// out. Opened without waiting, so that a pipe is refused rather than waited on.
std::unique_ptr<FileCursor> OpenCursor(const char* path)
{
    std::unique_ptr<FileCursor> file;
    try {
        file = std::make_unique<FileCursor>();
    } catch (const std::bad_alloc&) {
        CodecFailure(OutOfMemory());
        return nullptr;
    }
    file->fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file->fd < 0) {
        CodecFailure(FileFailure(FileStep::Open, "", errno));
        return nullptr;
    }
    struct stat info {};
    if (::fstat(file->fd, &info) != 0) {
        CodecFailure(FileFailure(FileStep::Read, "", errno));
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        CodecFailure(S_ISDIR(info.st_mode) ? FileFailure(FileStep::Read, "", EISDIR) : NotAPlainFile());
        return nullptr;
    }
    return file;
}

// The failure of a read that failed, which is why libpng's did.
std::int16_t WithReadError(std::int16_t result, const FileCursor* file)
{
    if (result != kCodecOk && file != nullptr && file->error != 0)
        return CodecFailure(FileFailure(FileStep::Read, "", file->error));
    return result;
}

// False on a read error or at the end of the file.
bool RefillBlock(FileCursor& file)
{
    ssize_t got = 0;
    do
        got = ::read(file.fd, file.block, sizeof file.block);
    while (got < 0 && errno == EINTR);
    if (got < 0)
        file.error = errno;
    file.at = 0;
    file.end = got > 0 ? static_cast<std::size_t>(got) : 0;
    return got > 0;
}

void ReadFromFile(png_structp png, png_bytep out, std::size_t count)
{
    auto* file = static_cast<FileCursor*>(png_get_io_ptr(png));
    while (count > 0) {
        if (file->at == file->end && !RefillBlock(*file))
            png_error(png, "the file is truncated");
        const std::size_t part = std::min(count, file->end - file->at);
        std::memcpy(out, file->block + file->at, part);
        file->at += part;
        out += part;
        count -= part;
    }
}

// Each libpng phase below sets its own jump point and holds no object with a destructor,
// so an error's longjmp skips nothing that needs cleaning up.

bool ReadHeader(png_structp png, png_infop info, PngStatedPicture* stated)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    stated->width = png_get_image_width(png, info);
    stated->height = png_get_image_height(png, info);
    stated->bitDepth = png_get_bit_depth(png, info);
    stated->colourType = png_get_color_type(png, info);
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
bool ReadPasses(png_structp png, const CodecSurface& dc, int passes, std::int32_t rows, bool toEnd)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    for (int pass = 0; pass < passes; ++pass)
        for (std::int32_t y = 0; y < rows; ++y)
            png_read_row(png, dc.bits + std::ptrdiff_t{y} * dc.stride, nullptr);
    if (toEnd)
        png_read_end(png, nullptr); // reads on to IEND, so a damaged tail is noticed too
    return true;
}

// Draws the first `rows` rows' pixels over `colour`, a ColorRef.
void DrawOverBackground(const CodecSurface& dc, std::int32_t rows, std::uint32_t colour)
{
    const unsigned background[3] = {(colour >> 16) & 0xFFu, (colour >> 8) & 0xFFu, colour & 0xFFu};
    for (std::int32_t y = 0; y < rows; ++y) {
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

const Failure kBadPng{"bad PNG file", "PNG ファイルが壊れています"};

Failure NoSurfaceToDrawInto()
{
    return {"no surface to draw into", "描画先の描画面がありません"};
}

// A PNG picture's rows, from a file or from memory.
class PngRowReader final : public RowReader {
public:
    PngRowReader() : structs_(PngStructs::Mode::Read, sink_) {}

    // Opens the file `file`, which the reader keeps, as the Open below does.
    std::int16_t Open(std::unique_ptr<FileCursor> file)
    {
        file_ = std::move(file);
        return WithReadError(Open(ReadFromFile, file_.get(), PngImageDataBytes(file_->fd)), file_.get());
    }

    // Reads the header of the PNG file holding `imageData` bytes of image data that `read`
    // delivers from `source`, and checks the image data against the picture it states.
    std::int16_t Open(png_rw_ptr read, void* source, std::uint64_t imageData)
    {
        if (!structs_)
            return CodecFailure(OutOfMemory());
        png_set_read_fn(structs_.png(), source, read);
        // The picture limit is the one that counts; libpng's own is lifted so that every
        // oversized picture is refused the same way.
        png_set_user_limits(structs_.png(), PNG_UINT_31_MAX, PNG_UINT_31_MAX);
        // Only the pixels are read. Text, profile and palette-suggestion chunks are skipped
        // unread, so one that claims gigabytes, or a compressed text that unfolds to them, costs
        // nothing; any other chunk may take at most 8 MiB.
        static constexpr png_byte kSkipped[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf";
        png_set_keep_unknown_chunks(structs_.png(), PNG_HANDLE_CHUNK_NEVER, kSkipped, 6);
        png_set_chunk_malloc_max(structs_.png(), 8 << 20);

        PngStatedPicture stated;
        if (!ReadHeader(structs_.png(), structs_.info(), &stated))
            return PngFailure(kBadPng, sink_);
        if (!PictureSizeAllowed(stated.width, stated.height))
            return CodecFailure(SizeBeyondLimit(stated.width, stated.height));
        if (imageData < PngLeastDataBytes(stated))
            return CodecFailure(TooShortForSize(stated.width, stated.height));
        width_ = std::int32_t(stated.width);
        height_ = std::int32_t(stated.height);
        if (!SetUpTransforms(structs_.png(), structs_.info(), &passes_))
            return PngFailure(kBadPng, sink_);
        if (png_get_rowbytes(structs_.png(), structs_.info()) != std::size_t{stated.width} * 4)
            return CodecFailure({"unsupported PNG pixel layout", "この PNG の画素の並びには対応していません"});
        return kCodecOk;
    }

    int Passes() const { return passes_; }
    // What Read draws alpha over, a ColorRef.
    void SetBackground(std::uint32_t colour) { background_ = colour; }

    // The whole picture, every pass, into `dc` of the picture's size; alpha is drawn over the
    // background colour unless dc.keepAlpha.
    std::int16_t ReadWhole(const CodecSurface& dc)
    {
        if (!ReadPasses(structs_.png(), dc, passes_, height_, true))
            return WithReadError(PngFailure(kBadPng, sink_), file_.get());
        if (!dc.keepAlpha)
            DrawOverBackground(dc, height_, dc.background);
        return kCodecOk;
    }

    std::int16_t Read(const CodecSurface& band, std::int32_t rows) override
    {
        rows = std::clamp(rows, 0, height_ - read_);
        read_ += rows;
        if (!ReadPasses(structs_.png(), band, 1, rows, read_ == height_))
            return WithReadError(PngFailure(kBadPng, sink_), file_.get());
        DrawOverBackground(band, rows, background_);
        return kCodecOk;
    }

private:
    std::unique_ptr<FileCursor> file_;   // none when reading from memory
    PngErrorSink sink_;
    PngStructs structs_;
    int passes_ = 1;
    std::uint32_t background_ = 0;
    std::int32_t read_ = 0;
};

// Decodes the picture of an opened reader into `dc`, which must be its size.
std::int16_t DecodeInto(PngRowReader& reader, HDC dc)
{
    if (reader.Width() != dc->width || reader.Height() != dc->height) {
        const std::string picture = SizeWords(reader.Width(), reader.Height());
        const std::string surface = SizeWords(dc->width, dc->height);
        return CodecFailure({"the picture is " + picture + " pixels, its surface " + surface,
                             "画像は " + picture + " ピクセルですが、描画面は " + surface + " です"});
    }
    if (dc->stride < std::int64_t{dc->width} * 4)
        return CodecFailure(ShortSurfaceRows());
    return reader.ReadWhole(*dc);
}

} // namespace

std::int16_t DecodePngBytes(const std::uint8_t* data, std::size_t size, HDC dc)
{
    ClearCodecFailure();
    if (dc == nullptr || dc->bits == nullptr)
        return CodecFailure(NoSurfaceToDrawInto());
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return CodecFailure(NotAPngFile());
    ByteCursor cursor{data, size};
    PngRowReader reader;
    if (reader.Open(ReadFromCursor, &cursor, PngImageDataBytes(data, size)) != kCodecOk)
        return kCodecFailed;
    return DecodeInto(reader, dc);
}

std::int16_t DCReadPNG(const char* path, HDC dc)
{
    ClearCodecFailure();
    if (path == nullptr || *path == '\0')
        return CodecFailure(NoFileName());
    if (dc == nullptr || dc->bits == nullptr)
        return CodecFailure(NoSurfaceToDrawInto());
    std::unique_ptr<FileCursor> file = OpenCursor(path);
    if (!file)
        return kCodecFailed;
    PngRowReader reader;
    if (reader.Open(std::move(file)) != kCodecOk)
        return kCodecFailed;
    return DecodeInto(reader, dc);
}

std::unique_ptr<RowReader> OpenPngRows(const char* path, std::uint32_t background)
{
    ClearCodecFailure();
    std::unique_ptr<FileCursor> file = OpenCursor(path);
    if (!file)
        return nullptr;
    try {
        auto reader = std::make_unique<PngRowReader>();
        if (reader->Open(std::move(file)) != kCodecOk || reader->Passes() != 1)
            return nullptr;
        reader->SetBackground(background);
        return reader;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
