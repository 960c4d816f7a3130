#include "codec/JpegEntropy.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <cstdlib>

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

// Baseline data holds DC differences of at most 11 bits and AC coefficients of at most 10.
bool WriteValue(BitWriter& writer, const HuffmanCode& code, int run, int value, int largest)
{
    const int size = SizeOf(value);
    if (size > largest || !code.Encode(writer, run << 4 | size))
        return false;
    if (size > 0)
        writer.Write(std::uint32_t(value < 0 ? value - 1 : value) & ((1u << size) - 1), size);
    return true;
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
    for (std::uint32_t bits = 0; bits < pass_.size(); ++bits) {
        int taken = 0, moved = 0;
        std::uint16_t flags = 0;
        while (flags == 0) {
            const int left = kPassBits - taken;
            const auto [symbol, length] = Lookup(bits & ((1u << left) - 1), left);
            const int run = symbol >> 4, size = symbol & 15;
            if (symbol < 0 || size > 10 || taken + length + size > kPassBits)
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
            pass_[bits] = std::uint16_t(taken | moved << 4 | flags);
    }
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
    const std::uint32_t bits = reader.Peek(16);
    if (const std::uint16_t entry = fast_[bits >> (16 - kFastBits)]; entry != 0) {
        reader.Skip(entry >> 8);
        return entry & 0xFF;
    }
    for (int length = kFastBits + 1; length <= 16; ++length) {
        const int code = int(bits >> (16 - length));
        if (code <= last_[length]) {
            reader.Skip(length);
            return symbols_[code + offset_[length]];
        }
    }
    return -1;
}

bool BitReader::PassCoefficients(const HuffmanCode& code)
{
    // The bits not taken, the oldest highest, and their count, held apart from the
    // reader's own fields: the codes are looked up by the top bits alone, which keeps the
    // chain from one lookup to the next short.
    if (count_ < HuffmanCode::kPassBits)
        Fill();
    int count = count_;
    std::uint64_t window = buffer_ << (64 - count);
    const auto reload = [&] {
        count = count_;
        window = count > 0 ? buffer_ << (64 - count) : 0;
    };
    for (int k = 1; k < 64;) {
        if (count < HuffmanCode::kPassBits) {
            count_ = count;
            Fill();
            reload();
        }
        const HuffmanCode::Passed pass = code.Pass(std::uint32_t(window >> 48));
        // Sixteen zeros may run past the block's end; coefficients must fall within it,
        // and an end counts only before its last place.
        if (pass.taken > 0 && (pass.zeros || k + pass.moved < 64 || (!pass.ends && k + pass.moved == 64))) {
            window <<= pass.taken;
            count -= pass.taken;
            if (pass.ends)
                break;
            k += pass.moved;
            continue;
        }
        // One code at a time, as a decoder takes it.
        count_ = count;
        const int symbol = code.Decode(*this);
        const int run = symbol >> 4, size = symbol & 15;
        if (symbol < 0 || (size > 0 && (k + run > 63 || size > 10)))
            return false;
        if (size == 0 && run != 15)
            return true;
        Read(size);
        reload();
        k += size == 0 ? 16 : run + 1;
    }
    count_ = count;
    return true;
}

bool DecodeBlock(BitReader& reader, const HuffmanCode& dcCode, const HuffmanCode& acCode,
                 int& dc, CoefficientBlock* block)
{
    const int dcSize = dcCode.Decode(reader);
    if (dcSize < 0 || dcSize > 11)
        return false;
    dc += dcSize == 0 ? 0 : Extend(reader.Read(dcSize), dcSize);
    if (dc < -32768 || dc > 32767)
        return false;
    if (!block)
        return reader.PassCoefficients(acCode) && !reader.Overran();
    block->fill(0);
    (*block)[0] = std::int16_t(dc);
    for (int k = 1; k < 64;) {
        const int symbol = acCode.Decode(reader);
        if (symbol < 0)
            return false;
        const int run = symbol >> 4, size = symbol & 15;
        if (size == 0) {
            if (run != 15)
                break;
            k += 16;
            continue;
        }
        k += run;
        if (k > 63 || size > 10)
            return false;
        (*block)[kNaturalOrder[k]] = std::int16_t(Extend(reader.Read(size), size));
        ++k;
    }
    return !reader.Overran();
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
    if (!WriteValue(writer, dcCode, 0, block[0] - dc, 11))
        return false;
    dc = block[0];
    int run = 0;
    for (int k = 1; k < 64; ++k) {
        const int value = block[kNaturalOrder[k]];
        if (value == 0) {
            ++run;
            continue;
        }
        for (; run > 15; run -= 16)
            if (!acCode.Encode(writer, kZeroRun))
                return false;
        if (!WriteValue(writer, acCode, run, value, 10))
            return false;
        run = 0;
    }
    for (int i = 0; i < zeroRuns; ++i)
        if (!acCode.Encode(writer, kZeroRun))
            return false;
    return run == 0 || acCode.Encode(writer, kEndOfBlock);
}
