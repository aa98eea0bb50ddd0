// The corvista-import command: a phantom study through DICOM and back, an object written by
// DCMTK's own dump2dcm, the exit statuses, and an existing set that a failure never touches.
#include "DicomImport.h"
#include "NmObject.h"
#include "Phantom.h"
#include "StudyReader.h"
#include "CommandRun.h"
#include "TestStudy.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using Outcome = CommandOutcome;


// Runs a command in the folder; its output goes to files outside it, so that the folder
// holds only what the command wrote.
Outcome RunCommand(const TempDir &dir, const std::string &program, const std::vector<std::string> &arguments)
{
    return RunCommandIn(dir.path(), program, arguments);
}

Outcome RunImport(const TempDir &dir, const std::vector<std::string> &arguments)
{
    return RunCommand(dir, CORVISTA_IMPORT_COMMAND, arguments);
}

std::set<std::string> FilesIn(const std::string &folder)
{
    std::set<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::set<std::string> SetNames(const std::string &prefix)
{
    std::set<std::string> names;
    for (int n = 1; n <= 16; ++n)
        names.insert(StudyFilePath(prefix + ".d00", n));
    return names;
}

// A phantom stored as 20 slices from base to apex: apex-to-base slices 3..18 are the phantom's
// 16, the two at each end something else.
TEST(ImportCommand, APhantomThroughDicomGivesItsFrameFilesByteForByte)
{
    TempDir dir;
    PhantomOptions phantom;
    phantom.seed = 7;
    phantom.noise = true;
    phantom.defect = true;
    const std::vector<int16_t> pixels = MakePhantomPixels(phantom);
    NmObject object;
    object.slices = 20;
    object.sliceDirection = "BASE_TO_APEX";
    object.patientId = phantom.patientId;
    object.patientName = phantom.patientName;
    object.pixel = [&](int, int gate, int stored, int column, int row) -> int32_t {
        const int apexToBase = 20 - stored; // stored slice 1 is at the base
        if (apexToBase < 2 || apexToBase > 17)
            return 4321;
        return pixels[SourceIndex(gate - 1, apexToBase - 2, column, row)];
    };
    WriteNmObject(dir.file("study.dcm"), object);
    std::string error;
    ASSERT_TRUE(WritePhantomStudy(dir.file("REF"), phantom, error)) << error;

    const Outcome outcome = RunImport(dir, {"--first-slice", "3", "study.dcm", "OUT"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out, "OUT.d01 .. OUT.d16: matrix 64 x 64, 16 gates, slices 3..18 of 20 apex to base, stored "
                           "base to apex, factor 1\n");
    for (int n = 1; n <= 16; ++n) {
        const std::string got = ReadWholeFile(StudyFilePath(dir.file("OUT.d00"), n));
        ASSERT_EQ(got.size(), 141056u) << n;
        EXPECT_TRUE(got == ReadWholeFile(StudyFilePath(dir.file("REF.d00"), n))) << "file " << n << " differs";
        EXPECT_EQ(std::filesystem::status(StudyFilePath(dir.file("OUT.d00"), n)).permissions(),
                  std::filesystem::status(StudyFilePath(dir.file("REF.d00"), n)).permissions())
            << n;
    }
    std::set<std::string> expected = SetNames("OUT");
    expected.merge(SetNames("REF"));
    expected.insert("study.dcm");
    EXPECT_EQ(FilesIn(dir.path()), expected); // no temporary file left behind
}

// The object comes from dcmtk's dump2dcm, not from our own use of the library: 8-bit unsigned
// counts read from a raw file, implicit VR as the dump has no meta header, a UTF-8 name.
TEST(ImportCommand, ReadsAnObjectWrittenByDump2dcm)
{
    const std::string dump2dcm = DUMP2DCM_COMMAND;
    if (dump2dcm.empty() || !std::filesystem::exists(dump2dcm))
        GTEST_SKIP() << "dump2dcm (package dcmtk) is not installed";
    TempDir dir;
    std::vector<unsigned char> raw;
    std::string slots, slices;
    for (int g = 1; g <= 16; ++g)
        for (int s = 1; s <= 16; ++s) {
            // Appended piece by piece: GCC 12 warns wrongly about a temporary string here.
            slots.append(slots.empty() ? "" : "\\").append(std::to_string(g));
            slices.append(slices.empty() ? "" : "\\").append(std::to_string(s));
            for (int r = 0; r < 64; ++r)
                for (int c = 0; c < 64; ++c)
                    raw.push_back((unsigned char)((g * 13 + s * 5 + c + r) % 256));
        }
    std::ofstream(dir.file("pixels.raw"), std::ios::binary)
        .write(reinterpret_cast<const char *>(raw.data()), std::streamsize(raw.size()));
    std::ofstream(dir.file("study.txt")) << "(0008,0005) CS [ISO_IR 192]\n"
                                            "(0008,0008) CS [ORIGINAL\\PRIMARY\\RECON GATED TOMO\\EMISSION]\n"
                                            "(0008,0016) UI =NuclearMedicineImageStorage\n"
                                            "(0008,0018) UI [1.2.826.0.1.3680043.2.1143.1]\n"
                                            "(0008,0060) CS [NM]\n"
                                            "(0010,0010) PN [M\xC3\xBCller^Hans]\n"
                                            "(0010,0020) LO [DUMP-42]\n"
                                            "(0028,0002) US 1\n"
                                            "(0028,0004) CS [MONOCHROME2]\n"
                                            "(0028,0008) IS [256]\n"
                                            "(0028,0009) AT (0054,0070)\\(0054,0080)\n"
                                            "(0028,0010) US 64\n"
                                            "(0028,0011) US 64\n"
                                            "(0028,0100) US 8\n"
                                            "(0028,0101) US 8\n"
                                            "(0028,0102) US 7\n"
                                            "(0028,0103) US 0\n"
                                            "(0054,0070) US "
                                         << slots << "\n(0054,0071) US 16\n(0054,0080) US " << slices
                                         << "\n(0054,0081) US 16\n(0054,0500) CS [APEX_TO_BASE]\n"
                                         << "(7fe0,0010) OB =" << dir.file("pixels.raw") << "\n";
    const Outcome made = RunCommand(dir, dump2dcm, {"+l", "8192", "+ti", "study.txt", "study.dcm"});
    ASSERT_EQ(made.status, 0) << made.err;

    const DicomImportResult result = ImportDicom(dir.file("study.dcm"));
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.study.patientId, "DUMP-42");
    EXPECT_EQ(result.study.patientName, "M??ller^Hans");
    EXPECT_EQ(result.study.summary, "matrix 64 x 64, 16 gates, slices 1..16 of 16 apex to base, stored apex to base, "
                                    "factor 1");
    for (const auto &[p, s, c, r] : {std::tuple{0, 0, 0, 0}, {15, 15, 63, 63}, {4, 9, 17, 50}})
        EXPECT_EQ(result.study.pixels[SourceIndex(p, s, c, r)], ((p + 1) * 13 + (s + 1) * 5 + c + r) % 256);
}

TEST(ImportCommand, ExitStatusesAndMessages)
{
    TempDir dir;
    NmObject object;
    object.pixel = [](int, int gate, int slice, int, int) { return gate + slice; };
    WriteNmObject(dir.file("good.dcm"), object);
    object.imageType = "ORIGINAL\\PRIMARY\\GATED TOMO\\EMISSION";
    WriteNmObject(dir.file("projections.dcm"), object);

    const Outcome help = RunImport(dir, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: corvista-import [--first-slice N] [--reverse] [--interpolate-gates] STUDY.dcm "
                             "OUT_PREFIX\n",
                             0),
              0u);

    struct Wrong {
        std::vector<std::string> arguments;
        const char *message;
    };
    for (const Wrong &w :
         {Wrong{{}, "the DICOM file and the OUT_PREFIX are missing"}, Wrong{{"good.dcm"}, "the OUT_PREFIX is missing"},
          Wrong{{"good.dcm", "A", "B"}, "unexpected argument 'B'"},
          Wrong{{"--sharpen", "good.dcm", "A"}, "unknown option '--sharpen'"},
          Wrong{{"--first-slice", "x", "good.dcm", "A"}, "--first-slice: 'x' is not a slice number"},
          Wrong{{"--first-slice=0", "good.dcm", "A"}, "--first-slice: '0' is not a slice number"},
          Wrong{{"good.dcm", "A", "--first-slice"}, "--first-slice needs a value"},
          Wrong{{"--first-slice", "2", "good.dcm", "A"},
                "--first-slice 2: the object holds 16 slices, so the first of 16 can be 1..1"}}) {
        const Outcome outcome = RunImport(dir, w.arguments);
        EXPECT_EQ(outcome.status, 2) << w.message;
        EXPECT_EQ(outcome.err.rfind(std::string("corvista-import: ") + w.message, 0), 0u) << outcome.err;
        EXPECT_NE(outcome.err.find("Usage: corvista-import"), std::string::npos);
        EXPECT_EQ(outcome.out, "");
    }

    const Outcome refused = RunImport(dir, {"projections.dcm", "P"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "corvista-import: projections.dcm: projections (GATED TOMO), not a reconstruction: reconstruct and "
              "reorient the short axis first\n");
    const Outcome absent = RunImport(dir, {"absent.dcm", "P"});
    EXPECT_EQ(absent.status, 1);
    EXPECT_EQ(absent.err, "corvista-import: absent.dcm: no such file\n");
    const Outcome noFolder = RunImport(dir, {"good.dcm", "no-such-folder/P"});
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_EQ(
        noFolder.err.rfind("corvista-import: nothing written: no-such-folder/P.d01: cannot write in its folder", 0), 0u)
        << noFolder.err;
    EXPECT_EQ(FilesIn(dir.path()), (std::set<std::string>{"good.dcm", "projections.dcm"}));

    const Outcome written = RunImport(dir, {"--reverse", "--interpolate-gates", "good.dcm", "P"});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "P.d01 .. P.d16: matrix 64 x 64, 16 gates, slices 1..16 of 16 apex to base, stored order "
                           "reversed, factor 1\n");
}

// The existing set must survive any failure whole: a refused object, and a set that cannot be
// replaced because a folder stands where one of its files would go.
TEST(ImportCommand, AFailedImportLeavesAnExistingSetUntouched)
{
    TempDir dir;
    WriteTestStudy(dir.file("P"), [](int phase, int slice, int column, int row) {
        return int16_t(phase * 100 + slice * 3 + column - row);
    });
    std::vector<std::string> before;
    for (int n = 1; n <= 16; ++n)
        before.push_back(ReadWholeFile(StudyFilePath(dir.file("P.d00"), n)));
    NmObject object;
    object.gates = 12;
    WriteNmObject(dir.file("twelve.dcm"), object);
    object.gates = 16;
    object.pixel = [](int, int, int, int, int) { return 9; };
    WriteNmObject(dir.file("good.dcm"), object);
    const std::set<std::string> files = FilesIn(dir.path());
    const auto unchanged = [&] {
        for (int n = 1; n <= 16; ++n)
            EXPECT_TRUE(ReadWholeFile(StudyFilePath(dir.file("P.d00"), n)) == before[std::size_t(n - 1)]) << n;
        EXPECT_EQ(FilesIn(dir.path()), files);
    };

    const Outcome refused = RunImport(dir, {"twelve.dcm", "P"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "corvista-import: twelve.dcm: 12 gates; only 16, or 8 with --interpolate-gates, are taken\n");
    unchanged();

    // P.d09 a folder: nothing of the set may change, and no temporary file may stay.
    std::filesystem::rename(dir.file("P.d09"), dir.file("P.d09.kept"));
    std::filesystem::create_directory(dir.file("P.d09"));
    const Outcome blocked = RunImport(dir, {"good.dcm", "P"});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_EQ(blocked.err, "corvista-import: nothing written: P.d09: exists and is not a file\n");
    std::filesystem::remove(dir.file("P.d09"));
    std::filesystem::rename(dir.file("P.d09.kept"), dir.file("P.d09"));
    unchanged();

    // And a good object replaces every file of the set.
    const Outcome replaced = RunImport(dir, {"good.dcm", "P"});
    ASSERT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(FilesIn(dir.path()), files);
    Study study;
    ASSERT_TRUE(LoadStudySet(dir.file("P.d16"), study).ok);
    EXPECT_EQ(study.CountRange, 9);
    EXPECT_EQ(study.volume.at(0, 0, 0, 0), 9);
    EXPECT_EQ(study.volume.at(124, 124, 15, 15), 9);
}

} // namespace
