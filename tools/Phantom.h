// A generator of synthetic gated studies of the left ventricle, in the study file format:
// the sample study, test fixtures and benchmark input. Plain C++, no Qt.
//
// The heart: a left ventricle from the apex (slice 0) to the open base (the last slices), its
// myocardium a slightly elliptical shell whose cavity shrinks and whose wall thickens over
// systole (end-systole between phases 6 and 7, back at rest by phase 14), in a faint body,
// smoothed by a Gaussian as a reconstruction would. The smoothing is what makes the thicker
// systolic wall look hotter (the partial-volume effect), so the peak counts along a ray from
// the ventricle's centre rise by about a quarter to a third at end-systole and fall back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PhantomOptions {
    uint64_t seed = 1;  // seeds the noise; the same seed gives the same counts
    bool noise = false; // Poisson noise on every count; without it the output is deterministic

    // The counts at the hottest point of the heart in phase 0, before noise (1..32767).
    int peak = 1000;

    // The ventricle's long axis, in source pixels from the middle (column 32, row 32) of every
    // slice: right and down are positive (-16..16). The whole body moves with it.
    int centreDx = 0;
    int centreDy = 0;

    // A perfusion defect: a sector of the wall, through every slice, with fewer counts and less
    // thickening. Angles in degrees on the screen, counter-clockwise from straight right (90 is
    // up, towards row 0); the sector runs from start to start + width, with soft edges.
    bool defect = false;
    double defectStart = 45.0; // the anterior wall, at the top of the picture
    double defectWidth = 90.0; // 1..360
    double defectDepth = 0.5;  // the share of the counts and of the thickening lost (0..1)

    // A hot blob outside the heart, below and to the left of it, like gut or liver activity,
    // brighter than the heart.
    bool hotSpot = false;

    std::string patientId = "PHANTOM-0001";    // at most 19 bytes, the header's field
    std::string patientName = "PHANTOM^GATED"; // at most 29 bytes
};

// Empty when the options can be used; otherwise what is wrong with them.
std::string CheckPhantomOptions(const PhantomOptions &options);

// The counts of all 16 phases, [phase][slice][row][column] (16 x 16 x 64 x 64), the layout
// WriteStudySet takes. Options out of range are brought into range first. Counts lie in
// 0..32767.
std::vector<int16_t> MakePhantomPixels(const PhantomOptions &options);

// Writes PREFIX.d01 .. PREFIX.d16. On failure `error` says why and names the file.
bool WritePhantomStudy(const std::string &prefix, const PhantomOptions &options, std::string &error);

// The noise source, open for its own tests: a xoshiro256** generator seeded through
// splitmix64, and a Poisson sampler of our own, so that a seed gives the same counts with any
// standard library.
class PhantomRandom {
public:
    explicit PhantomRandom(uint64_t seed);
    uint64_t next();
    double uniform(); // in [0, 1), 53 random bits
    // A Poisson-distributed count of the given mean (mean <= 0 gives 0; means above 1e9 are
    // taken as 1e9).
    int64_t poisson(double mean);

private:
    uint64_t s_[4];
};
