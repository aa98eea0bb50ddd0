// The study reader: file names of a set, the doubling of each slice, the count range, the
// patient fields, and the failures that must leave the study in memory as it was.
#include "StudyReader.h"
#include "StudyWriter.h"
#include "TestStudy.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

// A pattern that tells every source pixel apart and stays far from the 16-bit limits.
int16_t pattern(int phase, int slice, int column, int row)
{
    return int16_t((phase * 7 + slice * 3) * 100 + column * 5 + row * 3 - 900);
}

bool sameStudy(const Study &a, const Study &b)
{
    return std::memcmp(a.volume.data(), b.volume.data(), GatedVolume::CellCount * sizeof(int16_t)) == 0 &&
           a.CountRange == b.CountRange && std::memcmp(a.PatientId, b.PatientId, sizeof a.PatientId) == 0 &&
           std::memcmp(a.PatientName, b.PatientName, sizeof a.PatientName) == 0;
}

TEST(StudyFilePath, ReplacesTheLastTwoCharacters)
{
    struct Case {
        const char *picked;
        int number;
        const char *expected;
    } cases[] = {
        {"/data/P.d05", 1, "/data/P.d01"}, {"/data/P.d05", 9, "/data/P.d09"},
        {"/data/P.d01", 10, "/data/P.d10"}, {"/data/P.d01", 16, "/data/P.d16"},
        {"study.dat", 3, "study.d03"},      {"ab", 12, "12"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StudyFilePath(c.picked, c.number), c.expected) << c.picked << " #" << c.number;
}

TEST(LoadStudySet, DoublesEverySliceWithMeansTruncatedTowardZero)
{
    // Each case sets the four source pixels around one in-between cell of its own slice and
    // phase; every other source pixel is 0.
    struct Case {
        const char *what;
        int slice, phase, c, r;
        int16_t p00, p10, p01, p11; // (c, r), (c+1, r), (c, r+1), (c+1, r+1)
        int x, y;                  // the cell looked at
        int16_t expected;
    } cases[] = {
        {"10 and -3 across a row give 3", 0, 0, 0, 0, 10, -3, 0, 0, 1, 0, 3},
        {"10 and -11 across a row give 0, not -1", 1, 0, 0, 0, 10, -11, 0, 0, 1, 0, 0},
        {"-3 and 0 down a column give -1, not -2", 2, 3, 5, 7, -3, 0, 0, 0, 10, 15, -1},
        {"four values summing to -5 give -1, not -2", 3, 4, 10, 20, -5, 0, 0, 0, 21, 41, -1},
        {"four values summing to 7 give 1", 4, 5, 30, 30, 1, 2, 3, 1, 61, 61, 1},
        {"the source pixel itself is unchanged", 5, 15, 62, 62, -32768, 32767, 0, 0, 124, 124, -32768},
        {"extreme values cannot overflow the mean", 6, 15, 40, 2, 32767, 32767, 32767, 32767, 81, 5, 32767},
        {"opposite extremes", 7, 8, 40, 2, -32768, 32767, 0, 0, 81, 4, 0},
        {"the right-hand neighbour in column 63", 8, 9, 62, 0, 0, 40, 0, 0, 125, 0, 20},
    };
    TempDir dir;
    const std::string prefix = dir.file("P");
    WriteTestStudy(prefix, [&](int phase, int slice, int column, int row) -> int16_t {
        for (const Case &c : cases) {
            if (c.slice != slice || c.phase != phase)
                continue;
            if (column == c.c && row == c.r) return c.p00;
            if (column == c.c + 1 && row == c.r) return c.p10;
            if (column == c.c && row == c.r + 1) return c.p01;
            if (column == c.c + 1 && row == c.r + 1) return c.p11;
        }
        return 0;
    });
    Study study;
    ASSERT_TRUE(LoadStudySet(prefix + ".d01", study).ok);
    for (const Case &c : cases)
        EXPECT_EQ(study.volume.at(c.x, c.y, c.slice, c.phase), c.expected) << c.what;
}

TEST(LoadStudySet, PlacesEverySourcePixelAndLeavesTheUnwrittenCellsZero)
{
    TempDir dir;
    WriteTestStudy(dir.file("P"), pattern);
    Study study;
    ASSERT_TRUE(LoadStudySet(dir.file("P.d01"), study).ok);
    const GatedVolume &v = study.volume;
    for (int p = 0; p < 16; ++p)
        for (int s = 0; s < 16; ++s) {
            for (int r = 0; r < 64; ++r)
                for (int c = 0; c < 64; ++c)
                    ASSERT_EQ(v.at(2 * c, 2 * r, s, p), pattern(p, s, c, r)) << c << "," << r << " s" << s << " p" << p;
            for (int i = 0; i < 128; ++i) {
                ASSERT_EQ(v.at(127, i, s, p), 0) << "x 127, y " << i;
                ASSERT_EQ(v.at(i, 127, s, p), 0) << "y 127, x " << i;
                if (i % 2 == 1) {
                    ASSERT_EQ(v.at(i, 126, s, p), 0) << "odd x " << i << " of row 126";
                    ASSERT_EQ(v.at(126, i, s, p), 0) << "odd y " << i << " of column 126";
                }
            }
            EXPECT_EQ(v.at(125, 126, s, p), 0);
            EXPECT_EQ(v.at(126, 126, s, p), pattern(p, s, 63, 63));
            // An interior 2 x 2 mean, worked out from the pattern: the four neighbours of
            // (2c+1, 2r+1) differ by 5 across a row and 3 down a column.
            EXPECT_EQ(v.at(21, 31, s, p), (4 * pattern(p, s, 10, 15) + 2 * 5 + 2 * 3) / 4);
        }
}

TEST(LoadStudySet, ReadsTheWholeSetInOrderWhicheverMemberWasPicked)
{
    TempDir dir;
    const std::string prefix = dir.file("P");
    std::vector<int16_t> pixels = MakeStudyPixels([](int phase, int, int, int) { return int16_t(phase + 1); });
    for (int n = 1; n <= 16; ++n) {
        // Every file carries other patient fields; only those of file 01 count.
        std::string error;
        const std::string id = "ID-OF-FILE-" + std::to_string(n), name = "NAME^" + std::to_string(n);
        ASSERT_TRUE(WriteStudyFile(StudyFilePath(prefix + ".d00", n), id, name,
                                   pixels.data() + std::size_t(n - 1) * StudyFileValues, error))
            << error;
    }
    std::vector<int> progress;
    Study study;
    const LoadResult result = LoadStudySet(prefix + ".d05", study, [&](int done) { progress.push_back(done); });
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(study.volume.at(64, 64, 8, p), p + 1) << "phase " << p << " comes from file " << p + 1;
    EXPECT_STREQ(study.PatientId, "ID-OF-FILE-1");
    EXPECT_STREQ(study.PatientName, "NAME^1");
    EXPECT_EQ(study.CountRange, 16);
}

TEST(LoadStudySet, TakesPatientFieldsWithoutAZeroByteWhole)
{
    TempDir dir;
    WriteTestStudy(dir.file("P"), pattern, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz0123456789");
    Study study;
    ASSERT_TRUE(LoadStudySet(dir.file("P.d01"), study).ok);
    EXPECT_STREQ(study.PatientId, "ABCDEFGHIJKLMNOPQRS"); // 19 bytes, then the buffer's own 0
    EXPECT_STREQ(study.PatientName, "abcdefghijklmnopqrstuvwxyz012"); // 29 bytes
    EXPECT_EQ(study.PatientId[19], 0);
    EXPECT_EQ(study.PatientName[29], 0);
}

TEST(LoadStudySet, CountRangeIsTheSignedMaximumOfTheRawValues)
{
    struct Case {
        const char *what;
        PixelFunction pixel;
        int32_t expected;
    } cases[] = {
        {"an all-negative study", [](int p, int s, int c, int r) { return int16_t(-5 - p - s - c - r); }, -5},
        {"the largest value in the very last pixel read",
         [](int p, int s, int c, int r) { return int16_t(p == 15 && s == 15 && c == 63 && r == 63 ? 32767 : 100); },
         32767},
        {"the largest value in the first pixel read",
         [](int p, int s, int c, int r) { return int16_t(p + s + c + r == 0 ? 1000 : -32768); }, 1000},
        {"an all-zero study", [](int, int, int, int) { return int16_t(0); }, 0},
    };
    for (const Case &c : cases) {
        TempDir dir;
        WriteTestStudy(dir.file("P"), c.pixel);
        Study study;
        study.CountRange = 12345;
        ASSERT_TRUE(LoadStudySet(dir.file("P.d01"), study).ok) << c.what;
        EXPECT_EQ(study.CountRange, c.expected) << c.what;
    }
}

TEST(LoadStudySet, AFailedLoadNamesTheFileAndKeepsTheStudyInMemory)
{
    TempDir good;
    WriteTestStudy(good.file("GOOD"), pattern, "KEPT-ID", "KEPT^NAME");
    Study study;
    ASSERT_TRUE(LoadStudySet(good.file("GOOD.d01"), study).ok);
    const Study before = study;

    struct Case {
        const char *what;
        std::function<void(const std::string &prefix)> damage;
        std::string expected;
        std::vector<int> progress;
    } cases[] = {
        {"file 09 missing", [](const std::string &prefix) { std::filesystem::remove(prefix + ".d09"); },
         "P.d09: no such file", {0, 1, 2, 3, 4, 5, 6, 7}},
        {"file 03 truncated",
         [](const std::string &prefix) { std::filesystem::resize_file(prefix + ".d03", 120000); },
         "P.d03: 120000 bytes; a frame file needs at least 141056", {0, 1}},
        {"file 16 one byte short",
         [](const std::string &prefix) { std::filesystem::resize_file(prefix + ".d16", 141055); },
         "P.d16: 141055 bytes; a frame file needs at least 141056",
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {"file 01 empty", [](const std::string &prefix) { std::filesystem::resize_file(prefix + ".d01", 0); },
         "P.d01: 0 bytes; a frame file needs at least 141056", {}},
        {"file 05 is a folder",
         [](const std::string &prefix) {
             std::filesystem::remove(prefix + ".d05");
             std::filesystem::create_directory(prefix + ".d05");
         },
         "P.d05: a folder, not a file", {0, 1, 2, 3}},
    };
    for (const Case &c : cases) {
        TempDir dir;
        const std::string prefix = dir.file("P");
        WriteTestStudy(prefix, [](int, int, int, int) { return int16_t(7); }, "OTHER", "OTHER");
        c.damage(prefix);
        std::vector<int> progress;
        const LoadResult result = LoadStudySet(prefix + ".d01", study, [&](int done) { progress.push_back(done); });
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_EQ(result.message, c.expected) << c.what;
        EXPECT_EQ(progress, c.progress) << c.what;
        EXPECT_TRUE(sameStudy(study, before)) << c.what << ": the study in memory changed";
    }
}

TEST(LoadStudySet, AcceptsLongPathsAndIgnoresBytesAfterThePixels)
{
    TempDir dir;
    const std::string folder = dir.file(std::string(120, 'f'));
    std::filesystem::create_directory(folder);
    const std::string prefix = folder + "/a-study-name-that-is-long-enough-to-matter";
    WriteTestStudy(prefix, pattern);
    std::ofstream(prefix + ".d07", std::ios::app | std::ios::binary) << "trailing bytes";
    Study study;
    const LoadResult result = LoadStudySet(prefix + ".d01", study);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(study.volume.at(20, 40, 3, 6), pattern(6, 3, 10, 20));
}

TEST(LoadStudySet, RejectsANameTooShortToNumber)
{
    Study study;
    const LoadResult result = LoadStudySet("x", study);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("at least two characters"), std::string::npos) << result.message;
}

TEST(LoadStudySet, ReadsTheRealPatientStudy)
{
    const std::string dir = RealDataDir();
    if (dir.empty())
        GTEST_SKIP() << "the real study is not beside the project";
    Study study;
    const LoadResult result = LoadStudySet(dir + "/heart.d01", study);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(study.CountRange, 141);
    EXPECT_STREQ(study.PatientId, "NM-HEART-1993");
    EXPECT_STREQ(study.PatientName, "ANONYMOUS^HLA");
    // Not gated: every phase holds the same counts; slices 14 to 16 are empty.
    long sum = 0;
    for (int x = 0; x < 128; ++x)
        for (int y = 0; y < 128; ++y) {
            const int16_t *phases = study.volume.phases(x, y, 7);
            for (int p = 1; p < 16; ++p)
                ASSERT_EQ(phases[p], phases[0]);
            sum += phases[0];
            ASSERT_EQ(study.volume.at(x, y, 14, 3), 0);
        }
    EXPECT_GT(sum, 0);
}

} // namespace
