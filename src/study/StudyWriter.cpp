#include "StudyWriter.h"

#include "StudyReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

bool WriteStudyFile(const std::string &path, const std::string &patientId, const std::string &patientName,
                    const int16_t *pixels, std::string &error)
{
    using namespace StudyFormat;
    std::vector<unsigned char> bytes(std::size_t(MinFileBytes), 0);
    std::memcpy(&bytes[PatientIdOffset], patientId.data(), std::min<std::size_t>(patientId.size(), PatientIdBytes));
    std::memcpy(&bytes[PatientNameOffset], patientName.data(),
                std::min<std::size_t>(patientName.size(), PatientNameBytes));
    for (std::size_t i = 0; i < StudyFileValues; ++i) {
        const auto v = uint16_t(pixels[i]);
        bytes[std::size_t(HeaderBytes) + 2 * i] = uint8_t(v & 0xFF); // little-endian
        bytes[std::size_t(HeaderBytes) + 2 * i + 1] = uint8_t(v >> 8);
    }
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error = path + ": could not be written";
        return false;
    }
    return true;
}

bool WriteStudySet(const std::string &prefix, const std::string &patientId, const std::string &patientName,
                   const std::vector<int16_t> &pixels, std::string &error)
{
    if (pixels.size() != StudyFileValues * StudyFormat::Files) {
        error = "a study set needs 16 frames of 16 x 64 x 64 values";
        return false;
    }
    for (int n = 1; n <= StudyFormat::Files; ++n) {
        const std::string path = StudyFilePath(prefix + ".d00", n);
        if (!WriteStudyFile(path, patientId, patientName, pixels.data() + std::size_t(n - 1) * StudyFileValues, error))
            return false;
    }
    return true;
}
