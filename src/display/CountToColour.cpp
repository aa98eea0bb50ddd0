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

    // reach[k]: the smallest distance d from lower, counted on the side where the product
    // is positive, with d x |scale| >= k in extended precision, so that the index is k or
    // more. The double estimate k / |scale| is off by a count or two at most; the exact
    // comparison settles it. An empty window behaves as an infinitely steep one: one
    // count past the bound reaches every entry.
    std::array<int64_t, Entries + 1> reach{};
    const long double magnitude = std::fabs((long double)scale_);
    const double inverse = width != 0 ? 1.0 / std::fabs(scale_) : 0.0;
    const auto reaches = [magnitude](int64_t d, int k) { return (long double)d * magnitude >= k; };
    for (int k = 1; k < Entries; ++k) {
        const int64_t floor = std::max<int64_t>(reach[std::size_t(k - 1)], 1);
        if (width == 0) {
            reach[std::size_t(k)] = 1;
            continue;
        }
        int64_t d = std::max(floor, static_cast<int64_t>(k * inverse));
        while (d > floor && reaches(d - 1, k))
            --d;
        while (!reaches(d, k))
            ++d;
        reach[std::size_t(k)] = d;
    }

    // Entry k covers the distances reach[k] .. reach[k + 1] - 1: the counts from
    // lower + reach[k] up when the window rises, from lower - reach[k] down when it is
    // inverted. Outside the counts where the index changes it stays at an end entry.
    const bool rising = width >= 0;
    const auto countAt = [&](int64_t distance) { return rising ? lower + distance : lower - distance; };
    spanFirst_ =
        int32_t(std::clamp(rising ? countAt(reach[1] - 1) : countAt(reach[Entries - 1]), LowestCount, HighestCount));
    spanLast_ =
        int32_t(std::clamp(rising ? countAt(reach[Entries - 1]) : countAt(reach[1] - 1), LowestCount, HighestCount));
    spanColours_.resize(std::size_t(spanLast_ - spanFirst_ + 1));
    reach[0] = rising ? spanFirst_ - lower : lower - spanLast_;               // entry 0 starts at the span's end
    reach[Entries] = rising ? spanLast_ + 1 - lower : lower - spanFirst_ + 1; // entry 511 runs to it
    for (int k = 0; k < Entries; ++k) {
        // The counts [from, to) of entry k, limited to the span.
        int64_t from = countAt(reach[std::size_t(k)]), to = countAt(reach[std::size_t(k + 1)]);
        if (!rising) {
            from = to + 1;
            to = countAt(reach[std::size_t(k)]) + 1;
        }
        from = std::clamp<int64_t>(from, spanFirst_, int64_t(spanLast_) + 1);
        to = std::clamp<int64_t>(to, spanFirst_, int64_t(spanLast_) + 1);
        if (from < to)
            std::fill(spanColours_.begin() + (from - spanFirst_), spanColours_.begin() + (to - spanFirst_),
                      ColourRefToRgb(table[std::size_t(k)]));
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
    // The clamp runs eight counts at a time in 16-bit lanes (the span lies within the
    // 16-bit counts and is at most 65,536 wide, so its offsets fit 16 bits unsigned); the
    // look-ups follow in a second pass.
    const auto first = int16_t(spanFirst_), last = int16_t(spanLast_);
    const uint32_t *colours = spanColours_.data();
    constexpr int Block = 128;
    uint16_t offsets[Block];
    for (int start = 0; start < n; start += Block) {
        const int m = std::min(Block, n - start);
        const int16_t *in = counts + start;
        for (int i = 0; i < m; ++i)
            offsets[i] = uint16_t(uint16_t(std::min(std::max(in[i], first), last)) - uint16_t(first));
        uint32_t *out = rgb + start;
        for (int i = 0; i < m; ++i)
            out[i] = colours[offsets[i]];
    }
}
