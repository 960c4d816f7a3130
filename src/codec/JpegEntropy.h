#pragma once
// Huffman-coded JPEG data, read and written an 8 x 8 block at a time with the file's own
// tables, so that blocks can be moved without decoding a single pixel. Plain C++ on bytes.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

// Codes are passed several at a time by looking the next kPassBits bits up in a table of
// every pattern they can hold (HuffmanCode::Passing).
inline constexpr int kPassBits = 13;
using PassTable = std::array<std::uint16_t, 1 << kPassBits>;

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
    // Reads the codes of one block with the tables `dcCode` and `acCode`, after the block
    // whose DC coefficient was `dc`, which it sets to this block's. Gives
    // `code(symbol, bits, k)` each code with the bits of its value, `k` the zigzag place of
    // its coefficient (0: the DC difference), and stops at the first it refuses. False for
    // data that a decoder could only guess at. Defined beside DecodeBlock and TranscodeBlock.
    // The AC codes that `copied` passes are taken several at a time where they can be, and
    // given to `copy(bits, count)` instead, as they stand in the data.
    template <class Code, class Copy>
    bool ReadCodes(const HuffmanCode& dcCode, const HuffmanCode& acCode, int& dc, Code&& code,
                   const PassTable& copied, Copy&& copy);
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

// Writes entropy-coded data, stuffing a zero after every 0xFF byte it completes. While it
// writes, the vector holds room beyond the bytes written; at the writer's end it holds
// every complete byte and no more.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out), used_(out.size()) {}
    ~BitWriter()
    {
        Flush();
        out_.resize(used_);
    }
    BitWriter(const BitWriter&) = delete;
    BitWriter& operator=(const BitWriter&) = delete;

    // Writes the low `count` (up to 32) of `bits`.
    void Write(std::uint64_t bits, int count)
    {
        buffer_ = (buffer_ << count) | bits;
        count_ += count;
        if (count_ >= 32)
            PutWord();
    }
    // Bits written into the byte not yet complete, 0 to 7.
    int Phase() const { return count_ % 8; }
    // Completes the byte with one bits, as the data's end and a restart marker need; gives
    // how many it wrote.
    int PadWithOnes()
    {
        const int padding = (8 - Phase()) % 8;
        if (padding > 0)
            Write((1u << padding) - 1, padding);
        return padding;
    }
    // Bytes taken as they are (markers, copied data); the writer must be at a byte's end.
    void Append(std::span<const std::uint8_t> bytes)
    {
        Flush();
        out_.resize(used_);
        out_.insert(out_.end(), bytes.begin(), bytes.end());
        used_ = out_.size();
    }

private:
    friend bool TranscodeBlock(BitReader&, BitWriter&, const struct Recoding&, int&);
    // The oldest 32 bits pending, as four bytes and the zeros stuffed after them.
    void PutWord()
    {
        if (out_.size() - used_ < 8)
            Grow();
        count_ -= 32;
        const auto word = std::uint32_t(buffer_ >> count_);
        buffer_ &= (std::uint64_t{1} << count_) - 1;
        const std::uint32_t inverted = ~word;
        if (((inverted - 0x01010101u) & word & 0x80808080u) == 0) {   // no 0xFF among them
            const std::uint32_t bytes = __builtin_bswap32(word);
            std::memcpy(out_.data() + used_, &bytes, 4);
            used_ += 4;
            return;
        }
        for (int shift = 24; shift >= 0; shift -= 8)
            Put(std::uint8_t(word >> shift));
    }
    // Every complete byte pending.
    void Flush()
    {
        while (count_ >= 8) {
            count_ -= 8;
            if (out_.size() - used_ < 2)
                Grow();
            Put(std::uint8_t(buffer_ >> count_));
        }
        buffer_ &= (std::uint64_t{1} << count_) - 1;
    }
    void Put(std::uint8_t byte)
    {
        out_[used_++] = byte;
        if (byte == 0xFF)
            out_[used_++] = 0;
    }
    // Room for a word at least, and the vector's capacity used before it grows.
    void Grow() { out_.resize(std::max({out_.capacity(), out_.size() * 2, used_ + 4096})); }

    std::vector<std::uint8_t>& out_;
    std::size_t used_;       // bytes written
    std::uint64_t buffer_ = 0;
    int count_ = 0;          // bits pending, fewer than 32 between writes
};

// Decoding and encoding with one table. A table that states more codes than its lengths
// allow is not valid.
class HuffmanCode {
public:
    explicit HuffmanCode(const HuffmanTable& table);
    bool Valid() const { return valid_; }
    // The next symbol, or -1 for bits that are no code of the table.
    int Decode(BitReader& reader) const;
    // The code of `symbol` into `writer`, followed by the `size` low bits of its value;
    // false when the table has no code for it.
    bool Encode(BitWriter& writer, int symbol, std::uint32_t bits, int size) const
    {
        if (length_[symbol] == 0)
            return false;
        writer.Write(std::uint64_t{code_[symbol]} << size | bits, length_[symbol] + size);
        return true;
    }
    // The length of the code for `symbol`, 0 when it has none, and the code.
    int Length(int symbol) const { return length_[symbol]; }
    std::uint32_t Code(int symbol) const { return code_[symbol]; }
    // The symbol whose code starts the 16 bits `peeked`, and the code's length; -1 and 0
    // for bits that are no code of the table.
    std::pair<int, int> Symbol(std::uint32_t peeked) const
    {
        if (const std::uint16_t entry = fast_[peeked >> (16 - kFastBits)]; entry != 0)
            return {entry & 0xFF, entry >> 8};
        return Lookup(peeked, 16);
    }

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
    static Passed Passing(const PassTable& table, std::uint32_t peeked16)
    {
        const std::uint16_t pass = table[peeked16 >> (16 - kPassBits)];
        return {pass & 15, pass >> 4 & 127, (pass & kEnds) != 0, (pass & kZeros) != 0};
    }
    // The table of Passing for every code of this table, and for the codes alone that
    // `other` writes with the same bits.
    const PassTable& Passes() const { return pass_; }
    PassTable SharedPass(const HuffmanCode& other) const { return MakePass(&other); }

private:
    static constexpr int kFastBits = 9;
    bool valid_ = true;
    std::array<std::uint16_t, 1 << kFastBits> fast_{};   // length << 8 | symbol; 0: longer
    static constexpr std::uint16_t kEnds = 1 << 11, kZeros = 1 << 12;
    // The symbol whose code starts `bits` (of `count`) and its code's length; -1 when none does.
    std::pair<int, int> Lookup(std::uint32_t bits, int count) const;
    PassTable MakePass(const HuffmanCode* other) const;
    PassTable pass_{};
    std::array<std::int32_t, 17> last_{};                 // the last code of each length, -1: none
    std::array<std::int32_t, 17> offset_{};               // symbol index minus code
    std::array<std::uint8_t, 256> symbols_{};
    std::array<std::uint16_t, 256> code_{};
    std::array<std::uint8_t, 256> length_{};
};

// How many bytes of entropy-coded `data` hold data: the zeros stuffed after 0xFF are not counted.
std::size_t DataBytes(std::span<const std::uint8_t> data);
// Copies the next `bits` bits of `reader` into `writer`.
void CopyBits(BitReader& reader, std::uint64_t bits, BitWriter& writer);

// The symbol that stands for sixteen zero coefficients in a row.
inline constexpr int kZeroRun = 0xF0;

// Decodes a block into `block` (when given), after the block whose DC coefficient was
// `dc`, which it sets to this block's. False for data that a decoder could only guess at.
bool DecodeBlock(BitReader& reader, const HuffmanCode& dcCode, const HuffmanCode& acCode,
                 int& dc, CoefficientBlock* block);
// Writing the codes of a component's blocks again with other tables.
struct Recoding {
    const HuffmanCode& dcIn;
    const HuffmanCode& acIn;
    const HuffmanCode& dcOut;
    const HuffmanCode& acOut;
    PassTable unchanged;   // the AC codes that both tables write alike
};
// Passes a block as DecodeBlock does, writing each code again with the tables the block is
// recoded to, the bits of its value unchanged. False also when those tables lack a code.
bool TranscodeBlock(BitReader& reader, BitWriter& writer, const Recoding& recoding, int& dc);
// Encodes `block` after the block whose DC coefficient was `dc`, which it sets to this
// block's. `zeroRuns` extra sixteen-zero runs are written before its end of block, which
// decode to the same block and make the data that many codes longer; the block must end in
// more than 16 * zeroRuns zeros. False when the tables lack a code it needs.
bool EncodeBlock(BitWriter& writer, const HuffmanCode& dcCode, const HuffmanCode& acCode,
                 int& dc, const CoefficientBlock& block, int zeroRuns);
// Marks in `used` the symbols that code the AC coefficients of `block`.
void NoteAcSymbols(const CoefficientBlock& block, std::array<bool, 256>& used);
// How many sixteen-zero runs the block can take before its end of block.
int ZeroRunRoom(const CoefficientBlock& block);
