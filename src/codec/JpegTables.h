#pragma once
// Huffman tables made anew for a file whose own tables lack codes its new blocks need, and
// the file's header carrying them.
#include "codec/JpegEntropy.h"

#include <optional>

// A table with a code for every symbol of `table` and every symbol marked in `added`. The
// symbols keep about the lengths `table` gave them, which stand for how often the picture
// uses them; the added ones, rare in the picture, take the longest codes.
HuffmanTable WidenedTable(const HuffmanTable& table, const std::array<bool, 256>& added);

// A Huffman table as a DHT segment names it: its class (0 DC, 1 AC) and its number.
struct NamedTable {
    int tableClass = 0, number = 0;
    HuffmanTable table;
};

// `head`, a JPEG file from its start up to its first scan's data, with its DHT segments
// replaced by one holding `tables`, just before the scan. Nothing when `head` is not made
// of marker segments ending in the scan's header.
std::optional<std::vector<std::uint8_t>> WithHuffmanTables(std::span<const std::uint8_t> head,
                                                           const std::vector<NamedTable>& tables);
