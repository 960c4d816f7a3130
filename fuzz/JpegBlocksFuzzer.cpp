// Keeping the blocks of any JPEG file while a rectangle of it is stamped: a file that libjpeg
// reads cleanly is either refused, or it becomes a file that libjpeg reads without an error
// and whose every block outside the stamped MCUs is the file's own, whether its scan was
// spliced, written again with widened tables or written again whole.
#include "codec/JpegBlocks.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <jpeglib.h>
#include <vector>

namespace {
// A file's quantised blocks as libjpeg reads them.
struct Blocks {
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    std::jmp_buf failed{};
    jvirt_barray_ptr* arrays = nullptr;

    Blocks()
    {
        info.err = jpeg_std_error(&error);
        error.error_exit = [](j_common_ptr common) {
            std::longjmp(static_cast<Blocks*>(common->client_data)->failed, 1);
        };
        error.output_message = [](j_common_ptr) {};
        jpeg_create_decompress(&info);
        info.client_data = this;
    }
    ~Blocks() { jpeg_destroy_decompress(&info); }

    // False on an error, or on a warning when `warnings` is false. Pictures of more than
    // a megapixel are left out, to keep each run short.
    bool Read(std::span<const std::uint8_t> file, bool warnings)
    {
        if (setjmp(failed))
            return false;
        jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
        jpeg_read_header(&info, TRUE);
        if (std::uint64_t{info.image_width} * info.image_height > (1u << 20))
            return false;
        arrays = jpeg_read_coefficients(&info);
        return warnings || error.num_warnings == 0;
    }
    const JBLOCK& At(int component, JDIMENSION x, JDIMENSION y)
    {
        return (*info.mem->access_virt_barray)(j_common_ptr(&info), arrays[component], y, 1, FALSE)[0][x];
    }
};
} // namespace

// The first four bytes place the rectangle, in steps of four pixels; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const std::span<const std::uint8_t> file(data + 4, size - 4);
    Blocks before;
    if (!before.Read(file, false))
        return 0;
    const PixelRect area{data[0] * 4, data[1] * 4, data[2] * 4 + 1, data[3] * 4 + 1};
    std::optional<PixelRect> stampedRegion;
    const Result<StampedJpeg> stamped =
        StampJpegBlocks(file, area, [&](const PixelRect& region, CodecSurface& pixels) -> Result<void> {
            stampedRegion = region;
            // Sharp edges and flat patches, which need codes that a smooth photo's fitted
            // tables lack.
            for (std::int32_t y = 0; y < pixels.height; ++y)
                for (std::int32_t x = 0; x < pixels.width * 4; ++x)
                    pixels.bits[std::ptrdiff_t(y) * pixels.stride + x] ^= ((x / 12 + y / 3) % 2) ? 0xFF : 0x00;
            return {};
        });
    if (!stamped)
        return 0;
    std::vector<std::uint8_t> out;
    for (const ByteRange& piece : stamped->Pieces()) {
        const auto* bytes = static_cast<const std::uint8_t*>(piece.data);
        out.insert(out.end(), bytes, bytes + piece.size);
    }
    // Bytes after the data that libjpeg's reading ahead hid in the file may show in the
    // stamped one, so a warning is allowed there; a changed block is not.
    Blocks after;
    if (!stampedRegion || !after.Read(out, true))
        std::abort();
    const int mcuWidth = 8 * before.info.max_h_samp_factor, mcuHeight = 8 * before.info.max_v_samp_factor;
    for (int c = 0; c < before.info.num_components; ++c) {
        const jpeg_component_info& component = before.info.comp_info[c];
        for (JDIMENSION y = 0; y < component.height_in_blocks; ++y)
            for (JDIMENSION x = 0; x < component.width_in_blocks; ++x) {
                const std::int64_t px = std::int64_t(x / JDIMENSION(component.h_samp_factor)) * mcuWidth;
                const std::int64_t py = std::int64_t(y / JDIMENSION(component.v_samp_factor)) * mcuHeight;
                const PixelRect& r = *stampedRegion;
                const bool stampedMcu = px >= r.x && px < r.x + r.width && py >= r.y && py < r.y + r.height;
                if (!stampedMcu && std::memcmp(before.At(c, x, y), after.At(c, x, y), sizeof(JBLOCK)) != 0)
                    std::abort();
            }
    }
    return 0;
}
