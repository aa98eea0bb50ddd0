// Saving the results file: the bytes land complete or not at all. Failures are made with
// things that stop root too (a path through a regular file, a file-size limit, /dev/full),
// since the tests may run as root.
#include "ExportTestSupport.h"
#include "ResultsFile.h"
#include "TestStudy.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    ASSERT_TRUE(out.good()) << path;
}

std::set<std::string> Listing(const TempDir &dir)
{
    std::set<std::string> names;
    for (const auto &entry : fs::directory_iterator(dir.path()))
        names.insert(entry.path().filename().string());
    return names;
}

class ResultsFileSaveTest : public ::testing::Test {
protected:
    TempDir dir;
    GatedVolume volume;
    std::unique_ptr<ProfileResults> results = std::make_unique<ProfileResults>();
    ResultsFileSettings settings;

    void SetUp() override
    {
        std::array<int16_t, 16> counts;
        counts.fill(300);
        counts[7] = 240;
        FillSlice(volume, 7, counts);
    }

    // The beginning of the file these settings give, worked out by hand.
    static std::string ExpectedStart(int variant)
    {
        return variant == 0 ? "SLICE,8,\r\nC-MAP(peak),\r\n" + NumberedHeader("phase,") + "\r\n1,300,300,"
                            : "percentCI-MAP(peak),\r\n" + NumberedHeader("slice,") + "\r\n1,0.000000,";
    }
};

TEST_F(ResultsFileSaveTest, WritesANewFileAndReplacesAnOldOneKeepingItsPermissions)
{
    for (int variant : {0, 1}) {
        settings.variant = variant;
        std::string expected;
        ASSERT_TRUE(FormatResultsFile(expected, volume, settings, *results));
        ASSERT_EQ(expected.substr(0, ExpectedStart(variant).size()), ExpectedStart(variant));

        const std::string path = dir.file("new" + std::to_string(variant) + ".csv");
        std::string error = "stale";
        ASSERT_TRUE(SaveResultsFile(path, volume, settings, *results, error)) << error;
        EXPECT_EQ(error, "");
        EXPECT_EQ(ReadFile(path), expected);
        EXPECT_EQ(results->ProfilePeak[7][0], 240); // the results describe slice 8

        const std::string old = dir.file("old" + std::to_string(variant) + ".csv");
        WriteFile(old, std::string(1000000, 'x'));
        ASSERT_EQ(::chmod(old.c_str(), 0640), 0);
        ASSERT_TRUE(SaveResultsFile(old, volume, settings, *results, error)) << error;
        EXPECT_EQ(ReadFile(old), expected);
        EXPECT_EQ(fs::status(old).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    }
    EXPECT_EQ(Listing(dir), (std::set<std::string>{"new0.csv", "new1.csv", "old0.csv", "old1.csv"}));

    // A relative name lands in the working folder.
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    std::string error;
    const bool saved = SaveResultsFile("relative.csv", volume, settings, *results, error);
    fs::current_path(before);
    ASSERT_TRUE(saved) << error;
    EXPECT_EQ(ReadFile(dir.file("relative.csv")).substr(0, 10), "percentCI-");
}

TEST_F(ResultsFileSaveTest, ALinkStaysALinkToTheReplacedFile)
{
    fs::create_directory(dir.file("real"));
    WriteFile(dir.file("real/results.csv"), "old");
    fs::create_symlink("real/results.csv", dir.file("link.csv"));
    std::string error;
    ASSERT_TRUE(SaveResultsFile(dir.file("link.csv"), volume, settings, *results, error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir.file("link.csv")));
    EXPECT_EQ(ReadFile(dir.file("real/results.csv")).substr(0, 9), "SLICE,8,\r");
    EXPECT_EQ(Listing(dir), (std::set<std::string>{"link.csv", "real"}));
}

TEST_F(ResultsFileSaveTest, AFileThatCannotBeCreatedIsNamedWithTheReason)
{
    WriteFile(dir.file("file.txt"), "a regular file");
    fs::create_directory(dir.file("folder.csv"));
    struct Case {
        std::string path;
        const char *reason;
    } cases[] = {
        {dir.file("file.txt/out.csv"), "Not a directory"},
        {dir.file("missing/out.csv"), "No such file or directory"},
        {dir.file("folder.csv"), "Is a directory"},
        {dir.file(std::string(300, 'n') + ".csv"), "File name too long"},
    };
    for (const Case &c : cases) {
        std::string error;
        EXPECT_FALSE(SaveResultsFile(c.path, volume, settings, *results, error)) << c.path;
        EXPECT_EQ(error, c.path + ": " + c.reason);
        EXPECT_EQ(Listing(dir), (std::set<std::string>{"file.txt", "folder.csv"})) << c.path;
    }
    EXPECT_EQ(ReadFile(dir.file("file.txt")), "a regular file");
    EXPECT_TRUE(fs::is_empty(dir.file("folder.csv")));

    std::string error;
    EXPECT_FALSE(SaveResultsFile("", volume, settings, *results, error));
    EXPECT_EQ(error, "the results file has no name");

    settings.curPhase = 16;
    EXPECT_FALSE(SaveResultsFile(dir.file("out.csv"), volume, settings, *results, error));
    EXPECT_EQ(error, dir.file("out.csv") + ": the reference phase must be 0..15, not 16");
    EXPECT_FALSE(fs::exists(dir.file("out.csv")));
}

// The process may write no more than `bytes` to any file while this lives: writes beyond it
// fail with EFBIG, as on a full disk, for root as well.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ok_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    bool ok() const { return ok_; }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
    bool ok_ = false;
};

TEST_F(ResultsFileSaveTest, AWriteThatFailsLeavesTheOldFileAndNoTemporaryFile)
{
    const std::string old = dir.file("results.csv");
    WriteFile(old, "the earlier results\r\n");
    for (int variant : {0, 1}) {
        settings.variant = variant;
        std::string error;
        bool saved = true;
        {
            const FileSizeLimit limit(4096); // both variants are far longer
            ASSERT_TRUE(limit.ok());
            saved = SaveResultsFile(old, volume, settings, *results, error);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(error, old + ": File too large");
        EXPECT_EQ(ReadFile(old), "the earlier results\r\n");
        EXPECT_EQ(Listing(dir), std::set<std::string>{"results.csv"});
    }
}

TEST_F(ResultsFileSaveTest, AFullDeviceIsReportedAndStaysADevice)
{
    if (!fs::is_character_file("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    std::string error;
    EXPECT_FALSE(SaveResultsFile("/dev/full", volume, settings, *results, error));
    EXPECT_EQ(error, "/dev/full: No space left on device");
    EXPECT_TRUE(fs::is_character_file("/dev/full"));

    // A device that takes everything is written in place, not replaced.
    ASSERT_TRUE(SaveResultsFile("/dev/null", volume, settings, *results, error)) << error;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(ResultsFileSaveTest, AFolderOrFileWithoutWritePermissionRefusesTheFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into any folder and file";
    WriteFile(dir.file("read-only.csv"), "kept");
    fs::permissions(dir.file("read-only.csv"), fs::perms::owner_read);
    std::string readOnlyError;
    EXPECT_FALSE(SaveResultsFile(dir.file("read-only.csv"), volume, settings, *results, readOnlyError));
    EXPECT_EQ(readOnlyError, dir.file("read-only.csv") + ": Permission denied");
    EXPECT_EQ(ReadFile(dir.file("read-only.csv")), "kept");

    fs::create_directory(dir.file("locked"));
    WriteFile(dir.file("locked/results.csv"), "kept");
    fs::permissions(dir.file("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    std::string error;
    EXPECT_FALSE(SaveResultsFile(dir.file("locked/results.csv"), volume, settings, *results, error));
    EXPECT_EQ(error, dir.file("locked/results.csv") + ": Permission denied");
    fs::permissions(dir.file("locked"), fs::perms::owner_all);
    EXPECT_EQ(ReadFile(dir.file("locked/results.csv")), "kept");
    EXPECT_EQ(fs::directory_iterator(dir.file("locked"))->path().filename(), "results.csv");
}

} // namespace
