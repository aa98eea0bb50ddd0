// corvista-export and corvista-render on the studies without a proper count range (all zero,
// all negative, one hot pixel at 32767, a largest count of 1 or 2): every variant and every
// view is written, and the sets that cannot be read are refused with the file named and
// nothing written.
#include "CommandRun.h"
#include "TestStudy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char *const Views[] = {"slice", "phase", "detail", "G1", "GA", "C1", "CA", "B1",
                             "A1",    "AA",    "W1",     "WA", "D1", "DA", "BI", "BA"};

// Width and height from a PNG file's header, or 0 x 0 when it is not one.
std::pair<int, int> PngSize(const std::string &bytes)
{
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    const auto be32 = [&](std::size_t at) {
        int v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v = v * 256 + static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {be32(16), be32(20)};
}

std::size_t CrLfLines(const std::string &text)
{
    std::size_t n = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++n;
    return n;
}

TEST(AwkwardStudyCommandTest, EveryVariantAndEveryViewIsWritten)
{
    for (const AwkwardStudy &study : AwkwardStudies()) {
        SCOPED_TRACE(study.name);
        TempDir dir;
        WriteTestStudy(dir.file(study.name), study.pixels);
        const std::string first = dir.file(std::string(study.name) + ".d01");
        for (auto [variant, lines] : {std::pair{"A", 1148u}, std::pair{"B", 72u}}) {
            const CommandOutcome run =
                RunCommandIn(dir.path(), CORVISTA_EXPORT_COMMAND, {"--variant", variant, first, "out.csv"});
            EXPECT_EQ(run.status, 0) << variant << ": " << run.err;
            EXPECT_EQ(CrLfLines(ReadWholeFile(dir.file("out.csv"))), lines) << variant;
        }
        for (const char *view : Views) {
            fs::remove(dir.file("out.png"));
            const CommandOutcome run =
                RunCommandIn(dir.path(), CORVISTA_RENDER_COMMAND, {"--view", view, first, "out.png"});
            EXPECT_EQ(run.status, 0) << view << ": " << run.err;
            const std::pair<int, int> size = PngSize(ReadWholeFile(dir.file("out.png")));
            const int side = std::string(view) == "detail" ? 256 : 542;
            EXPECT_EQ(size, std::make_pair(side, side)) << view;
        }
    }
}

TEST(AwkwardStudyCommandTest, SetsThatCannotBeReadAreRefused)
{
    TempDir dir;
    const PixelFunction hot = AwkwardStudies()[2].pixels;
    WriteTestStudy(dir.file("MISS"), hot);
    fs::remove(dir.file("MISS.d07"));
    WriteTestStudy(dir.file("SHORT"), hot);
    fs::resize_file(dir.file("SHORT.d12"), 141055); // one byte short
    fs::create_directory(dir.file("FOLDER.d01"));
    struct Case {
        const char *first, *named;
    } cases[] = {{"MISS.d01", "MISS.d07"}, {"SHORT.d01", "SHORT.d12"}, {"FOLDER.d01", "FOLDER.d01"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.first);
        const std::vector<std::pair<std::string, std::vector<std::string>>> runs = {
            {CORVISTA_EXPORT_COMMAND, {"--variant", "B", dir.file(c.first), "out.csv"}},
            {CORVISTA_RENDER_COMMAND, {"--view", "BA", dir.file(c.first), "out.png"}},
        };
        for (const auto &[program, arguments] : runs) {
            const CommandOutcome run = RunCommandIn(dir.path(), program, arguments);
            EXPECT_EQ(run.status, 1) << program;
            EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
            EXPECT_FALSE(fs::exists(dir.file("out.csv")));
            EXPECT_FALSE(fs::exists(dir.file("out.png")));
        }
    }
}

} // namespace
