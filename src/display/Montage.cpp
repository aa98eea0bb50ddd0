#include "Montage.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr int Side = MontageGeometry::Tile;
constexpr int Cells = Side * Side;

// The counts of the 16 tiles, tile by tile, each plane column by column ([t][x][y]). The
// volume is read once, in the order it lies in memory: every cell's 16 x 16 block holds the
// count of each tile at that place, so one sequential pass fills all 16 planes.
void gatherTiles(const GatedVolume &volume, const MontageChoice &choice, int16_t *tiles)
{
    const bool slices = choice.displayMode == 0;
    // Tile t's count is element first + t * step of the cell's block.
    const int first = slices ? choice.phase : choice.slice * GatedVolume::Phases;
    const int step = slices ? GatedVolume::Phases : 1;
    const int16_t *block = volume.data();
    for (int cell = 0; cell < Cells; ++cell, block += GatedVolume::Slices * GatedVolume::Phases)
        for (int t = 0; t < 16; ++t)
            tiles[std::size_t(t) * Cells + std::size_t(cell)] = block[first + t * step];
}

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
    // Allocated once for the program's one drawing thread: 16 planes of 128 x 128 counts.
    thread_local const std::unique_ptr<int16_t[]> tiles(new int16_t[16 * std::size_t(Cells)]);
    if (inRange)
        gatherTiles(volume, choice, tiles.get());
    for (int t = 0; t < 16; ++t) {
        if (progress)
            progress(t);
        if (inRange)
            drawTile(bitmap, tiles.get() + std::size_t(t) * Cells, colours, MontageGeometry::Pitch * (t % 4),
                     MontageGeometry::Pitch * (t / 4));
    }
}
