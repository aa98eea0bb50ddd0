// Saving the results file without ever leaving half a file: the text is formatted in memory,
// written to a temporary file beside the target, flushed to the disk and only then renamed
// over the target, so a failure at any step leaves an existing file as it was.
#include "ResultsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <system_error>

namespace {

std::string Reason(int code)
{
    return std::generic_category().message(code);
}

bool Fail(std::string &error, const std::string &path, int code)
{
    error = path + ": " + Reason(code);
    return false;
}

// Writes all of `text`, resuming after short writes and interruptions.
bool WriteAll(int fd, const std::string &text, int &code)
{
    const char *data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            code = errno;
            return false;
        }
        if (written == 0) {
            code = EIO;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// Writes, flushes and closes; the first failure wins. Devices and pipes cannot be flushed
// to a disk, which is no failure for them.
bool WriteSyncClose(int fd, const std::string &text, bool regular, int &code)
{
    bool ok = WriteAll(fd, text, code);
    if (ok && ::fsync(fd) != 0 && (regular || (errno != EINVAL && errno != ENOTSUP && errno != EROFS))) {
        code = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        code = errno;
        ok = false;
    }
    return ok;
}

std::string FolderOf(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A file that is not a regular one (a terminal, a pipe, /dev/null) is written in place: it
// holds no earlier results to protect, and replacing a device by a file would be wrong.
bool SaveInPlace(const std::string &path, const std::string &text, std::string &error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Fail(error, path, errno);
    int code = 0;
    if (!WriteSyncClose(fd, text, false, code))
        return Fail(error, path, code);
    return true;
}

bool SaveReplacing(const std::string &path, const std::string &target, const struct stat *existing,
                   const std::string &text, std::string &error)
{
    const std::string folder = FolderOf(target);
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = folder + "/.corvista-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return Fail(error, path, errno);
    }
    if (fd < 0)
        return Fail(error, path, EEXIST);
    // A replaced file keeps its permissions; a new one gets those the user's umask allows.
    if (existing)
        (void)::fchmod(fd, existing->st_mode & 07777);
    int code = 0;
    if (!WriteSyncClose(fd, text, true, code)) {
        ::unlink(temp.c_str());
        return Fail(error, path, code);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        code = errno;
        ::unlink(temp.c_str());
        return Fail(error, path, code);
    }
    // Make the rename itself durable; the file is complete whatever this reports.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace

bool SaveResultsFile(const std::string &path, const GatedVolume &volume, const ResultsFileSettings &settings,
                     ProfileResults &results, std::string &error)
{
    error.clear();
    if (path.empty()) {
        error = "the results file has no name";
        return false;
    }
    if (const std::string bad = CheckResultsFileSettings(settings); !bad.empty()) {
        error = path + ": " + bad;
        return false;
    }
    std::string text;
    FormatResultsFile(text, volume, settings, results);

    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0) {
        if (errno != ENOENT)
            return Fail(error, path, errno);
        return SaveReplacing(path, path, nullptr, text, error);
    }
    if (S_ISDIR(existing.st_mode))
        return Fail(error, path, EISDIR);
    if (!S_ISREG(existing.st_mode))
        return SaveInPlace(path, text, error);
    // A link to a results file is kept: the file it points to is the one replaced.
    std::string target = path;
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char resolved[PATH_MAX];
        if (!::realpath(path.c_str(), resolved))
            return Fail(error, path, errno);
        target = resolved;
    }
    // The rename would replace a file the user may not write to; refuse it, as opening it would.
    if (::access(target.c_str(), W_OK) != 0)
        return Fail(error, path, errno);
    return SaveReplacing(path, target, &existing, text, error);
}
