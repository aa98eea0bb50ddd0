#include "CountImage.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr int Side = 128;

// The counts of one plane, row by row ([y][x]). The cells of a plane lie 16 x 16 elements
// apart down a column and 128 times that across a row, so they are read column by column,
// where the reads walk through memory in one direction.
using Plane = std::array<int16_t, Side * Side>;

void gatherPlane(const GatedVolume &volume, int slice, int phase, Plane &plane)
{
    constexpr std::size_t rowStep = GatedVolume::Slices * GatedVolume::Phases;
    const int16_t *cells = volume.data() + GatedVolume::index(0, 0, slice, phase);
    for (int x = 0; x < Side; ++x) {
        const int16_t *column = cells + std::size_t(x) * Side * rowStep;
        for (int y = 0; y < Side; ++y)
            plane[std::size_t(y * Side + x)] = column[std::size_t(y) * rowStep];
    }
}

} // namespace

void DrawPlaneDoubled(Bitmap &bitmap, const GatedVolume &volume, int slice, int phase, const CountToColour &colours)
{
    if (slice < 0 || slice >= GatedVolume::Slices || phase < 0 || phase >= GatedVolume::Phases)
        return;
    Plane plane;
    gatherPlane(volume, slice, phase, plane);

    const int columns = std::min(bitmap.width(), 2 * Side);
    const int rows = std::min(bitmap.height(), 2 * Side);
    std::array<uint32_t, Side> line;
    std::array<uint32_t, 2 * Side> doubled;
    for (int y = 0; 2 * y < rows; ++y) {
        colours.mapCounts(plane.data() + y * Side, line.data(), Side);
        for (int x = 0; x < Side; ++x) {
            doubled[std::size_t(2 * x)] = line[std::size_t(x)];
            doubled[std::size_t(2 * x + 1)] = line[std::size_t(x)];
        }
        const std::size_t bytes = std::size_t(columns) * sizeof(uint32_t);
        std::memcpy(bitmap.scanLine(2 * y), doubled.data(), bytes);
        if (2 * y + 1 < rows)
            std::memcpy(bitmap.scanLine(2 * y + 1), doubled.data(), bytes);
    }
}

void DrawColumnPlaneDoubled(Bitmap &bitmap, const int16_t *plane, const CountToColour &colours)
{
    const int columns = std::min(bitmap.width(), 2 * Side);
    const int rows = std::min(bitmap.height(), 2 * Side);
    std::array<int16_t, Side> counts;
    std::array<uint32_t, Side> line;
    std::array<uint32_t, 2 * Side> doubled;
    for (int y = 0; 2 * y < rows; ++y) {
        for (int x = 0; x < Side; ++x)
            counts[std::size_t(x)] = plane[x * Side + y];
        colours.mapCounts(counts.data(), line.data(), Side);
        for (int x = 0; x < Side; ++x) {
            doubled[std::size_t(2 * x)] = line[std::size_t(x)];
            doubled[std::size_t(2 * x + 1)] = line[std::size_t(x)];
        }
        const std::size_t bytes = std::size_t(columns) * sizeof(uint32_t);
        std::memcpy(bitmap.scanLine(2 * y), doubled.data(), bytes);
        if (2 * y + 1 < rows)
            std::memcpy(bitmap.scanLine(2 * y + 1), doubled.data(), bytes);
    }
}
