#include "StudySetReplace.h"

#include "StudyReader.h"
#include "StudyWriter.h"

#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using StudyFormat::Files;

// A new, empty file beside `path`, named after it; "" when the folder takes no new file.
std::string makeTemporary(const std::string &path, const char *kind, std::string &error)
{
    std::string name = path + "." + kind + "-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        error = path + ": cannot write in its folder: " + std::strerror(errno);
        return {};
    }
    // mkstemp makes the file private to its owner; a study set gets the permissions any new
    // file of the user gets, as the study writer's own files do.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ::close(fd);
    return name;
}

struct Slot {
    std::string target, temporary, backup; // backup: a second name of the existing file, or ""
    bool movedAside = false;               // the existing file is only under its backup name
    bool placed = false;                   // the new file is under the target name
};

void removeAll(std::array<Slot, Files> &slots)
{
    for (Slot &s : slots) {
        if (!s.temporary.empty())
            ::unlink(s.temporary.c_str());
        if (!s.backup.empty())
            ::unlink(s.backup.c_str());
    }
}

// Undoes a replacement that stopped part-way: every target back as it was, no other file left.
void restore(std::array<Slot, Files> &slots)
{
    for (Slot &s : slots) {
        if (s.backup.empty()) {
            if (s.placed)
                ::unlink(s.target.c_str()); // there was no file of that name
        } else if (s.placed || s.movedAside) {
            // The old file goes back under its name; should even that fail, it stays under
            // its second name rather than being lost.
            ::rename(s.backup.c_str(), s.target.c_str());
            s.backup.clear();
        }
    }
    removeAll(slots);
}

} // namespace

bool ReplaceStudySet(const std::string &prefix, const std::string &patientId, const std::string &patientName,
                     const std::vector<int16_t> &pixels, std::string &error)
{
    if (pixels.size() != StudyFileValues * Files) {
        error = "a study set needs 16 frames of 16 x 64 x 64 values";
        return false;
    }
    std::array<Slot, Files> slots;
    for (int n = 1; n <= Files; ++n) {
        Slot &slot = slots[std::size_t(n - 1)];
        slot.target = StudyFilePath(prefix + ".d00", n);
        // Only a file can be replaced; a folder or a device in the way refuses the whole set.
        struct stat info {};
        if (::lstat(slot.target.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            error = slot.target + ": exists and is not a file";
            return false;
        }
    }

    // Every new file complete under a temporary name before any target changes.
    for (int n = 0; n < Files; ++n) {
        Slot &slot = slots[std::size_t(n)];
        slot.temporary = makeTemporary(slot.target, "new", error);
        if (slot.temporary.empty() || !WriteStudyFile(slot.temporary, patientId, patientName,
                                                      pixels.data() + std::size_t(n) * StudyFileValues, error)) {
            restore(slots);
            return false;
        }
    }

    // A second name for each existing file, so that a rename failing half-way can be undone. A
    // folder without hard links (a FAT memory stick) gets the old file moved aside instead.
    for (Slot &slot : slots) {
        if (::access(slot.target.c_str(), F_OK) != 0)
            continue;
        slot.backup = makeTemporary(slot.target, "old", error);
        bool kept = !slot.backup.empty() && ::unlink(slot.backup.c_str()) == 0;
        if (kept && ::link(slot.target.c_str(), slot.backup.c_str()) != 0) {
            kept = ::rename(slot.target.c_str(), slot.backup.c_str()) == 0;
            slot.movedAside = kept;
        }
        if (!kept) {
            if (!slot.backup.empty())
                error = slot.target + ": cannot keep the existing file while replacing it: " + std::strerror(errno);
            slot.backup.clear();
            restore(slots);
            return false;
        }
    }

    for (Slot &slot : slots) {
        if (::rename(slot.temporary.c_str(), slot.target.c_str()) != 0) {
            error = slot.target + ": cannot be replaced: " + std::strerror(errno);
            restore(slots);
            return false;
        }
        slot.placed = true;
        slot.temporary.clear();
    }
    removeAll(slots); // the second names of the replaced files
    return true;
}
