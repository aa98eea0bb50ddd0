// The map panel on the sample study, each with the analyses its kind needs: one analysis and
// the graph for GA and B1, the 16 slice analyses and the bull's-eye for BI and BA.
#include "ColourTable.h"
#include "MapPanel.h"
#include "StudyReader.h"
#include "ViewState.h"
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

// The window's start values (slice 8, phase 8, centre 64, 64, radius 40), in the given kind.
void RunMapPanel(benchmark::State &state, int mapKind, bool analyseFirst)
{
    const GatedVolume &volume = SampleVolume();
    auto results = std::make_unique<ProfileResults>();
    ColourTable table{};
    BuildColourTable(table);
    Bitmap bitmap(542, 542);
    MapPanelInputs inputs;
    inputs.mapKind = mapKind;
    DrawMapPanel(bitmap, inputs, volume, table, *results); // the bull's-eye lookups are made once
    for (auto _ : state) {
        if (analyseFirst)
            AnalyseProfiles(volume, inputs.analysis, *results);
        DrawMapPanel(bitmap, inputs, volume, table, *results);
        benchmark::DoNotOptimize(bitmap.bits());
        benchmark::ClobberMemory();
    }
}

void BM_DrawMapPanel_GA(benchmark::State &state)
{
    RunMapPanel(state, MapGA, true);
}
BENCHMARK(BM_DrawMapPanel_GA)->Unit(benchmark::kMicrosecond);

void BM_DrawMapPanel_B1(benchmark::State &state)
{
    RunMapPanel(state, MapB1, true);
}
BENCHMARK(BM_DrawMapPanel_B1)->Unit(benchmark::kMicrosecond);

void BM_DrawMapPanel_BI(benchmark::State &state)
{
    RunMapPanel(state, MapBI, false);
}
BENCHMARK(BM_DrawMapPanel_BI)->Unit(benchmark::kMicrosecond);

void BM_DrawMapPanel_BA(benchmark::State &state)
{
    RunMapPanel(state, MapBA, false);
}
BENCHMARK(BM_DrawMapPanel_BA)->Unit(benchmark::kMicrosecond);

} // namespace
