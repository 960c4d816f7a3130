// The PNG route on bytes: the header check that sizes the surface, then the codec's decoder.
#include "codec/Codec.h"
#include "codec/PictureLimit.h"
#include "codec/PngSize.h"

#include <cstdlib>
#include <vector>

namespace {
// Larger pictures are skipped: they only slow the fuzzer down without reaching new code.
constexpr std::uint64_t kMaxFuzzedPixels = std::uint64_t{1} << 22;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto stated = ReadPngHeader(data, size);
    if (!stated || !PictureSizeAllowed(stated->width, stated->height)
        || size < PngLeastFileSize(*stated)
        || std::uint64_t{stated->width} * stated->height > kMaxFuzzedPixels)
        return 0;
    const auto width = static_cast<std::int32_t>(stated->width);
    const auto height = static_cast<std::int32_t>(stated->height);
    std::vector<std::uint8_t> bits(std::size_t(width) * height * 4);
    CodecSurface dc{bits.data(), width, height, width * 4, 0x00C08040};
    if (DecodePngBytes(data, size, &dc) == 0) {
        // A decoded picture is opaque everywhere: every pixel was written.
        for (std::size_t i = 3; i < bits.size(); i += 4)
            if (bits[i] != 0xFF)
                std::abort();
    }
    return 0;
}
