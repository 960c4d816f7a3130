#include "core/compose/BlendPixels.h"

#include "base/Rounding.h"
#include "core/compose/SoftKey.h"

#include <algorithm>
#include <cstring>
#include <mutex>

std::uint8_t BlendChannel(std::uint8_t background, std::uint8_t foreground, std::int32_t rate)
{
    return BlendChannelAlpha(background, foreground, rate, 255);
}

std::uint8_t BlendChannelAlpha(std::uint8_t background, std::uint8_t foreground,
                               std::int32_t rate, std::uint8_t alpha)
{
    // rate * 255 / 255.0 is rate exactly, so an opaque pixel weighs what it always did.
    const double weight = double(rate * alpha) / 255.0;
    const double value = (background / 100.0) * (100.0 - weight) + (foreground / 100.0) * weight;
    return static_cast<std::uint8_t>(RoundHalfEven(value));
}

const BlendTable& BlendTableFor(std::int32_t rate)
{
    // A large picture costs one look-up per channel instead of two divisions, two
    // products and a rounding. The tables are filled once and only read afterwards, so
    // the engine can run on several threads; unused rates cost no memory.
    static std::array<BlendTable, 101> tables;
    static std::array<std::once_flag, 101> built;
    const std::int32_t r = std::clamp(rate, 0, 100);
    std::call_once(built[std::size_t(r)], [r] {
        BlendTable& table = tables[std::size_t(r)];
        for (int background = 0; background < 256; ++background)
            for (int foreground = 0; foreground < 256; ++foreground)
                table[std::size_t(background * 256 + foreground)] =
                    BlendChannel(std::uint8_t(background), std::uint8_t(foreground), r);
    });
    return tables[std::size_t(r)];
}

namespace {
constexpr std::uint32_t kColourBits = 0x00FFFFFF;
// Pixels tested together for the key: photographs cut out on a key colour have long runs
// of it, which then cost a copy.
constexpr std::size_t kBlock = 8;

std::uint32_t Load(const std::uint8_t* pixels, std::size_t i)
{
    std::uint32_t v;
    std::memcpy(&v, pixels + i * 4, 4);
    return v;
}

void Store(std::uint8_t* pixels, std::size_t i, std::uint32_t v)
{
    std::memcpy(pixels + i * 4, &v, 4);
}

// The table's blend of the colour bytes of f over those of p, p's reserved byte kept.
std::uint32_t TableBlend(std::uint32_t f, std::uint32_t p, const std::uint8_t* table)
{
    const std::uint32_t red = table[((p >> 8) & 0xFF00) | ((f >> 16) & 0xFF)];
    const std::uint32_t green = table[(p & 0xFF00) | ((f >> 8) & 0xFF)];
    const std::uint32_t blue = table[((p << 8) & 0xFF00) | (f & 0xFF)];
    return (p & ~kColourBits) | red << 16 | green << 8 | blue;
}

std::uint32_t BlendOne(std::uint32_t f, std::uint32_t p, std::uint32_t key,
                       const std::uint8_t* table, std::uint32_t reservedBits)
{
    const std::uint32_t blended = TableBlend(f, p, table);
    // Masks rather than a branch: key and other pixels may alternate at random.
    const std::uint32_t keep = 0u - std::uint32_t(((f ^ key) & kColourBits) == 0);
    return (p & keep) | (blended & ~keep) | reservedBits;
}
} // namespace

void BlendRun(const void* front, const void* patch, void* out, std::size_t count,
              PixelElement keyColour, const BlendTable& table, std::uint32_t reservedBits)
{
    const auto* f = static_cast<const std::uint8_t*>(front);
    const auto* p = static_cast<const std::uint8_t*>(patch);
    auto* o = static_cast<std::uint8_t*>(out);
    const std::uint8_t* t = table.data();
    // The key as a pixel reads it, 0x00RRGGBB, so it is compared once a pixel.
    const std::uint32_t key = std::uint32_t(keyColour.Red) << 16 |
                              std::uint32_t(keyColour.Green) << 8 | keyColour.Blue;
    std::size_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        std::uint32_t differs = 0;
        for (std::size_t j = 0; j < kBlock; ++j)
            differs |= Load(f, i + j) ^ key;
        if ((differs & kColourBits) == 0) {
            if (o != p || reservedBits != 0)
                for (std::size_t j = 0; j < kBlock; ++j)
                    Store(o, i + j, Load(p, i + j) | reservedBits);
            continue;
        }
        for (std::size_t j = 0; j < kBlock; ++j)
            Store(o, i + j, BlendOne(Load(f, i + j), Load(p, i + j), key, t, reservedBits));
    }
    for (; i < count; ++i)
        Store(o, i, BlendOne(Load(f, i), Load(p, i), key, t, reservedBits));
}

namespace {
// A foreground colour (0x00RRGGBB) that covers `alpha` of its place, over the patch pixel p;
// p's reserved byte is kept. The table is BlendChannelAlpha at alpha 255.
std::uint32_t BlendCovering(std::uint32_t colour, std::uint32_t p, std::uint32_t alpha,
                            std::int32_t rate, const std::uint8_t* table)
{
    if (alpha == 0)
        return p;
    if (alpha == 255)
        return TableBlend(colour, p, table);
    std::uint32_t blended = p & ~kColourBits;
    for (const int shift : {0, 8, 16})
        blended |= std::uint32_t(BlendChannelAlpha(std::uint8_t(p >> shift), std::uint8_t(colour >> shift),
                                                   rate, std::uint8_t(alpha)))
                   << shift;
    return blended;
}

PixelElement ElementOf(std::uint32_t v)
{
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

// Whether the key's tolerance or the pixel's own alpha may make of foreground pixel f
// something other than BlendOne does: a colour near the key but not it, or one not opaque.
// Written without branches, so a block of pixels is scanned at the speed of memory.
std::uint32_t NeedsCovering(std::uint32_t f, std::uint32_t key, std::int32_t reach, std::uint32_t alphaBits)
{
    std::int32_t distance = 0;
    for (const int shift : {0, 8, 16}) {
        const std::int32_t d = std::int32_t((f >> shift) & 0xFF) - std::int32_t((key >> shift) & 0xFF);
        distance = std::max(distance, d < 0 ? -d : d);
    }
    return std::uint32_t(distance != 0) & (std::uint32_t(distance <= reach) | std::uint32_t((f & alphaBits) != alphaBits));
}

// One foreground pixel keyed by ApplyKey and blended over patch pixel p at the alpha left.
std::uint32_t CoverOne(std::uint32_t pixel, std::uint32_t p, const Coverage& coverage, std::int32_t tolerance,
                       std::int32_t rate, const std::uint8_t* table)
{
    const PixelElement element = ElementOf(pixel);
    std::uint32_t colour = pixel & kColourBits;
    std::uint32_t alpha = coverage.frontAlpha ? pixel >> 24 : 255;
    const std::int32_t distance = KeyDistance(element, coverage.key);
    if (distance == 0) {
        alpha = 0;
    } else if (WithinTolerance(distance, tolerance)) {
        const KeyedPixel keyed = ApplyKey(element, std::uint8_t(alpha), coverage.key, tolerance);
        colour = std::uint32_t(keyed.colour.Red) << 16 | std::uint32_t(keyed.colour.Green) << 8 | keyed.colour.Blue;
        alpha = keyed.alpha;
    }
    return BlendCovering(colour, p, alpha, rate, table);
}
} // namespace

void BlendRunCovered(const void* front, const void* patch, void* out, std::size_t count,
                     const Coverage& coverage, std::uint32_t reservedBits)
{
    const auto* f = static_cast<const std::uint8_t*>(front);
    const auto* p = static_cast<const std::uint8_t*>(patch);
    auto* o = static_cast<std::uint8_t*>(out);
    const std::int32_t rate = std::clamp(coverage.rate, 0, 100);
    const std::int32_t tolerance = std::clamp(coverage.keyTolerance, 0, 100);
    const BlendTable& table = BlendTableFor(rate);
    const std::uint32_t key = std::uint32_t(coverage.key.Red) << 16 | std::uint32_t(coverage.key.Green) << 8 |
                              coverage.key.Blue;
    // The largest distance within the tolerance (WithinTolerance), and where the alpha lies.
    const std::int32_t reach = tolerance * 255 / 100;
    const std::uint32_t alphaBits = coverage.frontAlpha ? 0xFF000000u : 0;
    // Most blocks hold only the key and colours far from it, opaque: BlendRun's work. Each
    // pixel is read before it is written, so the patch may be the output.
    constexpr std::size_t kScan = kBlock;
    for (std::size_t i = 0; i < count; i += kScan) {
        const std::size_t n = std::min(kScan, count - i);
        std::uint32_t needs = 0;
        for (std::size_t j = 0; j < n; ++j)
            needs |= NeedsCovering(Load(f, i + j), key, reach, alphaBits);
        if (needs == 0) {
            BlendRun(f + i * 4, p + i * 4, o + i * 4, n, coverage.key, table, reservedBits);
            continue;
        }
        for (std::size_t j = i; j < i + n; ++j)
            Store(o, j, CoverOne(Load(f, j), Load(p, j), coverage, tolerance, rate, table.data()) | reservedBits);
    }
}

void BlendPixels(const PixelArray& F, PixelArray& P, std::int32_t count, std::uint8_t kR,
                 std::uint8_t kG, std::uint8_t kB, std::int32_t rate)
{
    if (count <= 0)
        return;
    const std::size_t n = std::min({std::size_t(count), F.size(), P.size()});
    BlendRun(F.data(), P.data(), P.data(), n, PixelElement{kB, kG, kR, 0}, BlendTableFor(rate), 0);
}
