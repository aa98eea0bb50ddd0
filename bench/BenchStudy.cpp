// Loading one whole study (16 files, warm page cache) into the volume.
#include "StudyReader.h"
#include "StudyWriter.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// A study on disk for the length of the benchmark run, removed at the end.
struct StudyOnDisk {
    std::string folder, first;
    StudyOnDisk()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvista-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        std::vector<int16_t> pixels(StudyFileValues * 16);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = int16_t((i * 2654435761u) >> 20) % 2000 - 100;
        std::string error;
        if (!WriteStudySet(folder + "/BENCH", "BENCH", "BENCH", pixels, error))
            std::abort();
        first = folder + "/BENCH.d01";
    }
    ~StudyOnDisk() { std::filesystem::remove_all(folder); }
};

void BM_LoadStudySet(benchmark::State &state)
{
    static StudyOnDisk files;
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
