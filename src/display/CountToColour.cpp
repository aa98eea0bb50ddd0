#include "CountToColour.h"

#include "Bitmap.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int Entries = 512;
constexpr int64_t LowestCount = -32768;
constexpr int64_t HighestCount = 32767;

} // namespace

CountToColour::CountToColour(const ColourTable &table, CountWindow window) : table_(table), window_(window)
{
    const int64_t lower = window.lower;
    const int64_t width = int64_t(window.upper) - lower;
    if (width != 0)
        scale_ = double(512.0L / (long double)width);

    // first[k]: the smallest distance d = |count - lower|, taken on the side where the
    // product is positive, whose product d x |scale| reaches k, so that the index is k or
    // more. An empty window behaves as an infinitely steep one: one count past the bound
    // reaches every entry.
    std::array<int64_t, Entries> first{};
    const long double magnitude = std::fabs((long double)scale_);
    for (int k = 1; k < Entries; ++k) {
        if (width == 0) {
            first[std::size_t(k)] = 1;
            continue;
        }
        const auto reaches = [&](int64_t d) { return (long double)d * magnitude >= k; };
        int64_t d = std::max<int64_t>(first[std::size_t(k - 1)], 1);
        const auto estimate = static_cast<int64_t>(std::ceil((long double)k / magnitude));
        d = std::max(d, estimate - 2);
        while (d > std::max<int64_t>(first[std::size_t(k - 1)], 1) && reaches(d - 1))
            --d;
        while (!reaches(d))
            ++d;
        first[std::size_t(k)] = d;
    }

    // The counts over which the index changes; outside them it stays at an end entry.
    const bool rising = width >= 0;
    int64_t spanFirst = rising ? lower + first[1] - 1 : lower - first[Entries - 1];
    int64_t spanLast = rising ? lower + first[Entries - 1] : lower - first[1] + 1;
    spanFirst_ = int32_t(std::clamp(spanFirst, LowestCount, HighestCount));
    spanLast_ = int32_t(std::clamp(spanLast, LowestCount, HighestCount));

    std::array<uint32_t, Entries> rgb{};
    for (int k = 0; k < Entries; ++k)
        rgb[std::size_t(k)] = ColourRefToRgb(table[std::size_t(k)]);

    spanColours_.resize(std::size_t(spanLast_ - spanFirst_ + 1));
    int k = 0;
    if (rising) {
        for (int64_t count = spanFirst_; count <= spanLast_; ++count) {
            while (k < Entries - 1 && count >= lower + first[std::size_t(k + 1)])
                ++k;
            spanColours_[std::size_t(count - spanFirst_)] = rgb[std::size_t(k)];
        }
    } else {
        for (int64_t count = spanLast_; count >= spanFirst_; --count) {
            while (k < Entries - 1 && count <= lower - first[std::size_t(k + 1)])
                ++k;
            spanColours_[std::size_t(count - spanFirst_)] = rgb[std::size_t(k)];
        }
    }
}

int CountToColour::index(int16_t count) const
{
    const int64_t difference = int64_t(count) - window_.lower;
    if (window_.upper == window_.lower)
        return difference <= 0 ? 0 : Entries - 1;
    const long double product = (long double)difference * (long double)scale_;
    if (product < 0)
        return 0;
    if (product >= Entries - 1)
        return Entries - 1;
    return static_cast<int>(product); // truncates toward zero
}

void CountToColour::mapCounts(const int16_t *counts, uint32_t *rgb, int n) const
{
    const uint32_t *colours = spanColours_.data();
    const int32_t firstCount = spanFirst_, lastCount = spanLast_;
    for (int i = 0; i < n; ++i) {
        const int32_t count = std::clamp<int32_t>(counts[i], firstCount, lastCount);
        rgb[i] = colours[count - firstCount];
    }
}
