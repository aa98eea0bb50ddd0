// How the import maps an object's frames onto 16 phases x 16 slices of 64 x 64: frame order by
// the vectors, slice order and choice, 2 x 2 means, 8 gates, missing slices, unsigned values,
// the transfer syntaxes, the patient fields, and the Study the window gets from it.
#include "DicomImport.h"
#include "NmObject.h"
#include "StudyReader.h"
#include "StudySetReplace.h"
#include "TestStudy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <tuple>
#include <utility>

namespace {

int16_t At(const ImportedStudy &study, int phase, int slice, int column, int row)
{
    return study.pixels[SourceIndex(phase, slice, column, row)];
}

DicomImportResult Import(const TempDir &dir, const NmObject &object, const DicomImportOptions &options = {})
{
    const std::string path = dir.file("study.dcm");
    WriteNmObject(path, object);
    return ImportDicom(path, options);
}

// Tells gate, stored slice and position apart: 1000 * gate + 10 * slice + a small in-plane part.
int32_t Tagged(int, int gate, int slice, int column, int row)
{
    return 1000 * gate + 10 * slice + (column + 2 * row) % 7;
}

struct OrderCase {
    const char *name;
    bool slicesSlowest;
    std::string direction;
    bool reverse;
    bool reversedExpected; // apex-to-base slice a is stored slice 16 - a (1-based: 16 - a)
    const char *summaryPart;
};

void PrintTo(const OrderCase &c, std::ostream *os)
{
    *os << c.name;
}

class SliceOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(SliceOrder, FramesAreIndexedByTheVectorsAndSlicesRunApexToBase)
{
    const OrderCase &c = GetParam();
    TempDir dir;
    NmObject object;
    object.slicesSlowest = c.slicesSlowest;
    object.sliceDirection = c.direction;
    object.pixel = Tagged;
    DicomImportOptions options;
    options.reverse = c.reverse;
    const DicomImportResult result = Import(dir, object, options);
    ASSERT_TRUE(result.ok()) << result.message;
    for (int p = 0; p < 16; ++p)
        for (int s = 0; s < 16; ++s) {
            const int stored = c.reversedExpected ? 16 - s : s + 1;
            ASSERT_EQ(At(result.study, p, s, 5, 9), 1000 * (p + 1) + 10 * stored + (5 + 18) % 7)
                << "phase " << p << " slice " << s;
        }
    EXPECT_NE(result.study.summary.find(c.summaryPart), std::string::npos) << result.study.summary;
}

INSTANTIATE_TEST_SUITE_P(
    Import, SliceOrder,
    ::testing::Values(OrderCase{"GateByGate", false, "", false, false, "slices 1..16 of 16 apex to base, factor"},
                      OrderCase{"SliceBySlice", true, "", false, false, "slices 1..16 of 16"},
                      OrderCase{"Reversed", false, "", true, true, "stored order reversed"},
                      OrderCase{"StatedBaseToApex", true, "BASE_TO_APEX", false, true, "stored base to apex"},
                      OrderCase{"StatedApexToBase", false, "APEX_TO_BASE", false, false, "stored apex to base"},
                      OrderCase{"StatedOrderWinsOverReverse", false, "APEX_TO_BASE", true, false, "--reverse ignored"}),
    [](const auto &info) { return std::string(info.param.name); });

struct CentreCase {
    const char *name;
    std::vector<int> hotSlices; // 1-based stored slices of gate 1 holding counts
    int expectedFirst;          // worked out by hand
};

void PrintTo(const CentreCase &c, std::ostream *os)
{
    *os << c.name;
}

class CentredSlices : public ::testing::TestWithParam<CentreCase> {};

// 30 slices; the 16 taken have the count-weighted mean slice of gate 1 at their middle, the
// mean becoming the 8th of them when it falls on a slice.
TEST_P(CentredSlices, DefaultFirstSliceCentresTheCounts)
{
    const CentreCase &c = GetParam();
    TempDir dir;
    NmObject object;
    object.slices = 30;
    object.pixel = [&](int, int gate, int slice, int, int) {
        if (gate != 1)
            return 1; // later gates must not move the choice
        return std::find(c.hotSlices.begin(), c.hotSlices.end(), slice) != c.hotSlices.end() ? 10 : 0;
    };
    const DicomImportResult result = Import(dir, object);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.study.firstSlice, c.expectedFirst);
    EXPECT_EQ(result.study.slicesTaken, 16);
}

INSTANTIATE_TEST_SUITE_P(Import, CentredSlices,
                         ::testing::Values(CentreCase{"OnSlice20", {20}, 13},          // mean 20: 13..28
                                           CentreCase{"Between19And20", {19, 20}, 12}, // mean 19.5: 12..27
                                           CentreCase{"NearTheApex", {5, 6}, 1}, CentreCase{"AtTheBase", {30}, 15}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Import, BinsA128MatrixByTheMeansOfEach2x2BlockTruncatedTowardZero)
{
    for (const int sign : {1, -1}) {
        TempDir dir;
        NmObject object;
        object.rows = object.columns = 128;
        // Block (C, R) holds 8C + 2R + {0, 4, 1, 5}: its mean is 8C + 2R + 2.5.
        object.pixel = [sign](int, int, int, int column, int row) { return sign * (4 * column + row); };
        const DicomImportResult result = Import(dir, object);
        ASSERT_TRUE(result.ok()) << result.message;
        for (const auto &[c, r] : {std::pair{0, 0}, {63, 0}, {10, 20}, {63, 63}}) {
            EXPECT_EQ(At(result.study, 3, 7, c, r), sign * (8 * c + 2 * r + 2)) << sign << " " << c << "," << r;
        }
        EXPECT_NE(result.study.summary.find("matrix 128 x 128 (2 x 2 means to 64 x 64)"), std::string::npos);
    }
}

TEST(Import, EightGatesAreRefusedUnlessAskedThenEveryOtherPhaseIsAMean)
{
    TempDir dir;
    NmObject object;
    object.gates = 8;
    object.pixel = [](int, int gate, int, int column, int) { return 3 * gate * gate + column; };
    const DicomImportResult refused = Import(dir, object);
    EXPECT_EQ(refused.failure, ImportFailure::File);
    EXPECT_EQ(refused.message, "8 gates; give --interpolate-gates to make 16 phases of them");

    DicomImportOptions options;
    options.interpolateGates = true;
    const DicomImportResult result = ImportDicom(dir.file("study.dcm"), options);
    ASSERT_TRUE(result.ok()) << result.message;
    // Gates 3, 12, 27, ..., 192; the phases between them their means, truncated; the last
    // between gate 8 and gate 1.
    const int expected[16] = {3, 7, 12, 19, 27, 37, 48, 61, 75, 91, 108, 127, 147, 169, 192, 97};
    for (int p = 0; p < 16; ++p)
        for (const int c : {0, 33})
            EXPECT_EQ(At(result.study, p, 4, c, 60), expected[p] + c) << "phase " << p;
    EXPECT_NE(result.study.summary.find("8 gates (interpolated to 16 phases)"), std::string::npos)
        << result.study.summary;
}

TEST(Import, FewerThan16SlicesLeaveTheBaseEndZero)
{
    TempDir dir;
    NmObject object;
    object.slices = 12;
    object.sliceDirection = "BASE_TO_APEX";
    object.pixel = [](int, int gate, int slice, int, int) { return 100 * gate + slice; };
    const DicomImportResult result = Import(dir, object);
    ASSERT_TRUE(result.ok()) << result.message;
    for (int s = 0; s < 16; ++s)
        EXPECT_EQ(At(result.study, 2, s, 30, 30), s < 12 ? 300 + 12 - s : 0) << "slice " << s;
    EXPECT_EQ(result.study.slicesTaken, 12);
    EXPECT_NE(result.study.summary.find("slices 1..12 of 12"), std::string::npos) << result.study.summary;
    EXPECT_NE(result.study.summary.find("slices 13..16 at the base are zero"), std::string::npos);
}

TEST(Import, UnsignedValuesAbove32767AreScaledByOneFactor)
{
    TempDir dir;
    NmObject object;
    object.isSigned = false;
    object.pixel = [](int, int gate, int slice, int column, int) {
        if (gate == 16 && slice == 16 && column == 63)
            return 65535;
        return column == 0 ? 40000 : column == 1 ? 65534 : 1000;
    };
    const DicomImportResult result = Import(dir, object);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(At(result.study, 15, 15, 63, 0), 32767);
    EXPECT_EQ(At(result.study, 0, 0, 0, 0), 19999); // 40000 x 32767 / 65535 = 19999.69
    EXPECT_EQ(At(result.study, 0, 0, 1, 0), 32766); // 65534 x 32767 / 65535 = 32766.5
    EXPECT_EQ(At(result.study, 0, 0, 2, 0), 499);   // 1000 x 32767 / 65535 = 499.99
    EXPECT_NE(result.study.summary.find("factor 32767/65535 = 0.499992"), std::string::npos) << result.study.summary;

    // Up to 32767 nothing is scaled, and signed values are taken as they are.
    object.pixel = [](int, int, int, int column, int) { return column == 0 ? 32767 : 7; };
    const DicomImportResult unscaled = Import(dir, object);
    ASSERT_TRUE(unscaled.ok()) << unscaled.message;
    EXPECT_EQ(At(unscaled.study, 0, 0, 0, 0), 32767);
    EXPECT_EQ(At(unscaled.study, 0, 0, 1, 0), 7);
    EXPECT_NE(unscaled.study.summary.find("factor 1"), std::string::npos);
    object.isSigned = true;
    object.pixel = [](int, int, int, int column, int) { return column == 0 ? -32768 : 32767; };
    const DicomImportResult asStored = Import(dir, object);
    ASSERT_TRUE(asStored.ok()) << asStored.message;
    EXPECT_EQ(At(asStored.study, 9, 9, 0, 0), -32768);
    EXPECT_EQ(At(asStored.study, 9, 9, 1, 0), 32767);
}

TEST(Import, TakesTheFirstOfSeveralRRIntervals)
{
    TempDir dir;
    NmObject object;
    object.rrIntervals = 2;
    object.pixel = [](int rr, int gate, int slice, int, int) { return 1000 * rr + 10 * gate + slice; };
    const DicomImportResult result = Import(dir, object);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(At(result.study, 15, 15, 0, 0), 1000 + 160 + 16);
    EXPECT_EQ(At(result.study, 0, 0, 0, 0), 1000 + 10 + 1);
    EXPECT_NE(result.study.summary.find("(first of 2 R-R intervals)"), std::string::npos) << result.study.summary;
}

struct SyntaxCase {
    const char *name;
    const char *uid;
};

void PrintTo(const SyntaxCase &c, std::ostream *os)
{
    *os << c.name;
}

class TransferSyntax : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(TransferSyntax, DecodesToTheStoredCounts)
{
    TempDir dir;
    NmObject object;
    object.isSigned = false;
    object.transferSyntax = GetParam().uid;
    object.pixel = [](int, int gate, int slice, int column, int row) {
        return (gate * 37 + slice * 101 + column * column + row * 3) % 4000;
    };
    const DicomImportResult result = Import(dir, object);
    ASSERT_TRUE(result.ok()) << result.message;
    for (const auto &[p, s, c, r] : {std::tuple{0, 0, 0, 0}, {15, 15, 63, 63}, {7, 3, 40, 11}, {11, 12, 62, 1}})
        EXPECT_EQ(At(result.study, p, s, c, r), ((p + 1) * 37 + (s + 1) * 101 + c * c + r * 3) % 4000);
}

INSTANTIATE_TEST_SUITE_P(Import, TransferSyntax,
                         ::testing::Values(SyntaxCase{"ImplicitLittleEndian", "1.2.840.10008.1.2"},
                                           SyntaxCase{"ExplicitBigEndian", "1.2.840.10008.1.2.2"},
                                           SyntaxCase{"Deflated", "1.2.840.10008.1.2.1.99"},
                                           SyntaxCase{"Rle", "1.2.840.10008.1.2.5"},
                                           SyntaxCase{"JpegLossless", "1.2.840.10008.1.2.4.70"},
                                           SyntaxCase{"JpegLsLossless", "1.2.840.10008.1.2.4.80"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(AsciiField, KeepsTheFirstBytesAndMarksEveryOtherThanPrintableAscii)
{
    EXPECT_EQ(AsciiField("ABCDEFGHIJKLMNOPQRSTUVWXY", 19), "ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(AsciiField("M\xC3\xBCller^Hans", 29), "M??ller^Hans");       // UTF-8 u umlaut: 2 bytes
    EXPECT_EQ(AsciiField("\x1B$B;3ED\x1B(B^Taro", 29), "?$B;3ED?(B^Taro"); // ISO 2022 escapes
    EXPECT_EQ(AsciiField("TAB\tEND\x7F", 29), "TAB?END?");
    EXPECT_EQ(AsciiField("", 19), "");
}

TEST(FillStudy, GivesTheStudyThatOpeningTheWrittenSetGives)
{
    TempDir dir;
    NmObject object;
    object.patientId = "ID-0123456789-ABCDEFGH"; // 22 bytes: 19 kept
    object.patientName = "YAMADA^TARO";
    object.pixel = [](int, int gate, int slice, int column, int row) {
        return (gate * 131 + slice * 17 + column * 5 - row * 7) % 3000 - 1000;
    };
    const DicomImportResult result = Import(dir, object);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.study.patientId, "ID-0123456789-ABCDE");
    Study imported;
    FillStudy(result.study, imported);

    std::string error;
    ASSERT_TRUE(
        ReplaceStudySet(dir.file("SET"), result.study.patientId, result.study.patientName, result.study.pixels, error))
        << error;
    Study opened;
    const LoadResult load = LoadStudySet(dir.file("SET.d01"), opened);
    ASSERT_TRUE(load.ok) << load.message;
    EXPECT_EQ(std::memcmp(imported.volume.data(), opened.volume.data(), GatedVolume::CellCount * sizeof(int16_t)), 0);
    EXPECT_EQ(imported.CountRange, opened.CountRange);
    EXPECT_STREQ(imported.PatientId, "ID-0123456789-ABCDE");
    EXPECT_STREQ(imported.PatientName, opened.PatientName);
    EXPECT_STREQ(imported.PatientName, "YAMADA^TARO");
}

} // namespace
