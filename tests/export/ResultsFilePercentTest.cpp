// Percentages and integers as the file writes them, from results made by hand: the reference
// phase divides, a reference of 0 gives 0, negative values keep their minus sign, and the
// extremes of the 16- and 32-bit quantities are written in full.
#include "ExportTestSupport.h"
#include "ResultsFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

constexpr int Reference = 7; // phase 8

struct Case {
    int32_t reference, base;
    const char *percent; // worked out by hand: (reference - base) / reference * 100
};

// Rays 0.. of the peak row take these cases in turn.
const Case PeakCases[] = {
    {80, 100, "-25.000000"},  {50, 0, "100.000000"},   {0, 30, "0.000000"},  {0, 0, "0.000000"},
    {3, 1, "66.666667"},      {3, 2, "33.333333"},     {7, 7, "0.000000"},   {1, 32767, "-3276600.000000"},
    {32767, 0, "100.000000"}, {32767, 1, "99.996948"}, {2, 3, "-50.000000"}, {1000, 999, "0.100000"},
};

// The width can be negative (an outer edge the search did not find), and so can its reference.
const Case WidthCases[] = {
    {-4, 2, "150.000000"},         {4, -2, "150.000000"},         {-3, -3, "0.000000"},
    {32767, -32768, "200.003052"}, {-32768, 32767, "199.996948"}, {0, -5, "0.000000"},
};

const Case AreaCases[] = {
    {7, 1, "85.714286"},
    {INT32_MAX, INT32_MIN, "200.000000"},
    {INT32_MIN, INT32_MAX, "200.000000"}, // 199.99999995... rounded
    {1, 2000000000, "-199999999900.000000"},
    {INT32_MAX, INT32_MAX - 1, "0.000000"},
};

TEST(ResultsFilePercent, EachQuantityIsWrittenWithItsPercentChange)
{
    auto results = std::make_unique<ProfileResults>();
    // Phases other than the base and the reference hold a marker that no percentage reads.
    for (int p = 0; p < 16; ++p)
        for (int i = 0; i < 64; ++i) {
            results->ProfilePeak[p][i] = int16_t(-1 - p);
            results->ProfileWidth[p][i] = int16_t(-1 - p);
            results->ProfileArea[p][i] = -1 - p;
        }
    for (std::size_t i = 0; i < std::size(PeakCases); ++i) {
        results->ProfilePeak[Reference][i] = int16_t(PeakCases[i].reference);
        results->ProfilePeak[0][i] = int16_t(PeakCases[i].base);
    }
    for (std::size_t i = 0; i < std::size(WidthCases); ++i) {
        results->ProfileWidth[Reference][i] = int16_t(WidthCases[i].reference);
        results->ProfileWidth[0][i] = int16_t(WidthCases[i].base);
    }
    for (std::size_t i = 0; i < std::size(AreaCases); ++i) {
        results->ProfileArea[Reference][i] = AreaCases[i].reference;
        results->ProfileArea[0][i] = AreaCases[i].base;
    }

    std::string text;
    AppendVariantA(text, *results, 4, Reference);
    const std::vector<std::string> lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 1148u);
    EXPECT_EQ(lines[0], "SLICE,5,");

    struct Block {
        const char *name;
        int first; // the line of the title
        const Case *cases;
        std::size_t count;
    } blocks[] = {{"peak", 1, PeakCases, std::size(PeakCases)},
                  {"area", 20, AreaCases, std::size(AreaCases)},
                  {"width", 39, WidthCases, std::size(WidthCases)}};
    for (const Block &block : blocks) {
        SCOPED_TRACE(block.name);
        const std::vector<std::string> baseRow = SplitFields(lines[block.first + 2]);
        const std::vector<std::string> referenceRow = SplitFields(lines[block.first + 2 + Reference]);
        const std::vector<std::string> otherRow = SplitFields(lines[block.first + 2 + 1]);
        const std::vector<std::string> percents = SplitFields(lines[block.first + 18]);
        ASSERT_EQ(baseRow.size(), 65u);
        ASSERT_EQ(referenceRow.size(), 65u);
        ASSERT_EQ(percents.size(), 65u);
        EXPECT_EQ(baseRow[0], "1");
        EXPECT_EQ(referenceRow[0], "8");
        EXPECT_EQ(otherRow[0], "2");
        EXPECT_EQ(otherRow[1], "-2");
        EXPECT_EQ(percents[0], "percentWT");
        for (std::size_t i = 0; i < block.count; ++i) {
            const Case &c = block.cases[i];
            EXPECT_EQ(referenceRow[1 + i], std::to_string(c.reference)) << "ray " << i + 1;
            EXPECT_EQ(baseRow[1 + i], std::to_string(c.base)) << "ray " << i + 1;
            EXPECT_EQ(percents[1 + i], c.percent) << "ray " << i + 1 << ": " << c.reference << " from " << c.base;
        }
        // The untouched rays: -8 against -1 is (-8 + 1) / -8 * 100.
        for (std::size_t i = block.count; i < 64; ++i)
            EXPECT_EQ(percents[1 + i], "87.500000") << "ray " << i + 1;
    }
}

TEST(ResultsFilePercent, SamplesAreWrittenRayByRayWithPhaseAndSampleInOrder)
{
    auto results = std::make_unique<ProfileResults>();
    // A sample that names its place: 10000 * ray + 100 * phase + sample, all counted from 0,
    // kept below 32768 by taking rays 0..2 only; the other rays hold -(sample).
    for (int k = 0; k < 64; ++k)
        for (int p = 0; p < 16; ++p)
            for (int i = 0; i < 64; ++i)
                results->ProfileSamples[k][p][i] = int16_t(i < 3 ? 10000 * i + 100 * p + k : -k);
    std::string text;
    AppendVariantA(text, *results, 0, 0);
    const std::vector<std::string> lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 1148u);
    EXPECT_EQ(lines[0], "SLICE,1,");
    // Ray 3 (index 2), phase 5 (index 4): group 3, row 5.
    EXPECT_EQ(lines[60 + 17 * 2 + 4].substr(0, 21), "3,5,20400,20401,20402");
    const std::vector<std::string> row = SplitFields(lines[60 + 17 * 2 + 4]);
    ASSERT_EQ(row.size(), 66u);
    EXPECT_EQ(row.back(), "20463");
    // Ray 64, phase 16, the last row of the file, then its empty line.
    EXPECT_EQ(lines[1146].substr(0, 12), "64,16,0,-1,-");
    EXPECT_EQ(SplitFields(lines[1146]).back(), "-63");
    EXPECT_EQ(lines[1147], "");
}

} // namespace
