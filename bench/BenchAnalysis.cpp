// The count-profile analysis on the sample study: one run (16 phases x 64 rays x 64 samples)
// and the 16 runs a per-phase bull's-eye or an export block makes, one per slice.
#include "ProfileAnalysis.h"
#include "ProfileAnalysisVariants.h"
#include "StudyReader.h"

#ifdef CORVISTA_HAVE_PHANTOM
#include "Phantom.h"
#endif

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

// The sample study, read through the study reader as the program reads it (doubled to 128 x 128).
// Without the phantom generator, a smooth ring stands in for it.
struct SampleStudy {
    Study study;
    SampleStudy()
    {
#ifdef CORVISTA_HAVE_PHANTOM
        std::string folder = (std::filesystem::temp_directory_path() / "corvista-bench-XXXXXX").string();
        if (!::mkdtemp(folder.data()))
            std::abort();
        std::string error;
        const bool written = WritePhantomStudy(folder + "/SAMPLE", PhantomOptions{}, error);
        const bool loaded = written && LoadStudySet(folder + "/SAMPLE.d01", study).ok;
        std::filesystem::remove_all(folder);
        if (!loaded)
            std::abort();
#else
        for (int x = 0; x < 128; ++x)
            for (int y = 0; y < 128; ++y)
                for (int slice = 0; slice < 16; ++slice)
                    for (int phase = 0; phase < 16; ++phase) {
                        const double r = std::hypot(x - 64.0, y - 64.0) - (20.0 - 0.3 * phase);
                        study.volume.at(x, y, slice, phase) = static_cast<int16_t>(1000.0 * std::exp(-r * r / 18.0));
                    }
#endif
    }
};

const GatedVolume &SampleVolume()
{
    static const SampleStudy sample;
    return sample.study.volume;
}

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
