// What the benchmarks share: the sample study written to a folder of its own, which is
// removed again when the benchmark program ends.
#pragma once

#include "Phantom.h"
#include "StudyReader.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

// The sample study scripts/run writes: seed 1, noise and a perfusion defect.
inline PhantomOptions RunSampleOptions()
{
    PhantomOptions options;
    options.seed = 1;
    options.noise = true;
    options.defect = true;
    return options;
}

struct SampleStudyFiles {
    std::string folder;
    std::string first; // the file a user would pick, SAMPLE.d01

    explicit SampleStudyFiles(const PhantomOptions &options = {})
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvista-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        std::string error;
        if (!WritePhantomStudy(folder + "/SAMPLE", options, error))
            std::abort();
        first = folder + "/SAMPLE.d01";
    }
    ~SampleStudyFiles() { std::filesystem::remove_all(folder); }
    SampleStudyFiles(const SampleStudyFiles &) = delete;
    SampleStudyFiles &operator=(const SampleStudyFiles &) = delete;
};

// The default phantom sample, read through the study reader as the program reads it (doubled
// to 128 x 128), once for the whole benchmark program.
inline const GatedVolume &SampleVolume()
{
    static const std::unique_ptr<Study> study = [] {
        auto s = std::make_unique<Study>();
        const SampleStudyFiles files;
        if (!LoadStudySet(files.first, *s).ok)
            std::abort();
        return s;
    }();
    return study->volume;
}
