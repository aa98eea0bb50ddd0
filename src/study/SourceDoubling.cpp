#include "SourceDoubling.h"

#include "StudyReader.h"

#include <algorithm>
#include <vector>

namespace {

using StudyFormat::SourceSize;

// Fills the volume front to back from the source pixels regrouped so that the 16 slices
// x 16 phases of one source pixel (c, r) lie side by side, in the volume's own order:
// element ((r * 64 + c) * 16 + s) * 16 + p. Each (x, y) is one run of 256 cells.
void fillVolume(const int16_t *regrouped, GatedVolume &volume)
{
    constexpr int Run = GatedVolume::Slices * GatedVolume::Phases;
    auto source = [regrouped](int c, int r) { return regrouped + (std::size_t(r) * SourceSize + c) * Run; };
    int16_t *out = volume.data();
    for (int x = 0; x < GatedVolume::Width; ++x) {
        const int c = x / 2;
        for (int y = 0; y < GatedVolume::Height; ++y, out += Run) {
            const int r = y / 2;
            const bool oddX = x % 2 != 0, oddY = y % 2 != 0;
            // In-between cells are filled only for source rows and columns 0..62, so those of
            // row and column 126, and all of row and column 127, stay 0.
            if ((oddX || oddY) && (c >= SourceSize - 1 || r >= SourceSize - 1)) {
                std::fill_n(out, Run, int16_t(0));
                continue;
            }
            const int16_t *p00 = source(c, r);
            if (!oddX && !oddY) {
                std::copy_n(p00, Run, out);
            } else if (oddX && !oddY) {
                const int16_t *p10 = source(c + 1, r);
                for (int i = 0; i < Run; ++i)
                    out[i] = int16_t((int32_t(p00[i]) + p10[i]) / 2); // truncates toward zero
            } else if (!oddX && oddY) {
                const int16_t *p01 = source(c, r + 1);
                for (int i = 0; i < Run; ++i)
                    out[i] = int16_t((int32_t(p00[i]) + p01[i]) / 2);
            } else {
                const int16_t *p10 = source(c + 1, r), *p01 = source(c, r + 1), *p11 = source(c + 1, r + 1);
                for (int i = 0; i < Run; ++i)
                    out[i] = int16_t((int32_t(p00[i]) + p10[i] + p01[i] + p11[i]) / 4);
            }
        }
    }
}

} // namespace

int32_t FillVolumeFromSource(const int16_t *pixels, GatedVolume &volume)
{
    constexpr std::size_t PlaneValues = std::size_t(SourceSize) * SourceSize;
    constexpr std::size_t FileValues = PlaneValues * GatedVolume::Slices;

    // Regroup by source pixel, slice-major then phase, taking the signed maximum on the way.
    std::vector<int16_t> regrouped(FileValues * GatedVolume::Phases);
    int32_t maximum = pixels[0];
    for (int r = 0; r < SourceSize; ++r)
        for (int s = 0; s < GatedVolume::Slices; ++s)
            for (int p = 0; p < GatedVolume::Phases; ++p) {
                const int16_t *row =
                    pixels + std::size_t(p) * FileValues + std::size_t(s) * PlaneValues + std::size_t(r) * SourceSize;
                for (int c = 0; c < SourceSize; ++c) {
                    regrouped[((std::size_t(r) * SourceSize + c) * GatedVolume::Slices + s) * GatedVolume::Phases + p] =
                        row[c];
                    maximum = std::max<int32_t>(maximum, row[c]);
                }
            }
    fillVolume(regrouped.data(), volume);
    return maximum;
}
