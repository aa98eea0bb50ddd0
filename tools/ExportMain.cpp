// corvista-export: writes the CSV results file of a gated study, as the window's save command
// does, with the window's start values as defaults. Exit status 0 when written, 1 when the
// study cannot be read or the file cannot be written, 2 for bad arguments.
#include "CommandLine.h"
#include "ResultsFile.h"

#include <charconv>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr const char *Usage =
    "Usage: corvista-export [options] STUDY.d01 OUT.csv\n"
    "Analyses a gated study (STUDY.d01 .. STUDY.d16) and writes its CSV results file, byte for\n"
    "byte as the program's File > Save As does. OUT may be - for standard output.\n"
    "\n"
    "Options (defaults are the program's start values):\n"
    "  --variant A|B   A: peak, area and width of every phase and ray of the slice, with their\n"
    "                  percent changes, and every count profile; B: the percent changes of\n"
    "                  peak, area, width and peak distance for every slice and ray (default A)\n"
    "  --slice N       the slice analysed (variant A) and selected, 1..16 (default 8)\n"
    "  --phase N       the reference phase of the percent changes, 1..16 (default 8); phase 1\n"
    "                  is the base\n"
    "  --centre X,Y    the ROI centre in volume pixels (128 x 128), each 24..103 (default 64,64)\n"
    "  --radius N      the ROI radius in volume pixels, 10..64 (default 40)\n"
    "  --area N        the area threshold in percent of the peak, 0..100 (default 40)\n"
    "  --width N       the width threshold in percent of the peak, 0..100 (default 20)\n"
    "  --help          this text\n"
    "Options taking a value also accept --option=VALUE.\n";

struct Arguments {
    ResultsFileSettings settings;
    std::string study, out;
    bool help = false;
};

Arguments ParseArguments(int argc, char **argv)
{
    Arguments args;
    ResultsFileSettings &settings = args.settings;
    int positional = 0;
    bool onlyPositional = false; // after "--"
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // "-" alone is standard output, not an option.
        if (onlyPositional || arg.size() < 2 || arg.front() != '-') {
            if (arg.empty())
                throw BadArgument{"an empty file name"};
            if (positional == 0)
                args.study = arg;
            else if (positional == 1)
                args.out = arg;
            else
                throw BadArgument{"one STUDY and one OUT only; '" + std::string(arg) + "' is one too many"};
            ++positional;
            continue;
        }
        if (arg == "--") {
            onlyPositional = true;
            continue;
        }
        if (arg.substr(0, 2) != "--")
            throw BadArgument{"unknown option '" + std::string(arg) + "'"};
        std::string_view name = arg, inlineValue;
        bool hasInline = false;
        if (const auto equals = arg.find('='); equals != std::string_view::npos) {
            name = arg.substr(0, equals);
            inlineValue = arg.substr(equals + 1);
            hasInline = true;
        }
        const auto value = [&]() -> std::string_view {
            if (hasInline)
                return inlineValue;
            if (i + 1 >= argc)
                throw BadArgument{std::string(name) + " needs a value"};
            return argv[++i];
        };
        const auto bad = [&](std::string_view given, const char *wanted) {
            return BadArgument{std::string(name) + ": '" + std::string(given) + "' is not " + wanted};
        };
        // A number in the given range, stored as it is or counted from 0.
        const auto number = [&](int low, int high, int &target, int offset) {
            const auto v = value();
            int n = 0;
            if (!ParseInRange(v, low, high, n))
                throw bad(v, ("a whole number " + std::to_string(low) + ".." + std::to_string(high)).c_str());
            target = n - offset;
        };

        if (name == "--help") {
            if (hasInline)
                throw BadArgument{"--help takes no value"};
            args.help = true;
        } else if (name == "--variant") {
            const auto v = value();
            if (v == "A" || v == "a")
                settings.variant = 0;
            else if (v == "B" || v == "b")
                settings.variant = 1;
            else
                throw bad(v, "A or B");
        } else if (name == "--slice") {
            number(1, 16, settings.analysis.slice, 1);
        } else if (name == "--phase") {
            number(1, 16, settings.curPhase, 1);
        } else if (name == "--centre" || name == "--center") {
            const auto v = value();
            int x = 0, y = 0;
            if (!ParsePair(v, 24, 103, x, y))
                throw bad(v, "X,Y with whole numbers 24..103");
            settings.analysis.centreX = x;
            settings.analysis.centreY = y;
        } else if (name == "--radius") {
            number(10, 64, settings.analysis.radius, 0);
        } else if (name == "--area") {
            number(0, 100, settings.analysis.areaThreshold, 0);
        } else if (name == "--width") {
            number(0, 100, settings.analysis.widthThreshold, 0);
        } else {
            throw BadArgument{"unknown option '" + std::string(name) + "'"};
        }
    }
    if (!args.help && positional < 2)
        throw BadArgument{positional == 0 ? "the STUDY and OUT files are missing" : "the OUT file is missing"};
    return args;
}

} // namespace

int main(int argc, char **argv)
{
    Arguments args;
    try {
        args = ParseArguments(argc, argv);
    } catch (const BadArgument &bad) {
        return ReportBadArgument("corvista-export", bad, Usage);
    }
    if (args.help) {
        std::fputs(Usage, stdout);
        return 0;
    }

    auto study = std::make_unique<Study>();
    if (!LoadStudyForTool("corvista-export", args.study, *study))
        return 1;

    auto results = std::make_unique<ProfileResults>();
    std::string error;
    if (args.out == "-") {
        std::string text;
        FormatResultsFile(text, study->volume, args.settings, *results);
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
            std::perror("corvista-export: standard output");
            return 1;
        }
        return 0;
    }
    if (!SaveResultsFile(args.out, study->volume, args.settings, *results, error)) {
        std::fprintf(stderr, "corvista-export: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
