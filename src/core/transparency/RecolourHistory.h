#pragma once
#include "core/compose/PixelArray.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// What one colour-picking click changed in the foreground's pixel array: every element it
// repainted had the clicked colour and got the key colour, so a step holds the two colours
// and where those elements lie, as runs of consecutive elements, or as one bit an element
// when the colour is so scattered (a dithered picture) that the runs would take more room.
// Colours are the red, green and blue bytes of a PixelElement; reserved bytes play no part.
class RecolourStep {
public:
    // The elements among the first `count` of `pixels` that ReplaceColour would repaint
    // from `from` to `to`: those of colour `from`, none when `from` is `to`.
    static RecolourStep Find(const PixelArray& pixels, std::int32_t count, PixelElement from,
                             PixelElement to);

    // No element changes.
    bool Empty() const { return runs_.empty() && mask_.empty(); }
    // Paints the step's elements back in their old colour, or again in the new one. An
    // array of another size than the one the step was found in is left as it is (false).
    bool Undo(PixelArray& pixels) const { return Paint(pixels, from_); }
    bool Redo(PixelArray& pixels) const { return Paint(pixels, to_); }
    // The memory the step holds besides itself: never more than one bit an element.
    std::size_t HeldBytes() const;

private:
    struct Run {
        std::uint32_t start, length;
    };

    bool Paint(PixelArray& pixels, PixelElement colour) const;

    std::size_t size_ = 0;
    PixelElement from_{}, to_{};
    std::vector<Run> runs_;
    std::vector<std::uint64_t> mask_;
};

// The recolourings of the foreground that can be taken back, last first, and those taken
// back that can be done again. A new recolouring forgets the latter.
class RecolourHistory {
public:
    void Done(RecolourStep step);
    // The step an undo takes back, or a redo does again; null when there is none.
    const RecolourStep* NextUndo() const { return done_.empty() ? nullptr : &done_.back(); }
    const RecolourStep* NextRedo() const { return undone_.empty() ? nullptr : &undone_.back(); }
    // The steps done and not taken back, first done first.
    std::span<const RecolourStep> DoneSteps() const { return done_; }
    // The step has been taken back (done again): it moves to the other list.
    void Undone();
    void Redone();
    void Clear();

private:
    std::vector<RecolourStep> done_, undone_;
};
