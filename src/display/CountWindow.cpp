#include "CountWindow.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr long double Point2 = 0.2; // the double nearest 0.2, widened
constexpr long double Point4 = 0.4;

int32_t saturate(long double value)
{
    constexpr long double lowest = std::numeric_limits<int32_t>::min();
    constexpr long double highest = std::numeric_limits<int32_t>::max();
    if (!(value >= lowest)) // also a NaN, which cannot arise from finite counts
        return std::numeric_limits<int32_t>::min();
    if (value > highest)
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value); // truncates toward zero
}

int32_t saturate(int64_t value)
{
    return int32_t(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace

CountWindow ComputeCountWindow(int32_t countRange, int32_t maxPosition, int32_t minPosition)
{
    CountWindow window;
    window.lower = saturate(Point4 * countRange - minPosition);
    window.upper = saturate(int64_t(countRange) - maxPosition);
    return window;
}

ColourBarCaptions ColourBarCaptionValues(bool percentMode, int32_t countRange, int32_t maxPosition, int32_t minPosition)
{
    if (percentMode)
        return {saturate(100 - int64_t(maxPosition)), minPosition};
    return {saturate(int64_t(countRange) - maxPosition),
            saturate(int64_t(saturate(Point4 * countRange)) - minPosition)};
}

CountBarsAfterLoad CountBarsForStudy(int32_t countRange)
{
    CountBarsAfterLoad bars{};
    bars.upperCaption = countRange;
    bars.lowerCaption = saturate(countRange * Point2);
    bars.maxPosition = 0;
    bars.barMaximum = std::max(saturate(countRange * Point4), 0);
    bars.minPosition = std::clamp(saturate(bars.barMaximum - countRange * Point2), 0, bars.barMaximum);
    return bars;
}
