#pragma once
// Rewriting the scan of a sequential Huffman-coded JPEG file where a rectangle of MCUs
// changes. The data before the rectangle is copied byte for byte; the rectangle's MCUs are
// encoded with the file's own tables, and so is the MCU after each of its rows, whose DC
// coefficients are coded as differences from the row's last; the MCUs between the rows
// keep their bits, shifted; after the rectangle the data is copied byte for byte again.
// That copy must start at the same bit of a byte as in the file, which a few extra
// sixteen-zero runs in the rewritten blocks arrange; with restart markers every interval
// starts at a byte of its own, and only the intervals that hold the rectangle are rewritten.
// Where the file's tables lack a code the new blocks need, the scan is written again whole
// with widened tables: the other blocks' codes are recoded, the bits of their values kept,
// the data before the rectangle (or the data's first half) on a thread of its own.
#include "codec/JpegTables.h"

#include <optional>

// A rectangle of MCUs, from (left, top) up to but not including (right, bottom).
struct McuRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// How many blocks of a component an MCU holds, across and down.
struct Sampling {
    int h = 1, v = 1;
};

// The blocks of one component over a rectangle of MCUs, row by row.
struct BlockGrid {
    int width = 0, height = 0;
    std::vector<CoefficientBlock> blocks;

    CoefficientBlock& At(int x, int y) { return blocks[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    const CoefficientBlock& At(int x, int y) const
    {
        return blocks[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
};

// The blocks of every component of a frame over a rectangle of MCUs, in the frame's order.
struct RegionBlocks {
    McuRect mcus;
    std::vector<BlockGrid> components;
};
RegionBlocks MakeRegionBlocks(const McuRect& mcus, const std::vector<Sampling>& frame);

struct ScanComponent {
    int frameIndex = 0;           // its place in the frame header
    Sampling sampling;
    int dcTable = 0, acTable = 0;
};

// What the splice needs of a file whose one scan holds every component.
struct ScanLayout {
    int mcusAcross = 0, mcusDown = 0;
    std::vector<ScanComponent> components;           // in the scan's order
    std::array<std::optional<HuffmanTable>, 4> dcTables, acTables;
    int restartInterval = 0;                         // MCUs; 0: no restart markers
    std::size_t dataStart = 0;                       // the scan's first byte of data
};

// A spliced scan: the file's bytes up to `keptUpTo`, then `rewritten`, then the file's
// bytes from `keptFrom` to its end.
struct SplicedScan {
    std::size_t keptUpTo = 0;
    std::vector<std::uint8_t> rewritten;
    std::size_t keptFrom = 0;
    int padding = 0;   // where `rewritten` ends the data: the one bits completing its last byte
};

// A scan written again whole: `scan.rewritten` replaces the file's data from `scan.keptUpTo`
// to `scan.keptFrom`, coded with `tables` in place of the file's.
struct RetabledScan {
    SplicedScan scan;
    std::vector<NamedTable> tables;
};

class ScanSplicer {
public:
    // Nothing when a table the scan uses is missing or not valid.
    static std::optional<ScanSplicer> Make(std::span<const std::uint8_t> file, ScanLayout layout);

    // Decodes the data up to the end of `region.mcus` into the region's blocks, noting where
    // `touched` (within the region) starts. False for data a decoder could only guess at.
    bool ReadBlocks(RegionBlocks& region, const McuRect& touched);
    // The file with the MCUs of `replaced.mcus`, those `touched` of ReadBlocks, holding its
    // blocks and every other block as it was. Nothing when the file's tables lack a code the
    // new blocks need, or the copy after them cannot be brought to its bit.
    std::optional<SplicedScan> Splice(const RegionBlocks& replaced);
    // The same blocks, every one coded again with the file's tables widened by the codes
    // the new blocks need. Nothing for data a decoder could only guess at.
    std::optional<RetabledScan> Retable(const RegionBlocks& replaced);

private:
    ScanSplicer(std::span<const std::uint8_t> file, ScanLayout layout);

    struct Resume {
        BitPosition position;
        std::vector<int> dc;
        int mcu = 0;
    };
    // Where writing starts: the rectangle's first row, or the start of its restart interval.
    // Writing `whole`, the data before is recoded apart: from the data's middle when that
    // comes first, and from the data's start when little comes before.
    Resume RewriteStart(bool whole);
    // Copies the data from the reader's position up to `to` into `writer`, bit for bit.
    void CopyUpTo(BitReader& reader, const BitPosition& to, BitWriter& writer) const;
    // Passes the restart marker before MCU `m` and writes it after the data written.
    bool PassRestart(BitReader& reader, BitWriter& writer, int m) const;
    void WriteRestart(BitWriter& writer, int m) const;
    // Writes MCUs `from` up to `to` again with the codes of `recodings`, their coefficients
    // kept; `dc` holds each component's last DC coefficient.
    bool Recode(BitReader& reader, BitWriter& writer, int from, int to, std::vector<int>& dc,
                const std::vector<Recoding>& recodings) const;
    // Each block written again, with the table that codes its AC coefficients and how many
    // sixteen-zero runs it can take.
    struct Host {
        int acTable = 0;
        int room = 0;
    };
    enum class Emitted { Done, Failed, OffBy };
    // Writes with the file's own codes; with `whole`, per scan component, every block again
    // from RewriteStart on to the data's end with the codes it recodes to.
    Emitted Emit(const RegionBlocks& replaced, const std::vector<int>& zeroRuns, const std::vector<Recoding>* whole,
                 SplicedScan& out, std::vector<Host>& hosts, int& missingBits);
    bool DecodeMcu(BitReader& reader, std::vector<int>& dc, std::vector<CoefficientBlock>* mcu) const;
    // The first byte of restart interval `index`.
    std::optional<std::size_t> IntervalStart(int index);

    std::span<const std::uint8_t> file_;
    ScanLayout layout_;
    std::vector<HuffmanCode> dcCodes_, acCodes_;     // per scan component
    int blocksPerMcu_ = 0;
    // Where each row of the touched MCUs starts in the data, top to bottom.
    std::vector<Resume> rowStarts_;
    std::optional<Resume> halfway_;   // where the data's middle MCU starts, when passed
    std::vector<std::size_t> intervalStarts_;
};
