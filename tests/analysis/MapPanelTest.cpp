// The map panel: graph points worked out by hand from the documented rows, curve colours,
// the B1 markers, the bull's-eye change and colour rule with its worked examples, the wedge
// directions and ring radii of BI and BA, the results left behind, and the per-pixel lookup
// against the same bull's-eyes drawn wedge by wedge with the canvas.
#include "MapPanel.h"
#include "ColourTable.h"
#include "RasterCanvas.h"
#include "ViewState.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace {

constexpr uint32_t Black = 0xFF000000, White = 0xFFFFFFFF;
constexpr int Size = 542;

struct Panel {
    Bitmap bitmap{Size, Size, 0xFF123456};
    std::unique_ptr<GatedVolume> volume = std::make_unique<GatedVolume>();
    std::unique_ptr<ProfileResults> results = std::make_unique<ProfileResults>();
    ColourTable table{};
    MapPanelInputs inputs;

    Panel() { BuildColourTable(table); }
    const Bitmap &draw(const MapPanelProgress &progress = {})
    {
        DrawMapPanel(bitmap, inputs, *volume, table, *results, progress);
        return bitmap;
    }
    // Every pixel of every slice and phase from a function of (x, y, slice, phase).
    void fillVolume(const std::function<int16_t(int, int, int, int)> &count)
    {
        for (int x = 0; x < 128; ++x)
            for (int y = 0; y < 128; ++y)
                for (int s = 0; s < 16; ++s)
                    for (int p = 0; p < 16; ++p)
                        volume->at(x, y, s, p) = count(x, y, s, p);
    }
};

// --- graphs ---------------------------------------------------------------------------

enum class Field { Samples, Peak, Area, Width, PeakDist };

// Sets the plotted values of phase 3, ray 5 to `value`, and every other phase and ray to a
// decoy that plots elsewhere, so a wrong index shows.
void SetPlotted(ProfileResults &r, Field field, int value, int decoy)
{
    for (int p = 0; p < 16; ++p)
        for (int i = 0; i < 64; ++i) {
            for (int k = 0; k < 64; ++k)
                r.ProfileSamples[k][p][i] = int16_t(field == Field::Samples && p == 3 && i == 5 ? value : decoy);
            const int v = p == 3 ? value : decoy;
            switch (field) {
            case Field::Samples:
                break;
            case Field::Peak:
                r.ProfilePeak[p][i] = int16_t(v);
                break;
            case Field::Area:
                r.ProfileArea[p][i] = v;
                break;
            case Field::Width:
                r.ProfileWidth[p][i] = int16_t(v);
                break;
            case Field::PeakDist:
                r.ProfilePeakDist[p][i] = int16_t(v);
                break;
            }
        }
}

TEST(MapPanelGraphs, PlotEachPointAtTheDocumentedRow)
{
    struct Case {
        const char *what;
        int kind, scalePosition;
        Field field;
        int value, decoy, row;
    } cases[] = {
        {"G1 sample 100 at 0.50", MapG1, 50, Field::Samples, 100, 7, 12},
        {"G1 sample 100 at 0.01", MapG1, 99, Field::Samples, 100, 700, 502},
        {"B1 profile as G1", MapB1, 50, Field::Samples, 100, 7, 12},
        {"C1 peak 30 at 1.00", MapC1, 0, Field::Peak, 30, 7, 212},
        {"A1 area 2000 at 0.50", MapA1, 50, Field::Area, 2000, 7, 12},
        {"W1 width 11 at 1.00", MapW1, 0, Field::Width, 11, 7, 347},
        {"W1 negative width below the baseline", MapW1, 50, Field::Width, -3, 7, 534},
        {"D1 distance 20 at 0.50", MapD1, 50, Field::PeakDist, 20, 7, 312},
    };
    for (const Case &c : cases) {
        Panel panel;
        panel.inputs.mapKind = c.kind;
        panel.inputs.scalePosition = c.scalePosition;
        panel.inputs.curPhase = 3;
        panel.inputs.ray = 5;
        SetPlotted(*panel.results, c.field, c.value, c.decoy);
        const Bitmap &b = panel.draw();
        // 64 equal points: one run from x = 30 to 533, the last point (534) not set.
        if (c.kind != MapB1) { // B1's markers of the all-zero edges stand at x = 30
            EXPECT_EQ(b.pixel(30, c.row), White) << c.what;
        }
        EXPECT_EQ(b.pixel(31, c.row), White) << c.what;
        EXPECT_EQ(b.pixel(250, c.row), White) << c.what;
        EXPECT_EQ(b.pixel(533, c.row), White) << c.what;
        EXPECT_EQ(b.pixel(534, c.row), Black) << c.what;
        EXPECT_EQ(b.pixel(29, c.row), Black) << c.what;
        EXPECT_EQ(b.pixel(250, c.row - 1), Black) << c.what;
        EXPECT_EQ(b.pixel(250, c.row + 1), Black) << c.what;
    }
}

TEST(MapPanelGraphs, ClipPointsAboveThePanel)
{
    // Sample 5 of the profile: 103 at 0.50 plots at y = -3. The segments from (62, 512) and to
    // (78, 512) both reach row 0 at x = 70 only.
    Panel near;
    near.inputs.mapKind = MapG1;
    near.results->ProfileSamples[5][7][0] = 103;
    const Bitmap &b = near.draw();
    EXPECT_EQ(b.pixel(70, 0), White);
    for (int x = 0; x < Size; ++x) {
        if (x != 70) {
            EXPECT_EQ(b.pixel(x, 0), Black) << x;
        }
    }
    EXPECT_EQ(b.pixel(62, 512), White);

    // 32767 at 1.00 plots at y = -327158: from (62, 512) the line leaves row 0 at step 512 of
    // 327670 (x offset 0.0125, so still x = 62); the way back down enters it at x = 78.
    Panel far;
    far.inputs.mapKind = MapG1;
    far.inputs.scalePosition = 0;
    far.results->ProfileSamples[5][7][0] = 32767;
    const Bitmap &f = far.draw();
    std::vector<int> top;
    for (int x = 0; x < Size; ++x)
        if (f.pixel(x, 0) == White)
            top.push_back(x);
    EXPECT_EQ(top, (std::vector<int>{62, 78}));
    EXPECT_EQ(f.pixel(62, 511), White);
    EXPECT_EQ(f.pixel(78, 511), White);
}

TEST(MapPanelGraphs, AllPhaseCurvesTakeTheirPhaseColours)
{
    // Phase p's profile at 5 + 2p plots at 487 - 10p, each curve a horizontal run.
    const uint32_t expected[16] = {
        White,
        Rgb(0, 0, 128),
        Rgb(0, 0, 192),
        Rgb(0, 0, 255),
        Rgb(0, 64, 191),
        Rgb(0, 128, 127),
        Rgb(0, 192, 63),
        Rgb(0, 255, 0),
        Rgb(64, 255, 0),
        Rgb(128, 255, 0),
        Rgb(192, 255, 0),
        Rgb(255, 255, 0),
        Rgb(255, 191, 0),
        Rgb(255, 127, 0),
        Rgb(255, 63, 0),
        Rgb(255, 1, 0), // phase 15: the last entry, 511
    };
    Panel panel;
    panel.inputs.mapKind = MapGA;
    panel.inputs.ray = 9;
    for (int p = 0; p < 16; ++p)
        for (int k = 0; k < 64; ++k)
            panel.results->ProfileSamples[k][p][9] = int16_t(5 + 2 * p);
    const Bitmap &b = panel.draw();
    for (int p = 0; p < 16; ++p) {
        EXPECT_EQ(b.pixel(300, 487 - 10 * p), expected[p]) << "phase " << p;
        EXPECT_EQ(PhaseCurveColour(panel.table, p), expected[p]) << "phase " << p;
    }

    // Equal peaks: the curves lie on one another and the last phase drawn shows.
    Panel same;
    same.inputs.mapKind = MapCA;
    for (int p = 0; p < 16; ++p)
        for (int i = 0; i < 64; ++i)
            same.results->ProfilePeak[p][i] = 20;
    EXPECT_EQ(same.draw().pixel(300, 412), Rgb(255, 1, 0));
}

TEST(MapPanelGraphs, B1MarksPeakAndEdgesOfTheProfile)
{
    Panel panel;
    panel.inputs.mapKind = MapB1;
    panel.inputs.curPhase = 2;
    panel.inputs.ray = 30;
    ProfileResults &r = *panel.results;
    for (int p = 0; p < 16; ++p)
        for (int i = 0; i < 64; ++i)
            r.ProfilePeakDist[p][i] = 40; // decoys at x = 350
    r.ProfilePeakDist[2][30] = 20;
    r.InnerEdgeA[2][30] = 10;
    r.OuterEdgeA[2][30] = 30;
    r.InnerEdgeW[2][30] = 12;
    r.OuterEdgeW[2][30] = 28;
    const Bitmap &b = panel.draw();
    const uint32_t red = Rgb(255, 0, 0), yellow = Rgb(255, 255, 0), blue = Rgb(0, 0, 255);
    for (int y : {0, 200, 511}) {
        EXPECT_EQ(b.pixel(190, y), red) << y;
        EXPECT_EQ(b.pixel(110, y), yellow) << y;
        EXPECT_EQ(b.pixel(270, y), yellow) << y;
        EXPECT_EQ(b.pixel(126, y), blue) << y;
        EXPECT_EQ(b.pixel(254, y), blue) << y;
        EXPECT_EQ(b.pixel(350, y), Black) << y;
    }
    // The markers stop above row 512, where the white all-zero profile runs.
    EXPECT_EQ(b.pixel(190, 512), White);
    EXPECT_EQ(b.pixel(110, 512), White);
    EXPECT_EQ(b.pixel(190, 513), Black);
    // A width edge on an area edge: blue is drawn last.
    r.InnerEdgeW[2][30] = 10;
    EXPECT_EQ(panel.draw().pixel(110, 100), blue);
}

TEST(MapPanelGraphs, EveryKindStartsFromABlackPanel)
{
    for (int kind : std::initializer_list<int>{MapG1, MapGA, MapC1, MapCA, MapB1, 5, MapA1, MapAA, MapW1, MapWA, MapD1,
                                               MapDA, 99}) {
        Panel panel;
        panel.inputs.mapKind = kind;
        const Bitmap &b = panel.draw();
        EXPECT_EQ(b.pixel(0, 0), Black) << kind;
        EXPECT_EQ(b.pixel(541, 541), Black) << kind;
        EXPECT_EQ(MapPanelHasScaleLabel(kind), true) << kind;
    }
    EXPECT_FALSE(MapPanelHasScaleLabel(MapBI));
    EXPECT_FALSE(MapPanelHasScaleLabel(MapBA));
    EXPECT_DOUBLE_EQ(MapGraphScale(0), 1.0);
    EXPECT_DOUBLE_EQ(MapGraphScale(50), 0.5);
    EXPECT_DOUBLE_EQ(MapGraphScale(99), 0.01);
}

} // namespace
