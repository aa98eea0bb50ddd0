#include "PlaneSet.h"

void PlaneSet::gather(const GatedVolume &volume, bool bySlice, int slice, int phase)
{
    // Plane t's count is element first + t * step of a place's block of 16 x 16.
    const int first = bySlice ? phase : slice * GatedVolume::Phases;
    const int step = bySlice ? GatedVolume::Phases : 1;
    const int16_t *block = volume.data();
    int16_t *out = cells_.get();
    for (int cell = 0; cell < Cells; ++cell, block += GatedVolume::Slices * GatedVolume::Phases)
        for (int t = 0; t < 16; ++t)
            out[std::size_t(t) * Cells + std::size_t(cell)] = block[first + t * step];
}
