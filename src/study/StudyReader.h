// Reads a gated study file set (NAME.d01 .. NAME.d16, one file per phase) into a Study,
// doubling each 64 x 64 slice to 128 x 128. Knows nothing of the window: progress goes
// through a plain callback and failures come back as a message that names the file.
#pragma once

#include "Study.h"

#include <functional>
#include <string>

struct LoadResult {
    bool ok = false;
    std::string message; // empty on success; otherwise "<file>: <reason>"
};

// Called once per file, after it is opened and before its pixels are read, with the
// number of files completed so far (0..15).
using LoadProgress = std::function<void(int filesCompleted)>;

namespace StudyFormat {
constexpr long HeaderBytes = 9984;
constexpr long PixelBytes = 16L * 64 * 64 * 2; // 16 slices of 64 x 64 signed 16-bit counts
constexpr long MinFileBytes = HeaderBytes + PixelBytes; // 141056
constexpr long PatientIdOffset = 2;
constexpr long PatientIdBytes = 19;
constexpr long PatientNameOffset = 30;
constexpr long PatientNameBytes = 29;
constexpr int Files = 16;
constexpr int SourceSize = 64;
} // namespace StudyFormat

// The path of file `number` (1..16) of the set that `picked` belongs to: the last two
// characters of `picked` replaced by the two-digit number. `picked` must have two characters.
std::string StudyFilePath(const std::string &picked, int number);

// Reads the whole set. On success the study holds the new volume, CountRange and patient
// fields. On failure the study is left exactly as it was and the message names the file.
LoadResult LoadStudySet(const std::string &path, Study &study, const LoadProgress &progress = {});
