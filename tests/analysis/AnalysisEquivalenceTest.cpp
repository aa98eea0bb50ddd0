// The fast analysis against the plain reference, bit for bit, on volumes that stress it:
// random counts with many ties and threshold equalities, counts at the ends of the 16-bit
// range, every radius, centres at and beyond the borders, thresholds at and beyond their
// ends, the phantom study and, when present, the real patient study.
#include "ProfileAnalysis.h"
#include "ProfileAnalysisVariants.h"
#include "ReferenceAnalysis.h"
#include "StudyReader.h"
#include "TestStudy.h"

#include "Phantom.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

// Finds the first entry where the two results differ and names it.
::testing::AssertionResult SameResults(const ProfileResults &fast, const ProfileResults &ref)
{
    if (std::memcmp(&fast, &ref, sizeof fast) == 0)
        return ::testing::AssertionSuccess();
    for (int k = 0; k < 64; ++k)
        for (int j = 0; j < 16; ++j)
            for (int i = 0; i < 64; ++i)
                if (fast.ProfileSamples[k][j][i] != ref.ProfileSamples[k][j][i])
                    return ::testing::AssertionFailure()
                           << "ProfileSamples[" << k << "][" << j << "][" << i << "] is "
                           << fast.ProfileSamples[k][j][i] << ", expected " << ref.ProfileSamples[k][j][i];
    auto firstDifference = [&](const char *name, const auto &a, const auto &b) -> std::string {
        for (int j = 0; j < 16; ++j)
            for (int i = 0; i < 64; ++i)
                if (a[j][i] != b[j][i])
                    return std::string(name) + "[" + std::to_string(j) + "][" + std::to_string(i) + "] is " +
                           std::to_string(a[j][i]) + ", expected " + std::to_string(b[j][i]);
        return {};
    };
    for (const std::string &d : {firstDifference("ProfilePeak", fast.ProfilePeak, ref.ProfilePeak),
                                 firstDifference("ProfilePeakDist", fast.ProfilePeakDist, ref.ProfilePeakDist),
                                 firstDifference("InnerEdgeA", fast.InnerEdgeA, ref.InnerEdgeA),
                                 firstDifference("OuterEdgeA", fast.OuterEdgeA, ref.OuterEdgeA),
                                 firstDifference("InnerEdgeW", fast.InnerEdgeW, ref.InnerEdgeW),
                                 firstDifference("OuterEdgeW", fast.OuterEdgeW, ref.OuterEdgeW),
                                 firstDifference("ProfileWidth", fast.ProfileWidth, ref.ProfileWidth),
                                 firstDifference("ProfileArea", fast.ProfileArea, ref.ProfileArea)})
        if (!d.empty())
            return ::testing::AssertionFailure() << d;
    return ::testing::AssertionFailure() << "the results differ";
}

class AnalysisEquivalenceTest : public ::testing::Test {
protected:
    std::unique_ptr<ProfileResults> fast = std::make_unique<ProfileResults>();
    std::unique_ptr<ProfileResults> ref = std::make_unique<ProfileResults>();

    // Each build of the fast analysis runs over stale values, so equality also shows that it
    // does not read them.
    void expectSame(const GatedVolume &volume, const AnalysisInputs &in)
    {
        ReferenceAnalyseProfiles(volume, in, *ref);
        struct Build {
            const char *name;
            void (*analyse)(const GatedVolume &, const AnalysisInputs &, ProfileResults &);
        };
        const Build builds[] = {{"portable", AnalyseProfilesPortable}, {"AVX2", AnalyseProfilesAvx2}};
        for (const Build &build : builds) {
            if (build.analyse == AnalyseProfilesAvx2 && !Avx2AnalysisAvailable())
                continue;
            std::memset(static_cast<void *>(fast.get()), 0xA5, sizeof(ProfileResults));
            build.analyse(volume, in, *fast);
            EXPECT_TRUE(SameResults(*fast, *ref))
                << build.name << " build; slice " << in.slice << ", centre (" << in.centreX << ", " << in.centreY
                << "), radius " << in.radius << ", A " << in.areaThreshold << " %, W " << in.widthThreshold << " %";
        }
    }

    // Every slice with the start inputs, every radius, and centres and thresholds at the ends
    // of their ranges and beyond them; on request every threshold from 0 to 100 %.
    void sweep(const GatedVolume &volume, bool everyThreshold = false)
    {
        for (int percent = 0; everyThreshold && percent <= 100; ++percent)
            expectSame(volume, {2, 60, 67, 50, percent, 100 - percent});
        for (int slice = 0; slice < 16; ++slice)
            expectSame(volume, {slice, 64, 64, 40, 40, 20});
        for (int radius = 10; radius <= 64; ++radius)
            expectSame(volume, {7, 64, 64, radius, 40, 20});
        const int centres[][2] = {{24, 24}, {103, 103}, {24, 103}, {87, 41}, {0, 0}, {127, 60}, {-20, 150}};
        for (const auto &c : centres)
            expectSame(volume, {5, c[0], c[1], 63, 40, 20});
        const int thresholds[][2] = {{0, 0}, {1, 1}, {33, 67}, {50, 50}, {99, 100}, {100, 0}, {-5, 150}, {101, 7}};
        for (const auto &t : thresholds)
            expectSame(volume, {9, 70, 58, 40, t[0], t[1]});
    }
};

TEST_F(AnalysisEquivalenceTest, RandomVolumes)
{
    struct Range {
        const char *what;
        int low, high;
    };
    // Few distinct counts give many equal maxima and samples equal to a threshold; the full
    // range gives the largest products of the threshold arithmetic.
    const Range ranges[] = {
        {"counts -3..12", -3, 12}, {"counts -32768..32767", -32768, 32767}, {"counts 32760..32767", 32760, 32767}};
    std::mt19937 random(20240611);
    GatedVolume volume;
    for (const Range &range : ranges) {
        SCOPED_TRACE(range.what);
        std::uniform_int_distribution<int> count(range.low, range.high);
        for (std::size_t n = 0; n < GatedVolume::CellCount; ++n)
            volume.data()[n] = static_cast<int16_t>(count(random));
        sweep(volume, range.high - range.low < 100);
    }
}

TEST_F(AnalysisEquivalenceTest, SmoothRingWithPlateaus)
{
    // A ring of radius 20 around (60, 66) whose counts are rounded down to steps of 10, so
    // that profiles have flat tops and flat walls.
    GatedVolume volume;
    for (int x = 0; x < 128; ++x)
        for (int y = 0; y < 128; ++y)
            for (int slice = 0; slice < 16; ++slice)
                for (int phase = 0; phase < 16; ++phase) {
                    const double r = std::hypot(x - 60.0, y - 66.0);
                    const double wall = 20.0 - 0.3 * phase + 0.2 * slice;
                    const double v = 1000.0 * std::exp(-(r - wall) * (r - wall) / 18.0) + 60.0;
                    volume.at(x, y, slice, phase) = static_cast<int16_t>(static_cast<int>(v) / 10 * 10);
                }
    sweep(volume);
}

TEST_F(AnalysisEquivalenceTest, PhantomStudies)
{
    PhantomOptions plain;
    PhantomOptions noisy;
    noisy.noise = true;
    noisy.seed = 7;
    noisy.defect = true;
    noisy.hotSpot = true;
    noisy.centreDx = -5;
    noisy.centreDy = 3;
    for (const PhantomOptions &options : {plain, noisy}) {
        SCOPED_TRACE(options.noise ? "noisy phantom with a defect and a hot spot" : "phantom");
        TempDir dir;
        std::string error;
        ASSERT_TRUE(WritePhantomStudy(dir.file("P"), options, error)) << error;
        Study study;
        const LoadResult loaded = LoadStudySet(dir.file("P.d01"), study);
        ASSERT_TRUE(loaded.ok) << loaded.message;
        sweep(study.volume);
    }
}

TEST_F(AnalysisEquivalenceTest, RealPatientStudy)
{
    const std::string dir = RealDataDir();
    if (dir.empty())
        GTEST_SKIP() << "the real study is not there";
    Study study;
    const LoadResult loaded = LoadStudySet(dir + "/heart.d01", study);
    ASSERT_TRUE(loaded.ok) << loaded.message;
    sweep(study.volume);
}

} // namespace
