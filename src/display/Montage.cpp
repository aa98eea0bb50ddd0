#include "Montage.h"

#include "PlaneSet.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr int Side = MontageGeometry::Tile;

void drawTile(Bitmap &bitmap, const int16_t *plane, const CountToColour &colours, int left, int top)
{
    const int firstX = std::max(0, -left), lastX = std::min(Side, bitmap.width() - left);
    if (firstX >= lastX)
        return;
    std::array<int16_t, Side> counts;
    std::array<uint32_t, Side> line;
    for (int y = std::max(0, -top); y < Side && top + y < bitmap.height(); ++y) {
        for (int x = 0; x < Side; ++x)
            counts[std::size_t(x)] = plane[x * Side + y];
        colours.mapCounts(counts.data(), line.data(), Side);
        std::copy(line.begin() + firstX, line.begin() + lastX, bitmap.scanLine(top + y) + left + firstX);
    }
}

} // namespace

void DrawMontage(Bitmap &bitmap, const GatedVolume &volume, const CountToColour &colours, const MontageChoice &choice,
                 uint32_t background, const MontageProgress &progress)
{
    bitmap.fill(background);
    const int fixed = choice.displayMode == 0 ? choice.phase : choice.slice;
    const bool inRange = fixed >= 0 && fixed < 16;
    // Allocated once for the program's one drawing thread.
    thread_local PlaneSet tiles;
    if (inRange)
        tiles.gather(volume, choice.displayMode == 0, choice.slice, choice.phase);
    for (int t = 0; t < 16; ++t) {
        if (progress)
            progress(t);
        if (inRange)
            drawTile(bitmap, tiles.plane(t), colours, MontageGeometry::Pitch * (t % 4),
                     MontageGeometry::Pitch * (t / 4));
    }
}
