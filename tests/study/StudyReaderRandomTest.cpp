// Frame files damaged at random, as a clinic's copies sometimes are: truncated, extended or
// with bytes overwritten. Every load either succeeds, with counts that come from the files,
// or is refused with a message that names a file of the set, and a refused load leaves the
// study in memory exactly as it was.
#include "StudyReader.h"
#include "TestStudy.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

namespace {

bool sameStudy(const Study &a, const Study &b)
{
    return std::memcmp(a.volume.data(), b.volume.data(), GatedVolume::CellCount * sizeof(int16_t)) == 0 &&
           a.CountRange == b.CountRange && std::memcmp(a.PatientId, b.PatientId, sizeof a.PatientId) == 0 &&
           std::memcmp(a.PatientName, b.PatientName, sizeof a.PatientName) == 0;
}

int16_t pattern(int phase, int slice, int column, int row)
{
    return int16_t(phase * 50 + slice * 20 + (column ^ row));
}

TEST(StudyReaderRandom, DamagedFilesLoadOrAreRefusedWithoutHarm)
{
    TempDir dir;
    std::mt19937 random(20261211);
    auto study = std::make_unique<Study>();
    // A good study first, which every refusal must leave in place.
    WriteTestStudy(dir.file("GOOD"), pattern);
    ASSERT_TRUE(LoadStudySet(dir.file("GOOD.d01"), *study).ok);
    const auto good = std::make_unique<Study>(*study);

    int refused = 0, loaded = 0;
    for (int round = 0; round < 40; ++round) {
        const std::string prefix = dir.file(std::string(1, 'R').append(std::to_string(round)));
        WriteTestStudy(prefix, pattern);
        const int file = int(random() % 16) + 1;
        const std::string path = StudyFilePath(prefix + ".d01", file);
        const auto size = long(std::filesystem::file_size(path));
        enum { Truncate, Extend, Corrupt } damage = decltype(damage)(random() % 3);
        bool shorter = false;
        if (damage == Truncate) {
            const long to = long(random() % std::uint32_t(size));
            std::filesystem::resize_file(path, std::uintmax_t(to));
            shorter = to < StudyFormat::MinFileBytes;
        } else if (damage == Extend) {
            std::ofstream(path, std::ios::binary | std::ios::app) << std::string(random() % 5000 + 1, '\x7f');
        } else {
            std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
            for (int n = 0; n < 50; ++n) {
                f.seekp(long(random() % std::uint32_t(size)));
                f.put(char(random() & 0xFF));
            }
        }
        const auto before = std::make_unique<Study>(*study);
        const LoadResult result = LoadStudySet(prefix + ".d01", *study);
        if (shorter) {
            ASSERT_FALSE(result.ok) << round;
            EXPECT_NE(result.message.find(std::filesystem::path(path).filename().string()), std::string::npos)
                << result.message;
            EXPECT_TRUE(sameStudy(*study, *before)) << "a refused load changed the study, round " << round;
            EXPECT_TRUE(sameStudy(*study, *good));
            ++refused;
        } else {
            ASSERT_TRUE(result.ok) << round << ": " << result.message;
            // Files other than the damaged one read as written.
            const int other = file == 1 ? 2 : 1;
            EXPECT_EQ(study->volume.at(2 * 5, 2 * 7, 3, other - 1), pattern(other - 1, 3, 5, 7));
            ++loaded;
            // Back to the good study for the next refusal.
            ASSERT_TRUE(LoadStudySet(dir.file("GOOD.d01"), *study).ok);
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(loaded, 0);
}

} // namespace
