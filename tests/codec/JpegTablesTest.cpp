// Widening a file's Huffman table by the symbols its new blocks need.
#include "codec/JpegTables.h"

#include <gtest/gtest.h>
#include <numeric>

namespace {
// A table with codes of the lengths 1, 2... counted in `countsByLength`, for the symbols
// 255, 254... in that order.
HuffmanTable Table(const std::vector<int>& countsByLength)
{
    HuffmanTable table;
    std::iota(table.symbols.rbegin(), table.symbols.rend(), 0);
    std::copy(countsByLength.begin(), countsByLength.end(), table.bits.begin() + 1);
    return table;
}
} // namespace

TEST(JpegTables, WidenedTablesCodeEveryOldAndAddedSymbolAndKeepTheShortCodes)
{
    // 16-bit codes fill all but the one code of one bits alone, as in a fitted table.
    const HuffmanTable fitted = Table({0, 2, 2, 1, 3, 3, 3, 3, 4, 1, 2, 4, 5, 1, 0, 19});
    std::array<bool, 256> none{}, few{}, all{};
    few[0x01] = few[0x12] = few[0x23] = true;
    all.fill(true);
    // Codes up to `keptUpTo` bits stay as they were, so that data written with them can be
    // copied as it stands; the more symbols are added, the fewer.
    const struct { HuffmanTable table; const std::array<bool, 256>& added; int keptUpTo; } rows[] = {
        {fitted, none, 16}, {fitted, few, 13}, {fitted, all, 0}, {Table({1}), few, 1}, {Table({}), few, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keptUpTo);
        const HuffmanTable widened = WidenedTable(row.table, row.added);
        const HuffmanCode before(row.table), after(widened);
        ASSERT_TRUE(after.Valid());
        for (int s = 0; s < 256; ++s) {
            SCOPED_TRACE(s);
            EXPECT_EQ(before.Length(s) > 0 || row.added[std::size_t(s)], after.Length(s) > 0);
            if (before.Length(s) > 0 && before.Length(s) <= row.keptUpTo) {
                EXPECT_EQ(before.Length(s), after.Length(s));
                EXPECT_EQ(before.Code(s), after.Code(s));
            }
        }
        const int count = std::accumulate(widened.bits.begin(), widened.bits.end(), 0);
        std::vector<int> symbols(widened.symbols.begin(), widened.symbols.begin() + count);
        std::sort(symbols.begin(), symbols.end());
        EXPECT_EQ(std::unique(symbols.begin(), symbols.end()), symbols.end());
    }
}

TEST(JpegTables, CodesPassedAsTheyStandReadTheSameInTheTableTheyAreCopiedTo)
{
    // Codes 00, 01, 100, 101, 110, as a file may give them: the symbol 0x01 twice. In the
    // other table 01 alone stands for it, and 00 for 0x21.
    HuffmanTable twice, other;
    twice.bits[2] = other.bits[2] = 2;
    twice.bits[3] = other.bits[3] = 3;
    for (auto [table, first] : {std::pair{&twice, 0x01}, std::pair{&other, 0x21}}) {
        const std::uint8_t symbols[] = {std::uint8_t(first), 0x01, 0x02, 0x11, 0x00};
        std::copy(std::begin(symbols), std::end(symbols), table->symbols.begin());
    }
    const HuffmanTable fitted = Table({0, 2, 2, 1, 3, 3, 3, 3, 4, 1, 2, 4, 5, 1, 0, 19});
    std::array<bool, 256> added{};
    added[0x23] = true;
    for (const auto& [from, to] : {std::pair{HuffmanCode(twice), HuffmanCode(other)},
                                   std::pair{HuffmanCode(fitted), HuffmanCode(WidenedTable(fitted, added))}}) {
        const PassTable copied = from.SharedPass(to);
        for (std::uint32_t bits = 0; bits < copied.size(); ++bits) {
            const int taken = HuffmanCode::Passing(copied, bits << 3).taken;
            for (int at = 0; at < taken;) {
                const std::uint32_t rest = (bits << (3 + at)) & 0xFFFF;
                const auto [symbol, length] = from.Symbol(rest);
                ASSERT_EQ(std::make_pair(symbol, length), to.Symbol(rest)) << bits << " " << at;
                at += length + (symbol & 15);
            }
        }
    }
}
