// The detail view of Image3 (the selected slice and phase doubled to 256 x 256, with the
// yellow ROI circle and the angle marker over it) and the two centre-marker strips beside it.
#pragma once

#include "Bitmap.h"
#include "CountToColour.h"
#include "GatedVolume.h"

struct DetailViewInputs {
    int slice = 7;
    int phase = 7;
    bool roiVisible = true;
    int centreX = 64; // ROI centre in volume pixels: ScrollBarX position + 24
    int centreY = 64; // ScrollBarY position + 24
    int radius = 40;  // RoiRadius
    int ray = 0;      // ScrollBarR position, 0..63
    int mapKind = 1;  // the angle marker is drawn for G1, GA and B1 (and kind 5)
};

// Where the angle marker of `ray` ends, in volume pixels: 64 pixels from the centre along
// the ray's direction, each coordinate truncated toward zero.
struct VolumePoint {
    int x;
    int y;
};
VolumePoint AngleMarkerEnd(int centreX, int centreY, int ray);

// Whether the detail view marks the selected ray for this map kind.
bool DrawsAngleMarker(int mapKind);

// The plane as 2 x 2 blocks, then, when the ROI is visible, the angle marker from (2cx, 2cy)
// to twice its end (end pixel not drawn) and the circle inscribed in
// (2(cx - r), 2(cy - r)) - (2(cx + r), 2(cy + r)), far edges exclusive; both yellow, clipped.
void DrawDetailImage(Bitmap &bitmap, const GatedVolume &volume, const CountToColour &colours,
                     const DetailViewInputs &inputs);

// The same with the plane given, column by column (as PlaneSet keeps it); the slice and phase
// of `inputs` are not read. The cine loop draws its 16 frames from one gathered PlaneSet.
void DrawDetailImage(Bitmap &bitmap, const int16_t *plane, const CountToColour &colours,
                     const DetailViewInputs &inputs);

// Image4 (160 x 16): `background` with a black vertical tick at x = 2 x position.
void DrawCentreMarkerX(Bitmap &bitmap, int position, uint32_t background);
// Image5 (16 x 160): `background` with a black horizontal tick at y = 2 x position.
void DrawCentreMarkerY(Bitmap &bitmap, int position, uint32_t background);
