// One reconstructed gated short-axis series read from a DICOM object with DCMTK: its frames
// put in order by the vectors the object names, and brought to 64 x 64. Internal to the import.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GatedSeries {
    int rows = 0;    // as stored
    int columns = 0; // as stored
    int gates = 0;   // Number of Time Slots
    int slices = 0;  // Number of Slices
    int rrIntervals = 1;
    bool isSigned = false;
    std::string sliceDirection; // Slice Progression Direction, "" when the object has none
    std::string patientId;      // the values as stored, every byte of them
    std::string patientName;

    // [gate][stored slice][row 0..63][column 0..63] of the first R-R interval; a 128 x 128
    // frame already reduced to the means of its 2 x 2 blocks.
    std::vector<int32_t> planes;
    // The sum of every stored value of each slice of the first gate, at the stored matrix.
    std::vector<int64_t> firstGateSums;

    const int32_t *plane(int gate, int slice) const
    {
        return planes.data() + (std::size_t(gate) * std::size_t(slices) + std::size_t(slice)) * 64 * 64;
    }
};

// Reads the object at `path`. On failure returns false and `reason` says why, in a few words
// a clinician can act on (no file name: the caller adds it).
bool ReadGatedSeries(const std::string &path, GatedSeries &series, std::string &reason);
