// Loading one whole study (16 files, warm page cache) into the volume.
#include "BenchSupport.h"
#include "StudyReader.h"

#include <benchmark/benchmark.h>

namespace {

void BM_LoadStudySet(benchmark::State &state)
{
    // The noisy sample with a defect, as scripts/run writes it.
    static const SampleStudyFiles files(RunSampleOptions());
    Study study;
    for (auto _ : state) {
        const LoadResult result = LoadStudySet(files.first, study);
        if (!result.ok)
            state.SkipWithError(result.message.c_str());
        benchmark::DoNotOptimize(study.volume.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LoadStudySet)->Unit(benchmark::kMillisecond);

} // namespace
