// The detail view's pixel work: one 128 x 128 plane of the volume through the count
// window into 2 x 2 blocks of a 256 x 256 picture, including the per-image set-up of the
// mapping (window, scale and colour span), as every redraw pays it.
#include "ColourTable.h"
#include "CountImage.h"
#include "CountWindow.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A volume of scattered counts -100..1899 (largest count 1899), as noisy as a real study.
const GatedVolume &benchVolume()
{
    static const std::unique_ptr<GatedVolume> volume = [] {
        auto v = std::make_unique<GatedVolume>();
        int16_t *cells = v->data();
        for (std::size_t i = 0; i < GatedVolume::CellCount; ++i)
            cells[i] = int16_t(int((i * 2654435761u) >> 20) % 2000 - 100);
        return v;
    }();
    return *volume;
}

void drawPlanes(benchmark::State &state, int32_t countRange, int32_t maxPosition, int32_t minPosition)
{
    const GatedVolume &volume = benchVolume();
    ColourTable table;
    BuildColourTable(table);
    Bitmap bitmap(256, 256);
    for (auto _ : state) {
        const CountWindow window = ComputeCountWindow(countRange, maxPosition, minPosition);
        const CountToColour colours(table, window);
        DrawPlaneDoubled(bitmap, volume, 7, 7, colours);
        benchmark::DoNotOptimize(bitmap.bits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 128 * 128);
}

// The window just after loading a study whose largest count is 1899: 380..1899.
void BM_CountToColourImage(benchmark::State &state)
{
    const CountBarsAfterLoad bars = CountBarsForStudy(1899);
    drawPlanes(state, 1899, bars.maxPosition, bars.minPosition);
}
BENCHMARK(BM_CountToColourImage)->Unit(benchmark::kMicrosecond);

// The widest span the colours can cover: a window over all 65,536 counts of a cell.
void BM_CountToColourImageWidestWindow(benchmark::State &state)
{
    // M 32767 with ScrollBarMin at 45875, beyond any range the bars get: -32768..32767.
    drawPlanes(state, 32767, 0, 45875);
}
BENCHMARK(BM_CountToColourImageWidestWindow)->Unit(benchmark::kMicrosecond);

} // namespace
