#pragma once
// Huffman-coded JPEG data, read and written an 8 x 8 block at a time with the file's own
// tables, so that blocks can be moved without decoding a single pixel. Plain C++ on bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

// The quantised coefficients of one 8 x 8 block, in natural order (row by row).
using CoefficientBlock = std::array<std::int16_t, 64>;

// A Huffman table as a DHT segment states it: bits[l] codes of each length l (1 to 16),
// then the symbols in code order.
struct HuffmanTable {
    std::array<std::uint8_t, 17> bits{};
    std::array<std::uint8_t, 256> symbols{};
};

// Where a bit of entropy-coded data lies in the file: a byte that holds data (never the
// zero stuffed after 0xFF) and a bit in it, 0 the highest.
struct BitPosition {
    std::size_t byte = 0;
    int bit = 0;
};

class HuffmanCode;

// Reads the entropy-coded data of a file from a position on. Past its end (a marker, or the
// file's end) it reads zeros, as a decoder does, and says so.
class BitReader {
public:
    BitReader(std::span<const std::uint8_t> file, BitPosition start);

    // The next `count` (1 to 16) bits, without taking them.
    std::uint32_t Peek(int count)
    {
        if (count_ < count)
            Fill();
        return std::uint32_t(buffer_ >> (count_ - count)) & ((1u << count) - 1);
    }
    void Skip(int count) { count_ -= count; }
    std::uint32_t Read(int count)
    {
        const std::uint32_t bits = Peek(count);
        Skip(count);
        return bits;
    }
    // The next `count` (1 to 56) bits, taken.
    std::uint64_t ReadWide(int count)
    {
        if (count_ < count)
            Fill();
        count_ -= count;
        return (buffer_ >> count_) & ((std::uint64_t{1} << count) - 1);
    }
    // Passes a block's AC coefficients, without their values, with the table of `code`.
    // False for data that a decoder could only guess at.
    bool PassCoefficients(const HuffmanCode& code);
    // Whether a bit beyond the data has been taken.
    bool Overran() const { return count_ < padding_; }
    // Where the next bit lies; only while nothing beyond the data has been taken.
    BitPosition Position() const;
    // At the end of a restart interval: passes the padding to the byte's end and the marker
    // RSTn that must follow (n = 0..7). False when another byte stands there.
    bool PassRestart(int n);
    // The first byte of what follows the data: the byte after the current one when a bit of
    // it has been taken, passing the zero stuffed after 0xFF.
    std::size_t NextWholeByte() const;

private:
    void Fill();

    std::span<const std::uint8_t> file_;
    std::size_t next_;           // the next byte to load
    std::uint64_t buffer_ = 0;   // the loaded bits, the oldest highest of the low count_
    int count_ = 0;              // bits loaded and not taken
    int padding_ = 0;            // of the loaded bits, the zeros past the data
    bool atEnd_ = false;         // loading has reached a marker or the file's end
};

// Writes entropy-coded data, stuffing a zero after every 0xFF byte it completes.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    // Writes the low `count` (up to 56) of `bits`.
    void Write(std::uint64_t bits, int count)
    {
        buffer_ = (buffer_ << count) | bits;
        count_ += count;
        while (count_ >= 8) {
            count_ -= 8;
            const auto byte = std::uint8_t(buffer_ >> count_);
            out_.push_back(byte);
            if (byte == 0xFF)
                out_.push_back(0);
        }
        buffer_ &= (std::uint64_t{1} << count_) - 1;
    }
    // Bits written into the byte not yet complete, 0 to 7.
    int Phase() const { return count_; }
    // Completes the byte with one bits, as the data's end and a restart marker need.
    void PadWithOnes()
    {
        if (count_ > 0)
            Write((1u << (8 - count_)) - 1, 8 - count_);
    }
    // Bytes taken as they are (markers, copied data); the writer must be at a byte's end.
    void Append(std::span<const std::uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }

private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t buffer_ = 0;
    int count_ = 0;
};

// Decoding and encoding with one table. A table that states more codes than its lengths
// allow is not valid.
class HuffmanCode {
public:
    explicit HuffmanCode(const HuffmanTable& table);
    bool Valid() const { return valid_; }
    // The next symbol, or -1 for bits that are no code of the table.
    int Decode(BitReader& reader) const;
    // The code of `symbol` into `writer`; false when the table has no code for it.
    bool Encode(BitWriter& writer, int symbol) const
    {
        if (length_[symbol] == 0)
            return false;
        writer.Write(code_[symbol], length_[symbol]);
        return true;
    }
    // The length of the code for `symbol`, 0 when it has none.
    int Length(int symbol) const { return length_[symbol]; }

    // Passing AC coefficients without their values, several codes at a time: for the next
    // kPassBits bits of data (of 16 peeked), the codes that lie whole within them, each of a
    // coefficient with its value, the last possibly the block's end; or sixteen zeros
    // alone. Nothing taken where the first code does not lie whole within them or is not
    // simple (a value of more than 10 bits, no code).
    struct Passed {
        int taken;    // bits
        int moved;    // places in the block, without the end's
        bool ends;    // the block's end is among them
        bool zeros;   // sixteen zeros
    };
    static constexpr int kPassBits = 13;
    Passed Pass(std::uint32_t peeked16) const
    {
        const std::uint16_t pass = pass_[peeked16 >> (16 - kPassBits)];
        return {pass & 15, pass >> 4 & 127, (pass & kEnds) != 0, (pass & kZeros) != 0};
    }

private:
    static constexpr int kFastBits = 9;
    bool valid_ = true;
    std::array<std::uint16_t, 1 << kFastBits> fast_{};   // length << 8 | symbol; 0: longer
    static constexpr std::uint16_t kEnds = 1 << 11, kZeros = 1 << 12;
    // The symbol whose code starts `bits` (of `count`) and its code's length; -1 when none does.
    std::pair<int, int> Lookup(std::uint32_t bits, int count) const;
    std::array<std::uint16_t, 1 << kPassBits> pass_{};
    std::array<std::int32_t, 17> last_{};                 // the last code of each length, -1: none
    std::array<std::int32_t, 17> offset_{};               // symbol index minus code
    std::array<std::uint8_t, 256> symbols_{};
    std::array<std::uint16_t, 256> code_{};
    std::array<std::uint8_t, 256> length_{};
};

// The symbol that stands for sixteen zero coefficients in a row.
inline constexpr int kZeroRun = 0xF0;

// Decodes a block into `block` (when given), after the block whose DC coefficient was
// `dc`, which it sets to this block's. False for data that a decoder could only guess at.
bool DecodeBlock(BitReader& reader, const HuffmanCode& dcCode, const HuffmanCode& acCode,
                 int& dc, CoefficientBlock* block);
// Encodes `block` after the block whose DC coefficient was `dc`, which it sets to this
// block's. `zeroRuns` extra sixteen-zero runs are written before its end of block, which
// decode to the same block and make the data that many codes longer; the block must end in
// more than 16 * zeroRuns zeros. False when the tables lack a code it needs.
bool EncodeBlock(BitWriter& writer, const HuffmanCode& dcCode, const HuffmanCode& acCode,
                 int& dc, const CoefficientBlock& block, int zeroRuns);
// How many sixteen-zero runs the block can take before its end of block.
int ZeroRunRoom(const CoefficientBlock& block);
