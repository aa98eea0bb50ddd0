// Small study sets made inside a test: a temporary folder and a writer of 16 frame files
// whose pixels come from a function of (phase, slice, column, row).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A folder below the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

using PixelFunction = std::function<int16_t(int phase, int slice, int column, int row)>;

// Pixels of a whole set, [phase][slice][row][column], as WriteStudySet takes them.
std::vector<int16_t> MakeStudyPixels(const PixelFunction &pixel);

// Writes PREFIX.d01 .. PREFIX.d16; fails the test when a file cannot be written.
void WriteTestStudy(const std::string &prefix, const PixelFunction &pixel, const std::string &patientId = "ID",
                    const std::string &patientName = "NAME");

// Index of source pixel (column, row) of slice and phase in MakeStudyPixels' vector.
std::size_t SourceIndex(int phase, int slice, int column, int row);

// The folder of the real patient study heart.d01..heart.d16, or "" when it is not there.
std::string RealDataDir();

// The awkward studies a clinic produces, for the tests of the window and of the tools: all
// zero, all negative down to the smallest count a file holds, one hot pixel at 32767, and a
// largest count of 1 and of 2.
struct AwkwardStudy {
    const char *name;
    PixelFunction pixels;
};
const std::vector<AwkwardStudy> &AwkwardStudies();
