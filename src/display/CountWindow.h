// The count window of the colour mapping and the numbers around it: the window from the
// two bars, the captions above and below the colour bar, and the bar settings a newly
// loaded study starts with. All of it is integer results of extended-precision arithmetic
// (long double), with 0.2 and 0.4 taken as their double values, truncated toward zero.
#pragma once

#include "ProgramData.h"

#include <cstdint>

// The window for a study whose largest count is `countRange` (M), with ScrollBarMax at
// `maxPosition` (Pmax) and ScrollBarMin at `minPosition` (Pmin):
//   lower = trunc(0.4 x M - Pmin), upper = M - Pmax.
// Results beyond the 32-bit range saturate instead of overflowing.
CountWindow ComputeCountWindow(int32_t countRange, int32_t maxPosition, int32_t minPosition);

// What Label1 (above the colour bar) and Label2 (below it) show.
struct ColourBarCaptions {
    int32_t upper; // Label1
    int32_t lower; // Label2
};

// Count mode: M - Pmax and trunc(0.4 x M) - Pmin.
// Percent mode: 100 - Pmax and Pmin (the bars then hold percent limits).
ColourBarCaptions ColourBarCaptionValues(bool percentMode, int32_t countRange, int32_t maxPosition,
                                         int32_t minPosition);

// The count-window bars and captions right after a study with largest count M is loaded.
struct CountBarsAfterLoad {
    int32_t barMaximum;   // both bars run from 0 to trunc(M x 0.4)
    int32_t maxPosition;  // ScrollBarMax stands at 0: upper = M
    int32_t minPosition;  // ScrollBarMin at trunc(barMaximum - M x 0.2): lower near 0.2 x M
    int32_t upperCaption; // Label1: M
    int32_t lowerCaption; // Label2: trunc(M x 0.2)
};

// For M = 1000: bars 0..400, positions 0 and 199 (1000 x 0.2 is a little above 200 in
// extended precision), captions 1000 and 200. A negative M would give the bars a maximum
// below their minimum of 0; the bars then get no range (maximum and positions 0).
CountBarsAfterLoad CountBarsForStudy(int32_t countRange);
