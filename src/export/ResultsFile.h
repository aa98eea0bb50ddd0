// The CSV results file of the count-profile analysis, in its two variants: A, the full
// results of one slice, and B, one percentage per slice and ray for four quantities.
// Plain C++ without Qt; the window's save command and corvista-export both call these, so
// the same study and settings give the same bytes.
#pragma once

#include "GatedVolume.h"
#include "ProfileAnalysis.h"
#include "ProgramData.h"

#include <cstdint>
#include <ostream>
#include <string>

struct ResultsFileSettings {
    int variant = 0;         // 0 variant A, 1 variant B (ExportVariant)
    int curPhase = 7;        // the reference phase of every percentage, 0..15 (CurPhase)
    AnalysisInputs analysis; // ROI and thresholds; analysis.slice is CurSlice, 0..15
};

// Empty when the settings can be written; otherwise what is wrong with them.
std::string CheckResultsFileSettings(const ResultsFileSettings &settings);

// The percent change of ray `ray` from the base phase 0 to the reference phase `curPhase`:
// (r - b) / r * 100 with r the reference value, or 0 when r is 0.
double PercentChange(const int16_t (&quantity)[ProfileResults::Phases][ProfileResults::Rays], int curPhase, int ray);
double PercentChange(const int32_t (&quantity)[ProfileResults::Phases][ProfileResults::Rays], int curPhase, int ray);

// Appends variant A for `results` as they stand, labelled "SLICE" with slice + 1. No analysis.
void AppendVariantA(std::string &out, const ProfileResults &results, int slice, int curPhase);

// Replaces `out` by the whole results file. Variant A analyses analysis.slice first, so its
// numbers belong to the slice it names; variant B analyses each of the 16 slices once. Either
// way `results` describe analysis.slice afterwards. False (and `out` empty) for bad settings.
bool FormatResultsFile(std::string &out, const GatedVolume &volume, const ResultsFileSettings &settings,
                       ProfileResults &results);

// Formats the file and writes it to `out`; false for bad settings or when the stream fails.
// The stream's locale plays no part: the text is formatted before it reaches the stream.
bool WriteResultsFile(std::ostream &out, const GatedVolume &volume, const ResultsFileSettings &settings,
                      ProfileResults &results);

// Writes the file to `path` through a temporary file in the same folder, flushed to the disk
// and checked at every step, then renamed over the target; an existing target that is not a
// regular file (a device, a pipe) is written in place instead of being replaced. On failure:
// false, `error` names the file and the reason, an existing target is untouched and no
// temporary file is left.
bool SaveResultsFile(const std::string &path, const GatedVolume &volume, const ResultsFileSettings &settings,
                     ProfileResults &results, std::string &error);
