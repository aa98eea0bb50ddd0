// The phantom's counts: a ventricle whose wall counts rise into systole and fall back, its
// cavity, its shape from apex to base, the defect, the hot spot, the scale and the noise.
// The measurements are made here, on the study as the reader loads it (128 x 128 per slice,
// the ventricle's axis at cell (64, 64)).
#include "Phantom.h"
#include "StudyReader.h"
#include "TestStudy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <memory>
#include <numeric>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int Rays = 64;
constexpr int MiddleSlices[] = {6, 7, 8, 9};

std::unique_ptr<Study> LoadPhantom(const PhantomOptions &options)
{
    TempDir dir;
    std::string error;
    EXPECT_TRUE(WritePhantomStudy(dir.file("P"), options, error)) << error;
    auto study = std::make_unique<Study>();
    const LoadResult result = LoadStudySet(dir.file("P.d01"), *study);
    EXPECT_TRUE(result.ok) << result.message;
    return study;
}

// Screen angle of ray i in degrees, counter-clockwise from straight right.
double RayAngle(int ray)
{
    return ray * 360.0 / Rays;
}

struct RayPeak {
    int count = 0;    // the largest count along the ray, within 40 cells of the centre
    int distance = 0; // where it was first met
};

// The largest count along each of 64 rays from cell (64, 64) out to a radius of 40.
std::array<RayPeak, Rays> RayPeaks(const Study &study, int slice, int phase)
{
    std::array<RayPeak, Rays> peaks{};
    for (int ray = 0; ray < Rays; ++ray) {
        const double a = RayAngle(ray) * Pi / 180.0;
        for (int k = 0; k <= 40; ++k) {
            const int x = 64 + int(std::lround(k * std::cos(a)));
            const int y = 64 - int(std::lround(k * std::sin(a))); // rows grow downwards
            const int v = study.volume.at(x, y, slice, phase);
            if (v > peaks[std::size_t(ray)].count)
                peaks[std::size_t(ray)] = {v, k};
        }
    }
    return peaks;
}

double MeanPeak(const std::array<RayPeak, Rays> &peaks)
{
    return std::accumulate(peaks.begin(), peaks.end(), 0.0,
                           [](double sum, const RayPeak &p) { return sum + p.count; }) /
           Rays;
}

// The mean ray peak over the middle slices.
double MiddlePeak(const Study &study, int phase)
{
    double sum = 0.0;
    for (int slice : MiddleSlices)
        sum += MeanPeak(RayPeaks(study, slice, phase));
    return sum / std::size(MiddleSlices);
}

// The mean ray peak over the middle slices of the rays within 30 degrees of a direction.
double SectorPeak(const Study &study, int phase, double direction)
{
    double sum = 0.0;
    int n = 0;
    for (int slice : MiddleSlices) {
        const auto peaks = RayPeaks(study, slice, phase);
        for (int ray = 0; ray < Rays; ++ray) {
            const double off = std::fabs(std::remainder(RayAngle(ray) - direction, 360.0));
            if (off <= 30.0) {
                sum += peaks[std::size_t(ray)].count;
                ++n;
            }
        }
    }
    return sum / n;
}

int16_t Pixel(const std::vector<int16_t> &pixels, int phase, int slice, int column, int row)
{
    return pixels[SourceIndex(phase, slice, column, row)];
}

TEST(Phantom, WallPeaksRiseIntoEndSystoleAndFallBack)
{
    const auto study = LoadPhantom({});
    std::array<double, 16> peak{};
    for (int phase = 0; phase < 16; ++phase)
        peak[std::size_t(phase)] = MiddlePeak(*study, phase);

    for (int endSystole : {6, 7}) {
        const double rise = peak[std::size_t(endSystole)] / peak[0] - 1.0;
        EXPECT_GE(rise, 0.20) << "phase " << endSystole;
        EXPECT_LE(rise, 0.40) << "phase " << endSystole;
    }
    EXPECT_NEAR(peak[15] / peak[0], 1.0, 0.03);
    for (int phase = 1; phase <= 6; ++phase)
        EXPECT_GT(peak[std::size_t(phase)], peak[std::size_t(phase - 1)]) << "contraction at phase " << phase;
    for (int phase = 8; phase <= 15; ++phase)
        EXPECT_LE(peak[std::size_t(phase)], peak[std::size_t(phase - 1)]) << "relaxation at phase " << phase;

    // The whole wall thickens, not only part of it.
    for (int slice : MiddleSlices) {
        const auto rest = RayPeaks(*study, slice, 0), systole = RayPeaks(*study, slice, 7);
        for (int ray = 0; ray < Rays; ++ray)
            EXPECT_GT(systole[std::size_t(ray)].count, 1.15 * rest[std::size_t(ray)].count)
                << "slice " << slice << " ray " << ray;
    }
}

TEST(Phantom, CavityStaysAFractionOfTheWall)
{
    const auto study = LoadPhantom({});
    for (int phase : {0, 3, 7, 11})
        for (int slice : MiddleSlices) {
            const double ratio = study->volume.at(64, 64, slice, phase) / MeanPeak(RayPeaks(*study, slice, phase));
            EXPECT_GE(ratio, 0.10) << "slice " << slice << " phase " << phase;
            EXPECT_LE(ratio, 0.25) << "slice " << slice << " phase " << phase;
        }
}

TEST(Phantom, ClosedApexWideningRingOpenBase)
{
    const auto study = LoadPhantom({});
    const auto maxCount = [](const std::array<RayPeak, Rays> &peaks) {
        int m = 0;
        for (const RayPeak &p : peaks)
            m = std::max(m, p.count);
        return m;
    };
    const auto meanDistance = [](const std::array<RayPeak, Rays> &peaks) {
        double sum = 0.0;
        for (const RayPeak &p : peaks)
            sum += p.distance;
        return sum / Rays;
    };
    for (int phase : {0, 7}) {
        // Near the apex the centre is the hottest: the cap has no cavity.
        const auto apex = RayPeaks(*study, 1, phase);
        EXPECT_GE(study->volume.at(64, 64, 1, phase), 0.9 * maxCount(apex)) << "phase " << phase;
        // The ring widens towards the base.
        EXPECT_LT(meanDistance(RayPeaks(*study, 4, phase)) + 2.0, meanDistance(RayPeaks(*study, 10, phase)))
            << "phase " << phase;
        // Past the base the counts fade.
        EXPECT_LT(MeanPeak(RayPeaks(*study, 15, phase)), 0.5 * MeanPeak(RayPeaks(*study, 8, phase)))
            << "phase " << phase;
    }
    // Systole makes the cavity smaller: the peaks move inwards.
    EXPECT_LT(meanDistance(RayPeaks(*study, 8, 7)) + 1.0, meanDistance(RayPeaks(*study, 8, 0)));
}

TEST(Phantom, DefectSectorHasFewerCountsAndThickensLess)
{
    struct Case {
        double start, width;
        double middle; // the direction in the middle of the sector
    } cases[] = {
        {45, 90, 90},   // the default, the top wall
        {225, 90, 270}, // the bottom wall
        {150, 60, 180}, // the left wall
        {330, 60, 0},   // a sector across 0 degrees
    };
    for (const Case &c : cases) {
        PhantomOptions options;
        options.defect = true;
        options.defectStart = c.start;
        options.defectWidth = c.width;
        const auto study = LoadPhantom(options);
        const double opposite = c.middle + 180.0;
        const double defectRest = SectorPeak(*study, 0, c.middle), normalRest = SectorPeak(*study, 0, opposite);
        EXPECT_LT(defectRest, 0.7 * normalRest) << "sector at " << c.start;
        const double defectRise = SectorPeak(*study, 7, c.middle) / defectRest - 1.0;
        const double normalRise = SectorPeak(*study, 7, opposite) / normalRest - 1.0;
        EXPECT_GE(normalRise, 0.20) << "sector at " << c.start;
        EXPECT_LT(defectRise, normalRise - 0.08) << "sector at " << c.start;
    }
}

TEST(Phantom, DefectOfNoDepthChangesNothing)
{
    PhantomOptions shallow;
    shallow.defect = true;
    shallow.defectDepth = 0.0;
    EXPECT_EQ(MakePhantomPixels(shallow), MakePhantomPixels({}));
}

TEST(Phantom, PeakOptionSetsTheHottestCountOfPhaseZero)
{
    struct Case {
        int peak;
        bool systoleHotter; // not at 1 count (rounding) nor at 32767 (saturation)
    } cases[] = {{1, false}, {250, true}, {1000, true}, {32767, false}};
    for (const auto [peak, systoleHotter] : cases) {
        PhantomOptions options;
        options.peak = peak;
        const auto pixels = MakePhantomPixels(options);
        ASSERT_EQ(pixels.size(), std::size_t(16) * 16 * 64 * 64);
        const auto phase0End = pixels.begin() + 16 * 64 * 64;
        EXPECT_EQ(*std::max_element(pixels.begin(), phase0End), peak);
        EXPECT_GE(*std::min_element(pixels.begin(), pixels.end()), 0) << "peak " << peak;
        const int16_t hottest = *std::max_element(phase0End, pixels.end());
        if (systoleHotter)
            EXPECT_GT(hottest, peak) << "peak " << peak;
        else
            EXPECT_EQ(hottest, peak) << "peak " << peak;
    }
}

TEST(Phantom, CountsSaturateInsteadOfWrapping)
{
    PhantomOptions options;
    options.peak = 30000;
    options.hotSpot = true; // hotter than the heart: beyond 32767 before saturation
    options.noise = true;
    const auto pixels = MakePhantomPixels(options);
    EXPECT_GE(*std::min_element(pixels.begin(), pixels.end()), 0);
    // The middle of the hot spot, 15 pixels left of and 15 below the axis, around slice 11.
    for (int phase : {0, 7, 15})
        EXPECT_EQ(Pixel(pixels, phase, 11, 32 - 15, 32 + 15), 32767) << "phase " << phase;
}

TEST(Phantom, HotSpotLiesBelowLeftOutsideTheHeart)
{
    PhantomOptions options;
    options.hotSpot = true;
    const auto withSpot = MakePhantomPixels(options);
    const auto without = MakePhantomPixels({});
    const auto hottest = std::max_element(withSpot.begin(), withSpot.end()) - withSpot.begin();
    const int column = int(hottest % 64), row = int(hottest / 64 % 64);
    EXPECT_LT(column, 32 - 8);
    EXPECT_GT(row, 32 + 8);
    EXPECT_GT(withSpot[std::size_t(hottest)], 1200); // hotter than any of the heart
    EXPECT_LT(without[std::size_t(hottest)], 100);   // only the body there without it

    // The heart itself is left alone.
    int largestChange = 0;
    for (int phase = 0; phase < 16; ++phase)
        for (int slice = 0; slice < 16; ++slice)
            for (int row = 32 - 10; row <= 32 + 10; ++row)
                for (int column = 32 - 10; column <= 32 + 10; ++column)
                    if ((row - 32) * (row - 32) + (column - 32) * (column - 32) <= 100)
                        largestChange = std::max(largestChange, std::abs(Pixel(withSpot, phase, slice, column, row) -
                                                                         Pixel(without, phase, slice, column, row)));
    EXPECT_LE(largestChange, 10);
}

TEST(Phantom, CentreOffsetMovesTheWholeStudy)
{
    struct Case {
        int dx, dy;
    } cases[] = {{5, -3}, {-7, 6}, {0, 9}};
    const auto centred = MakePhantomPixels({});
    for (const Case &c : cases) {
        PhantomOptions options;
        options.centreDx = c.dx;
        options.centreDy = c.dy;
        const auto moved = MakePhantomPixels(options);
        int mismatches = 0;
        for (int phase = 0; phase < 16; ++phase)
            for (int slice = 0; slice < 16; ++slice)
                for (int row = 32 - 12; row <= 32 + 12; ++row)
                    for (int column = 32 - 12; column <= 32 + 12; ++column)
                        mismatches += Pixel(centred, phase, slice, column, row) !=
                                      Pixel(moved, phase, slice, column + c.dx, row + c.dy);
        EXPECT_EQ(mismatches, 0) << "offset " << c.dx << "," << c.dy;
        EXPECT_NE(moved, centred);
    }
}

TEST(Phantom, NoiseFollowsTheSeedAndPoissonStatistics)
{
    PhantomOptions clean;
    PhantomOptions otherSeed = clean;
    otherSeed.seed = 99;
    EXPECT_EQ(MakePhantomPixels(clean), MakePhantomPixels(otherSeed)) << "without noise the seed does not matter";

    PhantomOptions noisy = clean;
    noisy.noise = true;
    const auto a = MakePhantomPixels(noisy);
    EXPECT_EQ(a, MakePhantomPixels(noisy)) << "the same seed gives the same counts";
    noisy.seed = 2;
    const auto b = MakePhantomPixels(noisy);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        differing += a[i] != b[i];
    EXPECT_GT(differing, a.size() / 2) << "another seed gives other counts";

    // Around the noise-free counts of the wall, (noisy - clean) / sqrt(clean) has mean 0 and
    // variance 1.
    const auto mean = MakePhantomPixels(clean);
    double sum = 0.0, squares = 0.0;
    int n = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (mean[i] >= 400) {
            const double z = (a[i] - mean[i]) / std::sqrt(double(mean[i]));
            sum += z;
            squares += z * z;
            ++n;
        }
    ASSERT_GT(n, 10000);
    EXPECT_NEAR(sum / n, 0.0, 0.03);
    EXPECT_NEAR(squares / n, 1.0, 0.05);
}

TEST(Phantom, OptionsOutOfRangeAreRefused)
{
    struct Case {
        const char *what;
        void (*change)(PhantomOptions &);
    } cases[] = {
        {"peak 0", [](PhantomOptions &o) { o.peak = 0; }},
        {"peak 32768", [](PhantomOptions &o) { o.peak = 32768; }},
        {"centre 17 right", [](PhantomOptions &o) { o.centreDx = 17; }},
        {"centre 17 up", [](PhantomOptions &o) { o.centreDy = -17; }},
        {"defect width 0", [](PhantomOptions &o) { o.defectWidth = 0.0; }},
        {"defect width 361", [](PhantomOptions &o) { o.defectWidth = 361.0; }},
        {"defect start not a number", [](PhantomOptions &o) { o.defectStart = std::nan(""); }},
        {"defect depth 1.5", [](PhantomOptions &o) { o.defectDepth = 1.5; }},
        {"defect depth -0.1", [](PhantomOptions &o) { o.defectDepth = -0.1; }},
        {"patient ID of 20 bytes", [](PhantomOptions &o) { o.patientId = std::string(20, 'I'); }},
        {"patient name of 30 bytes", [](PhantomOptions &o) { o.patientName = std::string(30, 'N'); }},
    };
    EXPECT_EQ(CheckPhantomOptions({}), "");
    for (const Case &c : cases) {
        PhantomOptions options;
        c.change(options);
        EXPECT_NE(CheckPhantomOptions(options), "") << c.what;
        TempDir dir;
        std::string error;
        EXPECT_FALSE(WritePhantomStudy(dir.file("P"), options, error)) << c.what;
        EXPECT_NE(error, "") << c.what;
        EXPECT_FALSE(std::filesystem::exists(dir.file("P.d01"))) << c.what;
    }
    // The limits themselves are fine.
    PhantomOptions edge;
    edge.peak = 32767;
    edge.centreDx = -16;
    edge.centreDy = 16;
    edge.defectWidth = 360.0;
    edge.defectDepth = 1.0;
    edge.patientId = std::string(19, 'I');
    edge.patientName = std::string(29, 'N');
    EXPECT_EQ(CheckPhantomOptions(edge), "");
}

TEST(Phantom, WriteNamesTheFileItCannotWrite)
{
    TempDir dir;
    std::string error;
    EXPECT_FALSE(WritePhantomStudy(dir.file("missing/P"), {}, error));
    EXPECT_NE(error.find(dir.file("missing/P.d01")), std::string::npos) << error;
    EXPECT_FALSE(WritePhantomStudy("", {}, error));
    EXPECT_NE(error, "");
}

TEST(Phantom, WrittenStudyCarriesThePatientFields)
{
    PhantomOptions options;
    options.patientId = "ID-12345";
    options.patientName = "DOE^JANE";
    const auto study = LoadPhantom(options);
    EXPECT_STREQ(study->PatientId, "ID-12345");
    EXPECT_STREQ(study->PatientName, "DOE^JANE");
    const auto defaults = LoadPhantom({});
    EXPECT_STREQ(defaults->PatientId, "PHANTOM-0001");
    EXPECT_STREQ(defaults->PatientName, "PHANTOM^GATED");
    EXPECT_GE(defaults->CountRange, 1000); // phase 0 peaks at 1000, systole above
}

} // namespace
