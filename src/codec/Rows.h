#pragma once
// A picture passed through in bands of rows, never held whole: a JPEG or PNG file read row
// by row, a JPEG or PNG file written row by row as its bytes are made. Rows are in the
// surface layout (CodecSurface: blue, green, red, 0xFF), top-down. Each call returns 0 on
// success; on failure CodecLastFailure() says why.
#include "codec/Codec.h"
#include "codec/Metadata.h"
#include "files/SafeFile.h"

#include <cstdint>
#include <functional>
#include <memory>

inline constexpr std::int32_t kMostBandRows = 256;

class RowReader {
public:
    virtual ~RowReader() = default;
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    // Reads the next `rows` rows (at most kMostBandRows) into the first rows of `band`, which
    // is Width() wide. The call that reads the last row also reads the file on to its end, so
    // damage there fails.
    virtual std::int16_t Read(const CodecSurface& band, std::int32_t rows) = 0;

protected:
    std::int32_t width_ = 0, height_ = 0;
};

class RowWriter {
public:
    virtual ~RowWriter() = default;
    // Encodes the first `rows` rows (at most kMostBandRows) of `band` as the picture's next
    // rows.
    virtual std::int16_t Write(const CodecSurface& band, std::int32_t rows) = 0;
    // Ends the file once every row has been written.
    virtual std::int16_t Finish() = 0;
};

// The JPEG file `path` (UTF-8) decoded as Qt's reader decodes it (libjpeg's defaults:
// accurate transform, smooth chroma upsampling), grey samples repeated in blue, green and
// red. Null when it cannot be read so: not an 8-bit YCbCr or grey JPEG file, or damaged
// before its first row; the picture is then for a whole decode to read, or to refuse.
std::unique_ptr<RowReader> OpenJpegRows(const char* path);
// The PNG file `path` as DCReadPNG decodes it, alpha drawn over `background` (a ColorRef).
// Null when it cannot be read so: an interlaced picture, whose rows come in several passes,
// or a file DCReadPNG would refuse.
std::unique_ptr<RowReader> OpenPngRows(const char* path, std::uint32_t background);

// Writers of the very bytes SaveJpegFile and SavePngFile write for a picture of width x
// height, handed to `write` (which must outlive the writer) as they are made. Null when a
// JPEG file cannot be made so (a progressive one, or an encoder told otherwise by its
// environment), or for a rate the codec refuses.
std::unique_ptr<RowWriter> StartJpegRows(std::int32_t width, std::int32_t height, std::uint8_t rate,
                                         std::int32_t progressive, const PictureMetadata& metadata,
                                         const WriteBytes& write);
std::unique_ptr<RowWriter> StartPngRows(std::int32_t width, std::int32_t height, std::uint8_t rate,
                                        const PictureMetadata& metadata, const WriteBytes& write);

// How piping rows ended; `failure` says why when they did not all arrive.
struct PipedRows {
    enum class End { Done, ReadFailed, WriteFailed } end = End::Done;
    Failure failure;
};

// Passes every row of `reader` to `writer` and finishes it, in bands a few dozen rows high
// with `change` applied to each band (its pixels, and the picture row of its top) on the
// way; a `change` that returns false stops the reading as a failed read does. The change
// and the writer work on a thread of their own, so reading and writing overlap; at most
// three bands are held at a time.
PipedRows PipeRows(RowReader& reader, const std::function<bool(const CodecSurface& band, std::int32_t top)>& change,
                   RowWriter& writer);
