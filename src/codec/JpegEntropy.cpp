#include "codec/JpegEntropy.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <cstdlib>
#include <utility>

namespace {
// Natural-order index of the k-th coefficient in zigzag order.
constexpr std::array<std::uint8_t, 64> kNaturalOrder = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

constexpr int kEndOfBlock = 0x00;

// A coefficient of `size` bits as the data holds it: the value, or its complement's low bits.
int Extend(std::uint32_t bits, int size)
{
    return bits < (1u << (size - 1)) ? int(bits) - (1 << size) + 1 : int(bits);
}

int SizeOf(int value)
{
    return std::bit_width(unsigned(std::abs(value)));
}

// Calls `code(ac, symbol, bits, size)` for each code of `block` after the block whose DC
// coefficient was `dc`, in the data's order, the value's `size` low bits with it; stops at
// the first it refuses. `zeroRuns` sixteen-zero runs go before the end of block. Baseline
// data holds DC differences of at most 11 bits and AC coefficients of at most 10: false
// for more.
template <class Code>
bool BlockSymbols(const CoefficientBlock& block, int dc, int zeroRuns, Code&& code)
{
    const auto bitsOf = [](int value, int size) { return std::uint32_t(value < 0 ? value - 1 : value) & ((1u << size) - 1); };
    const int difference = block[0] - dc, dcSize = SizeOf(difference);
    if (dcSize > 11 || !code(false, dcSize, bitsOf(difference, dcSize), dcSize))
        return false;
    int run = 0;
    for (int k = 1; k < 64; ++k) {
        const int value = block[kNaturalOrder[k]];
        if (value == 0) {
            ++run;
            continue;
        }
        for (; run > 15; run -= 16)
            if (!code(true, kZeroRun, 0, 0))
                return false;
        const int size = SizeOf(value);
        if (size > 10 || !code(true, run << 4 | size, bitsOf(value, size), size))
            return false;
        run = 0;
    }
    for (int i = 0; i < zeroRuns; ++i)
        if (!code(true, kZeroRun, 0, 0))
            return false;
    return run == 0 || code(true, kEndOfBlock, 0, 0);
}
} // namespace

BitReader::BitReader(std::span<const std::uint8_t> file, BitPosition start)
    : file_(file), next_(start.byte)
{
    Fill();
    Skip(start.bit);
}

void BitReader::Fill()
{
    // Most of the data holds no 0xFF: then the bytes are taken seven at a time.
    if (!atEnd_ && count_ <= 56 && next_ + 8 <= file_.size()) {
        std::uint64_t word;
        std::memcpy(&word, file_.data() + next_, 8);
        const std::uint64_t inverted = ~word;
        if (((inverted - 0x0101010101010101u) & word & 0x8080808080808080u) == 0) {
            const int bytes = std::min((64 - count_) / 8, 7);
            word = __builtin_bswap64(word);
            buffer_ = buffer_ << (bytes * 8) | word >> (64 - bytes * 8);
            count_ += bytes * 8;
            next_ += std::size_t(bytes);
        }
    }
    while (count_ <= 56) {
        std::uint8_t byte = 0;
        if (!atEnd_ && next_ < file_.size()) {
            byte = file_[next_];
            if (byte != 0xFF)
                ++next_;
            else if (next_ + 1 < file_.size() && file_[next_ + 1] == 0)
                next_ += 2;
            else
                atEnd_ = true;
        } else {
            atEnd_ = true;
        }
        if (atEnd_) {
            byte = 0;
            padding_ += 8;
        }
        buffer_ = buffer_ << 8 | byte;
        count_ += 8;
    }
}

BitPosition BitReader::Position() const
{
    const int unread = count_ - padding_;
    std::size_t byte = next_;
    for (int i = 0; i < (unread + 7) / 8; ++i) {
        --byte;
        if (file_[byte] == 0 && byte > 0 && file_[byte - 1] == 0xFF)
            --byte;
    }
    return {byte, (8 - unread % 8) % 8};
}

std::size_t BitReader::NextWholeByte() const
{
    const BitPosition at = Position();
    if (at.bit == 0)
        return at.byte;
    return at.byte + (file_[at.byte] == 0xFF ? 2 : 1);
}

bool BitReader::PassRestart(int n)
{
    std::size_t at = NextWholeByte();
    if (at + 1 >= file_.size() || file_[at] != 0xFF)
        return false;
    while (at + 1 < file_.size() && file_[at + 1] == 0xFF)   // fill bytes before the marker
        ++at;
    if (at + 1 >= file_.size() || file_[at + 1] != 0xD0 + n)
        return false;
    next_ = at + 2;
    buffer_ = 0;
    count_ = padding_ = 0;
    atEnd_ = false;
    Fill();
    return true;
}

std::size_t DataBytes(std::span<const std::uint8_t> data)
{
    std::size_t bytes = data.size();
    for (std::size_t at = 0; at < data.size(); ++at) {
        const void* found = std::memchr(data.data() + at, 0xFF, data.size() - at);
        if (!found)
            break;
        at = std::size_t(static_cast<const std::uint8_t*>(found) - data.data());
        if (at + 1 < data.size() && data[at + 1] == 0x00) {
            --bytes;
            ++at;
        }
    }
    return bytes;
}

void CopyBits(BitReader& reader, std::uint64_t bits, BitWriter& writer)
{
    for (; bits >= 32; bits -= 32)
        writer.Write(reader.ReadWide(32), 32);
    if (bits > 0)
        writer.Write(reader.ReadWide(int(bits)), int(bits));
}

HuffmanCode::HuffmanCode(const HuffmanTable& table)
{
    int code = 0, index = 0;
    for (int length = 1; length <= 16; ++length) {
        offset_[length] = index - code;
        for (int i = 0; i < table.bits[length]; ++i, ++code, ++index) {
            if (index >= 256) {
                valid_ = false;
                return;
            }
            const std::uint8_t symbol = table.symbols[index];
            symbols_[index] = symbol;
            code_[symbol] = std::uint16_t(code);
            length_[symbol] = std::uint8_t(length);
            if (length <= kFastBits)
                for (int low = 0; low < 1 << (kFastBits - length); ++low)
                    fast_[(code << (kFastBits - length)) | low] = std::uint16_t(length << 8 | symbol);
        }
        // No code may consist of one bits alone.
        if (code >= (1 << length) && table.bits[length] > 0) {
            valid_ = false;
            return;
        }
        last_[length] = table.bits[length] > 0 ? code - 1 : -1;
        code <<= 1;
    }
    pass_ = MakePass(nullptr);
}

PassTable HuffmanCode::MakePass(const HuffmanCode* other) const
{
    PassTable pass{};
    for (std::uint32_t bits = 0; bits < pass.size(); ++bits) {
        int taken = 0, moved = 0;
        std::uint16_t flags = 0;
        while (flags == 0) {
            const int left = kPassBits - taken;
            const auto [symbol, length] = Lookup(bits & ((1u << left) - 1), left);
            const int run = symbol >> 4, size = symbol & 15;
            if (symbol < 0 || size > 10 || taken + length + size > kPassBits)
                break;
            // The code as it stands in the bits: a table may give a symbol two codes.
            const std::uint32_t code = (bits >> (left - length)) & ((1u << length) - 1);
            if (other && (other->length_[symbol] != length || other->code_[symbol] != code))
                break;
            if (size == 0 && run == 15) {   // alone, as it needs no room in the block
                if (taken == 0) {
                    taken = length;
                    moved = 16;
                    flags = kZeros;
                }
                break;
            }
            taken += length + size;
            if (size == 0)
                flags = kEnds;
            else
                moved += run + 1;
        }
        if (taken > 0)
            pass[bits] = std::uint16_t(taken | moved << 4 | flags);
    }
    return pass;
}

std::pair<int, int> HuffmanCode::Lookup(std::uint32_t bits, int count) const
{
    for (int length = 1; length <= std::min(count, 16); ++length) {
        const int code = int(bits >> (count - length));
        if (code <= last_[length])
            return {symbols_[std::size_t(code + offset_[length])], length};
    }
    return {-1, 0};
}

int HuffmanCode::Decode(BitReader& reader) const
{
    const auto [symbol, length] = Symbol(reader.Peek(16));
    reader.Skip(length);
    return symbol;
}

template <class Code, class Copy>
bool BitReader::ReadCodes(const HuffmanCode& dcCode, const HuffmanCode& acCode, int& dc, Code&& code,
                          const PassTable& copied, Copy&& copy)
{
    const int dcSize = dcCode.Decode(*this);
    if (dcSize < 0 || dcSize > 11)
        return false;
    const std::uint32_t dcBits = dcSize == 0 ? 0 : Read(dcSize);
    dc += dcSize == 0 ? 0 : Extend(dcBits, dcSize);
    if (dc < -32768 || dc > 32767 || !code(dcSize, dcBits, 0))
        return false;
    // The bits not taken, the oldest highest, and their count, held apart from the
    // reader's own fields: the codes are looked up by the top bits alone, which keeps the
    // chain from one lookup to the next short, and a byte written by `code` or `copy`
    // cannot change them as far as the compiler knows.
    int count = count_;
    std::uint64_t window = count > 0 ? buffer_ << (64 - count) : 0;
    for (int k = 1; k < 64;) {
        if (count < 32) {   // room for a code and its value
            count_ = count;
            Fill();
            count = count_;
            window = buffer_ << (64 - count);
        }
        const HuffmanCode::Passed pass = HuffmanCode::Passing(copied, std::uint32_t(window >> 48));
        // Sixteen zeros may run past the block's end; coefficients must fall within it,
        // and an end counts only before its last place.
        if (pass.taken > 0 && (pass.zeros || k + pass.moved < 64 || (!pass.ends && k + pass.moved == 64))) {
            copy(std::uint32_t(window >> (64 - pass.taken)), pass.taken);
            window <<= pass.taken;
            count -= pass.taken;
            if (pass.ends)
                break;
            k += pass.moved;
            continue;
        }
        // One code at a time, as a decoder takes it.
        const auto [symbol, length] = acCode.Symbol(std::uint32_t(window >> 48));
        const int run = symbol >> 4, size = symbol & 15;
        if (symbol < 0 || (size > 0 && (k + run > 63 || size > 10)))
            return false;
        const std::uint32_t bits = size == 0 ? 0 : std::uint32_t((window << length) >> (64 - size));
        window <<= length + size;
        count -= length + size;
        if (!code(symbol, bits, size == 0 ? k : k + run))
            return false;
        if (size == 0 && run != 15)
            break;
        k += size == 0 ? 16 : run + 1;
    }
    count_ = count;
    return !Overran();
}

bool DecodeBlock(BitReader& reader, const HuffmanCode& dcCode, const HuffmanCode& acCode,
                 int& dc, CoefficientBlock* block)
{
    const auto skip = [](std::uint32_t, int) {};
    if (!block)
        return reader.ReadCodes(dcCode, acCode, dc, [](int, std::uint32_t, int) { return true; }, acCode.Passes(), skip);
    block->fill(0);
    // Every AC code goes one at a time, to place its value: no pattern of the empty table passes.
    static const PassTable none{};
    return reader.ReadCodes(
        dcCode, acCode, dc,
        [&](int symbol, std::uint32_t bits, int k) {
            if (k == 0)
                (*block)[0] = std::int16_t(dc);
            else if (const int size = symbol & 15; size > 0)
                (*block)[kNaturalOrder[k]] = std::int16_t(Extend(bits, size));
            return true;
        },
        none, skip);
}

bool TranscodeBlock(BitReader& reader, BitWriter& writer, const Recoding& recoding, int& dc)
{
    // The writer's pending bits, held here for the same reason as the reader's.
    std::uint64_t pending = writer.buffer_;
    int written = writer.count_;
    const auto write = [&](std::uint64_t bits, int count) {
        pending = pending << count | bits;
        written += count;
        if (written >= 32) {
            writer.buffer_ = pending;
            writer.count_ = written;
            writer.PutWord();
            pending = writer.buffer_;
            written = writer.count_;
        }
    };
    const bool read = reader.ReadCodes(
        recoding.dcIn, recoding.acIn, dc,
        [&](int symbol, std::uint32_t bits, int k) {
            const HuffmanCode& out = k == 0 ? recoding.dcOut : recoding.acOut;
            const int length = out.Length(symbol), size = k == 0 ? symbol : symbol & 15;
            if (length > 0)
                write(std::uint64_t{out.Code(symbol)} << size | bits, length + size);
            return length > 0;
        },
        recoding.unchanged, write);
    writer.buffer_ = pending;
    writer.count_ = written;
    return read;
}

int ZeroRunRoom(const CoefficientBlock& block)
{
    int last = 63;
    while (last > 0 && block[kNaturalOrder[last]] == 0)
        --last;
    // After the runs the end of block must still stand at a coefficient of the block.
    return (62 - last) / 16;
}

bool EncodeBlock(BitWriter& writer, const HuffmanCode& dcCode, const HuffmanCode& acCode,
                 int& dc, const CoefficientBlock& block, int zeroRuns)
{
    const int previous = std::exchange(dc, block[0]);
    return BlockSymbols(block, previous, zeroRuns, [&](bool ac, int symbol, std::uint32_t bits, int size) {
        return (ac ? acCode : dcCode).Encode(writer, symbol, bits, size);
    });
}

void NoteAcSymbols(const CoefficientBlock& block, std::array<bool, 256>& used)
{
    BlockSymbols(block, block[0], 0, [&](bool ac, int symbol, std::uint32_t, int) {
        if (ac)
            used[std::size_t(symbol)] = true;
        return true;
    });
}
