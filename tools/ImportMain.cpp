// corvista-import: a reconstructed gated short-axis series exported as DICOM, written as the
// study set OUT_PREFIX.d01 .. OUT_PREFIX.d16 that the program opens.
// Exit status 0 when written, 1 when the object cannot be read or taken or the set cannot be
// written, 2 for wrong arguments.
#include "DicomImport.h"
#include "StudySetReplace.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr const char *Usage =
    "Usage: corvista-import [--first-slice N] [--reverse] [--interpolate-gates] STUDY.dcm OUT_PREFIX\n"
    "Reads a reconstructed, reoriented gated short-axis series (one DICOM NM object, image type\n"
    "RECON GATED TOMO) and writes the study set OUT_PREFIX.d01 .. OUT_PREFIX.d16: 16 phases of\n"
    "16 slices of 64 x 64 counts, apex to base. An existing set of that name is replaced whole\n"
    "or not at all.\n"
    "\n"
    "Options:\n"
    "  --first-slice N      take the 16 slices from slice N on (1-based, apex to base); by\n"
    "                       default the 16 centred on the count-weighted mean slice of gate 1\n"
    "  --reverse            the stored slices run from base to apex (used only when the object\n"
    "                       does not state its Slice Progression Direction)\n"
    "  --interpolate-gates  take 8 gates, with a phase between each two made from their mean\n"
    "  --help               this text\n";

struct Arguments {
    DicomImportOptions options;
    std::string study, prefix;
    bool help = false;
};

bool ParseArguments(int argc, char **argv, Arguments &args, std::string &error)
{
    bool onlyFiles = false;
    std::string *files[2] = {&args.study, &args.prefix};
    int nFiles = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!onlyFiles && arg == "--") {
            onlyFiles = true;
        } else if (onlyFiles || arg.empty() || arg.front() != '-' || arg == "-") {
            if (nFiles == 2) {
                error = "unexpected argument '" + std::string(arg) + "'";
                return false;
            }
            *files[nFiles++] = arg;
        } else if (arg == "--help") {
            args.help = true;
        } else if (arg == "--reverse") {
            args.options.reverse = true;
        } else if (arg == "--interpolate-gates") {
            args.options.interpolateGates = true;
        } else if (arg == "--first-slice" || arg.rfind("--first-slice=", 0) == 0) {
            std::string_view value;
            if (arg.size() > 13) {
                value = arg.substr(14);
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                error = "--first-slice needs a value";
                return false;
            }
            int n = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
            if (value.empty() || ec != std::errc() || end != value.data() + value.size() || n < 1) {
                error = "--first-slice: '" + std::string(value) + "' is not a slice number 1, 2, ...";
                return false;
            }
            args.options.firstSlice = n;
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
    }
    if (!args.help && nFiles < 2) {
        error = nFiles == 0 ? "the DICOM file and the OUT_PREFIX are missing" : "the OUT_PREFIX is missing";
        return false;
    }
    if (!args.help && args.prefix.empty()) {
        error = "the OUT_PREFIX is empty";
        return false;
    }
    return true;
}

int WrongArguments(const std::string &error)
{
    std::fprintf(stderr, "corvista-import: %s\n%s", error.c_str(), Usage);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    Arguments args;
    std::string error;
    if (!ParseArguments(argc, argv, args, error))
        return WrongArguments(error);
    if (args.help) {
        std::fputs(Usage, stdout);
        return 0;
    }

    const DicomImportResult result = ImportDicom(args.study, args.options);
    if (result.failure == ImportFailure::Option)
        return WrongArguments(result.message);
    if (!result.ok()) {
        std::fprintf(stderr, "corvista-import: %s: %s\n", args.study.c_str(), result.message.c_str());
        return 1;
    }
    const ImportedStudy &study = result.study;
    if (!ReplaceStudySet(args.prefix, study.patientId, study.patientName, study.pixels, error)) {
        std::fprintf(stderr, "corvista-import: nothing written: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s.d01 .. %s.d16: %s\n", args.prefix.c_str(), args.prefix.c_str(), study.summary.c_str());
    return 0;
}
