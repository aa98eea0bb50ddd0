// The 16 count planes that a montage tiles and a cine loop steps through: the 16 slices of
// one phase, or the 16 phases of one slice. The volume keeps the 256 counts of a place side
// by side, so the 16 planes are gathered in one pass over it in memory order, far cheaper
// than 16 passes that each touch every place.
#pragma once

#include "GatedVolume.h"

#include <cstdint>
#include <memory>

class PlaneSet {
public:
    static constexpr int Side = 128;
    static constexpr int Cells = Side * Side;

    PlaneSet() : cells_(new int16_t[16 * std::size_t(Cells)]) {}

    // bySlice: plane t is slice t at `phase`; otherwise plane t is phase t of `slice`. Both
    // indices must be 0..15.
    void gather(const GatedVolume &volume, bool bySlice, int slice, int phase);

    // Plane t, column by column: the count of (x, y) at x * 128 + y.
    const int16_t *plane(int t) const { return cells_.get() + std::size_t(t) * Cells; }

private:
    std::unique_ptr<int16_t[]> cells_;
};
