// The count-profile analysis on the sample study: one run (16 phases x 64 rays x 64 samples)
// and the 16 runs a per-phase bull's-eye or an export block makes, one per slice.
#include "ProfileAnalysis.h"
#include "ProfileAnalysisVariants.h"
#include "StudyReader.h"
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

// The start values of the window: slice 8, centre bars at 40 (centre 64, 64), radius 40,
// area threshold 40 %, width threshold 20 %.
void BM_AnalyseProfiles(benchmark::State &state)
{
    const GatedVolume &volume = SampleVolume();
    auto results = std::make_unique<ProfileResults>();
    const AnalysisInputs inputs;
    for (auto _ : state) {
        AnalyseProfiles(volume, inputs, *results);
        benchmark::DoNotOptimize(results.get());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AnalyseProfiles)->Unit(benchmark::kMicrosecond);

// The same run in the build for processors without AVX2 (eight rays at a time).
void BM_AnalyseProfilesPortable(benchmark::State &state)
{
    const GatedVolume &volume = SampleVolume();
    auto results = std::make_unique<ProfileResults>();
    const AnalysisInputs inputs;
    for (auto _ : state) {
        AnalyseProfilesPortable(volume, inputs, *results);
        benchmark::DoNotOptimize(results.get());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AnalyseProfilesPortable)->Unit(benchmark::kMicrosecond);

void BM_AnalyseAllSlices(benchmark::State &state)
{
    const GatedVolume &volume = SampleVolume();
    auto results = std::make_unique<ProfileResults>();
    AnalysisInputs inputs;
    for (auto _ : state) {
        for (int slice = 0; slice < GatedVolume::Slices; ++slice) {
            inputs.slice = slice;
            AnalyseProfiles(volume, inputs, *results);
            benchmark::DoNotOptimize(results.get());
            benchmark::ClobberMemory();
        }
    }
}
BENCHMARK(BM_AnalyseAllSlices)->Unit(benchmark::kMicrosecond);

} // namespace
