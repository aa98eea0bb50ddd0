// Hand-made volumes whose results are worked out by hand: where the rays go, which samples
// count, and how each profile is reduced to its peak, edges, width and area.
#include "ProfileAnalysis.h"
#include "ProfileAnalysisVariants.h"
#include "ReferenceAnalysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

namespace {

constexpr int RayUp = 8, RayLeft = 24, RayDown = 40, RayRight = 56;

// One profile reduced to its numbers, for readable comparisons.
struct Summary {
    int peak, peakDist, innerA, outerA, innerW, outerW, width, area;
    bool operator==(const Summary &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Summary &s)
{
    return os << "{peak " << s.peak << ", dist " << s.peakDist << ", A " << s.innerA << ".." << s.outerA << ", W "
              << s.innerW << ".." << s.outerW << ", width " << s.width << ", area " << s.area << "}";
}

Summary Summarise(const ProfileResults &r, int phase, int ray)
{
    return {r.ProfilePeak[phase][ray],  r.ProfilePeakDist[phase][ray], r.InnerEdgeA[phase][ray],
            r.OuterEdgeA[phase][ray],   r.InnerEdgeW[phase][ray],      r.OuterEdgeW[phase][ray],
            r.ProfileWidth[phase][ray], r.ProfileArea[phase][ray]};
}

// A count that names its cell, so a sample tells which pixel it was read from.
int16_t CellCode(int x, int y)
{
    return static_cast<int16_t>(1 + x * 128 + y);
}

// Every build of the analysis and the plain reference must give these hand-worked results.
struct Implementation {
    const char *name;
    void (*analyse)(const GatedVolume &, const AnalysisInputs &, ProfileResults &);
};

class ProfileAnalysisTest : public ::testing::TestWithParam<Implementation> {
protected:
    GatedVolume volume;
    std::unique_ptr<ProfileResults> results = std::make_unique<ProfileResults>();
    AnalysisInputs inputs; // slice 7, centre (64, 64), radius 40, A 40 %, W 20 %

    const ProfileResults &run()
    {
        GetParam().analyse(volume, inputs, *results);
        return *results;
    }

    void fill(int16_t count) { std::fill(volume.data(), volume.data() + GatedVolume::CellCount, count); }

    // Ray 56 runs straight right: its sample k is the cell (centreX + k, centreY).
    void setRightRay(int phase, const std::vector<std::pair<int, int>> &samples)
    {
        for (const auto &[k, count] : samples)
            volume.at(inputs.centreX + k, inputs.centreY, inputs.slice, phase) = static_cast<int16_t>(count);
    }
};

TEST_P(ProfileAnalysisTest, RaysStartAtTheCentreAndTurnCounterClockwiseOnTheScreen)
{
    for (int x = 0; x < 128; ++x)
        for (int y = 0; y < 128; ++y)
            for (int phase = 0; phase < 16; ++phase)
                volume.at(x, y, inputs.slice, phase) = CellCode(x, y);
    inputs.radius = 64;
    const ProfileResults &r = run();

    struct Case {
        int ray, k, x, y;
    };
    const Case cases[] = {
        // The axial rays: the tiny sine or cosine truncates to 0.
        {RayUp, 1, 64, 63},
        {RayUp, 40, 64, 24},
        {RayUp, 63, 64, 1},
        {RayLeft, 1, 63, 64},
        {RayLeft, 63, 1, 64},
        {RayDown, 1, 64, 65},
        {RayDown, 63, 64, 127},
        {RayRight, 1, 65, 64},
        {RayRight, 63, 127, 64},
        // Ray 0, up and to the right: truncation toward zero repeats the centre at k = 1.
        {0, 0, 64, 64},
        {0, 1, 64, 64},
        {0, 2, 65, 63},
        {0, 3, 66, 62},
        {0, 10, 71, 57},
        // The other diagonals: 0.7071 * 2 = 1.41 and 0.7071 * 3 = 2.12 truncate to 1 and 2.
        {16, 1, 64, 64},
        {16, 2, 63, 63},
        {32, 3, 62, 66},
        {48, 2, 65, 65},
        // Ray 4 at 157.5 degrees: sine 0.38268, cosine -0.92388; at k = 10, (3.83, -9.24).
        {4, 10, 67, 55},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "ray " << c.ray << " sample " << c.k);
        for (int phase = 0; phase < 16; ++phase)
            ASSERT_EQ(r.ProfileSamples[c.k][phase][c.ray], CellCode(c.x, c.y)) << "phase " << phase;
    }
    for (int ray = 0; ray < 64; ++ray) {
        EXPECT_EQ(r.ProfileSamples[0][5][ray], CellCode(64, 64)) << "sample 0 of ray " << ray;
        if (ray % 16 != 8) {
            EXPECT_EQ(r.ProfileSamples[1][5][ray], CellCode(64, 64)) << "sample 1 of ray " << ray;
        }
    }
}

TEST_P(ProfileAnalysisTest, SamplesOutsideTheVolumeOrTheRoiAreZero)
{
    fill(5);
    {
        SCOPED_TRACE("centre bar at 0: ray 24 leaves the volume after sample 24");
        inputs.centreX = 24;
        const ProfileResults &r = run();
        for (int k = 0; k < 64; ++k) {
            EXPECT_EQ(r.ProfileSamples[k][0][RayLeft], k <= 24 ? 5 : 0) << "sample " << k;
            EXPECT_EQ(r.ProfileSamples[k][0][RayRight], k <= 40 ? 5 : 0) << "sample " << k;
        }
    }
    {
        SCOPED_TRACE("radius 10");
        inputs.centreX = 64;
        inputs.radius = 10;
        const ProfileResults &r = run();
        for (int ray = 0; ray < 64; ++ray)
            for (int phase = 0; phase < 16; ++phase) {
                for (int k = 0; k < 10; ++k)
                    ASSERT_EQ(r.ProfileSamples[k][phase][ray], 5) << "ray " << ray << " sample " << k;
                for (int k = 11; k < 64; ++k)
                    ASSERT_EQ(r.ProfileSamples[k][phase][ray], 0) << "ray " << ray << " sample " << k;
            }
        // On the axial rays the length at k = 10 is exactly 10, which is not beyond the radius.
        for (int ray : {RayUp, RayLeft, RayDown, RayRight})
            EXPECT_EQ(r.ProfileSamples[10][3][ray], 5) << "ray " << ray;
        // Every profile is 5 up to the radius and 0 after it: the peak at the centre, the outer
        // edges at the first sample outside (10 or 11, by the ray), nothing inward.
        for (int ray = 0; ray < 64; ++ray) {
            const int firstOutside = r.ProfileSamples[10][3][ray] == 5 ? 11 : 10;
            const int area = 5 * firstOutside;
            EXPECT_EQ(Summarise(r, 3, ray), (Summary{5, 0, 0, firstOutside, 0, firstOutside, firstOutside, area}))
                << "ray " << ray;
        }
    }
}

TEST_P(ProfileAnalysisTest, EachPhaseAndOnlyTheSelectedSliceIsRead)
{
    for (int x = 0; x < 128; ++x)
        for (int y = 0; y < 128; ++y)
            for (int slice = 0; slice < 16; ++slice)
                for (int phase = 0; phase < 16; ++phase)
                    volume.at(x, y, slice, phase) = static_cast<int16_t>(slice == 3 ? 100 + phase : 9000);
    inputs.slice = 3;
    inputs.radius = 20;
    const ProfileResults &r = run();
    for (int phase = 0; phase < 16; ++phase)
        for (int ray = 0; ray < 64; ++ray) {
            ASSERT_EQ(r.ProfileSamples[7][phase][ray], 100 + phase);
            ASSERT_EQ(r.ProfileSamples[30][phase][ray], 0);
            ASSERT_EQ(r.ProfilePeak[phase][ray], 100 + phase);
        }
}

TEST_P(ProfileAnalysisTest, ProfilesReduceToTheirPeakEdgesWidthAndArea)
{
    struct Case {
        const char *what;
        int areaPercent, widthPercent, radius;
        std::vector<std::pair<int, int>> samples; // (k, count) along ray 56; every other sample 0
        Summary expected;
    };
    const std::vector<Case> cases = {
        {"two samples equal to the maximum: the inner one is the peak",
         40,
         20,
         40,
         {{5, 10}, {12, 30}, {13, 20}, {15, 30}},
         {30, 12, 11, 14, 11, 14, 3, 0 + 30 + 20 + 0}},
        {"peak 50 with A 40 %: 20 is not below, 19 is",
         40,
         20,
         40,
         {{8, 19}, {9, 20}, {10, 50}, {11, 20}, {12, 19}},
         {50, 10, 8, 12, 7, 13, 6, 19 + 20 + 50 + 20 + 19}},
        {"peak 7 with A 40 %: 2 is below 2.8, 3 is not; nothing inward is below 1.4",
         40,
         20,
         40,
         {{0, 6}, {1, 6}, {2, 6}, {3, 2}, {4, 3}, {5, 7}, {6, 3}, {7, 2}},
         {7, 5, 3, 7, 0, 8, 8, 2 + 3 + 7 + 3 + 2}},
        {"peak 7 with A 43 %: 3 is below 3.01",
         43,
         20,
         40,
         {{2, 3}, {3, 4}, {4, 7}, {5, 4}, {6, 3}},
         {7, 4, 2, 6, 1, 7, 6, 3 + 4 + 7 + 4 + 3}},
        {"negative counts count as 0 and never become the peak",
         40,
         20,
         40,
         {{2, -7}, {3, 4}, {4, -32768}, {5, 4}, {6, 1}},
         {4, 3, 2, 4, 2, 4, 2, 4}},
        {"a profile without a positive count",
         40,
         20,
         40,
         {{0, -3}, {1, -1}, {2, -300}, {9, -1}},
         {0, 0, 0, 0, 0, 0, 0, 0}},
        {"peak at the centre: no inward search",
         40,
         20,
         40,
         {{0, 90}, {1, 60}, {2, 30}},
         {90, 0, 0, 2, 0, 3, 3, 90 + 60 + 30}},
        {"the walls are delimited by the first samples outside them",
         40,
         20,
         40,
         {{15, 10},
          {16, 30},
          {17, 30},
          {18, 50},
          {19, 50},
          {20, 100},
          {21, 50},
          {22, 50},
          {23, 50},
          {24, 25},
          {25, 25},
          {26, 10}},
         {100, 20, 17, 24, 15, 26, 11, 30 + 50 + 50 + 100 + 50 + 50 + 50 + 25}},
        {"thresholds of 0 % have no sample below them",
         0,
         0,
         40,
         {{15, 10}, {16, 30}, {20, 100}, {24, 25}, {26, 10}},
         {100, 20, 0, 0, 0, 0, 0, 0}},
        {"thresholds of 100 %: everything short of the peak is below",
         100,
         100,
         40,
         {{3, 5}, {4, 9}, {5, 9}, {6, 4}},
         {9, 4, 3, 6, 3, 6, 3, 5 + 9 + 9 + 4}},
        {"the first sample beyond the radius ends the wall",
         40,
         20,
         10,
         {{4, 0}, {5, 50}, {6, 50}, {7, 50}, {8, 50}, {9, 50}, {10, 50}, {11, 50}, {12, 50}},
         {50, 5, 4, 11, 4, 11, 7, 6 * 50}},
        {"never below up to sample 63: no outer edge, no area, a negative width",
         40,
         20,
         64,
         [] {
             std::vector<std::pair<int, int>> s = {{0, 50}, {1, 10}};
             for (int k = 2; k < 64; ++k)
                 s.emplace_back(k, k == 30 ? 100 : 50);
             return s;
         }(),
         {100, 30, 1, 0, 1, 0, -1, 0}},
    };
    const int phase = 11;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        fill(0);
        inputs.areaThreshold = c.areaPercent;
        inputs.widthThreshold = c.widthPercent;
        inputs.radius = c.radius;
        setRightRay(phase, c.samples);
        const ProfileResults &r = run();
        EXPECT_EQ(Summarise(r, phase, RayRight), c.expected);
        for (int k = 0; k < 64; ++k)
            ASSERT_GE(r.ProfileSamples[k][phase][RayRight], 0) << "sample " << k;
        // The other phases of the ray saw only zeros.
        EXPECT_EQ(Summarise(r, 0, RayRight), (Summary{0, 0, 0, 0, 0, 0, 0, 0}));
    }
}

TEST_P(ProfileAnalysisTest, ARunDoesNotDependOnTheRunBeforeIt)
{
    // Run 1 finds walls on every ray of phase 2; run 2 looks where no edges can be found.
    const std::vector<std::pair<int, int>> wall = {{15, 10}, {16, 30}, {17, 30}, {18, 50}, {19, 50}, {20, 100},
                                                   {21, 50}, {22, 50}, {23, 50}, {24, 25}, {25, 25}, {26, 10}};
    setRightRay(2, wall);
    EXPECT_EQ(Summarise(run(), 2, RayRight), (Summary{100, 20, 17, 24, 15, 26, 11, 405}));

    SCOPED_TRACE("the peak at the centre: the inner edges are those of a fresh run, 0");
    fill(0);
    setRightRay(2, {{0, 90}, {1, 60}, {2, 30}});
    EXPECT_EQ(Summarise(run(), 2, RayRight), (Summary{90, 0, 0, 2, 0, 3, 3, 180}));

    SCOPED_TRACE("an empty slice after a full one: no edge, width or area survives");
    fill(0);
    setRightRay(2, wall);
    run();
    inputs.slice = 0;
    run();
    for (int phase = 0; phase < 16; ++phase)
        for (int ray = 0; ray < 64; ++ray)
            ASSERT_EQ(Summarise(*results, phase, ray), (Summary{0, 0, 0, 0, 0, 0, 0, 0}));

    SCOPED_TRACE("results full of stale values give the same as zeroed ones");
    inputs.slice = 7;
    auto fresh = std::make_unique<ProfileResults>();
    GetParam().analyse(volume, inputs, *fresh);
    std::memset(static_cast<void *>(results.get()), 0x5A, sizeof(ProfileResults));
    run();
    EXPECT_EQ(std::memcmp(results.get(), fresh.get(), sizeof(ProfileResults)), 0);
}

TEST_P(ProfileAnalysisTest, InputsOutsideTheirRangesReadNothingAndStayInBounds)
{
    fill(77);
    struct Case {
        const char *what;
        int slice, centreX, centreY, radius;
    };
    const Case cases[] = {
        {"slice after the last", 16, 64, 64, 40}, {"negative slice", -1, 64, 64, 40},
        {"negative radius", 7, 64, 64, -1},       {"centre far to the left", 7, INT_MIN, 64, 40},
        {"centre far below", 7, 64, INT_MAX, 40}, {"centre just beyond the reach of any ray", 7, 191, -64, 64},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        inputs = {c.slice, c.centreX, c.centreY, c.radius, 40, 20};
        std::memset(static_cast<void *>(results.get()), 0x5A, sizeof(ProfileResults));
        run();
        const auto *bytes = reinterpret_cast<const unsigned char *>(results.get());
        ASSERT_EQ(std::count(bytes, bytes + sizeof(ProfileResults), 0),
                  static_cast<std::ptrdiff_t>(sizeof(ProfileResults)));
    }
    // Radius 0 keeps the centre alone; a radius beyond the last sample keeps every sample.
    inputs = {};
    inputs.radius = 0;
    EXPECT_EQ(Summarise(run(), 4, RayLeft), (Summary{77, 0, 0, 1, 0, 1, 1, 77}));
    inputs.radius = INT_MAX;
    EXPECT_EQ(run().ProfileSamples[63][4][RayLeft], 77);
}

std::vector<Implementation> Implementations()
{
    std::vector<Implementation> all = {
        {"Fast", AnalyseProfiles}, {"Portable", AnalyseProfilesPortable}, {"Reference", ReferenceAnalyseProfiles}};
    if (Avx2AnalysisAvailable())
        all.push_back({"Avx2", AnalyseProfilesAvx2});
    return all;
}

INSTANTIATE_TEST_SUITE_P(, ProfileAnalysisTest, ::testing::ValuesIn(Implementations()),
                         [](const ::testing::TestParamInfo<Implementation> &info) { return info.param.name; });

} // namespace
