#include "StudyReader.h"

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

// Fills the volume front to back from the source pixels regrouped so that the 16 slices
// x 16 phases of one source pixel (c, r) lie side by side, in the volume's own order:
// element ((r * 64 + c) * 16 + s) * 16 + p. Each (x, y) is one run of 256 cells.
void fillVolume(const int16_t *regrouped, GatedVolume &volume)
{
    constexpr int Run = GatedVolume::Slices * GatedVolume::Phases;
    auto source = [regrouped](int c, int r) { return regrouped + (std::size_t(r) * SourceSize + c) * Run; };
    int16_t *out = volume.data();
    for (int x = 0; x < GatedVolume::Width; ++x) {
        const int c = x / 2;
        for (int y = 0; y < GatedVolume::Height; ++y, out += Run) {
            const int r = y / 2;
            const bool oddX = x % 2 != 0, oddY = y % 2 != 0;
            // In-between cells are filled only for source rows and columns 0..62, so those of
            // row and column 126, and all of row and column 127, stay 0.
            if ((oddX || oddY) && (c >= SourceSize - 1 || r >= SourceSize - 1)) {
                std::fill_n(out, Run, int16_t(0));
                continue;
            }
            const int16_t *p00 = source(c, r);
            if (!oddX && !oddY) {
                std::copy_n(p00, Run, out);
            } else if (oddX && !oddY) {
                const int16_t *p10 = source(c + 1, r);
                for (int i = 0; i < Run; ++i)
                    out[i] = int16_t((int32_t(p00[i]) + p10[i]) / 2); // truncates toward zero
            } else if (!oddX && oddY) {
                const int16_t *p01 = source(c, r + 1);
                for (int i = 0; i < Run; ++i)
                    out[i] = int16_t((int32_t(p00[i]) + p01[i]) / 2);
            } else {
                const int16_t *p10 = source(c + 1, r), *p01 = source(c, r + 1), *p11 = source(c + 1, r + 1);
                for (int i = 0; i < Run; ++i)
                    out[i] = int16_t((int32_t(p00[i]) + p10[i] + p01[i] + p11[i]) / 4);
            }
        }
    }
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

    // Regroup by source pixel, slice-major then phase, taking the signed maximum on the way.
    std::vector<int16_t> regrouped(files.size());
    int32_t maximum = files[0];
    for (int r = 0; r < SourceSize; ++r)
        for (int s = 0; s < GatedVolume::Slices; ++s)
            for (int p = 0; p < GatedVolume::Phases; ++p) {
                const int16_t *row = files.data() + std::size_t(p) * FileValues + std::size_t(s) * PlaneValues +
                                     std::size_t(r) * SourceSize;
                for (int c = 0; c < SourceSize; ++c) {
                    regrouped[((std::size_t(r) * SourceSize + c) * GatedVolume::Slices + s) * GatedVolume::Phases + p] =
                        row[c];
                    maximum = std::max<int32_t>(maximum, row[c]);
                }
            }

    GatedVolume volume;
    fillVolume(regrouped.data(), volume);

    // Every file is in: only now does the new study replace the old one.
    study.volume.swap(volume);
    study.CountRange = maximum;
    std::memset(study.PatientId, 0, sizeof study.PatientId);
    std::memset(study.PatientName, 0, sizeof study.PatientName);
    std::memcpy(study.PatientId, header + PatientIdOffset, PatientIdBytes);
    std::memcpy(study.PatientName, header + PatientNameOffset, PatientNameBytes);
    return {true, {}};
}
