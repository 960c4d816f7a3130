// JPEG files read and written a few rows at a time through libjpeg's scanline API.
#include "base/Failure.h"
#include "codec/CodecInternal.h"
#include "codec/JpegMetadata.h"
#include "codec/JpegSession.h"
#include "codec/JpegStrips.h"
#include "codec/Rows.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Pointers to the first rows of a band, as libjpeg takes them.
struct BandRows {
    JSAMPROW at[kMostBandRows];
    JDIMENSION count;

    BandRows(const CodecSurface& band, std::int32_t rows) : count(JDIMENSION(std::clamp(rows, 0, kMostBandRows)))
    {
        for (JDIMENSION i = 0; i < count; ++i)
            at[i] = band.bits + std::ptrdiff_t(i) * band.stride;
    }
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

class JpegRowReader final : public RowReader {
public:
    // False when the file is not one whose rows can be read as Qt's reader decodes them.
    bool Open(const char* path)
    {
        // Opened without waiting, and only a plain file, so that a pipe put in its place
        // cannot stop the program.
        const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        struct stat status {};
        if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
            !(file_ = std::unique_ptr<std::FILE, FileCloser>(::fdopen(fd, "rb")))) {
            if (fd >= 0)
                ::close(fd);
            return false;
        }
        jpeg_decompress_struct& info = session_.info;
        const bool read = Guarded(session_.error, [&] {
            jpeg_create_decompress(&info);
            jpeg_stdio_src(&info, file_.get());
            jpeg_read_header(&info, TRUE);
        });
        const bool colour = info.jpeg_color_space == JCS_YCbCr && info.num_components == 3;
        const bool grey = info.jpeg_color_space == JCS_GRAYSCALE && info.num_components == 1;
        if (!read || info.data_precision != 8 || (!colour && !grey))
            return false;
        // Qt's reader leaves libjpeg's defaults as they are; only the samples' order differs.
        info.out_color_space = JCS_EXT_BGRX;
        if (!Guarded(session_.error, [&] { jpeg_start_decompress(&info); }))
            return false;
        width_ = std::int32_t(info.output_width);
        height_ = std::int32_t(info.output_height);
        return info.output_components == 4;
    }

    std::int16_t Read(const CodecSurface& band, std::int32_t rows) override
    {
        jpeg_decompress_struct& info = session_.info;
        BandRows pointers(band, std::min(rows, height_ - std::int32_t(info.output_scanline)));
        const bool read = Guarded(session_.error, [&] {
            for (JDIMENSION done = 0; done < pointers.count;)
                done += jpeg_read_scanlines(&info, pointers.at + done, pointers.count - done);
            if (info.output_scanline == info.output_height)
                jpeg_finish_decompress(&info);
        });
        if (!read)
            return CodecFailure(session_.Why("cannot decode JPEG", "JPEG を復号できません"));
        return kCodecOk;
    }

private:
    std::unique_ptr<std::FILE, FileCloser> file_;   // outlives the session, which reads it
    Decompressor session_;
};

// Hands what libjpeg encodes to the writer's function a buffer at a time. A failed write
// is not libjpeg's error: the rest is dropped and the save reports the write.
struct WritingDestination {
    jpeg_destination_mgr library;
    const WriteBytes* write;
    bool failed;
    JOCTET buffer[1 << 16];
};

void Hand(WritingDestination& destination, std::size_t size)
{
    if (!destination.failed && size > 0 && !(*destination.write)(destination.buffer, size))
        destination.failed = true;
    destination.library.next_output_byte = destination.buffer;
    destination.library.free_in_buffer = sizeof destination.buffer;
}

void StartDestination(j_compress_ptr info)
{
    Hand(*reinterpret_cast<WritingDestination*>(info->dest), 0);
}

// Called when the buffer is full, whatever free_in_buffer says meanwhile.
boolean EmptyDestination(j_compress_ptr info)
{
    auto& destination = *reinterpret_cast<WritingDestination*>(info->dest);
    Hand(destination, sizeof destination.buffer);
    return TRUE;
}

void EndDestination(j_compress_ptr info)
{
    auto& destination = *reinterpret_cast<WritingDestination*>(info->dest);
    Hand(destination, sizeof destination.buffer - destination.library.free_in_buffer);
}

// TurboJPEG takes these from the environment; a file made with them is not one this writer
// makes.
bool EncoderToldByEnvironment()
{
    for (const char* name : {"TJ_OPTIMIZE", "TJ_ARITHMETIC", "TJ_RESTART", "TJ_PROGRESSIVE"})
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
            return true;
    return false;
}

class JpegRowWriter final : public RowWriter {
public:
    explicit JpegRowWriter(const WriteBytes& write) : destination_(new WritingDestination{})
    {
        destination_->write = &write;
        destination_->library.init_destination = StartDestination;
        destination_->library.empty_output_buffer = EmptyDestination;
        destination_->library.term_destination = EndDestination;
    }

    // Set as TurboJPEG sets its encoder for the strips that SaveJpegFile joins, with the
    // restart interval that joining gives the file; the metadata's segments follow SOI and
    // the JFIF APP0, which libjpeg writes as it starts.
    std::int16_t Start(std::int32_t width, std::int32_t height, int quality, const std::vector<std::uint8_t>& segments)
    {
        const JpegStrips plan = PlanJpegStrips(width, height);
        jpeg_compress_struct& info = session_.info;
        const bool started = Guarded(session_.error, [&] {
            jpeg_create_compress(&info);
            info.dest = &destination_->library;
            info.image_width = JDIMENSION(width);
            info.image_height = JDIMENSION(height);
            info.in_color_space = JCS_EXT_BGRX;
            info.input_components = 4;
            jpeg_set_defaults(&info);
            jpeg_set_quality(&info, quality, TRUE);
            info.dct_method = quality >= 96 ? JDCT_ISLOW : JDCT_FASTEST;
            jpeg_set_colorspace(&info, JCS_YCbCr);
            info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 2;
            for (int c = 1; c < 3; ++c)
                info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
            info.restart_interval = plan.count > 1 ? unsigned(plan.interval) : 0;
            jpeg_start_compress(&info, TRUE);
        });
        if (!started)
            return CodecFailure(session_.Why("cannot encode JPEG", "JPEG に符号化できません"));
        Hand(*destination_, sizeof destination_->buffer - destination_->library.free_in_buffer);
        if (!segments.empty() && !destination_->failed && !(*destination_->write)(segments.data(), segments.size()))
            destination_->failed = true;
        return kCodecOk;
    }

    std::int16_t Write(const CodecSurface& band, std::int32_t rows) override
    {
        BandRows pointers(band, rows);
        jpeg_compress_struct& info = session_.info;
        if (!Guarded(session_.error, [&] { jpeg_write_scanlines(&info, pointers.at, pointers.count); }))
            return CodecFailure(session_.Why("cannot encode JPEG", "JPEG に符号化できません"));
        return kCodecOk;
    }

    std::int16_t Finish() override
    {
        jpeg_compress_struct& info = session_.info;
        if (!Guarded(session_.error, [&] { jpeg_finish_compress(&info); }))
            return CodecFailure(session_.Why("cannot encode JPEG", "JPEG に符号化できません"));
        if (destination_->failed)
            return CodecFailure({"cannot write the JPEG file", "JPEG ファイルを書き込めません"});
        return kCodecOk;
    }

private:
    std::unique_ptr<WritingDestination> destination_;
    Compressor session_;
};

} // namespace

std::unique_ptr<RowReader> OpenJpegRows(const char* path)
{
    try {
        auto reader = std::make_unique<JpegRowReader>();
        if (reader->Open(path))
            return reader;
    } catch (const std::bad_alloc&) {
    }
    return nullptr;
}

std::unique_ptr<RowWriter> StartJpegRows(std::int32_t width, std::int32_t height, std::uint8_t rate,
                                         std::int32_t progressive, const PictureMetadata& metadata,
                                         const WriteBytes& write)
{
    ClearCodecFailure();
    if (progressive != 0 || rate < 1 || rate > 100 || width <= 0 || height <= 0 || EncoderToldByEnvironment())
        return nullptr;
    try {
        auto writer = std::make_unique<JpegRowWriter>(write);
        if (writer->Start(width, height, 101 - rate, JpegMetadataSegments(metadata)) == kCodecOk)
            return writer;
    } catch (const std::bad_alloc&) {
    }
    return nullptr;
}
