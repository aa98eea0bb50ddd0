// What the results-file tests share: volumes made in memory, and the file cut into lines and
// fields.
#pragma once

#include "GatedVolume.h"

#include <array>
#include <string>
#include <vector>

// Fills every cell of `slice` with one count per phase.
void FillSlice(GatedVolume &volume, int slice, const std::array<int16_t, 16> &phaseCounts);

// The lines of a file whose every line ends in CR LF, without their line ends. A bare CR or
// LF, or text after the last line end, fails the test.
std::vector<std::string> SplitLines(const std::string &text);

// The fields of a line that ends with a comma, without that comma.
std::vector<std::string> SplitFields(const std::string &line);

// "first,1,2,...,64," as the column headers are.
std::string NumberedHeader(const std::string &first);
