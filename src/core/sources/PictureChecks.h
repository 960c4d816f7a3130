#pragma once
// What the general loader checks before a picture reader sees a file: its format, told by
// its signature, and that the file is whole and holds enough data for the picture it states.
// A file that ends before the end its format marks (PNG's IEND, JPEG's EOI, GIF's trailer,
// the last row or RLE end-of-bitmap of a BMP, an icon entry's last byte) is refused, as is
// one far too small for its stated size. Each check reads the file front to back through a
// small buffer, so it takes little memory and time even for a forged file.
#include "base/Result.h"
#include "core/formats/FileTypes.h"
#include "core/sources/ByteStream.h"

#include <QIODevice>
#include <cstdint>

// Checks `file` from its start: its format, or why it is refused. PNG files are only
// recognised here: their size and completeness are the PNG decoder's to check.
Result<PictureFormat> CheckPictureFile(QIODevice& file);

// A picture whose data leaves pixels uncoded (an RLE bitmap's skipped pixels, a GIF's screen
// beyond its first frame) is refused only when more than this many pixels are left so.
inline constexpr std::int64_t kUncodedPixelAllowance = std::int64_t{1} << 22;
// Progressive JPEG encoders write about ten scans; each scan passes over the whole picture.
inline constexpr int kMaxJpegScans = 100;

// The checks of one format each, from the stream's start: success when the file may be
// decoded, else why it is refused.
Result<void> CheckBmp(ByteStream& stream);
Result<void> CheckGif(ByteStream& stream);
Result<void> CheckIco(ByteStream& stream);
Result<void> CheckJpeg(ByteStream& stream);

// Success when a picture of width x height may be allocated (PictureLimit.h), else
// SizeBeyondLimit.
Result<void> CheckStatedSize(std::int64_t width, std::int64_t height);

// The refusal of a file that ends within its header.
Failure EndsWithinHeader();
// A file whose reading failed; Qt's devices keep no error number to say why.
Failure UnreadableFile();
