// The count views of the window: the 16-tile montage and the detail view with its ROI
// overlay, each with the per-image set-up of the count window, on the sample study; and the
// 16 detail frames a cine loop prepares before it plays.
#include "BenchSupport.h"
#include "ColourTable.h"
#include "CountWindow.h"
#include "DetailView.h"
#include "Montage.h"
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
        PhantomOptions options;
        options.seed = 1;
        options.noise = true;
        options.defect = true;
        const SampleStudyFiles files(options);
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

// The 16 detail frames of a loop in the phase montage, into bitmaps made for the run.
void BM_CinePrepare(benchmark::State &state)
{
    const SampleViews &s = sample();
    for (auto _ : state) {
        std::vector<Bitmap> frames;
        frames.reserve(16);
        DetailViewInputs inputs;
        for (int k = 0; k < 16; ++k) {
            inputs.phase = k;
            frames.emplace_back(256, 256);
            const CountToColour colours(s.table, s.window);
            DrawDetailImage(frames.back(), s.study.volume, colours, inputs);
        }
        benchmark::DoNotOptimize(frames.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CinePrepare)->Unit(benchmark::kMicrosecond);

} // namespace
