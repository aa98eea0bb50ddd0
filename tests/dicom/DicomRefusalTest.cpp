// The objects the import refuses, each with the reason a clinician reads.
#include "DicomImport.h"
#include "NmObject.h"
#include "TestStudy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>

namespace {

struct RefusalCase {
    const char *name;
    std::function<void(NmObject &)> change;
    const char *message; // the whole reason, or the part that matters
};

void PrintTo(const RefusalCase &c, std::ostream *os)
{
    *os << c.name;
}

class Refusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, NamesTheReason)
{
    const RefusalCase &c = GetParam();
    TempDir dir;
    NmObject object;
    object.slices = 20;
    object.pixel = [](int, int gate, int slice, int, int) { return gate + slice; };
    c.change(object);
    const std::string path = dir.file("study.dcm");
    WriteNmObject(path, object);
    const DicomImportResult result = ImportDicom(path);
    EXPECT_EQ(result.failure, ImportFailure::File);
    EXPECT_NE(result.message.find(c.message), std::string::npos) << result.message;
    EXPECT_TRUE(result.study.pixels.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Import, Refusal,
    ::testing::Values(
        RefusalCase{"SecondaryCapture",
                    [](NmObject &o) {
                        o.sopClass = "1.2.840.10008.5.1.4.1.1.7";
                        o.modality = "OT";
                    },
                    "a screen capture (Secondary Capture), not the counts of a reconstruction"},
        RefusalCase{"NotNuclearMedicine",
                    [](NmObject &o) {
                        o.sopClass = "1.2.840.10008.5.1.4.1.1.2";
                        o.modality = "CT";
                    },
                    "not a nuclear medicine (NM) image: SOP class 1.2.840.10008.5.1.4.1.1.2, modality CT"},
        RefusalCase{"Projections", [](NmObject &o) { o.imageType = "ORIGINAL\\PRIMARY\\GATED TOMO\\EMISSION"; },
                    "projections (GATED TOMO), not a reconstruction"},
        RefusalCase{"NotGated", [](NmObject &o) { o.imageType = "DERIVED\\PRIMARY\\RECON TOMO\\EMISSION"; },
                    "image type \"DERIVED\\PRIMARY\\RECON TOMO\\EMISSION\", not a gated reconstruction"},
        RefusalCase{"MissingTimeSlotVector", [](NmObject &o) { o.withTimeSlotVector = false; },
                    "the Time Slot Vector (0054,0070) is missing"},
        RefusalCase{"FramesDisagreeWithTheVectors", [](NmObject &o) { o.numberOfFrames = 300; },
                    "Number of Frames (0028,0008) is 300 but the R-R Interval Vector holds 320 values"},
        RefusalCase{"MoreSlicesThanFrames", [](NmObject &o) { o.numberOfSlices = 500; },
                    "16 time slots x 500 slices need 8000 frames; the object holds 320"},
        RefusalCase{"SliceOutsideTheCount", [](NmObject &o) { o.numberOfSlices = 19; },
                    "frame 20 (R-R interval 1, time slot 1, slice 20) lies outside 1 x 16 x 19"},
        RefusalCase{"TwoFramesForOneSlice", [](NmObject &o) { o.editSliceVector = [](auto &v) { v[1] = 1; }; },
                    "frames 1 and 2 are both gate 1, slice 1"},
        RefusalCase{"Matrix", [](NmObject &o) { o.rows = o.columns = 96; },
                    "matrix 96 x 96 (rows x columns); only 64 x 64 and 128 x 128 are taken"},
        RefusalCase{"NotSquare", [](NmObject &o) { o.columns = 128; }, "matrix 64 x 128"},
        RefusalCase{"TwelveGates", [](NmObject &o) { o.gates = 12; },
                    "12 gates; only 16, or 8 with --interpolate-gates, are taken"},
        RefusalCase{"BitsAllocated", [](NmObject &o) { o.bitsAllocated = 12; },
                    "Bits Allocated 12; only 8 and 16 are taken"},
        RefusalCase{"LossyJpeg",
                    [](NmObject &o) {
                        o.bitsAllocated = 8;
                        o.isSigned = false;
                        o.transferSyntax = "1.2.840.10008.1.2.4.50";
                    },
                    "transfer syntax JPEG Baseline"},
        RefusalCase{"NearLosslessJpegLs",
                    [](NmObject &o) { o.transferSyntax = "1.2.840.10008.1.2.4.81"; },
                    "transfer syntax JPEG-LS"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Import, RefusesFilesThatAreNoWholeObject)
{
    TempDir dir;
    EXPECT_EQ(ImportDicom(dir.file("absent.dcm")).message, "no such file");
    EXPECT_EQ(ImportDicom(dir.path()).message, "a folder, not a file");

    std::ofstream(dir.file("notes.txt")) << "Gated SPECT, stress, 2 days ago\n";
    EXPECT_EQ(ImportDicom(dir.file("notes.txt")).message, "not a DICOM file");

    // A study frame file is no DICOM object either.
    WriteTestStudy(dir.file("SET"), [](int, int, int, int) { return int16_t(5); });
    EXPECT_EQ(ImportDicom(dir.file("SET.d01")).message, "not a DICOM file");

    // A whole object cut in the middle of its pixel data, as by an interrupted copy.
    NmObject object;
    object.pixel = [](int, int gate, int slice, int, int) { return gate + slice; };
    const std::string path = dir.file("cut.dcm");
    WriteNmObject(path, object);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    const DicomImportResult cut = ImportDicom(path);
    EXPECT_EQ(cut.failure, ImportFailure::File);
    EXPECT_EQ(cut.message.rfind("a damaged or truncated DICOM file", 0), 0u) << cut.message;
}

TEST(Import, RefusesAFirstSliceOutsideTheObject)
{
    TempDir dir;
    NmObject object;
    object.slices = 20;
    WriteNmObject(dir.file("study.dcm"), object);
    for (const int first : {1, 5}) {
        DicomImportOptions options;
        options.firstSlice = first;
        EXPECT_TRUE(ImportDicom(dir.file("study.dcm"), options).ok()) << first;
    }
    DicomImportOptions options;
    options.firstSlice = 6;
    const DicomImportResult result = ImportDicom(dir.file("study.dcm"), options);
    EXPECT_EQ(result.failure, ImportFailure::Option);
    EXPECT_EQ(result.message, "--first-slice 6: the object holds 20 slices, so the first of 16 can be 1..5");
}

} // namespace
