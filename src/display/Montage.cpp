#include "Montage.h"

#include <algorithm>
#include <array>

namespace {

constexpr int Side = MontageGeometry::Tile;
constexpr std::size_t RowStep = GatedVolume::Slices * GatedVolume::Phases; // from (x, y) to (x, y + 1)

// One tile: the plane's cells are gathered column by column (the order they lie in memory),
// mapped a row at a time and copied into the bitmap.
void drawTile(Bitmap &bitmap, const GatedVolume &volume, int slice, int phase, const CountToColour &colours, int left,
              int top)
{
    std::array<int16_t, Side * Side> plane; // [y][x]
    const int16_t *cells = volume.data() + GatedVolume::index(0, 0, slice, phase);
    for (int x = 0; x < Side; ++x) {
        const int16_t *column = cells + std::size_t(x) * Side * RowStep;
        for (int y = 0; y < Side; ++y)
            plane[std::size_t(y * Side + x)] = column[std::size_t(y) * RowStep];
    }
    const int firstX = std::max(0, -left), lastX = std::min(Side, bitmap.width() - left);
    if (firstX >= lastX)
        return;
    std::array<uint32_t, Side> line;
    for (int y = std::max(0, -top); y < Side && top + y < bitmap.height(); ++y) {
        colours.mapCounts(plane.data() + y * Side, line.data(), Side);
        std::copy(line.begin() + firstX, line.begin() + lastX, bitmap.scanLine(top + y) + left + firstX);
    }
}

} // namespace

void DrawMontage(Bitmap &bitmap, const GatedVolume &volume, const CountToColour &colours, const MontageChoice &choice,
                 uint32_t background, const MontageProgress &progress)
{
    bitmap.fill(background);
    const bool slices = choice.displayMode == 0;
    const int fixed = slices ? choice.phase : choice.slice;
    for (int t = 0; t < 16; ++t) {
        if (progress)
            progress(t);
        if (fixed < 0 || fixed >= 16)
            continue;
        const int slice = slices ? t : choice.slice;
        const int phase = slices ? choice.phase : t;
        drawTile(bitmap, volume, slice, phase, colours, MontageGeometry::Pitch * (t % 4),
                 MontageGeometry::Pitch * (t / 4));
    }
}
