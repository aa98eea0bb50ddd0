// Count planes of the volume drawn through the count window.
#pragma once

#include "Bitmap.h"
#include "CountToColour.h"
#include "GatedVolume.h"

// The detail view's pixels: the plane of `slice` and `phase`, each cell (x, y) filling the
// 2 x 2 block from (2x, 2y) to (2x + 1, 2y + 1). Whatever of the 256 x 256 result falls
// outside `bitmap` is clipped; a slice or phase outside 0..15 draws nothing.
void DrawPlaneDoubled(Bitmap &bitmap, const GatedVolume &volume, int slice, int phase, const CountToColour &colours);

// The same from a plane kept column by column (the count of (x, y) at x * 128 + y), as
// PlaneSet gathers them.
void DrawColumnPlaneDoubled(Bitmap &bitmap, const int16_t *plane, const CountToColour &colours);
