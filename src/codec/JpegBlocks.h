#pragma once
// Stamping a JPEG file without decoding and encoding it whole: only the MCUs (the 8 x 8
// blocks of each component that code one patch of pixels together) under a rectangle are
// decoded, composed and encoded again, with the file's own quantisation tables and
// sampling; every other block stays as the file holds it, so the rest of the picture loses
// nothing and is never transformed again.
#include "base/Result.h"
#include "codec/Codec.h"
#include "files/SafeFile.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// A rectangle of a picture, in pixels; any place, also beyond the picture.
struct PixelRect {
    std::int64_t x = 0, y = 0, width = 0, height = 0;
};

// Composes the pixels of `region` of the picture in place: `pixels` is region-sized and holds
// them as a full decode of the file gives them (Qt's reader and libjpeg's defaults: accurate
// transform, smooth chroma upsampling). A failure stops the stamping with it.
using ComposeRegion = std::function<Result<void>(const PixelRect& region, CodecSurface& pixels)>;

// A stamped JPEG file, mostly the given file's own bytes: `head`, `keptBefore`, `rewritten`
// and `keptAfter` one after another. The kept parts point into the given file.
struct StampedJpeg {
    std::vector<std::uint8_t> head;              // SOI up to the scan's data, or the whole file
    std::span<const std::uint8_t> keptBefore;
    std::vector<std::uint8_t> rewritten;
    std::span<const std::uint8_t> keptAfter;

    std::vector<ByteRange> Pieces() const
    {
        return {{head.data(), head.size()}, {keptBefore.data(), keptBefore.size()},
                {rewritten.data(), rewritten.size()}, {keptAfter.data(), keptAfter.size()}};
    }
};

// The JPEG file `file` with the MCUs that `area` touches replaced by what `compose` makes
// of them. The blocks elsewhere keep their data, and the file keeps its markers (APPn, COM),
// progressive mode and restart interval. Decoded, the picture is the file's own outside
// those MCUs, bar the pixel next to them where the decoder's smooth chroma upsampling mixes
// in their colour (with subsampled chroma only); inside, it is the composite encoded with the
// file's tables by the accurate transform. A baseline file keeps even the bytes of its data
// before and after those MCUs, and takes time for the data up to them alone (for none with
// restart markers); when its tables lack a code the new blocks need, its tables are widened
// by those codes and every block's codes are written again, their values kept. A progressive
// file's blocks are all written again with tables fitted to them.
// Fails, saying why, when the file is not an 8-bit YCbCr colour JPEG whose decoded pixels
// these blocks give exactly (grey, CMYK or RGB samples; progressive data whose last scans
// leave coefficients rough), when libjpeg's encoder cannot take its quantisers, when its
// data is damaged, when `area` misses the picture, or with the failure of `compose`.
// The stamped file's kept parts are left empty when every block was written again; with
// widened tables, only the part after the scan is kept.
Result<StampedJpeg> StampJpegBlocks(std::span<const std::uint8_t> file, const PixelRect& area,
                                    const ComposeRegion& compose);
