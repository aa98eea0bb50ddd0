// The results file on the sample study: the analyses and the formatting of the whole file
// into memory, as the save command does before it writes a byte. Variant B analyses the 16
// slices once each; variant A analyses the selected slice and formats some 220 kB.
#include "BenchSupport.h"
#include "ResultsFile.h"
#include "StudyReader.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

// The window's start values: slice 8, phase 8, centre (64, 64), radius 40, A 40 %, W 20 %.
void RunExport(benchmark::State &state, int variant)
{
    const GatedVolume &volume = SampleVolume();
    auto results = std::make_unique<ProfileResults>();
    ResultsFileSettings settings;
    settings.variant = variant;
    std::string text;
    for (auto _ : state) {
        if (!FormatResultsFile(text, volume, settings, *results))
            std::abort();
        benchmark::DoNotOptimize(text.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_ExportVariantB(benchmark::State &state)
{
    RunExport(state, 1);
}
BENCHMARK(BM_ExportVariantB)->Unit(benchmark::kMicrosecond);

void BM_ExportVariantA(benchmark::State &state)
{
    RunExport(state, 0);
}
BENCHMARK(BM_ExportVariantA)->Unit(benchmark::kMicrosecond);

} // namespace
