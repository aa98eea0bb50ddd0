// The analysis works on many rays at once: the sample planes of ProfileResults keep the 64
// rays of one phase side by side, so one vector holds the same sample of 8 (or, where the
// processor has AVX2, 16) profiles, and every rule of a profile (peak, edges, area) becomes a
// lane-wise step over the samples, with no branch on the counts.
#include "ProfileAnalysis.h"
#include "ProfileAnalysisVariants.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

// The wide vectors only ever live inside the AVX2 build, so the note that their calling
// convention differs without AVX does not concern us.
#pragma GCC diagnostic ignored "-Wpsabi"

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define CORVISTA_ANALYSIS_AVX2 1
#endif

// Everything a build calls is inlined into it, so each build compiles all of it for its own
// instruction set, and no vector crosses a call between builds.
#define CORVISTA_INLINE inline __attribute__((always_inline))

namespace {

constexpr int Samples = ProfileResults::Samples;
constexpr int Phases = ProfileResults::Phases;
constexpr int Rays = ProfileResults::Rays;
static_assert(Phases == GatedVolume::Phases && Phases == 16);

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

// The inputs of a run, brought into ranges where every sum stays small.
struct RunInputs {
    int slice;        // 0..15; a slice that does not exist reads nothing (lastInside -1)
    int x0, y0;       // the centre, -64..191: farther out no sample lands in the volume anyway
    int radius;       // as given
    int areaPercent;  // 0..101
    int widthPercent; // 0..101
    int lastInside;   // the last sample index that can lie inside the ROI, -1..63
    int lastEdge;     // the last sample index an edge search can stop at, 0..63
};

// The largest sample that is strictly below `percent` of `peak`: sample * 100 < percent * peak
// holds exactly when sample <= ceil(percent * peak / 100) - 1. -1 when no sample can be below.
CORVISTA_INLINE int16_t BelowLimit(int percent, int peak)
{
    return static_cast<int16_t>(std::min((percent * peak + 99) / 100 - 1, 32767));
}

template <class T> CORVISTA_INLINE T LoadVector(const void *p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class T> CORVISTA_INLINE void StoreVector(void *p, const T &v)
{
    std::memcpy(p, &v, sizeof v);
}

using Cell8 = int16_t __attribute__((vector_size(16)));

// rows[r] holds eight values of ray r; afterwards rows[j] holds value j of the eight rays.
CORVISTA_INLINE void Transpose(Cell8 (&rows)[8])
{
    Cell8 t[8], u[8];
    for (int n = 0; n < 8; n += 2) {
        t[n] = __builtin_shufflevector(rows[n], rows[n + 1], 0, 8, 1, 9, 2, 10, 3, 11);
        t[n + 1] = __builtin_shufflevector(rows[n], rows[n + 1], 4, 12, 5, 13, 6, 14, 7, 15);
    }
    for (int n = 0; n < 8; n += 4) {
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

// Samples 0..lastInside of every ray, the 16 phases of a cell read together and written,
// eight rays at a time, to the sample planes; negative counts and samples outside the volume
// or the ROI become 0. The planes beyond lastInside are all 0.
CORVISTA_INLINE void GatherSamples(const GatedVolume &volume, const RunInputs &in, ProfileResults &out)
{
    alignas(16) static const int16_t outside[Phases] = {};
    const RayTable &table = SharedRayTable();
    const Cell8 zero = {};
    for (int k = 0; k <= in.lastInside; ++k) {
        for (int ray = 0; ray < Rays; ray += 8) {
            Cell8 low[8], high[8];
            for (int r = 0; r < 8; ++r) {
                const int i = ray + r;
                const int x = in.x0 + table.dx[k][i];
                const int y = in.y0 + table.dy[k][i];
                const bool inside = x >= 0 && x < GatedVolume::Width && y >= 0 && y < GatedVolume::Height &&
                                    table.keepRadius[k][i] <= in.radius;
                const int16_t *cell = inside ? volume.phases(x, y, in.slice) : outside;
                const Cell8 a = LoadVector<Cell8>(cell);
                const Cell8 b = LoadVector<Cell8>(cell + 8);
                low[r] = a > zero ? a : zero;
                high[r] = b > zero ? b : zero;
            }
            Transpose(low);
            Transpose(high);
            for (int j = 0; j < 8; ++j) {
                StoreVector(&out.ProfileSamples[k][j][ray], low[j]);
                StoreVector(&out.ProfileSamples[k][j + 8][ray], high[j]);
            }
        }
    }
    for (int k = in.lastInside + 1; k < Samples; ++k)
        std::memset(out.ProfileSamples[k], 0, sizeof out.ProfileSamples[k]);
}

// Vectors of L counts (int16) and of L/2 sums (int32).
template <int L> struct Lanes;
template <> struct Lanes<8> {
    using Count = int16_t __attribute__((vector_size(16)));
    using Sum = int32_t __attribute__((vector_size(16)));
    CORVISTA_INLINE static Sum low(Count v)
    {
        return __builtin_convertvector(__builtin_shufflevector(v, v, 0, 1, 2, 3), Sum);
    }
    CORVISTA_INLINE static Sum high(Count v)
    {
        return __builtin_convertvector(__builtin_shufflevector(v, v, 4, 5, 6, 7), Sum);
    }
};
template <> struct Lanes<16> {
    using Count = int16_t __attribute__((vector_size(32)));
    using Sum = int32_t __attribute__((vector_size(32)));
    CORVISTA_INLINE static Sum low(Count v)
    {
        return __builtin_convertvector(__builtin_shufflevector(v, v, 0, 1, 2, 3, 4, 5, 6, 7), Sum);
    }
    CORVISTA_INLINE static Sum high(Count v)
    {
        return __builtin_convertvector(__builtin_shufflevector(v, v, 8, 9, 10, 11, 12, 13, 14, 15), Sum);
    }
};

// Peak, edges, width and area of the 64 profiles of phase j. The rays are handled side by side
// so that the running values of different lanes do not wait on one another. Samples beyond
// lastEdge are 0 and cannot move any result, so the scans stop there.
template <int L> CORVISTA_INLINE void ReduceProfiles(int j, const RunInputs &in, ProfileResults &out)
{
    using V = typename Lanes<L>::Count;
    using S = typename Lanes<L>::Sum;
    constexpr int N = Rays / L;
    V one, none;
    for (int r = 0; r < L; ++r) {
        one[r] = 1;
        none[r] = 32767;
    }

    // The first sample that reaches the maximum wins: the peak distance is the last k at which
    // the running peak rose, the largest such k.
    V peak[N] = {}, peakDist[N] = {};
    V k = {};
    for (int n = 0; n <= in.lastInside; ++n, k += one) {
        const int16_t *row = out.ProfileSamples[n][j];
        for (int b = 0; b < N; ++b) {
            const V v = LoadVector<V>(row + b * L);
            const V rose = (v > peak[b]) & k;
            peak[b] = v > peak[b] ? v : peak[b];
            peakDist[b] = rose > peakDist[b] ? rose : peakDist[b];
        }
    }

    V limitA[N], limitW[N];
    for (int b = 0; b < N; ++b)
        for (int r = 0; r < L; ++r) {
            limitA[b][r] = BelowLimit(in.areaPercent, peak[b][r]);
            limitW[b][r] = BelowLimit(in.widthPercent, peak[b][r]);
        }

    // Inner edge: the largest index at or below the peak distance whose sample is below the
    // threshold (the first hit searching inwards); 0, as after a zeroed start, when there is
    // none. With the peak at 0 the search is skipped, and its only candidate, 0, changes nothing.
    // Outer edge: the smallest index at or above the peak distance whose sample is below.
    V innerA[N] = {}, innerW[N] = {}, outerA[N], outerW[N];
    for (int b = 0; b < N; ++b)
        outerA[b] = outerW[b] = none;
    k = V{};
    for (int n = 0; n <= in.lastEdge; ++n, k += one) {
        const int16_t *row = out.ProfileSamples[n][j];
        for (int b = 0; b < N; ++b) {
            const V v = LoadVector<V>(row + b * L);
            const V inward = k > peakDist[b] ? V{} : k;
            const V outward = peakDist[b] > k ? none : k;
            const V belowA = v <= limitA[b];
            const V belowW = v <= limitW[b];
            const V innerCandidateA = belowA & inward, innerCandidateW = belowW & inward;
            const V outerCandidateA = belowA ? outward : none, outerCandidateW = belowW ? outward : none;
            innerA[b] = innerCandidateA > innerA[b] ? innerCandidateA : innerA[b];
            innerW[b] = innerCandidateW > innerW[b] ? innerCandidateW : innerW[b];
            outerA[b] = outerCandidateA < outerA[b] ? outerCandidateA : outerA[b];
            outerW[b] = outerCandidateW < outerW[b] ? outerCandidateW : outerW[b];
        }
    }
    for (int b = 0; b < N; ++b) {
        outerA[b] = outerA[b] == none ? V{} : outerA[b];
        outerW[b] = outerW[b] == none ? V{} : outerW[b];
    }

    // Area: the samples from the inner to the outer area edge, both included; nothing when the
    // inner edge lies beyond the outer one, and 0 when the two coincide.
    S areaLow[N] = {}, areaHigh[N] = {};
    k = V{};
    for (int n = 0; n <= in.lastEdge; ++n, k += one) {
        const int16_t *row = out.ProfileSamples[n][j];
        for (int b = 0; b < N; ++b) {
            const V v = LoadVector<V>(row + b * L) & (k >= innerA[b]) & (k <= outerA[b]);
            areaLow[b] += Lanes<L>::low(v);
            areaHigh[b] += Lanes<L>::high(v);
        }
    }

    for (int b = 0; b < N; ++b) {
        const int ray = b * L;
        const V distinct = innerA[b] != outerA[b];
        StoreVector(&out.ProfilePeak[j][ray], peak[b]);
        StoreVector(&out.ProfilePeakDist[j][ray], peakDist[b]);
        StoreVector(&out.InnerEdgeA[j][ray], innerA[b]);
        StoreVector(&out.OuterEdgeA[j][ray], outerA[b]);
        StoreVector(&out.InnerEdgeW[j][ray], innerW[b]);
        StoreVector(&out.OuterEdgeW[j][ray], outerW[b]);
        StoreVector(&out.ProfileWidth[j][ray], outerW[b] - innerW[b]);
        StoreVector(&out.ProfileArea[j][ray], areaLow[b] & Lanes<L>::low(distinct));
        StoreVector(&out.ProfileArea[j][ray + L / 2], areaHigh[b] & Lanes<L>::high(distinct));
    }
}

template <int L> CORVISTA_INLINE void Analyse(const GatedVolume &volume, const RunInputs &in, ProfileResults &out)
{
    GatherSamples(volume, in, out);
    for (int j = 0; j < Phases; ++j)
        ReduceProfiles<L>(j, in, out);
}

RunInputs Prepare(const AnalysisInputs &inputs)
{
    RunInputs in{};
    const bool sliceExists = inputs.slice >= 0 && inputs.slice < GatedVolume::Slices;
    in.slice = sliceExists ? inputs.slice : 0;
    // A centre more than 64 pixels outside the volume sees nothing either way. A threshold
    // below 0 finds no sample below it, just as 0 does, and one above 100 finds every sample of
    // a positive profile below it, just as 101 does.
    in.x0 = std::clamp(inputs.centreX, -Samples, GatedVolume::Width + Samples - 1);
    in.y0 = std::clamp(inputs.centreY, -Samples, GatedVolume::Height + Samples - 1);
    in.radius = inputs.radius;
    in.areaPercent = std::clamp(inputs.areaThreshold, 0, 101);
    in.widthPercent = std::clamp(inputs.widthThreshold, 0, 101);
    // Sample k lies at a distance of k up to rounding, so samples beyond the radius are outside
    // the ROI; the first of them (if any) still takes part in the outer edge searches.
    in.lastInside = !sliceExists || inputs.radius < 0 ? -1 : std::min(inputs.radius, Samples - 1);
    in.lastEdge = std::min(in.lastInside + 1, Samples - 1);
    return in;
}

} // namespace

void AnalyseProfilesPortable(const GatedVolume &volume, const AnalysisInputs &inputs, ProfileResults &results)
{
    Analyse<8>(volume, Prepare(inputs), results);
}

#ifdef CORVISTA_ANALYSIS_AVX2
bool Avx2AnalysisAvailable()
{
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}

[[gnu::target("avx2")]] void AnalyseProfilesAvx2(const GatedVolume &volume, const AnalysisInputs &inputs,
                                                 ProfileResults &results)
{
    Analyse<16>(volume, Prepare(inputs), results);
}
#else
bool Avx2AnalysisAvailable()
{
    return false;
}

void AnalyseProfilesAvx2(const GatedVolume &volume, const AnalysisInputs &inputs, ProfileResults &results)
{
    AnalyseProfilesPortable(volume, inputs, results);
}
#endif

void AnalyseProfiles(const GatedVolume &volume, const AnalysisInputs &inputs, ProfileResults &results)
{
    if (Avx2AnalysisAvailable())
        AnalyseProfilesAvx2(volume, inputs, results);
    else
        AnalyseProfilesPortable(volume, inputs, results);
}
