// The analysis works on eight rays at a time: the sample planes of ProfileResults keep the
// 64 rays of one phase side by side, so a 16-byte vector holds one sample of eight profiles
// and every rule of a profile (peak, edges, area) becomes a lane-wise step over the samples.
#include "ProfileAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr int Samples = ProfileResults::Samples;
constexpr int Phases = ProfileResults::Phases;
constexpr int Rays = ProfileResults::Rays;
constexpr int Lanes = 8;
constexpr int Blocks = Rays / Lanes;
static_assert(Phases == GatedVolume::Phases && Phases == 2 * Lanes);

using V8 = int16_t __attribute__((vector_size(16)));
using V4 = int32_t __attribute__((vector_size(16)));

// Where sample k of ray i lies relative to the centre, and the smallest whole radius that keeps
// it inside the ROI. These depend on the ray and the sample only, so they are worked out once.
struct RayTable {
    int8_t dx[Samples][Rays];
    int8_t dy[Samples][Rays];
    int16_t keepRadius[Samples][Rays];
};

RayTable BuildRayTable()
{
    RayTable table{};
    const double pi = 4 * std::atan(1.0);
    for (int i = 0; i < Rays; ++i) {
        // Extended precision throughout, as for every expression of the program; the sine and
        // cosine are then kept as doubles.
        const long double theta = 2.0L * pi * i / 64 + 3.0L * pi / 4;
        const double s = static_cast<double>(std::sin(theta));
        const double c = static_cast<double>(std::cos(theta));
        for (int k = 0; k < Samples; ++k) {
            const long double ks = k * static_cast<long double>(s);
            const long double kc = k * static_cast<long double>(c);
            // Truncation toward zero: -2.7 becomes -2.
            table.dx[k][i] = static_cast<int8_t>(static_cast<int>(ks));
            table.dy[k][i] = static_cast<int8_t>(static_cast<int>(kc));
            // The length equals k up to rounding; only at k == radius does the rounding decide.
            // For a whole radius r, d <= r exactly when ceil(d) <= r.
            const long double d = std::sqrt(ks * ks + kc * kc);
            table.keepRadius[k][i] = static_cast<int16_t>(std::ceil(d));
        }
    }
    return table;
}

const RayTable &SharedRayTable()
{
    static const RayTable table = BuildRayTable();
    return table;
}

V8 Load(const int16_t *p)
{
    V8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void Store(int16_t *p, V8 v) { std::memcpy(p, &v, sizeof v); }
void Store(int32_t *p, V4 v) { std::memcpy(p, &v, sizeof v); }

V8 Max(V8 a, V8 b) { return a > b ? a : b; }
V8 Min(V8 a, V8 b) { return a < b ? a : b; }

// rows[r] holds eight values of ray r; afterwards rows[j] holds value j of the eight rays.
void Transpose(V8 (&rows)[Lanes])
{
    V8 t[Lanes], u[Lanes];
    for (int n = 0; n < Lanes; n += 2) {
        t[n] = __builtin_shufflevector(rows[n], rows[n + 1], 0, 8, 1, 9, 2, 10, 3, 11);
        t[n + 1] = __builtin_shufflevector(rows[n], rows[n + 1], 4, 12, 5, 13, 6, 14, 7, 15);
    }
    for (int n = 0; n < Lanes; n += 4) {
        u[n] = __builtin_shufflevector(t[n], t[n + 2], 0, 1, 8, 9, 2, 3, 10, 11);
        u[n + 1] = __builtin_shufflevector(t[n], t[n + 2], 4, 5, 12, 13, 6, 7, 14, 15);
        u[n + 2] = __builtin_shufflevector(t[n + 1], t[n + 3], 0, 1, 8, 9, 2, 3, 10, 11);
        u[n + 3] = __builtin_shufflevector(t[n + 1], t[n + 3], 4, 5, 12, 13, 6, 7, 14, 15);
    }
    for (int n = 0; n < 4; ++n) {
        rows[2 * n] = __builtin_shufflevector(u[n], u[n + 4], 0, 1, 2, 3, 8, 9, 10, 11);
        rows[2 * n + 1] = __builtin_shufflevector(u[n], u[n + 4], 4, 5, 6, 7, 12, 13, 14, 15);
    }
}

// The largest sample that is strictly below `percent` of `peak`: sample * 100 < percent * peak
// holds exactly when sample <= ceil(percent * peak / 100) - 1. -1 when no sample can be below.
int16_t BelowLimit(int percent, int peak)
{
    return static_cast<int16_t>(std::min((percent * peak + 99) / 100 - 1, 32767));
}

// Samples 0..lastInside of every ray, all 16 phases of a cell read together and written to
// the sample planes; negative counts and samples outside the volume or the ROI become 0.
void GatherSamples(const GatedVolume &volume, int slice, int x0, int y0, int radius, int lastInside,
                   ProfileResults &out)
{
    alignas(16) static const int16_t outside[Phases] = {};
    const RayTable &table = SharedRayTable();
    const V8 zero = {};
    for (int k = 0; k <= lastInside; ++k) {
        for (int b = 0; b < Blocks; ++b) {
            V8 low[Lanes], high[Lanes];
            for (int r = 0; r < Lanes; ++r) {
                const int i = b * Lanes + r;
                const int x = x0 + table.dx[k][i];
                const int y = y0 + table.dy[k][i];
                const bool inside = x >= 0 && x < GatedVolume::Width && y >= 0 && y < GatedVolume::Height &&
                                    table.keepRadius[k][i] <= radius;
                const int16_t *cell = inside ? volume.phases(x, y, slice) : outside;
                low[r] = Max(Load(cell), zero);
                high[r] = Max(Load(cell + Lanes), zero);
            }
            Transpose(low);
            Transpose(high);
            for (int j = 0; j < Lanes; ++j) {
                Store(&out.ProfileSamples[k][j][b * Lanes], low[j]);
                Store(&out.ProfileSamples[k][j + Lanes][b * Lanes], high[j]);
            }
        }
    }
    for (int k = lastInside + 1; k < Samples; ++k)
        std::memset(out.ProfileSamples[k], 0, sizeof out.ProfileSamples[k]);
}

// Peak, edges, width and area of the eight profiles of phase j, rays b*8 .. b*8+7. Samples
// beyond lastEdge are 0 and cannot move any result, so the scans stop there.
void ReduceProfiles(int j, int b, int lastInside, int lastEdge, int areaPercent, int widthPercent,
                    ProfileResults &out)
{
    const int ray = b * Lanes;
    const V8 one = {1, 1, 1, 1, 1, 1, 1, 1};
    const V8 none = {32767, 32767, 32767, 32767, 32767, 32767, 32767, 32767};

    // The first sample that reaches the maximum wins: only a strictly greater one replaces it.
    V8 peak = {}, peakDist = {}, k = {};
    for (int n = 0; n <= lastInside; ++n, k += one) {
        const V8 v = Load(&out.ProfileSamples[n][j][ray]);
        const V8 greater = v > peak;
        peak = greater ? v : peak;
        peakDist = greater ? k : peakDist;
    }

    V8 limitA, limitW;
    for (int r = 0; r < Lanes; ++r) {
        limitA[r] = BelowLimit(areaPercent, peak[r]);
        limitW[r] = BelowLimit(widthPercent, peak[r]);
    }

    // Inner edge: the largest index at or below the peak distance whose sample is below the
    // threshold (the first hit searching inwards); 0, as after a zeroed start, when none is.
    // With the peak at 0 the search would be skipped, and the only candidate, 0, changes nothing.
    // Outer edge: the smallest index at or above the peak distance whose sample is below.
    V8 innerA = {}, innerW = {}, outerA = none, outerW = none;
    k = V8{};
    for (int n = 0; n <= lastEdge; ++n, k += one) {
        const V8 v = Load(&out.ProfileSamples[n][j][ray]);
        const V8 inward = k <= peakDist;
        const V8 outward = k >= peakDist;
        const V8 belowA = v <= limitA;
        const V8 belowW = v <= limitW;
        innerA = Max(innerA, belowA & inward & k);
        innerW = Max(innerW, belowW & inward & k);
        outerA = Min(outerA, (belowA & outward) ? k : none);
        outerW = Min(outerW, (belowW & outward) ? k : none);
    }
    outerA = outerA == none ? V8{} : outerA;
    outerW = outerW == none ? V8{} : outerW;

    // Area: the samples from the inner to the outer area edge, both included; none when the
    // inner edge lies beyond the outer one, and 0 when the two coincide.
    V4 areaLow = {}, areaHigh = {};
    k = V8{};
    const V8 zero = {};
    for (int n = 0; n <= lastEdge; ++n, k += one) {
        const V8 v = Load(&out.ProfileSamples[n][j][ray]) & (k >= innerA) & (k <= outerA);
        areaLow += reinterpret_cast<V4>(__builtin_shufflevector(v, zero, 0, 8, 1, 9, 2, 10, 3, 11));
        areaHigh += reinterpret_cast<V4>(__builtin_shufflevector(v, zero, 4, 12, 5, 13, 6, 14, 7, 15));
    }
    const V8 distinct = innerA != outerA;
    areaLow &= reinterpret_cast<V4>(__builtin_shufflevector(distinct, distinct, 0, 0, 1, 1, 2, 2, 3, 3));
    areaHigh &= reinterpret_cast<V4>(__builtin_shufflevector(distinct, distinct, 4, 4, 5, 5, 6, 6, 7, 7));

    Store(&out.ProfilePeak[j][ray], peak);
    Store(&out.ProfilePeakDist[j][ray], peakDist);
    Store(&out.InnerEdgeA[j][ray], innerA);
    Store(&out.OuterEdgeA[j][ray], outerA);
    Store(&out.InnerEdgeW[j][ray], innerW);
    Store(&out.OuterEdgeW[j][ray], outerW);
    Store(&out.ProfileWidth[j][ray], outerW - innerW);
    Store(&out.ProfileArea[j][ray], areaLow);
    Store(&out.ProfileArea[j][ray + 4], areaHigh);
}

} // namespace

void AnalyseProfiles(const GatedVolume &volume, const AnalysisInputs &inputs, ProfileResults &results)
{
    // A centre more than 64 pixels outside the volume sees nothing either way; clamping it keeps
    // the sums below in range. A threshold below 0 finds no sample below it, just as 0 does, and
    // one above 100 finds every sample of a positive profile below it, just as 101 does.
    const int x0 = std::clamp(inputs.centreX, -Samples, GatedVolume::Width + Samples - 1);
    const int y0 = std::clamp(inputs.centreY, -Samples, GatedVolume::Height + Samples - 1);
    const int areaPercent = std::clamp(inputs.areaThreshold, 0, 101);
    const int widthPercent = std::clamp(inputs.widthThreshold, 0, 101);
    const bool sliceExists = inputs.slice >= 0 && inputs.slice < GatedVolume::Slices;

    // Sample k lies at a distance of k up to rounding, so samples beyond the radius are outside
    // the ROI; the first of them (if any) still takes part in the outer edge searches.
    const int lastInside = !sliceExists || inputs.radius < 0 ? -1 : std::min(inputs.radius, Samples - 1);
    const int lastEdge = std::min(lastInside + 1, Samples - 1);

    GatherSamples(volume, sliceExists ? inputs.slice : 0, x0, y0, inputs.radius, lastInside, results);
    for (int j = 0; j < Phases; ++j)
        for (int b = 0; b < Blocks; ++b)
            ReduceProfiles(j, b, lastInside, lastEdge, areaPercent, widthPercent, results);
}
