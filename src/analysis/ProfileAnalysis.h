// The circumferential count-profile analysis of one slice: 64 rays cast from the ROI centre,
// sampled in all 16 phases, each profile reduced to its peak, wall edges, width and area.
// Plain C++ without Qt; the window gathers the inputs from its scroll bars and calls this.
#pragma once

#include "GatedVolume.h"
#include "ProgramData.h"

struct AnalysisInputs {
    int slice = 7;           // the slice analysed, 0..15; any other value reads nothing (all samples 0)
    int centreX = 64;        // ROI centre, first volume index (ScrollBarX position + 24)
    int centreY = 64;        // ROI centre, second volume index (ScrollBarY position + 24)
    int radius = 40;         // samples farther than this from the centre count as 0
    int areaThreshold = 40;  // percent of the peak that delimits the area
    int widthThreshold = 20; // percent of the peak that delimits the width
};

// Rewrites every entry of `results` for the given slice and all 16 phases. Each run starts
// from zeroed results, so an edge or area that a run does not find is 0 rather than whatever
// an earlier run of another slice or ROI left behind. Allocates nothing.
void AnalyseProfiles(const GatedVolume &volume, const AnalysisInputs &inputs, ProfileResults &results);
