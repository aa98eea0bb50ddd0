// The map panel's frame and its eleven graph kinds; the bull's-eyes are in Bullseye.cpp.
#include "MapPanel.h"
#include "BullseyeDrawing.h"
#include "RasterCanvas.h"
#include "ViewState.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int Points = 64; // one per sample or ray
constexpr int Baseline = 512;

enum class Quantity { Samples, Peak, Area, Width, PeakDist };

struct GraphKind {
    int mapKind;
    Quantity quantity;
    double factor; // K, the vertical factor
    bool allPhases;
};

constexpr GraphKind GraphKinds[] = {
    {MapG1, Quantity::Samples, 10, false},  {MapGA, Quantity::Samples, 10, true},  {MapC1, Quantity::Peak, 10, false},
    {MapCA, Quantity::Peak, 10, true},      {MapB1, Quantity::Samples, 10, false}, {MapA1, Quantity::Area, 0.5, false},
    {MapAA, Quantity::Area, 0.5, true},     {MapW1, Quantity::Width, 15, false},   {MapWA, Quantity::Width, 15, true},
    {MapD1, Quantity::PeakDist, 20, false}, {MapDA, Quantity::PeakDist, 20, true},
};

const GraphKind *FindGraphKind(int mapKind)
{
    for (const GraphKind &kind : GraphKinds)
        if (kind.mapKind == mapKind)
            return &kind;
    return nullptr;
}

// Point i of the curve of `phase`: the profile's sample i along `ray`, or ray i's value.
long double PlottedValue(const ProfileResults &r, Quantity quantity, int phase, int ray, int i)
{
    switch (quantity) {
    case Quantity::Samples:
        return r.ProfileSamples[i][phase][ray];
    case Quantity::Peak:
        return r.ProfilePeak[phase][i];
    case Quantity::Area:
        return r.ProfileArea[phase][i];
    case Quantity::Width:
        return r.ProfileWidth[phase][i];
    case Quantity::PeakDist:
        return r.ProfilePeakDist[phase][i];
    }
    return 0;
}

int ToCoordinate(int64_t v)
{
    return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

// A polyline of the 64 points x = 30 + 8i; each segment leaves out its end pixel, so the
// last point itself is not set, as with the platform's line primitive.
void DrawCurve(Bitmap &bitmap, const ProfileResults &r, const GraphKind &kind, int phase, int ray, double graphScale,
               uint32_t rgb)
{
    int x = 30;
    int y = ToCoordinate(MapGraphY(PlottedValue(r, kind.quantity, phase, ray, 0), kind.factor, graphScale));
    for (int i = 1; i < Points; ++i) {
        const int nx = 30 + 8 * i;
        const int ny = ToCoordinate(MapGraphY(PlottedValue(r, kind.quantity, phase, ray, i), kind.factor, graphScale));
        DrawLine(bitmap, x, y, nx, ny, rgb);
        x = nx;
        y = ny;
    }
}

// B1: where the peak lies and where the area and the width are measured, on the profile.
void DrawProfileMarkers(Bitmap &bitmap, const ProfileResults &r, int phase, int ray)
{
    const struct {
        int16_t entry;
        uint32_t rgb;
    } markers[] = {
        {r.ProfilePeakDist[phase][ray], Rgb(255, 0, 0)}, {r.InnerEdgeA[phase][ray], Rgb(255, 255, 0)},
        {r.OuterEdgeA[phase][ray], Rgb(255, 255, 0)},    {r.InnerEdgeW[phase][ray], Rgb(0, 0, 255)},
        {r.OuterEdgeW[phase][ray], Rgb(0, 0, 255)},
    };
    for (const auto &m : markers) {
        const int x = 30 + 8 * int(m.entry);
        DrawLine(bitmap, x, 0, x, Baseline, m.rgb);
    }
}

void DrawGraph(Bitmap &bitmap, const GraphKind &kind, const MapPanelInputs &inputs, const ColourTable &table,
               const ProfileResults &results)
{
    const double graphScale = MapGraphScale(inputs.scalePosition);
    const int ray = std::clamp(inputs.ray, 0, ProfileResults::Rays - 1);
    const int curPhase = std::clamp(inputs.curPhase, 0, ProfileResults::Phases - 1);
    if (kind.allPhases) {
        // Phase order, so later phases lie on top of earlier ones.
        for (int p = 0; p < ProfileResults::Phases; ++p)
            DrawCurve(bitmap, results, kind, p, ray, graphScale, PhaseCurveColour(table, p));
        return;
    }
    DrawCurve(bitmap, results, kind, curPhase, ray, graphScale, Rgb(255, 255, 255));
    if (kind.mapKind == MapB1)
        DrawProfileMarkers(bitmap, results, curPhase, ray);
}

} // namespace

double MapGraphScale(int scalePosition)
{
    return double((100 - (long double)scalePosition) * (long double)0.01);
}

int64_t MapGraphY(long double value, double factor, double graphScale)
{
    const long double height = value * factor * graphScale;
    // Far beyond the bitmap the exact row no longer matters; keep the conversion defined.
    return Baseline - int64_t(std::clamp<long double>(height, -1e15L, 1e15L));
}

uint32_t PhaseCurveColour(const ColourTable &table, int phase)
{
    if (phase <= 0)
        return Rgb(255, 255, 255);
    const int entry = std::min(32 * (phase + 1), int(table.size()) - 1);
    return ColourRefToRgb(table[std::size_t(entry)]);
}

double BullseyeChange(int bullseyeKind, int64_t xm, int64_t x0)
{
    if (xm == 0)
        return 0;
    // D counts a peak nearer the centre in the compared phase as a positive change.
    const int64_t difference = bullseyeKind == 3 ? x0 - xm : xm - x0;
    return double(difference) / double(xm) * 100;
}

uint32_t BullseyeColour(double change, int redLimit, int blueLimit)
{
    const long double lr = std::max(redLimit, 1), lb = std::max(blueLimit, 1);
    if (change > 0) {
        const long double r = change * (long double)2.55 * (100 / lr);
        return Rgb(r >= 255 ? 255 : uint8_t(r), 0, 0);
    }
    if (change < 0) {
        const long double b = change * (long double)-2.55 * (100 / lb);
        return Rgb(0, 0, b >= 255 ? 255 : uint8_t(b));
    }
    return Rgb(0, 0, 0);
}

bool MapPanelHasScaleLabel(int mapKind)
{
    return mapKind != MapBI && mapKind != MapBA;
}

void DrawBullseyeFramesBI(Bitmap *const (&frames)[16], const MapPanelInputs &inputs, const GatedVolume &volume,
                          ProfileResults &results)
{
    for (Bitmap *frame : frames)
        frame->fill(Rgb(0, 0, 0));
    DrawBullseyeBIFrames(frames, inputs, volume, results);
}

void DrawMapPanel(Bitmap &bitmap, const MapPanelInputs &inputs, const GatedVolume &volume, const ColourTable &table,
                  ProfileResults &results, const MapPanelProgress &progress)
{
    bitmap.fill(Rgb(0, 0, 0));
    if (inputs.mapKind == MapBI) {
        DrawBullseyeBI(bitmap, inputs, volume, results);
    } else if (inputs.mapKind == MapBA) {
        DrawBullseyeBA(bitmap, inputs, volume, results, progress);
    } else if (const GraphKind *kind = FindGraphKind(inputs.mapKind)) {
        DrawGraph(bitmap, *kind, inputs, table, results);
    }
}
