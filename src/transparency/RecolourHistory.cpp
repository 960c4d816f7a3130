#include "transparency/RecolourHistory.h"

#include <algorithm>
#include <bit>

namespace {
bool SameColour(const PixelElement& a, const PixelElement& b)
{
    return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue;
}

constexpr std::size_t MaskWords(std::size_t elements)
{
    return (elements + 63) / 64;
}
} // namespace

RecolourStep RecolourStep::Find(const PixelArray& pixels, std::int32_t count, PixelElement from,
                                PixelElement to)
{
    RecolourStep step;
    step.size_ = pixels.size();
    step.from_ = from;
    step.to_ = to;
    if (count <= 0 || SameColour(from, to))
        return step;
    const auto end = std::uint32_t(std::min<std::size_t>(std::size_t(count), pixels.size()));
    for (std::uint32_t i = 0; i < end;) {
        if (!SameColour(pixels[i], from)) {
            ++i;
            continue;
        }
        const std::uint32_t start = i;
        while (i < end && SameColour(pixels[i], from))
            ++i;
        step.Mark(start, i - start);
    }
    step.runs_.shrink_to_fit();
    return step;
}

// Runs while they take less room than the mask, the mask from then on.
void RecolourStep::Mark(std::uint32_t start, std::uint32_t length)
{
    const std::size_t words = MaskWords(size_);
    if (mask_.empty() && (runs_.size() + 1) * sizeof(Run) <= words * sizeof(std::uint64_t)) {
        runs_.push_back({start, length});
        return;
    }
    if (mask_.empty()) {
        mask_.assign(words, 0);
        const std::vector<Run> runs = std::move(runs_);
        runs_ = {};
        for (const Run& run : runs)
            Mark(run.start, run.length);
    }
    for (std::uint32_t i = start; i < start + length; ++i)
        mask_[i / 64] |= std::uint64_t(1) << (i % 64);
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
