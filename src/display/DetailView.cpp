#include "DetailView.h"

#include "CountImage.h"
#include "RasterCanvas.h"

#include <cmath>

namespace {
constexpr uint32_t Yellow = Rgb(255, 255, 0);
constexpr uint32_t Black = Rgb(0, 0, 0);
} // namespace

VolumePoint AngleMarkerEnd(int centreX, int centreY, int ray)
{
    // The direction is worked out in double precision, as the analysis does for its rays; the
    // sums are formed in extended precision and truncated toward zero. At ray 24 (straight
    // left) the cosine is a hair below zero, so the end lies on row cy - 1, not on cy.
    const double pi = 4 * std::atan(1.0);
    const double theta = 2 * pi * ray * 0.015625 + pi * 3 * 0.25;
    const long double ex = centreX + 64.0L * std::sin(theta);
    const long double ey = centreY + 64.0L * std::cos(theta);
    return {static_cast<int>(ex), static_cast<int>(ey)};
}

bool DrawsAngleMarker(int mapKind)
{
    return mapKind == 0 || mapKind == 1 || mapKind == 4 || mapKind == 5;
}

namespace {
void drawOverlay(Bitmap &bitmap, const DetailViewInputs &inputs)
{
    if (!inputs.roiVisible)
        return;
    const int cx = inputs.centreX, cy = inputs.centreY, r = inputs.radius;
    if (DrawsAngleMarker(inputs.mapKind)) {
        const VolumePoint end = AngleMarkerEnd(cx, cy, inputs.ray);
        DrawLine(bitmap, 2 * cx, 2 * cy, 2 * end.x, 2 * end.y, Yellow);
    }
    DrawEllipse(bitmap, 2 * (cx - r), 2 * (cy - r), 2 * (cx + r), 2 * (cy + r), Yellow);
}
} // namespace

void DrawDetailImage(Bitmap &bitmap, const GatedVolume &volume, const CountToColour &colours,
                     const DetailViewInputs &inputs)
{
    DrawPlaneDoubled(bitmap, volume, inputs.slice, inputs.phase, colours);
    drawOverlay(bitmap, inputs);
}

void DrawDetailImage(Bitmap &bitmap, const int16_t *plane, const CountToColour &colours,
                     const DetailViewInputs &inputs)
{
    DrawColumnPlaneDoubled(bitmap, plane, colours);
    drawOverlay(bitmap, inputs);
}

void DrawCentreMarkerX(Bitmap &bitmap, int position, uint32_t background)
{
    bitmap.fill(background);
    DrawLine(bitmap, 2 * position, 0, 2 * position, 17, Black);
}

void DrawCentreMarkerY(Bitmap &bitmap, int position, uint32_t background)
{
    bitmap.fill(background);
    DrawLine(bitmap, 0, 2 * position, 17, 2 * position, Black);
}
