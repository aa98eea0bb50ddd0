#include "DicomImport.h"

#include "GatedSeries.h"
#include "SourceDoubling.h"
#include "StudyReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr int Phases = 16, Slices = 16, PlaneValues = 64 * 64;

DicomImportResult failed(ImportFailure failure, std::string message)
{
    DicomImportResult result;
    result.failure = failure;
    result.message = std::move(message);
    return result;
}

// The stored slice of each apex-to-base position.
std::vector<int> apexToBase(const GatedSeries &series, bool reversed)
{
    std::vector<int> order(std::size_t(series.slices));
    for (int a = 0; a < series.slices; ++a)
        order[std::size_t(a)] = reversed ? series.slices - 1 - a : a;
    return order;
}

// The first of the 16 slices (0-based, apex to base) centred on the count-weighted mean slice
// m of the first gate: slices first .. first + 15 have their middle, first + 7.5, within half
// a slice of m, so first = m - 7 truncated, kept inside the object.
int centredFirstSlice(const GatedSeries &series, const std::vector<int> &order)
{
    const int last = series.slices - Slices;
    if (last <= 0)
        return 0;
    int64_t s0 = 0, s1 = 0;
    for (int a = 0; a < series.slices; ++a) {
        const int64_t sum = series.firstGateSums[std::size_t(order[std::size_t(a)])];
        s0 += sum;
        s1 += sum * a;
    }
    if (s0 <= 0)
        return last / 2; // no counts to weigh by: the middle of the object
    const int64_t offset = s1 - 7 * s0;
    const int64_t first = offset <= 0 ? 0 : offset / s0;
    return int(std::min<int64_t>(first, last));
}

std::string factorText(const ImportedStudy &study)
{
    if (study.scaledTo == 0)
        return "factor 1";
    char text[80];
    std::snprintf(text, sizeof text, "factor 32767/%d = %.6f", int(study.largest), 32767.0 / study.largest);
    return text;
}

} // namespace

std::string AsciiField(const std::string &value, std::size_t bytes)
{
    std::string field = value.substr(0, bytes);
    for (char &c : field)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            c = '?';
    return field;
}

DicomImportResult ImportDicom(const std::string &path, const DicomImportOptions &options)
{
    GatedSeries series;
    std::string reason;
    if (!ReadGatedSeries(path, series, reason))
        return failed(ImportFailure::File, reason);

    const bool interpolate = series.gates == 8;
    if (series.gates == 8 && !options.interpolateGates)
        return failed(ImportFailure::File, "8 gates; give --interpolate-gates to make 16 phases of them");
    if (series.gates != 16 && series.gates != 8)
        return failed(ImportFailure::File,
                      std::to_string(series.gates) + " gates; only 16, or 8 with --interpolate-gates, are taken");

    // The object's own statement of the slice order wins over the command line.
    std::string orderNote;
    bool reversed = options.reverse;
    if (series.sliceDirection == "BASE_TO_APEX" || series.sliceDirection == "APEX_TO_BASE") {
        reversed = series.sliceDirection == "BASE_TO_APEX";
        orderNote = std::string(", stored ") + (reversed ? "base to apex" : "apex to base");
        if (options.reverse)
            orderNote += " (--reverse ignored: the object states its order)";
    } else if (reversed) {
        orderNote = ", stored order reversed";
    }
    const std::vector<int> order = apexToBase(series, reversed);

    const int last = std::max(1, series.slices - Slices + 1); // the last possible first slice, 1-based
    if (options.firstSlice != 0 && (options.firstSlice < 1 || options.firstSlice > last))
        return failed(ImportFailure::Option, "--first-slice " + std::to_string(options.firstSlice) +
                                                 ": the object holds " + std::to_string(series.slices) +
                                                 " slices, so the first of 16 can be 1.." + std::to_string(last));
    const int first = options.firstSlice != 0 ? options.firstSlice - 1 : centredFirstSlice(series, order);
    const int taken = std::min(Slices, series.slices - first);

    // The values of the slices taken, gate by gate; the base end beyond the object stays 0.
    std::vector<int32_t> work(std::size_t(series.gates) * Slices * PlaneValues, 0);
    int32_t largest = std::numeric_limits<int32_t>::min();
    for (int g = 0; g < series.gates; ++g)
        for (int s = 0; s < taken; ++s) {
            const int32_t *in = series.plane(g, order[std::size_t(first + s)]);
            int32_t *out = work.data() + (std::size_t(g) * Slices + std::size_t(s)) * PlaneValues;
            std::copy_n(in, PlaneValues, out);
            largest = std::max(largest, *std::max_element(in, in + PlaneValues));
        }
    const bool scale = !series.isSigned && largest > 32767;
    if (scale)
        for (int32_t &v : work)
            v = int32_t(int64_t(v) * 32767 / largest); // truncates toward zero

    DicomImportResult result;
    ImportedStudy &study = result.study;
    study.pixels.assign(std::size_t(Phases) * Slices * PlaneValues, 0);
    const std::size_t frameValues = std::size_t(Slices) * PlaneValues;
    for (int p = 0; p < Phases; ++p) {
        int16_t *out = study.pixels.data() + std::size_t(p) * frameValues;
        if (!interpolate || p % 2 == 0) {
            const int32_t *in = work.data() + std::size_t(interpolate ? p / 2 : p) * frameValues;
            for (std::size_t i = 0; i < frameValues; ++i)
                out[i] = int16_t(in[i]);
        } else {
            // Phase 2k + 1 lies between gates k and k + 1, the last between gate 7 and gate 0.
            const int32_t *a = work.data() + std::size_t(p / 2) * frameValues;
            const int32_t *b = work.data() + std::size_t((p / 2 + 1) % 8) * frameValues;
            for (std::size_t i = 0; i < frameValues; ++i)
                out[i] = int16_t((a[i] + b[i]) / 2); // truncates toward zero
        }
    }

    study.patientId = AsciiField(series.patientId, StudyFormat::PatientIdBytes);
    study.patientName = AsciiField(series.patientName, StudyFormat::PatientNameBytes);
    study.rows = series.rows;
    study.columns = series.columns;
    study.gates = series.gates;
    study.rrIntervals = series.rrIntervals;
    study.storedSlices = series.slices;
    study.firstSlice = first + 1;
    study.slicesTaken = taken;
    study.largest = largest;
    study.scaledTo = scale ? 32767 : 0;

    std::string &summary = study.summary;
    summary = "matrix " + std::to_string(series.rows) + " x " + std::to_string(series.columns);
    if (series.rows == 128)
        summary += " (2 x 2 means to 64 x 64)";
    summary += ", " + std::to_string(series.gates) + " gates";
    if (interpolate)
        summary += " (interpolated to 16 phases)";
    if (series.rrIntervals > 1)
        summary += " (first of " + std::to_string(series.rrIntervals) + " R-R intervals)";
    summary += ", slices " + std::to_string(first + 1) + ".." + std::to_string(first + taken) + " of " +
               std::to_string(series.slices) + " apex to base" + orderNote;
    if (taken < Slices)
        summary += " (slices " + std::to_string(taken + 1) + "..16 at the base are zero)";
    summary += ", " + factorText(study);
    return result;
}

void FillStudy(const ImportedStudy &imported, Study &study)
{
    study.CountRange = FillVolumeFromSource(imported.pixels.data(), study.volume);
    std::memset(study.PatientId, 0, sizeof study.PatientId);
    std::memset(study.PatientName, 0, sizeof study.PatientName);
    std::memcpy(study.PatientId, imported.patientId.data(),
                std::min<std::size_t>(imported.patientId.size(), StudyFormat::PatientIdBytes));
    std::memcpy(study.PatientName, imported.patientName.data(),
                std::min<std::size_t>(imported.patientName.size(), StudyFormat::PatientNameBytes));
}
