// The count-profile analysis written the plain way, one profile and one sample at a time,
// in the order the rules are stated. The tests hold the fast analysis to it, bit for bit.
#pragma once

#include "ProfileAnalysis.h"

void ReferenceAnalyseProfiles(const GatedVolume &volume, const AnalysisInputs &inputs, ProfileResults &results);
