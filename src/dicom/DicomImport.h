// Import of a reconstructed, reoriented gated short-axis series exported as one DICOM NM
// object (Image Type "RECON GATED TOMO") into the program's 16 phases x 16 slices of 64 x 64.
// Plain C++ on DCMTK; the core study library knows nothing of DICOM.
#pragma once

#include "Study.h"

#include <cstdint>
#include <string>
#include <vector>

struct DicomImportOptions {
    int firstSlice = 0;            // 1-based, apex to base; 0: the 16 centred on the counts
    bool reverse = false;          // flip the stored order when the object does not state it
    bool interpolateGates = false; // make 16 phases of 8 gates
};

// The 16 frames of a study set as the study writer takes them, with what was done to get them.
struct ImportedStudy {
    std::vector<int16_t> pixels; // [phase 0..15][slice 0..15][row 0..63][column 0..63]
    std::string patientId;       // at most 19 bytes, ASCII
    std::string patientName;     // at most 29 bytes, ASCII

    int rows = 0, columns = 0; // the stored matrix
    int gates = 0;
    int rrIntervals = 1;
    int storedSlices = 0;
    int firstSlice = 0;   // 1-based, apex-to-base order
    int slicesTaken = 0;  // 16 unless the object holds fewer
    int32_t largest = 0;  // the largest value before scaling
    int32_t scaledTo = 0; // 32767 when the values were scaled, else 0
    std::string summary;  // one line: matrix, gates, slices taken, factor, and what else was done
};

enum class ImportFailure {
    None,
    File,   // the object cannot be read or is not one we take
    Option, // an option does not fit this object (a first slice out of range)
};

struct DicomImportResult {
    ImportFailure failure = ImportFailure::None;
    std::string message; // empty on success; otherwise the reason
    ImportedStudy study;
    bool ok() const { return failure == ImportFailure::None; }
};

DicomImportResult ImportDicom(const std::string &path, const DicomImportOptions &options = {});

// Puts an imported study into `study` with the same doubling the frame-file reader does.
void FillStudy(const ImportedStudy &imported, Study &study);

// The header field from a DICOM value: its first `bytes` bytes, each outside printable ASCII
// replaced by "?".
std::string AsciiField(const std::string &value, std::size_t bytes);
