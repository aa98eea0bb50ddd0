// Writes study files in the format the reader takes: a 9984-byte header holding the patient
// ID and name, then 16 slices of 64 x 64 signed 16-bit little-endian counts. The program
// itself never writes studies; the phantom generator, the tests and the benchmarks do.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pixels of one file: [slice 0..15][row 0..63][column 0..63].
constexpr std::size_t StudyFileValues = 16 * 64 * 64;

// Writes one file. Returns false with a message naming the file when it cannot be written.
bool WriteStudyFile(const std::string &path, const std::string &patientId, const std::string &patientName,
                    const int16_t *pixels, std::string &error);

// Writes PREFIX.d01 .. PREFIX.d16 from pixels [phase 0..15][slice][row][column]; every file
// carries the same patient fields.
bool WriteStudySet(const std::string &prefix, const std::string &patientId, const std::string &patientName,
                   const std::vector<int16_t> &pixels, std::string &error);
