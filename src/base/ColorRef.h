#pragma once
#include <cstdint>

// A colour as the settings file and the colour dialog hold it: 0x00BBGGRR, red in the
// low byte. Only the low three bytes carry colour; the top byte is ignored.
using ColorRef = std::int32_t;

constexpr int RedOf(ColorRef c) { return c & 0xFF; }
constexpr int GreenOf(ColorRef c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(ColorRef c) { return (c >> 16) & 0xFF; }
constexpr ColorRef RGB(int r, int g, int b) { return r | (g << 8) | (b << 16); }
