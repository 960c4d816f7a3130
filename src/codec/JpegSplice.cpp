#include "codec/JpegSplice.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

namespace {
constexpr int kRestartMarker = 0xD0;

// The n-th smallest choice of sixteen-zero runs per table that adds `bits` modulo 8 to
// the data, at most 7 of a table (8 add a whole number of bytes); empty when none does.
std::vector<int> RunsPerTable(const std::vector<int>& codeLength, const std::vector<int>& room, int bits)
{
    const std::size_t tables = codeLength.size();
    std::vector<int> best, counts(tables, 0);
    int bestTotal = 1 << 30;
    for (;;) {
        int added = 0, total = 0;
        for (std::size_t t = 0; t < tables; ++t) {
            added += counts[t] * codeLength[t];
            total += counts[t];
        }
        if (added % 8 == bits && total < bestTotal) {
            best = counts;
            bestTotal = total;
        }
        std::size_t t = 0;
        while (t < tables && ++counts[t] > std::min(room[t], 7))
            counts[t++] = 0;
        if (t == tables)
            return best;
    }
}
} // namespace

RegionBlocks MakeRegionBlocks(const McuRect& mcus, const std::vector<Sampling>& frame)
{
    RegionBlocks region{mcus, {}};
    for (const Sampling& sampling : frame) {
        BlockGrid grid{mcus.Width() * sampling.h, mcus.Height() * sampling.v, {}};
        grid.blocks.resize(std::size_t(grid.width) * std::size_t(grid.height));
        region.components.push_back(std::move(grid));
    }
    return region;
}

ScanSplicer::ScanSplicer(std::span<const std::uint8_t> file, ScanLayout layout)
    : file_(file), layout_(std::move(layout))
{
}

std::optional<ScanSplicer> ScanSplicer::Make(std::span<const std::uint8_t> file, ScanLayout layout)
{
    ScanSplicer splicer(file, std::move(layout));
    for (const ScanComponent& component : splicer.layout_.components) {
        const auto& dc = splicer.layout_.dcTables[std::size_t(component.dcTable)];
        const auto& ac = splicer.layout_.acTables[std::size_t(component.acTable)];
        if (!dc || !ac)
            return std::nullopt;
        splicer.dcCodes_.emplace_back(*dc);
        splicer.acCodes_.emplace_back(*ac);
        if (!splicer.dcCodes_.back().Valid() || !splicer.acCodes_.back().Valid())
            return std::nullopt;
        splicer.blocksPerMcu_ += component.sampling.h * component.sampling.v;
    }
    return splicer;
}

bool ScanSplicer::DecodeMcu(BitReader& reader, std::vector<int>& dc,
                            std::vector<CoefficientBlock>* mcu) const
{
    int block = 0;
    for (std::size_t c = 0; c < layout_.components.size(); ++c) {
        const Sampling& sampling = layout_.components[c].sampling;
        for (int i = 0; i < sampling.h * sampling.v; ++i, ++block)
            if (!DecodeBlock(reader, dcCodes_[c], acCodes_[c], dc[c], mcu ? &(*mcu)[std::size_t(block)] : nullptr))
                return false;
    }
    return true;
}

std::optional<std::size_t> ScanSplicer::IntervalStart(int index)
{
    if (intervalStarts_.empty())
        intervalStarts_.push_back(layout_.dataStart);
    std::size_t at = intervalStarts_.back();
    while (intervalStarts_.size() <= std::size_t(index)) {
        const void* found = std::memchr(file_.data() + at, 0xFF, file_.size() - at);
        if (!found)
            return std::nullopt;
        at = std::size_t(static_cast<const std::uint8_t*>(found) - file_.data());
        if (at + 1 >= file_.size())
            return std::nullopt;
        const int next = file_[at + 1];
        if (next == 0x00 || next == 0xFF) {   // a stuffed zero, or fill before a marker
            at += next == 0 ? 2 : 1;
            continue;
        }
        if (next != kRestartMarker + int((intervalStarts_.size() - 1) % 8))
            return std::nullopt;
        at += 2;
        intervalStarts_.push_back(at);
    }
    return intervalStarts_[std::size_t(index)];
}

bool ScanSplicer::ReadBlocks(RegionBlocks& region, const McuRect& touched)
{
    const int across = layout_.mcusAcross, interval = layout_.restartInterval;
    const McuRect& mcus = region.mcus;
    rowStarts_.clear();
    const int first = mcus.top * across + mcus.left, last = (mcus.bottom - 1) * across + mcus.right - 1;
    int start = 0;
    BitPosition position{layout_.dataStart, 0};
    if (interval > 0) {
        start = first / interval * interval;
        const auto byte = IntervalStart(first / interval);
        if (!byte)
            return false;
        position = {*byte, 0};
    }
    // The middle of the data, where writing it again whole can be split across threads.
    halfway_.reset();
    const int halfway = interval > 0 ? across * layout_.mcusDown / 2 / interval * interval
                                     : across * layout_.mcusDown / 2;
    if (interval > 0 && halfway < start)
        if (const auto byte = IntervalStart(halfway / interval))
            halfway_ = Resume{{*byte, 0}, std::vector<int>(layout_.components.size(), 0), halfway};
    BitReader reader(file_, position);
    std::vector<int> dc(layout_.components.size(), 0);
    std::vector<CoefficientBlock> mcu(static_cast<std::size_t>(blocksPerMcu_));
    for (int m = start; m <= last; ++m) {
        if (interval > 0 && m % interval == 0 && m != start) {
            if (!reader.PassRestart((m / interval - 1) % 8))
                return false;
            std::fill(dc.begin(), dc.end(), 0);
        }
        const int x = m % across, y = m / across;
        if (x == touched.left && touched.Contains(x, y))
            rowStarts_.push_back({reader.Position(), dc, m});
        if (interval == 0 && m == halfway)
            halfway_ = Resume{reader.Position(), dc, m};
        const bool inside = mcus.Contains(x, y);
        if (!DecodeMcu(reader, dc, inside ? &mcu : nullptr))
            return false;
        if (!inside)
            continue;
        int block = 0;
        for (const ScanComponent& component : layout_.components) {
            BlockGrid& grid = region.components[std::size_t(component.frameIndex)];
            const Sampling& s = component.sampling;
            for (int by = 0; by < s.v; ++by)
                for (int bx = 0; bx < s.h; ++bx)
                    grid.At((x - mcus.left) * s.h + bx, (y - mcus.top) * s.v + by) = mcu[std::size_t(block++)];
        }
    }
    return true;
}

ScanSplicer::Emitted ScanSplicer::Emit(const RegionBlocks& replaced, const std::vector<int>& zeroRuns,
                                       const std::vector<Recoding>* whole, SplicedScan& out,
                                       std::vector<Host>& hosts, int& missingBits)
{
    const int across = layout_.mcusAcross, total = across * layout_.mcusDown;
    const int interval = layout_.restartInterval;
    const McuRect& touched = replaced.mcus;
    const int lastTouched = (touched.bottom - 1) * across + touched.right - 1;
    const auto rest = [&](std::size_t from) {
        out.keptFrom = from;
        return Emitted::Done;
    };

    const Resume begin = RewriteStart(whole != nullptr);
    int m = begin.mcu;
    const BitPosition position = begin.position;
    std::vector<int> dcIn = begin.dc, dcOut = begin.dc;
    out.rewritten.clear();
    // About what the rewritten data takes in the file, so that the bytes are not moved as
    // they grow.
    out.rewritten.reserve((whole ? file_.size() : rowStarts_.back().position.byte) - position.byte + (1 << 16));
    BitWriter writer(out.rewritten);
    out.keptUpTo = position.byte;
    // Recoded, the bits before it in its byte are written with the data before.
    if (position.bit > 0 && !whole)
        writer.Write(file_[position.byte] >> (8 - position.bit), position.bit);
    BitReader reader(file_, position);
    std::vector<CoefficientBlock> mcu(static_cast<std::size_t>(blocksPerMcu_));
    std::size_t ordinal = 0;
    for (const int start = m;; ++m) {
        if (m == total) {
            // The marker that ends the data, and all that follows it, stay as they are.
            out.padding = writer.PadWithOnes();
            std::size_t at = reader.NextWholeByte();
            while (at < file_.size() && file_[at] != 0xFF)
                ++at;
            if (at + 1 >= file_.size() || file_[at + 1] == 0x00)
                return Emitted::Failed;
            return rest(at);
        }
        if (interval > 0 && m % interval == 0 && m != start) {
            if (!PassRestart(reader, writer, m))
                return Emitted::Failed;
            if (!whole && m > lastTouched)
                return rest(reader.Position().byte);
            std::fill(dcIn.begin(), dcIn.end(), 0);
            std::fill(dcOut.begin(), dcOut.end(), 0);
        }
        if (!whole && interval == 0 && m > lastTouched && dcIn == dcOut) {
            const BitPosition at = reader.Position();
            if (at.bit != writer.Phase()) {
                missingBits = (at.bit - writer.Phase() + 8) % 8;
                return Emitted::OffBy;
            }
            if (at.bit == 0)
                return rest(at.byte);
            writer.Write(file_[at.byte] & ((1u << (8 - at.bit)) - 1), 8 - at.bit);
            return rest(reader.NextWholeByte());
        }
        const int x = m % across, y = m / across;
        if (!whole && interval == 0 && !touched.Contains(x, y) && dcIn == dcOut) {
            // Up to the next row of the rectangle every block keeps its code.
            const auto next = std::find_if(rowStarts_.begin(), rowStarts_.end(),
                                           [m](const Resume& row) { return row.mcu > m; });
            CopyUpTo(reader, next->position, writer);
            reader = BitReader(file_, next->position);
            dcIn = dcOut = next->dc;
            m = next->mcu - 1;
            continue;
        }
        if (whole && !touched.Contains(x, y) && dcIn == dcOut) {
            if (!Recode(reader, writer, m, m + 1, dcIn, *whole))
                return Emitted::Failed;
            dcOut = dcIn;
            continue;
        }
        if (!DecodeMcu(reader, dcIn, &mcu))
            return Emitted::Failed;
        int block = 0;
        for (std::size_t c = 0; c < layout_.components.size(); ++c) {
            const ScanComponent& component = layout_.components[c];
            const Sampling& s = component.sampling;
            for (int by = 0; by < s.v; ++by) {
                for (int bx = 0; bx < s.h; ++bx, ++block) {
                    const CoefficientBlock& coefficients =
                        touched.Contains(x, y)
                            ? replaced.components[std::size_t(component.frameIndex)].At(
                                  (x - touched.left) * s.h + bx, (y - touched.top) * s.v + by)
                            : mcu[std::size_t(block)];
                    if (!whole)
                        hosts.push_back({component.acTable, ZeroRunRoom(coefficients)});
                    const int runs = ordinal < zeroRuns.size() ? zeroRuns[ordinal] : 0;
                    ++ordinal;
                    const HuffmanCode& dcCode = whole ? (*whole)[c].dcOut : dcCodes_[c];
                    const HuffmanCode& acCode = whole ? (*whole)[c].acOut : acCodes_[c];
                    if (!EncodeBlock(writer, dcCode, acCode, dcOut[c], coefficients, runs))
                        return Emitted::Failed;
                }
            }
        }
    }
}

ScanSplicer::Resume ScanSplicer::RewriteStart(bool whole)
{
    Resume start = rowStarts_.front();
    if (const int interval = layout_.restartInterval; interval > 0) {
        start.mcu = start.mcu / interval * interval;
        start.position = {*IntervalStart(start.mcu / interval), 0};
        std::fill(start.dc.begin(), start.dc.end(), 0);
    }
    if (!whole)
        return start;
    if (halfway_ && halfway_->mcu < start.mcu)
        return *halfway_;
    // With little data before, recoding it apart would not pay for joining the rest to it.
    if (start.mcu < layout_.mcusAcross * layout_.mcusDown / 8)
        return {{layout_.dataStart, 0}, std::vector<int>(start.dc.size(), 0), 0};
    return start;
}

void ScanSplicer::CopyUpTo(BitReader& reader, const BitPosition& to, BitWriter& writer) const
{
    const BitPosition from = reader.Position();
    const std::size_t bytes = DataBytes(file_.subspan(from.byte, to.byte - from.byte));
    CopyBits(reader, bytes * 8 + std::size_t(to.bit) - std::size_t(from.bit), writer);
}

bool ScanSplicer::PassRestart(BitReader& reader, BitWriter& writer, int m) const
{
    if (!reader.PassRestart((m / layout_.restartInterval - 1) % 8))
        return false;
    WriteRestart(writer, m);
    return true;
}

void ScanSplicer::WriteRestart(BitWriter& writer, int m) const
{
    writer.PadWithOnes();
    const std::uint8_t marker[2] = {0xFF, std::uint8_t(kRestartMarker + (m / layout_.restartInterval - 1) % 8)};
    writer.Append(marker);
}

bool ScanSplicer::Recode(BitReader& reader, BitWriter& writer, int from, int to, std::vector<int>& dc,
                         const std::vector<Recoding>& recodings) const
{
    const int interval = layout_.restartInterval;
    for (int m = from; m < to; ++m) {
        if (interval > 0 && m % interval == 0 && m != from) {
            if (!PassRestart(reader, writer, m))
                return false;
            std::fill(dc.begin(), dc.end(), 0);
        }
        // A block that keeps its coefficients keeps its codes' values; only the codes change.
        for (std::size_t c = 0; c < layout_.components.size(); ++c) {
            const Sampling& s = layout_.components[c].sampling;
            for (int i = 0; i < s.h * s.v; ++i)
                if (!TranscodeBlock(reader, writer, recodings[c], dc[c]))
                    return false;
        }
    }
    return true;
}

std::optional<SplicedScan> ScanSplicer::Splice(const RegionBlocks& replaced)
{
    SplicedScan out;
    std::vector<Host> hosts;
    int missingBits = 0;
    const Emitted first = Emit(replaced, {}, nullptr, out, hosts, missingBits);
    if (first == Emitted::Done)
        return out;
    if (first == Emitted::Failed)
        return std::nullopt;
    // Sixteen-zero runs are added where the blocks have room, few enough to keep each
    // table's share below eight (eight runs of one table add whole bytes).
    std::vector<int> codeLength(4, 0), room(4, 0);
    for (std::size_t c = 0; c < layout_.components.size(); ++c)
        codeLength[std::size_t(layout_.components[c].acTable)] = acCodes_[c].Length(kZeroRun);
    for (const Host& host : hosts)
        if (codeLength[std::size_t(host.acTable)] > 0)
            room[std::size_t(host.acTable)] += host.room;
    std::vector<int> left = RunsPerTable(codeLength, room, missingBits);
    if (left.empty())
        return std::nullopt;
    std::vector<int> zeroRuns(hosts.size(), 0);
    for (std::size_t i = 0; i < hosts.size(); ++i) {
        int& wanted = left[std::size_t(hosts[i].acTable)];
        zeroRuns[i] = std::min(wanted, codeLength[std::size_t(hosts[i].acTable)] > 0 ? hosts[i].room : 0);
        wanted -= zeroRuns[i];
    }
    hosts.clear();
    if (Emit(replaced, zeroRuns, nullptr, out, hosts, missingBits) != Emitted::Done)
        return std::nullopt;
    return out;
}

std::optional<RetabledScan> ScanSplicer::Retable(const RegionBlocks& replaced)
{
    // Any DC difference may follow a new block; AC codes are new in the new blocks alone.
    std::array<bool, 256> everyDcSize{};
    std::fill(everyDcSize.begin(), everyDcSize.begin() + 12, true);
    std::array<std::array<bool, 256>, 4> acUsed{};
    for (const ScanComponent& component : layout_.components)
        for (const CoefficientBlock& block : replaced.components[std::size_t(component.frameIndex)].blocks)
            NoteAcSymbols(block, acUsed[std::size_t(component.acTable)]);
    RetabledScan retabled;
    std::array<std::optional<HuffmanTable>, 4> dcTables, acTables;
    for (const ScanComponent& component : layout_.components) {
        const auto dc = std::size_t(component.dcTable), ac = std::size_t(component.acTable);
        if (!dcTables[dc]) {
            dcTables[dc] = WidenedTable(*layout_.dcTables[dc], everyDcSize);
            retabled.tables.push_back({0, int(dc), *dcTables[dc]});
        }
        if (!acTables[ac]) {
            acTables[ac] = WidenedTable(*layout_.acTables[ac], acUsed[ac]);
            retabled.tables.push_back({1, int(ac), *acTables[ac]});
        }
    }
    std::vector<HuffmanCode> dcCodes, acCodes;
    for (const ScanComponent& component : layout_.components) {
        dcCodes.emplace_back(*dcTables[std::size_t(component.dcTable)]);
        acCodes.emplace_back(*acTables[std::size_t(component.acTable)]);
        if (!dcCodes.back().Valid() || !acCodes.back().Valid())
            return std::nullopt;
    }
    std::vector<Recoding> recodings;
    for (std::size_t c = 0; c < layout_.components.size(); ++c)
        recodings.push_back({dcCodes_[c], acCodes_[c], dcCodes[c], acCodes[c], acCodes_[c].SharedPass(acCodes[c])});
    const int interval = layout_.restartInterval, split = RewriteStart(true).mcu;
    std::vector<Host> hosts;
    int missingBits = 0;
    if (split == 0) {
        if (Emit(replaced, {}, &recodings, retabled.scan, hosts, missingBits) != Emitted::Done)
            return std::nullopt;
        return retabled;
    }
    // The data before the split is recoded on a thread of its own while this one writes the
    // rest; the rest's bits then follow it.
    std::vector<std::uint8_t> data;
    data.reserve(file_.size() - layout_.dataStart + (1 << 16));
    std::optional<BitWriter> before(std::in_place, data);
    bool recoded = false;
    const auto recodeBefore = [&] {
        try {
            BitReader reader(file_, {layout_.dataStart, 0});
            std::vector<int> dc(layout_.components.size(), 0);
            recoded = Recode(reader, *before, 0, split, dc, recodings);
        } catch (const std::bad_alloc&) {
        }
    };
    {
        std::jthread helper;
        try {
            helper = std::jthread(recodeBefore);
        } catch (const std::system_error&) {
            recodeBefore();
        }
        const Emitted rest = Emit(replaced, {}, &recodings, retabled.scan, hosts, missingBits);
        if (helper.joinable())
            helper.join();
        if (rest != Emitted::Done || !recoded)
            return std::nullopt;
    }
    const std::vector<std::uint8_t>& after = retabled.scan.rewritten;
    if (interval > 0) {
        WriteRestart(*before, split);
        before->Append(after);
    } else {
        BitReader reader(after, {0, 0});
        CopyBits(reader, DataBytes(after) * 8 - std::uint64_t(retabled.scan.padding), *before);
        before->PadWithOnes();
    }
    before.reset();   // the data complete
    retabled.scan = {layout_.dataStart, std::move(data), retabled.scan.keptFrom, 0};
    return retabled;
}
