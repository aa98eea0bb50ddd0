// The rule that turns a count into a colour of the table, for one image and one count
// window: scale = 512 / (upper - lower), index = trunc((count - lower) x scale), clamped to
// 0..511. The object is built once per image (which is when the scale is computed) and
// then maps every pixel.
//
// Every mapping agrees exactly with the rule evaluated as the program evaluates all its
// arithmetic: the scale is the double nearest to the extended-precision quotient, and the
// product is formed in extended precision (long double). To make the per-pixel work a
// clamp and one look-up, the constructor finds, for each entry, the first count that
// reaches it and lays the colours out over the counts where the index changes; counts
// outside that span take its end colours. The span is at most as wide as the window and
// never wider than the 65,536 counts a cell can hold.
//
// An empty window (upper == lower) gives entry 0 to counts at or below the bound and
// entry 511 to counts above it, instead of dividing by zero. An inverted window
// (upper < lower) keeps the rule: the scale is negative, so counts at or above lower give
// entry 0 and the entries rise as the counts fall.
#pragma once

#include "ProgramData.h"

#include <cstdint>
#include <vector>

class CountToColour {
public:
    CountToColour(const ColourTable &table, CountWindow window);

    CountWindow window() const { return window_; }
    // 512 / (upper - lower); 0 for an empty window, where it is not used.
    double scale() const { return scale_; }

    // The table entry of a count, 0..511, by the rule itself.
    int index(int16_t count) const;
    // The colour of a count as the table holds it (0x00BBGGRR) and as a picture stores it
    // (0xFFRRGGBB).
    uint32_t colourRef(int16_t count) const { return table_[std::size_t(index(count))]; }
    uint32_t rgb(int16_t count) const { return spanColours_[std::size_t(clampToSpan(count) - spanFirst_)]; }

    // rgb() of `n` counts, for the drawing loops.
    void mapCounts(const int16_t *counts, uint32_t *rgb, int n) const;

private:
    int32_t clampToSpan(int32_t count) const
    {
        return count < spanFirst_ ? spanFirst_ : (count > spanLast_ ? spanLast_ : count);
    }

    ColourTable table_;
    CountWindow window_;
    double scale_ = 0;
    // Colours of the counts spanFirst_ .. spanLast_ (within -32768 .. 32767).
    int32_t spanFirst_ = 0;
    int32_t spanLast_ = 0;
    std::vector<uint32_t> spanColours_;
};
