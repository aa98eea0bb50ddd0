// corvista-render: writes the picture the window shows in Image1 (a montage or a map panel)
// or in Image3 (the detail view) as a PNG file, drawn by the window's own renderers, for
// reports and batch work. Exit status 0 when written, 1 when the study cannot be read or the
// picture cannot be written, 2 for bad arguments.
#include "ColourTable.h"
#include "CommandLine.h"
#include "CountWindow.h"
#include "DetailView.h"
#include "RenderMapPanel.h"
#include "Montage.h"
#include "StudyReader.h"

#include <QGuiApplication>
#include <QImage>
#include <QPalette>

#include <charconv>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr const char *Usage =
    "Usage: corvista-render [options] STUDY.d01 OUT.png\n"
    "Draws one view of a gated study (STUDY.d01 .. STUDY.d16) as the program's window shows it\n"
    "right after File > Open, with the settings below, and writes it as a PNG picture.\n"
    "\n"
    "Options (defaults are the program's start values):\n"
    "  --view V        slice or phase (the montages, 542 x 542), detail (the magnified slice\n"
    "                  with its ROI, 256 x 256), or a map kind: G1 GA C1 CA B1 A1 AA W1 WA D1 DA\n"
    "                  BI BA (542 x 542) (default slice)\n"
    "  --slice N       the selected slice, 1..16 (default 8)\n"
    "  --phase N       the selected phase, 1..16 (default 8)\n"
    "  --centre X,Y    the ROI centre in volume pixels, each 24..103 (default 64,64)\n"
    "  --radius N      the ROI radius in volume pixels, 10..64 (default 40)\n"
    "  --area N        the area threshold in percent of the peak, 0..100 (default 40)\n"
    "  --width N       the width threshold in percent of the peak, 0..100 (default 20)\n"
    "  --angle N       the ray of the profile graphs and of the angle marker, 0..63 (default 0)\n"
    "  --scale N       the graph-scale bar's position, 0..99; the graphs are scaled by\n"
    "                  (100 - N) / 100 (default 50)\n"
    "  --limits R,B    the bull's-eye colour limits in percent, each 1..100: a change of +R %\n"
    "                  is full red, one of -B % full blue (default 50,50)\n"
    "  --help          this text\n";

// The views by name: -1 and -2 are the slice and phase montages, -3 the detail view, and
// the map kinds their own numbers.
constexpr int SliceMontage = -1, PhaseMontage = -2, Detail = -3;
struct ViewName {
    const char *name;
    int view;
};
constexpr ViewName Views[] = {
    {"slice", SliceMontage}, {"phase", PhaseMontage}, {"detail", Detail}, {"G1", MapG1}, {"GA", MapGA},
    {"C1", MapC1},           {"CA", MapCA},           {"B1", MapB1},      {"A1", MapA1}, {"AA", MapAA},
    {"W1", MapW1},           {"WA", MapWA},           {"D1", MapD1},      {"DA", MapDA}, {"BI", MapBI},
    {"BA", MapBA},
};

struct Arguments {
    int view = SliceMontage;
    int slice = 7, phase = 7;
    AnalysisInputs analysis;
    int angle = 0, scale = 50, redLimit = 50, blueLimit = 50;
    std::string study, out;
    bool help = false;
};

Arguments parseArguments(int argc, char **argv)
{
    Arguments args;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.size() < 2 || arg.substr(0, 2) != "--") {
            if (arg.empty() || (arg.front() == '-' && arg.size() > 1))
                throw BadArgument{"unknown option '" + std::string(arg) + "'"};
            if (positional == 0)
                args.study = arg;
            else if (positional == 1)
                args.out = arg;
            else
                throw BadArgument{"one STUDY and one OUT only; '" + std::string(arg) + "' is one too many"};
            ++positional;
            continue;
        }
        if (arg == "--help") {
            args.help = true;
            continue;
        }
        if (i + 1 >= argc)
            throw BadArgument{std::string(arg) + " needs a value"};
        const std::string_view value = argv[++i];
        const auto bad = [&](const char *wanted) {
            return BadArgument{std::string(arg) + ": '" + std::string(value) + "' is not " + wanted};
        };
        const auto number = [&](int low, int high, int &target, int offset) {
            int n = 0;
            if (!ParseInRange(value, low, high, n))
                throw bad(("a whole number " + std::to_string(low) + ".." + std::to_string(high)).c_str());
            target = n - offset;
        };
        if (arg == "--view") {
            bool known = false;
            for (const ViewName &v : Views)
                if (value == v.name) {
                    args.view = v.view;
                    known = true;
                }
            if (!known)
                throw bad("a view: slice, phase, detail or a map kind");
        } else if (arg == "--slice") {
            number(1, 16, args.slice, 1);
        } else if (arg == "--phase") {
            number(1, 16, args.phase, 1);
        } else if (arg == "--centre" || arg == "--center") {
            if (!ParsePair(value, 24, 103, args.analysis.centreX, args.analysis.centreY))
                throw bad("X,Y with whole numbers 24..103");
        } else if (arg == "--radius") {
            number(10, 64, args.analysis.radius, 0);
        } else if (arg == "--area") {
            number(0, 100, args.analysis.areaThreshold, 0);
        } else if (arg == "--width") {
            number(0, 100, args.analysis.widthThreshold, 0);
        } else if (arg == "--angle") {
            number(0, 63, args.angle, 0);
        } else if (arg == "--scale") {
            number(0, 99, args.scale, 0);
        } else if (arg == "--limits") {
            if (!ParsePair(value, 1, 100, args.redLimit, args.blueLimit))
                throw bad("R,B with whole numbers 1..100");
        } else {
            throw BadArgument{"unknown option '" + std::string(arg) + "'"};
        }
    }
    if (!args.help && positional < 2)
        throw BadArgument{positional == 0 ? "the STUDY and OUT files are missing" : "the OUT file is missing"};
    args.analysis.slice = args.slice;
    return args;
}

Bitmap render(const Arguments &args, const Study &study)
{
    ColourTable table;
    BuildColourTable(table);
    // The count-window bars as File > Open leaves them.
    const CountBarsAfterLoad bars = CountBarsForStudy(study.CountRange);
    const CountToColour colours(table, ComputeCountWindow(study.CountRange, bars.maxPosition, bars.minPosition));
    if (args.view == Detail) {
        Bitmap bitmap(256, 256);
        DetailViewInputs inputs;
        inputs.slice = args.slice;
        inputs.phase = args.phase;
        inputs.centreX = args.analysis.centreX;
        inputs.centreY = args.analysis.centreY;
        inputs.radius = args.analysis.radius;
        inputs.ray = args.angle;
        DrawDetailImage(bitmap, study.volume, colours, inputs);
        return bitmap;
    }
    Bitmap bitmap(542, 542);
    if (args.view == SliceMontage || args.view == PhaseMontage) {
        // The window's montage background: the platform's menu colour.
        const uint32_t menu = QGuiApplication::palette().color(QPalette::Window).rgb();
        DrawMontage(bitmap, study.volume, colours, {args.view == SliceMontage ? 0 : 1, args.slice, args.phase},
                    menu);
        return bitmap;
    }
    auto results = std::make_unique<ProfileResults>();
    AnalyseProfiles(study.volume, args.analysis, *results);
    MapPanelInputs inputs;
    inputs.mapKind = args.view;
    inputs.curPhase = args.phase;
    inputs.mapPhase = args.phase;
    inputs.ray = args.angle;
    inputs.scalePosition = args.scale;
    inputs.maxPosition = 100 - args.redLimit;
    inputs.minPosition = args.blueLimit;
    inputs.analysis = args.analysis;
    RenderMapPanel(bitmap, inputs, study.volume, table, *results);
    return bitmap;
}

} // namespace

int main(int argc, char **argv)
{
    Arguments args;
    try {
        args = parseArguments(argc, argv);
    } catch (const BadArgument &bad) {
        return ReportBadArgument("corvista-render", bad, Usage);
    }
    if (args.help) {
        std::fputs(Usage, stdout);
        return 0;
    }
    // Text needs a GUI application, never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    auto study = std::make_unique<Study>();
    if (!LoadStudyForTool("corvista-render", args.study, *study))
        return 1;
    const Bitmap bitmap = render(args, *study);
    const QImage picture(reinterpret_cast<const uchar *>(bitmap.constBits()), bitmap.width(), bitmap.height(),
                         bitmap.bytesPerLine(), QImage::Format_RGB32);
    if (!picture.save(QString::fromLocal8Bit(args.out.c_str()), "PNG")) {
        std::fprintf(stderr, "corvista-render: %s: the picture cannot be written\n", args.out.c_str());
        return 1;
    }
    return 0;
}
