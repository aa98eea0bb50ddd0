// The 4 x 4 montage of Image1: the 16 slices of one phase, or the 16 phases of one slice,
// 128 x 128 tiles one volume pixel per screen pixel, 10 pixels of background between them.
#pragma once

#include "Bitmap.h"
#include "CountToColour.h"
#include "GatedVolume.h"

#include <functional>

struct MontageChoice {
    int displayMode = 0; // 0: tile t is slice t at `phase`; any other value: tile t is phase t of `slice`
    int slice = 7;
    int phase = 7;
};

namespace MontageGeometry {
constexpr int Tile = 128;
constexpr int Pitch = 138; // a tile and the gap after it
constexpr int Size = 542;  // 4 x 128 + 3 x 10
} // namespace MontageGeometry

// Called with the tile about to be drawn, 0..15: the window steps its progress bar with it.
using MontageProgress = std::function<void(int tile)>;

// Fills `bitmap` with `background` (0xFFRRGGBB) and draws the 16 tiles, tile t at
// (138 (t mod 4), 138 (t / 4)); whatever falls outside the bitmap is clipped. A slice or
// phase outside 0..15 leaves the tiles in the background colour.
void DrawMontage(Bitmap &bitmap, const GatedVolume &volume, const CountToColour &colours, const MontageChoice &choice,
                 uint32_t background, const MontageProgress &progress = {});
