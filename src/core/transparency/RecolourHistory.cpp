#include "core/transparency/RecolourHistory.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {
bool SameColour(const PixelElement& a, const PixelElement& b)
{
    return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue;
}

// The three colour bytes of an element as one number, so the scan compares once a pixel.
std::uint32_t ColourBits(const PixelElement& e)
{
    std::uint32_t bits;
    std::memcpy(&bits, &e, sizeof bits);
    return bits & 0x00FFFFFFu;
}

// Bit k set where element k of the n (at most 64) has the colour `wanted`. The matches are
// first written a byte each, which the compiler does many at a time, then gathered eight
// bytes at once: the product with 0x0102040810204080 places byte k's low bit at bit 56 + k.
std::uint64_t MatchBits(const PixelElement* elements, std::size_t n, std::uint32_t wanted)
{
    std::uint8_t hits[64] = {};
    for (std::size_t k = 0; k < n; ++k)
        hits[k] = ColourBits(elements[k]) == wanted;
    std::uint64_t bits = 0;
    for (std::size_t byte = 0; byte < 64; byte += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, hits + byte, sizeof eight);
        bits |= (eight * 0x0102040810204080u >> 56) << byte;
    }
    return bits;
}

constexpr std::size_t MaskWords(std::size_t elements)
{
    return (elements + 63) / 64;
}
} // namespace

// One pass marks the elements in a mask, a bit an element, without a branch a pixel; the
// runs are taken from it when they hold less room.
RecolourStep RecolourStep::Find(const PixelArray& pixels, std::int32_t count, PixelElement from,
                                PixelElement to)
{
    RecolourStep step;
    step.size_ = pixels.size();
    step.from_ = from;
    step.to_ = to;
    if (count <= 0 || SameColour(from, to))
        return step;
    const std::size_t end = std::min<std::size_t>(std::size_t(count), pixels.size());
    const std::uint32_t wanted = ColourBits(from);
    std::vector<std::uint64_t> mask(MaskWords(pixels.size()), 0);
    std::size_t runs = 0;
    std::uint64_t previous = 0;   // the last bit of the word before
    for (std::size_t word = 0; word * 64 < end; ++word) {
        const PixelElement* elements = pixels.data() + word * 64;
        const std::size_t n = std::min<std::size_t>(64, end - word * 64);
        const std::uint64_t bits = MatchBits(elements, n, wanted);
        mask[word] = bits;
        runs += std::size_t(std::popcount(bits & ~(bits << 1 | previous)));
        previous = bits >> 63;
    }
    if (runs == 0)
        return step;
    if (runs * sizeof(Run) >= mask.size() * sizeof(std::uint64_t)) {
        step.mask_ = std::move(mask);
        return step;
    }
    // A run's start and end are found a word at a time; the bits past `end` are clear.
    step.runs_.reserve(runs);
    for (std::size_t i = 0; i < end;) {
        const std::uint64_t rest = mask[i / 64] >> (i % 64);
        if (rest == 0) {
            i = (i / 64 + 1) * 64;
            continue;
        }
        i += std::size_t(std::countr_zero(rest));
        const std::size_t start = i;
        while (i < end) {
            const std::size_t offset = i % 64;
            const auto ones = std::size_t(std::countr_one(mask[i / 64] >> offset));
            i += ones;
            if (offset + ones < 64)
                break;
        }
        step.runs_.push_back({std::uint32_t(start), std::uint32_t(i - start)});
    }
    return step;
}

bool RecolourStep::Paint(PixelArray& pixels, PixelElement colour) const
{
    if (pixels.size() != size_)
        return false;
    const auto paint = [&](std::size_t i) {
        pixels[i].Red = colour.Red;
        pixels[i].Green = colour.Green;
        pixels[i].Blue = colour.Blue;
    };
    for (const Run& run : runs_)
        for (std::size_t i = run.start; i < std::size_t(run.start) + run.length; ++i)
            paint(i);
    for (std::size_t word = 0; word < mask_.size(); ++word)
        for (std::uint64_t bits = mask_[word]; bits != 0; bits &= bits - 1)
            paint(word * 64 + std::size_t(std::countr_zero(bits)));
    return true;
}

std::size_t RecolourStep::HeldBytes() const
{
    return runs_.capacity() * sizeof(Run) + mask_.capacity() * sizeof(std::uint64_t);
}

void RecolourHistory::Done(RecolourStep step)
{
    done_.push_back(std::move(step));
    undone_.clear();
}

void RecolourHistory::Undone()
{
    if (done_.empty())
        return;
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
}

void RecolourHistory::Redone()
{
    if (undone_.empty())
        return;
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
}

void RecolourHistory::Clear()
{
    done_.clear();
    undone_.clear();
}
