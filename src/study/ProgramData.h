// All of the program's data in one object, owned by the main window and passed by reference:
// the study, the view state, the colour table, the count window and the profile results.
// Fixed sizes, allocated once for the life of the program.
#pragma once

#include "Study.h"
#include "ViewState.h"

#include <array>
#include <cstdint>

// 512 colours in the layout 0x00BBGGRR (red in the low byte); filled by the count-mode colour bar.
using ColourTable = std::array<uint32_t, 512>;

// The count window of the colour mapping, recomputed by each count image before it draws.
struct CountWindow {
    int32_t lower = 0;
    int32_t upper = 0;
};

// The results of the latest circumferential count-profile analysis of one slice.
// Phase comes before ray everywhere; the sample index is the slowest index of the samples.
struct ProfileResults {
    static constexpr int Samples = 64;
    static constexpr int Phases = 16;
    static constexpr int Rays = 64;

    int16_t ProfileSamples[Samples][Phases][Rays] = {};
    int16_t ProfilePeak[Phases][Rays] = {};
    int16_t ProfilePeakDist[Phases][Rays] = {};
    int16_t InnerEdgeA[Phases][Rays] = {};
    int16_t OuterEdgeA[Phases][Rays] = {};
    int16_t InnerEdgeW[Phases][Rays] = {};
    int16_t OuterEdgeW[Phases][Rays] = {};
    int16_t ProfileWidth[Phases][Rays] = {};
    int32_t ProfileArea[Phases][Rays] = {};
};

struct ProgramData {
    Study study;
    ViewState view;
    ColourTable colourTable{}; // all zero until the first count-mode colour bar
    CountWindow DisplayWindow;
    ProfileResults profiles;
};
