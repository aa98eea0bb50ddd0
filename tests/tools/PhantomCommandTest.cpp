// The corvista-phantom command: what it writes, how it reads its arguments, and how it
// refuses bad ones (exit status 2) or reports a file it cannot write (exit status 1).
#include "Phantom.h"
#include "StudyReader.h"
#include "CommandRun.h"
#include "TestStudy.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Outcome = CommandOutcome;


// Runs the command in the folder, so that relative prefixes land there.
Outcome RunPhantom(const TempDir &dir, const std::vector<std::string> &arguments)
{
    return RunCommandIn(dir.path(), CORVISTA_PHANTOM_COMMAND, arguments);
}

// The pixels of one written file, [slice][row][column], as they lie after the header.
std::vector<int16_t> FilePixels(const std::string &bytes)
{
    std::vector<int16_t> pixels(16 * 64 * 64);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const auto lo = uint8_t(bytes[9984 + 2 * i]), hi = uint8_t(bytes[9984 + 2 * i + 1]);
        pixels[i] = int16_t(uint16_t(lo | hi << 8));
    }
    return pixels;
}

// Checks the 16 files against the pixels the options give.
void ExpectStudy(const std::string &prefix, const PhantomOptions &options)
{
    const std::vector<int16_t> expected = MakePhantomPixels(options);
    for (int n = 1; n <= 16; ++n) {
        const std::string path = StudyFilePath(prefix + ".d00", n);
        const std::string bytes = ReadWholeFile(path);
        ASSERT_EQ(bytes.size(), 141056u) << path;
        EXPECT_EQ(std::string(bytes.data() + 2, 20),
                  options.patientId + std::string(20 - options.patientId.size(), '\0'))
            << path;
        EXPECT_EQ(std::string(bytes.data() + 30, 30),
                  options.patientName + std::string(30 - options.patientName.size(), '\0'))
            << path;
        const std::vector<int16_t> pixels = FilePixels(bytes);
        EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), expected.begin() + (n - 1) * 16 * 64 * 64)) << path;
    }
}

TEST(PhantomCommand, WritesSixteenFramesWithThePatientFields)
{
    TempDir dir;
    const Outcome run = RunPhantom(dir, {"--seed", "3", "--noise", "--peak", "800", "--centre", "2,-1", "--defect",
                                         "200,60", "--hot-spot", "--id", "ID 42", "--name", "DOE^JOHN", dir.file("S")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(dir.file("S") + ".d01"), std::string::npos) << run.out;
    PhantomOptions options;
    options.seed = 3;
    options.noise = true;
    options.peak = 800;
    options.centreDx = 2;
    options.centreDy = -1;
    options.defect = true;
    options.defectStart = 200;
    options.defectWidth = 60;
    options.hotSpot = true;
    options.patientId = "ID 42";
    options.patientName = "DOE^JOHN";
    ExpectStudy(dir.file("S"), options);
    EXPECT_FALSE(std::filesystem::exists(dir.file("S.d17")));
}

TEST(PhantomCommand, ReadsEachFormOfItsArguments)
{
    struct Case {
        const char *what;
        std::vector<std::string> arguments; // the prefix follows
        PhantomOptions options;
    };
    PhantomOptions sample; // the sample study the run command writes
    sample.noise = true;
    sample.defect = true;
    PhantomOptions sector = sample;
    sector.noise = false;
    sector.defectStart = 10.5;
    sector.defectWidth = 300;
    PhantomOptions seeded;
    seeded.seed = 18446744073709551615ull;
    seeded.noise = true;
    seeded.peak = 32767;
    seeded.centreDx = -16;
    seeded.centreDy = 16;
    PhantomOptions named;
    named.patientId = "-dash";
    named.patientName = "";
    const Case cases[] = {
        {"defaults", {}, PhantomOptions{}},
        {"the sample study: --defect keeps its default sector", {"--seed", "1", "--noise", "--defect"}, sample},
        {"--option=value forms", {"--defect=10.5,300"}, sector},
        {"limits", {"--seed=18446744073709551615", "--noise", "--peak=+32767", "--center", "-16,16"}, seeded},
        {"texts that look like options", {"--id", "-dash", "--name="}, named},
    };
    for (const Case &c : cases) {
        TempDir dir;
        std::vector<std::string> arguments = c.arguments;
        arguments.push_back(dir.file("P"));
        const Outcome run = RunPhantom(dir, arguments);
        ASSERT_EQ(run.status, 0) << c.what << ": " << run.err;
        SCOPED_TRACE(c.what);
        ExpectStudy(dir.file("P"), c.options);
    }
    // "--" ends the options, for a prefix that starts with dashes; a relative prefix is
    // taken from the working folder.
    TempDir dir;
    EXPECT_EQ(RunPhantom(dir, {"--odd"}).status, 2);
    ASSERT_EQ(RunPhantom(dir, {"--peak", "500", "--", "--odd"}).status, 0);
    PhantomOptions low;
    low.peak = 500;
    ExpectStudy(dir.file("--odd"), low);
}

TEST(PhantomCommand, RefusesBadArgumentsWithStatusTwo)
{
    struct Case {
        std::vector<std::string> arguments;
        const char *named; // the part of the message that says what is wrong
    } cases[] = {
        {{}, "PREFIX"},
        {{"--noise"}, "PREFIX"},
        {{"--bogus", "P"}, "--bogus"},
        {{"-x", "P"}, "-x"},
        {{"A", "B"}, "one PREFIX"},
        {{"--seed", "P"}, "--seed"},
        {{"--seed", "-1", "P"}, "--seed"},
        {{"--seed", "1.5", "P"}, "--seed"},
        {{"--seed"}, "needs a value"},
        {{"--peak", "0", "P"}, "--peak"},
        {{"--peak", "32768", "P"}, "--peak"},
        {{"--peak", "12abc", "P"}, "--peak"},
        {{"--centre", "3", "P"}, "--centre"},
        {{"--centre", "17,0", "P"}, "--centre"},
        {{"--centre", "0,-17", "P"}, "--centre"},
        {{"--centre", "1,2,3", "P"}, "--centre"},
        {{"--defect", "10,0", "P"}, "--defect"},
        {{"--defect", "10,400", "P"}, "--defect"},
        {{"--defect", "1x,20", "P"}, "--defect"},
        {{"--defect=90", "P"}, "--defect"},
        {{"--noise=yes", "P"}, "takes no value"},
        {{"--id", "12345678901234567890", "P"}, "--id"},
        {{"--name", "123456789012345678901234567890", "P"}, "--name"},
    };
    for (const Case &c : cases) {
        TempDir dir;
        std::vector<std::string> arguments;
        for (const std::string &a : c.arguments)
            arguments.push_back(a == "P" || a == "A" || a == "B" ? dir.file(a) : a);
        const Outcome run = RunPhantom(dir, arguments);
        const std::string what = c.arguments.empty() ? "(nothing)" : c.arguments.front();
        EXPECT_EQ(run.status, 2) << what << ": " << run.err;
        EXPECT_NE(run.err.find(c.named), std::string::npos) << what << ": " << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << what;
        EXPECT_FALSE(std::filesystem::exists(dir.file("P.d01"))) << what;
        EXPECT_FALSE(std::filesystem::exists(dir.file("A.d01"))) << what;
    }
}

TEST(PhantomCommand, HelpDescribesEveryOption)
{
    TempDir dir;
    const Outcome run = RunPhantom(dir, {"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char *option :
         {"--seed", "--noise", "--peak", "--centre", "--defect", "--hot-spot", "--id", "--name", "PREFIX"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

TEST(PhantomCommand, NamesTheFileItCannotWrite)
{
    TempDir dir;
    const std::string prefix = dir.file("no-such-folder/P");
    const Outcome run = RunPhantom(dir, {prefix});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(prefix + ".d01"), std::string::npos) << run.err;

    // A frame that cannot be created part-way through the set is named too.
    std::filesystem::create_directory(dir.file("S.d05"));
    const Outcome late = RunPhantom(dir, {dir.file("S")});
    EXPECT_EQ(late.status, 1);
    EXPECT_NE(late.err.find(dir.file("S.d05")), std::string::npos) << late.err;
}

} // namespace
