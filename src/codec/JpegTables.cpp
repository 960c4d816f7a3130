#include "codec/JpegTables.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {
constexpr int kMaxCodeLength = 16;
constexpr std::uint8_t kDefineTables = 0xC4, kStartOfScan = 0xDA;

// The code lengths of a Huffman code for symbols of frequency `frequency` (0: no code),
// counted by length; lengths past 16 are folded back as JPEG's code lengths must be. A
// symbol of the least frequency is added and dropped again, so that no code is all ones.
std::array<int, 258> CodeLengthCounts(std::array<std::uint64_t, 257> frequency, std::array<int, 257>& length)
{
    std::array<int, 257> next;
    next.fill(-1);
    length.fill(0);
    frequency[256] = 1;
    for (;;) {
        // The two least frequent trees, the later symbol first among equals.
        int first = -1, second = -1;
        for (int s = 0; s < 257; ++s) {
            if (frequency[std::size_t(s)] == 0)
                continue;
            if (first < 0 || frequency[std::size_t(s)] <= frequency[std::size_t(first)]) {
                second = first;
                first = s;
            } else if (second < 0 || frequency[std::size_t(s)] <= frequency[std::size_t(second)]) {
                second = s;
            }
        }
        if (second < 0)
            break;
        frequency[std::size_t(first)] += frequency[std::size_t(second)];
        frequency[std::size_t(second)] = 0;
        // Every symbol of both trees moves one level down; the second tree is chained on.
        int s = first;
        for (++length[std::size_t(s)]; next[std::size_t(s)] >= 0; ++length[std::size_t(s)])
            s = next[std::size_t(s)];
        next[std::size_t(s)] = second;
        for (s = second, ++length[std::size_t(s)]; next[std::size_t(s)] >= 0; ++length[std::size_t(s)])
            s = next[std::size_t(s)];
    }
    std::array<int, 258> counts{};
    for (int s = 0; s < 257; ++s)
        if (length[std::size_t(s)] > 0)
            ++counts[std::size_t(length[std::size_t(s)])];
    // A pair of codes too long is replaced by one a level shorter, and a shorter code is
    // split to make room for the other.
    for (int l = 257; l > kMaxCodeLength; --l) {
        while (counts[std::size_t(l)] > 0) {
            int shorter = l - 2;
            while (counts[std::size_t(shorter)] == 0)
                --shorter;
            counts[std::size_t(l)] -= 2;
            ++counts[std::size_t(l - 1)];
            counts[std::size_t(shorter + 1)] += 2;
            --counts[std::size_t(shorter)];
        }
    }
    // The added symbol holds the last of the longest codes.
    int longest = kMaxCodeLength;
    while (longest > 0 && counts[std::size_t(longest)] == 0)
        --longest;
    if (longest > 0)
        --counts[std::size_t(longest)];
    return counts;
}
} // namespace

HuffmanTable WidenedTable(const HuffmanTable& table, const std::array<bool, 256>& added)
{
    // A code of length l stands for a share of about 2^-l of the symbols coded.
    std::array<std::uint64_t, 257> frequency{};
    int index = 0;
    for (int l = 1; l <= kMaxCodeLength; ++l)
        for (int i = 0; i < table.bits[std::size_t(l)]; ++i, ++index)
            frequency[table.symbols[std::size_t(index)]] = std::uint64_t{1} << (kMaxCodeLength - l);
    for (std::size_t s = 0; s < 256; ++s)
        if (added[s] && frequency[s] == 0)
            frequency[s] = 1;
    std::array<int, 257> length;
    const std::array<int, 258> counts = CodeLengthCounts(frequency, length);
    // The symbols in the order of their lengths before folding, which the folded counts
    // then assign again from the shortest; among equals, the table's symbols keep their
    // order and come first, so that as many codes as can stay the same do.
    std::vector<int> order;
    std::array<bool, 256> listed{};
    const auto list = [&](int symbol) {
        if (!std::exchange(listed[std::size_t(symbol)], true))
            order.push_back(symbol);
    };
    for (int i = 0; i < index; ++i)
        list(table.symbols[std::size_t(i)]);
    for (int s = 0; s < 256; ++s)
        if (added[std::size_t(s)])
            list(s);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return length[std::size_t(a)] < length[std::size_t(b)]; });
    HuffmanTable widened;
    for (int l = 1; l <= kMaxCodeLength; ++l)
        widened.bits[std::size_t(l)] = std::uint8_t(counts[std::size_t(l)]);
    std::copy(order.begin(), order.end(), widened.symbols.begin());
    return widened;
}

std::optional<std::vector<std::uint8_t>> WithHuffmanTables(std::span<const std::uint8_t> head,
                                                           const std::vector<NamedTable>& tables)
{
    if (head.size() < 2 || head[0] != 0xFF || head[1] != 0xD8)
        return std::nullopt;
    std::vector<std::uint8_t> out(head.begin(), head.begin() + 2);
    std::size_t at = 2;
    for (;;) {
        while (at + 1 < head.size() && head[at] == 0xFF && head[at + 1] == 0xFF)   // fill bytes
            ++at;
        if (at + 4 > head.size() || head[at] != 0xFF)
            return std::nullopt;
        const std::uint8_t marker = head[at + 1];
        const std::size_t length = std::size_t(head[at + 2]) << 8 | head[at + 3];
        if (length < 2 || at + 2 + length > head.size())
            return std::nullopt;
        if (marker == kStartOfScan) {
            if (at + 2 + length != head.size())
                return std::nullopt;
            std::vector<std::uint8_t> segment = {0xFF, kDefineTables, 0, 0};
            for (const NamedTable& named : tables) {
                segment.push_back(std::uint8_t(named.tableClass << 4 | named.number));
                segment.insert(segment.end(), named.table.bits.begin() + 1, named.table.bits.end());
                const int count = std::accumulate(named.table.bits.begin() + 1, named.table.bits.end(), 0);
                segment.insert(segment.end(), named.table.symbols.begin(), named.table.symbols.begin() + count);
            }
            segment[2] = std::uint8_t((segment.size() - 2) >> 8);
            segment[3] = std::uint8_t(segment.size() - 2);
            out.insert(out.end(), segment.begin(), segment.end());
            out.insert(out.end(), head.begin() + std::ptrdiff_t(at), head.end());
            return out;
        }
        if (marker != kDefineTables)
            out.insert(out.end(), head.begin() + std::ptrdiff_t(at), head.begin() + std::ptrdiff_t(at + 2 + length));
        at += 2 + length;
    }
}
