#include "StudyReader.h"

#include "SourceDoubling.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace StudyFormat;

std::string fileNameOf(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string reasonOf(int error)
{
    switch (error) {
    case ENOENT: return "no such file";
    case EACCES: return "permission denied";
    case EISDIR: return "a folder, not a file";
    default: return std::strerror(error);
    }
}

// Closes the descriptor whatever way the reading of one file ends.
struct FileCloser {
    int fd;
    ~FileCloser()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Reads exactly `size` bytes at `offset`, retrying short reads and interruptions.
bool readFully(int fd, void *buffer, std::size_t size, off_t offset, std::string &reason)
{
    auto *out = static_cast<unsigned char *>(buffer);
    while (size > 0) {
        const ssize_t got = ::pread(fd, out, size, offset);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            reason = std::string("read error: ") + std::strerror(errno);
            return false;
        }
        if (got == 0) {
            reason = "the file ended before its pixel data did";
            return false;
        }
        out += got;
        size -= std::size_t(got);
        offset += got;
    }
    return true;
}

} // namespace

std::string StudyFilePath(const std::string &picked, int number)
{
    std::string path = picked;
    path[path.size() - 2] = char('0' + number / 10);
    path[path.size() - 1] = char('0' + number % 10);
    return path;
}

LoadResult LoadStudySet(const std::string &path, Study &study, const LoadProgress &progress)
{
    if (path.size() < 2)
        return {false, "\"" + path + "\": a study file name needs at least two characters"};

    constexpr std::size_t PlaneValues = std::size_t(SourceSize) * SourceSize;
    constexpr std::size_t FileValues = PlaneValues * GatedVolume::Slices;
    std::vector<int16_t> files(FileValues * Files); // file n - 1 at (n - 1) * FileValues
    char header[PatientNameOffset + PatientNameBytes];

    for (int n = 1; n <= Files; ++n) {
        const std::string name = StudyFilePath(path, n);
        const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return {false, fileNameOf(name) + ": " + reasonOf(errno)};
        FileCloser closer{fd};

        struct stat info {};
        if (::fstat(fd, &info) != 0)
            return {false, fileNameOf(name) + ": " + reasonOf(errno)};
        if (S_ISDIR(info.st_mode))
            return {false, fileNameOf(name) + ": " + reasonOf(EISDIR)};
        if (!S_ISREG(info.st_mode))
            return {false, fileNameOf(name) + ": not a regular file"};
        if (info.st_size < MinFileBytes)
            return {false, fileNameOf(name) + ": " + std::to_string(info.st_size) +
                               " bytes; a frame file needs at least " + std::to_string(MinFileBytes)};

        std::string reason;
        if (n == 1 && !readFully(fd, header, sizeof header, 0, reason))
            return {false, fileNameOf(name) + ": " + reason};
        if (progress)
            progress(n - 1);
        int16_t *pixels = files.data() + std::size_t(n - 1) * FileValues;
        if (!readFully(fd, pixels, PixelBytes, HeaderBytes, reason))
            return {false, fileNameOf(name) + ": " + reason};
        if constexpr (std::endian::native == std::endian::big) {
            for (std::size_t i = 0; i < FileValues; ++i)
                pixels[i] = int16_t(uint16_t(pixels[i]) >> 8 | uint16_t(pixels[i]) << 8);
        }
    }

    GatedVolume volume;
    const int32_t maximum = FillVolumeFromSource(files.data(), volume);

    // Every file is in: only now does the new study replace the old one.
    study.volume.swap(volume);
    study.CountRange = maximum;
    std::memset(study.PatientId, 0, sizeof study.PatientId);
    std::memset(study.PatientName, 0, sizeof study.PatientName);
    std::memcpy(study.PatientId, header + PatientIdOffset, PatientIdBytes);
    std::memcpy(study.PatientName, header + PatientNameOffset, PatientNameBytes);
    return {true, {}};
}
