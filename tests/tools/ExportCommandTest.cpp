// The corvista-export command: the same bytes as the library for every option, standard
// output, and how it refuses bad arguments (exit status 2) or reports a study it cannot read
// and a file it cannot write (exit status 1), writing nothing in either case.
#include "ResultsFile.h"
#include "StudyReader.h"
#include "CommandRun.h"
#include "TestStudy.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Outcome = CommandOutcome;


// Runs the command in the folder; standard output goes to a file of the folder, or to
// `device` (which is not read back).
Outcome RunExport(const TempDir &dir, const std::vector<std::string> &arguments, const std::string &device = "")
{
    return RunCommandIn(dir.path(), CORVISTA_EXPORT_COMMAND, arguments, device);
}

// A study whose counts differ by phase, slice and place, so that every option changes the file.
void WriteStudy(const std::string &prefix)
{
    WriteTestStudy(prefix, [](int phase, int slice, int column, int row) {
        const int dx = column - 30, dy = row - 33;
        const int ring = std::abs(dx * dx + dy * dy - (12 + phase % 5) * (12 + phase % 5));
        return int16_t(ring < 60 ? 900 - 20 * slice + 15 * phase + column : 40 + (row * 7 + column) % 13);
    });
}

// What the library writes for the study and settings.
std::string LibraryBytes(const std::string &study, const ResultsFileSettings &settings)
{
    auto loaded = std::make_unique<Study>();
    EXPECT_TRUE(LoadStudySet(study, *loaded).ok);
    auto results = std::make_unique<ProfileResults>();
    std::string text;
    EXPECT_TRUE(FormatResultsFile(text, loaded->volume, settings, *results));
    return text;
}

class ExportCommandTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string study;
    void SetUp() override
    {
        WriteStudy(dir.file("S"));
        study = dir.file("S.d01");
    }
};

TEST_F(ExportCommandTest, WritesWhatTheLibraryWritesForEveryOption)
{
    struct Case {
        std::vector<std::string> arguments;
        ResultsFileSettings settings;
        const char *start; // the file's first line
    };
    ResultsFileSettings b;
    b.variant = 1;
    ResultsFileSettings moved;
    moved.variant = 1;
    moved.analysis = {2, 60, 70, 30, 50, 10};
    moved.curPhase = 0;
    ResultsFileSettings high;
    high.analysis = {15, 24, 103, 64, 0, 100};
    high.curPhase = 15;
    ResultsFileSettings low;
    low.analysis = {0, 103, 24, 10, 100, 0};
    low.curPhase = 3;
    const Case cases[] = {
        {{}, ResultsFileSettings{}, "SLICE,8,"},
        {{"--variant", "B"}, b, "percentCI-MAP(peak),"},
        {{"--variant=b", "--slice=3", "--phase", "1", "--centre", "60,70", "--radius", "30", "--area", "50",
          "--width=10"},
         moved,
         "percentCI-MAP(peak),"},
        {{"--slice", "16", "--phase", "16", "--center", "24,103", "--radius", "64", "--area", "0", "--width", "100"},
         high,
         "SLICE,16,"},
        {{"--variant", "A", "--slice", "+1", "--phase=4", "--centre=103,24", "--radius", "10", "--area", "100",
          "--width", "0"},
         low,
         "SLICE,1,"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.push_back(study);
        arguments.push_back(dir.file("out.csv"));
        const Outcome run = RunExport(dir, arguments);
        const std::string what = c.arguments.empty() ? "defaults" : c.arguments.front();
        ASSERT_EQ(run.status, 0) << what << ": " << run.err;
        EXPECT_EQ(run.err, "") << what;
        const std::string bytes = ReadWholeFile(dir.file("out.csv"));
        EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")), c.start) << what;
        EXPECT_EQ(bytes, LibraryBytes(study, c.settings)) << what;
        fs::remove(dir.file("out.csv"));
    }
    // Different settings make different files, so the comparison above means something.
    EXPECT_NE(LibraryBytes(study, high), LibraryBytes(study, ResultsFileSettings{}));
    EXPECT_NE(LibraryBytes(study, b), LibraryBytes(study, moved));
}

TEST_F(ExportCommandTest, WritesToStandardOutputForADash)
{
    ResultsFileSettings b;
    b.variant = 1;
    for (const auto &[variant, settings] : {std::pair{"A", ResultsFileSettings{}}, std::pair{"B", b}}) {
        const Outcome run = RunExport(dir, {"--variant", variant, study, "-"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, LibraryBytes(study, settings)) << variant;
        EXPECT_FALSE(fs::exists(dir.file("-")));
    }
    // "--" lets a file be called "-".
    ASSERT_EQ(RunExport(dir, {"--", study, "-"}).status, 0);
    EXPECT_FALSE(fs::exists(dir.file("-")));
}

TEST_F(ExportCommandTest, RefusesBadArgumentsWithStatusTwoAndWritesNothing)
{
    struct Case {
        std::vector<std::string> arguments;
        const char *named; // the part of the message that says what is wrong
    } cases[] = {
        {{}, "STUDY and OUT"},
        {{"STUDY"}, "OUT"},
        {{"STUDY", "OUT", "MORE"}, "'MORE'"},
        {{"--bogus", "STUDY", "OUT"}, "--bogus"},
        {{"-v", "STUDY", "OUT"}, "-v"},
        {{"--variant", "C", "STUDY", "OUT"}, "--variant: 'C'"},
        {{"--variant=", "STUDY", "OUT"}, "--variant: ''"},
        {{"--slice", "0", "STUDY", "OUT"}, "--slice: '0'"},
        {{"--slice", "17", "STUDY", "OUT"}, "--slice: '17'"},
        {{"--slice", "8.5", "STUDY", "OUT"}, "--slice"},
        {{"--phase", "0", "STUDY", "OUT"}, "--phase: '0'"},
        {{"--phase", "x", "STUDY", "OUT"}, "--phase"},
        {{"--centre", "23,64", "STUDY", "OUT"}, "--centre: '23,64'"},
        {{"--centre", "64,104", "STUDY", "OUT"}, "--centre"},
        {{"--centre", "64", "STUDY", "OUT"}, "--centre"},
        {{"--centre", "64,64,64", "STUDY", "OUT"}, "--centre"},
        {{"--radius", "9", "STUDY", "OUT"}, "--radius: '9'"},
        {{"--radius", "65", "STUDY", "OUT"}, "--radius"},
        {{"--area", "-1", "STUDY", "OUT"}, "--area"},
        {{"--area", "101", "STUDY", "OUT"}, "--area"},
        {{"--width", "101", "STUDY", "OUT"}, "--width"},
        {{"--width", "2147483648", "STUDY", "OUT"}, "--width"},
        {{"STUDY", "OUT", "--radius"}, "--radius needs a value"},
        {{"--help=yes"}, "--help takes no value"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> arguments;
        for (const std::string &a : c.arguments)
            arguments.push_back(a == "STUDY" ? study : a == "OUT" ? dir.file("out.csv") : a);
        const Outcome run = RunExport(dir, arguments);
        const std::string what = c.arguments.empty() ? "(nothing)" : c.arguments.front();
        EXPECT_EQ(run.status, 2) << what << ": " << run.err;
        EXPECT_NE(run.err.find(c.named), std::string::npos) << what << ": " << run.err;
        EXPECT_NE(run.err.find("Usage: corvista-export"), std::string::npos) << what;
        EXPECT_EQ(run.out, "") << what;
        EXPECT_FALSE(fs::exists(dir.file("out.csv"))) << what;
        EXPECT_FALSE(fs::exists(dir.file("MORE"))) << what;
    }
}

TEST_F(ExportCommandTest, HelpDescribesEveryOption)
{
    const Outcome run = RunExport(dir, {"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char *option : {"--variant", "--slice", "--phase", "--centre", "--radius", "--area", "--width",
                               "STUDY.d01", "OUT.csv", "24..103", "10..64"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

TEST_F(ExportCommandTest, AStudyThatCannotBeReadIsReportedWithStatusOne)
{
    const std::string out = dir.file("out.csv");
    std::ofstream(out) << "earlier";

    const Outcome missing = RunExport(dir, {dir.file("T.d01"), out});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "corvista-export: T.d01: no such file\n");

    fs::resize_file(dir.file("S.d05"), 1000);
    const Outcome shortFile = RunExport(dir, {study, out});
    EXPECT_EQ(shortFile.status, 1);
    EXPECT_EQ(shortFile.err, "corvista-export: S.d05: 1000 bytes; a frame file needs at least 141056\n");
    EXPECT_EQ(ReadWholeFile(out), "earlier");
    EXPECT_EQ(RunExport(dir, {study, "-"}).out, "");
}

TEST_F(ExportCommandTest, AFileThatCannotBeWrittenIsReportedWithStatusOne)
{
    std::ofstream(dir.file("file.txt")) << "text";
    const std::string out = dir.file("file.txt/out.csv");
    const Outcome run = RunExport(dir, {study, out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "corvista-export: " + out + ": Not a directory\n");

    if (fs::is_character_file("/dev/full")) {
        const Outcome full = RunExport(dir, {study, "-"}, "/dev/full");
        EXPECT_EQ(full.status, 1);
        EXPECT_EQ(full.err, "corvista-export: standard output: No space left on device\n");
        const Outcome device = RunExport(dir, {"--variant", "B", study, "/dev/full"});
        EXPECT_EQ(device.status, 1);
        EXPECT_EQ(device.err, "corvista-export: /dev/full: No space left on device\n");
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
    }
}

} // namespace
