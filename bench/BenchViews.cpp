// The count views of the window: the 16-tile montage and the detail view with its ROI
// overlay, each with the per-image set-up of the count window, on the sample study; the 16
// detail frames a cine loop prepares before it plays; and a threshold step under the
// all-phase bull's-eye.
#include "BenchSupport.h"
#include "ColourTable.h"
#include "CountWindow.h"
#include "DetailView.h"
#include "MapPanel.h"
#include "Montage.h"
#include "PlaneSet.h"
#include "ProfileAnalysis.h"
#include "StudyReader.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

struct SampleViews {
    Study study;
    ColourTable table;
    CountWindow window;

    SampleViews()
    {
        const SampleStudyFiles files(RunSampleOptions());
        if (!LoadStudySet(files.first, study).ok)
            std::abort();
        BuildColourTable(table);
        const CountBarsAfterLoad bars = CountBarsForStudy(study.CountRange);
        window = ComputeCountWindow(study.CountRange, bars.maxPosition, bars.minPosition);
    }
};

const SampleViews &sample()
{
    static const std::unique_ptr<SampleViews> views = std::make_unique<SampleViews>();
    return *views;
}

void BM_DrawMontage(benchmark::State &state)
{
    const SampleViews &s = sample();
    Bitmap bitmap(542, 542);
    for (auto _ : state) {
        const CountToColour colours(s.table, s.window);
        DrawMontage(bitmap, s.study.volume, colours, {0, 7, 7}, Rgb(240, 240, 240), [](int) {});
        benchmark::DoNotOptimize(bitmap.bits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawMontage)->Unit(benchmark::kMicrosecond);

void BM_DrawDetailImage(benchmark::State &state)
{
    const SampleViews &s = sample();
    Bitmap bitmap(256, 256);
    DetailViewInputs inputs; // the start positions, GA: circle and angle marker
    for (auto _ : state) {
        const CountToColour colours(s.table, s.window);
        DrawDetailImage(bitmap, s.study.volume, colours, inputs);
        benchmark::DoNotOptimize(bitmap.bits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawDetailImage)->Unit(benchmark::kMicrosecond);

// The 16 detail frames of a loop in the phase montage, into bitmaps made for the run, from
// the 16 planes gathered in one pass, as the window prepares them.
void BM_CinePrepare(benchmark::State &state)
{
    const SampleViews &s = sample();
    PlaneSet planes;
    for (auto _ : state) {
        std::vector<Bitmap> frames;
        frames.reserve(16);
        DetailViewInputs inputs;
        planes.gather(s.study.volume, false, inputs.slice, inputs.phase);
        for (int k = 0; k < 16; ++k) {
            inputs.phase = k;
            frames.emplace_back(256, 256);
            const CountToColour colours(s.table, s.window);
            DrawDetailImage(frames.back(), planes.plane(k), colours, inputs);
        }
        benchmark::DoNotOptimize(frames.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CinePrepare)->Unit(benchmark::kMicrosecond);

// One step of the area-threshold bar with the all-phase bull's-eye chosen: the analysis of
// the selected slice, then the whole BA panel, which analyses the 16 slices itself.
void BM_ThresholdStep_BA(benchmark::State &state)
{
    const SampleViews &s = sample();
    Bitmap bitmap(542, 542);
    auto results = std::make_unique<ProfileResults>();
    MapPanelInputs inputs;
    inputs.mapKind = MapBA;
    int area = 40;
    for (auto _ : state) {
        area = area == 40 ? 41 : 40;
        inputs.analysis.areaThreshold = area;
        AnalyseProfiles(s.study.volume, inputs.analysis, *results);
        DrawMapPanel(bitmap, inputs, s.study.volume, s.table, *results, [](int) {});
        benchmark::DoNotOptimize(bitmap.bits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ThresholdStep_BA)->Unit(benchmark::kMillisecond);

} // namespace
