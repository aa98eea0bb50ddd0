// The two variants of the results file byte by byte, on volumes made in memory whose
// analysis is worked out by hand: every cell of a slice holds one count per phase, so every
// ray's peak is that count at the centre (peak distance 0, no inner edge), the ROI of radius
// 40 keeps samples 0..39 of every ray (sample 40 lies on its edge), and the area and width
// end at the first sample outside it.
#include "ExportTestSupport.h"
#include "ResultsFile.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <memory>
#include <sstream>

namespace {

class ResultsFileTest : public ::testing::Test {
protected:
    GatedVolume volume;
    std::unique_ptr<ProfileResults> results = std::make_unique<ProfileResults>();
    ResultsFileSettings settings; // variant A, slice 8, phase 8, centre (64, 64), radius 40, A 40 %, W 20 %

    std::string format()
    {
        std::string text;
        EXPECT_TRUE(FormatResultsFile(text, volume, settings, *results));
        return text;
    }
};

std::string Repeated(const std::string &field, int times)
{
    std::string text;
    for (int n = 0; n < times; ++n)
        text += field + ",";
    return text;
}

// Every percentage field of a file (the fields of the "percentWT," rows and of variant B's rows).
std::vector<std::string> PercentFields(const std::vector<std::string> &lines)
{
    std::vector<std::string> fields;
    for (const std::string &line : lines) {
        if (line.empty() || line.find('.') == std::string::npos)
            continue;
        const std::vector<std::string> row = SplitFields(line);
        fields.insert(fields.end(), row.begin() + 1, row.end());
    }
    return fields;
}

TEST_F(ResultsFileTest, VariantAWritesTheSelectedSliceInFull)
{
    // Phase 1 holds 100, phase 8 (the reference) 80, the others 90.
    std::array<int16_t, 16> counts;
    counts.fill(90);
    counts[0] = 100;
    counts[7] = 80;
    FillSlice(volume, 7, counts);
    FillSlice(volume, 3, std::array<int16_t, 16>{7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7});

    const std::vector<std::string> lines = SplitLines(format());
    ASSERT_EQ(lines.size(), 1148u);
    EXPECT_EQ(lines[0], "SLICE,8,");

    const char *titles[] = {"C-MAP(peak),", "C-MAP(area),", "C-MAP(width),"};
    for (int block = 0; block < 3; ++block) {
        SCOPED_TRACE(titles[block]);
        const int first = 1 + 19 * block;
        EXPECT_EQ(lines[first], titles[block]);
        EXPECT_EQ(lines[first + 1], NumberedHeader("phase,"));
        for (int p = 1; p <= 16; ++p) {
            const std::vector<std::string> fields = SplitFields(lines[first + 1 + p]);
            ASSERT_EQ(fields.size(), 65u) << p;
            EXPECT_EQ(fields[0], std::to_string(p));
            for (int i = 0; i < 64; ++i) {
                const int count = counts[p - 1];
                const std::string &field = fields[1 + i];
                if (block == 0) // the peak is the count itself
                    EXPECT_EQ(field, std::to_string(count)) << "ray " << i + 1;
                else if (block == 1) // 40 or 41 samples of the count, from the centre to the edge
                    EXPECT_TRUE(field == std::to_string(40 * count) || field == std::to_string(41 * count))
                        << "ray " << i + 1 << ": " << field;
                else // the first sample outside the ROI, minus an inner edge of 0
                    EXPECT_TRUE(field == "40" || field == "41") << "ray " << i + 1 << ": " << field;
            }
        }
        // (80 - 100) / 80 * 100 for peak and area; the width does not change.
        const char *percent = block == 2 ? "0.000000" : "-25.000000";
        EXPECT_EQ(lines[first + 18], "percentWT," + Repeated(percent, 64));
    }

    EXPECT_EQ(lines[58], "D-MAP,");
    EXPECT_EQ(lines[59], NumberedHeader("step,phase,"));
    for (int ray = 1; ray <= 64; ++ray) {
        const int group = 60 + 17 * (ray - 1);
        for (int p = 1; p <= 16; ++p) {
            const std::vector<std::string> fields = SplitFields(lines[group + p - 1]);
            ASSERT_EQ(fields.size(), 66u) << ray << "," << p;
            EXPECT_EQ(fields[0], std::to_string(ray));
            EXPECT_EQ(fields[1], std::to_string(p));
            const std::string count = std::to_string(counts[p - 1]);
            for (int k = 0; k < 40; ++k)
                EXPECT_EQ(fields[2 + k], count) << "ray " << ray << " phase " << p << " sample " << k + 1;
            for (int k = 41; k < 64; ++k)
                EXPECT_EQ(fields[2 + k], "0") << "ray " << ray << " phase " << p << " sample " << k + 1;
        }
        EXPECT_EQ(lines[group + 16], "") << "after ray " << ray;
    }
    EXPECT_EQ(lines[60].substr(0, 4), "1,1,");
    EXPECT_EQ(lines[1146].substr(0, 6), "64,16,");
}

TEST_F(ResultsFileTest, VariantAAnalysesTheSliceItNamesWhateverTheResultsDescribedBefore)
{
    FillSlice(volume, 3,
              std::array<int16_t, 16>{500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 500});
    FillSlice(volume, 10, std::array<int16_t, 16>{60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75});
    AnalysisInputs other = settings.analysis;
    other.slice = 3; // the results describe slice 4, as after a bull's-eye or a variant B
    AnalyseProfiles(volume, other, *results);

    settings.analysis.slice = 10;
    const std::vector<std::string> lines = SplitLines(format());
    ASSERT_EQ(lines.size(), 1148u);
    EXPECT_EQ(lines[0], "SLICE,11,");
    for (int p = 1; p <= 16; ++p)
        EXPECT_EQ(lines[2 + p], std::to_string(p) + "," + Repeated(std::to_string(59 + p), 64));
    EXPECT_EQ(results->ProfilePeak[0][0], 60);
    EXPECT_EQ(results->ProfilePeak[15][63], 75);
}

// Slice 1: 100 in phase 1, 80 in phase 8. Slice 2: 0 in phase 1, 50 in phase 8. Slice 3: 30
// in phase 1, 0 in phase 8. Slice 4: 10 everywhere, with one hotter pixel straight up from the
// centre, 10 pixels away in phase 1 and 20 in phase 8, which only ray 9 reaches. The other
// slices are empty.
void FillVariantBStudy(GatedVolume &volume)
{
    std::array<int16_t, 16> counts{};
    counts.fill(90);
    counts[0] = 100;
    counts[7] = 80;
    FillSlice(volume, 0, counts);
    counts.fill(20);
    counts[0] = 0;
    counts[7] = 50;
    FillSlice(volume, 1, counts);
    counts.fill(20);
    counts[0] = 30;
    counts[7] = 0;
    FillSlice(volume, 2, counts);
    counts.fill(10);
    FillSlice(volume, 3, counts);
    volume.at(64, 64 - 10, 3, 0) = 50;
    volume.at(64, 64 - 20, 3, 7) = 50;
}

TEST_F(ResultsFileTest, VariantBWritesOnePercentagePerSliceAndRayForFourQuantities)
{
    FillVariantBStudy(volume);
    settings.variant = 1;
    settings.analysis.slice = 2;

    const std::vector<std::string> lines = SplitLines(format());
    ASSERT_EQ(lines.size(), 72u);
    const char *titles[] = {"percentCI-MAP(peak),", "percentCI-MAP(area),", "percentCI-MAP(width),",
                            "percentCI-MAP(dist),"};
    // The percentage of each quantity in slices 1, 2 and 3: the width of slice 1 stays the same
    // and that of slice 2 grows from 0 (no peak, no edge) to the edge of the ROI.
    const char *expected[4][3] = {{"-25.000000", "100.000000", "0.000000"},
                                  {"-25.000000", "100.000000", "0.000000"},
                                  {"0.000000", "100.000000", "0.000000"},
                                  {"0.000000", "0.000000", "0.000000"}};
    for (int block = 0; block < 4; ++block) {
        SCOPED_TRACE(titles[block]);
        const int first = 18 * block;
        EXPECT_EQ(lines[first], titles[block]);
        EXPECT_EQ(lines[first + 1], NumberedHeader("slice,"));
        for (int s = 1; s <= 16; ++s) {
            const std::string &line = lines[first + 1 + s];
            if (s <= 3) {
                EXPECT_EQ(line, std::to_string(s) + "," + Repeated(expected[block][s - 1], 64));
            } else if (s == 4) {
                // Only the peak distance of ray 9 changes, from 10 to 20: (20 - 10) / 20 * 100.
                const std::string percent = block == 3 ? "50.000000," : "0.000000,";
                EXPECT_EQ(line, "4," + Repeated("0.000000", 8) + percent + Repeated("0.000000", 55));
            } else {
                EXPECT_EQ(line, std::to_string(s) + "," + Repeated("0.000000", 64));
            }
        }
    }
    // The results describe the selected slice again.
    EXPECT_EQ(results->ProfilePeak[0][5], 30);
    EXPECT_EQ(results->ProfilePeak[7][5], 0);
    EXPECT_EQ(results->ProfilePeak[1][5], 20);
}

TEST_F(ResultsFileTest, ThePhaseOneReferenceGivesZeroEverywhere)
{
    FillVariantBStudy(volume);
    settings.curPhase = 0;
    for (int variant : {0, 1}) {
        settings.variant = variant;
        for (int slice : {0, 1, 3}) {
            settings.analysis.slice = slice;
            const std::vector<std::string> fields = PercentFields(SplitLines(format()));
            ASSERT_EQ(fields.size(), variant == 0 ? 3u * 64 : 4u * 16 * 64) << variant << " " << slice;
            for (const std::string &field : fields)
                ASSERT_EQ(field, "0.000000") << "variant " << variant << " slice " << slice + 1;
        }
    }
}

// A decimal comma and grouped thousands, as in German.
struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST_F(ResultsFileTest, TheUsersLocaleDoesNotChangeTheNumbers)
{
    std::array<int16_t, 16> counts;
    counts.fill(1234);
    counts[7] = 1000;
    FillSlice(volume, 7, counts);
    std::string plain[2];
    for (int variant : {0, 1}) {
        settings.variant = variant;
        plain[variant] = format();
    }
    ASSERT_NE(plain[0].find("percentWT,-23.400000,"), std::string::npos); // (1000 - 1234) / 1000 * 100

    const std::locale comma(std::locale::classic(), new CommaDecimals);
    const std::locale previous = std::locale::global(comma);
    const std::string cLocale = std::setlocale(LC_ALL, nullptr);
    const char *german = nullptr;
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"})
        if (!german && std::setlocale(LC_ALL, name))
            german = name;
    for (int variant : {0, 1}) {
        settings.variant = variant;
        std::ostringstream stream;
        stream.imbue(comma);
        ASSERT_TRUE(WriteResultsFile(stream, volume, settings, *results));
        EXPECT_EQ(stream.str(), plain[variant])
            << "variant " << variant << " locale " << (german ? german : "C with a comma stream");
        EXPECT_EQ(stream.str().find("1.234"), std::string::npos);
    }
    std::setlocale(LC_ALL, cLocale.c_str());
    std::locale::global(previous);
}

TEST_F(ResultsFileTest, RefusesSettingsOutsideTheirRanges)
{
    struct Case {
        int variant, slice, phase;
    } cases[] = {{2, 7, 7}, {-1, 7, 7}, {0, -1, 7}, {1, 16, 7}, {0, 7, -1}, {1, 7, 16}};
    for (const Case &c : cases) {
        settings.variant = c.variant;
        settings.analysis.slice = c.slice;
        settings.curPhase = c.phase;
        EXPECT_FALSE(CheckResultsFileSettings(settings).empty());
        std::string text = "old";
        EXPECT_FALSE(FormatResultsFile(text, volume, settings, *results));
        EXPECT_TRUE(text.empty());
        std::ostringstream stream;
        EXPECT_FALSE(WriteResultsFile(stream, volume, settings, *results));
        EXPECT_TRUE(stream.str().empty());
    }
}

TEST_F(ResultsFileTest, AStreamThatFailsIsReported)
{
    std::ostringstream failed;
    failed.setstate(std::ios::badbit);
    EXPECT_FALSE(WriteResultsFile(failed, volume, settings, *results));
}

} // namespace
