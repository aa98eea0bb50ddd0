// The builds of the analysis, open for the tests that hold each of them to the reference.
// AnalyseProfiles picks the fastest one the processor can run.
#pragma once

#include "ProfileAnalysis.h"

// Eight rays at a time, with the instructions every x86-64 processor has (or plain C++ elsewhere).
void AnalyseProfilesPortable(const GatedVolume &volume, const AnalysisInputs &inputs, ProfileResults &results);

// Sixteen rays at a time with AVX2. Call it only when Avx2AnalysisAvailable() says so.
bool Avx2AnalysisAvailable();
void AnalyseProfilesAvx2(const GatedVolume &volume, const AnalysisInputs &inputs, ProfileResults &results);
