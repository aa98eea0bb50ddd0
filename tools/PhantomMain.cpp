// corvista-phantom: writes a synthetic gated study PREFIX.d01 .. PREFIX.d16.
// Exit status 0 when written, 1 when a file cannot be written, 2 for bad arguments.
#include "Phantom.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr const char *Usage =
    "Usage: corvista-phantom [options] PREFIX\n"
    "Writes a synthetic gated study of the left ventricle, PREFIX.d01 .. PREFIX.d16\n"
    "(16 phases, each 16 short-axis slices of 64 x 64 counts, apex in slice 0).\n"
    "\n"
    "Options:\n"
    "  --seed N               seed of the noise (0..18446744073709551615, default 1)\n"
    "  --noise                Poisson noise on the counts (off by default: the study is then\n"
    "                         the same whatever the seed)\n"
    "  --peak N               counts at the heart's hottest point in phase 0, 1..32767\n"
    "                         (default 1000)\n"
    "  --centre DX,DY         the ventricle's centre in pixels from the middle of the slice,\n"
    "                         right and down positive, each -16..16 (default 0,0)\n"
    "  --defect [START,WIDTH] a perfusion defect: half the counts and half the thickening in\n"
    "                         the sector from START to START + WIDTH degrees, counter-clockwise\n"
    "                         from straight right on the screen (default 45,90: the top wall);\n"
    "                         WIDTH 1..360\n"
    "  --hot-spot             a hot blob below and to the left of the heart (gut or liver)\n"
    "  --id TEXT              patient ID, at most 19 bytes (default PHANTOM-0001)\n"
    "  --name TEXT            patient name, at most 29 bytes (default PHANTOM^GATED)\n"
    "  --help                 this text\n"
    "Options taking a value also accept --option=VALUE.\n";

struct BadArgument {
    std::string message;
};

template <typename T> bool ParseNumber(std::string_view text, T &value)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

// "A,B" as two numbers.
template <typename T> bool ParsePair(std::string_view text, T &a, T &b)
{
    const auto comma = text.find(',');
    return comma != std::string_view::npos && ParseNumber(text.substr(0, comma), a) &&
           ParseNumber(text.substr(comma + 1), b);
}

// An argument right after --defect is its sector when it looks like one (a number, a comma),
// so that "--defect PREFIX" keeps its default sector.
bool LooksLikeSector(std::string_view text)
{
    return !text.empty() && text.find(',') != std::string_view::npos &&
           (std::string_view("0123456789+-.").find(text.front()) != std::string_view::npos);
}

PhantomOptions ParseArguments(int argc, char **argv, std::string &prefix, bool &help)
{
    PhantomOptions options;
    bool onlyPrefix = false; // after "--"
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (onlyPrefix || arg.size() < 2 || arg.substr(0, 2) != "--") {
            if (!onlyPrefix && arg.size() > 1 && arg.front() == '-')
                throw BadArgument{"unknown option '" + std::string(arg) + "'"};
            if (!prefix.empty())
                throw BadArgument{"one PREFIX only, got '" + prefix + "' and '" + std::string(arg) + "'"};
            if (arg.empty())
                throw BadArgument{"the PREFIX is empty"};
            prefix = arg;
            continue;
        }
        if (arg == "--") {
            onlyPrefix = true;
            continue;
        }
        std::string_view name = arg, inlineValue;
        bool hasInline = false;
        if (const auto equals = arg.find('='); equals != std::string_view::npos) {
            name = arg.substr(0, equals);
            inlineValue = arg.substr(equals + 1);
            hasInline = true;
        }
        const auto flag = [&] {
            if (hasInline)
                throw BadArgument{std::string(name) + " takes no value"};
        };
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

        if (name == "--help") {
            flag();
            help = true;
        } else if (name == "--noise") {
            flag();
            options.noise = true;
        } else if (name == "--hot-spot") {
            flag();
            options.hotSpot = true;
        } else if (name == "--seed") {
            const auto v = value();
            if (!ParseNumber(v, options.seed))
                throw bad(v, "a whole number 0..18446744073709551615");
        } else if (name == "--peak") {
            const auto v = value();
            if (!ParseNumber(v, options.peak) || options.peak < 1 || options.peak > 32767)
                throw bad(v, "a whole number 1..32767");
        } else if (name == "--centre" || name == "--center") {
            const auto v = value();
            if (!ParsePair(v, options.centreDx, options.centreDy) || options.centreDx < -16 || options.centreDx > 16 ||
                options.centreDy < -16 || options.centreDy > 16)
                throw bad(v, "DX,DY with whole numbers -16..16");
        } else if (name == "--defect") {
            options.defect = true;
            if (hasInline || (i + 1 < argc && LooksLikeSector(argv[i + 1]))) {
                const auto v = value();
                double start = 0.0, width = 0.0;
                if (!ParsePair(v, start, width) || !(start > -1e6 && start < 1e6) || !(width >= 1.0 && width <= 360.0))
                    throw bad(v, "START,WIDTH in degrees with WIDTH 1..360");
                options.defectStart = start;
                options.defectWidth = width;
            }
        } else if (name == "--id") {
            const auto v = value();
            if (v.size() > 19)
                throw bad(v, "a patient ID of at most 19 bytes");
            options.patientId = v;
        } else if (name == "--name") {
            const auto v = value();
            if (v.size() > 29)
                throw bad(v, "a patient name of at most 29 bytes");
            options.patientName = v;
        } else {
            throw BadArgument{"unknown option '" + std::string(name) + "'"};
        }
    }
    if (!help && prefix.empty())
        throw BadArgument{"the PREFIX of the files to write is missing"};
    return options;
}

} // namespace

int main(int argc, char **argv)
{
    std::string prefix;
    bool help = false;
    PhantomOptions options;
    try {
        options = ParseArguments(argc, argv, prefix, help);
    } catch (const BadArgument &bad) {
        std::fprintf(stderr, "corvista-phantom: %s\nTry 'corvista-phantom --help'.\n", bad.message.c_str());
        return 2;
    }
    if (help) {
        std::fputs(Usage, stdout);
        return 0;
    }
    std::string error;
    if (!WritePhantomStudy(prefix, options, error)) {
        std::fprintf(stderr, "corvista-phantom: cannot write the study: %s\n", error.c_str());
        return 1;
    }
    std::printf("corvista-phantom: wrote %s.d01 .. %s.d16\n", prefix.c_str(), prefix.c_str());
    return 0;
}
