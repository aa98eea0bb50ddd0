// The bull's-eye kinds of the map panel: the change and colour rule with its worked examples,
// wedge directions and ring radii of BI and BA on volumes made for them, the results left
// behind, the progress callback, and the per-pixel lookup against the same panels drawn
// wedge by wedge with the canvas, outermost ring first.
#include "MapPanel.h"
#include "ColourTable.h"
#include "RasterCanvas.h"
#include "ViewState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
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
    void fillVolume(const std::function<int16_t(int x, int y, int slice, int phase)> &count)
    {
        for (int x = 0; x < 128; ++x)
            for (int y = 0; y < 128; ++y)
                for (int s = 0; s < 16; ++s)
                    for (int p = 0; p < 16; ++p)
                        volume->at(x, y, s, p) = count(x, y, s, p);
    }
};

TEST(BullseyeColour, FollowsTheWorkedExamples)
{
    struct Case {
        const char *what;
        int kind;
        int xm, x0, redLimit, blueLimit;
        uint32_t expected;
    } cases[] = {
        {"P 130 vs 100, c = 23.08", 0, 130, 100, 50, 50, Rgb(117, 0, 0)},
        {"P 80 vs 100, c = -25", 0, 80, 100, 50, 50, Rgb(0, 0, 127)},
        {"D 18 vs 20, c = +11.1", 3, 18, 20, 50, 50, Rgb(56, 0, 0)},
        {"P 18 vs 20, c = -11.1", 0, 18, 20, 50, 50, Rgb(0, 0, 56)},
        {"P 300 vs 100 saturates red", 0, 300, 100, 50, 50, Rgb(255, 0, 0)},
        {"P 100 vs 300 saturates blue", 0, 100, 300, 50, 50, Rgb(0, 0, 255)},
        {"P 130 vs 100 with Lr 30", 0, 130, 100, 30, 50, Rgb(196, 0, 0)},
        {"A as P", 1, 1300, 1000, 50, 50, Rgb(117, 0, 0)},
        {"W as P", 2, 8, 10, 50, 50, Rgb(0, 0, 127)},
        {"no change", 0, 100, 100, 50, 50, Black},
        {"compared value 0", 0, 0, 100, 50, 50, Black},
        {"D compared value 0", 3, 0, 20, 50, 50, Black},
        // c = 1 / 10001 * 100 = 0.0099990: with a limit of 1, 2.5497 -> 2.
        {"Lr 0 taken as 1", 0, 10001, 10000, 0, 50, Rgb(2, 0, 0)},
        {"Lr below 0 taken as 1", 0, 10001, 10000, -900, 50, Rgb(2, 0, 0)},
        {"Lb 0 taken as 1", 0, 10000, 10001, 50, 0, Rgb(0, 0, 2)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(BullseyeColour(BullseyeChange(c.kind, c.xm, c.x0), c.redLimit, c.blueLimit), c.expected) << c.what;
    EXPECT_NEAR(BullseyeChange(0, 130, 100), 23.0769, 1e-4);
    EXPECT_NEAR(BullseyeChange(3, 18, 20), 11.1111, 1e-4);
    EXPECT_NEAR(BullseyeChange(0, 18, 20), -11.1111, 1e-4);
    // Areas are 32-bit: the difference of two extremes does not overflow.
    EXPECT_NEAR(BullseyeChange(1, -2147483647, 2147483647), 200.0, 1e-9);
}

TEST(BullseyeGeometry, DirectionPointsFollowTheRays)
{
    // pi taken as the double 4 atan(1) lies just below pi, so sin and cos of the axis rays are
    // tiny numbers of either sign, and a tiny negative one truncates to the pixel before.
    struct Case {
        int n, x, y;
    } cases[] = {{0, 447, 84}, {8, 266, 10}, {24, 10, 265}, {40, 265, 522}, {56, 522, 266}, {64, 447, 84}};
    for (const Case &c : cases) {
        const BullseyePoint p = BullseyeDirectionPoint(BullseyePlaceBI(), c.n);
        EXPECT_EQ(p.x, c.x) << c.n;
        EXPECT_EQ(p.y, c.y) << c.n;
    }
    const BullseyePlace cell = BullseyePlaceBA(6);
    EXPECT_EQ(cell.centreX, 330);
    EXPECT_EQ(cell.centreY, 202);
}

// Counts of 100 everywhere; phase `hot` has 200 at sample 30 of ray `ray` and nowhere else.
void HotSpotOnRay(Panel &panel, int ray, int hot)
{
    const int dx[] = {21, 0, -30, 0, 30}, dy[] = {-21, -30, 0, 30, 0};
    const int which = ray == 0 ? 0 : ray == 8 ? 1 : ray == 24 ? 2 : ray == 40 ? 3 : 4;
    panel.fillVolume([&](int x, int y, int, int p) {
        return int16_t(p == hot && x == 64 + dx[which] && y == 64 + dy[which] ? 200 : 100);
    });
}

TEST(BullseyeBI, WedgeOfEachRayLiesInItsDirection)
{
    // The wedge of ray a runs counter-clockwise from ray a to ray a + 1. Peak 200 against 100
    // is a change of 50 %: 50 x 2.55 x 2 with the double 2.55, just below 2.55, truncates to
    // red 254. Every other wedge stays black.
    struct Case {
        int ray;
        int redX, redY, blackX, blackY;
    } cases[] = {
        {0, 366, 163, 370, 166},  // up and to the right, the side towards ray 1 (up)
        {8, 264, 100, 268, 100},  // up, the side towards the left
        {24, 100, 268, 100, 264}, // left, the side towards down
        {40, 268, 430, 264, 430}, // down, the side towards the right
        {56, 430, 264, 430, 268}, // right, the side towards up
    };
    for (const Case &c : cases) {
        Panel panel;
        panel.inputs.mapKind = MapBI;
        panel.inputs.mapPhase = 2;
        HotSpotOnRay(panel, c.ray, 2);
        const Bitmap &b = panel.draw();
        EXPECT_EQ(b.pixel(c.redX, c.redY), Rgb(254, 0, 0)) << "ray " << c.ray;
        EXPECT_EQ(b.pixel(c.blackX, c.blackY), Black) << "ray " << c.ray;
        // The spoke runs from the centre through every ring.
        int red = 0;
        for (int y = 0; y < Size; ++y)
            for (int x = 0; x < Size; ++x)
                red += b.pixel(x, y) == Rgb(254, 0, 0);
        EXPECT_GT(red, 2500) << "ray " << c.ray;
        EXPECT_LT(red, 3700) << "ray " << c.ray; // 1/64 of the disc of radius 256 is about 3217
    }
}

// Phase 0 counts 100, every other phase 100 + 5 (s + 1) in slice s: ring s shows that change.
void RisingWithTheSlice(Panel &panel)
{
    panel.fillVolume([](int, int, int s, int p) { return int16_t(p == 0 ? 100 : 100 + 5 * (s + 1)); });
}

TEST(BullseyeBI, RingsHaveRadius16PerSliceInsideTheWhiteCircle)
{
    Panel panel;
    panel.inputs.mapKind = MapBI;
    panel.inputs.mapPhase = 3;
    RisingWithTheSlice(panel);
    const Bitmap &b = panel.draw();
    // Along row 265 to the right of the centre (266, 266): pixel 266 + k has its centre at
    // (k + 0.5, -0.5), inside radius 16 (s + 1) up to k = 16 s + 15.
    // Slice 0: c = 5 / 105 * 100 = 4.76, red 24; slice 1: c = 9.09, red 46; slice 15: c = 44.4, red 226.
    EXPECT_EQ(b.pixel(266, 265), Rgb(24, 0, 0));
    EXPECT_EQ(b.pixel(281, 265), Rgb(24, 0, 0));
    EXPECT_EQ(b.pixel(282, 265), Rgb(46, 0, 0));
    EXPECT_EQ(b.pixel(297, 265), Rgb(46, 0, 0));
    EXPECT_EQ(b.pixel(521, 265), Rgb(226, 0, 0));
    EXPECT_EQ(b.pixel(10, 266), Rgb(226, 0, 0));
    EXPECT_EQ(b.pixel(522, 265), White) << "the outline circle (9, 9)-(523, 523)";
    EXPECT_EQ(b.pixel(9, 266), White);
    EXPECT_EQ(b.pixel(266, 9), White);
    EXPECT_EQ(b.pixel(523, 266), Black);
    EXPECT_EQ(b.pixel(20, 20), Black);
    EXPECT_EQ(b.pixel(541, 541), Black);
}

TEST(BullseyeBI, PhaseZeroAgainstItselfIsBlackInsideTheWhiteCircle)
{
    Panel panel;
    panel.inputs.mapKind = MapBI;
    panel.inputs.mapPhase = 0;
    RisingWithTheSlice(panel);
    const Bitmap &b = panel.draw();
    Bitmap outline(Size, Size, Black);
    DrawEllipse(outline, 9, 9, 523, 523, White);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x)
            ASSERT_EQ(b.pixel(x, y), outline.pixel(x, y)) << x << "," << y;
}

TEST(BullseyeBA, SixteenCellsOfRadius4PerSlicePhaseZeroBlack)
{
    Panel panel;
    panel.inputs.mapKind = MapBA;
    RisingWithTheSlice(panel);
    std::vector<int> progress;
    const Bitmap &b = panel.draw([&](int cells) { progress.push_back(cells); });
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    // Phase 0's cell, top left, about (74, 74): black everywhere.
    for (int y = 0; y < 138; ++y)
        for (int x = 0; x < 138; ++x)
            ASSERT_EQ(b.pixel(x, y), Black) << x << "," << y;
    // Phase 1's cell about (202, 74), upwards from the centre: pixel (201, 73 - k) is inside
    // radius 4 (s + 1) up to k = 4 s + 3; the colours are those of BI's rings.
    EXPECT_EQ(b.pixel(201, 73), Rgb(24, 0, 0));
    EXPECT_EQ(b.pixel(201, 70), Rgb(24, 0, 0));
    EXPECT_EQ(b.pixel(201, 69), Rgb(46, 0, 0));
    EXPECT_EQ(b.pixel(201, 10), Rgb(226, 0, 0));
    EXPECT_EQ(b.pixel(201, 9), Black);
    // Every other phase is its own cell: phase 15 bottom right about (458, 458), phase 12 bottom left.
    EXPECT_EQ(b.pixel(458, 458), Rgb(24, 0, 0));
    EXPECT_EQ(b.pixel(74, 458), Rgb(24, 0, 0));
    EXPECT_EQ(b.pixel(458, 74), Rgb(24, 0, 0));
    EXPECT_EQ(b.pixel(395, 458), Rgb(226, 0, 0));
    EXPECT_EQ(b.pixel(266, 266), Black) << "between the cells";
    EXPECT_EQ(b.pixel(530, 530), Black);
}

TEST(BullseyeBI, PeakDistanceChangeHasTheOppositeSign)
{
    // Along ray 56 (straight right) the peak lies at sample 20 in phase 0 and 18 in phase 4.
    Panel panel;
    panel.inputs.mapKind = MapBI;
    panel.inputs.mapPhase = 4;
    panel.inputs.bullseyeKind = 3;
    panel.fillVolume([](int x, int y, int, int p) {
        return int16_t(y == 64 && ((p == 0 && x == 84) || (p == 4 && x == 82)) ? 500 : 10);
    });
    EXPECT_EQ(panel.draw().pixel(430, 264), Rgb(56, 0, 0)) << "(20 - 18) / 18 = +11.1 %";
    EXPECT_EQ(panel.bitmap.pixel(430, 268), Black) << "ray 55: both peaks at the centre, distance 0";
    panel.inputs.bullseyeKind = 0;
    EXPECT_EQ(panel.draw().pixel(430, 264), Black) << "equal peaks";
}

TEST(BullseyeKinds, LeaveTheResultsOfTheSliceOnScreen)
{
    // Ring-per-slice volume: slice s peaks at 100 + 5 (s + 1) in every phase but 0.
    for (int kind : std::initializer_list<int>{MapBI, MapBA})
        for (int slice : {7, 0, 15, 20}) {
            Panel panel;
            panel.inputs.mapKind = kind;
            panel.inputs.analysis.slice = slice;
            RisingWithTheSlice(panel);
            int calls = 0;
            panel.draw([&](int) { ++calls; });
            const int expected = slice < 16 ? 100 + 5 * (slice + 1) : 0; // no slice 20: nothing read
            EXPECT_EQ(panel.results->ProfilePeak[3][10], expected) << kind << " slice " << slice;
            EXPECT_EQ(panel.results->ProfilePeak[0][10], slice < 16 ? 100 : 0) << kind << " slice " << slice;
            EXPECT_EQ(calls, kind == MapBA ? 16 : 0);
        }
}

// The panels drawn the long way: ring by ring from the outermost, 64 pie wedges each, with
// the colour of each wedge from that slice's analysis.
Bitmap WedgeByWedge(const MapPanelInputs &inputs, const GatedVolume &volume)
{
    Bitmap b(Size, Size, Black);
    auto results = std::make_unique<ProfileResults>();
    auto quantity = [&](int phase, int ray) -> int64_t {
        const ProfileResults &r = *results;
        switch (inputs.bullseyeKind) {
        case 1:
            return r.ProfileArea[phase][ray];
        case 2:
            return r.ProfileWidth[phase][ray];
        case 3:
            return r.ProfilePeakDist[phase][ray];
        default:
            return r.ProfilePeak[phase][ray];
        }
    };
    if (inputs.mapKind == MapBI) {
        FillEllipse(b, 9, 9, 523, 523, Black);
        DrawEllipse(b, 9, 9, 523, 523, White);
    }
    const int cells = inputs.mapKind == MapBI ? 1 : 16;
    for (int j = 0; j < cells; ++j) {
        const BullseyePlace place = inputs.mapKind == MapBI ? BullseyePlaceBI() : BullseyePlaceBA(j);
        const int phase = inputs.mapKind == MapBI ? inputs.mapPhase : j;
        for (int s = 15; s >= 0; --s) {
            AnalysisInputs a = inputs.analysis;
            a.slice = s;
            AnalyseProfiles(volume, a, *results);
            const int rho = place.radiusStep * (s + 1);
            for (int ray = 0; ray < 64; ++ray) {
                const uint32_t rgb =
                    BullseyeColour(BullseyeChange(inputs.bullseyeKind, quantity(phase, ray), quantity(0, ray)),
                                   100 - inputs.maxPosition, inputs.minPosition);
                const BullseyePoint p = BullseyeDirectionPoint(place, ray), q = BullseyeDirectionPoint(place, ray + 1);
                FillPie(b, place.centreX - rho, place.centreY - rho, place.centreX + rho, place.centreY + rho, p.x, p.y,
                        q.x, q.y, rgb);
            }
        }
    }
    return b;
}

TEST(BullseyeLookup, GivesThePictureOfTheWedgesDrawnOneByOne)
{
    struct Case {
        int kind, mapPhase, bullseyeKind, maxPosition, minPosition;
    } cases[] = {{MapBI, 6, 0, 50, 50},
                 {MapBI, 11, 1, 70, 20},
                 {MapBI, 3, 3, 50, 50},
                 {MapBA, 0, 0, 60, 40},
                 {MapBA, 0, 2, 50, 50}};
    for (const Case &c : cases) {
        Panel panel;
        panel.inputs.mapKind = c.kind;
        panel.inputs.mapPhase = c.mapPhase;
        panel.inputs.bullseyeKind = c.bullseyeKind;
        panel.inputs.maxPosition = c.maxPosition;
        panel.inputs.minPosition = c.minPosition;
        // A wall that thickens and brightens with the phase and changes round the ray, so the
        // wedges and rings take many colours.
        panel.fillVolume([](int x, int y, int s, int p) {
            const int dx = x - 64, dy = y - 64, d2 = dx * dx + dy * dy;
            const int wall = 20 + (s + p) % 5;
            const int near = d2 > (wall - 6) * (wall - 6) && d2 < (wall + 4 + p % 3) * (wall + 4 + p % 3);
            return int16_t(near ? 300 + 13 * p + ((x * 7 + y * 3 + s * 5 + p * 11) % 90) : 20 + (x + y) % 7);
        });
        const Bitmap &drawn = panel.draw();
        const Bitmap expected = WedgeByWedge(panel.inputs, *panel.volume);
        int colours = 0;
        std::vector<uint32_t> seen;
        for (int y = 0; y < Size; ++y)
            for (int x = 0; x < Size; ++x) {
                ASSERT_EQ(drawn.pixel(x, y), expected.pixel(x, y)) << "kind " << c.kind << " at " << x << "," << y;
                if (seen.size() < 64 && std::find(seen.begin(), seen.end(), drawn.pixel(x, y)) == seen.end())
                    seen.push_back(drawn.pixel(x, y)), ++colours;
            }
        EXPECT_GT(colours, 10) << "the case shows many wedge colours";
    }
}

TEST(BullseyeBI, CineFramesAreThePanelsOfEachPhase)
{
    Panel panel;
    panel.inputs.mapKind = MapBI;
    panel.inputs.bullseyeKind = 1;
    panel.inputs.maxPosition = 60;
    panel.inputs.minPosition = 30;
    panel.fillVolume([](int x, int y, int s, int p) {
        const int dx = x - 64, dy = y - 64, d2 = dx * dx + dy * dy;
        return int16_t(d2 > 200 && d2 < 500 + 20 * p ? 300 + 17 * p + (x * 3 + y + s) % 40 : 20);
    });
    std::vector<Bitmap> frames(16, Bitmap(Size, Size, 0xFF123456));
    Bitmap *const pointers[16] = {&frames[0], &frames[1], &frames[2],  &frames[3],  &frames[4],  &frames[5],
                                  &frames[6], &frames[7], &frames[8],  &frames[9],  &frames[10], &frames[11],
                                  &frames[12], &frames[13], &frames[14], &frames[15]};
    DrawBullseyeFramesBI(pointers, panel.inputs, *panel.volume, *panel.results);
    const ProfileResults after = *panel.results;
    for (int k = 0; k < 16; ++k) {
        panel.inputs.mapPhase = k;
        const Bitmap &one = panel.draw();
        EXPECT_TRUE(std::equal(one.bits(), one.bits() + Size * Size, frames[std::size_t(k)].bits())) << "phase " << k;
    }
    EXPECT_NE(frames[0].pixel(266, 266 - 20), frames[8].pixel(266, 266 - 20)) << "the phases differ";
    EXPECT_EQ(std::memcmp(&after, panel.results.get(), sizeof after), 0) << "the results of the slice on screen";
}

} // namespace
