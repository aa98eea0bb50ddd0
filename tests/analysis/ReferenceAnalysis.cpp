#include "ReferenceAnalysis.h"

#include <cmath>
#include <cstdint>
#include <cstring>

void ReferenceAnalyseProfiles(const GatedVolume &volume, const AnalysisInputs &in, ProfileResults &r)
{
    // Every run starts from zeroed results.
    std::memset(static_cast<void *>(&r), 0, sizeof r);
    const bool sliceExists = in.slice >= 0 && in.slice < 16;
    const double pi = 4 * std::atan(1.0);
    for (int i = 0; i < 64; ++i) {
        const long double theta = 2.0L * pi * i / 64 + 3.0L * pi / 4;
        const double s = static_cast<double>(std::sin(theta));
        const double c = static_cast<double>(std::cos(theta));
        for (int j = 0; j < 16; ++j) {
            int peak = 0;
            int peakDist = 0;
            for (int k = 0; k < 64; ++k) {
                const long double ks = k * static_cast<long double>(s);
                const long double kc = k * static_cast<long double>(c);
                const long long x = static_cast<long long>(in.centreX) + static_cast<long long>(ks);
                const long long y = static_cast<long long>(in.centreY) + static_cast<long long>(kc);
                const long double d = std::sqrt(ks * ks + kc * kc);
                if (!sliceExists || x < 0 || x > 127 || y < 0 || y > 127 || d > in.radius) {
                    r.ProfileSamples[k][j][i] = 0;
                    continue;
                }
                const int v = volume.at(int(x), int(y), in.slice, j);
                r.ProfileSamples[k][j][i] = static_cast<int16_t>(v < 0 ? 0 : v);
                if (v > peak) {
                    peak = v;
                    peakDist = k;
                }
            }
            r.ProfilePeak[j][i] = static_cast<int16_t>(peak);
            r.ProfilePeakDist[j][i] = static_cast<int16_t>(peakDist);

            auto below = [&](int k, int percent) {
                return static_cast<long long>(r.ProfileSamples[k][j][i]) * 100 < static_cast<long long>(percent) * peak;
            };
            if (peakDist > 0) {
                for (int k = peakDist; k >= 0; --k)
                    if (below(k, in.areaThreshold)) {
                        r.InnerEdgeA[j][i] = static_cast<int16_t>(k);
                        break;
                    }
                for (int k = peakDist; k >= 0; --k)
                    if (below(k, in.widthThreshold)) {
                        r.InnerEdgeW[j][i] = static_cast<int16_t>(k);
                        break;
                    }
            }
            for (int k = peakDist; k < 64; ++k)
                if (below(k, in.areaThreshold)) {
                    r.OuterEdgeA[j][i] = static_cast<int16_t>(k);
                    break;
                }
            for (int k = peakDist; k < 64; ++k)
                if (below(k, in.widthThreshold)) {
                    r.OuterEdgeW[j][i] = static_cast<int16_t>(k);
                    break;
                }

            r.ProfileWidth[j][i] = static_cast<int16_t>(r.OuterEdgeW[j][i] - r.InnerEdgeW[j][i]);
            if (r.InnerEdgeA[j][i] != r.OuterEdgeA[j][i]) {
                int32_t area = 0;
                for (int k = r.InnerEdgeA[j][i]; k <= r.OuterEdgeA[j][i]; ++k)
                    area += r.ProfileSamples[k][j][i];
                r.ProfileArea[j][i] = area;
            }
        }
    }
}
