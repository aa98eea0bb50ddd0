// Writes a study set so that an existing set of the same name is either replaced whole or
// left as it was: all 16 files go to temporary names in the target folder first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes PREFIX.d01 .. PREFIX.d16 from pixels [phase][slice][row][column] through the study
// writer. On failure returns false, `error` says why, and no file of the set has changed.
bool ReplaceStudySet(const std::string &prefix, const std::string &patientId, const std::string &patientName,
                     const std::vector<int16_t> &pixels, std::string &error);
