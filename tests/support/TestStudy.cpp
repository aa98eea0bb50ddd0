#include "TestStudy.h"

#include "StudyWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "corvista-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::size_t SourceIndex(int phase, int slice, int column, int row)
{
    return ((std::size_t(phase) * 16 + slice) * 64 + row) * 64 + column;
}

std::vector<int16_t> MakeStudyPixels(const PixelFunction &pixel)
{
    std::vector<int16_t> pixels(StudyFileValues * 16);
    for (int p = 0; p < 16; ++p)
        for (int s = 0; s < 16; ++s)
            for (int r = 0; r < 64; ++r)
                for (int c = 0; c < 64; ++c)
                    pixels[SourceIndex(p, s, c, r)] = pixel(p, s, c, r);
    return pixels;
}

void WriteTestStudy(const std::string &prefix, const PixelFunction &pixel, const std::string &patientId,
                    const std::string &patientName)
{
    std::string error;
    ASSERT_TRUE(WriteStudySet(prefix, patientId, patientName, MakeStudyPixels(pixel), error)) << error;
}

std::string RealDataDir()
{
    const std::string dir = CORVISTA_REALDATA_DIR;
    return std::filesystem::exists(dir + "/heart.d01") ? dir : std::string();
}

const std::vector<AwkwardStudy> &AwkwardStudies()
{
    static const std::vector<AwkwardStudy> studies = {
        {"ZERO", [](int, int, int, int) { return int16_t(0); }},
        {"NEG",
         [](int phase, int slice, int column, int row) {
             return int16_t(-1 - (column * 131 + row * 517 + slice * 1031 + phase * 7) % 32768);
         }},
        {"HOT",
         [](int phase, int slice, int column, int row) {
             return int16_t(phase == 3 && slice == 7 && column == 32 && row == 32 ? 32767 : 0);
         }},
        {"ONE", [](int, int slice, int column, int row) { return int16_t((column + row + slice) % 2); }},
        {"TWO", [](int phase, int, int column, int row) { return int16_t((column * row + phase) % 3); }},
    };
    return studies;
}
