// The libjpeg side of keeping a JPEG file's blocks: its headers and coefficients are read
// through libjpeg's coefficient API, and a few MCUs are decoded and encoded through small
// JPEG files of their own, so that every pixel passes through the very routines a full
// decode or encode uses.
#include "codec/JpegBlocks.h"

#include "base/Failure.h"
#include "codec/JpegSession.h"
#include "codec/JpegSplice.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <jpeglib.h>
#include <jerror.h>

namespace {

// A destination that grows a vector; a failure to grow is libjpeg's out-of-memory error.
struct VectorDestination {
    jpeg_destination_mgr library;
    std::vector<std::uint8_t>* bytes;
    std::size_t expected;   // the size it starts with
};

bool Resized(std::vector<std::uint8_t>& bytes, std::size_t size) noexcept
{
    try {
        bytes.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Doubles the buffer. libjpeg calls it when the buffer is full, without always telling
// free_in_buffer so, as its Huffman encoder keeps the count to itself meanwhile.
boolean GrowDestination(j_compress_ptr info)
{
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    const std::size_t used = destination->bytes->size();
    if (!Resized(*destination->bytes, std::max({used * 2, destination->expected, std::size_t{1} << 16}))) {
        info->err->msg_code = JERR_OUT_OF_MEMORY;
        (*info->err->error_exit)(j_common_ptr(info));
    }
    destination->library.next_output_byte = destination->bytes->data() + used;
    destination->library.free_in_buffer = destination->bytes->size() - used;
    return TRUE;
}

void StartDestination(j_compress_ptr info)
{
    reinterpret_cast<VectorDestination*>(info->dest)->bytes->clear();
    GrowDestination(info);
}

void EndDestination(j_compress_ptr info)
{
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    destination->bytes->resize(destination->bytes->size() - destination->library.free_in_buffer);
}

// A destination of `expected` bytes to start with, which a whole file rewritten should not
// outgrow: doubling a photo's buffer again and again would copy and clear it each time.
VectorDestination DestinationInto(std::vector<std::uint8_t>& bytes, std::size_t expected = 0)
{
    VectorDestination destination{};
    destination.expected = expected;
    destination.library.init_destination = StartDestination;
    destination.library.empty_output_buffer = GrowDestination;
    destination.library.term_destination = EndDestination;
    destination.bytes = &bytes;
    return destination;
}

const Failure kNotColour{"the picture is not stored as 8-bit YCbCr colour",
                         "画像が 8 ビットの YCbCr カラーで保存されていません"};
const Failure kDamaged{"the picture's data is damaged", "画像のデータが壊れています"};
const Failure kRoughScans{"the progressive scans leave coefficients rough",
                          "プログレッシブのスキャンが係数を粗く残しています"};
const Failure kOutside{"the foreground lies outside the picture", "前景が画像の外にあります"};
const Failure kOddQuantiser{"a quantisation table of the picture holds 0, or 8192 or more",
                            "画像の量子化テーブルに 0 または 8192 以上の値があります"};

// A decoder takes any quantiser, but the MCUs are encoded again with the file's own: the
// encoder divides by each, and keeps it times eight in 16 bits.
bool QuantisersEncodable(const jpeg_decompress_struct& info)
{
    for (int c = 0; c < info.num_components; ++c) {
        const int number = info.comp_info[c].quant_tbl_no;
        const JQUANT_TBL* table = number >= 0 && number < NUM_QUANT_TBLS ? info.quant_tbl_ptrs[number] : nullptr;
        if (!table || std::any_of(std::begin(table->quantval), std::end(table->quantval),
                                  [](UINT16 quantiser) { return quantiser == 0 || quantiser >= 8192; }))
            return false;
    }
    return true;
}

// Where the picture's MCUs lie, in pixels.
struct McuGrid {
    std::int64_t width = 0, height = 0;
    int mcuWidth = 8, mcuHeight = 8;
    int across = 0, down = 0;

    // The MCUs that `area` touches; nothing when it misses the picture.
    std::optional<McuRect> Covering(const PixelRect& area) const
    {
        const std::int64_t left = std::max<std::int64_t>(area.x, 0), top = std::max<std::int64_t>(area.y, 0);
        const std::int64_t right = std::min(area.x + area.width, width), bottom = std::min(area.y + area.height, height);
        if (left >= right || top >= bottom)
            return std::nullopt;
        return McuRect{int(left / mcuWidth), int(top / mcuHeight), int((right + mcuWidth - 1) / mcuWidth),
                       int((bottom + mcuHeight - 1) / mcuHeight)};
    }
    McuRect Grown(const McuRect& mcus) const
    {
        return {std::max(mcus.left - 1, 0), std::max(mcus.top - 1, 0), std::min(mcus.right + 1, across),
                std::min(mcus.bottom + 1, down)};
    }
    PixelRect Pixels(const McuRect& mcus) const
    {
        const std::int64_t x = std::int64_t{mcus.left} * mcuWidth, y = std::int64_t{mcus.top} * mcuHeight;
        return {x, y, std::min(std::int64_t{mcus.right} * mcuWidth, width) - x,
                std::min(std::int64_t{mcus.bottom} * mcuHeight, height) - y};
    }
};

bool ReadHeader(Decompressor& file, std::span<const std::uint8_t> bytes)
{
    return Guarded(file.error, [&] {
        jpeg_create_decompress(&file.info);
        jpeg_mem_src(&file.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_save_markers(&file.info, JPEG_COM, 0xFFFF);
        for (int n = 0; n < 16; ++n)
            jpeg_save_markers(&file.info, JPEG_APP0 + n, 0xFFFF);
        jpeg_read_header(&file.info, TRUE);
    });
}

std::vector<Sampling> FrameSampling(const jpeg_decompress_struct& info)
{
    std::vector<Sampling> frame;
    for (int c = 0; c < info.num_components; ++c)
        frame.push_back({info.comp_info[c].h_samp_factor, info.comp_info[c].v_samp_factor});
    return frame;
}

// The layout of a file whose one scan holds every component in sequential Huffman coding,
// the kind whose data can be spliced; nothing for any other.
std::optional<ScanLayout> SpliceableLayout(const jpeg_decompress_struct& info, const McuGrid& grid,
                                           std::size_t dataStart)
{
    if (info.progressive_mode || info.arith_code || info.comps_in_scan != info.num_components ||
        info.Ss != 0 || info.Se != 63 || info.Ah != 0 || info.Al != 0)
        return std::nullopt;
    ScanLayout layout;
    layout.mcusAcross = grid.across;
    layout.mcusDown = grid.down;
    for (int c = 0; c < info.comps_in_scan; ++c) {
        const jpeg_component_info& component = *info.cur_comp_info[c];
        layout.components.push_back({component.component_index,
                                     {component.h_samp_factor, component.v_samp_factor},
                                     component.dc_tbl_no, component.ac_tbl_no});
    }
    for (int t = 0; t < 4; ++t) {
        const auto copy = [](const JHUFF_TBL* table, std::optional<HuffmanTable>& into) {
            if (!table)
                return;
            into.emplace();
            std::copy(std::begin(table->bits), std::end(table->bits), into->bits.begin());
            std::copy(std::begin(table->huffval), std::end(table->huffval), into->symbols.begin());
        };
        copy(info.dc_huff_tbl_ptrs[t], layout.dcTables[std::size_t(t)]);
        copy(info.ac_huff_tbl_ptrs[t], layout.acTables[std::size_t(t)]);
    }
    layout.restartInterval = int(info.restart_interval);
    layout.dataStart = dataStart;
    return layout;
}

// Reads every block of the file into libjpeg's arrays.
Result<jvirt_barray_ptr*> ReadAllBlocks(Decompressor& file)
{
    jvirt_barray_ptr* arrays = nullptr;
    if (!Guarded(file.error, [&] { arrays = jpeg_read_coefficients(&file.info); }) ||
        file.error.library.num_warnings > 0)
        return kDamaged;
    // Scans that leave a low coefficient short of its last bits make a decoder smooth the
    // blocks with their neighbours, which a few blocks decoded apart cannot match.
    if (file.info.progressive_mode)
        for (int c = 0; c < file.info.num_components; ++c)
            for (int k = 0; k < 10; ++k)
                if (file.info.coef_bits[c][k] != 0)
                    return kRoughScans;
    return arrays;
}

// Copies blocks between `region` and libjpeg's arrays of `info`, either way; the arrays
// start at the MCU `origin` of the region's picture.
bool CopyBlocks(jpeg_common_struct* info, ErrorManager& error, jvirt_barray_ptr* arrays,
                const std::vector<Sampling>& frame, RegionBlocks& region, McuRect origin, bool intoArrays)
{
    return Guarded(error, [&] {
        for (std::size_t c = 0; c < frame.size(); ++c) {
            BlockGrid& grid = region.components[c];
            const int left = (region.mcus.left - origin.left) * frame[c].h;
            const int top = (region.mcus.top - origin.top) * frame[c].v;
            for (int y = 0; y < grid.height; ++y) {
                JBLOCKROW row = (*info->mem->access_virt_barray)(info, arrays[c], JDIMENSION(top + y), 1,
                                                                   intoArrays ? TRUE : FALSE)[0];
                for (int x = 0; x < grid.width; ++x) {
                    JCOEF* coefficients = row[left + x];
                    if (intoArrays)
                        std::copy(grid.At(x, y).begin(), grid.At(x, y).end(), coefficients);
                    else
                        std::copy(coefficients, coefficients + DCTSIZE2, grid.At(x, y).begin());
                }
            }
        }
    });
}

// Decodes `region`'s blocks, which cover `regionPixels`, as a full decode would, into the
// pixels of `wanted` (within the region, and not at its edge unless that is the picture's).
Result<void> DecodeRegion(Decompressor& file, RegionBlocks& region, const PixelRect& regionPixels,
                          const PixelRect& wanted, CodecSurface& out)
{
    const std::vector<Sampling> frame = FrameSampling(file.info);
    std::vector<std::uint8_t> small;
    {
        Compressor writer;
        VectorDestination destination = DestinationInto(small);
        jvirt_barray_ptr arrays[MAX_COMPONENTS] = {};
        const bool made = Guarded(writer.error, [&] {
            jpeg_create_compress(&writer.info);
            jpeg_copy_critical_parameters(&file.info, &writer.info);
            writer.info.image_width = JDIMENSION(regionPixels.width);
            writer.info.image_height = JDIMENSION(regionPixels.height);
            writer.info.dest = &destination.library;
            for (std::size_t c = 0; c < frame.size(); ++c)
                arrays[c] = (*writer.info.mem->request_virt_barray)(
                    j_common_ptr(&writer.info), JPOOL_IMAGE, FALSE, JDIMENSION(region.components[c].width),
                    JDIMENSION(region.components[c].height), JDIMENSION(frame[c].v));
            jpeg_write_coefficients(&writer.info, arrays);
        });
        if (!made || !CopyBlocks(j_common_ptr(&writer.info), writer.error, arrays, frame, region, region.mcus, true) ||
            !Guarded(writer.error, [&] { jpeg_finish_compress(&writer.info); }))
            return writer.Why("cannot encode the blocks", "ブロックを符号化できません");
    }
    Decompressor reader;
    const bool decoded = Guarded(reader.error, [&] {
        jpeg_create_decompress(&reader.info);
        jpeg_mem_src(&reader.info, small.data(), static_cast<unsigned long>(small.size()));
        jpeg_read_header(&reader.info, TRUE);
        reader.info.out_color_space = JCS_EXT_BGRX;
        jpeg_start_decompress(&reader.info);
        JSAMPARRAY row = (*reader.info.mem->alloc_sarray)(j_common_ptr(&reader.info), JPOOL_IMAGE,
                                                          reader.info.output_width * 4, 1);
        const std::int64_t top = wanted.y - regionPixels.y, left = wanted.x - regionPixels.x;
        while (reader.info.output_scanline < top + wanted.height) {
            const std::int64_t y = std::int64_t{reader.info.output_scanline} - top;
            jpeg_read_scanlines(&reader.info, row, 1);
            if (y >= 0)
                std::memcpy(out.bits + y * out.stride, row[0] + left * 4, std::size_t(wanted.width) * 4);
        }
    });
    if (!decoded)
        return reader.Why("cannot decode the blocks", "ブロックを復号できません");
    return {};
}

// Encodes `pixels`, which cover `region`'s MCUs, with the file's tables and sampling into
// the region's blocks.
Result<void> EncodeRegion(Decompressor& file, const CodecSurface& pixels, RegionBlocks& region)
{
    std::vector<std::uint8_t> small;
    {
        Compressor writer;
        VectorDestination destination = DestinationInto(small);
        const bool made = Guarded(writer.error, [&] {
            jpeg_create_compress(&writer.info);
            jpeg_copy_critical_parameters(&file.info, &writer.info);
            writer.info.image_width = JDIMENSION(pixels.width);
            writer.info.image_height = JDIMENSION(pixels.height);
            writer.info.in_color_space = JCS_EXT_BGRX;
            writer.info.input_components = 4;
            writer.info.dest = &destination.library;
            jpeg_start_compress(&writer.info, TRUE);
            while (writer.info.next_scanline < writer.info.image_height) {
                JSAMPROW row = pixels.bits + std::ptrdiff_t(writer.info.next_scanline) * pixels.stride;
                jpeg_write_scanlines(&writer.info, &row, 1);
            }
            jpeg_finish_compress(&writer.info);
        });
        if (!made)
            return writer.Why("cannot encode the composite", "合成画像を符号化できません");
    }
    Decompressor reader;
    jvirt_barray_ptr* arrays = nullptr;
    if (!Guarded(reader.error, [&] {
            jpeg_create_decompress(&reader.info);
            jpeg_mem_src(&reader.info, small.data(), static_cast<unsigned long>(small.size()));
            jpeg_read_header(&reader.info, TRUE);
            arrays = jpeg_read_coefficients(&reader.info);
        }))
        return reader.Why("cannot read the composite's blocks", "合成画像のブロックを読めません");
    if (!CopyBlocks(j_common_ptr(&reader.info), reader.error, arrays, FrameSampling(file.info), region,
                    region.mcus, false))
        return reader.Why("cannot read the composite's blocks", "合成画像のブロックを読めません");
    return {};
}

// Writes every block of `arrays` again, as the file of `fileSize` bytes had them, with its
// markers.
Result<std::vector<std::uint8_t>> WriteAllBlocks(Decompressor& file, jvirt_barray_ptr* arrays, std::size_t fileSize)
{
    std::vector<std::uint8_t> bytes;
    Compressor writer;
    VectorDestination destination = DestinationInto(bytes, fileSize + fileSize / 8);
    const bool written = Guarded(writer.error, [&] {
        jpeg_create_compress(&writer.info);
        jpeg_copy_critical_parameters(&file.info, &writer.info);
        if (file.info.progressive_mode)
            jpeg_simple_progression(&writer.info);
        writer.info.arith_code = file.info.arith_code;
        writer.info.restart_interval = file.info.restart_interval;
        // Tables fitted to the new blocks keep the file about as small as a fitted original.
        writer.info.optimize_coding = TRUE;
        // The file's own markers are copied instead, in their order.
        writer.info.write_JFIF_header = FALSE;
        writer.info.write_Adobe_marker = FALSE;
        writer.info.dest = &destination.library;
        jpeg_write_coefficients(&writer.info, arrays);
        for (jpeg_saved_marker_ptr marker = file.info.marker_list; marker; marker = marker->next)
            jpeg_write_marker(&writer.info, marker->marker, marker->data, marker->data_length);
        jpeg_finish_compress(&writer.info);
    });
    if (!written)
        return writer.Why("cannot write the blocks", "ブロックを書けません");
    return bytes;
}

} // namespace

Result<StampedJpeg> StampJpegBlocks(std::span<const std::uint8_t> bytes, const PixelRect& area,
                                    const ComposeRegion& compose)
{
    try {
        Decompressor file;
        if (!ReadHeader(file, bytes))
            return file.Why("cannot read the JPEG file", "JPEG ファイルを読めません");
        const jpeg_decompress_struct& info = file.info;
        // Where the first scan's data begins: the header stops reading there.
        const std::size_t dataStart = std::size_t(info.src->next_input_byte - bytes.data());
        if (info.jpeg_color_space != JCS_YCbCr || info.num_components != 3 || info.data_precision != 8)
            return kNotColour;
        if (info.err->num_warnings > 0)
            return kDamaged;
        if (!QuantisersEncodable(info))
            return kOddQuantiser;
        McuGrid grid{info.image_width, info.image_height, 8 * info.max_h_samp_factor, 8 * info.max_v_samp_factor};
        grid.across = int((grid.width + grid.mcuWidth - 1) / grid.mcuWidth);
        grid.down = int((grid.height + grid.mcuHeight - 1) / grid.mcuHeight);
        const std::optional<McuRect> touched = grid.Covering(area);
        if (!touched)
            return kOutside;
        const std::vector<Sampling> frame = FrameSampling(info);
        const McuRect around = grid.Grown(*touched);
        RegionBlocks blocks = MakeRegionBlocks(around, frame);

        std::optional<ScanSplicer> splicer;
        if (std::optional<ScanLayout> layout = SpliceableLayout(info, grid, dataStart))
            splicer = ScanSplicer::Make(bytes, std::move(*layout));
        jvirt_barray_ptr* arrays = nullptr;
        const auto readAll = [&]() -> Result<void> {
            splicer.reset();
            Result<jvirt_barray_ptr*> read = ReadAllBlocks(file);
            if (!read)
                return read.failure();
            arrays = *read;
            return {};
        };
        if (!splicer || !splicer->ReadBlocks(blocks, *touched)) {
            if (Result<void> read = readAll(); !read)
                return read.failure();
            if (!CopyBlocks(j_common_ptr(&file.info), file.error, arrays, frame, blocks, {}, false))
                return file.Why("cannot read the blocks", "ブロックを読めません");
        }

        const PixelRect region = grid.Pixels(*touched);
        std::vector<std::uint8_t> buffer(std::size_t(region.width * region.height * 4));
        CodecSurface pixels{buffer.data(), std::int32_t(region.width), std::int32_t(region.height),
                            std::int32_t(region.width * 4), 0};
        if (Result<void> decoded = DecodeRegion(file, blocks, grid.Pixels(around), region, pixels); !decoded)
            return decoded.failure();
        if (Result<void> composed = compose(region, pixels); !composed)
            return composed.failure();
        RegionBlocks stamped = MakeRegionBlocks(*touched, frame);
        if (Result<void> encoded = EncodeRegion(file, pixels, stamped); !encoded)
            return encoded.failure();

        if (splicer) {
            if (std::optional<SplicedScan> spliced = splicer->Splice(stamped))
                return StampedJpeg{{bytes.begin(), bytes.begin() + std::ptrdiff_t(dataStart)},
                                   bytes.subspan(dataStart, spliced->keptUpTo - dataStart),
                                   std::move(spliced->rewritten),
                                   bytes.subspan(spliced->keptFrom)};
            // Tables fitted to the picture may lack a code the new blocks need: every block
            // is coded again, with the file's tables widened by those codes.
            if (std::optional<RetabledScan> retabled = splicer->Retable(stamped))
                if (auto head = WithHuffmanTables(bytes.first(dataStart), retabled->tables))
                    return StampedJpeg{std::move(*head), {}, std::move(retabled->scan.rewritten),
                                       bytes.subspan(retabled->scan.keptFrom)};
            if (Result<void> read = readAll(); !read)
                return read.failure();
        }
        if (!CopyBlocks(j_common_ptr(&file.info), file.error, arrays, frame, stamped, {}, true))
            return file.Why("cannot write the blocks", "ブロックを書けません");
        Result<std::vector<std::uint8_t>> written = WriteAllBlocks(file, arrays, bytes.size());
        if (!written)
            return written.failure();
        return StampedJpeg{std::move(*written), {}, {}, {}};
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
}
