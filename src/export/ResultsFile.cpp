// Formatting of the results file. Numbers go through std::to_chars, which formats as "%d"
// and "%.6f" do in the "C" locale whatever locale the user or the program has set.
#include "ResultsFile.h"

#include <charconv>
#include <cstring>
#include <system_error>

namespace {

constexpr int Phases = ProfileResults::Phases;
constexpr int Rays = ProfileResults::Rays;
constexpr int Samples = ProfileResults::Samples;
constexpr int Slices = GatedVolume::Slices;

// The last three pieces of every column header: the numbers 16 to 64.
constexpr const char *HeaderTail = "16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,"
                                   "33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,"
                                   "50,51,52,53,54,55,56,57,58,59,60,61,62,63,64,";
constexpr const char *PhaseHeader = "phase,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,";
constexpr const char *StepHeader = "step,phase,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,";
constexpr const char *SliceHeader = "slice,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,";

// Lines end in CR LF on every platform, as the file has always had them.
void EndLine(std::string &out)
{
    out.append("\r\n", 2);
}

void AppendText(std::string &out, const char *text)
{
    out.append(text, std::strlen(text));
}

// "%d," and "%ld,": decimal, a minus sign when negative.
void AppendInteger(std::string &out, long value)
{
    char buffer[24];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer - 1, value);
    (void)ec; // 24 characters hold any long
    *end = ',';
    out.append(buffer, end + 1);
}

// "%lf,": fixed point with six decimals, a minus sign when negative, never an exponent.
void AppendPercent(std::string &out, double value)
{
    // The largest percentage, from an area of 1 against one of -2^31, has 12 digits before
    // the point; 64 characters leave room to spare for anything a double can hold here.
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::fixed, 6);
    if (ec != std::errc()) {
        AppendText(out, "0.000000,"); // not reachable for percentages of 16- and 32-bit values
        return;
    }
    *end = ',';
    out.append(buffer, end + 1);
}

void AppendLine(std::string &out, const char *text)
{
    AppendText(out, text);
    EndLine(out);
}

void AppendHeader(std::string &out, const char *first)
{
    AppendText(out, first);
    AppendText(out, HeaderTail);
    EndLine(out);
}

template <typename T> double Percent(const T (&quantity)[Phases][Rays], int curPhase, int ray)
{
    const long double reference = quantity[curPhase][ray];
    const long double base = quantity[0][ray];
    // The reference, not the base, divides; a reference of 0 gives 0 instead of a division.
    // Extended precision, as every expression of the program; the difference of two 32-bit
    // values is exact there.
    if (reference == 0)
        return 0.0;
    const double percent = static_cast<double>((reference - base) / reference * 100);
    // Equal negative values (a negative width in both phases) give -0, which would be written
    // "-0.000000"; no change is 0.000000 whatever the sign of the reference.
    return percent == 0 ? 0.0 : percent;
}

// A C-MAP block of variant A: title, phase header, 16 phase rows and the percentWT row.
template <typename T>
void AppendCMap(std::string &out, const char *title, const T (&quantity)[Phases][Rays], int curPhase)
{
    AppendLine(out, title);
    AppendHeader(out, PhaseHeader);
    for (int p = 0; p < Phases; ++p) {
        AppendInteger(out, p + 1);
        for (int i = 0; i < Rays; ++i)
            AppendInteger(out, quantity[p][i]);
        EndLine(out);
    }
    AppendText(out, "percentWT,");
    for (int i = 0; i < Rays; ++i)
        AppendPercent(out, Percent(quantity, curPhase, i));
    EndLine(out);
}

// The four quantities of variant B, in the order of its blocks.
constexpr int BlockCount = 4;
constexpr const char *BlockTitles[BlockCount] = {"percentCI-MAP(peak),", "percentCI-MAP(area),",
                                                 "percentCI-MAP(width),", "percentCI-MAP(dist),"};

// What variant B keeps of each slice's analysis: its percentages, [block][slice][ray].
struct SlicePercentages {
    double value[BlockCount][Slices][Rays];
};

void CollectPercentages(SlicePercentages &table, int slice, const ProfileResults &results, int curPhase)
{
    for (int i = 0; i < Rays; ++i) {
        table.value[0][slice][i] = Percent(results.ProfilePeak, curPhase, i);
        table.value[1][slice][i] = Percent(results.ProfileArea, curPhase, i);
        table.value[2][slice][i] = Percent(results.ProfileWidth, curPhase, i);
        table.value[3][slice][i] = Percent(results.ProfilePeakDist, curPhase, i);
    }
}

// Every run of the analysis starts from zeroed results, so one run per slice serves all four
// blocks. The selected slice runs last, which leaves `results` describing it.
void AppendVariantB(std::string &out, const GatedVolume &volume, const ResultsFileSettings &settings,
                    ProfileResults &results)
{
    SlicePercentages table;
    AnalysisInputs inputs = settings.analysis;
    const int selected = settings.analysis.slice;
    for (int s = 0; s < Slices; ++s) {
        if (s == selected)
            continue;
        inputs.slice = s;
        AnalyseProfiles(volume, inputs, results);
        CollectPercentages(table, s, results, settings.curPhase);
    }
    AnalyseProfiles(volume, settings.analysis, results);
    CollectPercentages(table, selected, results, settings.curPhase);

    for (int b = 0; b < BlockCount; ++b) {
        AppendLine(out, BlockTitles[b]);
        AppendHeader(out, SliceHeader);
        for (int s = 0; s < Slices; ++s) {
            AppendInteger(out, s + 1);
            for (int i = 0; i < Rays; ++i)
                AppendPercent(out, table.value[b][s][i]);
            EndLine(out);
        }
    }
}

// Variant A is some 220 kB for a typical study and at most about 470 kB; variant B about 45 kB.
constexpr std::size_t VariantAReserve = 512 * 1024;
constexpr std::size_t VariantBReserve = 64 * 1024;

} // namespace

std::string CheckResultsFileSettings(const ResultsFileSettings &settings)
{
    if (settings.variant != 0 && settings.variant != 1)
        return "the variant must be 0 (A) or 1 (B), not " + std::to_string(settings.variant);
    if (settings.analysis.slice < 0 || settings.analysis.slice >= Slices)
        return "the slice must be 0..15, not " + std::to_string(settings.analysis.slice);
    if (settings.curPhase < 0 || settings.curPhase >= Phases)
        return "the reference phase must be 0..15, not " + std::to_string(settings.curPhase);
    return {};
}

double PercentChange(const int16_t (&quantity)[Phases][Rays], int curPhase, int ray)
{
    return Percent(quantity, curPhase, ray);
}

double PercentChange(const int32_t (&quantity)[Phases][Rays], int curPhase, int ray)
{
    return Percent(quantity, curPhase, ray);
}

void AppendVariantA(std::string &out, const ProfileResults &results, int slice, int curPhase)
{
    AppendText(out, "SLICE,");
    AppendInteger(out, slice + 1);
    EndLine(out);
    AppendCMap(out, "C-MAP(peak),", results.ProfilePeak, curPhase);
    AppendCMap(out, "C-MAP(area),", results.ProfileArea, curPhase);
    AppendCMap(out, "C-MAP(width),", results.ProfileWidth, curPhase);
    AppendLine(out, "D-MAP,");
    AppendHeader(out, StepHeader);
    for (int s = 0; s < Rays; ++s) {
        for (int p = 0; p < Phases; ++p) {
            AppendInteger(out, s + 1);
            AppendInteger(out, p + 1);
            for (int k = 0; k < Samples; ++k)
                AppendInteger(out, results.ProfileSamples[k][p][s]);
            EndLine(out);
        }
        EndLine(out); // the empty line after each ray, the only lines without a comma
    }
}

bool FormatResultsFile(std::string &out, const GatedVolume &volume, const ResultsFileSettings &settings,
                       ProfileResults &results)
{
    out.clear();
    if (!CheckResultsFileSettings(settings).empty())
        return false;
    if (settings.variant == 0) {
        out.reserve(VariantAReserve);
        AnalyseProfiles(volume, settings.analysis, results);
        AppendVariantA(out, results, settings.analysis.slice, settings.curPhase);
    } else {
        out.reserve(VariantBReserve);
        AppendVariantB(out, volume, settings, results);
    }
    return true;
}

bool WriteResultsFile(std::ostream &out, const GatedVolume &volume, const ResultsFileSettings &settings,
                      ProfileResults &results)
{
    std::string text;
    if (!FormatResultsFile(text, volume, settings, results))
        return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    return static_cast<bool>(out);
}
