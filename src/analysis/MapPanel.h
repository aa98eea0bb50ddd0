// The map panel of Image1 in map display: the results of the count-profile analysis as line
// graphs (profiles, peaks, areas, widths, peak distances, for one phase or all 16) or as
// bull's-eyes of the percent change of a quantity against phase 0. Plain C++ without Qt; the
// scale label, which needs text, is added by corvista_render (RenderMapPanel).
#pragma once

#include "Bitmap.h"
#include "GatedVolume.h"
#include "ProfileAnalysis.h"
#include "ProgramData.h"

#include <cstdint>
#include <functional>

struct MapPanelInputs {
    int mapKind = 1;      // MapKind (0 G1, 1 GA, 2 C1, 3 CA, 4 B1, 6 A1, 7 AA, 8 W1, 9 WA, 10 BI, 11 BA, 12 D1, 13 DA)
    int curPhase = 7;     // CurPhase: the phase of the single-phase graphs
    int mapPhase = 7;     // MapPhase: the phase BI compares with phase 0
    int bullseyeKind = 0; // 0 P peak, 1 A area, 2 W width, 3 D peak distance
    int ray = 0;          // ScrollBarR position: the ray of G1, GA, B1
    int scalePosition = 50;  // ScrollBar4 position 0..99; GraphScale = (100 - it) * 0.01
    int maxPosition = 50;    // ScrollBarMax position: red limit Lr = 100 - it
    int minPosition = 50;    // ScrollBarMin position: blue limit Lb = it
    AnalysisInputs analysis; // CurSlice (analysis.slice), ROI and thresholds, for the bull's-eye kinds
};

// Called with j + 1 before each of BA's 16 cells (the window's progress bar); never processes events.
using MapPanelProgress = std::function<void(int cellsStarted)>;

// Draws the whole panel except the scale label into `bitmap` (Image1's size, 542 x 542). The graph kinds draw
// `results` as they stand; BI and BA analyse the slices of `volume` themselves and end with `results` describing
// analysis.slice, the slice on screen. A phase or ray outside its range is brought to the nearest one; a kind
// that is not in the list draws the black panel only.
void DrawMapPanel(Bitmap &bitmap, const MapPanelInputs &inputs, const GatedVolume &volume, const ColourTable &table,
                  ProfileResults &results, const MapPanelProgress &progress = {});

// The 16 panels of BI that a cine loop plays, frame k comparing phase k with phase 0, from one
// analysis of each slice instead of 16 per frame: each of `frames` (Image1's size) gets the
// picture DrawMapPanel draws for BI with MapPhase k. `results` are left as DrawMapPanel
// leaves them.
void DrawBullseyeFramesBI(Bitmap *const (&frames)[16], const MapPanelInputs &inputs, const GatedVolume &volume,
                          ProfileResults &results);

bool MapPanelHasScaleLabel(int mapKind); // every kind but BI and BA

// The pieces of the panel's arithmetic, open for the window's own uses and for the tests.

// GraphScale = (100 - scalePosition) * 0.01.
double MapGraphScale(int scalePosition);
// The row of a graph point: 512 - trunc(v * K * GraphScale), the product in extended precision.
int64_t MapGraphY(long double value, double factor, double graphScale);
// The curve colour of phase p in the all-phase graphs, 0xFFRRGGBB: white for phase 0, ColourTable entry
// 32 (p + 1) for phases 1 to 14, and the last entry (511) for phase 15, where that rule runs past the table.
uint32_t PhaseCurveColour(const ColourTable &table, int phase);
// The bull's-eye change c of a quantity (0 P, 1 A, 2 W, 3 D; any other kind reads as P) between the compared
// phase's value xm and phase 0's x0, in percent of xm: (xm - x0) / xm * 100, the other way round for D; 0 when
// xm is 0.
double BullseyeChange(int bullseyeKind, int64_t xm, int64_t x0);
// The wedge colour of a change, 0xFFRRGGBB: red trunc(c * 2.55 * (100 / Lr)) for c > 0, blue
// trunc(c * -2.55 * (100 / Lb)) for c < 0, each at most 255, black for 0. A limit below 1 is taken as 1.
uint32_t BullseyeColour(double change, int redLimit, int blueLimit);

// The bull's-eye geometries: the centre of ring s and ray a's wedge, its radius step and the radius Q of the
// direction points. BI has one bull's-eye at (266, 266), radius 16 (s + 1), Q 256; BA has 16, phase j's at
// (128 (j mod 4) + 74, 128 (j div 4) + 74), radius 4 (s + 1), Q 64.
struct BullseyePlace {
    int centreX, centreY, radiusStep, q;
};
BullseyePlace BullseyePlaceBI();
BullseyePlace BullseyePlaceBA(int phase);
// Direction point P(n) of a bull's-eye: (trunc(Cx + Q sin t), trunc(Cy + Q cos t)), t = 2 pi n / 64 + 3 pi / 4,
// pi = 4 atan(1), evaluated in extended precision. Wedge a runs from P(a) to P(a + 1).
struct BullseyePoint {
    int x, y;
};
BullseyePoint BullseyeDirectionPoint(const BullseyePlace &place, int n);
